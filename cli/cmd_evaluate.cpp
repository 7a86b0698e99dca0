#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/bet_model.h"
#include "core/german.h"
#include "core/large_array.h"
#include "core/outcomes.h"
#include "files/match_day_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace korbisto::cli {
namespace {

void addHits(HitCounts& total, const HitCounts& more) {
    for (size_t i = 0; i < total.size(); ++i) total[i] += more[i];
}

// The slip a block at a time, each row evaluated and handed on in the
// file's order to `sink(table, row)`, where `table` holds the row's other
// texts: what the window shows after "Gewinn-Prüfung".
template <typename Sink>
HitCounts evaluateInFileOrder(SlipInput& slip, const WinningRow& winning, Sink&& sink) {
    HitCounts total{};
    TipTable block;
    while (slip.readInto(block) > 0) {
        addHits(total, markHits(block, winning));
        for (const TipTable::Row& row : block.rows()) sink(block, row);
        block.clearAll();
    }
    return total;
}

// Thirteen tip codes (0 .. 3) in two bits each, and back: eight bytes are
// folded in three steps of shifts instead of one step a tip.
std::uint32_t packTips(const std::array<std::uint8_t, kMatches>& tips) {
    const auto fold = [](std::uint64_t x) {
        x = (x | x >> 6) & 0x000F000F000F000FULL;
        x = (x | x >> 12) & 0x000000FF000000FFULL;
        return static_cast<std::uint32_t>((x | x >> 24) & 0xFFFF);
    };
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::memcpy(&low, tips.data(), 8);
    std::memcpy(&high, tips.data() + 8, kMatches - 8);
    return fold(low) | fold(high) << 16;
}

void unpackTips(std::uint32_t packed, std::array<std::uint8_t, kMatches>& tips) {
    const auto spread = [](std::uint64_t x) {
        x = (x | x << 24) & 0x000000FF000000FFULL;
        x = (x | x << 12) & 0x000F000F000F000FULL;
        return (x | x << 6) & 0x0303030303030303ULL;
    };
    const std::uint64_t low = spread(packed & 0xFFFF);
    const std::uint64_t high = spread(packed >> 16);
    std::memcpy(tips.data(), &low, 8);
    std::memcpy(tips.data() + 8, &high, kMatches - 8);
}

// The same, then sorted by hits as the sort button does. Meanwhile each row
// is kept in five bytes, its 13 tips packed two bits each beside its hits.
template <typename Sink>
HitCounts evaluateSortedByHits(SlipInput& slip, const WinningRow& winning, Sink&& sink) {
    LargeArray<std::uint32_t> packed;
    LargeArray<std::int8_t> hits;
    packed.reserve(static_cast<size_t>(slip.records()));
    hits.reserve(static_cast<size_t>(slip.records()));
    HitCounts total{};
    TipTable block;
    while (slip.readInto(block) > 0) {
        addHits(total, markHits(block, winning));
        for (const TipTable::Row& row : block.rows()) {
            packed.push_back(packTips(row.tips));
            hits.push_back(row.hits);
        }
        block.clearAll();
    }
    // Rows that were never evaluated have no count and keep the file's order.
    HitOrder order(hits);
    const TipTable noTexts;  // a slip holds tips only
    TipTable::Row row;
    std::array<std::uint32_t, 4096> batch;
    while (const std::size_t n = order.next(batch.data(), batch.size())) {
        for (std::size_t k = 0; k < n; ++k) {
#if defined(__GNUC__)
            // The rows of a count lie scattered over the slip: their tips are fetched ahead.
            if (k + 16 < n) __builtin_prefetch(&packed[batch[k + 16]]);
#endif
            const std::uint32_t i = batch[k];
            row.number = static_cast<std::int32_t>(i + 1);
            unpackTips(packed[i], row.tips);
            row.hits = hits[i];
            sink(noTexts, row);
        }
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
    const long long number = column == 0 ? row.number : column == TipTable::kHitColumn ? row.hits : -1;
    if (number >= 0) {
        char digits[24];
        out.append(digits, putNumber(digits, number, width) - digits);
        return;
    }
    QStringView text;
    if (column == 0)
        text = row.number == TipTable::kNoNumber ? QStringView() : QStringView(table.oddText(row, 0));
    else if (column == TipTable::kHitColumn)
        text = row.hits == TipTable::kNoHits ? QStringView() : QStringView(table.oddText(row, column));
    else
        text = table.tipView(row, column);
    appendRightJustified(out, text, width);
}

void writeTextRow(Output& out, const TipTable& table, const TipTable::Row& row) {
    if (row.odd != 0 || row.number < 0) {
        // Cells with texts of their own go the long way.
        QByteArray line;
        for (int column = 0; column <= TipTable::kHitColumn; ++column) {
            appendCell(line, table, row, column, column == 0 ? 5 : column == TipTable::kHitColumn ? 9 : 3);
            if (column == 0) line += ' ';
        }
        line += '\n';
        out.append(line);
        return;
    }
    static constexpr char kDigit[] = {' ', '1', '0', '2'};
    // The hit column of 0 .. 13 hits, and of none, ready to copy.
    static constexpr auto kHitCells = [] {
        std::array<std::array<char, 9>, kMatches + 2> cells{};
        for (int h = 0; h <= kMatches + 1; ++h) {
            cells[static_cast<size_t>(h)].fill(' ');
            if (h <= kMatches) {
                cells[static_cast<size_t>(h)][8] = static_cast<char>('0' + h % 10);
                if (h >= 10) cells[static_cast<size_t>(h)][7] = '1';
            }
        }
        return cells;
    }();
    char* const start = out.room(96);
    char* p = start;
    p = putNumber(p, row.number, 5);
    *p++ = ' ';
    for (int m = 0; m < kMatches; ++m) {
        p[0] = ' ';
        p[1] = ' ';
        p[2] = kDigit[row.tips[static_cast<size_t>(m)]];
        p += 3;
    }
    const size_t hitCell = row.hits >= 0 && row.hits <= kMatches ? static_cast<size_t>(row.hits) : kMatches + 1;
    if (row.hits > kMatches) {
        p = putNumber(p, row.hits, 9);
    } else {
        std::memcpy(p, kHitCells[hitCell].data(), 9);
        p += 9;
    }
    *p++ = '\n';
    out.advance(p - start);
}

// Every row of the slip evaluated and handed to `sink`, sorted or in the file's order.
template <typename Sink>
HitCounts evaluate(SlipInput& slip, const WinningRow& winning, bool sorted, Sink&& sink) {
    return sorted ? evaluateSortedByHits(slip, winning, sink) : evaluateInFileOrder(slip, winning, sink);
}

void writeText(const BetModel& model, SlipInput& slip, bool sorted) {
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

    const HitCounts hits = evaluate(slip, model.winningRow(), sorted, [&](const TipTable& table, const TipTable::Row& row) {
        writeTextRow(output, table, row);
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
    const bool empty = column == 0 ? row.number == TipTable::kNoNumber : row.hits == TipTable::kNoHits;
    if (empty)
        json.null();
    else if (const auto v = table.wholeNumber(row, column))
        json.number(*v);
    else
        json.string(table.oddText(row, column));
}

// A quota as typed, as the evaluation reads it; none where it reads none.
void writeQuota(JsonWriter& json, const QString& text) {
    if (const std::optional<double> quota = ParseQuota(text)) json.amount(*quota);
    else json.null();
}

void writeJson(const BetModel& model, SlipInput& slip, bool sorted) {
    JsonWriter json;
    json.beginObject();
    std::array<std::uint8_t, kMatches> winning{};
    for (int m = 0; m < kMatches; ++m) winning[static_cast<size_t>(m)] = tipCodeOfText(model.winningRow()[static_cast<size_t>(m)]);
    json.key(u"winning_row").tips(winning);
    json.key(u"quotas").beginArray();
    for (const QString& quota : model.quotas()) writeQuota(json, quota);
    json.endArray();
    json.key(u"rows").beginArray();
    const HitCounts hits = evaluate(slip, model.winningRow(), sorted, [&](const TipTable& table, const TipTable::Row& row) {
        if (row.odd == 0 && row.number >= 0) {
            // Tips only: the row written in one go.
            const auto put = [](char* at, std::string_view text) { return std::copy(text.begin(), text.end(), at); };
            char line[96];
            char* p = put(line, R"({"number":)");
            p = putNumber(p, row.number, 0);
            p = put(p, R"(,"tips":)");
            p = JsonWriter::putTips(p, row.tips);
            p = put(p, R"(,"hits":)");
            p = row.hits >= 0 ? putNumber(p, row.hits, 0) : put(p, "null");
            *p++ = '}';
            json.raw(std::string_view(line, static_cast<size_t>(p - line)));
            return;
        }
        json.beginObject().key(u"number");
        writeCell(json, table, row, 0);
        json.key(u"tips").tips(row.tips);
        json.key(u"hits");
        writeCell(json, table, row, TipTable::kHitColumn);
        json.endObject();
    });
    json.endArray();
    const EvaluationResult result = resultOf(hits, model.quotas());
    json.key(u"ranks").beginArray();
    for (int k = 1; k <= kRanks; ++k) {
        json.beginObject().key(u"rank").string(QString::fromLatin1(RangNamen[static_cast<size_t>(k)]));
        json.key(u"count").number(result.rank(k).count);
        json.key(u"amount");
        if (const auto& amount = result.rank(k).amount) json.amount(*amount);
        else json.null();
        json.endObject();
    }
    json.endArray();
    json.key(u"total").amount(result.total);
    json.endObject();
    json.finish();
}

int runEvaluate(const CommandLine& args) {
    args.expectPositional(0);
    const Format format = outputFormat(args, QStringLiteral("text|json"));
    const QString slipPath = args.required(QStringLiteral("slip"));
    if (args.has(QStringLiteral("matchday")) && args.has(QStringLiteral("result")))
        throw UsageError(QStringLiteral("--matchday und --result schließen einander aus."));
    const QString sort = args.value(QStringLiteral("sort"));
    if (args.has(QStringLiteral("sort")) && sort != QLatin1String("hits"))
        throw UsageError(QStringLiteral("--sort kennt nur „hits“."));
    QStringList result;
    if (args.has(QStringLiteral("result"))) result = parseRowArgument(args.value(QStringLiteral("result")), "--result");
    const std::vector<std::pair<int, QString>> quotas = parseQuotas(args);
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));

    // The slip is opened first, so that its errors come before the match day's.
    SlipInput slip(slipPath);
    BetModel model;
    model.setInstantEvaluation(false);
    if (args.has(QStringLiteral("matchday"))) {
        const QString day = args.value(QStringLiteral("matchday"));
        onFile(day, [&] { SpieltagEinlesen(model, day, now); });
    }
    for (int m = 1; m <= result.size(); ++m) model.setWinning(m, result[m - 1]);
    for (const auto& [rank, text] : quotas) model.setQuota(rank, text);
    // One evaluation of every row, as the window does after its own; the rows
    // stream through a block at a time.
    const bool sorted = sort == QLatin1String("hits");
    if (format == Format::Json)
        writeJson(model, slip, sorted);
    else
        writeText(model, slip, sorted);
    return 0;
}

const RegisterCommand registration({
    .name = QStringLiteral("evaluate"),
    .synopsis = QStringLiteral("--slip DATEI [--matchday DATEI | --result REIHE] [--quota RANG=TEXT]... [--now DATUM] "
                               "[--sort hits] [--format text|json]"),
    .summary = QStringLiteral("prüft einen Spielschein gegen Gewinnreihe und Quoten"),
    .description = QStringLiteral("Prüft die Tippreihen eines Spielscheins (.krsc) gegen die Gewinnreihe und die Quoten, "
                                  "wie\n„Gewinn-Prüfung“ im Hauptfenster."),
    .run = runEvaluate,
    .options = {slipOption(QStringLiteral("der Spielschein")),
                {QStringLiteral("matchday"), QStringLiteral("DATEI"),
                 QStringLiteral("Gewinnreihe und Quoten aus einer Spieltag-Datei (.sptag)")},
                {QStringLiteral("result"), QStringLiteral("REIHE"),
                 QStringLiteral("die Gewinnreihe als 13 Zeichen aus 0 1 2 X x - (- = leer)")},
                {QStringLiteral("quota"), QStringLiteral("RANG=TEXT"),
                 QStringLiteral("eine Quote wie eingetippt, RANG I bis IV, z. B. I=1.234,50; ein Punkt vor\n"
                                "einer oder zwei Ziffern ist ein Dezimalpunkt (IV=10.5)")},
                nowOption(),
                {QStringLiteral("sort"), QStringLiteral("hits"), QStringLiteral("nach Treffern sortieren")},
                textOrJsonOption(),
                jsonAlias()},
});

}  // namespace
}  // namespace korbisto::cli
