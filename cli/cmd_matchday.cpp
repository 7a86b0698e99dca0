#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/bet_model.h"
#include "core/error.h"
#include "core/german.h"
#include "core/outcomes.h"
#include "core/text_helpers.h"
#include "core/tip_table.h"
#include "files/binary_io.h"
#include "files/match_day_file.h"

#include <cmath>

namespace korbisto::cli {
namespace {

// A winning row as tip codes, for its 13 characters.
std::array<std::uint8_t, kMatches> codesOf(const WinningRow& row) {
    std::array<std::uint8_t, kMatches> codes{};
    for (int m = 0; m < kMatches; ++m) codes[static_cast<size_t>(m)] = tipCodeOfText(row[static_cast<size_t>(m)]);
    return codes;
}

void writeJson(const TSpieltag& day, const BetModel& model) {
    JsonWriter json;
    json.beginObject().key(u"date");
    if (const std::optional<QDate>& date = model.matchDayDate()) json.string(date->toString(Qt::ISODate));
    else json.null();
    json.key(u"pairings").beginArray();
    for (int m = 1; m <= kMatches; ++m)
        json.beginObject().key(u"home").string(model.pairing(m).home).key(u"away").string(model.pairing(m).away).endObject();
    json.endArray().key(u"winning_row").tips(codesOf(model.winningRow()));
    // Quotas count once the window shows them; an unoccupied rank has none.
    json.key(u"quotas");
    if (model.quota(kRanks).isEmpty()) {
        json.null();
    } else {
        json.beginArray();
        for (const double quota : day.Quote) {
            if (quota > 0 && std::isfinite(quota)) json.amount(quota);
            else json.null();
        }
        json.endArray();
    }
    json.endObject().finish();
}

int runMatchday(const CommandLine& args) {
    args.expectPositional(1);
    const Format format = outputFormat(args, QStringLiteral("text|json"));
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));
    const QString path = args.positional().first();
    // The window reads any file of a record's size as a match day; asked for
    // one by name, a file of other bytes is said to be none.
    const TSpieltag day = onFile(path, [&] {
        char record[TSpieltag::kSize];
        InputFile(path).readExactly(record, TSpieltag::kSize);
        const QString problem = matchDayProblem(QByteArrayView(record, TSpieltag::kSize));
        if (!problem.isEmpty()) throw KorbistoError(QStringLiteral("Das ist keine Spieltag-Datei: %1").arg(problem));
        return decodeMatchDay(record);
    });
    BetModel model;
    model.setInstantEvaluation(false);
    showMatchDay(model, day, now);
    if (format == Format::Json) {
        writeJson(day, model);
        return 0;
    }
    QStringList pairings;
    for (int m = 1; m <= kMatches; ++m) pairings << pairingCaption(model.pairing(m).home, model.pairing(m).away);
    const QString date = model.matchDayDate() ? formatDate(*model.matchDayDate()) : QString();
    // Team names are shown, never obeyed: an escape sequence in one must not
    // reach the terminal.
    QString s = QStringLiteral("Spieltag: %1\n\n").arg(date);
    for (int m = 1; m <= kMatches; ++m)
        s += QStringLiteral("%1  %2 %3\n")
                 .arg(m, 2)
                 .arg(visible(pairings[m - 1]).leftJustified(63), model.winningRow()[static_cast<size_t>(m - 1)]);
    s += u'\n';
    for (int k = 1; k <= kRanks; ++k)
        s += QStringLiteral("Rang %1: %2\n")
                 .arg(QString::fromLatin1(RangNamen[static_cast<size_t>(k)]).leftJustified(3), model.quota(k));
    out(s);
    return 0;
}

double parseQuotaArgument(const QString& text) {
    const auto v = ParseQuota(quotaArgument(text, QStringLiteral("--quotas")));
    if (!v) throw UsageError(QStringLiteral("--quotas: „%1“ ist keine Zahl.").arg(quotedInput(text)));
    return *v;
}

