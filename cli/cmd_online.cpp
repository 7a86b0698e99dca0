#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/german.h"
#include "core/paths.h"
#include "files/version_info_file.h"
#include "online/donation_status.h"
#include "online/connectivity.h"
#include "online/match_day_download.h"
#include "online/program_update.h"
#include "online/server.h"

#include <QEventLoop>

#include <optional>

namespace korbisto::cli {
namespace {

// The library's operations report through the event loop; a command line
// may wait for them in a loop of its own.
template <typename Result, typename Start>
Result waitFor(Start start) {
    QEventLoop loop;
    std::optional<Result> result;
    start(&loop, [&](Result r) {
        result = r;
        loop.quit();
    });
    if (!result) loop.exec();
    return *result;
}

int runSaturdays(const CommandLine& args) {
    args.expectPositional(0);
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));
    out(matchDaySaturdays(now).join(u'\n') + u'\n');
    return 0;
}

const RegisterCommand saturdaysCommand({
    QStringLiteral("saturdays"),
    QStringLiteral("saturdays [--now DATUM]\n\n"
                   "Gibt die Samstage aus, die das Fenster „Spieltag- Download“ anbietet, einen je Zeile, den\n"
                   "ältesten zuerst; der letzte ist der vorgewählte.\n"
                   "  --now DATUM   „jetzt“ als TT.MM.JJJJ oder TT.MM.JJJJTHH:MM"),
    runSaturdays,
    {{QStringLiteral("now"), QStringLiteral("DATUM")}},
});

int runDownloadMatchDay(const CommandLine& args) {
    args.expectPositional(1);
    const QString text = args.positional().front();
    const QDate day = parseDate(text);
    if (!day.isValid()) throw UsageError(QStringLiteral("Erwartet wird ein Datum TT.MM.JJJJ, nicht „%1“.").arg(text));
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));
    const QString name = matchDayFileName(formatDate(day));
    const MatchDayOutcome outcome = waitFor<MatchDayOutcome>([&](QObject* parent, auto done) {
        DownloadMatchDay(name, serverUrl(matchDayServerPath(name)), matchDayInFuture(now, day), parent, done);
    });
    const QString path = appPaths().MatchDayFolder + name;
    switch (outcome) {
    case MatchDayOutcome::Stored:
        out(path + u'\n');
        return 0;
    case MatchDayOutcome::WriteFailed:
        err(QStringLiteral("%1 konnte nicht geschrieben werden.\n").arg(path));
        return 1;
    default:
        err(matchDayMessage(outcome) + u'\n');
        return 1;
    }
}

const RegisterCommand downloadMatchDayCommand({
    QStringLiteral("download-matchday"),
    QStringLiteral("download-matchday TT.MM.JJJJ [--now DATUM]\n\n"
                   "Lädt den Spieltag, der an diesem Samstag beginnt, vom Server in den Spieltag-Ordner, wie\n"
                   "es das Fenster „Spieltag- Download“ tut, und gibt den Pfad der gespeicherten Datei aus.\n"
                   "Server und zusätzliche CA: optionen.ini [Server] Adresse= und CA=, sonst KORBISTO_SERVER\n"
                   "und KORBISTO_CA_FILE.\n"
                   "  --now DATUM   „jetzt“ als TT.MM.JJJJ oder TT.MM.JJJJTHH:MM"),
    runDownloadMatchDay,
    {{QStringLiteral("now"), QStringLiteral("DATUM")}},
});

int runDonationStatus(const CommandLine& args) {
    args.expectPositional(0);
    const QString status = waitFor<QString>([](QObject* parent, auto done) { GetDonationStatus(parent, done); });
    out(status + u'\n');
    return 0;
}

const RegisterCommand donationStatusCommand({
    QStringLiteral("donation-status"),
    QStringLiteral("donation-status\n\n"
                   "Gibt die erste Zeile der Statusdatei des Servers aus (den Stand der Wachmacher), eine\n"
                   "leere Zeile, wenn sie nicht zu haben ist."),
    runDonationStatus,
    {},
});

int runCheckUpdate(const CommandLine& args) {
    args.expectPositional(0);
    if (!IsOnline()) {
        err(QStringLiteral("Für die Prüfung muss eine Verbindung zum Internet bestehen.\n"));
        return 1;
    }
    const UpdateCheck check =
        waitFor<UpdateCheck>([](QObject* parent, auto done) { CheckForUpdate(parent, done); });
    if (!check.fetched) {
        err(updateCheckFailedMessage());
        return 1;
    }
    const QString installed = QString::fromLatin1(ProgramVersion);
    if (args.has(QStringLiteral("json"))) {
        JsonWriter json;
        json.beginObject().key(u"installed").string(installed).key(u"offered");
        if (check.offered)
            json.string(*check.offered);
        else
            json.null();
        json.key(u"download").boolean(check.downloadOffered()).endObject().finish();
        return 0;
    }
    // The offered text comes from a server: control characters are shown, not obeyed.
    out(QStringLiteral("Installierte Version: %1\nVerfügbare Version:   %2\nDownload:             %3\n")
            .arg(installed, check.offered ? visible(*check.offered) : QStringLiteral("(keine)"),
                 check.downloadOffered() ? QStringLiteral("möglich") : QStringLiteral("nicht nötig")));
    return 0;
}

const RegisterCommand checkUpdateCommand({
    QStringLiteral("check-update"),
    QStringLiteral("check-update [--json]\n\n"
                   "Lädt die Versionsdatei vom Server, wie es „Prüfen“ im Update-Fenster tut, und gibt die\n"
                   "installierte und die angebotene Version aus und ob der Download angeboten würde (bei\n"
                   "jeder anderen Version, auch einer älteren).\n"
                   "  --json   Ausgabe als JSON: installed, offered (null ohne Eintrag), download"),
    runCheckUpdate,
    {{QStringLiteral("json"), QString()}},
});

int runMakeVersionInfo(const CommandLine& args) {
    args.expectPositional(1);
    writeVersionInfoFile(args.required(QStringLiteral("out")), args.positional().first());
    return 0;
}

const RegisterCommand makeVersionInfoCommand({
    QStringLiteral("make-versioninfo"),
    QStringLiteral("make-versioninfo VERSION --out DATEI\n\n"
                   "Schreibt die Versionsdatei (verinfos.krvi), die das Programm-Update vom Server liest: ein\n"
                   "Eintrag von 24 Bytes, der VERSION (bis 15 Zeichen wie 1.3.0.0) anbietet.\n"
                   "  --out DATEI   die Datei, die geschrieben wird"),
    runMakeVersionInfo,
    {{QStringLiteral("out"), QStringLiteral("DATEI")}},
});

}  // namespace
}  // namespace korbisto::cli
