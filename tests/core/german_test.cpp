#include "core/german.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korbisto;

TEST(GermanText, AmountsCountsAndDates) {
    EXPECT_EQ(formatAmount(1234.5), QStringLiteral("1.234,50"));
    EXPECT_EQ(formatAmount(0.0), QStringLiteral("0,00"));
    EXPECT_EQ(formatAmount(-0.0), QStringLiteral("0,00"));
    EXPECT_EQ(formatAmount(1000000), QStringLiteral("1.000.000,00"));
    EXPECT_EQ(formatAmount(21.0), QStringLiteral("21,00"));
    EXPECT_EQ(formatCents(0.125), QStringLiteral("0,13"));
    EXPECT_EQ(formatCents(1234.564999), QStringLiteral("1.234,56"));
    EXPECT_EQ(formatPercent(0.0625), QStringLiteral("6,25 %"));
    EXPECT_EQ(formatCount(1594323), QStringLiteral("1.594.323"));
    EXPECT_EQ(formatCount(1296), QStringLiteral("1.296"));
    EXPECT_EQ(formatCount(144), QStringLiteral("144"));
    EXPECT_EQ(formatDate(QDate(2021, 3, 13)), QStringLiteral("13.03.2021"));
    EXPECT_EQ(formatDataSize(307200), QStringLiteral("300 kB"));
    EXPECT_EQ(formatDataSize(12900000), QStringLiteral("12,3 MB"));
}

TEST(GermanText, SystemLocaleChangesNothing) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(formatAmount(1234.5), QStringLiteral("1.234,50"));
    EXPECT_EQ(ParseQuota(QStringLiteral("1.234,50")), 1234.5);
    QLocale::setDefault(before);
}

TEST(DayNumbers, MatchTheDaysSince1899) {
    EXPECT_EQ(dayNumberOf(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(dayNumberOf(QDate(2021, 3, 13)), 44268.0);
    EXPECT_EQ(dateOfDayNumber(44268.75), QDate(2021, 3, 13));
    EXPECT_EQ(toDayNumber(QDateTime(QDate(2021, 3, 13), QTime(18, 0))), 44268.75);
}

TEST(DayNumbers, GarbageIsNoDate) {
    EXPECT_FALSE(dateOfDayNumber(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(dateOfDayNumber(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(dateOfDayNumber(-std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(dateOfDayNumber(1e300));
    EXPECT_FALSE(dateOfDayNumber(2958466.0));
    EXPECT_EQ(dateOfDayNumber(2958465.5), QDate(9999, 12, 31));
    EXPECT_EQ(dateOfDayNumber(-693593.0), QDate(1, 1, 1));
    // The fraction of a negative day number is a time on that day.
    EXPECT_EQ(dateOfDayNumber(-1.25), QDate(1899, 12, 29));
}

TEST(ParseQuota, AcceptsGermanNumbers) {
    EXPECT_EQ(ParseQuota(QStringLiteral("1.234,50")), 1234.5);
    EXPECT_EQ(ParseQuota(QStringLiteral("1 000")), 1000.0);
    EXPECT_EQ(ParseQuota(QStringLiteral("10,5")), 10.5);
    EXPECT_EQ(ParseQuota(QStringLiteral("45")), 45.0);
    EXPECT_EQ(ParseQuota(QStringLiteral("0")), 0.0);
    EXPECT_EQ(ParseQuota(QStringLiteral(",5")), 0.5);
    EXPECT_EQ(ParseQuota(QStringLiteral("7,")), 7.0);
    EXPECT_EQ(ParseQuota(QStringLiteral("1.000.000,00")), 1000000.0);
}

TEST(ParseQuota, EverythingElseIsNoQuota) {
    EXPECT_FALSE(ParseQuota(QString()));
    EXPECT_FALSE(ParseQuota(QStringLiteral("unbesetzt")));
    EXPECT_FALSE(ParseQuota(QStringLiteral(" . ")));
    EXPECT_FALSE(ParseQuota(QStringLiteral(",")));
    EXPECT_FALSE(ParseQuota(QStringLiteral("1,2,3")));  // digits and commas, still no number
    EXPECT_FALSE(ParseQuota(QStringLiteral("-5")));
    EXPECT_FALSE(ParseQuota(QStringLiteral("1e5")));
    EXPECT_FALSE(ParseQuota(QStringLiteral("12 €")));
    EXPECT_FALSE(ParseQuota(QString(400, u'9')));  // beyond any double
}
