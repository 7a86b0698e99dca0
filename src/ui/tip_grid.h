#pragma once

#include "core/tip_table.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

namespace korbisto {
class BetModel;
}

namespace korbisto::ui {

// A tip-row table as the grid shows it: column 0 the row number centred by
// blanks, columns 1..13 the tips, and on the main window column 14 the hits.
// The cells are read from the table when painted; nothing is copied.
class TipGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    TipGridModel(int columns, QObject* parent = nullptr);

    // Not owned; must outlive the model or be replaced first.
    void setTable(const TipTable* table);
    const TipTable* table() const { return table_; }

    // Texts of the header row, already centred by blanks.
    void setHeaderTexts(const QStringList& texts);
    // Row numbers are centred for `width` pixels in `font`.
    void setNumberPadding(const QFont& font, int width);
    QString numberText(int row) const;

    // Keeps the grid in step with the main window's model.
    void follow(BetModel& model);

    // For owners of other tables: around a change of the rows, and after
    // cells changed in place.
    void beginTableChange() { beginResetModel(); }
    void endTableChange() { endResetModel(); }
    void cellsChanged();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const TipTable* table_ = nullptr;
    int columns_;
    QStringList headers_;
    QFont numberFont_;
    int numberWidth_ = 40;
};

// Paints the data cells. With a winning row, tips turn light green or light
// red against it (white where it has no result yet) and the hit cell takes
// the colour of its rank, a 13 in bold on gold. Without one, every cell is
// white. Column 0 is painted as the grid's fixed column.
class TipCellPainter : public QStyledItemDelegate {
public:
    using WinningText = std::function<QString(int match)>;

    TipCellPainter(const TipGridModel& model, WinningText winning, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The background of a tip cell and of a hit cell.
    static QColor tipColour(const QString& tip, const QString& winning);
    static QColor hitColour(int hits);

private:
    const TipGridModel& model_;
    WinningText winning_;
};

// A read-only grid with fixed column widths and row height: every row is
// equally high, so even 96,000 rows scroll without any work per row.
class TipGridView : public QTableView {
    Q_OBJECT

public:
    explicit TipGridView(QWidget* parent = nullptr);

    // Column widths and row height as in the layout, without the grid line.
    void setGeometryOfCells(const QList<int>& columnWidths, int rowHeight);
    void setColumnWidthOf(int column, int width);
    int columnWidthOf(int column) const;
    // The width that shows every column and the vertical scroll bar.
    int fullWidth() const;
    int rowHeightOf() const { return rowHeight_; }

private:
    QList<int> widths_;
    int rowHeight_ = 16;
};

// The header of a 14-column tip grid: column 0 is 40 pixels wide and headed
// "Tipp", columns 1..13 carry their numbers; the rows are numbered 1..n.
void InitTipGridHeaders(TipGridView& grid, TipGridModel& model, TipTable& table);
// The same for a grid whose table is numbered by its owner.
void InitTipGridHeaders(TipGridView& grid, TipGridModel& model);

}  // namespace korbisto::ui
