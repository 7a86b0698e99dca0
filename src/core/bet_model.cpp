#include "bet_model.h"

namespace korbisto {

BetModel::BetModel(QObject* parent) : QObject(parent) {}

void BetModel::changeTable(const std::function<void(TipTable&)>& change) {
    emit tableAboutToChange();
    change(table_);
    emit tableChanged();
}

void BetModel::setWinning(int match, const QString& text) {
    if (winning_[match - 1] == text) return;
    winning_[match - 1] = text;
    emit winningChanged(match);
    if (instant_) evaluate();
}

void BetModel::clearWinningRow() {
    for (int m = 1; m <= kMatches; ++m) setWinning(m, QString());
}

void BetModel::setQuota(int rank, const QString& text) {
    if (quotas_[rank - 1] == text) return;
    quotas_[rank - 1] = text;
    emit quotaChanged(rank);
}

void BetModel::clearQuotas() {
    for (int k = 1; k <= kRanks; ++k) setQuota(k, QString());
}

void BetModel::setFileName(const QString& name) {
    fileName_ = name;
    emit labelsChanged();
}

void BetModel::setRowsText(const QString& text) {
    rowsText_ = text;
    emit labelsChanged();
}

void BetModel::setMatchDayPlan(const QString& date, const std::array<QString, kMatches>& pairings) {
    matchDayDate_ = date;
    pairings_ = pairings;
    emit matchDayChanged();
}

void BetModel::clearTable() {
    if (table_.isEmpty()) return;
    changeTable([](TipTable& t) { t.clearCells(); });
    fileName_.clear();
    rowsText_ = QStringLiteral("0");
    emit labelsChanged();
}

void BetModel::evaluate() {
    const EvaluationResult result = evaluateTable(table_, winning_, quotas_);
    emit hitsChanged();
    for (int k = 1; k <= kRanks; ++k) {
        rankCounts_[k - 1] = result.countText(k);
        rankAmounts_[k - 1] = result.amountText(k);
    }
    total_ = result.totalText();
    emit resultsChanged();
    if (sortedByHits_) sortByHits();
}

void BetModel::sortByHits() {
    if (table_.dataRowCount() == 0 || table_.cellEmpty(1, TipTable::kHitColumn)) return;
    sortedByHits_ = true;
    changeTable([](TipTable& t) { SortGridByColumn(t, TipTable::kHitColumn, true); });
}

void BetModel::restoreOrder() {
    sortedByHits_ = false;
    if (table_.dataRowCount() == 0 || table_.cellEmpty(1, 0)) return;
    changeTable([](TipTable& t) { SortGridByColumn(t, 0, false); });
}

}  // namespace korbisto
