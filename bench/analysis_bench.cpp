// The win plan of full systems over their results beside the brute force that
// compares every row with every result, at sizes the brute force still
// manages and at the largest.

#include "analysis/live_chances.h"
#include "analysis/win_plan.h"

#include "systems/cross_sheet.h"
#include "systems/full_system.h"

#include <benchmark/benchmark.h>

using namespace korbisto;

namespace {

// `threeWays` three-way and `twoWays` two-way matches, bankers after them.
struct System {
    OutcomeCrosses crosses{};
    TipTable rows;
};

System fullSystem(int threeWays, int twoWays) {
    CrossSheet sheet;
    System s;
    for (int m = 1; m <= kMatches; ++m) {
        const int columns = m <= threeWays ? 3 : m <= threeWays + twoWays ? 2 : 1;
        for (int c = 1; c <= columns; ++c) {
            sheet.toggle(m, c);
            s.crosses[static_cast<size_t>(outcomeIndex(m, c))] = true;
        }
    }
    s.rows = expandFullSystem(sheet.structure());
    return s;
}

void BM_WinPlan(benchmark::State& state) {
    const System s = fullSystem(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(winPlan(s.rows, s.crosses));
    state.counters["rows"] = static_cast<double>(s.rows.dataRowCount());
}
// 729 rows; 93,312 (6 three-way, 7 two-way); all of 3^13.
BENCHMARK(BM_WinPlan)->Args({6, 0})->Args({6, 7})->Args({13, 0})->Unit(benchmark::kMillisecond);

// Every result against every row, counting the rows per rank.
void BM_BruteForce(benchmark::State& state) {
    const System s = fullSystem(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::int64_t ranked = 0;
        for (const TipTable::Row& result : s.rows.rows())
            for (const TipTable::Row& row : s.rows.rows()) {
                int wrong = 0;
                for (size_t m = 0; m < kMatches; ++m) wrong += row.tips[m] != result.tips[m];
                ranked += wrong <= 3;
            }
        benchmark::DoNotOptimize(ranked);
    }
    state.counters["rows"] = static_cast<double>(s.rows.dataRowCount());
}
BENCHMARK(BM_BruteForce)->Args({6, 0})->Args({7, 1})->Unit(benchmark::kMillisecond);

// 96,000 rows of the 3^13, their results decided but for the first `open` matches.
void BM_LiveChances(benchmark::State& state) {
    const System all = fullSystem(13, 0);
    TipTable rows;
    for (int r = 0; r < 96000; ++r) rows.rows().push_back(all.rows.rows()[static_cast<size_t>(r) * 16]);
    LiveResult result;
    result.fill(kTipOne);
    for (int m = 0; m < state.range(0); ++m) result[static_cast<size_t>(m)] = kTipEmpty;
    std::array<OutcomeWeights, kMatches> weights;
    weights.fill(kEqualWeights);
    for (auto _ : state) benchmark::DoNotOptimize(liveChances(rows, result, weights));
}
BENCHMARK(BM_LiveChances)->Arg(6)->Arg(13)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
