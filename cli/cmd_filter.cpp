#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/error.h"
#include "core/german.h"
#include "core/text_helpers.h"
#include "files/slip_file.h"
#include "systems/row_cover.h"
#include "systems/row_filters.h"

#include <algorithm>

namespace korbisto::cli {
namespace {

const QString kLevel = QStringLiteral("level");
const QString kLevels = QStringLiteral("levels");
const QString kWeights = QStringLiteral("weights");
const QString kProbability = QStringLiteral("probability");
const QString kBest = QStringLiteral("best");

// What the options ask for: the candidates and the filters with their weights.
struct Request {
    Candidates candidates;
    FilterList filters;
    std::optional<MatchWeights> weights;
};

Candidates candidatesOf(const CommandLine& args) {
    const bool crosses = args.has(QStringLiteral("crosses"));
    if (crosses == args.has(QStringLiteral("slip")))
        throw UsageError(QStringLiteral("Genau eines von --crosses und --slip ist nötig."));
    if (!crosses) {
        TipTable rows;
        const QString path = args.value(QStringLiteral("slip"));
        onFile(path, [&] { readSlipFile(path, rows); });
        return Candidates::ofTable(rows);
    }
    std::optional<Candidates> full = Candidates::ofCrosses(parseCrosses(args.value(QStringLiteral("crosses"))));
    if (!full)
        throw KorbistoError(refusal(QStringLiteral(
            "Nicht jedes der 13 Spiele ist angekreuzt. Die Filter brauchen auf jedem Spiel mindestens ein Kreuz.")));
    return std::move(*full);
}

// As many as the filter file holds: nine digits.
int countOption(const CommandLine& args, const QString& option) {
    return static_cast<int>(numberOption(args, option, 999999999));
}

FilterList filtersOf(const CommandLine& args) {
    FilterList list;
    for (const FilterKind kind : {FilterKind::Signs, FilterKind::Run, FilterKind::Changes, FilterKind::Level}) {
        const QString option = filterKindName(kind);
        for (const QString& value : args.values(option)) {
            const Parsed<RowFilter> f = parseRowFilter(kind, value);
            if (!f.value) throw UsageError(QStringLiteral("--%1: %2").arg(option, f.error));
            list.filters.push_back(*f.value);
        }
    }
    if (list.filters.size() > static_cast<size_t>(kMostFilters))
        throw UsageError(QStringLiteral("Mehr als %1 Filter nimmt eine Liste nicht auf.").arg(kMostFilters));
    if (args.has(kLevel) != args.has(kLevels))
        throw UsageError(QStringLiteral("--level und --levels gehören zusammen: die Stufen und welche Stufe zählt."));
    if (args.has(kLevels)) {
        const Parsed<PatternLevels> levels = parseLevelPattern(args.value(kLevels));
        if (!levels.value) throw UsageError(QStringLiteral("--levels: ") + levels.error);
        list.levels = levels.value;
    }
    if (args.has(QStringLiteral("tolerance"))) list.tolerance = countOption(args, QStringLiteral("tolerance"));

    if (args.has(kProbability) && args.has(kBest))
        throw UsageError(QStringLiteral("Nur eines von --probability und --best."));
    if ((args.has(kProbability) || args.has(kBest)) && !args.has(kWeights))
        throw UsageError(QStringLiteral("--probability und --best brauchen die Gewichte von --weights."));
    if (args.has(kProbability)) {
        const Parsed<double> share = parseShare(args.value(kProbability));
        if (!share.value) throw UsageError(QStringLiteral("--probability: ") + share.error);
        list.probability = {ProbabilityFilter::Mode::AtLeast, *share.value, 0};
    } else if (args.has(kBest)) {
        const int best = countOption(args, kBest);
        if (best == 0) throw UsageError(QStringLiteral("--best braucht mindestens eine Reihe."));
        list.probability = {ProbabilityFilter::Mode::Best, 0, best};
    }
    return list;
}

Request requestOf(const CommandLine& args) {
    args.expectPositional(0);
    Request r;
    // Usage first: a wrong option is named before any file is read.
    r.filters = filtersOf(args);
    if (args.has(kWeights)) r.weights = parseWeights(args.value(kWeights), {});
    r.candidates = candidatesOf(args);
    return r;
}

// The rows into the slip of --out, or onto the output; an empty result
// writes no slip.
void emitWords(const CommandLine& args, const std::vector<RowWord>& words, Format format) {
    const QString out = args.value(QStringLiteral("out"));
    if (words.empty() && args.has(QStringLiteral("out")) && !isStandardStream(out))
        throw KorbistoError(refusal(QStringLiteral("Keine Reihe erfüllt alle Filter. „%1“ wurde nicht geschrieben.")
                                        .arg(visible(out))));
    size_t next = 0;
    emitRows(
        args,
        [&](TipTable& block) {
            const size_t take = std::min<size_t>(words.size() - next, SlipReader::kBlockRows);
            for (size_t i = 0; i < take; ++i)
                block.appendRow(static_cast<std::int32_t>(next + i + 1), tipsOfWord(words[next + i]));
            next += take;
            return static_cast<int>(take);
        },
        format);
}

void writeJson(const FilterOutcome& outcome, const std::vector<RowWord>& rows, std::optional<int> guarantee) {
    JsonWriter json;
    json.beginObject();
    json.key(u"count").number(static_cast<long long>(rows.size()));
    json.key(u"of").number(outcome.candidates);
    if (outcome.probability) json.key(u"probability").share(*outcome.probability);
    if (guarantee) {
        json.key(u"guarantee").number(*guarantee);
        json.key(u"covers").number(static_cast<long long>(outcome.rows.size()));
    }
    json.key(u"rows").beginArray();
    for (const RowWord w : rows) json.tips(tipsOfWord(w));
    json.endArray().endObject().finish();
}

// "12.345 von 93.312 Reihen erfüllen die Filter." and what else the run tells.
QString summary(const Request& request, const FilterOutcome& outcome) {
    const auto n = static_cast<long long>(outcome.rows.size());
    QString s = n == 0 ? QStringLiteral("Keine Reihe erfüllt alle Filter (0 von %1).").arg(formatCount(outcome.candidates))
                       : QStringLiteral("%1 von %2 Reihen %3 die Filter.")
                             .arg(formatCount(n), formatCount(outcome.candidates),
                                  n == 1 ? QStringLiteral("erfüllt") : QStringLiteral("erfüllen"));
    if (outcome.probability)
        s += QStringLiteral(" Wahrscheinlichkeit, dass die Filter halten: %1.").arg(formatPercent(*outcome.probability));
    if (const std::int64_t skipped = request.candidates.skipped(); skipped > 0)
        s += QStringLiteral(" %1 des Spielscheins mit anderen Tipps als 1, 0 und 2 %2 nicht mit.")
                 .arg(skipped == 1 ? QStringLiteral("1 Reihe") : formatCount(skipped) + QStringLiteral(" Reihen"),
                      skipped == 1 ? QStringLiteral("zählt") : QStringLiteral("zählen"));
    return s;
}

int runFilter(const CommandLine& args) {
    const Format format = rowsFormat(args);
    const Request request = requestOf(args);
    const FilterOutcome outcome = *applyFilters(request.candidates, request.filters, request.weights ? &*request.weights : nullptr);
    if (format == Format::Json) {
        writeJson(outcome, outcome.rows, std::nullopt);
        return 0;
    }
    emitWords(args, outcome.rows, format);
    err(summary(request, outcome) + u'\n');
    return 0;
}

int runCover(const CommandLine& args) {
    const Format format = rowsFormat(args);
    const int guarantee = parseGuarantee(args.required(QStringLiteral("guarantee")));
    const Request request = requestOf(args);
    const FilterOutcome outcome = *applyFilters(request.candidates, request.filters, request.weights ? &*request.weights : nullptr);
    const RowCover cover = *coverRows(outcome.rows, guarantee);
    if (format == Format::Json) {
        writeJson(outcome, cover.rows, guarantee);
        return 0;
    }
    emitWords(args, cover.rows, format);
    QString s = summary(request, outcome);
    if (!cover.rows.empty())
        s += QStringLiteral(" %1 %2 mindestens %3 Richtige, wenn das Ergebnis die Filter erfüllt%4.")
                 .arg(formatCount(static_cast<long long>(cover.rows.size())),
                      cover.rows.size() == 1 ? QStringLiteral("Reihe garantiert") : QStringLiteral("Reihen garantieren"))
                 .arg(guarantee)
                 .arg(cover.fromCatalogue ? QStringLiteral(" (das reduzierte System des Katalogs)") : QString());
    err(s + u'\n');
    return 0;
}

std::vector<Option> filterOptions() {
    return {{QStringLiteral("crosses"), QStringLiteral("SPEC"),
             QStringLiteral("das Vollsystem der Kreuze: 13 Gruppen, durch „,“ getrennt, je Spiel die\n"
                            "angekreuzten Ausgänge aus 1, 0, 2 (X = 0). Beispiel: 102,102,10,1,...")},
            slipOption(QStringLiteral("stattdessen die Tippreihen eines Spielscheins (.krsc)")),
            {QStringLiteral("signs"), QStringLiteral("S=MIN..MAX[@SPIELE]"),
             QStringLiteral("so oft steht das Zeichen S (1, 0 oder X, 2) in der Reihe, über\n"
                            "alle 13 Spiele oder die genannten, etwa 1-6 oder 1,3,5-7")},
            {QStringLiteral("run"), QStringLiteral("MIN..MAX"), QStringLiteral("die längste Folge gleicher Zeichen")},
            {QStringLiteral("changes"), QStringLiteral("MIN..MAX"),
             QStringLiteral("so oft wechselt das Zeichen von einem Spiel zum nächsten")},
            {kLevels, QStringLiteral("STUFEN"),
             QStringLiteral("die Stufen der Ausgänge wie bei „generate --pattern“, für --level")},
            {kLevel, QStringLiteral("L=MIN..MAX"),
             QStringLiteral("in so vielen Spielen spielt die Reihe einen Ausgang der Stufe L\n"
                            "(0 = out, 1 bis 3 = Fav I bis Fav III); darf mehrmals stehen")},
            {kWeights, QStringLiteral("W"),
             QStringLiteral("je Spiel a/b/c für „1“, „0“, „2“ oder „-“, wie bei „chances“: dazu die\n"
                            "Wahrscheinlichkeit, dass die Filter halten")},
            {kProbability, QStringLiteral("P"),
             QStringLiteral("nur Reihen mit mindestens dieser Wahrscheinlichkeit, etwa 0.001 oder 0,1 %")},
            {kBest, QStringLiteral("N"), QStringLiteral("nur die N wahrscheinlichsten Reihen (bei Gleichstand die früheren)")},
            {QStringLiteral("tolerance"), QStringLiteral("K"),
             QStringLiteral("eine Reihe besteht, wenn höchstens K der Filter (außer der\n"
                            "Wahrscheinlichkeit) nicht erfüllt sind")},
            outOption(QStringLiteral("DATEI.krsc"), QStringLiteral("die Reihen als Spielschein (.krsc) speichern statt ausgeben")),
            formatOption(QStringLiteral("text|csv|json"),
                         QStringLiteral("Trennzeichen „,“ (text) oder „;“ (csv), oder JSON; bei text und csv\n"
                                        "steht in der letzten Zeile der Fehlerausgabe, wie viele Reihen bestehen")),
            jsonAlias()};
}

const QString kRangeNote = QStringLiteral("\nMIN..MAX darf ein Ende weglassen (..5, 2..) oder eine Zahl sein.");

const RegisterCommand filterCommand({
    .name = QStringLiteral("filter"),
    .synopsis = QStringLiteral("(--crosses SPEC | --slip DATEI) [FILTER]... [--format text|csv|json] [--out DATEI.krsc]"),
    .summary = QStringLiteral("die Reihen, die alle Filter erfüllen"),
    .description = QStringLiteral("Die Reihen des Vollsystems oder Spielscheins, die alle Filter erfüllen, in ihrer "
                                  "Folge.\nFILTER sind --signs, --run, --changes, --level mit --levels, --weights mit "
                                  "--probability\noder --best, und --tolerance.") +
                   kRangeNote,
    .run = runFilter,
    .options = filterOptions(),
});

const RegisterCommand coverCommand({
    .name = QStringLiteral("cover"),
    .synopsis = QStringLiteral("(--crosses SPEC | --slip DATEI) [FILTER]... --guarantee 12|11|10 "
                               "[--format text|csv|json] [--out DATEI.krsc]"),
    .summary = QStringLiteral("deckt die gefilterten Reihen mit wenigen von ihnen ab"),
    .description = QStringLiteral("Deckt die Reihen, die alle Filter erfüllen, mit wenigen von ihnen ab: Ist das "
                                  "Ergebnis eine\nder gefilterten Reihen, hat eine der ausgegebenen mindestens 12, 11 "
                                  "oder 10 Richtige.\nFILTER wie bei „filter“.") +
                   kRangeNote,
    .run = runCover,
    .options =
        [] {
            std::vector<Option> options = filterOptions();
            options.push_back(
                {QStringLiteral("guarantee"), QStringLiteral("12|11|10"), QStringLiteral("12, 11 oder 10 Richtige garantiert")});
            return options;
        }(),
});

}  // namespace
}  // namespace korbisto::cli
