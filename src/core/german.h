#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace korbisto {

// Numbers and dates are always German, whatever the system locale says.
const QLocale& germanLocale();

// "%.2n": two decimals with thousands separators, 1.234,50.
QString formatAmount(double value);
// An amount to the cent, a half cent up: 0,125 -> "0,13".
QString formatCents(double value);
// The value rounded to whole cents as formatCents() rounds it.
double roundedToCents(double value);
// A chance as a percentage with two decimals: 0.1234 -> "12,34 %".
QString formatPercent(double share);
// The same on screen, where no chance is rounded away: one that is not 0
// but would show as "0,00 %" is "< 0,01 %", one not certain that would
// show as "100,00 %" is "> 99,99 %".
QString formatShare(double share);
// "#,##0": 1.594.323.
QString formatCount(long long value);
// "300 kB", "12,3 MB": sizes in steps of 1024, decimals from a megabyte on.
QString formatDataSize(qint64 bytes);
// "mit 144 Tippreihen": the size of the VEW system the cross sheet offers.
QString vewRowsCaption(int rows);
// dd.MM.yyyy
QString formatDate(const QDate& date);
// dd.MM.yyyy, strictly; an invalid QDate otherwise.
QDate parseDate(const QString& text);

// The date-time numbers of match-day files: days since 30.12.1899, the
// fraction being the time of day.
double toDayNumber(const QDateTime& localTime);
// The calendar day of a day number, or nothing when it is not a finite number
// within the years 1 to 9999.
std::optional<QDate> dateOfDayNumber(double dayNumber);
double dayNumberOf(const QDate& date);

// The quota parser: dots and blanks are dropped; what is left must be digits
// with at most one decimal comma. Anything else, and any text that would not
// give a finite number, is no quota.
std::optional<double> ParseQuota(const QString& text);

}  // namespace korbisto
