#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/bet_model.h"
#include "core/german.h"
#include "core/outcomes.h"
#include "files/match_day_file.h"
#include "files/slip_file.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace korbisto::cli {
namespace {

int rankOfNumeral(const QString& numeral) {
    for (int k = 1; k <= kRanks; ++k)
        if (numeral == QLatin1String(RangNamen[static_cast<size_t>(k)])) return k;
    return 0;
}

// One evaluated row on its way out; `table` holds the row's other texts.
using RowSink = std::function<void(const TipTable& table, const TipTable::Row& row)>;

void addHits(HitCounts& total, const HitCounts& more) {
    for (size_t i = 0; i < total.size(); ++i) total[i] += more[i];
}

// The slip a block at a time, each row evaluated and handed on in the
// file's order: what the window shows after "Gewinn-Prüfung".
HitCounts evaluateInFileOrder(SlipReader& slip, const WinningRow& winning, const RowSink& sink) {
    HitCounts total{};
    TipTable block;
    while (slip.readInto(block) > 0) {
        addHits(total, markHits(block, winning));
        for (const TipTable::Row& row : block.rows()) sink(block, row);
        block.clearAll();
    }
    return total;
}

// The same, then sorted by hits as the sort button does. Meanwhile each row
// is kept in five bytes, its 13 tips packed two bits each beside its hits.
HitCounts evaluateSortedByHits(SlipReader& slip, const WinningRow& winning, const RowSink& sink) {
    std::vector<std::uint32_t> packed;
    std::vector<std::int8_t> hits;
    packed.reserve(static_cast<size_t>(slip.records()));
    hits.reserve(static_cast<size_t>(slip.records()));
    HitCounts total{};
    TipTable block;
    while (slip.readInto(block) > 0) {
        addHits(total, markHits(block, winning));
        for (const TipTable::Row& row : block.rows()) {
            std::uint32_t tips = 0;
            for (int m = 0; m < kMatches; ++m) tips |= std::uint32_t{row.tips[static_cast<size_t>(m)]} << (2 * m);
            packed.push_back(tips);
            hits.push_back(row.hits);
        }
        block.clearAll();
    }
    // Nothing to sort by when the first row was never evaluated.
    std::vector<std::uint32_t> order;
    if (!hits.empty() && hits.front() >= 0) order = orderByHits(hits);
    const TipTable noTexts;  // a slip holds tips only
    TipTable::Row row;
    for (size_t n = 0; n < packed.size(); ++n) {
        const std::uint32_t i = order.empty() ? static_cast<std::uint32_t>(n) : order[n];
        row.number = static_cast<std::int32_t>(i + 1);
        for (int m = 0; m < kMatches; ++m) row.tips[static_cast<size_t>(m)] = (packed[i] >> (2 * m)) & 3u;
        row.hits = hits[i];
        sink(noTexts, row);
    }
    return total;
}

QString countText(const EvaluationResult& result, int rank) { return QString::number(result.rank(rank).count); }

QString amountText(const EvaluationResult& result, int rank) {
    const auto& amount = result.rank(rank).amount;
    return amount ? formatAmount(*amount) : QString();
}

// A cell as the table shows it, right-justified as QString pads it.
void appendCell(QByteArray& out, const TipTable& table, const TipTable::Row& row, int column, int width) {
    QStringView text;
    if (column == 0)
        text = row.number == TipTable::kNoNumber ? QStringView() : QStringView(table.oddText(row, 0));
    else if (column == TipTable::kHitColumn)
        text = row.hits == TipTable::kNoHits ? QStringView() : QStringView(table.oddText(row, column));
    else
        text = table.tipView(row, column);
    appendRightJustified(out, text, width);
}

// Writes `value` right-justified to `width` at `p`; returns the end.
char* putNumber(char* p, long long value, int width) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int pad = width - n; pad > 0; --pad) *p++ = ' ';
    while (n) *p++ = digits[--n];
    return p;
}

void appendTextRow(QByteArray& out, const TipTable& table, const TipTable::Row& row) {
    const bool plain = row.odd == 0 && row.number >= 0 && row.hits >= TipTable::kNoHits;
    if (!plain) {
        // Cells with texts of their own go the long way.
        if (row.number >= 0 || row.number == TipTable::kNoNumber) {
            char number[24];
            out.append(number, row.number >= 0 ? putNumber(number, row.number, 5) - number : 0);
            if (row.number == TipTable::kNoNumber) out += "     ";
        } else {
            appendCell(out, table, row, 0, 5);
        }
        out += ' ';
        for (int m = 1; m <= kMatches; ++m) appendCell(out, table, row, m, 3);
        if (row.hits >= 0) {
            char hits[24];
            out.append(hits, putNumber(hits, row.hits, 9) - hits);
        } else {
            appendCell(out, table, row, TipTable::kHitColumn, 9);
        }
        out += '\n';
        return;
    }
    static constexpr char kDigit[] = {' ', '1', '0', '2'};
    char line[96];
    char* p = putNumber(line, row.number, 5);
    *p++ = ' ';
    for (int m = 0; m < kMatches; ++m) {
        *p++ = ' ';
        *p++ = ' ';
        *p++ = kDigit[row.tips[static_cast<size_t>(m)]];
    }
    if (row.hits >= 0) {
        p = putNumber(p, row.hits, 9);
    } else {
        for (int i = 0; i < 9; ++i) *p++ = ' ';
    }
    *p++ = '\n';
    out.append(line, p - line);
}

using Evaluate = HitCounts (*)(SlipReader&, const WinningRow&, const RowSink&);

