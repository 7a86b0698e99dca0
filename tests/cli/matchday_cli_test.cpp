#include "support/cli_runner.h"

#include "files/match_day_file.h"
#include "support/test_env.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

TEST(CliMatchday, MakeWritesTheRecordTheReaderExpects) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("13032021.sptag"));
    const auto made = runCli({"make-matchday", "--out", path, "--date", "13.03.2021", "--result", "1X0210221x012",
                              "--quotas", "1.000.000;50000;0;45,5", "--pairing", "Bayern München|Borussia Dortmund",
                              "--pairing", "A|B"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QByteArray bytes = test::readBytes(path);
    ASSERT_EQ(bytes.size(), 1648);
    TSpieltag expected;
    expected.Datum = 44268.0;
    const char* results = "1002102210012";
    for (int m = 0; m < 13; ++m) expected.Ergebnis[m] = static_cast<std::uint8_t>(results[m] - '0');
    expected.Quote = {1000000, 50000, 0, 45.5};
    expected.Heim[0] = QStringLiteral("Bayern München");
    expected.Gast[0] = QStringLiteral("Borussia Dortmund");
    expected.Heim[1] = QStringLiteral("A");
    expected.Gast[1] = QStringLiteral("B");
    EXPECT_EQ(bytes, encodeMatchDay(expected));
    EXPECT_EQ(static_cast<unsigned char>(bytes[8 + 1 + 8]), 0xFC);  // ü in Windows-1252

    const auto shown = runCli({"matchday", path, "--now", "20.03.2021T10:00", "--json"});
    ASSERT_EQ(shown.exitCode, 0);
    EXPECT_EQ(shown.out, QStringLiteral(R"({"date":"2021-03-13","pairings":[{"home":"Bayern München","away":"Borussia Dortmund"},)"
                                        R"({"home":"A","away":"B"},)") +
                             QStringLiteral(R"({"home":"","away":""},)").repeated(10) +
                             QStringLiteral(R"({"home":"","away":""}],"winning_row":"1002102210012",)"
                                            R"("quotas":[1000000,50000,null,45.5]})"
                                            "\n"));
    const auto early = runCli({"matchday", path, "--now", "13.03.2021T23:59"});
    ASSERT_EQ(early.exitCode, 0);
    EXPECT_TRUE(early.out.startsWith(QStringLiteral("Spieltag: 13.03.2021\n")));
    EXPECT_TRUE(early.out.contains(QStringLiteral("Rang I  : \n")));
}

TEST(CliMatchday, BadInputIsRefused) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("x.sptag"));
    auto r = runCli({"make-matchday", "--out", path, "--date", "13.03.2021", "--result", "1111111111111",
                     "--pairing", QString(31, u'a') + QStringLiteral("|B")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ist länger als 30 Zeichen")));
    EXPECT_FALSE(QFile::exists(path));
    for (const QStringList& args : {
             QStringList{"make-matchday", "--out", path, "--date", "31.02.2021", "--result", "1111111111111"},
             QStringList{"make-matchday", "--out", path, "--date", "13.03.2021", "--result", "111111111111-"},
             QStringList{"make-matchday", "--out", path, "--date", "13.03.2021", "--result", "1111111111111",
                         "--quotas", "1;2;3"},
             QStringList{"make-matchday", "--out", path, "--date", "13.03.2021", "--result", "1111111111111",
                         "--quotas", "1;2;x;4"},
             QStringList{"make-matchday", "--out", path, "--date", "13.03.2021", "--result", "1111111111111",
                         "--pairing", "ohne Trenner"},
             QStringList{"matchday"},
             QStringList{"matchday", "a", "b"},
         }) {
        EXPECT_EQ(runCli(args).exitCode, 2) << args.join(u' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
    // A bet slip of more than a record's size is no match day of 30.12.1899.
    const QString slip = tmp.path(QStringLiteral("s.krsc"));
    ASSERT_EQ(runCli({"full", "--crosses", "1,10,102,2,0,1,1,12,02,102,1,1,0", "--out", slip}).exitCode, 0);
    r = runCli({"matchday", slip});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("\"%1\": Das ist keine Spieltag-Datei: Das Datum ist kein Tag.\n").arg(slip));
    EXPECT_TRUE(r.out.isEmpty());
    r = runCli({"matchday", tmp.root()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("\"%1\": Das ist ein Ordner, keine Datei.\n").arg(tmp.root()));
}
