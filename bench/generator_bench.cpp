// Distinct random rows from thirteen three-way matches: the run with its
// bitmap of rows drawn beside the list scan of the row texts that it
// replaces, at several sizes to show how each grows.

#include "generator/generator.h"

#include <QStringList>

#include <benchmark/benchmark.h>

using namespace korbisto;

namespace {

PatternLevels thirteenThreeWays() {
    PatternLevels levels;
    levels.fill(1);
    return levels;
}

void BM_GeneratorRun(benchmark::State& state) {
    const PatternLevels levels = thirteenThreeWays();
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        GeneratorRun run(levels, rows, clockSeeds());
        run.finish();
        benchmark::DoNotOptimize(run.rows().data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_GeneratorRun)->Arg(5000)->Arg(10000)->Arg(99999)->Unit(benchmark::kMillisecond);

// The same draws, each row kept as its text when no line of the list equals it.
void BM_ListScan(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QStringList list;
        Lcg lcg;
        const SeedSource seeds = clockSeeds();
        while (list.size() < rows) {
            lcg.reseed(seeds());
            QString row;
            for (int m = 0; m < kMatches; ++m) {
                row += QLatin1String(PositionText(3 * m + 1 + static_cast<int>(lcg.draw(3))));
                row += u',';
            }
            row.chop(1);
            if (!list.contains(row)) list << row;
        }
        benchmark::DoNotOptimize(list.constData());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ListScan)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
