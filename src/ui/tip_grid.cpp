#include "tip_grid.h"

#include "style.h"
#include "text_metrics.h"

#include "core/bet_model.h"
#include "core/tip_document.h"

#include <QBrush>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

namespace korbisto::ui {

TipGridModel::TipGridModel(int columns, QObject* parent) : GridModel(columns, parent) {}

void TipGridModel::setDocument(TipDocument* document) {
    if (document_) disconnect(document_, nullptr, this, nullptr);
    beginResetModel();
    document_ = document;
    endResetModel();
    if (!document) return;
    connect(document, &TipDocument::tableAboutToChange, this, &TipGridModel::beginResetModel);
    connect(document, &TipDocument::tableChanged, this, &TipGridModel::endResetModel);
    connect(document, &TipDocument::cellsChanged, this, &TipGridModel::cellsChanged);
    connect(document, &QObject::destroyed, this, &TipGridModel::documentGone);
}

void TipGridModel::documentGone() {
    // The pointer is null by now; the views forget the rows they knew.
    beginResetModel();
    endResetModel();
}

void TipGridModel::colourAgainst(BetModel* model) {
    if (winning_) disconnect(winning_, nullptr, this, nullptr);
    winning_ = model;
    if (model) connect(model, &BetModel::winningChanged, this, &TipGridModel::cellsChanged);
    cellsChanged();
}

void TipGridModel::setNumberPadding(const QFont& font, int width) {
    numberFont_ = font;
    numberWidth_ = width;
    cellsChanged();
}

QString TipGridModel::numberText(int row) const {
    const TipTable& table = document_->table();
    const TipTable::Row& r = table.rowAt(row);
    if (r.number == TipTable::kNoNumber) return QString();
    const auto number = table.wholeNumber(r, 0);
    // Numbers are stored bare and centred here; any other text is shown as it stands.
    if (number && table.cellText(row, 0) == QString::number(*number))
        return PadNumber(*number, numberWidth_, numberFont_);
    return table.cellText(row, 0);
}

QColor TipGridModel::tipColour(const QString& tip, const QString& winning) {
    if (winning.isEmpty()) return Qt::white;
    return tip == winning ? QColor(206, 255, 206) : QColor(255, 191, 191);
}

QColor TipGridModel::hitColour(int hits) {
    switch (hits) {
    case 10:
        return {254, 245, 211};
    case 11:
        return {252, 233, 158};
    case 12:
        return {250, 220, 103};
    case 13:
        return {249, 202, 13};
    default:
        return {255, 254, 249};
    }
}

int TipGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !document_) return 0;
    return document_->table().dataRowCount();
}

QColor TipGridModel::background(int row, int column) const {
    if (column == 0) return colours::fixedCell;
    const TipTable& table = document_->table();
    if (!winning_ || table.cellEmpty(row, column)) return Qt::white;
    if (column == TipTable::kHitColumn) return hitColour(hitsOf(row));
    return tipColour(table.cellText(row, column), winning_->winning(column));
}

int TipGridModel::hitsOf(int row) const {
    const TipTable& table = document_->table();
    return static_cast<int>(table.wholeNumber(table.rowAt(row), TipTable::kHitColumn).value_or(0));
}

QVariant TipGridModel::data(const QModelIndex& index, int role) const {
    if (!document_ || !index.isValid()) return QVariant();
    const int row = index.row() + 1;
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return column == 0 ? numberText(row) : document_->table().cellText(row, column);
    case Qt::BackgroundRole:
        return QBrush(background(row, column));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(column == 0 ? Qt::AlignLeft : Qt::AlignHCenter));
    case Qt::FontRole:
        return winning_ && column == TipTable::kHitColumn && hitsOf(row) == 13 ? boldFont() : QVariant();
    default:
        return QVariant();
    }
}

void CellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QColor background = colours::paper;
    if (const QVariant brush = index.data(Qt::BackgroundRole); brush.isValid())
        background = brush.value<QBrush>().color();
    QFont font = option.font;
    if (const QVariant own = index.data(Qt::FontRole); own.isValid()) font = own.value<QFont>().resolve(option.font);
    const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    const CellAlignment alignment = align & Qt::AlignRight     ? CellAlignment::Right
                                    : align & Qt::AlignHCenter ? CellAlignment::Centre
                                                               : CellAlignment::Left;
    // Cells have the skin's colours, so their text has the skin's ink.
    QColor ink = colours::ink;
    if (const QVariant own = index.data(Qt::ForegroundRole); own.isValid()) ink = own.value<QBrush>().color();
    DrawCellText(*painter, option.rect, index.data(Qt::DisplayRole).toString(), alignment, font, background, ink);
}

TipGridView::TipGridView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setItemDelegate(new CellPainter(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
}

void TipGridView::setGeometryOfCells(const QList<int>& columnWidths, int rowHeight) {
    widths_ = columnWidths;
    rowHeight_ = rowHeight;
    // The grid line is drawn inside a section, so each section is one pixel
    // wider than the cell it shows.
    verticalHeader()->setDefaultSectionSize(rowHeight + 1);
    horizontalHeader()->setFixedHeight(rowHeight + 1);
    for (int c = 0; c < widths_.size(); ++c) horizontalHeader()->resizeSection(c, widths_[c] + 1);
}

void TipGridView::setColumnWidthOf(int column, int width) {
    while (widths_.size() <= column) widths_ << 0;
    widths_[column] = width;
    horizontalHeader()->resizeSection(column, width + 1);
}

int TipGridView::columnWidthOf(int column) const { return widths_.value(column); }

int TipGridView::fullWidth() const {
    int width = 2 * frameWidth();
    for (int w : widths_) width += w + 1;
    return width + verticalScrollBar()->sizeHint().width();
}

void InitTipGridHeaders(TipGridView& grid, TipGridModel& model) {
    const QFontMetrics metrics(grid.font());
    const auto textWidth = [&](const QString& text) { return metrics.horizontalAdvance(text); };
    grid.setColumnWidthOf(0, kTipGridNumberWidth);
    std::array<QString, 14> headers;
    if (TipDocument* document = model.document())
        document->changeTable([&](TipTable& table) { headers = korbisto::InitTipGridHeaders(table, textWidth); });
    else {
        TipTable noRows;
        headers = korbisto::InitTipGridHeaders(noRows, textWidth);
    }
    model.setHeaderTexts(QStringList(headers.begin(), headers.end()));
    model.setNumberPadding(grid.font(), kTipGridNumberWidth);
}

}  // namespace korbisto::ui
