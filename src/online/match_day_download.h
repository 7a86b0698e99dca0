#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace korbisto {

// LastSaturday: the latest Saturday on or before the day of `now`.
QDate LastSaturday(const QDateTime& now);

// The window's list of Saturdays, oldest first: from the first match day in
// steps of a week up to the Saturday after LastSaturday(now), which is the
// entry the window selects.
QStringList matchDaySaturdays(const QDateTime& now);

// "13.03.2021" -> "13032021.sptag", the name on the server and in the
// match-day folder.
QString matchDayFileName(const QString& entry);

// Whether the data of a match day may still come: until the day has begun.
bool matchDayInFuture(const QDateTime& now, const QDate& day);

// The match day's path below the server's address.
QString matchDayServerPath(const QString& fileName);

class Download;

enum class MatchDayOutcome {
    Offline,
    Stored,
    NotYetOnline,    // nothing came for a day still to come
    NotAvailable,    // nothing came for a day that has begun or is past
    WriteFailed,     // shown to nobody
};

// The information box's text for an outcome; empty where none is shown.
QString matchDayMessage(MatchDayOutcome outcome);

// DownloadMatchDay: fetches `url` into MatchDayFolder + `fileName`, creating
// the folder. Offline, `done` is called before this returns and there is no
// download; otherwise `done` comes when it ends, unless `parent` goes first.
Download* DownloadMatchDay(const QString& fileName, const QUrl& url, bool future, QObject* parent,
                           std::function<void(MatchDayOutcome)> done);

}  // namespace korbisto
