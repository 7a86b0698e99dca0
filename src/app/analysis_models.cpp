#include "analysis_models.h"

#include "core/german.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korbisto::app {

namespace {

QString rankName(int rank) { return QString::fromLatin1(RangNamen[static_cast<size_t>(rank)]); }

QVariant rightAligned() { return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter); }

}  // namespace

void WinPlanModel::setPlan(const std::optional<WinPlan>& plan) {
    beginResetModel();
    plan_ = plan;
    mostRanks_ = {};
    mostResults_ = 0;
    mostWin_ = 0;
    if (plan_)
        for (const WinPlanClass& c : plan_->classes) {
            for (int k = 0; k < kRanks; ++k)
                mostRanks_[static_cast<size_t>(k)] = std::max(mostRanks_[static_cast<size_t>(k)], c.ranks[static_cast<size_t>(k)]);
            mostResults_ = std::max(mostResults_, c.results);
            mostWin_ = std::max(mostWin_, classWin(c.ranks, quotas_));
        }
    endResetModel();
}

void WinPlanModel::setQuotas(const QuotaTexts& quotas) {
    quotas_ = parsedQuotas(quotas);
    anyQuota_ = std::any_of(quotas_.begin(), quotas_.end(), [](const auto& q) { return q.has_value(); });
    mostWin_ = 0;
    if (plan_)
        for (const WinPlanClass& c : plan_->classes) mostWin_ = std::max(mostWin_, classWin(c.ranks, quotas_));
    if (rowCount() > 0) emit dataChanged(index(0, Win), index(rowCount() - 1, Win));
}

QStringList WinPlanModel::widestTexts(int column) const {
    if (!plan_ || plan_->results == 0) return {};
    switch (column) {
    case Results: return {formatCount(mostResults_)};
    // A class of one result among many is "< 0,01 %", as wide as "100,00 %".
    case Share: return {formatShare(static_cast<double>(mostResults_) / static_cast<double>(plan_->results)),
                        formatShare(1.0 / static_cast<double>(plan_->results))};
    case Win: return anyQuota_ ? QStringList{formatCents(mostWin_)} : QStringList{};
    default: return {formatCount(mostRanks_[static_cast<size_t>(column)])};
    }
}

int WinPlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !plan_ ? 0 : static_cast<int>(plan_->classes.size());
}

int WinPlanModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant WinPlanModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !plan_) return {};
    if (role == Qt::TextAlignmentRole) return rightAligned();
    const WinPlanClass& c = plan_->classes[static_cast<size_t>(index.row())];
    const double share = static_cast<double>(c.results) / static_cast<double>(plan_->results);
    const double win = classWin(c.ranks, quotas_);
    if (role == kNumberRole) {
        switch (index.column()) {
        case Results: return QVariant::fromValue(static_cast<qlonglong>(c.results));
        case Share: return share;
        case Win: return anyQuota_ ? QVariant(win) : QVariant();
        default: return QVariant::fromValue(static_cast<qlonglong>(c.ranks[static_cast<size_t>(index.column())]));
        }
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case Results: return formatCount(c.results);
    case Share: return formatShare(share);
    case Win: return anyQuota_ ? formatCents(win) : QString();
    default: return formatCount(c.ranks[static_cast<size_t>(index.column())]);
    }
}

QVariant WinPlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case Results: return QStringLiteral("Ergebnisse");
    case Share: return QStringLiteral("Anteil");
    case Win: return QStringLiteral("Gewinn");
    default: return QStringLiteral("Rang ") + rankName(section + 1);
    }
}

void LiveRowsModel::setRows(std::vector<LiveRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    applySort();
    endResetModel();
}

int LiveRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LiveRowsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

double LiveRowsModel::key(const LiveRow& row) const {
    switch (sortColumn_) {
    case Number: return row.number;
    case Hits: return row.hits;
    // No rank at all comes after rank IV.
    case Best: return row.bestRank == 0 ? kRanks + 1 : row.bestRank;
    default: return row.p[static_cast<size_t>(sortColumn_ - RankI)];
    }
}

void LiveRowsModel::applySort() {
    order_.resize(rows_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    if (sortColumn_ < 0) return;
    std::vector<double> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) keys[i] = key(rows_[i]);
    // Equal keys keep the table's order, whichever way the column runs.
    if (sortOrder_ == Qt::AscendingOrder)
        std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    else
        std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) { return keys[a] > keys[b]; });
}

void LiveRowsModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortColumn_ = column < kColumns ? column : -1;
    sortOrder_ = order;
    applySort();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QVariant LiveRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == Best ? QVariant::fromValue(Qt::AlignCenter) : rightAligned();
    const LiveRow& row = rowAt(index.row());
    const int column = index.column();
    if (role == kNumberRole) {
        switch (column) {
        case Number: return row.number;
        case Hits: return row.hits;
        case Best: return row.bestRank;
        default: return row.p[static_cast<size_t>(column - RankI)];
        }
    }
    if (role != Qt::DisplayRole) return {};
    switch (column) {
    case Number: return row.number == TipTable::kNoNumber ? QString() : QString::number(row.number);
    case Hits: return QString::number(row.hits);
    case Best: return row.bestRank == 0 ? QStringLiteral("–") : rankName(row.bestRank);
    default: return formatShare(row.p[static_cast<size_t>(column - RankI)]);
    }
}

