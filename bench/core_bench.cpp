// Evaluation and restoring the row order, beside the text-cell algorithms the
// grid of the original used.
#include "core/evaluation.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <algorithm>
#include <random>
#include <vector>

using namespace korbisto;

namespace {

TipTable randomTable(int rows, unsigned seed = 7) {
    std::mt19937 rng(seed);
    TipTable t;
    t.reserve(rows);
    for (int r = 1; r <= rows; ++r) {
        std::array<std::uint8_t, kMatches> tips{};
        for (auto& tip : tips) tip = static_cast<std::uint8_t>(1 + rng() % 3);
        t.appendRow(r, tips);
    }
    return t;
}

WinningRow winningRow() {
    WinningRow w;
    for (int m = 0; m < kMatches; ++m) w[m] = QString::number((m * 5) % 3);
    return w;
}

void BM_Evaluate(benchmark::State& state) {
    TipTable t = randomTable(static_cast<int>(state.range(0)));
    const WinningRow w = winningRow();
    const QuotaTexts q = {QStringLiteral("1.000.000,00"), QStringLiteral("5.000"), QStringLiteral("50,5"),
                          QStringLiteral("unbesetzt")};
    for (auto _ : state) benchmark::DoNotOptimize(evaluateTable(t, w, q).total);
    state.counters["rows"] = static_cast<double>(state.range(0));
    state.counters["table_MB"] = static_cast<double>(t.rows().capacity() * sizeof(TipTable::Row)) / (1 << 20);
}
BENCHMARK(BM_Evaluate)->Arg(96000)->Arg(1594323)->Unit(benchmark::kMillisecond);

// The grid of the original: every cell a string, compared as text, the hit
// count written back as text.
void BM_EvaluateTextCells(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const TipTable source = randomTable(rows);
    std::vector<std::array<QString, 15>> grid(static_cast<size_t>(rows));
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < 15; ++c) grid[static_cast<size_t>(r - 1)][static_cast<size_t>(c)] = source.cellText(r, c);
    const WinningRow w = winningRow();
    for (auto _ : state) {
        int counts[4] = {};
        for (auto& row : grid) {
            if (row[1].isEmpty()) continue;
            int hits = 0;
            for (int m = 1; m <= 13; ++m) hits += row[static_cast<size_t>(m)] == w[static_cast<size_t>(m - 1)];
            row[14] = QString::number(hits);
            if (hits >= 10) ++counts[13 - hits];
        }
        benchmark::DoNotOptimize(counts);
    }
}
BENCHMARK(BM_EvaluateTextCells)->Arg(96000)->Arg(1594323)->Unit(benchmark::kMillisecond);

TipTable shuffledByHits(int rows) {
    TipTable t = randomTable(rows);
    evaluateTable(t, winningRow(), {});
    SortGridByColumn(t, TipTable::kHitColumn, true);
    return t;
}

void BM_RestoreOrder(benchmark::State& state) {
    const TipTable sorted = shuffledByHits(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TipTable t = sorted;
        state.ResumeTiming();
        SortGridByColumn(t, 0, false);
        benchmark::DoNotOptimize(t.rows().data());
    }
}
BENCHMARK(BM_RestoreOrder)->Arg(96000)->Unit(benchmark::kMillisecond);

void BM_SortByHits(benchmark::State& state) {
    const TipTable evaluated = shuffledByHits(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TipTable t = evaluated;
        SortGridByColumn(t, 0, false);
        state.ResumeTiming();
        SortGridByColumn(t, TipTable::kHitColumn, true);
        benchmark::DoNotOptimize(t.rows().data());
    }
}
BENCHMARK(BM_SortByHits)->Arg(96000)->Arg(1594323)->Unit(benchmark::kMillisecond);

// The text's ascending sort: one pass over all rows per key value, reading
// each key from its cell text. Keys are row numbers, so n passes of n rows.
void BM_RestoreOrderNaive(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const TipTable sorted = shuffledByHits(rows);
    std::vector<QString> keyCells(static_cast<size_t>(rows));
    for (int r = 1; r <= rows; ++r) keyCells[static_cast<size_t>(r - 1)] = sorted.cellText(r, 0);
    for (auto _ : state) {
        std::vector<int> order;
        order.reserve(static_cast<size_t>(rows));
        int m = 100;
        for (const QString& k : keyCells) m = std::min(m, k.toInt());
        while (static_cast<int>(order.size()) < rows) {
            for (int i = 0; i < rows; ++i)
                if (keyCells[static_cast<size_t>(i)].toInt() == m) order.push_back(i);
            ++m;
        }
        benchmark::DoNotOptimize(order.data());
    }
}
// 96,000 rows take minutes this way; 6,000 and 12,000 show the square law.
BENCHMARK(BM_RestoreOrderNaive)->Arg(6000)->Arg(12000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
