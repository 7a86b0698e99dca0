// Filters and covers. The command-line tool filtering all 1,594,323 rows of
// 13 three-way matches with four filters beside the same tool writing the
// full system (both to /dev/null); the recount of 96,000 candidates that
// the window repeats after every change; and the cover at guarantee 11 of
// the 62,000-odd rows of 102,102,102,102,102,102,10,10,10,10,10,10,10 with
// 2 to 6 draws and 5 to 12 changes, beside a plain lazy greedy and a greedy
// that rescans every candidate after each choice.

#include "systems/row_cover.h"
#include "systems/row_filters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <queue>
#include <vector>

using namespace korbisto;

namespace {

const char* const k3To13 = "102,102,102,102,102,102,102,102,102,102,102,102,102";
const char* const kFourFilters = "--signs 0=3..5 --signs 2=..3@1-6 --run ..4 --changes 6..11";

OutcomeCrosses crossesOf(const char* spec) {
    OutcomeCrosses crosses{};
    const QStringList groups = QString::fromLatin1(spec).split(u',');
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            crosses[static_cast<size_t>(outcomeIndex(m, c))] = groups[m - 1].contains(QChar(u"?102"[c]));
    return crosses;
}

void runCli(benchmark::State& state, const QByteArray& arguments) {
    const QByteArray command = QByteArray("'") + KORBISTO_CLI_PATH + "' " + arguments + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.constData()) != 0) state.SkipWithError("korbisto-cli failed");
}

void BM_CliFilter3To13FourFilters(benchmark::State& state) {
    runCli(state, QByteArray("filter --crosses ") + k3To13 + ' ' + kFourFilters);
}
BENCHMARK(BM_CliFilter3To13FourFilters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliFull3To13(benchmark::State& state) { runCli(state, QByteArray("full --crosses ") + k3To13); }
BENCHMARK(BM_CliFull3To13)->Unit(benchmark::kMillisecond)->UseRealTime();

FilterList fourFilters() {
    FilterList list;
    for (const auto& [kind, text] : {std::pair{FilterKind::Signs, u"0=3..5"}, {FilterKind::Signs, u"2=..3@1-6"},
                                     {FilterKind::Run, u"..4"}, {FilterKind::Changes, u"6..11"}})
        list.filters.push_back(*parseRowFilter(kind, text).value);
    return list;
}

// The library alone on the same rows, without any output.
void BM_Filter3To13FourFilters(benchmark::State& state) {
    const Candidates candidates = *Candidates::ofCrosses(crossesOf(k3To13));
    const FilterList list = fourFilters();
    std::size_t passed = 0;
    for (auto _ : state) passed = applyFilters(candidates, list)->rows.size();
    state.counters["passed"] = static_cast<double>(passed);
}
BENCHMARK(BM_Filter3To13FourFilters)->Unit(benchmark::kMillisecond);

// The window's recount: the first 96,000 rows of 3^13 as a table, four
// filters and the probability of those that pass.
void BM_Recount96000(benchmark::State& state) {
    const Candidates all = *Candidates::ofCrosses(crossesOf(k3To13));
    std::vector<RowWord> first = applyFilters(all, FilterList{})->rows;
    first.resize(96000);
    const Candidates candidates = Candidates::ofTable(tableOfWords(first));
    const FilterList list = fourFilters();
    MatchWeights weights;
    weights.fill({5, 3, 2});
    std::size_t passed = 0;
    for (auto _ : state) passed = applyFilters(candidates, list, &weights)->rows.size();
    state.counters["passed"] = static_cast<double>(passed);
}
BENCHMARK(BM_Recount96000)->Unit(benchmark::kMillisecond);

// The rows the covers are asked for.
const std::vector<RowWord>& coverSet() {
    static const std::vector<RowWord> rows = [] {
        const Candidates candidates = *Candidates::ofCrosses(crossesOf("102,102,102,102,102,102,10,10,10,10,10,10,10"));
        FilterList list;
        list.filters.push_back(*parseRowFilter(FilterKind::Signs, u"0=2..6").value);
        list.filters.push_back(*parseRowFilter(FilterKind::Changes, u"5..12").value);
        return applyFilters(candidates, list)->rows;
    }();
    return rows;
}

void BM_Cover11(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) size = coverRows(coverSet(), 11)->rows.size();
    state.counters["set"] = static_cast<double>(coverSet().size());
    state.counters["cover"] = static_cast<double>(size);
}
BENCHMARK(BM_Cover11)->Unit(benchmark::kMillisecond);

