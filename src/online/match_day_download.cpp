#include "match_day_download.h"

#include "connectivity.h"
#include "server.h"

#include "core/german.h"
#include "core/error.h"
#include "core/paths.h"
#include "files/binary_io.h"
#include "files/match_day_file.h"

#include <QDir>

namespace korbisto {

namespace {

// The first match day the server has.
QDate firstMatchDay() { return QDate(2021, 3, 13); }

MatchDayOutcome outcomeOf(const DownloadResult& r, bool future) {
    switch (r.failure) {
    case DownloadFailure::None: return MatchDayOutcome::Stored;
    case DownloadFailure::Offline: return MatchDayOutcome::Offline;
    case DownloadFailure::Certificate: return MatchDayOutcome::Unverified;
    case DownloadFailure::Write: return MatchDayOutcome::WriteFailed;
    case DownloadFailure::Status:
        if (!r.notThere()) return MatchDayOutcome::ServerTrouble;
        break;
    case DownloadFailure::Insecure:
    case DownloadFailure::Redirects:
    case DownloadFailure::TooLarge:
    case DownloadFailure::Stalled:
    case DownloadFailure::TooSlow:
        return MatchDayOutcome::ServerTrouble;
    case DownloadFailure::Network:
    case DownloadFailure::Malformed:
    case DownloadFailure::TooShort:
    case DownloadFailure::Implausible:
        break;
    }
    return future ? MatchDayOutcome::NotYetOnline : MatchDayOutcome::NotAvailable;
}

// What went wrong with a server that answered, but not with a match day.
QString troubleOf(const DownloadResult& r) {
    switch (r.failure) {
    case DownloadFailure::Status:
        return QStringLiteral("Der Server hat statt des Spieltags einen Fehler gemeldet (HTTP %1).").arg(r.httpStatus);
    case DownloadFailure::TooLarge:
        return QStringLiteral("Die Antwort des Servers ist zu groß für einen Spieltag.");
    case DownloadFailure::Stalled:
    case DownloadFailure::TooSlow:
        return QStringLiteral("Der Server hat nicht rechtzeitig geantwortet.");
    default:
        return QStringLiteral("Der Server hat auf eine unsichere Adresse oder im Kreis umgeleitet.");
    }
}

}  // namespace

QDate LastSaturday(const QDateTime& now) {
    const QDate day = now.date();
    return day.addDays(-((day.dayOfWeek() - Qt::Saturday + 7) % 7));
}

QStringList matchDaySaturdays(const QDateTime& now) {
    const QDate end = LastSaturday(now).addDays(7);
    QStringList entries;
    QDate day = firstMatchDay();
    for (; day < end; day = day.addDays(7)) entries << formatDate(day);
    // One more: the first that is not below the end.
    entries << formatDate(day);
    return entries;
}

QString matchDayFileName(const QString& entry) { return QString(entry).remove(u'.') + QStringLiteral(".sptag"); }

bool matchDayInFuture(const QDateTime& now, const QDate& day) { return now <= QDateTime(day, QTime(0, 0)); }

QString matchDayServerPath(const QString& fileName) { return QStringLiteral("/downloads/spieltage/") + fileName; }

QString matchDayMessage(const MatchDayResult& result) {
    switch (result.outcome) {
    case MatchDayOutcome::Offline:
        return QStringLiteral("Für den Download muss eine Verbindung zum Internet bestehen.\n\nIch breche ab.");
    case MatchDayOutcome::NotYetOnline:
        return QStringLiteral(
            "Für den gewählten Spieltag sind noch keine Daten online. Versuchen Sie es bitte später noch einmal.");
    case MatchDayOutcome::NotAvailable:
        return QStringLiteral("Für weiter zurückliegende Spieltage sind keine Daten verfügbar.");
    case MatchDayOutcome::Unverified:
        return unverifiedServerMessage();
    case MatchDayOutcome::ServerTrouble:
        return troubleOf(result.download) +
               QStringLiteral(" Es wurde nichts gespeichert. Versuchen Sie es bitte später noch einmal.");
    case MatchDayOutcome::Stored:
    case MatchDayOutcome::WriteFailed:
        break;
    }
    return QString();
}

Download* DownloadMatchDay(const QDate& saturday, bool future, QObject* parent,
                           std::function<void(const MatchDayResult&)> done) {
    if (!IsOnline()) {
        done({MatchDayOutcome::Offline, {DownloadFailure::Offline, 0, 0, QString(), {}}});
        return nullptr;
    }
    const QString name = matchDayFileName(formatDate(saturday));
    Download* download = DownloadFile(serverUrl(matchDayServerPath(name)), kMatchDayLimits, QString(), parent);
    QObject::connect(download, &Download::finished, download,
                     [download, saturday, future, name, done](const DownloadResult& answer) {
        download->deleteLater();
        DownloadResult r = answer;
        checkAnswer(r, [saturday](const QByteArray& bytes) { return matchDayProblem(bytes, saturday); });
        if (r.ok()) {
            const QString folder = appPaths().MatchDayFolder;
            try {
                // A folder that cannot be made shows as the write's failure.
                QDir().mkpath(folder);
                writeFileAtomically(folder + name, r.data);
            } catch (const KorbistoError& e) {
                r.failure = DownloadFailure::Write;
                r.detail = e.message();
            }
        }
        r.data.clear();
        done({outcomeOf(r, future), r});
    });
    return download;
}

}  // namespace korbisto
