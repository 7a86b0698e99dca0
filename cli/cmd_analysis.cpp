#include "cli_common.h"
#include "json_writer.h"

#include "analysis/live_chances.h"
#include "analysis/win_plan.h"
#include "core/error.h"
#include "core/german.h"
#include "files/slip_file.h"

#include <QByteArray>

#include <cmath>

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
            .string(formatCents(win->min))
            .key(u"max")
            .string(formatCents(win->max))
            .key(u"mean")
            .string(formatCents(win->mean))
            .endObject();
    else
        json.null();
    json.endObject().finish();
}

QString planText(const WinPlan& plan, const std::optional<WinFigures>& win) {
    QString s = QStringLiteral("Ergebnisse: %1\n").arg(formatCount(plan.results));
    s += QStringLiteral("Sicherer Rang: %1\n\n")
             .arg(plan.guaranteedRank == 0 ? QStringLiteral("keiner") : rankName(plan.guaranteedRank));
    s += QStringLiteral("  Rang I  Rang II  Rang III  Rang IV  Ergebnisse\n");
    for (const WinPlanClass& c : plan.classes) {
        s += QString::number(c.ranks[0]).rightJustified(8) + QString::number(c.ranks[1]).rightJustified(9) +
             QString::number(c.ranks[2]).rightJustified(10) + QString::number(c.ranks[3]).rightJustified(9) +
             formatCount(c.results).rightJustified(12) + u'\n';
    }
    if (win)
        s += QStringLiteral("\nGewinn: kleinster %1, größter %2, Mittel %3\n")
                 .arg(formatCents(win->min), formatCents(win->max), formatCents(win->mean));
    return s;
}

int runWinPlan(const CommandLine& args) {
    args.expectPositional(0);
    const QString slip = args.required(QStringLiteral("slip"));
    const OutcomeCrosses crosses = parseCrosses(args.required(QStringLiteral("crosses")));
    QuotaTexts quotas;
    for (const auto& [rank, text] : parseQuotas(args)) quotas[static_cast<size_t>(rank - 1)] = text;
    TipTable rows;
    readSlipFile(slip, rows);
    const std::optional<WinPlan> plan = winPlan(rows, crosses);
    if (!plan)
        throw KorbistoError(refusal(QStringLiteral(
            "Nicht jedes der 13 Spiele ist angekreuzt. Der Gewinnplan braucht auf jedem Spiel mindestens ein Kreuz.")));
    const std::optional<WinFigures> win = winFigures(*plan, quotas);
    if (args.has(QStringLiteral("json")))
        writeJson(*plan, win);
    else
        out(planText(*plan, win));
    return 0;
}

const RegisterCommand winPlanCommand({
    QStringLiteral("winplan"),
    QStringLiteral("winplan --slip DATEI --crosses SPEC [--quota RANG=TEXT]... [--json]\n\n"
                   "Der Gewinnplan der Tippreihen eines Spielscheins über alle Ergebnisse, die die Kreuze\n"
                   "zulassen: wie viele Reihen in den Rängen I bis IV landen, für wie viele Ergebnisse, und der\n"
                   "Rang, den jedes Ergebnis sicher bringt.\n"
                   "  --slip DATEI        der Spielschein (.krsc)\n"
                   "  --crosses SPEC      die Kreuze, wie bei „full“\n"
                   "  --quota RANG=TEXT   eine Quote, RANG I bis IV: kleinster, größter und mittlerer Gewinn\n"
                   "  --json              Ausgabe als JSON"),
    runWinPlan,
    {{QStringLiteral("slip"), QStringLiteral("DATEI")},
     {QStringLiteral("crosses"), QStringLiteral("SPEC")},
     {QStringLiteral("quota"), QStringLiteral("RANG=TEXT")},
     {QStringLiteral("json"), QString()}},
});

// A chance as JSON: the shortest text that reads back as the same double.
QByteArray chance(double p) { return QByteArray::number(p, 'g', 17); }

