#include "support/cli_runner.h"
#include "support/test_env.h"

#include "core/tip_table.h"
#include "files/slip_file.h"
#include "systems/reduced_catalogue.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace korbisto;

namespace {

using CliRun = test::CliResult;

CliRun cli(const QStringList& args) { return test::runCli(args); }

CliRun cli(const QString& command, const QString& crosses, const QStringList& more = {}) {
    return cli(QStringList{command, QStringLiteral("--crosses"), crosses} + more);
}

const QString kExample = QStringLiteral("1,10,102,2,0,1,1,12,02,102,1,1,0");
const QString kSystem15 = QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,2");
const QString kSixRows = QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,10,102");

}  // namespace

TEST(SystemsCli, StructureJsonIsWhatTheSheetShows) {
    struct Case {
        QString crosses;
        const char* json;
    };
    const Case cases[] = {
        {kExample, R"({"bankers":8,"zw":3,"dw":2,"rows":72,"vew":null,"full_enabled":true})"},
        {kSystem15, R"({"bankers":5,"zw":4,"dw":4,"rows":1296,"vew":{"number":15,"rows":144},"full_enabled":true})"},
        {QStringLiteral("10,12,02,10,102,102,102,102,102,102,102,102,X"),
         R"({"bankers":1,"zw":4,"dw":8,"rows":104976,"vew":null,"full_enabled":false})"},
        // Match 13 without a cross: counts shown, nothing to develop.
        {QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,"),
         R"({"bankers":4,"zw":4,"dw":4,"rows":1296,"vew":null,"full_enabled":false})"},
        {QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1"),
         R"({"bankers":13,"zw":0,"dw":0,"rows":1,"vew":null,"full_enabled":true})"},
    };
    for (const Case& c : cases) {
        const CliRun run = cli(QStringLiteral("structure"), c.crosses, {QStringLiteral("--json")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QString::fromLatin1(c.json) + u'\n') << c.crosses.toStdString();
    }
}

TEST(SystemsCli, StructureTextSummarisesInGerman) {
    const CliRun run = cli(QStringLiteral("structure"), QStringLiteral("x1,21,2x,10,102,102,102,102,1,1,0,2,2"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("Struktur: 5 Bänke, 4 ZW, 4 DW"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Tippreihen im Vollsystem: 1.296")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("VEW-System 15 mit 144 Tippreihen")));

    const CliRun large = cli(QStringLiteral("structure"), QStringLiteral("102,102,102,102,102,102,102,102,102,102,102,102,102"));
    EXPECT_TRUE(large.out.contains(QStringLiteral("Tippreihen im Vollsystem: 1.594.323")));
    EXPECT_TRUE(large.out.contains(QStringLiteral("mehr als 96.000 Tippreihen")));
    EXPECT_TRUE(large.out.contains(QStringLiteral("VEW-System: keines")));
}

TEST(SystemsCli, MalformedCrossesAreUsageErrors) {
    for (const char* spec : {"1,1,1,1,1,1,1,1,1,1,1,1", "1,1,1,1,1,1,1,1,1,1,1,1,1,1", "1,1,1,1,1,1,1,1,1,1,1,1,3",
                             "1,1,1,1,1,1,1,1,1,1,1,1,0X", "1,1,1,1,1,1,1,1,1,1,1,1,11", "1;1;1;1;1;1;1;1;1;1;1;1;1"}) {
        for (const char* command : {"structure", "full", "vew"}) {
            const CliRun run = cli(QLatin1String(command), QLatin1String(spec));
            EXPECT_EQ(run.exitCode, 2) << command << " " << spec;
            EXPECT_TRUE(run.err.contains(QStringLiteral("Mehr dazu: korbisto-cli ") + QLatin1String(command)));
            EXPECT_TRUE(run.out.isEmpty());
        }
    }
    EXPECT_EQ(cli({QStringLiteral("full")}).exitCode, 2);
    EXPECT_EQ(cli(QStringLiteral("full"), kSixRows, {QStringLiteral("--format"), QStringLiteral("xml")}).exitCode, 2);
    EXPECT_EQ(cli(QStringLiteral("structure"), kSixRows, {QStringLiteral("extra")}).exitCode, 2);
}

TEST(SystemsCli, FullPrintsTheRowsAsCopied) {
    const CliRun text = cli(QStringLiteral("full"), kSixRows);
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1\n1,1,1,1,1,1,1,1,1,1,1,1,0\n1,1,1,1,1,1,1,1,1,1,1,1,2\n"
                                       "1,1,1,1,1,1,1,1,1,1,1,0,1\n1,1,1,1,1,1,1,1,1,1,1,0,0\n1,1,1,1,1,1,1,1,1,1,1,0,2\n"));
    const CliRun csv = cli(QStringLiteral("full"), kSixRows, {QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(csv.exitCode, 0);
    QString expected = text.out;
    expected.replace(u',', u';');
    EXPECT_EQ(csv.out, expected);
}

TEST(SystemsCli, FullWritesEveryRowOf3To13AsASlip) {
    test::TempDataFolder folder;
    const QString file = folder.path(QStringLiteral("alle.krsc"));
    const CliRun run = cli(QStringLiteral("full"), QStringLiteral("102,102,102,102,102,102,102,102,102,102,102,102,102"),
                        {QStringLiteral("--out"), file});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QFileInfo(file).size(), 1594323LL * 40);
    TipTable table;
    ASSERT_EQ(readSlipFile(file, table), 1594323);
    EXPECT_EQ(exportRowsText(table, u',', 1, 2), QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1\r\n1,1,1,1,1,1,1,1,1,1,1,1,0\r\n"));
    EXPECT_EQ(exportRowsText(table, u',', 1594323), QStringLiteral("2,2,2,2,2,2,2,2,2,2,2,2,2\r\n"));
}

TEST(SystemsCli, DevelopingAnIncompleteSheetFails) {
    for (const char* command : {"full", "vew"}) {
        const CliRun run = cli(QLatin1String(command), QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,"));
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_TRUE(run.err.contains(QStringLiteral("Nicht jedes der 13 Spiele ist angekreuzt"))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST(SystemsCli, VewPrintsOrSavesTheOfferedSystem) {
    const CliRun run = cli(QStringLiteral("vew"), kSystem15);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split(u'\n');
    ASSERT_EQ(lines.takeLast(), QString());
    ASSERT_EQ(lines.size(), 144);
    for (const QString& line : lines) EXPECT_TRUE(line.endsWith(QStringLiteral(",1,1,0,2,2"))) << line.toStdString();
    EXPECT_EQ(QSet<QString>(lines.begin(), lines.end()).size(), 144);

    test::TempDataFolder folder;
    const QString file = folder.path(QStringLiteral("vew.krsc"));
    ASSERT_EQ(cli(QStringLiteral("vew"), kSystem15, {QStringLiteral("--out"), file}).exitCode, 0);
    TipTable table;
    ASSERT_EQ(readSlipFile(file, table), 144);
    EXPECT_EQ(exportRowsText(table, u',').replace(QStringLiteral("\r\n"), QStringLiteral("\n")), run.out);
}

TEST(SystemsCli, VewWithoutAFittingSystemFailsInGerman) {
    const CliRun run = cli(QStringLiteral("vew"), QStringLiteral("10,10,10,10,10,10,1,1,1,1,1,1,2"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("6 ZW und 0 DW gibt es kein VEW-System"))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

TEST(SystemsCli, ReducePrintsSavesOrWritesJson) {
    // Bankers between the two two-way and three three-way matches.
    const QString crosses = QStringLiteral("1,10,102,2,02,0,102,1,102,1,1,2,0");
    for (const int g : {12, 11, 10}) {
        const QStringList guarantee{QStringLiteral("--guarantee"), QString::number(g)};
        const CliRun text = cli(QStringLiteral("reduce"), crosses, guarantee);
        ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
        QStringList lines = text.out.split(u'\n');
        ASSERT_EQ(lines.takeLast(), QString());
        EXPECT_EQ(lines.size(), static_cast<qsizetype>(findReducedSystem(2, 3, g)->rows)) << g;
        for (const QString& line : lines) {
            const QStringList tips = line.split(u',');
            ASSERT_EQ(tips.size(), 13);
            EXPECT_EQ(tips[0] + tips[3] + tips[5] + tips[7] + tips[9] + tips[10] + tips[11] + tips[12],
                      QStringLiteral("12011120"));
        }

        const CliRun json = cli(QStringLiteral("reduce"), crosses, guarantee + QStringList{QStringLiteral("--format"), QStringLiteral("json")});
        ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(json.outBytes).object();
        EXPECT_EQ(o.value(QStringLiteral("zw")).toInt(), 2);
        EXPECT_EQ(o.value(QStringLiteral("dw")).toInt(), 3);
        EXPECT_EQ(o.value(QStringLiteral("guarantee")).toInt(), g);
        EXPECT_EQ(o.value(QStringLiteral("count")).toInt(), lines.size());
        QStringList jsonRows;
        for (const QJsonValue& v : o.value(QStringLiteral("rows")).toArray()) jsonRows << v.toString();
        EXPECT_EQ(jsonRows, QStringList(lines).replaceInStrings(QStringLiteral(","), QString()));

        test::TempDataFolder folder;
        const QString file = folder.path(QStringLiteral("reduziert.krsc"));
        ASSERT_EQ(cli(QStringLiteral("reduce"), crosses, guarantee + QStringList{QStringLiteral("--out"), file}).exitCode, 0);
        TipTable table;
        ASSERT_EQ(readSlipFile(file, table), lines.size());
        EXPECT_EQ(exportRowsText(table, u',').replace(QStringLiteral("\r\n"), QStringLiteral("\n")), text.out);
    }
    // Without two-way and three-way matches: the one row of the bankers.
    const CliRun bankers = cli(QStringLiteral("reduce"), QStringLiteral("1,0,2,1,0,2,1,0,2,1,0,2,1"),
                               {QStringLiteral("--guarantee"), QStringLiteral("12"), QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(bankers.exitCode, 0);
    EXPECT_EQ(bankers.out, QStringLiteral("1;0;2;1;0;2;1;0;2;1;0;2;1\n"));
}

TEST(SystemsCli, ReduceRefusesWhatItCannotDevelop) {
    const QString crosses = QStringLiteral("1,10,102,2,02,0,102,1,102,1,1,2,0");
    for (const QStringList& more : {QStringList{}, {QStringLiteral("--guarantee"), QStringLiteral("13")},
                                    {QStringLiteral("--guarantee"), QStringLiteral("12"), QStringLiteral("--format"), QStringLiteral("xml")},
                                    {QStringLiteral("--guarantee"), QStringLiteral("12"), QStringLiteral("--format"), QStringLiteral("json"),
                                     QStringLiteral("--out"), QStringLiteral("x.krsc")}}) {
        const CliRun run = cli(QStringLiteral("reduce"), crosses, more);
        EXPECT_EQ(run.exitCode, 2) << more.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Mehr dazu: korbisto-cli reduce")));
    }
    const CliRun incomplete = cli(QStringLiteral("reduce"), QStringLiteral("1,10,102,2,02,0,102,1,102,1,1,2,"),
                                  {QStringLiteral("--guarantee"), QStringLiteral("11")});
    EXPECT_EQ(incomplete.exitCode, 1);
    EXPECT_TRUE(incomplete.err.contains(QStringLiteral("Nicht jedes der 13 Spiele ist angekreuzt")));
    EXPECT_TRUE(incomplete.out.isEmpty());
}
