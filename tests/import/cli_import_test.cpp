#include "support/test_env.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace korbisto;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KORBISTO_CLI_PATH), args);
    CliRun run;
    if (!p.waitForFinished(60000)) return run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput();
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

const QByteArray kSemicolonRows = "1;2;0;1;2;0;1;2;0;1;2;0;1\r\n"
                                  "X;X;X;1;1;1;2;2;2;1;0;2;1\r\n"
                                  "2;2;2;2;2;2;2;2;2;2;2;2;2\r\n";

}  // namespace

TEST(CliImport, JsonOfSeparatedRows) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("reihen.csv"));
    test::writeBytes(path, kSemicolonRows);
    const CliRun run = cli({QStringLiteral("import"), path, QStringLiteral("--json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("{\"mode\":\"separated\",\"separator\":\";\",\"rows\":["
                                  "[\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\"],"
                                  "[\"0\",\"0\",\"0\",\"1\",\"1\",\"1\",\"2\",\"2\",\"2\",\"1\",\"0\",\"2\",\"1\"],"
                                  "[\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\",\"2\"]]}\n"));
}

TEST(CliImport, JsonOfFixedWidthRowsAndOfEmptyFields) {
    test::TempDataFolder folder;
    const QString fixed = folder.path(QStringLiteral("fest.txt"));
    test::writeBytes(fixed, "1201120112011\n\nzu kurz\n");
    const CliRun a = cli({QStringLiteral("import"), fixed, QStringLiteral("--json")});
    ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
    EXPECT_EQ(a.out, QByteArray("{\"mode\":\"fixed\",\"separator\":null,\"rows\":["
                                "[\"1\",\"2\",\"0\",\"1\",\"1\",\"2\",\"0\",\"1\",\"1\",\"2\",\"0\",\"1\",\"1\"]]}\n"));

    // Tabs arrive as commas; a doubled one gives an empty field " ".
    const QString tabs = folder.path(QStringLiteral("tabs.txt"));
    test::writeBytes(tabs, "1\t2\t0\t1\t2\t0\t1\t2\t0\t1\t2\t0\t1\r\n1\t\t2\r\n1\t1\r\n");
    const CliRun b = cli({QStringLiteral("import"), tabs, QStringLiteral("--json")});
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
    EXPECT_EQ(b.out, QByteArray("{\"mode\":\"separated\",\"separator\":\",\",\"rows\":["
                                "[\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\",\"2\",\"0\",\"1\"],"
                                "[\"1\",\" \",\"2\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"],"
                                "[\"1\",\"1\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]]}\n"));
}

TEST(CliImport, TextOutputIsTheRowsAsCopied) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("reihen.csv"));
    test::writeBytes(path, kSemicolonRows);
    const CliRun run = cli({QStringLiteral("import"), path});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("1,2,0,1,2,0,1,2,0,1,2,0,1\r\n"
                                  "0,0,0,1,1,1,2,2,2,1,0,2,1\r\n"
                                  "2,2,2,2,2,2,2,2,2,2,2,2,2\r\n"));
    EXPECT_EQ(run.err, QStringLiteral("3 Reihen gefunden (Trennzeichen „;“).\n"));
}

TEST(CliImport, OutWritesFortyBytesPerRow) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("reihen.csv"));
    const QString slip = folder.path(QStringLiteral("reihen.krsc"));
    test::writeBytes(path, kSemicolonRows);
    const CliRun run = cli({QStringLiteral("import"), path, QStringLiteral("--out"), slip});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray bytes = test::readBytes(slip);
    ASSERT_EQ(bytes.size(), 120);
    // Row 2 is all draws in matches 1 to 3, then "1" in match 4.
    EXPECT_EQ(bytes.mid(40, 13), QByteArray::fromHex("00000100000100000100010000"));
    // Row 3: "2" everywhere.
    for (int m = 0; m < 13; ++m) EXPECT_EQ(bytes.mid(80 + 1 + 3 * m, 3), QByteArray::fromHex("000001")) << m;
}

TEST(CliImport, ACellThatIsNoTipWritesNothing) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("reihen.txt"));
    const QString slip = folder.path(QStringLiteral("reihen.krsc"));
    test::writeBytes(path, "1 2 0 1 2 0 1 2 0 1 2 0 1\n1 2 0 1 2 0 1 2 0 1 2 0 1\n1 2 0 1 2 0 1 2 0 1 2 0 a\n");
    const CliRun run = cli({QStringLiteral("import"), path, QStringLiteral("--out"), slip});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Der Tipp in Reihe 3, Spiel 13 lautet „a“."))) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("\n\nIch breche erst einmal ab.\n")));
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFile::exists(slip));
}

TEST(CliImport, NoRowFoundRefusesTheSlip) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("kopf.txt"));
    const QString slip = folder.path(QStringLiteral("kopf.krsc"));
    test::writeBytes(path, "Tipps\n1;2;0;1;2;0;1;2;0;1;2;0;1\n");
    const CliRun json = cli({QStringLiteral("import"), path, QStringLiteral("--json")});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, QByteArray("{\"mode\":\"fixed\",\"separator\":null,\"rows\":["
                                   "[\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"]]}\n"));
    const CliRun save = cli({QStringLiteral("import"), path, QStringLiteral("--out"), slip});
    EXPECT_EQ(save.exitCode, 1);
    EXPECT_EQ(save.err, QStringLiteral("Es gibt nichts zu speichern.\n\nIch breche erst einmal ab.\n"));
    EXPECT_FALSE(QFile::exists(slip));
}

TEST(CliImport, FileErrorsAndWrongUse) {
    test::TempDataFolder folder;
    const CliRun missing = cli({QStringLiteral("import"), folder.path(QStringLiteral("fehlt.txt"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("Die angegebene Datei wurde nicht gefunden\n"));

    const QString empty = folder.path(QStringLiteral("leer.txt"));
    test::writeBytes(empty, QByteArray());
    const CliRun nothing = cli({QStringLiteral("import"), empty});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.err,
              QStringLiteral("Das Textfeld ist leer. Es gibt nichts zu übertragen.\n\nIch breche erst einmal ab.\n"));

    EXPECT_EQ(cli({QStringLiteral("import")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("import"), empty, QStringLiteral("--out")}).exitCode, 2);
    const CliRun help = cli({QStringLiteral("import"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Aufruf: korbisto-cli import DATEI"));
}
