#include "cross_sheet.h"

#include "vew_catalogue.h"

namespace korbisto {

CrossSheet::CrossSheet(QObject* parent) : QObject(parent) {}

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

void CrossSheet::toggle(int match, int column) {
    if (match < 1 || match > kMatches || column < 1 || column > 3) return;
    setCross(match, column, !crossed(match, column));
    const int n = crossed(match, 1) + crossed(match, 2) + crossed(match, 3);
    setCross(match, kZWSpalte, n == 2);
    setCross(match, kDWSpalte, n == 3);
    recount();
    emit changed();
}

void CrossSheet::recount() {
    int tipped = 0;
    anzZW_ = 0;
    anzDW_ = 0;
    for (int m = 1; m <= kMatches; ++m) {
        anzZW_ += crossed(m, kZWSpalte);
        anzDW_ += crossed(m, kDWSpalte);
        tipped += crossed(m, 1) || crossed(m, 2) || crossed(m, 3);
    }
    const long long rows = fullSystemRows();
    counts_ = SheetCounts{tipped - anzZW_ - anzDW_, anzZW_, anzDW_, rows};
    alleGetippt_ = tipped == kMatches;
    offeredVew_ = 0;
    fullAllowed_ = false;
    if (!alleGetippt_) return;
    int number = 0;
    if (VewSuchen(anzZW_, anzDW_, number)) offeredVew_ = number;
    fullAllowed_ = rows <= kMaxVollsystemReihen;
}

void CrossSheet::clear() {
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) setCross(m, c, false);
    anzZW_ = 0;
    anzDW_ = 0;
    alleGetippt_ = false;
    fullAllowed_ = false;
    offeredVew_ = 0;
    counts_.reset();
    emit changed();
}

void CrossSheet::setCrosses(const OutcomeCrosses& crosses) {
    clear();
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (crosses[static_cast<size_t>(outcomeIndex(m, c))]) toggle(m, c);
}

OutcomeCrosses CrossSheet::crosses() const {
    OutcomeCrosses crosses{};
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c) crosses[static_cast<size_t>(outcomeIndex(m, c))] = crossed(m, c);
    return crosses;
}

SystemStructure CrossSheet::structure() const {
    SystemStructure structure;
    for (int m = 1; m <= kMatches; ++m) {
        std::array<std::uint8_t, 3> columns{};
        int n = 0;
        for (int c = 1; c <= 3; ++c)
            if (crossed(m, c)) columns[static_cast<size_t>(n++)] = static_cast<std::uint8_t>(c);
        if (n == 0) continue;
        SpielTipp& tipps = structure.tipps(m);
        auto& slot = structure.slotsOf(m);
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
    structure.AnzZW = anzZW_;
    structure.AnzDW = anzDW_;
    return structure;
}

}  // namespace korbisto
