#include "online/match_day_download.h"

#include "core/german.h"
#include "support/cli_runner.h"

#include <gtest/gtest.h>

using namespace korbisto;

namespace {

QDateTime at(int day, int month, int year, int hour = 12, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

}  // namespace

TEST(MatchDayDates, LastSaturdayIsOnOrBeforeTheDay) {
    EXPECT_EQ(LastSaturday(at(27, 1, 2024, 23, 59)), QDate(2024, 1, 27));
    EXPECT_EQ(LastSaturday(at(28, 1, 2024, 0, 0)), QDate(2024, 1, 27));
    EXPECT_EQ(LastSaturday(at(2, 2, 2024)), QDate(2024, 1, 27));
    EXPECT_EQ(LastSaturday(at(1, 1, 2000)), QDate(2000, 1, 1));
}

TEST(MatchDayDates, TheListRunsWeekByWeekToTheComingSaturday) {
    // On a Thursday it ends with that week's Saturday, on a Saturday with the next one.
    const QStringList thursday = matchDaySaturdays(at(25, 1, 2024));
    EXPECT_EQ(thursday.front(), QStringLiteral("13.03.2021"));
    EXPECT_EQ(thursday.back(), QStringLiteral("27.01.2024"));
    EXPECT_EQ(matchDaySaturdays(at(27, 1, 2024, 8)).back(), QStringLiteral("03.02.2024"));
    EXPECT_EQ(matchDaySaturdays(at(27, 1, 2024, 8)).size(), thursday.size() + 1);
    for (qsizetype i = 1; i < thursday.size(); ++i)
        ASSERT_EQ(parseDate(thursday[i - 1]).daysTo(parseDate(thursday[i])), 7) << i;
    // A clock before the first match day still offers that one.
    EXPECT_EQ(matchDaySaturdays(at(1, 1, 2020)), QStringList{QStringLiteral("13.03.2021")});
}

TEST(MatchDayDates, NamesAndTheFutureRule) {
    EXPECT_EQ(matchDayFileName(QStringLiteral("13.03.2021")), QStringLiteral("13032021.sptag"));
    EXPECT_EQ(matchDayServerPath(QStringLiteral("13032021.sptag")), QStringLiteral("/downloads/spieltage/13032021.sptag"));
    // The day counts as past once it has begun.
    const QDate saturday(2024, 1, 27);
    EXPECT_TRUE(matchDayInFuture(at(26, 1, 2024, 23, 59), saturday));
    EXPECT_TRUE(matchDayInFuture(at(27, 1, 2024, 0, 0), saturday));
    EXPECT_FALSE(matchDayInFuture(at(27, 1, 2024, 0, 1), saturday));
}

TEST(MatchDayDates, TheToolPrintsTheWindowsList) {
    const auto r = test::runCli({"saturdays", "--now", "25.01.2024T10:00"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, matchDaySaturdays(at(25, 1, 2024, 10)).join(u'\n') + u'\n');
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("20.01.2024\n27.01.2024\n")));
    EXPECT_EQ(test::runCli({"saturdays", "--now", "gestern"}).exitCode, 2);
}
