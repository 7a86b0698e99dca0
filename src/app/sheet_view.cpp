#include "sheet_view.h"

#include "core/german.h"
#include "files/structure_file.h"
#include "systems/development.h"
#include "systems/vew_catalogue.h"
#include "ui/icons.h"
#include "ui/keyboard.h"
#include "ui/labels.h"
#include "ui/message_boxes.h"
#include "ui/style.h"
#include "ui/wait_cursor.h"
#include "ui/wrap_button.h"

#include <QFileInfo>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace korbisto::app {

namespace {

// Above this many rows the full system shows the hourglass while it develops.
constexpr long long kWaitCursorRows = 10000;

const QColor kCrossBlue(0, 0, 255);
const QColor kPaper(255, 249, 246);
const QColor kMarkerPaper(250, 234, 226);
const QColor kEdge(232, 158, 134);
const QColor kRule(246, 218, 207);
const QColor kBoxLine(212, 86, 62);
const QColor kMarkerLine(196, 128, 112);
const QColor kBoxDigit(236, 160, 140);
const QColor kRowNumber(168, 58, 42);

// Presses left of this belong to the outcome boxes, right of the next one to
// the marker boxes; between them lies the gap of the picture.
constexpr int kOutcomeAreaEnd = 96;
constexpr int kMarkerAreaStart = 109;

QFont crossFont() { return ui::roundedFont(12); }

// A sunken counter with its number in bold.
QLabel* makeCounter(QWidget* parent, const QString& name, const QRect& geometry) {
    return ui::makeLabel(parent, QStringLiteral("0"), geometry, ui::tahomaFont(8, true), Qt::AlignCenter, name);
}

QString countText(const std::optional<SheetCounts>& counts, int SheetCounts::*field) {
    return counts ? QString::number((*counts).*field) : QString();
}

int rowTop(int match) { return KreuzY[static_cast<size_t>(match)]; }
int columnLeft(int column) { return KreuzX[static_cast<size_t>(column)]; }

}  // namespace

SheetPress KreuzTreffer(int x, int y) {
    SheetPress press;
    if (x < kOutcomeAreaEnd) {
        for (int c = 1; c <= 3; ++c) {
            if (x < columnLeft(c) - 1 || x > columnLeft(c) + 16) continue;
            for (int m = 1; m <= kMatches; ++m) {
                if (y < rowTop(m) || y > rowTop(m) + 16) continue;
                press.kind = SheetPress::Toggle;
                press.match = m;
                press.column = c;
                return press;
            }
        }
    } else if (x >= kMarkerAreaStart) {
        press.kind = SheetPress::ShowInfo;
    }
    return press;
}

TKreuz::TKreuz(QWidget* parent) : QLabel(QStringLiteral("X"), parent) {
    setFont(crossFont());
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, kCrossBlue);
    setPalette(colours);
    adjustSize();
    hide();
}

void TKreuz::mousePressEvent(QMouseEvent* event) { event->accept(); }

void TKreuz::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked(Tag);
}

namespace {

int boxMatch(int box) { return box / 3 + 1; }
int boxColumn(int box) { return box % 3 + 1; }
int boxOf(int match, int column) { return (match - 1) * 3 + column - 1; }

}  // namespace

PKreuzPanel::PKreuzPanel(CrossSheet& sheet, QWidget* parent) : QWidget(parent), sheet_(sheet) {
    setObjectName(QStringLiteral("PKreuz"));
    setAccessibleName(QStringLiteral("Kreuzschein"));
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&sheet_, &CrossSheet::crossChanged, this, [this](int match, int column, bool) {
        if (column <= 3) ui::announceBoxToggled(this, boxOf(match, column));
    });
    // The centre of the "X" as a cross label draws it: left-aligned, its
    // baseline at the font's ascent.
    const QFontMetrics metrics(crossFont());
    const QRect glyph = metrics.tightBoundingRect(QStringLiteral("X"));
    crossCentre_ = QPoint(glyph.left() + glyph.width() / 2, metrics.ascent() + glyph.top() + glyph.height() / 2);
}

