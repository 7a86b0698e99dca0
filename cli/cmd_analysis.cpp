#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "analysis/live_chances.h"
#include "analysis/win_plan.h"
#include "core/error.h"
#include "core/german.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace korbisto::cli {
namespace {

QString rankName(int rank) { return QString::fromLatin1(RangNamen[static_cast<size_t>(rank)]); }

void writeJson(const WinPlan& plan, const std::optional<WinFigures>& win) {
    JsonWriter json;
    json.beginObject();
    json.key(u"results").number(plan.results);
    json.key(u"guaranteed");
    if (plan.guaranteedRank == 0)
        json.null();
    else
        json.string(rankName(plan.guaranteedRank));
    json.key(u"plan").beginArray();
    for (const WinPlanClass& c : plan.classes) {
        json.beginObject().key(u"ranks").beginArray();
        for (const std::int64_t n : c.ranks) json.number(n);
        json.endArray().key(u"results").number(c.results).endObject();
    }
    json.endArray().key(u"win");
    if (win)
        json.beginObject()
            .key(u"min")
            .amount(roundedToCents(win->min))
            .key(u"max")
            .amount(roundedToCents(win->max))
            .key(u"mean")
            .amount(roundedToCents(win->mean))
            .endObject();
    else
        json.null();
    json.endObject().finish();
}

// The plan as text, a class a line, written straight from the numbers.
void writePlanText(const WinPlan& plan, const std::optional<WinFigures>& win) {
    Output& output = standardOutput();
    QString s = QStringLiteral("Ergebnisse: %1\n").arg(formatCount(plan.results));
    s += QStringLiteral("Sicherer Rang: %1\n\n")
             .arg(plan.guaranteedRank == 0 ? QStringLiteral("keiner") : rankName(plan.guaranteedRank));
    s += QStringLiteral("  Rang I  Rang II  Rang III  Rang IV  Ergebnisse\n");
    output.text(s);
    for (const WinPlanClass& c : plan.classes) {
        char* const start = output.room(160);
        char* p = putNumber(start, c.ranks[0], 8);
        p = putNumber(p, c.ranks[1], 9);
        p = putNumber(p, c.ranks[2], 10);
        p = putNumber(p, c.ranks[3], 9);
        p = putCount(p, c.results, 12);
        *p++ = '\n';
        output.advance(p - start);
    }
    if (win)
        output.text(QStringLiteral("\nGewinn: kleinster %1, größter %2, Mittel %3\n")
                        .arg(formatCents(win->min), formatCents(win->max), formatCents(win->mean)));
}

int runWinPlan(const CommandLine& args) {
    args.expectPositional(0);
    const Format format = outputFormat(args, QStringLiteral("text|json"));
    const QString path = args.required(QStringLiteral("slip"));
    const OutcomeCrosses crosses = parseCrosses(args.required(QStringLiteral("crosses")));
    QuotaTexts quotas;
    for (const auto& [rank, text] : parseQuotas(args)) quotas[static_cast<size_t>(rank - 1)] = text;
    // The rows go into the result space a block at a time; the slip is never held.
    SlipInput slip(path);
    WinPlanCount count(crosses);
    TipTable block;
    while (slip.readInto(block) > 0) {
        count.add(block);
        block.clearAll();
    }
    const std::optional<WinPlan> plan = count.finish();
    if (!plan)
        throw KorbistoError(refusal(QStringLiteral(
            "Nicht jedes der 13 Spiele ist angekreuzt. Der Gewinnplan braucht auf jedem Spiel mindestens ein Kreuz.")));
    const std::optional<WinFigures> win = winFigures(*plan, quotas);
    if (format == Format::Json)
        writeJson(*plan, win);
    else
        writePlanText(*plan, win);
    return 0;
}

Option quotaOption(const QString& help) {
    return {QStringLiteral("quota"), QStringLiteral("RANG=TEXT"), help};
}

const RegisterCommand winPlanCommand({
    .name = QStringLiteral("winplan"),
    .synopsis = QStringLiteral("--slip DATEI --crosses SPEC [--quota RANG=TEXT]... [--format text|json]"),
    .summary = QStringLiteral("der Gewinnplan eines Spielscheins über alle Ergebnisse der Kreuze"),
    .description = QStringLiteral(
        "Der Gewinnplan der Tippreihen eines Spielscheins über alle Ergebnisse, die die Kreuze\n"
        "zulassen: wie viele Reihen in den Rängen I bis IV landen, für wie viele Ergebnisse, und der\n"
        "Rang, den jedes Ergebnis sicher bringt."),
    .run = runWinPlan,
    .options = {slipOption(QStringLiteral("der Spielschein (.krsc)")),
                {QStringLiteral("crosses"), QStringLiteral("SPEC"), QStringLiteral("die Kreuze, wie bei „full“")},
                quotaOption(QStringLiteral("eine Quote, RANG I bis IV: kleinster, größter und mittlerer Gewinn")),
                textOrJsonOption(), jsonAlias()},
});


// The slip a block at a time: each block's rows go to `row(figures)` as
// they come, the slip's figures are worked out at the end.
template <typename Row>
LiveChances streamChances(SlipInput& slip, LiveChancesCount& count, Row&& row) {
    TipTable block;
    std::vector<LiveRow> figures;
    while (slip.readInto(block) > 0) {
        figures.clear();
        count.add(block, figures);
        for (const LiveRow& figure : figures) row(figure);
        block.clearAll();
    }
    return *count.finish();
}

void writeChancesJson(SlipInput& slip, LiveChancesCount& count, const QuotaTexts& quotas) {
    JsonWriter json;
    json.beginObject().key(u"open").number(count.open()).key(u"rows").beginArray();
    const auto probabilities = [&](const std::array<double, kRanks>& p, bool shares) {
        json.beginArray();
        for (const double v : p) shares ? json.share(v) : json.real(v);
        json.endArray();
    };
    const LiveChances live = streamChances(slip, count, [&](const LiveRow& row) {
        // Written per row, so without a string made for it.
        static constexpr std::string_view kBest[] = {"null", R"("I")", R"("II")", R"("III")", R"("IV")"};
        json.beginObject().key(u"number").number(row.number).key(u"hits").number(row.hits).key(u"best");
        json.raw(kBest[std::clamp(row.bestRank, 0, kRanks)]);
        json.key(u"p");
        probabilities(row.p, true);
        json.endObject();
    });
    const std::optional<double> win = expectedWin(live, quotas);
    json.endArray().key(u"slip").beginObject().key(u"p_at_least");
    probabilities(live.atLeast, true);
    json.key(u"expected");
    probabilities(live.expected, false);
    json.key(u"win");
    if (win)
        json.amount(roundedToCents(*win));
    else
        json.null();
    json.endObject().endObject().finish();
}

// The chances as text, a row a line, written straight from the numbers.
void writeChancesText(SlipInput& slip, LiveChancesCount& count, const QuotaTexts& quotas) {
    Output& output = standardOutput();
    output.text(QStringLiteral("Offene Spiele: %1\n\n").arg(count.open()) +
                QStringLiteral("Reihe  Richtig  Bester Rang     Rang I    Rang II   Rang III    Rang IV\n"));
    static constexpr std::string_view kBest[] = {"-", "I", "II", "III", "IV"};
    const LiveChances live = streamChances(slip, count, [&](const LiveRow& row) {
        char* const start = output.room(512);
        char* p = putNumber(start, row.number, 5);
        p = putNumber(p, row.hits, 9);
        const std::string_view best = kBest[static_cast<size_t>(row.bestRank)];
        p = std::fill_n(p, 13 - best.size(), ' ');
        p = std::copy(best.begin(), best.end(), p);
        for (const double chance : row.p) p = putAmount(p, 100 * chance, 11, " %");
        *p++ = '\n';
        output.advance(p - start);
    });
    QString s = QStringLiteral("\nMindestens eine Reihe in Rang I: %1, bis II: %2, bis III: %3, bis IV: %4\n")
                    .arg(formatPercent(live.atLeast[0]), formatPercent(live.atLeast[1]), formatPercent(live.atLeast[2]),
                         formatPercent(live.atLeast[3]));
    s += QStringLiteral("Erwartete Reihen: I %1, II %2, III %3, IV %4\n")
             .arg(formatAmount(live.expected[0]), formatAmount(live.expected[1]), formatAmount(live.expected[2]),
                  formatAmount(live.expected[3]));
    if (const std::optional<double> win = expectedWin(live, quotas))
        s += QStringLiteral("Erwarteter Gewinn: %1\n").arg(formatCents(*win));
    output.text(s);
}

int runChances(const CommandLine& args) {
    args.expectPositional(0);
    const Format format = outputFormat(args, QStringLiteral("text|json"));
    const QString path = args.required(QStringLiteral("slip"));
    const QStringList texts = parseRowArgument(args.required(QStringLiteral("result")), QStringLiteral("--result"));
    LiveResult result{};
    for (int m = 0; m < kMatches; ++m) result[static_cast<size_t>(m)] = tipCodeOfText(texts[m]);
    const auto weights = parseWeights(args.value(QStringLiteral("weights")), result);
    QuotaTexts quotas;
    for (const auto& [rank, text] : parseQuotas(args)) quotas[static_cast<size_t>(rank - 1)] = text;
    SlipInput slip(path);
    LiveChancesCount count(result, weights);
    if (format == Format::Json)
        writeChancesJson(slip, count, quotas);
    else
        writeChancesText(slip, count, quotas);
    return 0;
}

const RegisterCommand chancesCommand({
    .name = QStringLiteral("chances"),
    .synopsis = QStringLiteral("--slip DATEI --result REIHE [--weights W] [--quota RANG=TEXT]... [--format text|json]"),
    .summary = QStringLiteral("die Chancen der Tippreihen, solange Spiele offen sind"),
    .description = QStringLiteral("Die Chancen jeder Tippreihe auf die Gewinnränge, solange Spiele noch offen sind, "
                                  "und die des\nganzen Spielscheins."),
    .run = runChances,
    .options = {slipOption(QStringLiteral("der Spielschein (.krsc)")),
                {QStringLiteral("result"), QStringLiteral("REIHE"),
                 QStringLiteral("die Ergebnisse als 13 Zeichen aus 0 1 2 X x, „-“ für ein offenes Spiel")},
                {QStringLiteral("weights"), QStringLiteral("W"),
                 QStringLiteral("13 Gruppen, durch „,“ getrennt: je Spiel a/b/c für „1“, „0“, „2“ oder\n"
                                "„-“ für gleiche Chancen; entschiedene Spiele zählen nicht")},
                quotaOption(QStringLiteral("eine Quote, RANG I bis IV: der zu erwartende Gewinn")),
                textOrJsonOption(), jsonAlias()},
});

}  // namespace
}  // namespace korbisto::cli