void writeChancesJson(const LiveChances& live, const std::optional<double>& win) {
    JsonWriter json;
    json.beginObject().key(u"open").number(live.open).key(u"rows").beginArray();
    const auto probabilities = [&](const std::array<double, kRanks>& p) {
        json.beginArray();
        for (const double v : p) {
            const QByteArray text = chance(v);
            json.raw(std::string_view(text.constData(), static_cast<size_t>(text.size())));
        }
        json.endArray();
    };
    for (const LiveRow& row : live.rows) {
        json.beginObject().key(u"number").number(row.number).key(u"hits").number(row.hits).key(u"best");
        if (row.bestRank == 0)
            json.null();
        else
            json.string(rankName(row.bestRank));
        json.key(u"p");
        probabilities(row.p);
        json.endObject();
    }
    json.endArray().key(u"slip").beginObject().key(u"p_at_least");
    probabilities(live.atLeast);
    json.key(u"expected");
    probabilities(live.expected);
    json.key(u"win");
    if (win)
        json.string(formatCents(*win));
    else
        json.null();
    json.endObject().endObject().finish();
}

QString chancesText(const LiveChances& live, const std::optional<double>& win) {
    QString s = QStringLiteral("Offene Spiele: %1\n\n").arg(live.open);
    s += QStringLiteral("Reihe  Richtig  Bester Rang     Rang I    Rang II   Rang III    Rang IV\n");
    for (const LiveRow& row : live.rows) {
        s += QString::number(row.number).rightJustified(5) + QString::number(row.hits).rightJustified(9) +
             (row.bestRank == 0 ? QStringLiteral("-") : rankName(row.bestRank)).rightJustified(13);
        for (const double p : row.p) s += formatPercent(p).rightJustified(11);
        s += u'\n';
    }
    s += QStringLiteral("\nMindestens eine Reihe in Rang I: %1, bis II: %2, bis III: %3, bis IV: %4\n")
             .arg(formatPercent(live.atLeast[0]), formatPercent(live.atLeast[1]), formatPercent(live.atLeast[2]),
                  formatPercent(live.atLeast[3]));
    s += QStringLiteral("Erwartete Reihen: I %1, II %2, III %3, IV %4\n")
             .arg(formatAmount(live.expected[0]), formatAmount(live.expected[1]), formatAmount(live.expected[2]),
                  formatAmount(live.expected[3]));
    if (win) s += QStringLiteral("Erwarteter Gewinn: %1\n").arg(formatCents(*win));
    return s;
}

int runChances(const CommandLine& args) {
    args.expectPositional(0);
    const QString slip = args.required(QStringLiteral("slip"));
    const QStringList texts = parseRowArgument(args.required(QStringLiteral("result")), QStringLiteral("--result"));
    LiveResult result{};
    for (int m = 0; m < kMatches; ++m) result[static_cast<size_t>(m)] = tipCodeOfText(texts[m]);
    const auto weights = parseWeights(args.value(QStringLiteral("weights")), result);
    QuotaTexts quotas;
    for (const auto& [rank, text] : parseQuotas(args)) quotas[static_cast<size_t>(rank - 1)] = text;
    TipTable rows;
    readSlipFile(slip, rows);
    const LiveChances live = *liveChances(rows, result, weights);
    const std::optional<double> win = expectedWin(live, quotas);
    if (args.has(QStringLiteral("json")))
        writeChancesJson(live, win);
    else
        out(chancesText(live, win));
    return 0;
}

const RegisterCommand chancesCommand({
    QStringLiteral("chances"),
    QStringLiteral("chances --slip DATEI --result REIHE [--weights W] [--quota RANG=TEXT]... [--json]\n\n"
                   "Die Chancen jeder Tippreihe auf die Gewinnränge, solange Spiele noch offen sind, und die des\n"
                   "ganzen Spielscheins.\n"
                   "  --slip DATEI        der Spielschein (.krsc)\n"
                   "  --result REIHE      die Ergebnisse als 13 Zeichen aus 0 1 2 X x, „-“ für ein offenes Spiel\n"
                   "  --weights W         13 Gruppen, durch „,“ getrennt: je Spiel a/b/c für „1“, „0“, „2“ oder\n"
                   "                      „-“ für gleiche Chancen; entschiedene Spiele zählen nicht\n"
                   "  --quota RANG=TEXT   eine Quote, RANG I bis IV: der zu erwartende Gewinn\n"
                   "  --json              Ausgabe als JSON"),
    runChances,
    {{QStringLiteral("slip"), QStringLiteral("DATEI")},
     {QStringLiteral("result"), QStringLiteral("REIHE")},
     {QStringLiteral("weights"), QStringLiteral("W")},
     {QStringLiteral("quota"), QStringLiteral("RANG=TEXT")},
     {QStringLiteral("json"), QString()}},
});

}  // namespace
}  // namespace korbisto::cli
