#include "support/cli_runner.h"

#include "files/match_day_file.h"
#include "files/slip_file.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {

QString makeSlip(const test::TempDataFolder& tmp, const std::vector<const char*>& rows) {
    const QString path = tmp.path(QStringLiteral("schein.krsc"));
    test::writeSlip(path, rows);
    return path;
}

QString makeMatchDay(const test::TempDataFolder& tmp, const char* results, std::array<double, 4> quotas) {
    TSpieltag day;
    day.Datum = 44268.0;  // 13.03.2021
    for (int m = 0; m < 13; ++m) day.Ergebnis[m] = static_cast<std::uint8_t>(results[m] - '0');
    for (int k = 0; k < 4; ++k) day.Quote[k] = quotas[k];
    const QString path = tmp.path(QStringLiteral("tag.sptag"));
    writeMatchDayFile(path, day);
    return path;
}

}  // namespace

TEST(CliEvaluate, JsonFromAMatchDay) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"1111111111111", "1111111111110", "2222222222222", "1111111111111"});
    const QString day = makeMatchDay(tmp, "1111111111111", {10.5, 2000, 0, 3});
    const auto r = runCli({"evaluate", "--slip", slip, "--matchday", day, "--now", "20.03.2021", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString ones = QStringLiteral("\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"");
    const QString twos = QStringLiteral("\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\"");
    EXPECT_EQ(r.out,
              QStringLiteral("{\"winning_row\":[") + ones + QStringLiteral(",\"1\"],") +
                  QStringLiteral("\"quotas\":[\"10,50\",\"2.000,00\",\"unbesetzt\",\"3,00\"],\"rows\":[") +
                  QStringLiteral("{\"number\":1,\"tips\":[") + ones + QStringLiteral(",\"1\"],\"hits\":13},") +
                  QStringLiteral("{\"number\":2,\"tips\":[") + ones + QStringLiteral(",\"0\"],\"hits\":12},") +
                  QStringLiteral("{\"number\":3,\"tips\":[") + twos + QStringLiteral(",\"2\"],\"hits\":0},") +
                  QStringLiteral("{\"number\":4,\"tips\":[") + ones + QStringLiteral(",\"1\"],\"hits\":13}],") +
                  QStringLiteral("\"ranks\":[{\"rank\":\"I\",\"count\":2,\"amount\":\"21,00\"},"
                                 "{\"rank\":\"II\",\"count\":1,\"amount\":\"2.000,00\"},"
                                 "{\"rank\":\"III\",\"count\":0,\"amount\":null},"
                                 "{\"rank\":\"IV\",\"count\":0,\"amount\":\"0,00\"}],\"total\":\"2.021,00\"}\n"));
}

TEST(CliEvaluate, QuotasWaitForAFullDay) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"1111111111111"});
    const QString day = makeMatchDay(tmp, "1111111111111", {10.5, 2000, 0, 3});
    const auto r = runCli({"evaluate", "--slip", slip, "--matchday", day, "--now", "14.03.2021T00:00", "--json"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"quotas\":[\"\",\"\",\"\",\"\"]")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"total\":\"0,00\"")));
}

TEST(CliEvaluate, ResultRowQuotasAndSort) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"2222222222222", "1111111111110", "1111111111111"});
    const auto r = runCli({"evaluate", "--slip", slip, "--result", "111111111111x", "--quota", "I=1.234,50",
                           "--quota", "II=unbesetzt", "--sort", "hits", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"quotas\":[\"1.234,50\",\"unbesetzt\",\"\",\"\"]")));
    // 1111111111110 has 13 hits against the X, and sorting puts it first
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"rows\":[{\"number\":2,")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("{\"rank\":\"I\",\"count\":1,\"amount\":\"1.234,50\"}")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("{\"rank\":\"II\",\"count\":1,\"amount\":null}")));
}

TEST(CliEvaluate, EmptyResultEntriesNeverHit) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"1111111111111"});
    const auto r = runCli({"evaluate", "--slip", slip, "--result", "1111111111---", "--json"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"hits\":10}")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"winning_row\":[\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\","
                                              "\"1\",\"\",\"\",\"\"]")));
}

TEST(CliEvaluate, TextOutputShowsTableRanksAndTotal) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"1111111111111", "1111111111111"});
    const auto r = runCli({"evaluate", "--slip", slip, "--result", "1111111111111", "--quota", "I=10,5"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Gewinnreihe: 1 1 1 1 1 1 1 1 1 1 1 1 1")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("    1   1  1  1  1  1  1  1  1  1  1  1  1  1       13\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("I           2            21,00\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Gesamtgewinn: 21,00")));
}

TEST(CliEvaluate, FileErrorsExitWithOneAndTheGermanText) {
    test::TempDataFolder tmp;
    auto r = runCli({"evaluate", "--slip", tmp.path(QStringLiteral("fehlt.krsc"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("Die angegebene Datei wurde nicht gefunden\n"));
    const QString slip = makeSlip(tmp, {"1111111111111"});
    test::writeBytes(tmp.path(QStringLiteral("kurz.sptag")), QByteArray(100, '\0'));
    r = runCli({"evaluate", "--slip", slip, "--matchday", tmp.path(QStringLiteral("kurz.sptag"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("Versuch hinter dem Dateiende zu lesen\n"));
}

TEST(CliEvaluate, WrongUsageExitsWithTwo) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"1111111111111"});
    for (const QStringList& args : {
             QStringList{"evaluate"},
             QStringList{"evaluate", "--slip", slip, "--result", "111"},
             QStringList{"evaluate", "--slip", slip, "--result", "1111111111113"},
             QStringList{"evaluate", "--slip", slip, "--result", "1111111111111", "--matchday", "x"},
             QStringList{"evaluate", "--slip", slip, "--quota", "V=3"},
             QStringList{"evaluate", "--slip", slip, "--sort", "rows"},
             QStringList{"evaluate", "--slip", slip, "--now", "2021-03-13"},
             QStringList{"evaluate", "--slip", slip, "--bogus"},
             QStringList{"evaluate", "--slip"},
             QStringList{"nonsense"},
             QStringList{},
         }) {
        const auto r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("korbisto-cli"))) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
