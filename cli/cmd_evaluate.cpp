#include "cli_common.h"

#include "core/bet_model.h"
#include "core/german.h"
#include "core/outcomes.h"
#include "files/match_day_file.h"
#include "files/slip_file.h"

namespace korbisto::cli {
namespace {

int rankOfNumeral(const QString& numeral) {
    for (int k = 1; k <= kRanks; ++k)
        if (numeral == QLatin1String(RangNamen[static_cast<size_t>(k)])) return k;
    return 0;
}

QString jsonNumberOrNull(const TipTable& table, int row, int column) {
    const QString text = table.cellText(row, column);
    if (text.isEmpty()) return QStringLiteral("null");
    if (const auto v = table.wholeNumber(table.rowAt(row), column)) return QString::number(*v);
    return jsonString(text);
}

QString countText(const BetModel& model, int rank) {
    return model.results() ? QString::number(model.results()->rank(rank).count) : QString();
}

QString amountText(const BetModel& model, int rank) {
    if (!model.results() || !model.results()->rank(rank).amount) return QString();
    return formatAmount(*model.results()->rank(rank).amount);
}

QString totalText(const BetModel& model) { return model.results() ? formatAmount(model.results()->total) : QString(); }

QString jsonOutput(const BetModel& model) {
    const TipTable& table = model.table();
    QString s;
    s.reserve(static_cast<qsizetype>(table.dataRowCount()) * 90 + 400);
    s += QStringLiteral("{\"winning_row\":") +
         jsonStringArray(QStringList(model.winningRow().begin(), model.winningRow().end()));
    s += QStringLiteral(",\"quotas\":") + jsonStringArray(QStringList(model.quotas().begin(), model.quotas().end()));
    s += QStringLiteral(",\"rows\":[");
    for (int r = 1; r < table.rowCount(); ++r) {
        if (r > 1) s += u',';
        s += QStringLiteral("{\"number\":") + jsonNumberOrNull(table, r, 0) + QStringLiteral(",\"tips\":[");
        for (int m = 1; m <= kMatches; ++m) {
            if (m > 1) s += u',';
            s += jsonString(table.cellText(r, m));
        }
        s += QStringLiteral("],\"hits\":") + jsonNumberOrNull(table, r, TipTable::kHitColumn) + u'}';
    }
    s += QStringLiteral("],\"ranks\":[");
    for (int k = 1; k <= kRanks; ++k) {
        if (k > 1) s += u',';
        const QString amount = amountText(model, k);
        s += QStringLiteral("{\"rank\":\"%1\",\"count\":%2,\"amount\":%3}")
                 .arg(QLatin1String(RangNamen[static_cast<size_t>(k)]), countText(model, k),
                      amount.isEmpty() ? QStringLiteral("null") : jsonString(amount));
    }
    s += QStringLiteral("],\"total\":") + jsonString(totalText(model)) + QStringLiteral("}\n");
    return s;
}

QString cellColumn(const QString& text, int width) { return text.rightJustified(width); }

QString textOutput(const BetModel& model) {
    const TipTable& table = model.table();
    QString s;
    QStringList winning;
    for (const QString& w : model.winningRow()) winning << (w.isEmpty() ? QStringLiteral("-") : w);
    s += QStringLiteral("Gewinnreihe: ") + winning.join(u' ') + u'\n';
    QStringList quotas;
    for (int k = 1; k <= kRanks; ++k)
        quotas << QStringLiteral("Rang %1: %2")
                      .arg(QLatin1String(RangNamen[static_cast<size_t>(k)]),
                           model.quota(k).isEmpty() ? QStringLiteral("-") : model.quota(k));
    s += QStringLiteral("Quoten: ") + quotas.join(QStringLiteral(", ")) + QStringLiteral("\n\n");
    s += QStringLiteral("Reihe ");
    for (int m = 1; m <= kMatches; ++m) s += cellColumn(QString::number(m), 3);
    s += QStringLiteral("  Richtig\n");
    for (int r = 1; r < table.rowCount(); ++r) {
        s += cellColumn(table.cellText(r, 0), 5) + u' ';
        for (int m = 1; m <= kMatches; ++m) s += cellColumn(table.cellText(r, m), 3);
        s += cellColumn(table.cellText(r, TipTable::kHitColumn), 9) + u'\n';
    }
    s += QStringLiteral("\nGKl.   Anzahl           Gewinn\n");
    for (int k = 1; k <= kRanks; ++k)
        s += QString::fromLatin1(RangNamen[static_cast<size_t>(k)]).leftJustified(4) + cellColumn(countText(model, k), 9) +
             cellColumn(amountText(model, k), 17) + u'\n';
    s += QStringLiteral("\nGesamtgewinn: ") + totalText(model) + u'\n';
    return s;
}

int runEvaluate(const CommandLine& args) {
    args.expectPositional(0);
    const QString slip = args.required(QStringLiteral("slip"));
    if (args.has(QStringLiteral("matchday")) && args.has(QStringLiteral("result")))
        throw UsageError(QStringLiteral("--matchday und --result schließen einander aus."));
    const QString sort = args.value(QStringLiteral("sort"));
    if (args.has(QStringLiteral("sort")) && sort != QLatin1String("hits"))
        throw UsageError(QStringLiteral("--sort kennt nur „hits“."));
    QStringList result;
    if (args.has(QStringLiteral("result"))) result = parseRowArgument(args.value(QStringLiteral("result")), "--result");
    std::vector<std::pair<int, QString>> quotas;
    for (const QString& q : args.values(QStringLiteral("quota"))) {
        const qsizetype eq = q.indexOf(u'=');
        const int rank = eq > 0 ? rankOfNumeral(q.left(eq)) : 0;
        if (rank == 0) throw UsageError(QStringLiteral("--quota erwartet RANG=TEXT mit RANG I, II, III oder IV."));
        quotas.emplace_back(rank, q.mid(eq + 1));
    }
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));

