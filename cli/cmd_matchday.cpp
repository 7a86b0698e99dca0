#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/bet_model.h"
#include "core/error.h"
#include "core/german.h"
#include "core/outcomes.h"
#include "core/text_helpers.h"
#include "files/binary_io.h"
#include "files/match_day_file.h"

namespace korbisto::cli {
namespace {

int runMatchday(const CommandLine& args) {
    args.expectPositional(1);
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));
    const QString path = args.positional().first();
    // The window reads any file of a record's size as a match day; asked for
    // one by name, a file of other bytes is said to be none.
    char record[TSpieltag::kSize];
    InputFile(path).readExactly(record, TSpieltag::kSize);
    const QString problem = matchDayProblem(QByteArrayView(record, TSpieltag::kSize));
    if (!problem.isEmpty())
        throw KorbistoError(QStringLiteral("„%1“ ist keine Spieltag-Datei: %2").arg(visibleText(path), problem));
    BetModel model;
    model.setInstantEvaluation(false);
    showMatchDay(model, decodeMatchDay(record), now);

    QStringList pairings;
    for (int m = 1; m <= kMatches; ++m) pairings << pairingCaption(model.pairing(m).home, model.pairing(m).away);
    const QString date = model.matchDayDate() ? formatDate(*model.matchDayDate()) : QString();
    const QStringList winning(model.winningRow().begin(), model.winningRow().end());
    const QStringList quotas(model.quotas().begin(), model.quotas().end());
    if (args.has(QStringLiteral("json"))) {
        JsonWriter json;
        json.beginObject().key(u"date").string(date);
        json.key(u"pairings").strings(pairings);
        json.key(u"winning_row").strings(winning);
        json.key(u"quotas").strings(quotas);
        json.endObject().finish();
        return 0;
    }
    // Team names are shown, never obeyed: an escape sequence in one must not
    // reach the terminal.
    QString s = QStringLiteral("Spieltag: %1\n\n").arg(date);
    for (int m = 1; m <= kMatches; ++m)
        s += QStringLiteral("%1  %2 %3\n").arg(m, 2).arg(visible(pairings[m - 1]).leftJustified(63), winning[m - 1]);
    s += u'\n';
    for (int k = 1; k <= kRanks; ++k)
        s += QStringLiteral("Rang %1: %2\n")
                 .arg(QString::fromLatin1(RangNamen[static_cast<size_t>(k)]).leftJustified(3), quotas[k - 1]);
    out(s);
    return 0;
}

double parseQuotaArgument(const QString& text) {
    const auto v = ParseQuota(text);
    if (!v) throw UsageError(QStringLiteral("--quotas: „%1“ ist keine Zahl.").arg(quotedInput(text)));
    return *v;
}

int runMakeMatchday(const CommandLine& args) {
    args.expectPositional(0);
    const QString outPath = args.required(QStringLiteral("out"));
    const QDate date = parseDate(args.required(QStringLiteral("date")));
    if (!date.isValid()) throw UsageError(QStringLiteral("--date erwartet TT.MM.JJJJ."));
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
    writeMatchDayFile(outPath, day);
    return 0;
}

const RegisterCommand matchday({
    QStringLiteral("matchday"),
    QStringLiteral("matchday DATEI [--now DATUM] [--json]\n\n"
                   "Zeigt eine Spieltag-Datei (.sptag) so, wie das Hauptfenster sie einliest.\n"
                   "  --now DATUM   „jetzt“ als TT.MM.JJJJ oder TT.MM.JJJJTHH:MM; Quoten erscheinen erst,\n"
                   "                wenn der Spieltag mehr als einen Tag zurückliegt\n"
                   "  --json        Ausgabe als JSON"),
    runMatchday,
    {{QStringLiteral("now"), QStringLiteral("DATUM")}, {QStringLiteral("json"), QString()}},
});

const RegisterCommand makeMatchday({
    QStringLiteral("make-matchday"),
    QStringLiteral("make-matchday --out DATEI --date TT.MM.JJJJ --result REIHE [--quotas Q1;Q2;Q3;Q4] "
                   "[--pairing HEIM|GAST]...\n\n"
                   "Schreibt eine Spieltag-Datei (.sptag).\n"
                   "  --result REIHE   die 13 Ergebnisse aus 0 1 2 X x\n"
                   "  --quotas         vier Quoten in deutscher Schreibweise, 0 = unbesetzt\n"
                   "  --pairing        bis zu 13 Paarungen in Spielreihenfolge, je höchstens 30 Zeichen"),
    runMakeMatchday,
    {{QStringLiteral("out"), QStringLiteral("DATEI")}, {QStringLiteral("date"), QStringLiteral("TT.MM.JJJJ")},
     {QStringLiteral("result"), QStringLiteral("REIHE")}, {QStringLiteral("quotas"), QStringLiteral("Q1;Q2;Q3;Q4")},
     {QStringLiteral("pairing"), QStringLiteral("HEIM|GAST")}},
});

}  // namespace
}  // namespace korbisto::cli
