#include "match_day_download.h"

#include "connectivity.h"
#include "download.h"

#include "core/german.h"
#include "core/paths.h"

#include <QDir>

namespace korbisto {

namespace {

// The first match day the server has.
QDate firstMatchDay() { return QDate(2021, 3, 13); }

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

QString matchDayMessage(MatchDayOutcome outcome) {
    switch (outcome) {
    case MatchDayOutcome::Offline:
        return QStringLiteral("Für den Download muss eine Verbindung zum Internet bestehen.\n\nIch breche ab.");
    case MatchDayOutcome::NotYetOnline:
        return QStringLiteral(
            "Für den gewählten Spieltag sind noch keine Daten online. Versuchen Sie es bitte später noch einmal.");
    case MatchDayOutcome::NotAvailable:
        return QStringLiteral("Für weiter zurückliegende Spieltage sind keine Daten verfügbar.");
    case MatchDayOutcome::Stored:
    case MatchDayOutcome::WriteFailed:
        break;
    }
    return QString();
}

Download* DownloadMatchDay(const QString& fileName, const QUrl& url, bool future, QObject* parent,
                           std::function<void(MatchDayOutcome)> done) {
    if (!IsOnline()) {
        done(MatchDayOutcome::Offline);
        return nullptr;
    }
    const QString folder = appPaths().MatchDayFolder;
    // A folder that cannot be made shows as a write failure of the download.
    QDir().mkpath(folder);
    Download* download = DownloadFile(url, folder + fileName, kMatchDayLimits, parent);
    QObject::connect(download, &Download::finished, download, [download, future, done](const DownloadResult& r) {
        download->deleteLater();
        if (r.ok()) done(MatchDayOutcome::Stored);
        else if (r.failure == DownloadFailure::Write) done(MatchDayOutcome::WriteFailed);
        else done(future ? MatchDayOutcome::NotYetOnline : MatchDayOutcome::NotAvailable);
    });
    return download;
}

}  // namespace korbisto