void writeText(const BetModel& model, SlipReader& slip, Evaluate evaluate) {
    Output& output = standardOutput();
    QString s;
    QStringList winning;
    for (const QString& w : model.winningRow()) winning << (w.isEmpty() ? QStringLiteral("-") : w);
    s += QStringLiteral("Gewinnreihe: ") + winning.join(u' ') + u'\n';
    QStringList quotas;
    for (int k = 1; k <= kRanks; ++k)
        quotas << QStringLiteral("Rang %1: %2")
                      .arg(QLatin1String(RangNamen[static_cast<size_t>(k)]),
                           model.quota(k).isEmpty() ? QStringLiteral("-") : visible(model.quota(k)));
    s += QStringLiteral("Quoten: ") + quotas.join(QStringLiteral(", ")) + QStringLiteral("\n\n");
    s += QStringLiteral("Reihe ");
    for (int m = 1; m <= kMatches; ++m) s += QString::number(m).rightJustified(3);
    s += QStringLiteral("  Richtig\n");
    output.text(s);

    const HitCounts hits = evaluate(slip, model.winningRow(), [&](const TipTable& table, const TipTable::Row& row) {
        appendTextRow(output.bytes(), table, row);
        output.maybeFlush();
    });
    const EvaluationResult result = resultOf(hits, model.quotas());

    s = QStringLiteral("\nGKl.   Anzahl           Gewinn\n");
    for (int k = 1; k <= kRanks; ++k)
        s += QString::fromLatin1(RangNamen[static_cast<size_t>(k)]).leftJustified(4) +
             countText(result, k).rightJustified(9) + amountText(result, k).rightJustified(17) + u'\n';
    s += QStringLiteral("\nGesamtgewinn: ") + formatAmount(result.total) + u'\n';
    output.text(s);
}

// A cell as JSON: a whole number where it holds one, null where empty.
void writeCell(JsonWriter& json, const TipTable& table, const TipTable::Row& row, int column) {
    if (const auto v = table.wholeNumber(row, column)) {
        const bool odd = column == 0 ? row.number == TipTable::kNoNumber + 1 : row.hits == -2;
        if (!odd || table.oddText(row, column) == QString::number(*v)) {
            json.number(*v);
            return;
        }
    }
    const bool empty = column == 0 ? row.number == TipTable::kNoNumber : row.hits == TipTable::kNoHits;
    if (empty)
        json.null();
    else
        json.string(table.oddText(row, column));
}

void writeJson(const BetModel& model, SlipReader& slip, Evaluate evaluate) {
    JsonWriter json;
    json.beginObject();
    json.key(u"winning_row").strings(model.winningRow());
    json.key(u"quotas").strings(model.quotas());
    json.key(u"rows").beginArray();
    const HitCounts hits = evaluate(slip, model.winningRow(), [&](const TipTable& table, const TipTable::Row& row) {
        if (row.odd == 0 && row.number >= 0) {
            // Tips only: the row written in one go.
            static constexpr std::string_view kTip[] = {R"("")", R"("1")", R"("0")", R"("2")"};
            char line[160];
            char* p = std::copy_n("{\"number\":", 10, line);
            p = putNumber(p, row.number, 0);
            p = std::copy_n(",\"tips\":[", 9, p);
            for (int m = 0; m < kMatches; ++m) {
                if (m > 0) *p++ = ',';
                const std::string_view tip = kTip[row.tips[static_cast<size_t>(m)]];
                p = std::copy(tip.begin(), tip.end(), p);
            }
            p = std::copy_n("],\"hits\":", 9, p);
            p = row.hits >= 0 ? putNumber(p, row.hits, 0) : std::copy_n("null", 4, p);
            *p++ = '}';
            json.raw(std::string_view(line, static_cast<size_t>(p - line)));
            return;
        }
        json.beginObject().key(u"number");
        writeCell(json, table, row, 0);
        json.key(u"tips").beginArray();
        for (int m = 1; m <= kMatches; ++m) json.string(table.tipView(row, m));
        json.endArray().key(u"hits");
        writeCell(json, table, row, TipTable::kHitColumn);
        json.endObject();
    });
    json.endArray();
    const EvaluationResult result = resultOf(hits, model.quotas());
    json.key(u"ranks").beginArray();
    for (int k = 1; k <= kRanks; ++k) {
        json.beginObject().key(u"rank").string(QString::fromLatin1(RangNamen[static_cast<size_t>(k)]));
        json.key(u"count").number(result.rank(k).count);
        const QString amount = amountText(result, k);
        json.key(u"amount");
        if (amount.isEmpty()) json.null();
        else json.string(amount);
        json.endObject();
    }
    json.endArray();
    json.key(u"total").string(formatAmount(result.total));
    json.endObject();
    json.finish();
}

int runEvaluate(const CommandLine& args) {
    args.expectPositional(0);
    const QString slipPath = args.required(QStringLiteral("slip"));
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

    // The slip is opened first, so that its errors come before the match day's.
    SlipReader slip(slipPath);
    BetModel model;
    model.setInstantEvaluation(false);
    if (args.has(QStringLiteral("matchday"))) SpieltagEinlesen(model, args.value(QStringLiteral("matchday")), now);
    for (int m = 1; m <= result.size(); ++m) model.setWinning(m, result[m - 1]);
    for (const auto& [rank, text] : quotas) model.setQuota(rank, text);
    // One evaluation of every row, as the window does after its own; the rows
    // stream through a block at a time.
    const Evaluate evaluate = sort == QLatin1String("hits") ? evaluateSortedByHits : evaluateInFileOrder;
    if (args.has(QStringLiteral("json")))
        writeJson(model, slip, evaluate);
    else
        writeText(model, slip, evaluate);
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
