#include "win_table.h"

#include "core/bet_model.h"
#include "core/outcomes.h"
#include "ui/style.h"
#include "ui/text_metrics.h"

namespace korbisto::app {

WinTableModel::WinTableModel(BetModel& model, QObject* parent) : QAbstractTableModel(parent), model_(model) {
    connect(&model_, &BetModel::resultsChanged, this,
            [this] { emit dataChanged(index(0, 0), index(kRanks - 1, 2), {Qt::DisplayRole}); });
}

void WinTableModel::setPadding(const QFont& font, const QList<int>& widths) {
    const QStringList raw{QStringLiteral("GKl."), QStringLiteral("Anzahl"), QStringLiteral("Gewinn")};
    headers_.clear();
    for (int c = 0; c < 3; ++c) headers_ << ui::PadText(raw[c], widths.value(c), font);
    numerals_.clear();
    for (int k = 1; k <= kRanks; ++k) numerals_ << ui::PadText(QString::fromLatin1(RangNamen[k]), widths.value(0), font);
    emit headerDataChanged(Qt::Horizontal, 0, 2);
    emit dataChanged(index(0, 0), index(kRanks - 1, 0));
}

int WinTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kRanks; }

int WinTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant WinTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
    const int rank = index.row() + 1;
    switch (index.column()) {
    case 0:
        return numerals_.value(index.row());
    case 1:
        return model_.rankCount(rank);
    default:
        return model_.rankAmount(rank);
    }
}

QVariant WinTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return QVariant();
    if (role == Qt::DisplayRole) return headers_.value(section);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return QVariant();
}

Qt::ItemFlags WinTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void WinCellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString text = index.data().toString();
    if (index.column() == 0) {
        ui::DrawCellText(*painter, option.rect, text, ui::CellAlignment::Left, option.font, ui::colours::fixedCell);
        return;
    }
    QFont bold = option.font;
    bold.setBold(true);
    ui::DrawCellText(*painter, option.rect, text,
                     index.column() == 1 ? ui::CellAlignment::Centre : ui::CellAlignment::Right, bold, Qt::white);
}

}  // namespace korbisto::app
