#include "support/cli_runner.h"

#include "files/slip_file.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

TEST(CliSlip, PrintsRowsAsTheClipboardCopyDoes) {
    test::TempDataFolder tmp;
    QByteArray bytes(80, '\0');
    for (int m = 0; m < 13; ++m) {
        bytes[1 + 3 * m + (m % 3)] = 1;  // 1, 0, 2, 1, ...
        bytes[40 + 1 + 3 * m] = 1;       // all "1"
    }
    bytes[40 + 1 + 3 * 12] = 0;          // match 13 of row 2 has no tip
    const QString path = tmp.path(QStringLiteral("s.krsc"));
    test::writeBytes(path, bytes);
    auto r = runCli({"slip", path});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("1,0,2,1,0,2,1,0,2,1,0,2,1\n1,1,1,1,1,1,1,1,1,1,1,1,\n"));
    r = runCli({"slip", path, "--format", "csv"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("1;0;2;1;0;2;1;0;2;1;0;2;1\n1;1;1;1;1;1;1;1;1;1;1;1;\n"));
    r = runCli({"slip", path, "--format", "json"});
    EXPECT_EQ(r.out, QStringLiteral(R"({"rows":["1021021021021","111111111111-"],"count":2})"
                                    "\n"));
    EXPECT_EQ(runCli({"slip", path, "--format", "xml"}).exitCode, 2);
    r = runCli({"slip", tmp.path(QStringLiteral("nix.krsc"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("\"%1\": Die angegebene Datei wurde nicht gefunden.\n").arg(tmp.path(QStringLiteral("nix.krsc"))));
}

TEST(CliSlip, SaysHowManyBytesAtTheEndWereNoWholeRow) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("rest.krsc"));
    const struct {
        int rest;
        QString err;
    } cases[] = {
        {0, QString()},
        {1, QStringLiteral("Das letzte Byte von „%1“ ist keine ganze Reihe (40 Bytes) und wurde übergangen.\n")},
        {39, QStringLiteral("Die letzten 39 Bytes von „%1“ sind keine ganze Reihe (40 Bytes) und wurden übergangen.\n")},
    };
    for (const auto& c : cases) {
        QByteArray bytes(40 + c.rest, '\0');
        for (int m = 0; m < 13; ++m) bytes[1 + 3 * m] = 1;
        test::writeBytes(path, bytes);
        const auto r = runCli({"slip", path});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1\n"));
        EXPECT_EQ(r.err, c.rest == 0 ? QString() : c.err.arg(path));
    }
}