QVariant LiveRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    // Most hits and the best chances first; the row numbers and ranks from the top.
    if (role == Qt::InitialSortOrderRole)
        return QVariant::fromValue(section == Number || section == Best ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case Number: return QStringLiteral("Reihe");
    case Hits: return QStringLiteral("Richtig");
    case Best: return QStringLiteral("Bester Rang");
    default: return QStringLiteral("Rang ") + rankName(section - RankI + 1);
    }
}

WeightsModel::WeightsModel(QObject* parent) : QAbstractTableModel(parent) { weights_.fill(kEqualWeights); }

std::optional<int> WeightsModel::invalidOpenMatch() const {
    for (const int m : open_)
        if (!validWeights(weights_[static_cast<size_t>(m)])) return m + 1;
    return std::nullopt;
}

QString WeightsModel::fault(int match, int outcome) const {
    const OutcomeWeights& w = weights_[static_cast<size_t>(match)];
    if (validWeights(w)) return QString();
    const auto isWeight = [](double v) { return std::isfinite(v) && v >= 0; };
    if (!isWeight(w[static_cast<size_t>(outcome)]))
        return QStringLiteral("Kein Gewicht: Hier gehört eine Zahl ab 0 hin, etwa 50 oder 2,5.");
    // Each a weight, but not the three together: all of them are marked.
    if (!std::all_of(w.begin(), w.end(), isWeight)) return QString();
    return w == OutcomeWeights{0, 0, 0}
               ? QStringLiteral("Die drei Gewichte sind 0: Einer der Ausgänge muss kommen können.")
               : QStringLiteral("Die drei Gewichte sind zusammen zu groß, um Anteile zu geben.");
}

void WeightsModel::setEqual() {
    weights_.fill(kEqualWeights);
    for (auto& texts : typed_) texts.fill(QString());
    if (rowCount() > 0) emit dataChanged(index(0, One), index(rowCount() - 1, Two));
    emit weightsChanged();
}

void WeightsModel::showOpen(const LiveResult& result) {
    std::vector<int> open;
    for (int m = 0; m < kMatches; ++m)
        if (result[static_cast<size_t>(m)] < kTipOne || result[static_cast<size_t>(m)] > kTipTwo) open.push_back(m);
    if (open == open_) return;
    beginResetModel();
    open_ = std::move(open);
    endResetModel();
}

void WeightsModel::setPairingCaptions(const std::array<QString, kMatches>& captions) {
    pairings_ = captions;
    if (rowCount() > 0) emit dataChanged(index(0, Match), index(rowCount() - 1, Match), {Qt::ToolTipRole});
}

int WeightsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(open_.size());
}

int WeightsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant WeightsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int match = open_[static_cast<size_t>(index.row())];
    if (index.column() == Match) {
        if (role == Qt::DisplayRole) return QString::number(match + 1);
        if (role == Qt::ToolTipRole && !pairings_[static_cast<size_t>(match)].isEmpty())
            return pairings_[static_cast<size_t>(match)];
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }
    const int outcome = index.column() - One;
    const double w = weights_[static_cast<size_t>(match)][static_cast<size_t>(outcome)];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return std::isfinite(w) ? germanLocale().toString(w) : typed_[static_cast<size_t>(match)][static_cast<size_t>(outcome)];
    case kNumberRole: return w;
    case Qt::TextAlignmentRole: return rightAligned();
    case Qt::BackgroundRole:
        return fault(match, outcome).isEmpty() ? QVariant() : QVariant(QColor(0xf8, 0xd0, 0xd0));
    case Qt::ToolTipRole: {
        const QString why = fault(match, outcome);
        return why.isEmpty() ? QVariant() : QVariant(why);
    }
    default: return {};
    }
}

bool WeightsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() == Match || role != Qt::EditRole) return false;
    const int match = open_[static_cast<size_t>(index.row())];
    const auto outcome = static_cast<size_t>(index.column() - One);
    // Kept as typed, also when it is no number: the field shows it, marked.
    const QString text = value.toString();
    const std::optional<double> w = ParseQuota(text);
    weights_[static_cast<size_t>(match)][outcome] = w ? *w : std::numeric_limits<double>::quiet_NaN();
    typed_[static_cast<size_t>(match)][outcome] = w ? QString() : text;
    // The marks of the other two may change with this one.
    emit dataChanged(this->index(index.row(), One), this->index(index.row(), Two));
    emit weightsChanged();
    return true;
}

QVariant WeightsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == Match ? QStringLiteral("Spiel") : QString::fromLatin1(TippText[static_cast<size_t>(section)]);
}

Qt::ItemFlags WeightsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != Match) flags |= Qt::ItemIsEditable;
    return flags;
}

}  // namespace korbisto::app
