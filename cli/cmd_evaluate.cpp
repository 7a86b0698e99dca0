#include "cli_common.h"
#include "json_writer.h"

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

// A cell as the table shows it: a whole number where it holds one.
void writeCell(JsonWriter& json, const TipTable& table, int row, int column) {
    const QString text = table.cellText(row, column);
    if (text.isEmpty()) json.null();
    else if (const auto v = table.wholeNumber(table.rowAt(row), column)) json.number(*v);
    else json.string(text);
}

QString countText(const BetModel& model, int rank) {
    return model.results() ? QString::number(model.results()->rank(rank).count) : QString();
}

QString amountText(const BetModel& model, int rank) {
    if (!model.results() || !model.results()->rank(rank).amount) return QString();
    return formatAmount(*model.results()->rank(rank).amount);
}

QString totalText(const BetModel& model) { return model.results() ? formatAmount(model.results()->total) : QString(); }

void writeJson(const BetModel& model) {
    const TipTable& table = model.table();
    JsonWriter json;
    json.beginObject();
    json.key(u"winning_row").strings(model.winningRow());
    json.key(u"quotas").strings(model.quotas());
    json.key(u"rows").beginArray();
    for (int r = 1; r < table.rowCount(); ++r) {
        json.beginObject().key(u"number");
        writeCell(json, table, r, 0);
        json.key(u"tips").beginArray();
        for (int m = 1; m <= kMatches; ++m) json.string(table.cellText(r, m));
        json.endArray().key(u"hits");
        writeCell(json, table, r, TipTable::kHitColumn);
        json.endObject();
    }
    json.endArray();
    json.key(u"ranks").beginArray();
    for (int k = 1; k <= kRanks; ++k) {
        json.beginObject().key(u"rank").string(QString::fromLatin1(RangNamen[static_cast<size_t>(k)]));
        json.key(u"count");
        if (model.results()) json.number(model.results()->rank(k).count);
        else json.null();
        const QString amount = amountText(model, k);
        json.key(u"amount");
        if (amount.isEmpty()) json.null();
        else json.string(amount);
        json.endObject();
    }
    json.endArray();
    json.key(u"total").string(totalText(model));
    json.endObject();
    json.finish();
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
    if (args.has(QStringLiteral("json"))) writeJson(model);
    else out(textOutput(model));
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