QRect PKreuzPanel::boxRect(int match, int column) const {
    constexpr int size = 15;
    const int left = columnLeft(column);
    const int top = rowTop(match);
    QRect box(left + crossCentre_.x() - size / 2, top + crossCentre_.y() - size / 2, size, size);
    // A box is drawn only where a press counts for it.
    box.moveLeft(std::clamp(box.left(), left - 1, left + 16 - size + 1));
    box.moveTop(std::clamp(box.top(), top, top + 16 - size + 1));
    return box;
}

QRect PKreuzPanel::boxRect(int box) const { return boxRect(boxMatch(box), boxColumn(box)); }

QString PKreuzPanel::boxName(int box) const {
    return QStringLiteral("Spiel %1: %2")
        .arg(boxMatch(box))
        .arg(QString::fromLatin1(TippText[static_cast<size_t>(boxColumn(box))]));
}

bool PKreuzPanel::boxChecked(int box) const { return sheet_.crossed(boxMatch(box), boxColumn(box)); }

void PKreuzPanel::toggleBox(int box) {
    moveTo(box);
    sheet_.toggle(boxMatch(box), boxColumn(box));
}

void PKreuzPanel::setCurrentBox(int match, int column) { moveTo(boxOf(match, column)); }

void PKreuzPanel::moveTo(int box) {
    if (box == current_) return;
    current_ = box;
    update();
    ui::announceBoxFocused(this, box);
}

void PKreuzPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !(event->modifiers() & ~Qt::KeypadModifier)) {
        // Held down, the key would cross and uncross in turn.
        if (!event->isAutoRepeat()) toggleBox(current_);
        event->accept();
        return;
    }
    if (const int target = ui::arrowTarget(current_, event->key(), 3, kOutcomeBoxes); target >= 0) {
        moveTo(target);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PKreuzPanel::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason) current_ = 0;
    if (event->reason() == Qt::BacktabFocusReason) current_ = kOutcomeBoxes - 1;
    update();
    QWidget::focusInEvent(event);
    ui::announceBoxFocused(this, current_);
}

void PKreuzPanel::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

