#pragma once

#include "outcomes.h"
#include "tip_table.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

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

// How many tip rows had 0 .. 13 hits.
using HitCounts = std::array<long long, kMatches + 1>;

// Hit counts of every tip row into the hit column, rows that are not tip rows
// left as they are; returns how many rows had how many hits. An empty
// winning-row text never counts as a hit.
HitCounts markHits(TipTable& table, const WinningRow& winning);
// Counts per rank, amounts by the quotas and their total.
EvaluationResult resultOf(const HitCounts& hits, const QuotaTexts& quotas);
// Both in one: what "Gewinn-Prüfung" does to a table.
EvaluationResult evaluateTable(TipTable& table, const WinningRow& winning, const QuotaTexts& quotas);

// The stable order of rows by their hit counts, most hits first; rows
// without a count (a negative one) keep their order after all the others.
// One counting pass over the keys 0 .. 13; returns row indexes from 0.
std::vector<std::uint32_t> orderByHits(const std::vector<std::int8_t>& hits);

// Hits of one row against the winning row (the same comparison as above).
int countHits(const TipTable& table, int row, const WinningRow& winning);

// Stable reordering of the data rows by the whole number in `column`. Rows
// whose cell holds no whole number keep their order after all the others.
void SortGridByColumn(TipTable& table, int column, bool descending);

}  // namespace korbisto
