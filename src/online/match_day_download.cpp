#include "match_day_download.h"

#include "core/german.h"

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

}  // namespace korbisto
