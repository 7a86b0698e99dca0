// Reading and writing the largest slip (3^13 rows, 63.8 MB), beside a plain
// copy of the same bytes with cat.
#include "files/slip_file.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace korbisto;

namespace {

constexpr int kAllRows = 1594323;

TipTable fullSystem() {
    TipTable t;
    t.reserve(kAllRows);
    std::array<std::uint8_t, kMatches> tips{};
    for (int n = 0; n < kAllRows; ++n) {
        int v = n;
        for (int m = kMatches - 1; m >= 0; --m) {
            tips[static_cast<size_t>(m)] = static_cast<std::uint8_t>(1 + v % 3);
            v /= 3;
        }
        t.appendRow(n + 1, tips);
    }
    return t;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

QString slipPath() {
    static const QString path = [] {
        const QString p = folder().path() + QStringLiteral("/alle.krsc");
        WriteSlipFile(fullSystem(), p);
        return p;
    }();
    return path;
}

void BM_WriteSlip(benchmark::State& state) {
    const TipTable t = fullSystem();
    const QString out = folder().path() + QStringLiteral("/geschrieben.krsc");
    for (auto _ : state) WriteSlipFile(t, out);
    state.SetBytesProcessed(state.iterations() * 40LL * kAllRows);
}
BENCHMARK(BM_WriteSlip)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadSlip(benchmark::State& state) {
    const QString in = slipPath();
    for (auto _ : state) {
        TipTable t;
        benchmark::DoNotOptimize(readSlipFile(in, t));
    }
    state.SetBytesProcessed(state.iterations() * 40LL * kAllRows);
}
BENCHMARK(BM_ReadSlip)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatCopy(benchmark::State& state) {
    const QString in = slipPath();
    const QByteArray command =
        QStringLiteral("cat '%1' > '%2'").arg(in, folder().path() + QStringLiteral("/kopie.krsc")).toLocal8Bit();
    for (auto _ : state) benchmark::DoNotOptimize(std::system(command.constData()));
    state.SetBytesProcessed(state.iterations() * 40LL * kAllRows);
}
BENCHMARK(BM_CatCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
