#pragma once

#include "outcomes.h"
#include "tip_table.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
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
// It is walked a batch of row indexes (from 0) at a time, so that millions of
// rows need no index each: one counting pass, then per count present a scan
// of the counts for the rows that have it.
class HitOrder {
public:
    explicit HitOrder(std::span<const std::int8_t> hits);
    // The next indexes in the order, at most `room` of them; 0 at the end.
    std::size_t next(std::uint32_t* out, std::size_t room);

private:
    static constexpr int kBuckets = kMatches + 2;  // 13 .. 0 hits, then none
    std::span<const std::int8_t> hits_;
    std::array<std::size_t, kBuckets> left_{};  // rows still to come per bucket
    int bucket_ = 0;
    std::size_t at_ = 0;  // where the scan of the bucket goes on
};

// Hits of one row against the winning row (the same comparison as above).
int countHits(const TipTable& table, int row, const WinningRow& winning);

// Stable reordering of the data rows by the whole number in `column`. Rows
// whose cell holds no whole number keep their order after all the others.
void SortGridByColumn(TipTable& table, int column, bool descending);

}  // namespace korbisto
