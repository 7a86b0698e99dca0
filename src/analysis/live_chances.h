#pragma once

#include "core/evaluation.h"
#include "core/outcomes.h"
#include "core/tip_table.h"

#include <array>
#include <atomic>
#include <optional>
#include <vector>

namespace korbisto {

// The weights of "1", "0" and "2" in a match still open: any non-negative
// numbers, not all 0; the chances are their shares.
using OutcomeWeights = std::array<double, 3>;
inline constexpr OutcomeWeights kEqualWeights{1, 1, 1};

// Per match the tip code of its result (kTipOne .. kTipTwo), or kTipEmpty
// while it is still open.
using LiveResult = std::array<std::uint8_t, kMatches>;

struct LiveRow {
    int number = 0;
    int hits = 0;                     // in the matches decided
    int bestRank = 0;                 // the best rank still possible; 0 for none
    std::array<double, kRanks> p{};  // the chance of each rank
};

struct LiveChances {
    int open = 0;
    std::vector<LiveRow> rows;  // the tip rows in the table's order
    // The chance that at least one row reaches rank I, at least II, ... over
    // the results of the open matches together.
    std::array<double, kRanks> atLeast{};
    // The rows to expect per rank.
    std::array<double, kRanks> expected{};
};

// The chances of the tip rows of `rows` while the matches open in `result`
// are still to be played, each with the weights of `weights` (a decided
// match's weights are not read). None when `stop` is set from another
// thread before the figures are done.
std::optional<LiveChances> liveChances(const TipTable& rows, const LiveResult& result,
                                       const std::array<OutcomeWeights, kMatches>& weights,
                                       const std::atomic<bool>* stop = nullptr);

// The win to expect with the quotas; none without any valid quota.
std::optional<double> expectedWin(const LiveChances& chances, const QuotaTexts& quotas);

}  // namespace korbisto
