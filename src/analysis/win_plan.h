#pragma once

#include "core/evaluation.h"
#include "core/outcomes.h"
#include "core/tip_table.h"
#include "systems/row_words.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace korbisto {

namespace analysis {
class ResultSpace;
}

// Rows with 13, 12, 11 and 10 hits: ranks I to IV.
using RankCounts = std::array<std::int64_t, kRanks>;

// A class of results that give the rows the same counts per rank.
struct WinPlanClass {
    RankCounts ranks{};
    std::int64_t results = 0;
};

// What the rows win over every result the crosses allow: one crossed
// outcome per match, 3^13 results at most.
struct WinPlan {
    std::int64_t results = 0;
    // Distinct counts, largest first (rank I, then II, ...).
    std::vector<WinPlanClass> classes;
    // The best rank every result reaches with at least one row; 0 for none.
    int guaranteedRank = 0;
};

// The win plan of the tip rows of `rows` (a row counts when its first match
// has a tip) over the results of `crosses`. A tip that is no crossed outcome
// (or an empty cell, or any other text) is wrong for every result. None when
// a match has no cross, or when `stop` is set from another thread before
// the plan is done.
std::optional<WinPlan> winPlan(const TipTable& rows, const OutcomeCrosses& crosses,
                               const std::atomic<bool>* stop = nullptr);

// The win plan of the tip rows of `rows` over `results`, rows of 1, 0 and 2
// in any order, each counted once: what the rows win when the result is one
// of them, counted as winPlan() counts. No results give an empty plan with
// no rank sure. None when `stop` is set before the plan is done.
std::optional<WinPlan> winPlanOver(const TipTable& rows, const std::vector<RowWord>& results,
                                   const std::atomic<bool>* stop = nullptr);

// The win plan of rows that come a block at a time, as a slip is read: what
// it holds is the result space, never the rows.
class WinPlanCount {
public:
    explicit WinPlanCount(const OutcomeCrosses& crosses);
    ~WinPlanCount();
    WinPlanCount(const WinPlanCount&) = delete;
    WinPlanCount& operator=(const WinPlanCount&) = delete;

    // The tip rows of `rows`, counted as winPlan() counts them. Throws
    // KorbistoError when the space would need more than 512 MB.
    void add(const TipTable& rows);
    // Once, after the last rows: the plan, or none as winPlan() gives none.
    std::optional<WinPlan> finish(const std::atomic<bool>* stop = nullptr);

private:
    std::unique_ptr<analysis::ResultSpace> space_;
};

// The results by the best rank some row reaches with them: I .. IV at 0 .. 3,
// no rank at 4.
std::array<std::int64_t, kRanks + 1> resultsByBestRank(const WinPlan& plan);

// The quotas of the ranks I .. IV that parse; none for the others.
using RankQuotas = std::array<std::optional<double>, kRanks>;
RankQuotas parsedQuotas(const QuotaTexts& quotas);

// What the rows of a class win: their count per rank times the rank's quota,
// nothing where there is none.
double classWin(const RankCounts& ranks, const RankQuotas& quotas);

// The smallest, the largest and the mean win over the results, every result
// counted once; ranks without a valid quota win nothing. None without any
// valid quota.
struct WinFigures {
    double min = 0;
    double max = 0;
    double mean = 0;
};
std::optional<WinFigures> winFigures(const WinPlan& plan, const QuotaTexts& quotas);

}  // namespace korbisto
