#include "win_table.h"

#include "core/bet_model.h"
#include "core/german.h"
#include "core/outcomes.h"
#include "ui/style.h"
#include "ui/text_metrics.h"

#include <QBrush>

namespace korbisto::app {

WinTableModel::WinTableModel(BetModel& model, QObject* parent) : ui::GridModel(3, parent), model_(&model) {
    connect(&model, &BetModel::resultsChanged, this, &WinTableModel::cellsChanged);
}

void WinTableModel::setPadding(const QFont& font, const QList<int>& widths) {
    const QStringList raw{QStringLiteral("GKl."), QStringLiteral("Anzahl"), QStringLiteral("Gewinn")};
    QStringList headers;
    for (int c = 0; c < 3; ++c) headers << ui::PadText(raw[c], widths.value(c), font);
    setHeaderTexts(headers);
    numerals_.clear();
    for (int k = 1; k <= kRanks; ++k) numerals_ << ui::PadText(QString::fromLatin1(RangNamen[k]), widths.value(0), font);
    cellsChanged();
}

int WinTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kRanks; }

QString WinTableModel::cellText(int rank, int column) const {
    if (column == 0) return numerals_.value(rank - 1);
    if (!model_ || !model_->results()) return QString();
    const RankResult& result = model_->results()->rank(rank);
    if (column == 1) return QString::number(result.count);
    return result.amount ? formatAmount(*result.amount) : QString();
}

QVariant WinTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row() + 1, column);
    case Qt::BackgroundRole:
        return QBrush(column == 0 ? ui::colours::fixedCell : QColor(Qt::white));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::Alignment(column == 0 ? Qt::AlignLeft : column == 1 ? Qt::AlignHCenter : Qt::AlignRight));
    case Qt::FontRole:
        return column > 0 ? boldFont() : QVariant();
    default:
        return QVariant();
    }
}

}  // namespace korbisto::app
