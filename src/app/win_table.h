#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QStringList>
#include <QStyledItemDelegate>

namespace korbisto {
class BetModel;
}

namespace korbisto::app {

// The win table G2: per rank its numeral, the count and the amount.
class WinTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit WinTableModel(BetModel& model, QObject* parent = nullptr);

    // Headers and numerals centred by blanks for the column widths in `font`.
    void setPadding(const QFont& font, const QList<int>& widths);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    BetModel& model_;
    QStringList headers_;
    QStringList numerals_;
};

// Counts centred and amounts right-aligned, bold on white.
class WinCellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace korbisto::app
