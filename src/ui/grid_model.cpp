#include "grid_model.h"

#include <QFont>

namespace korbisto::ui {

GridModel::GridModel(int columns, QObject* parent) : QAbstractTableModel(parent), columns_(columns) {
    for (int c = 0; c < columns_; ++c) headers_ << QString();
}

void GridModel::setHeaderTexts(const QStringList& texts) {
    headers_ = texts;
    while (headers_.size() < columns_) headers_ << QString();
    emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return QVariant();
    if (role == Qt::DisplayRole) return headers_.value(section);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return QVariant();
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QVariant GridModel::boldFont() {
    QFont bold;
    bold.setBold(true);
    return bold;
}

void GridModel::cellsChanged() {
    const int rows = rowCount();
    if (rows == 0) return;
    emit dataChanged(index(0, 0), index(rows - 1, columns_ - 1));
}

}  // namespace korbisto::ui
