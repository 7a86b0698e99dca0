#include "cross_sheet.h"

#include "vew_catalogue.h"

#include "core/german.h"

#include <QFileInfo>

namespace korbisto {

CrossSheet::CrossSheet(QObject* parent) : CrossSheet(structureFilePath(), parent) {}

CrossSheet::CrossSheet(const QString& structurePath, QObject* parent)
    : QObject(parent), structurePath_(structurePath) {
    display_.BQOpenEnabled = QFileInfo(structurePath_).isFile();
}

long long CrossSheet::fullSystemRows() const {
    long long rows = 1;
    for (int i = 0; i < anzZW_; ++i) rows *= 2;
    for (int i = 0; i < anzDW_; ++i) rows *= 3;
    return rows;
}

void CrossSheet::setCross(int match, int column, bool visible) {
    bool& box = kreuze_[static_cast<size_t>(index(match, column))];
    if (box == visible) return;
    box = visible;
    emit crossChanged(match, column, visible);
}

void CrossSheet::KreuzKlickClick(int tag) { KreuzVerwerten(tag / 10, tag % 10); }

void CrossSheet::KreuzVerwerten(int match, int column) {
    if (match < 1 || match > kMatches || column < 1 || column > 3) return;
    setCross(match, column, !crossed(match, column));

    const int n = crossed(match, 1) + crossed(match, 2) + crossed(match, 3);
    setCross(match, kZWSpalte, n == 2);
    setCross(match, kDWSpalte, n == 3);

    int tipped = 0;
    anzZW_ = 0;
    anzDW_ = 0;
    for (int m = 1; m <= kMatches; ++m) {
        anzZW_ += crossed(m, kZWSpalte);
        anzDW_ += crossed(m, kDWSpalte);
        tipped += crossed(m, 1) || crossed(m, 2) || crossed(m, 3);
    }
    const long long rows = fullSystemRows();
    display_.PAnz = formatCount(rows);
    alleGetippt_ = tipped == kMatches;
    display_.PZW = QString::number(anzZW_);
    display_.PDW = QString::number(anzDW_);
    display_.PB = QString::number(tipped - anzZW_ - anzDW_);

    if (alleGetippt_) {
        int number = 0;
        const bool found = VewSuchen(anzZW_, anzDW_, number);
        display_.LVEWVisible = found;
        vewTag_ = found ? number : 0;
        display_.BVollEnabled = rows <= kMaxVollsystemReihen;
        if (found) display_.LVEW2 = QStringLiteral("mit %1 Tippreihen").arg(vewEintrag(number).Reihen);
        display_.LVEW2Visible = found;
        display_.BVEWEnabled = found;
    } else {
        showIncomplete();
    }
    emit displayChanged();
}

void CrossSheet::showIncomplete() {
    display_.LVEWVisible = false;
    display_.LVEW2Visible = false;
    vewTag_ = 0;
    display_.BVollEnabled = false;
    display_.BVEWEnabled = false;
}

SheetPress CrossSheet::KreuzTreffer(int x, int y) {
    SheetPress press;
    if (x < 96) {
        for (int c = 1; c <= 3; ++c) {
            if (x < KreuzX[static_cast<size_t>(c)] - 1 || x > KreuzX[static_cast<size_t>(c)] + 16) continue;
            for (int m = 1; m <= kMatches; ++m) {
                const int top = KreuzY[static_cast<size_t>(m)];
                if (y < top || y > top + 16) continue;
                KreuzVerwerten(m, c);
                press.kind = SheetPress::Toggled;
                press.match = m;
                press.column = c;
                return press;
            }
        }
    } else if (x > 108) {
        press.kind = SheetPress::ShowInfo;
        press.info = QString::fromUtf8(kMarkerHinweis);
    }
    return press;
}

void CrossSheet::BKreuzeDelClick() {
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) setCross(m, c, false);
    alleGetippt_ = false;
    display_.PB.clear();
    display_.PZW.clear();
    display_.PDW.clear();
    display_.PAnz.clear();
    showIncomplete();
    emit displayChanged();
}

const SystemStructure& CrossSheet::StrukturErfassen() {
    for (int m = 1; m <= kMatches; ++m) {
        std::array<std::uint8_t, 3> columns{};
        int n = 0;
        for (int c = 1; c <= 3; ++c)
            if (crossed(m, c)) columns[static_cast<size_t>(n++)] = static_cast<std::uint8_t>(c);
        if (n == 0) continue;
        SpielTipp& tipps = structure_.tipps(m);
        auto& slot = structure_.slotsOf(m);
        for (int i = 0; i < n; ++i) tipps.Tipp[static_cast<size_t>(i + 1)] = columns[static_cast<size_t>(i)];
        tipps.Anzahl = n;
        if (n == 1) {
            slot[0] = columns[0];
        } else if (n == 2) {
            slot[4] = columns[0];
            slot[5] = columns[1];
        } else {
            slot[1] = 1;
            slot[2] = 2;
            slot[3] = 3;
        }
    }
    structure_.AnzZW = anzZW_;
    structure_.AnzDW = anzDW_;
    return structure_;
}

StructureRecord CrossSheet::crossRecord() const {
    StructureRecord record{};
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c) record[static_cast<size_t>(structureIndex(m, c))] = crossed(m, c);
    return record;
}

void CrossSheet::BQSaveClick() {
    writeStructureFile(structurePath_, crossRecord());
    if (display_.BQOpenEnabled) return;
    display_.BQOpenEnabled = true;
    emit displayChanged();
}

void CrossSheet::BQOpenClick() {
    const StructureRecord record = readStructureFile(structurePath_);
    BKreuzeDelClick();
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (record[static_cast<size_t>(structureIndex(m, c))]) KreuzVerwerten(m, c);
}

}  // namespace korbisto
