#include "bet_model.h"

namespace korbisto {

BetModel::BetModel(QObject* parent) : QObject(parent) {}

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

void BetModel::setMatchDayPlan(const std::optional<QDate>& date, const std::array<Pairing, kMatches>& pairings) {
    matchDayDate_ = date;
    pairings_ = pairings;
    emit matchDayChanged();
}

void BetModel::evaluate() {
    EvaluationResult result;
    rows_.changeCells([&](TipTable& t) { result = evaluateTable(t, winning_, quotas_); });
    results_ = result;
    emit resultsChanged();
    if (sortedByHits_) sortByHits();
}

void BetModel::sortByHits() {
    const TipTable& t = rows_.table();
    if (t.dataRowCount() == 0 || t.cellEmpty(1, TipTable::kHitColumn)) return;
    sortedByHits_ = true;
    rows_.changeTable([](TipTable& table) { SortGridByColumn(table, TipTable::kHitColumn, true); });
}

void BetModel::restoreOrder() {
    sortedByHits_ = false;
    const TipTable& t = rows_.table();
    if (t.dataRowCount() == 0 || t.cellEmpty(1, 0)) return;
    rows_.changeTable([](TipTable& table) { SortGridByColumn(table, 0, false); });
}

}  // namespace korbisto
