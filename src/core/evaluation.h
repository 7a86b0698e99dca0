#pragma once

#include "outcomes.h"
#include "tip_table.h"

#include <QString>

#include <array>
#include <optional>

namespace korbisto {

using WinningRow = std::array<QString, kMatches>;
using QuotaTexts = std::array<QString, kRanks>;

struct RankResult {
    int count = 0;
    std::optional<double> amount;  // empty without a valid quota
};

struct EvaluationResult {
    std::array<RankResult, kRanks> ranks{};
    double total = 0.0;

    const RankResult& rank(int k) const { return ranks[static_cast<size_t>(k - 1)]; }  // 1..4
};

// Hit counts of every tip row into the hit column, rows that are not tip rows
// left as they are; then counts, amounts and total. An empty winning-row text
// never counts as a hit.
EvaluationResult evaluateTable(TipTable& table, const WinningRow& winning, const QuotaTexts& quotas);

// Hits of one row against the winning row (the same comparison as above).
int countHits(const TipTable& table, int row, const WinningRow& winning);

// Stable reordering of the data rows by the whole number in `column`. Rows
// whose cell holds no whole number keep their order after all the others.
void SortGridByColumn(TipTable& table, int column, bool descending);

}  // namespace korbisto
