#pragma once

#include "grid_model.h"

#include "core/bet_model.h"
#include "core/tip_document.h"
#include "core/tip_table.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>

namespace korbisto::ui {

// A document of tip rows as its grid shows it: column 0 the row number
// centred by blanks, columns 1..13 the tips, and on the main window column 14
// the hits. Cells are read from the document when painted; nothing is copied.
// The colours and fonts are the model's roles: with a winning row, tips turn
// light green or light red against it (white where it has no result yet) and
// the hit cell takes the colour of its rank, a 13 in bold on gold; without
// one every data cell is white. Column 0 has the colour of a fixed column.
class TipGridModel : public GridModel {
    Q_OBJECT

public:
    explicit TipGridModel(int columns, QObject* parent = nullptr);

    // Not owned. The grid follows the document's changes; once it is gone
    // the grid is empty.
    void setDocument(TipDocument* document);
    TipDocument* document() const { return document_; }
    // Colours the cells against the winning row of `model` (not owned).
    void colourAgainst(BetModel* model);

    // Row numbers are centred for `width` pixels in `font`.
    void setNumberPadding(const QFont& font, int width);
    QString numberText(int row) const;

    // The background of a tip cell and of a hit cell.
    static QColor tipColour(const QString& tip, const QString& winning);
    static QColor hitColour(int hits);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QColor background(int row, int column) const;
    // The hit count of a row as a number, 0 for any other text.
    int hitsOf(int row) const;
    void documentGone();

    QPointer<TipDocument> document_;
    QPointer<BetModel> winning_;
    QFont numberFont_;
    int numberWidth_ = kTipGridNumberWidth;
};

// Paints a data cell as its model's roles say: the text, the background
// colour, the font and the alignment (left, centred or right).
class CellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A read-only grid with fixed column widths and row height: every row is
// equally high, so even 96,000 rows scroll without any work per row. Its
// cells are painted by a CellPainter.
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
// "Tipp", columns 1..13 carry their numbers; the rows of the model's document
// are numbered 1..n.
void InitTipGridHeaders(TipGridView& grid, TipGridModel& model);

}  // namespace korbisto::ui
