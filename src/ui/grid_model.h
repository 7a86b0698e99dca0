#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace korbisto::ui {

// The read-only models behind the program's grids: a fixed number of
// columns, header texts already centred by blanks, cells that are shown and
// never edited.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit GridModel(int columns, QObject* parent = nullptr);

    void setHeaderTexts(const QStringList& texts);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Every cell may show something else now.
    void cellsChanged();

protected:
    // The font role of a cell drawn in bold in the grid's own font.
    static QVariant boldFont();

private:
    int columns_;
    QStringList headers_;
};

}  // namespace korbisto::ui
