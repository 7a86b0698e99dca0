#include "support/cli_runner.h"

#include "files/match_day_file.h"
#include "files/slip_file.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {

const QString kCrosses = QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,10,102");

std::string shown(const QStringList& args) { return args.join(u' ').toStdString(); }

// QCommandLineParser's own wording, which must never reach the user.
bool soundsEnglish(const QString& text) {
    for (const char* word : {"Unknown", "Missing value", "Unexpected value", "Usage:", "Options:", "Arguments:"})
        if (text.contains(QLatin1String(word))) return true;
    return false;
}

}  // namespace

TEST(CliUsage, HelpOnEverySubcommandInBothForms) {
    struct Case {
        const char* command;
        const char* synopsis;  // how the help begins after "Aufruf: korbisto-cli "
        const char* mentions;
    };
    const Case cases[] = {
        {"evaluate", "evaluate --slip DATEI", "--quota RANG=TEXT"},
        {"matchday", "matchday DATEI", "--now DATUM"},
        {"make-matchday", "make-matchday --out DATEI", "--pairing"},
        {"slip", "slip DATEI", "csv"},
        {"structure", "structure --crosses SPEC", "--crosses"},
        {"full", "full --crosses SPEC", "--crosses"},
        {"vew", "vew --crosses SPEC", "--crosses"},
        {"import", "import DATEI", "--out DATEI"},
    };
    for (const Case& c : cases) {
        const auto help = runCli({c.command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << c.command;
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Aufruf: korbisto-cli ") + QLatin1String(c.synopsis)))
            << help.out.toStdString();
        EXPECT_TRUE(help.out.contains(QLatin1String(c.mentions))) << c.command;
        EXPECT_TRUE(help.err.isEmpty());
        EXPECT_FALSE(soundsEnglish(help.out));
        const auto shortForm = runCli({c.command, "-h"});
        EXPECT_EQ(shortForm.exitCode, 0);
        EXPECT_EQ(shortForm.out, help.out) << c.command;
        const auto asked = runCli({"help", c.command});
        EXPECT_EQ(asked.exitCode, 0);
        EXPECT_EQ(asked.out, help.out) << c.command;
    }
    const auto overview = runCli({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    EXPECT_TRUE(overview.out.contains(QStringLiteral("make-matchday")));
    // Help comes before the checks of the other words, wherever it stands.
    const auto r = runCli({"evaluate", "--now", "gestern", "-h", "--sort", "rows"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Aufruf: korbisto-cli evaluate ")));
}

TEST(CliUsage, WrongUseNamesTheWordInGermanAndShowsTheUsage) {
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        {{"evaluate", "--slip", "s.krsc", "--bogus"}, "Unbekannte Option: --bogus"},
        {{"evaluate", "--bogus=3"}, "Unbekannte Option: --bogus=3"},
        {{"evaluate", "--slip"}, "--slip braucht einen Wert."},
        {{"evaluate", "--slip", "s.krsc", "--quota"}, "--quota braucht einen Wert."},
        {{"evaluate", "--slip", "s.krsc", "--json=1"}, "--json nimmt keinen Wert."},
        {{"evaluate", "--slip", "s.krsc", "extra"}, "Unerwartete Argumente: extra"},
        {{"evaluate", "a", "--slip", "s.krsc", "b"}, "Unerwartete Argumente: a b"},
        // Of several mistakes the first one is named.
        {{"evaluate", "--json=1", "--bogus", "--slip"}, "--json nimmt keinen Wert."},
        {{"evaluate", "--bogus", "--json=1", "--slip"}, "Unbekannte Option: --bogus"},
        {{"matchday", "tag.sptag", "--verbose"}, "Unbekannte Option: --verbose"},
        {{"matchday", "tag.sptag", "--now"}, "--now braucht einen Wert."},
        {{"matchday", "tag.sptag", "--json=ja"}, "--json nimmt keinen Wert."},
        {{"matchday", "a", "b"}, "Es wird genau eine Datei erwartet."},
        {{"make-matchday", "--out", "x.sptag", "--json"}, "Unbekannte Option: --json"},
        {{"make-matchday", "--out", "x.sptag", "--pairing"}, "--pairing braucht einen Wert."},
        {{"make-matchday", "--help=1"}, "--help nimmt keinen Wert."},
        {{"make-matchday", "x.sptag"}, "Unerwartete Argumente: x.sptag"},
        {{"slip", "s.krsc", "--csv"}, "Unbekannte Option: --csv"},
        {{"slip", "s.krsc", "--format"}, "--format braucht einen Wert."},
        {{"slip", "-h=1"}, "-h nimmt keinen Wert."},
        {{"slip"}, "Es wird genau eine Datei erwartet."},
        {{"structure", "--crosses", kCrosses, "--out", "x"}, "Unbekannte Option: --out"},
        {{"structure", "--crosses"}, "--crosses braucht einen Wert."},
        {{"structure", "--crosses", kCrosses, "--json=true"}, "--json nimmt keinen Wert."},
        {{"structure", "--crosses", kCrosses, "x"}, "Unerwartete Argumente: x"},
        {{"saturdays", "--json"}, "Unbekannte Option: --json"},
        {{"full", "--crosses", kCrosses, "--out"}, "--out braucht einen Wert."},
        {{"full", "--crosses", kCrosses, "y", "z"}, "Unerwartete Argumente: y z"},
        {{"vew", "--crosses", kCrosses, "--bogus"}, "Unbekannte Option: --bogus"},
        {{"vew", "--format"}, "--format braucht einen Wert."},
        {{"vew", "--help=ja"}, "--help nimmt keinen Wert."},
        {{"import", "ok.txt", "--verbose"}, "Unbekannte Option: --verbose"},
        {{"import", "ok.txt", "--out"}, "--out braucht einen Wert."},
        {{"import", "ok.txt", "--json=1"}, "--json nimmt keinen Wert."},
        {{"import", "a", "b"}, "Es wird genau eine Datei erwartet."},
        // Only -h has one letter: other single-dash words are no options.
        {{"matchday", "-json", "tag.sptag"}, "Unbekannte Option: -json"},
        {{"slip", "s.krsc", "-help"}, "Unbekannte Option: -help"},
        {{"evaluate", "--slip", "s.krsc", "-------------"}, "Unbekannte Option: -------------"},
    };
    for (const Case& c : cases) {
        const auto r = runCli(c.args);
        EXPECT_EQ(r.exitCode, 2) << shown(c.args);
        // One line of what is wrong, one of where to read more.
        EXPECT_EQ(r.err, QString::fromUtf8(c.message) + QStringLiteral("\nMehr dazu: korbisto-cli %1 --help\n").arg(c.args.first()))
            << shown(c.args);
        EXPECT_TRUE(r.out.isEmpty()) << shown(c.args);
        EXPECT_FALSE(soundsEnglish(r.err)) << shown(c.args);
    }
}

TEST(CliUsage, ValuesThatLookLikeOptionsBelongToTheirOption) {
    test::TempDataFolder tmp;
    const QString slip = tmp.path(QStringLiteral("s.krsc"));
    test::writeSlip(slip, {"1111111111111"});
    // Thirteen dashes: a winning row without any entry.
    const auto empty = runCli({"evaluate", "--slip", slip, "--result", "-------------", "--json"});
    EXPECT_EQ(empty.exitCode, 0) << empty.err.toStdString();
    EXPECT_TRUE(empty.out.contains(QStringLiteral("\"hits\":0}")));
    const auto now = runCli({"evaluate", "--slip", slip, "--now", "-h"});
    EXPECT_EQ(now.exitCode, 2);
    EXPECT_TRUE(now.err.startsWith(QStringLiteral("--now erwartet TT.MM.JJJJ[THH:MM] oder JJJJ-MM-TT[THH:MM], nicht „-h“.")))
        << now.err.toStdString();
}

TEST(CliUsage, AnInlineValueIsTheSameAsTheNextWord) {
    test::TempDataFolder tmp;
    const QString slip = tmp.path(QStringLiteral("s.krsc"));
    test::writeSlip(slip, {"1111111111111", "2020202020202"});
    TSpieltag day;
    day.Datum = 44268.0;  // 13.03.2021
    day.Ergebnis.fill(1);
    day.Quote = {10.5, 2000, 0, 3};
    const QString matchDay = tmp.path(QStringLiteral("tag.sptag"));
    writeMatchDayFile(matchDay, day);
    const QString text = tmp.path(QStringLiteral("reihen.txt"));
    test::writeBytes(text, "1;2;0;1;2;0;1;2;0;1;2;0;1\r\nX;X;X;1;1;1;2;2;2;1;0;2;1\r\n2;2;2;2;2;2;2;2;2;2;2;2;2\r\n");

    struct Case {
        QStringList spaced;
        QStringList inlined;
    };
    const Case cases[] = {
        {{"evaluate", "--slip", slip, "--result", "1111111111110", "--quota", "I=1.234,50", "--sort", "hits", "--json"},
         {"evaluate", "--slip=" + slip, "--result=1111111111110", "--quota=I=1.234,50", "--sort=hits", "--json"}},
        {{"evaluate", "--slip", slip, "--matchday", matchDay, "--now", "20.03.2021T10:00"},
         {"evaluate", "--slip=" + slip, "--matchday=" + matchDay, "--now=20.03.2021T10:00"}},
        {{"matchday", matchDay, "--now", "20.03.2021", "--json"}, {"matchday", matchDay, "--now=20.03.2021", "--json"}},
        {{"slip", slip, "--format", "csv"}, {"slip", slip, "--format=csv"}},
        // The last of a repeated single option counts.
        {{"slip", slip, "--format", "csv"}, {"slip", slip, "--format=text", "--format", "csv"}},
        {{"structure", "--crosses", kCrosses, "--json"}, {"structure", "--crosses=" + kCrosses, "--json"}},
        {{"full", "--crosses", kCrosses, "--format", "csv"}, {"full", "--crosses=" + kCrosses, "--format=csv"}},
        {{"vew", "--crosses", "10,12,02,10,102,102,102,102,1,1,0,2,2"},
         {"vew", "--crosses=10,12,02,10,102,102,102,102,1,1,0,2,2"}},
        // Options may stand before the file as well.
        {{"import", text, "--json"}, {"import", "--json", text}},
    };
    for (const Case& c : cases) {
        const auto spaced = runCli(c.spaced);
        const auto inlined = runCli(c.inlined);
        EXPECT_EQ(spaced.exitCode, 0) << shown(c.spaced) << ": " << spaced.err.toStdString();
        EXPECT_FALSE(spaced.outBytes.isEmpty()) << shown(c.spaced);
        EXPECT_EQ(inlined.exitCode, 0) << shown(c.inlined) << ": " << inlined.err.toStdString();
        EXPECT_EQ(inlined.outBytes, spaced.outBytes) << shown(c.inlined);
    }

    const QString made = tmp.path(QStringLiteral("inline.sptag"));
    const auto r = runCli({"make-matchday", "--out=" + made, "--date=13.03.2021", "--result=1111111111111",
                           "--quotas=10,5;2000;0;3", "--pairing=A|B"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    day.Heim[0] = QStringLiteral("A");
    day.Gast[0] = QStringLiteral("B");
    EXPECT_EQ(test::readBytes(made), encodeMatchDay(day));
}
