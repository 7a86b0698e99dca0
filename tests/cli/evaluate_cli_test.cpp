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
    const auto r = runCli({"evaluate", "--slip", slip, "--matchday", day, "--now", "20.03.2021", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral(R"({"winning_row":"1111111111111","quotas":[10.5,2000,null,3],"rows":[)"
                                    R"({"number":1,"tips":"1111111111111","hits":13},)"
                                    R"({"number":2,"tips":"1111111111110","hits":12},)"
                                    R"({"number":3,"tips":"2222222222222","hits":0},)"
                                    R"({"number":4,"tips":"1111111111111","hits":13}],)"
                                    R"("ranks":[{"rank":"I","count":2,"amount":21},{"rank":"II","count":1,"amount":2000},)"
                                    R"({"rank":"III","count":0,"amount":null},{"rank":"IV","count":0,"amount":0}],)"
                                    R"("total":2021})"
                                    "\n"));
    // --json is the same.
    EXPECT_EQ(runCli({"evaluate", "--slip", slip, "--matchday", day, "--now", "20.03.2021", "--json"}).outBytes, r.outBytes);
}

TEST(CliEvaluate, QuotasWaitForAFullDay) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"1111111111111"});
    const QString day = makeMatchDay(tmp, "1111111111111", {10.5, 2000, 0, 3});
    const auto r = runCli({"evaluate", "--slip", slip, "--matchday", day, "--now", "14.03.2021T00:00", "--json"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"quotas\":[null,null,null,null]")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"total\":0}")));
}

TEST(CliEvaluate, ResultRowQuotasAndSort) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"2222222222222", "1111111111110", "1111111111111"});
    const auto r = runCli({"evaluate", "--slip", slip, "--result", "111111111111x", "--quota", "I=1.234,50",
                           "--quota", "II=unbesetzt", "--sort", "hits", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"quotas\":[1234.5,null,null,null]")));
    // 1111111111110 has 13 hits against the X, and sorting puts it first
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"rows\":[{\"number\":2,")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("{\"rank\":\"I\",\"count\":1,\"amount\":1234.5}")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("{\"rank\":\"II\",\"count\":1,\"amount\":null}")));
}

TEST(CliEvaluate, EmptyResultEntriesNeverHit) {
    test::TempDataFolder tmp;
    const QString slip = makeSlip(tmp, {"1111111111111"});
    const auto r = runCli({"evaluate", "--slip", slip, "--result", "1111111111---", "--json"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"hits\":10}")));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("{\"winning_row\":\"1111111111---\",")));
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
    EXPECT_EQ(r.err, QStringLiteral("\"%1\": Die angegebene Datei wurde nicht gefunden.\n").arg(tmp.path(QStringLiteral("fehlt.krsc"))));
    const QString slip = makeSlip(tmp, {"1111111111111"});
    test::writeBytes(tmp.path(QStringLiteral("kurz.sptag")), QByteArray(100, '\0'));
    r = runCli({"evaluate", "--slip", slip, "--matchday", tmp.path(QStringLiteral("kurz.sptag"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("\"%1\": Versuch hinter dem Dateiende zu lesen.\n").arg(tmp.path(QStringLiteral("kurz.sptag"))));
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
             QStringList{"evaluate", "--slip", slip, "--now", "2021-13-03"},
             QStringList{"evaluate", "--slip", slip, "--now", "13.03.2021T10:00:00"},
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