int runMakeMatchday(const CommandLine& args) {
    args.expectPositional(0);
    const QString outPath = args.required(QStringLiteral("out"));
    const QDate date = parseDateArgument(args.required(QStringLiteral("date")));
    if (!date.isValid()) throw UsageError(QStringLiteral("--date erwartet TT.MM.JJJJ oder JJJJ-MM-TT."));
    TSpieltag day;
    day.Datum = dayNumberOf(date);
    const QStringList result = parseRowArgument(args.required(QStringLiteral("result")), "--result");
    for (int m = 0; m < kMatches; ++m) {
        if (result[m].isEmpty())
            throw UsageError(QStringLiteral("--result: eine Spieltag-Datei braucht für jedes Spiel 0, 1 oder 2."));
        day.Ergebnis[static_cast<size_t>(m)] = static_cast<std::uint8_t>(result[m].toInt());
    }
    if (args.has(QStringLiteral("quotas"))) {
        const QStringList parts = args.value(QStringLiteral("quotas")).split(u';');
        if (parts.size() != kRanks) throw UsageError(QStringLiteral("--quotas erwartet vier Werte Q1;Q2;Q3;Q4."));
        for (int k = 0; k < kRanks; ++k) day.Quote[static_cast<size_t>(k)] = parseQuotaArgument(parts[k]);
    }
    const QStringList pairings = args.values(QStringLiteral("pairing"));
    if (pairings.size() > kMatches) throw UsageError(QStringLiteral("Höchstens 13 Paarungen."));
    for (int m = 0; m < pairings.size(); ++m) {
        const qsizetype bar = pairings[m].indexOf(u'|');
        if (bar < 0 || pairings[m].count(u'|') > 1) throw UsageError(QStringLiteral("--pairing erwartet HEIM|GAST."));
        day.Heim[static_cast<size_t>(m)] = pairings[m].left(bar);
        day.Gast[static_cast<size_t>(m)] = pairings[m].mid(bar + 1);
    }
    if (outToStandardOutput(args, true))
        standardOutput().append(encodeMatchDay(day));
    else
        onFile(outPath, [&] { writeMatchDayFile(outPath, day); }, true);
    return 0;
}

const RegisterCommand matchday({
    .name = QStringLiteral("matchday"),
    .synopsis = QStringLiteral("DATEI [--now DATUM] [--format text|json]"),
    .summary = QStringLiteral("zeigt eine Spieltag-Datei"),
    .description = QStringLiteral("Zeigt eine Spieltag-Datei (.sptag) so, wie das Hauptfenster sie einliest. Quoten "
                                  "erscheinen erst,\nwenn der Spieltag mehr als einen Tag zurückliegt. „-“ als DATEI "
                                  "liest die Standardeingabe."),
    .run = runMatchday,
    .options = {nowOption(), textOrJsonOption(),
                jsonAlias()},
    .operand = QStringLiteral("DATEI"),
});

const RegisterCommand makeMatchday({
    .name = QStringLiteral("make-matchday"),
    .synopsis = QStringLiteral("--out DATEI --date DATUM --result REIHE [--quotas Q1;Q2;Q3;Q4] [--pairing HEIM|GAST]..."),
    .summary = QStringLiteral("schreibt eine Spieltag-Datei"),
    .description = QStringLiteral("Schreibt eine Spieltag-Datei (.sptag)."),
    .run = runMakeMatchday,
    .options = {outOption(QStringLiteral("DATEI"), QStringLiteral("die Datei, die geschrieben wird")),
                {QStringLiteral("date"), QStringLiteral("DATUM"), QStringLiteral("der Tag als TT.MM.JJJJ oder JJJJ-MM-TT")},
                {QStringLiteral("result"), QStringLiteral("REIHE"), QStringLiteral("die 13 Ergebnisse aus 0 1 2 X x")},
                {QStringLiteral("quotas"), QStringLiteral("Q1;Q2;Q3;Q4"),
                 QStringLiteral("vier Quoten in deutscher Schreibweise (1.234,50), 0 = unbesetzt")},
                {QStringLiteral("pairing"), QStringLiteral("HEIM|GAST"),
                 QStringLiteral("bis zu 13 Paarungen in Spielreihenfolge, je höchstens 30 Zeichen")}},
});

}  // namespace
}  // namespace korbisto::cli
