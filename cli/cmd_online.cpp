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

// A failed download's message, then what failed as a second line for scripts.
void failure(const QString& message, const DownloadResult& result) {
    QString kind = failureName(result.failure);
    if (!result.detail.isEmpty()) kind += QStringLiteral(": ") + visible(result.detail);
    err(message + u'\n' + kind + u'\n');
}

int runDownloadMatchDay(const CommandLine& args) {
    args.expectPositional(1);
    const QString text = args.positional().front();
    const QDate day = parseDate(text);
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));
    if (!day.isValid() || !matchDaySaturdays(now).contains(formatDate(day)))
        throw UsageError(QStringLiteral("„%1“ ist keiner der Samstage, die das Fenster „Spieltag- Download“ anbietet "
                                        "(korbisto-cli saturdays).")
                             .arg(visible(text.left(40))));
    const MatchDayResult result = waitFor<MatchDayResult>([&](QObject* parent, auto done) {
        DownloadMatchDay(day, matchDayInFuture(now, day), parent, done);
    });
    const QString path = appPaths().MatchDayFolder + matchDayFileName(formatDate(day));
    switch (result.outcome) {
    case MatchDayOutcome::Stored:
        out(path + u'\n');
        return 0;
    case MatchDayOutcome::WriteFailed:
        failure(QStringLiteral("%1 konnte nicht geschrieben werden.").arg(path), result.download);
        return 1;
    default:
        failure(matchDayMessage(result), result.download);
        return 1;
    }
}

const RegisterCommand downloadMatchDayCommand({
    QStringLiteral("download-matchday"),
    QStringLiteral("download-matchday TT.MM.JJJJ [--now DATUM]\n\n"
                   "Lädt den Spieltag, der an diesem Samstag beginnt, vom Server in den Spieltag-Ordner, wie\n"
                   "es das Fenster „Spieltag- Download“ tut, und gibt den Pfad der gespeicherten Datei aus.\n"
                   "Nur die Samstage, die „korbisto-cli saturdays“ nennt. Scheitert der Download, steht die\n"
                   "Meldung des Fensters auf der Fehlerausgabe, in der zweiten Zeile die Fehlerart.\n"
                   "Server und zusätzliche CA: optionen.ini [Server] Adresse= und CA=, sonst KORBISTO_SERVER\n"
                   "und KORBISTO_CA_FILE.\n"
                   "  --now DATUM   „jetzt“ als TT.MM.JJJJ oder TT.MM.JJJJTHH:MM"),
    runDownloadMatchDay,
    {{QStringLiteral("now"), QStringLiteral("DATUM")}},
});

int runDonationStatus(const CommandLine& args) {
    args.expectPositional(0);
    const DonationStatus status =
        waitFor<DonationStatus>([](QObject* parent, auto done) { GetDonationStatus(parent, done); });
    if (!status.download.ok()) {
        failure(QStringLiteral("Der Stand der Wachmacher ist nicht abzurufen."), status.download);
        return 1;
    }
    out(status.line + u'\n');
    return 0;
}

const RegisterCommand donationStatusCommand({
    QStringLiteral("donation-status"),
    QStringLiteral("donation-status\n\n"
                   "Gibt die erste Zeile der Statusdatei des Servers aus (den Stand der Wachmacher). Ist sie\n"
                   "nicht zu haben, steht auf der Fehlerausgabe, warum, in der zweiten Zeile die Fehlerart."),
    runDonationStatus,
    {},
});

int runCheckUpdate(const CommandLine& args) {
    args.expectPositional(0);
    if (!IsOnline()) {
        failure(QStringLiteral("Für die Prüfung muss eine Verbindung zum Internet bestehen."),
                {DownloadFailure::Offline, 0, 0, QString(), {}});
        return 1;
    }
    const UpdateCheck check =
        waitFor<UpdateCheck>([](QObject* parent, auto done) { CheckForUpdate(parent, done); });
    if (!check.fetched) {
        QString message = updateCheckFailedMessage(check.download);
        if (message.endsWith(u'\n')) message.chop(1);
        failure(message, check.download);
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
                   "jeder anderen Version, auch einer älteren). Scheitert die Prüfung, steht die Fehlerart in\n"
                   "der zweiten Zeile der Fehlerausgabe.\n"
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
