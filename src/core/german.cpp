#include "german.h"

#include "text_helpers.h"

#include <cmath>

namespace korbisto {

namespace {
const QDate kDayZero(1899, 12, 30);
constexpr double kFirstDay = -693593.0;   // 01.01.0001
constexpr double kAfterLastDay = 2958466.0;  // 01.01.10000
}  // namespace

const QLocale& germanLocale() {
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

QString formatAmount(double value) {
    if (value == 0.0) value = 0.0;  // no "-0,00"
    return germanLocale().toString(value, 'f', 2);
}

double roundedToCents(double value) { return std::floor(value * 100 + 0.5) / 100; }

QString formatCents(double value) { return formatAmount(roundedToCents(value)); }

QString formatPercent(double share) { return formatAmount(100 * share) + QStringLiteral(" %"); }

QString formatShare(double share) {
    const QString text = formatPercent(share);
    if (share > 0 && text == formatPercent(0)) return QStringLiteral("< ") + formatPercent(0.0001);
    if (share < 1 && text == formatPercent(1)) return QStringLiteral("> ") + formatPercent(0.9999);
    return text;
}

QString formatCount(long long value) {
    return germanLocale().toString(value);
}

QString formatDataSize(qint64 bytes) {
    return germanLocale().formattedDataSize(bytes, bytes < 1024 * 1024 ? 0 : 1, QLocale::DataSizeTraditionalFormat);
}

QString vewRowsCaption(int rows) { return QStringLiteral("mit %1 Tippreihen").arg(rows); }

QString formatDate(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QDate parseDate(const QString& text) {
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

double toDayNumber(const QDateTime& localTime) {
    const QDateTime local = localTime.toLocalTime();
    const double days = static_cast<double>(kDayZero.daysTo(local.date()));
    return days + local.time().msecsSinceStartOfDay() / 86400000.0;
}

std::optional<QDate> dateOfDayNumber(double dayNumber) {
    if (!std::isfinite(dayNumber) || dayNumber < kFirstDay || dayNumber >= kAfterLastDay) return std::nullopt;
    return kDayZero.addDays(static_cast<qint64>(std::trunc(dayNumber)));
}

double dayNumberOf(const QDate& date) {
    return static_cast<double>(kDayZero.daysTo(date));
}

std::optional<double> ParseQuota(const QString& text) {
    const QString cleaned =
        XStringReplace(XStringReplace(text, QStringLiteral("."), QString()), QStringLiteral(" "), QString());
    if (cleaned.isEmpty()) return std::nullopt;
    int commas = 0;
    int digits = 0;
    for (QChar c : cleaned) {
        if (c == u',')
            ++commas;
        else if (c >= u'0' && c <= u'9')
            ++digits;
        else
            return std::nullopt;
    }
    if (commas > 1 || digits == 0) return std::nullopt;
    QString number = cleaned;
    number.replace(u',', u'.');
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace korbisto
