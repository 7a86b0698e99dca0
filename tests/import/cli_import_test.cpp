#include "support/cli_runner.h"
#include "support/test_env.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace korbisto;

namespace {

using CliRun = test::CliResult;

CliRun cli(const QStringList& args) { return test::runCli(args); }

// `import FILE args...` on a file holding `bytes`.
CliRun import(const test::TempDataFolder& folder, const QByteArray& bytes, QStringList args = {}) {
    const QString path = folder.path(QStringLiteral("reihen.txt"));
    test::writeBytes(path, bytes);
    args.prepend(path);
    args.prepend(QStringLiteral("import"));
    return cli(args);
}

const QByteArray kSemicolonRows = "1;2;0;1;2;0;1;2;0;1;2;0;1\r\nX;X;X;1;1;1;2;2;2;1;0;2;1\r\n2;2;2;2;2;2;2;2;2;2;2;2;2\r\n";

}  // namespace

TEST(CliImport, JsonOutput) {
    test::TempDataFolder folder;
    const QStringList json = {QStringLiteral("--format"), QStringLiteral("json")};
    CliRun run = import(folder, kSemicolonRows, json);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.outBytes, QByteArray(R"({"mode":"separated","separator":";","rows":["1201201201201","0001112221021",)"
                                       R"("2222222222222"],"odd":[]})"
                                       "\n"));

    run = import(folder, "1201120112011\n\nzu kurz\n", json);
    EXPECT_EQ(run.outBytes, R"({"mode":"fixed","separator":null,"rows":["1201120112011"],"odd":[]})"
                            "\n");

    // Tabs arrive as commas; a doubled one gives an empty field " ", which is no tip.
    run = import(folder, "1\t2\t0\t1\t2\t0\t1\t2\t0\t1\t2\t0\t2\r\n1\t\t2\r\n1\t1\r\n", json);
    EXPECT_EQ(run.outBytes, R"({"mode":"separated","separator":",","rows":["1201201201202","1?2----------","11-----------"],)"
                            R"("odd":[{"row":2,"match":2,"text":" "}]})"
                            "\n");

    // No row found: the one empty row of the grid.
    run = import(folder, "Tipps\n1;2;0;1;2;0;1;2;0;1;2;0;1\n", json);
    EXPECT_EQ(run.outBytes, R"({"mode":"fixed","separator":null,"rows":["-------------"],"odd":[]})"
                            "\n");
}

TEST(CliImport, TextOutputIsTheRowsAsCopied) {
    test::TempDataFolder folder;
    const CliRun run = import(folder, kSemicolonRows);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.outBytes, QByteArray("1,2,0,1,2,0,1,2,0,1,2,0,1\n0,0,0,1,1,1,2,2,2,1,0,2,1\n2,2,2,2,2,2,2,2,2,2,2,2,2\n"));
    EXPECT_EQ(run.err, QStringLiteral("3 Reihen gefunden (Trennzeichen „;“).\n"));
}

TEST(CliImport, OutWritesFortyBytesPerRow) {
    test::TempDataFolder folder;
    const QString slip = folder.path(QStringLiteral("reihen.krsc"));
    const CliRun run = import(folder, kSemicolonRows, {QStringLiteral("--out"), slip});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray bytes = test::readBytes(slip);
    ASSERT_EQ(bytes.size(), 120);
    // Row 2: draws in matches 1 to 3, then "1" in match 4.
    EXPECT_EQ(bytes.mid(40, 13), QByteArray::fromHex("00000100000100000100010000"));
    EXPECT_EQ(bytes.mid(80), QByteArray::fromHex("00") + QByteArray::fromHex("000001").repeated(13));
}

TEST(CliImport, NothingIsWrittenForACellThatIsNoTipOrWithoutRows) {
    test::TempDataFolder folder;
    const QString slip = folder.path(QStringLiteral("reihen.krsc"));
    const QStringList out = {QStringLiteral("--out"), slip};
    const CliRun bad = import(folder, "1 2 0 1 2 0 1 2 0 1 2 0 1\n1 2 0 1 2 0 1 2 0 1 2 0 1\n1 2 0 1 2 0 1 2 0 1 2 0 a\n", out);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("Der Tipp in Reihe 3, Spiel 13 lautet „a“."))) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.endsWith(QStringLiteral("\n\nIch breche erst einmal ab.\n")));
    EXPECT_TRUE(bad.outBytes.isEmpty());
    EXPECT_FALSE(QFile::exists(slip));

    const CliRun none = import(folder, "Tipps\n", out);
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, QStringLiteral("Es gibt nichts zu speichern.\n\nIch breche erst einmal ab.\n"));
    EXPECT_FALSE(QFile::exists(slip));
}

TEST(CliImport, FileErrorsAndWrongUse) {
    test::TempDataFolder folder;
    const CliRun missing = cli({QStringLiteral("import"), folder.path(QStringLiteral("fehlt.txt"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("\"%1\": Die angegebene Datei wurde nicht gefunden.\n")
                               .arg(folder.path(QStringLiteral("fehlt.txt"))));

    const CliRun empty = import(folder, QByteArray());
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, QStringLiteral("Das Textfeld ist leer. Es gibt nichts zu übertragen.\n\nIch breche erst einmal ab.\n"));

    EXPECT_EQ(cli({QStringLiteral("import")}).exitCode, 2);
    EXPECT_EQ(import(folder, "1", {QStringLiteral("--out")}).exitCode, 2);
}
