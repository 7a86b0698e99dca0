// Text import of tip rows: a pasted text of 100,000 rows, and the string
// replace it relies on beside the naive one-match-at-a-time replace.
#include "core/text_helpers.h"
#include "files/text_file.h"
#include "files/text_import.h"

#include <benchmark/benchmark.h>

using namespace korbisto;

namespace {

// n rows of 13 tips joined by `separator`, CR LF after each: 27 characters
// a row, so 100,000 rows are 2.6 MB.
QString rowsText(int n, QChar separator) {
    QString text;
    text.reserve(static_cast<qsizetype>(n) * 27);
    std::uint32_t state = 12345;
    for (int r = 0; r < n; ++r) {
        for (int m = 0; m < 13; ++m) {
            if (m) text += separator;
            state = state * 1103515245u + 12345u;
            text += QChar(u"10X2"[(state >> 16) % 4]);
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString fixedText(int n) {
    QString text = rowsText(n, u';');
    text.remove(u';');
    return text;
}

// What a replace without the position list does: find one match, build a new
// string around it, search again behind it.
QString naiveReplace(QString text, const QString& oldPattern, const QString& newPattern) {
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(oldPattern, from);
        if (at < 0) return text;
        text = text.left(at) + newPattern + text.mid(at + oldPattern.size());
        from = at + newPattern.size();
    }
}

void BM_ImportSeparatedRows(benchmark::State& state) {
    const QString text = rowsText(static_cast<int>(state.range(0)), u';');
    for (auto _ : state) {
        TipImport im = importTipRows(text);
        benchmark::DoNotOptimize(im.rowsFound);
    }
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
    state.counters["MiB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ImportSeparatedRows)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ImportSeparatedRowsAsShown(benchmark::State& state) {
    // The window's path: the field hands over its shown lines as well.
    const QString text = rowsText(static_cast<int>(state.range(0)), u';');
    const QStringList shown = textLines(text);
    for (auto _ : state) {
        TipImport im = importTipRows(text, shown);
        benchmark::DoNotOptimize(im.rowsFound);
    }
}
BENCHMARK(BM_ImportSeparatedRowsAsShown)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ImportFixedWidthRows(benchmark::State& state) {
    const QString text = fixedText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TipImport im = importTipRows(text);
        benchmark::DoNotOptimize(im.rowsFound);
    }
}
BENCHMARK(BM_ImportFixedWidthRows)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FieldChangeWithTabs(benchmark::State& state) {
    const QString text = rowsText(static_cast<int>(state.range(0)), u'\t');
    for (auto _ : state) {
        FieldChange change = fieldChanged(text);
        benchmark::DoNotOptimize(change.lineCount);
    }
}
BENCHMARK(BM_FieldChangeWithTabs)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_DecodeTextFile(benchmark::State& state) {
    // A file from a Mac of old: CR only, so every break is rewritten.
    QByteArray bytes = rowsText(static_cast<int>(state.range(0)), u';').toLatin1();
    bytes.replace("\r\n", "\r");
    for (auto _ : state) {
        QString text = decodeTextFile(bytes);
        benchmark::DoNotOptimize(text.size());
    }
}
BENCHMARK(BM_DecodeTextFile)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_XStringReplace(benchmark::State& state) {
    const QString text = rowsText(static_cast<int>(state.range(0)), u';');
    const QString semicolon = QStringLiteral(";");
    const QString comma = QStringLiteral(",");
    for (auto _ : state) {
        QString result = XStringReplace(text, semicolon, comma);
        benchmark::DoNotOptimize(result.size());
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_XStringReplace)->Arg(1000)->Arg(2000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NaiveReplace(benchmark::State& state) {
    // 12 matches per row: 100,000 rows would copy the 2.6 MB text 1.2 million
    // times, so the naive figure is taken on the smaller sizes only.
    const QString text = rowsText(static_cast<int>(state.range(0)), u';');
    const QString semicolon = QStringLiteral(";");
    const QString comma = QStringLiteral(",");
    for (auto _ : state) {
        QString result = naiveReplace(text, semicolon, comma);
        benchmark::DoNotOptimize(result.size());
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_NaiveReplace)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
