#pragma once

#include "download.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

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

enum class MatchDayOutcome {
    Offline,
    Stored,
    NotYetOnline,   // no whole match day came for a day still to come
    NotAvailable,   // the same for a day that has begun or is past
    Unverified,     // the server's certificate did not verify
    ServerTrouble,  // the server failed otherwise: an error status, too large, too slow, redirected astray
    WriteFailed,    // shown to nobody
};

struct MatchDayResult {
    MatchDayOutcome outcome;
    DownloadResult download;
};

// The information box's text for a result; empty where none is shown.
QString matchDayMessage(const MatchDayResult& result);

// DownloadMatchDay: fetches the match day of `saturday` and stores it in
// MatchDayFolder, creating the folder, only when it reads as that match day.
// Offline, `done` is called before this returns and there is no download;
// otherwise `done` comes when it ends, unless `parent` goes first.
Download* DownloadMatchDay(const QDate& saturday, bool future, QObject* parent,
                           std::function<void(const MatchDayResult&)> done);

}  // namespace korbisto