bool PKreuzPanel::focusNextPrevChild(bool next) {
    if (hasFocus()) {
        const int target = current_ + (next ? 1 : -1);
        if (target >= 0 && target < kOutcomeBoxes) {
            moveTo(target);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void PKreuzPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all(0, 0, kWidth, kPictureHeight);
    p.fillRect(all, kPaper);
    const int markerLeft = (kOutcomeAreaEnd + kMarkerAreaStart) / 2 + 1;
    p.fillRect(QRect(markerLeft, 0, kWidth - markerLeft, kPictureHeight), kMarkerPaper);

    // Rules between the rows, halfway between one row's boxes and the next.
    p.setPen(kRule);
    for (int m = 1; m < kMatches; ++m) {
        const int y = (rowTop(m) + 17 + rowTop(m + 1)) / 2;
        p.drawLine(4, y, kWidth - 5, y);
    }
    p.setPen(QPen(kEdge, 1, Qt::DashLine));
    p.drawLine(markerLeft, 4, markerLeft, kPictureHeight - 5);

    QFont numberFont = ui::tahomaFont(8, true);
    QFont digitFont = ui::tahomaFont(7, true);
    for (int m = 1; m <= kMatches; ++m) {
        const QRect first = boxRect(m, 1);
        p.setFont(numberFont);
        p.setPen(kRowNumber);
        p.drawText(QRect(2, first.top(), first.left() - 7, first.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(m));
        p.setFont(digitFont);
        for (int c = 1; c <= kKreuzSpalten; ++c) {
            const QRect box = boxRect(m, c);
            const bool marker = c > 3;
            p.setPen(marker ? kMarkerLine : kBoxLine);
            p.setBrush(Qt::white);
            p.drawRect(box.adjusted(0, 0, -1, -1));
            p.setPen(kBoxDigit);
            const QString digit = marker ? QString::number(c - 2) : QString::fromLatin1(TippText[static_cast<size_t>(c)]);
            p.drawText(box, Qt::AlignCenter, digit);
        }
    }
    p.setPen(kEdge);
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(QRectF(boxRect(current_)).adjusted(-2, -2, 1, 1));
    }
}

void PKreuzPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (const SheetPress press = KreuzTreffer(event->position().toPoint().x(), event->position().toPoint().y());
        press.kind == SheetPress::Toggle)
        setCurrentBox(press.match, press.column);
    const QPoint at = event->position().toPoint();
    if (onPress) onPress(at.x(), at.y());
}

void PKreuzPanel::mouseMoveEvent(QMouseEvent* event) {
    // The hand over every box a click can cross.
    const QPoint at = event->position().toPoint();
    bool overBox = false;
    for (int c = 1; c <= 3 && !overBox; ++c)
        for (int m = 1; m <= kMatches && !overBox; ++m) overBox = boxRect(m, c).contains(at);
    setCursor(overBox ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

CrossSheetColumn::CrossSheetColumn(TipDocument& rows, const QString& structurePath, QWidget* parent)
    : QWidget(parent), rows_(rows), structurePath_(structurePath) {
    setObjectName(QStringLiteral("PKreuzColumn"));
    buildCounters();
    buildSheet();
    buildButtons();
    connect(&sheet_, &CrossSheet::crossChanged, this,
            [this](int match, int column, bool visible) { kreuz(match, column)->setVisible(visible); });
    connect(&sheet_, &CrossSheet::changed, this, &CrossSheetColumn::showCounts);
    BQOpen->setEnabled(QFileInfo(structurePath_).isFile());
    showCounts();
}

QWidget* CrossSheetColumn::boxParent() { return window()->isVisible() ? window() : nullptr; }

void CrossSheetColumn::buildCounters() {
    const QFont normal = ui::tahomaFont(8);
    const QFont bold = ui::tahomaFont(8, true);
    ui::makeLabel(this, QStringLiteral("Struktur:"), QRect(4, 7, 60, 14), bold);
    ui::makeLabel(this, QStringLiteral("ZW"), QRect(68, 7, 24, 14), normal, Qt::AlignCenter);
    ui::makeLabel(this, QStringLiteral("DW"), QRect(96, 7, 24, 14), normal, Qt::AlignCenter);
    ui::makeLabel(this, QStringLiteral("Tippreihen"), QRect(124, 7, 52, 14), normal, Qt::AlignCenter);
    ui::makeLabel(this, QStringLiteral("Bänke:"), QRect(4, 22, 36, 22), normal);
    PB = makeCounter(this, QStringLiteral("PB"), QRect(40, 22, 24, 22));
    PZW = makeCounter(this, QStringLiteral("PZW"), QRect(68, 22, 24, 22));
    PDW = makeCounter(this, QStringLiteral("PDW"), QRect(96, 22, 24, 22));
    PAnz = makeCounter(this, QStringLiteral("PAnz"), QRect(124, 22, 52, 22));

    LVEW = ui::makeLabel(this, QStringLiteral("VEW"), QRect(4, 48, 40, 15), bold, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("LVEW"));
    ui::makeLabel(this, QStringLiteral("im Vollsystem"), QRect(60, 48, 116, 15), normal, Qt::AlignRight | Qt::AlignVCenter);
    LVEW2 = ui::makeLabel(this, QString(), QRect(4, 63, 172, 15), bold, Qt::AlignLeft | Qt::AlignVCenter,
                          QStringLiteral("LVEW2"));
}

void CrossSheetColumn::buildSheet() {
    PKreuz = new PKreuzPanel(sheet_, this);
    PKreuz->move(kSheetLeft, kSheetTop);
    PKreuz->onPress = [this](int x, int y) { PKreuzMouseDown(x, y); };
    for (int m = 1; m <= kMatches; ++m) {
        for (int c = 1; c <= kKreuzSpalten; ++c) {
            auto* cross = new TKreuz(PKreuz);
            cross->Tag = TKreuz::kreuzTag(m, c);
            cross->setObjectName(QStringLiteral("VKreuz%1").arg(cross->Tag));
            cross->move(columnLeft(c), rowTop(m));
            if (c <= 3) {
                cross->setCursor(Qt::PointingHandCursor);
                connect(cross, &TKreuz::clicked, this, &CrossSheetColumn::KreuzKlickClick);
            }
            Kreuze[static_cast<size_t>(m - 1)][static_cast<size_t>(c - 1)] = cross;
        }
    }
}

void CrossSheetColumn::buildButtons() {
    BVEW = ui::makeButton(this, QStringLiteral("BVEW"), QStringLiteral("VEW-System abwickeln"), QRect(4, 84, 84, 34));
    connect(BVEW, &QPushButton::clicked, this, &CrossSheetColumn::BVEWClick);
    BVoll = ui::makeButton(this, QStringLiteral("BVoll"), QStringLiteral("Vollsystem abwickeln"), QRect(92, 84, 84, 34));
    connect(BVoll, &QPushButton::clicked, this, &CrossSheetColumn::BVollClick);

    const int top = kSheetTop + PKreuzPanel::kHeight + 8;
    BKreuzeDel = ui::makeToolButton(this, QStringLiteral("BKreuzeDel"), ui::IconKind::Eraser, QString(),
                                    QStringLiteral("Alle Kreuze löschen"));
    BKreuzeDel->setGeometry(kSheetLeft, top, 32, 32);
    connect(BKreuzeDel, &QToolButton::clicked, this, &CrossSheetColumn::BKreuzeDelClick);
    const int right = kSheetLeft + PKreuzPanel::kWidth;
    BQOpen = ui::makeToolButton(this, QStringLiteral("BQOpen"), ui::IconKind::OpenFolder, QString(),
                                QStringLiteral("Gespeicherte Kreuzstruktur laden"));
    BQOpen->setGeometry(right - 68, top, 32, 32);
    connect(BQOpen, &QToolButton::clicked, this, &CrossSheetColumn::BQOpenClick);
    BQSave = ui::makeToolButton(this, QStringLiteral("BQSave"), ui::IconKind::Save, QString(),
                                QStringLiteral("Kreuzstruktur speichern"));
    BQSave->setGeometry(right - 32, top, 32, 32);
    connect(BQSave, &QToolButton::clicked, this, &CrossSheetColumn::BQSaveClick);
}

void CrossSheetColumn::showCounts() {
    const std::optional<SheetCounts>& counts = sheet_.counts();
    PB->setText(countText(counts, &SheetCounts::bankers));
    PZW->setText(countText(counts, &SheetCounts::zw));
    PDW->setText(countText(counts, &SheetCounts::dw));
    PAnz->setText(counts ? formatCount(counts->rows) : QString());
    const int vew = sheet_.offeredVew();
    if (vew != 0) LVEW2->setText(vewRowsCaption(vewEintrag(vew).Reihen));
    LVEW->setVisible(vew != 0);
    LVEW2->setVisible(vew != 0);
    BVoll->setEnabled(sheet_.fullSystemAllowed());
    BVEW->setEnabled(vew != 0);
}

std::vector<QWidget*> CrossSheetColumn::focusOrder() const { return {BVEW, BVoll, PKreuz, BKreuzeDel, BQOpen, BQSave}; }

void CrossSheetColumn::KreuzKlickClick(int tag) {
    PKreuz->setCurrentBox(tag / 10, tag % 10);
    sheet_.toggle(tag / 10, tag % 10);
}

void CrossSheetColumn::PKreuzMouseDown(int x, int y) {
    const SheetPress press = KreuzTreffer(x, y);
    if (press.kind == SheetPress::Toggle) sheet_.toggle(press.match, press.column);
    if (press.kind == SheetPress::ShowInfo) ui::showInformation(boxParent(), QString::fromUtf8(kMarkerHinweis));
}

void CrossSheetColumn::BKreuzeDelClick() { sheet_.clear(); }

void CrossSheetColumn::BVollClick() {
    ui::runGuarded(boxParent(), [&] {
        const ui::WaitCursor hourglass(sheet_.AlleGetippt() && sheet_.fullSystemRows() > kWaitCursorRows);
        developFullSystem(sheet_, rows_);
    });
}

void CrossSheetColumn::BVEWClick() {
    ui::runGuarded(boxParent(), [&] { developVew(sheet_, rows_); });
}

void CrossSheetColumn::BQSaveClick() {
    ui::runGuarded(boxParent(), [&] {
        writeStructureFile(structurePath_, sheet_.crosses());
        BQOpen->setEnabled(true);
    });
}

void CrossSheetColumn::BQOpenClick() {
    // The file is read whole before the sheet changes, so a bad one leaves it.
    ui::runGuarded(boxParent(), [&] { sheet_.setCrosses(readStructureFile(structurePath_)); });
}

}  // namespace korbisto::app
