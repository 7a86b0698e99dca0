#include "support/cli_runner.h"
#include "support/json_doc.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include "files/match_day_file.h"

#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {

// The commands whose --format takes json, as their help names them.
QStringList commandsWithJson() {
    QStringList names;
    bool listing = false;
    for (const QString& line : runCli({"--help"}).out.split(u'\n')) {
        if (line == QLatin1String("Befehle:")) listing = true;
        else if (line.isEmpty()) listing = false;
        else if (listing) names << line.trimmed().section(u' ', 0, 0);
    }
    QStringList json;
    for (const QString& name : names)
        if (runCli({"help", name}).out.contains(QRegularExpression(QStringLiteral("--format [a-z|]*json"))))
            json << name;
    return json;
}

}  // namespace

// Each command's JSON against its description in docs/json.md: every key
// there, of its type, and nothing else; runs enough to meet every key.
TEST(CliJsonDoc, EveryCommandWritesWhatTheDocumentSays) {
    test::TempDataFolder tmp;
    const QString slip = tmp.path(QStringLiteral("schein.krsc"));
    // By hand: a slip record may have a match without a tip.
    test::writeBytes(slip, test::slipRecord("1021021021021") + test::slipRecord("1111111111111") +
                               test::slipRecord("102102102102-") + test::slipRecord("2222222222220"));
    const QString vew = tmp.path(QStringLiteral("vew.krsc"));
    ASSERT_EQ(runCli({"vew", "--crosses", "102,102,102,102,1,1,1,1,1,1,1,1,1", "--out", vew}).exitCode, 0);
    TSpieltag day;
    day.Datum = 44268.0;  // 13.03.2021
    day.Ergebnis = {1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1};
    day.Quote = {1000, 0, 10, 1.5};
    day.Heim[0] = QStringLiteral("Kickers");
    day.Gast[0] = QStringLiteral("Borussia");
    const QString matchDay = tmp.path(QStringLiteral("tag.sptag"));
    writeMatchDayFile(matchDay, day);
    const QString text = tmp.path(QStringLiteral("reihen.txt"));
    test::writeBytes(text, "1;0;2;1;0;2;1;0;2;1;0;2;1\r\nX;a;2;1;0;2;1;0;2;1;0;2;1\r\n");
    const QString crosses = QStringLiteral("102,102,10,1,1,1,1,1,1,1,1,1,2");
    const QString weights = QStringLiteral("3/2/1,-,-,-,-,-,-,-,-,-,-,-,-");
    const QString pattern = QStringLiteral("310,111,003,111,120,111,102,111,111,021,111,111,333");

    const QList<QPair<QString, QStringList>> runs{
        {"evaluate", {"--slip", slip, "--result", "1021021021021", "--quota", "I=1.000", "--quota", "IV=2,5"}},
        {"evaluate", {"--slip", slip, "--matchday", matchDay, "--now", "2021-03-20", "--sort", "hits"}},
        {"matchday", {matchDay, "--now", "2021-03-20"}},
        {"matchday", {matchDay, "--now", "2021-03-13"}},
        {"slip", {slip}},
        {"import", {text}},
        {"structure", {"--crosses", "10,12,02,10,102,102,102,102,1,1,0,2,2"}},
        {"structure", {"--crosses", crosses}},
        {"full", {"--crosses", crosses}},
        {"vew", {"--crosses", "10,12,02,10,102,102,102,102,1,1,0,2,2"}},
        {"reduce", {"--crosses", crosses, "--guarantee", "12"}},
        {"filter", {"--crosses", crosses, "--signs", "1=2..", "--weights", weights}},
        {"filter", {"--slip", slip, "--run", "..12"}},
        {"cover", {"--crosses", crosses, "--guarantee", "12", "--weights", weights}},
        {"generate", {"--pattern", pattern, "--count", "20", "--seed", "7"}},
        {"winplan", {"--slip", vew, "--crosses", "102,102,102,102,1,1,1,1,1,1,1,1,1", "--quota", "I=1.000", "--quota",
                     "II=100", "--quota", "III=10", "--quota", "IV=1"}},
        {"winplan", {"--slip", vew, "--crosses", "1,1,1,1,2,2,2,2,1,1,1,1,1"}},
        {"chances", {"--slip", vew, "--result", "1021--1111111", "--quota", "III=10"}},
        {"chances", {"--slip", vew, "--result", "2222--2222222"}},
    };
    QMap<QString, QSet<QString>> seen;
    for (const auto& [command, args] : runs) {
        SCOPED_TRACE((command + u' ' + args.join(u' ')).toStdString());
        const auto r = runCli(QStringList{command} + args + QStringList{"--format", "json"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, QString());
        EXPECT_EQ(test::jsonDocProblems(command, r.outBytes, &seen[command]), QStringList()) << r.out.left(400).toStdString();
        // --json is the same request.
        EXPECT_EQ(runCli(QStringList{command} + args + QStringList{"--json"}).outBytes, r.outBytes);
    }
    // Every command with JSON is described and run here, and each key of the
    // description was met (check-update needs a server: the online tests hold it).
    QStringList described = test::documentedJsonCommands();
    described.removeOne(QStringLiteral("check-update"));
    QStringList withJson = commandsWithJson();
    withJson.removeOne(QStringLiteral("check-update"));
    std::sort(described.begin(), described.end());
    std::sort(withJson.begin(), withJson.end());
    EXPECT_EQ(described, withJson);
    QStringList run = seen.keys();
    EXPECT_EQ(run, described);
    for (const QString& command : described)
        EXPECT_EQ(test::unseenKeys(command, seen[command]), QStringList()) << command.toStdString();
}