    BetModel model;
    // One evaluation at the end gives what the window shows after its own.
    model.setInstantEvaluation(false);
    SpielscheinEinlesen(model.rows(), slip);
    if (args.has(QStringLiteral("matchday"))) SpieltagEinlesen(model, args.value(QStringLiteral("matchday")), now);
    for (int m = 1; m <= result.size(); ++m) model.setWinning(m, result[m - 1]);
    for (const auto& [rank, text] : quotas) model.setQuota(rank, text);
    model.evaluate();
    if (sort == QLatin1String("hits")) model.sortByHits();
    out(args.has(QStringLiteral("json")) ? jsonOutput(model) : textOutput(model));
    return 0;
}

const RegisterCommand registration({
    QStringLiteral("evaluate"),
    QStringLiteral("evaluate --slip DATEI [--matchday DATEI | --result REIHE] [--quota RANG=TEXT]... "
                   "[--now DATUM] [--sort hits] [--json]\n\n"
                   "Prüft die Tippreihen eines Spielscheins (.krsc) gegen die Gewinnreihe und die Quoten.\n"
                   "  --slip DATEI        der Spielschein\n"
                   "  --matchday DATEI    Gewinnreihe und Quoten aus einer Spieltag-Datei (.sptag)\n"
                   "  --result REIHE      die Gewinnreihe als 13 Zeichen aus 0 1 2 X x - (- = leer)\n"
                   "  --quota RANG=TEXT   eine Quote wie eingetippt, RANG I bis IV, z. B. I=1.234,50\n"
                   "  --now DATUM         „jetzt“ als TT.MM.JJJJ oder TT.MM.JJJJTHH:MM (Quotenregel)\n"
                   "  --sort hits         nach Treffern sortieren\n"
                   "  --json              Ausgabe als JSON"),
    runEvaluate,
    {{QStringLiteral("slip"), QStringLiteral("DATEI")}, {QStringLiteral("matchday"), QStringLiteral("DATEI")},
     {QStringLiteral("result"), QStringLiteral("REIHE")}, {QStringLiteral("quota"), QStringLiteral("RANG=TEXT")},
     {QStringLiteral("now"), QStringLiteral("DATUM")}, {QStringLiteral("sort"), QStringLiteral("hits")},
     {QStringLiteral("json"), QString()}},
});

}  // namespace
}  // namespace korbisto::cli
