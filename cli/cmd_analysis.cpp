#include "cli_common.h"
#include "json_writer.h"

#include "analysis/win_plan.h"
#include "core/error.h"
#include "core/german.h"
#include "files/slip_file.h"

#include <cmath>

namespace korbisto::cli {
namespace {

QString rankName(int rank) { return QString::fromLatin1(RangNamen[static_cast<size_t>(rank)]); }

// Amounts to the cent, a half cent up.
QString cents(double amount) { return formatAmount(std::floor(amount * 100 + 0.5) / 100); }

void writeJson(const WinPlan& plan, const std::optional<WinFigures>& win) {
    JsonWriter json;
    json.beginObject();
    json.key(u"results").number(plan.results);
    json.key(u"guaranteed");
    if (plan.guaranteedRank == 0) json.null();
    else json.string(rankName(plan.guaranteedRank));
    json.key(u"plan").beginArray();
    for (const WinPlanClass& c : plan.classes) {
        json.beginObject().key(u"ranks").beginArray();
        for (const std::int64_t n : c.ranks) json.number(n);
        json.endArray().key(u"results").number(c.results).endObject();
    }
    json.endArray().key(u"win");
    if (win)
        json.beginObject()
            .key(u"min").string(cents(win->min))
            .key(u"max").string(cents(win->max))
            .key(u"mean").string(cents(win->mean))
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
                 .arg(cents(win->min), cents(win->max), cents(win->mean));
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
    if (args.has(QStringLiteral("json"))) writeJson(*plan, win);
    else out(planText(*plan, win));
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

}  // namespace
}  // namespace korbisto::cli
