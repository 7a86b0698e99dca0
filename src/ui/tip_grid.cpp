#include "tip_grid.h"

#include "style.h"
#include "text_metrics.h"

#include "core/bet_model.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

namespace korbisto::ui {

TipGridModel::TipGridModel(int columns, QObject* parent) : QAbstractTableModel(parent), columns_(columns) {
    for (int c = 0; c < columns_; ++c) headers_ << QString();
}

void TipGridModel::setTable(const TipTable* table) {
    beginResetModel();
    table_ = table;
    endResetModel();
}

void TipGridModel::setHeaderTexts(const QStringList& texts) {
    headers_ = texts;
    while (headers_.size() < columns_) headers_ << QString();
    emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

void TipGridModel::setNumberPadding(const QFont& font, int width) {
    numberFont_ = font;
    numberWidth_ = width;
    cellsChanged();
}

QString TipGridModel::numberText(int row) const {
    const TipTable::Row& r = table_->rowAt(row);
    if (r.number == TipTable::kNoNumber) return QString();
    const auto number = table_->wholeNumber(r, 0);
    // Numbers are stored bare and centred here; any other text is shown as it stands.
    if (number && table_->cellText(row, 0) == QString::number(*number))
        return PadNumber(*number, numberWidth_, numberFont_);
    return table_->cellText(row, 0);
}

void TipGridModel::follow(BetModel& model) {
    setTable(&model.table());
    connect(&model, &BetModel::tableAboutToChange, this, &TipGridModel::beginTableChange);
    connect(&model, &BetModel::tableChanged, this, &TipGridModel::endTableChange);
    connect(&model, &BetModel::hitsChanged, this, &TipGridModel::cellsChanged);
    connect(&model, &BetModel::winningChanged, this, &TipGridModel::cellsChanged);
}

void TipGridModel::cellsChanged() {
    const int rows = rowCount();
    if (rows == 0) return;
    emit dataChanged(index(0, 0), index(rows - 1, columns_ - 1), {Qt::DisplayRole});
}

int TipGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_) return 0;
    return table_->dataRowCount();
}

int TipGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant TipGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !table_ || !index.isValid()) return QVariant();
    const int row = index.row() + 1;
    if (index.column() == 0) return numberText(row);
    return table_->cellText(row, index.column());
}

QVariant TipGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return QVariant();
    if (role == Qt::DisplayRole) return headers_.value(section);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return QVariant();
}

Qt::ItemFlags TipGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

TipCellPainter::TipCellPainter(const TipGridModel& model, WinningText winning, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), winning_(std::move(winning)) {}

QColor TipCellPainter::tipColour(const QString& tip, const QString& winning) {
    if (winning.isEmpty()) return Qt::white;
    return tip == winning ? QColor(206, 255, 206) : QColor(255, 191, 191);
}

QColor TipCellPainter::hitColour(int hits) {
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

void TipCellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const TipTable* table = model_.table();
    if (!table) return;
    const int row = index.row() + 1;
    const int column = index.column();
    QFont font = option.font;
    if (column == 0) {
        DrawCellText(*painter, option.rect, model_.numberText(row), CellAlignment::Left, font, colours::fixedCell);
        return;
    }
    const QString text = table->cellText(row, column);
    if (text.isEmpty()) {
        painter->fillRect(option.rect, Qt::white);
        return;
    }
    font.setBold(false);
    QColor background = Qt::white;
    if (winning_) {
        if (column == TipTable::kHitColumn) {
            const int hits = static_cast<int>(table->wholeNumber(table->rowAt(row), column).value_or(0));
            background = hitColour(hits);
            font.setBold(hits == 13);
        } else {
            background = tipColour(text, winning_(column));
        }
    }
    DrawCellText(*painter, option.rect, text, CellAlignment::Centre, font, background);
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

void InitTipGridHeaders(TipGridView& grid, TipGridModel& model, TipTable& table) {
    const QFontMetrics metrics(grid.font());
    grid.setColumnWidthOf(0, kTipGridNumberWidth);
    model.beginTableChange();
    const auto headers =
        korbisto::InitTipGridHeaders(table, [&](const QString& text) { return metrics.horizontalAdvance(text); });
    model.endTableChange();
    model.setHeaderTexts(QStringList(headers.begin(), headers.end()));
    model.setNumberPadding(grid.font(), kTipGridNumberWidth);
}

void InitTipGridHeaders(TipGridView& grid, TipGridModel& model) {
    TipTable noRows;
    InitTipGridHeaders(grid, model, noRows);
}

}  // namespace korbisto::ui
