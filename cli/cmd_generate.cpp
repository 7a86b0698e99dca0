#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/error.h"
#include "core/text_helpers.h"
#include "files/pattern_file.h"
#include "files/text_file.h"
#include "generator/generator.h"
#include "systems/row_filters.h"

namespace korbisto::cli {
namespace {

// "310,111,003,...": per match the levels of "1", "0" and "2".
PatternLevels parsePattern(const QString& spec) {
    const Parsed<PatternLevels> levels = parseLevelPattern(spec);
    if (!levels.value) throw UsageError(QStringLiteral("--pattern: ") + levels.error);
    return *levels.value;
}

void writeRows(const GeneratorRun& run, char separator) {
    Output& output = standardOutput();
    const TipTable noTexts;
    TipTable::Row row;
    for (const auto& tips : run.rows()) {
        row.tips = tips;
        writeTipsLine(output, noTexts, row, separator);
    }
}

void writeJson(const GeneratorRun& run, const PatternCounts& counts) {
    JsonWriter json;
    json.beginObject();
    json.key(u"combinations").number(counts.combinations);
    json.key(u"zw").number(counts.zw);
    json.key(u"dw").number(counts.dw);
    json.key(u"bankers").number(counts.bankers);
    json.key(u"attempts").number(run.attempts());
    json.key(u"stopped").boolean(run.state() == GeneratorRun::State::Exhausted);
    json.key(u"rows").beginArray();
    for (const auto& tips : run.rows()) json.tips(tips);
    json.endArray();
    const OutcomeCounts outcomes = run.outcomeCounts();
    json.key(u"counts").beginArray();
    for (int m = 1; m <= kMatches; ++m) {
        json.beginArray();
        for (int c = 1; c <= 3; ++c) json.number(outcomes[static_cast<size_t>(outcomeIndex(m, c))]);
        json.endArray();
    }
    json.endArray().endObject().finish();
}

int runGenerate(const CommandLine& args) {
    args.expectPositional(0);
    const bool fromArgument = args.has(QStringLiteral("pattern"));
    if (fromArgument == args.has(QStringLiteral("pattern-file")))
        throw UsageError(QStringLiteral("Genau eines von --pattern und --pattern-file ist nötig."));
    const Format format = outputFormat(args, QStringLiteral("text|csv|json"));
    const bool toFile = args.has(QStringLiteral("out"));
    if (toFile && format == Format::Json)
        throw UsageError(QStringLiteral("--out schreibt die Text- oder CSV-Datei des Fensters, kein JSON."));
    const int count = args.has(QStringLiteral("count"))
                          ? static_cast<int>(numberOption(args, QStringLiteral("count"), 2147483647))
                          : 120;
    const SeedSource seeds =
        args.has(QStringLiteral("seed"))
            ? countingSeeds(static_cast<std::uint32_t>(numberOption(args, QStringLiteral("seed"), 4294967295)))
            : clockSeeds();

    PatternLevels levels{};
    if (fromArgument) {
        levels = parsePattern(args.value(QStringLiteral("pattern")));
    } else {
        const QString path = args.value(QStringLiteral("pattern-file"));
        onFile(path, [&] { LoadPattern(path, levels); });
    }
    // Without a Stop button the run ends at the request, or when no row can be
    // new. A match left out is refused here, with the window's message.
    GeneratorRun run(levels, count, seeds);
    run.finish();

    const char separator = format == Format::Csv ? ';' : ',';
    const QString outPath = args.value(QStringLiteral("out"));
    if (toFile && outToStandardOutput(args, false))
        encodeRowsText(run.table(), QChar::fromLatin1(separator),
                       [](const QByteArray& bytes) { standardOutput().append(bytes); });
    else if (toFile)
        onFile(outPath, [&] { saveRowsText(outPath, run.table(), QChar::fromLatin1(separator)); }, true);
    else if (format == Format::Json)
        writeJson(run, countPattern(levels));
    else
        writeRows(run, separator);
    return 0;
}

const RegisterCommand registration({
    .name = QStringLiteral("generate"),
    .synopsis = QStringLiteral("(--pattern STUFEN | --pattern-file DATEI) [--count N] [--seed S] "
                               "[--format text|csv|json] [--out DATEI]"),
    .summary = QStringLiteral("zieht verschiedene Tippreihen nach einem Muster von Favoriten"),
    .description = QStringLiteral("Zieht verschiedene Tippreihen nach einem Muster von Favoriten, wie „Reihen bilden“ "
                                  "im Fenster\n„Fußball ist auch Zufall“."),
    .run = runGenerate,
    .options = {{QStringLiteral("pattern"), QStringLiteral("STUFEN"),
                 QStringLiteral("13 Gruppen, durch „,“ getrennt, je Spiel drei Stufen 0 bis 3 für die\n"
                                "Ausgänge „1“, „0“, „2“ (0 = out, 1 = Fav I, 2 = Fav II, 3 = Fav III),\n"
                                "z. B. 310,111,003,111,111,111,111,111,111,111,111,111,111")},
                {QStringLiteral("pattern-file"), QStringLiteral("DATEI"),
                 QStringLiteral("das Muster aus einer Datei wie Quick.wh13;\n„-“ liest die Standardeingabe")},
                {QStringLiteral("count"), QStringLiteral("N"),
                 QStringLiteral("so viele Reihen (Vorgabe 120); endet früher, wenn das Muster keine\n"
                                "neue Reihe mehr zulässt")},
                {QStringLiteral("seed"), QStringLiteral("S"),
                 QStringLiteral("fester Startwert: Versuch k beginnt mit S + k (sonst die Uhr)")},
                formatOption(QStringLiteral("text|csv|json"),
                             QStringLiteral("Trennzeichen „,“ (text) oder „;“ (csv), oder JSON mit den Zahlen")),
                jsonAlias(),
                outOption(QStringLiteral("DATEI"),
                          QStringLiteral("die Reihen als Datei wie „Reihen speichern...“ (CR LF je Zeile)"))},
});

}  // namespace
}  // namespace korbisto::cli
