#include "cli_common.h"
#include "json_writer.h"
#include "output.h"

#include "core/german.h"
#include "core/text_helpers.h"
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
    .name = QStringLiteral("saturdays"),
    .synopsis = QStringLiteral("[--now DATUM]"),
    .summary = QStringLiteral("die Samstage, die der Spieltag-Download anbietet"),
    .description = QStringLiteral("Gibt die Samstage aus, die das Fenster „Spieltag-Download“ anbietet, einen je Zeile, "
                                  "den\nältesten zuerst; der letzte ist der vorgewählte."),
    .run = runSaturdays,
    .options = {nowOption()},
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
    const QDate day = parseDateArgument(text);
    const QDateTime now = parseNow(args.value(QStringLiteral("now")));
    if (!day.isValid() || !matchDaySaturdays(now).contains(formatDate(day)))
        throw UsageError(QStringLiteral("„%1“ ist keiner der Samstage, die das Fenster „Spieltag- Download“ anbietet "
                                        "(korbisto-cli saturdays).")
                             .arg(quotedInput(text)));
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
    .name = QStringLiteral("download-matchday"),
    .synopsis = QStringLiteral("SAMSTAG [--now DATUM]"),
    .summary = QStringLiteral("lädt den Spieltag eines Samstags vom Server"),
    .description = QStringLiteral(
        "Lädt den Spieltag, der an diesem Samstag (TT.MM.JJJJ oder JJJJ-MM-TT) beginnt, vom Server in\n"
        "den Spieltag-Ordner, wie es das Fenster „Spieltag-Download“ tut, und gibt den Pfad der\n"
        "gespeicherten Datei aus. Nur die Samstage, die „korbisto-cli saturdays“ nennt. Scheitert der\n"
        "Download, steht die Meldung des Fensters auf der Fehlerausgabe, in der zweiten Zeile die\n"
        "Fehlerart. Server und zusätzliche CA: optionen.ini [Server] Adresse= und CA=, sonst\n"
        "KORBISTO_SERVER und KORBISTO_CA_FILE."),
    .run = runDownloadMatchDay,
    .options = {nowOption()},
    .operand = QStringLiteral("SAMSTAG"),
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
    .name = QStringLiteral("donation-status"),
    .synopsis = QString(),
    .summary = QStringLiteral("der Stand der Wachmacher vom Server"),
    .description = QStringLiteral(
        "Gibt die erste Zeile der Statusdatei des Servers aus (den Stand der Wachmacher). Ist sie\n"
        "nicht zu haben, steht auf der Fehlerausgabe, warum, in der zweiten Zeile die Fehlerart."),
    .run = runDonationStatus,
    .options = {},
});

int runCheckUpdate(const CommandLine& args) {
    args.expectPositional(0);
    const Format format = outputFormat(args, QStringLiteral("text|json"));
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
    if (format == Format::Json) {
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
    .name = QStringLiteral("check-update"),
    .synopsis = QStringLiteral("[--format text|json]"),
    .summary = QStringLiteral("fragt den Server nach einer neuen Version"),
    .description = QStringLiteral(
        "Lädt die Versionsdatei vom Server, wie es „Prüfen“ im Update-Fenster tut, und gibt die\n"
        "installierte und die angebotene Version aus und ob der Download angeboten würde (bei\n"
        "jeder anderen Version, auch einer älteren). Scheitert die Prüfung, steht die Fehlerart in\n"
        "der zweiten Zeile der Fehlerausgabe."),
    .run = runCheckUpdate,
    .options = {textOrJsonOption(), jsonAlias()},
});

int runMakeVersionInfo(const CommandLine& args) {
    if (args.positional().size() != 1) throw UsageError(QStringLiteral("Es wird genau eine VERSION erwartet."));
    const QString path = args.required(QStringLiteral("out"));
    const QString version = args.positional().first();
    if (outToStandardOutput(args, true))
        standardOutput().append(encodeVersionRecord(version));
    else
        onFile(path, [&] { writeVersionInfoFile(path, version); }, true);
    return 0;
}

const RegisterCommand makeVersionInfoCommand({
    .name = QStringLiteral("make-versioninfo"),
    .synopsis = QStringLiteral("VERSION --out DATEI"),
    .summary = QStringLiteral("schreibt die Versionsdatei des Servers"),
    .description = QStringLiteral(
        "Schreibt die Versionsdatei (verinfos.krvi), die das Programm-Update vom Server liest: ein\n"
        "Eintrag von 24 Bytes, der VERSION (bis 15 Zeichen wie 1.3.0.0) anbietet."),
    .run = runMakeVersionInfo,
    .options = {outOption(QStringLiteral("DATEI"), QStringLiteral("die Datei, die geschrieben wird"))},
    .operand = QStringLiteral("VERSION"),
});

}  // namespace
}  // namespace korbisto::cli
