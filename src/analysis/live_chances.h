#pragma once

#include "core/evaluation.h"
#include "core/outcomes.h"
#include "core/tip_table.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace korbisto {

namespace analysis {
class ResultSpace;
}

// The weights of "1", "0" and "2" in a match still open: any non-negative
// numbers, not all 0; the chances are their shares.
using OutcomeWeights = std::array<double, 3>;
inline constexpr OutcomeWeights kEqualWeights{1, 1, 1};

// Finite, none negative, and their sum finite and above 0.
bool validWeights(const OutcomeWeights& weights);

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

// The live chances of rows that come a block at a time, as a slip is read:
// each row's figures as its block comes, the slip's once every row is in.
// What it holds is the space of the open matches' results, never the rows.
class LiveChancesCount {
public:
    // Throws KorbistoError when an open match has no valid weights.
    LiveChancesCount(const LiveResult& result, const std::array<OutcomeWeights, kMatches>& weights);
    ~LiveChancesCount();
    LiveChancesCount(const LiveChancesCount&) = delete;
    LiveChancesCount& operator=(const LiveChancesCount&) = delete;

    int open() const { return open_; }
    // Appends the figures of the tip rows of `rows` to `figures`, in order.
    void add(const TipTable& rows, std::vector<LiveRow>& figures);
    // Once, after the last rows: the slip's figures, without the rows'.
    std::optional<LiveChances> finish(const std::atomic<bool>* stop = nullptr);

private:
    // The chance of each outcome of an open match, by tip code 1 .. 3.
    using Chances = std::array<double, 4>;

    LiveResult result_{};
    int open_ = 0;
    std::array<Chances, kMatches> chances_{};
    std::array<double, kRanks> expected_{};
    std::unique_ptr<analysis::ResultSpace> space_;
};

// The chances of the tip rows of `rows` while the matches open in `result`
// are still to be played, each with the weights of `weights` (a decided
// match's weights are not read). None when `stop` is set from another
// thread before the figures are done. Throws KorbistoError when an open
// match has no valid weights.
std::optional<LiveChances> liveChances(const TipTable& rows, const LiveResult& result,
                                       const std::array<OutcomeWeights, kMatches>& weights,
                                       const std::atomic<bool>* stop = nullptr);

// The win to expect with the quotas; none without any valid quota.
std::optional<double> expectedWin(const LiveChances& chances, const QuotaTexts& quotas);

}  // namespace korbisto
