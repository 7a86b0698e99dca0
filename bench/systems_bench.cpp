// System development: the full system into the tip table beside the text
// grid the rows were once assigned to, the command-line tool writing all
// of 3^13 as a slip beside cat copying as many bytes, and the largest reduced
// system looked up and developed beside the full system it stands for.

#include "systems/cross_sheet.h"
#include "systems/development.h"
#include "systems/full_system.h"
#include "systems/reduced_catalogue.h"

#include "core/bet_model.h"
#include "core/text_helpers.h"
#include "core/tip_table.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

using namespace korbisto;

namespace {

// Two two-way and nine three-way matches: 78,732 rows.
const QString k78732 = QStringLiteral("10,12,102,102,102,102,102,102,102,102,102,1,2");
const QString k3To13 = QStringLiteral("102,102,102,102,102,102,102,102,102,102,102,102,102");

void crossSheet(CrossSheet& sheet, const QString& spec) {
    const QStringList groups = spec.split(u',');
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (groups[m - 1].contains(QChar(u"?102"[c]))) sheet.toggle(m, c);
}

SystemStructure capture(const QString& spec) {
    CrossSheet sheet;
    crossSheet(sheet, spec);
    return sheet.structure();
}

void expandRepeatedly(benchmark::State& state, const QString& spec) {
    const SystemStructure s = capture(spec);
    long long rows = 0;
    for (auto _ : state) {
        TipTable table = expandFullSystem(s);
        rows = table.dataRowCount();
        benchmark::DoNotOptimize(table.rows().data());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_FullSystem78732(benchmark::State& state) { expandRepeatedly(state, k78732); }
BENCHMARK(BM_FullSystem78732)->Unit(benchmark::kMillisecond);

// The same rows the way a grid of texts takes them: nested loops, each row
// built as the comma text ",d,d,...,d", split back into its cells, then a
// second pass that writes the centred row numbers.
void BM_FullSystem78732Naive(benchmark::State& state) {
    const SystemStructure s = capture(k78732);
    const TextWidthFn width = [](const QString& text) { return static_cast<int>(text.size()) * 6; };
    std::vector<QStringList> grid;
    for (auto _ : state) {
        const long long w = fullSystemRowCount(s);
        grid.assign(static_cast<size_t>(w), QStringList());
        std::array<int, kMatches> index{};
        for (long long r = 0; r < w; ++r) {
            QString line;
            for (int m = 0; m < kMatches; ++m)
                line += u',' + QLatin1String(TippText[s.SpielTipps[static_cast<size_t>(m)].Tipp[static_cast<size_t>(
                                   index[static_cast<size_t>(m)] + 1)]]);
            QStringList cells = line.split(u',');
            cells[0] = QStringLiteral(" ");
            grid[static_cast<size_t>(r)] = cells;
            for (int m = kMatches - 1; m >= 0; --m) {
                if (++index[static_cast<size_t>(m)] < s.SpielTipps[static_cast<size_t>(m)].Anzahl) break;
                index[static_cast<size_t>(m)] = 0;
            }
        }
        for (size_t r = 0; r < grid.size(); ++r) grid[r][0] = PadNumber(static_cast<long long>(r + 1), 37, width);
        benchmark::DoNotOptimize(grid.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(grid.size()));
}
BENCHMARK(BM_FullSystem78732Naive)->Unit(benchmark::kMillisecond);

// The button's whole path: capture, clear the window's rows, develop, label.
void BM_DevelopFullSystem78732(benchmark::State& state) {
    CrossSheet sheet;
    crossSheet(sheet, k78732);
    BetModel model;
    for (auto _ : state) benchmark::DoNotOptimize(developFullSystem(sheet, model.rows()));
}
BENCHMARK(BM_DevelopFullSystem78732)->Unit(benchmark::kMillisecond);

// Each round makes a fresh 37 MB table, as a single development does; its
// first touch of the memory is part of the figure.
void BM_FullSystem3To13(benchmark::State& state) { expandRepeatedly(state, k3To13); }
BENCHMARK(BM_FullSystem3To13)->Unit(benchmark::kMillisecond);

// The catalogue's entry with the most rows on a sheet of its structure, the
// other matches bankers.
QString largestReduced(int& guarantee) {
    ReducedSystem largest;
    for (const ReducedSystem& s : reducedCatalogue())
        if (s.rows > largest.rows) largest = s;
    guarantee = largest.guarantee;
    QStringList groups;
    for (int m = 0; m < kMatches; ++m)
        groups << (m < largest.zw ? QStringLiteral("10") : m < largest.zw + largest.dw ? QStringLiteral("102") : QStringLiteral("1"));
    return groups.join(u',');
}

void BM_ReducedLargest(benchmark::State& state) {
    int guarantee = 0;
    const SystemStructure s = capture(largestReduced(guarantee));
    long long rows = 0;
    for (auto _ : state) {
        std::optional<TipTable> table = expandReduced(s, guarantee);
        rows = table->dataRowCount();
        benchmark::DoNotOptimize(table->rows().data());
    }
    state.SetLabel(std::to_string(rows) + " rows, " + std::to_string(s.AnzZW) + " ZW " + std::to_string(s.AnzDW) + " DW");
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ReducedLargest)->Unit(benchmark::kMillisecond);

// Every entry once per iteration; the counter is the slowest single one.
void BM_ReducedEveryEntry(benchmark::State& state) {
    std::vector<SystemStructure> sheets;
    std::vector<int> guarantees;
    for (const ReducedSystem& s : reducedCatalogue()) {
        QStringList groups;
        for (int m = 0; m < kMatches; ++m)
            groups << (m < s.zw ? QStringLiteral("12") : m < s.zw + s.dw ? QStringLiteral("102") : QStringLiteral("0"));
        sheets.push_back(capture(groups.join(u',')));
        guarantees.push_back(s.guarantee);
    }
    double slowest = 0;
    for (auto _ : state)
        for (size_t i = 0; i < sheets.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            std::optional<TipTable> table = expandReduced(sheets[i], guarantees[i]);
            benchmark::DoNotOptimize(table->rows().data());
            slowest = std::max(slowest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK(BM_ReducedEveryEntry)->Unit(benchmark::kMillisecond);

void BM_ReducedLargestAsFullSystem(benchmark::State& state) {
    int guarantee = 0;
    expandRepeatedly(state, largestReduced(guarantee));
}
BENCHMARK(BM_ReducedLargestAsFullSystem)->Unit(benchmark::kMillisecond);

// The command-line tool against cat, both started through the shell.
struct Files {
    QTemporaryDir dir;
    QString slip() const { return dir.path() + QStringLiteral("/alle.krsc"); }
    QString copy() const { return dir.path() + QStringLiteral("/kopie.krsc"); }
};

Files& files() {
    static Files f;
    return f;
}

QByteArray quoted(const QString& path) { return "'" + path.toUtf8() + "'"; }

QByteArray cliCommand() {
    return quoted(QStringLiteral(KORBISTO_CLI_PATH)) + " full --crosses " + k3To13.toUtf8() + " --out " +
           quoted(files().slip());
}

void BM_CliFullSlip3To13(benchmark::State& state) {
    const QByteArray command = cliCommand();
    for (auto _ : state)
        if (std::system(command.constData()) != 0) state.SkipWithError("korbisto-cli failed");
    state.SetBytesProcessed(state.iterations() * QFile(files().slip()).size());
}
BENCHMARK(BM_CliFullSlip3To13)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatSameBytes(benchmark::State& state) {
    if (!QFile::exists(files().slip()) && std::system(cliCommand().constData()) != 0) {
        state.SkipWithError("korbisto-cli failed");
        return;
    }
    const QByteArray command = "cat " + quoted(files().slip()) + " > " + quoted(files().copy());
    for (auto _ : state)
        if (std::system(command.constData()) != 0) state.SkipWithError("cat failed");
    state.SetBytesProcessed(state.iterations() * QFile(files().slip()).size());
}
BENCHMARK(BM_CatSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