// The set system the textbook greedy starts from: per row the rows of the
// set within distance 2 of it, found through the whole Hamming ball over
// 3^13 and an index of the set's words.
std::vector<std::vector<std::uint32_t>> reachOf(const std::vector<RowWord>& rows, int radius) {
    std::vector<std::int32_t> index(kRowWords, -1);
    for (std::size_t i = 0; i < rows.size(); ++i) index[rows[i]] = static_cast<std::int32_t>(i);
    std::vector<std::vector<std::uint32_t>> reach(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowWord w = rows[i];
        // Every word that differs in at most `radius` matches.
        const auto walk = [&](auto&& self, RowWord word, int from, int left) -> void {
            if (index[word] >= 0) reach[i].push_back(static_cast<std::uint32_t>(index[word]));
            if (left == 0) return;
            for (int m = from; m < kMatches; ++m) {
                const RowWord stride = matchStride(m + 1);
                const int digit = static_cast<int>(w / stride % 3);
                for (int d = 0; d < 3; ++d)
                    if (d != digit) self(self, word + static_cast<RowWord>((d - digit) * static_cast<int>(stride)), m + 1, left - 1);
            }
        };
        walk(walk, w, 0, radius);
    }
    return reach;
}

// Plain lazy greedy: a queue of gains, each re-counted when it reaches the top.
std::size_t plainLazyGreedy(const std::vector<RowWord>& rows, int radius) {
    const auto reach = reachOf(rows, radius);
    std::vector<char> covered(rows.size(), 0);
    using Entry = std::pair<std::size_t, std::int64_t>;  // gain, minus the index: ties to the first
    std::priority_queue<Entry> queue;
    for (std::size_t i = 0; i < rows.size(); ++i) queue.emplace(reach[i].size(), -static_cast<std::int64_t>(i));
    std::size_t left = rows.size();
    std::size_t chosen = 0;
    while (left > 0) {
        const auto [stored, minusIndex] = queue.top();
        queue.pop();
        const auto& r = reach[static_cast<std::size_t>(-minusIndex)];
        const auto gain = static_cast<std::size_t>(std::count_if(r.begin(), r.end(), [&](std::uint32_t j) { return !covered[j]; }));
        if (gain < stored) {
            queue.emplace(gain, minusIndex);
            continue;
        }
        ++chosen;
        for (const std::uint32_t j : r)
            if (!covered[j]) covered[j] = 1, --left;
    }
    return chosen;
}

// Greedy that counts every candidate's gain anew after each choice.
std::size_t rescanningGreedy(const std::vector<RowWord>& rows, int radius) {
    const auto reach = reachOf(rows, radius);
    std::vector<char> covered(rows.size(), 0);
    std::size_t left = rows.size();
    std::size_t chosen = 0;
    while (left > 0) {
        std::size_t best = 0;
        std::size_t bestGain = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto gain = static_cast<std::size_t>(
                std::count_if(reach[i].begin(), reach[i].end(), [&](std::uint32_t j) { return !covered[j]; }));
            if (gain > bestGain) best = i, bestGain = gain;
        }
        ++chosen;
        for (const std::uint32_t j : reach[best])
            if (!covered[j]) covered[j] = 1, --left;
    }
    return chosen;
}

void BM_Cover11PlainLazyGreedy(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) size = plainLazyGreedy(coverSet(), 2);
    state.counters["cover"] = static_cast<double>(size);
}
BENCHMARK(BM_Cover11PlainLazyGreedy)->Unit(benchmark::kMillisecond);

void BM_Cover11RescanningGreedy(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) size = rescanningGreedy(coverSet(), 2);
    state.counters["cover"] = static_cast<double>(size);
}
BENCHMARK(BM_Cover11RescanningGreedy)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
