#include "support/cli_runner.h"
#include "support/json_doc.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include "files/match_day_file.h"
#include "files/pattern_file.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {

std::string shown(const QStringList& args) { return args.join(u' ').left(200).toStdString(); }

// The files a command may read, each under a name of its own.
struct Inputs {
    explicit Inputs(const test::TempDataFolder& tmp)
        : slip(tmp.path(QStringLiteral("schein.krsc"))),
          day(tmp.path(QStringLiteral("tag.sptag"))),
          text(tmp.path(QStringLiteral("reihen.txt"))),
          pattern(tmp.path(QStringLiteral("Quick.wh13"))) {
        // By hand: a slip record may have a match without a tip.
        test::writeBytes(slip, test::slipRecord("1021021021021") + test::slipRecord("1111111111111") +
                                   test::slipRecord("102102102102-") + test::slipRecord("2222222222220"));
        TSpieltag d;
        d.Datum = 44268.0;  // 13.03.2021
        d.Ergebnis = {1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1};
        d.Quote = {1000, 0, 10, 1.5};  // rank II unoccupied
        d.Heim[0] = QStringLiteral("Kickers");
        d.Gast[0] = QStringLiteral("Borussia");
        writeMatchDayFile(day, d);
        test::writeBytes(text, "1;0;2;1;0;2;1;0;2;1;0;2;1\r\n2;2;2;2;2;2;2;2;2;2;2;2;2\r\n1;1;1;1;1;1;1;1;1;1;1;1;1\r\n");
        PatternLevels levels{};
        levels.fill(1);
        SavePattern(pattern, levels);
    }
    QString slip, day, text, pattern;
};

const QString kCrosses = QStringLiteral("102,10,1,1,1,1,1,1,1,1,1,1,2");

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

// "-" reads standard input, a pipe, wherever a command reads a file: the
// output is the file's. Text on standard output ends its lines with LF.
TEST(CliConventions, DashReadsStandardInputAsTheFile) {
    test::TempDataFolder tmp;
    const Inputs in(tmp);
    struct Case {
        QStringList args;  // "@" stands for the file
        QString file;
    };
    const Case cases[] = {
        {{"slip", "@"}, in.slip},
        {{"slip", "@", "--format", "csv"}, in.slip},
        {{"import", "@"}, in.text},
        {{"matchday", "@", "--now", "20.03.2021"}, in.day},
        {{"evaluate", "--slip", "@", "--result", "1021021021021", "--sort", "hits"}, in.slip},
        {{"evaluate", "--slip", in.slip, "--matchday", "@", "--now", "20.03.2021"}, in.day},
        {{"winplan", "--slip", "@", "--crosses", "102,102,1,1,1,1,1,1,1,1,1,1,2"}, in.slip},
        {{"chances", "--slip", "@", "--result", "10210210210--"}, in.slip},
        {{"filter", "--slip", "@", "--signs", "1=..12"}, in.slip},
        {{"cover", "--slip", "@", "--guarantee", "12"}, in.slip},
        {{"generate", "--pattern-file", "@", "--count", "5", "--seed", "3"}, in.pattern},
    };
    for (const Case& c : cases) {
        const auto named = runCli(QStringList(c.args).replaceInStrings(QStringLiteral("@"), c.file));
        const auto piped = test::runCliWithInput(QStringList(c.args).replaceInStrings(QStringLiteral("@"), QStringLiteral("-")),
                                                 test::readBytes(c.file));
        EXPECT_EQ(named.exitCode, 0) << shown(c.args) << named.err.toStdString();
        EXPECT_FALSE(named.outBytes.isEmpty()) << shown(c.args);
        EXPECT_FALSE(named.outBytes.contains('\r')) << shown(c.args);
        EXPECT_EQ(piped.exitCode, 0) << shown(c.args) << piped.err.toStdString();
        EXPECT_EQ(piped.outBytes, named.outBytes) << shown(c.args);
    }
}

// "--out -" puts the bytes of the file on standard output, in the file's own
// format (a slip's records, the window's CR LF export); nothing named "-" is made.
TEST(CliConventions, OutDashWritesTheFilesBytes) {
    test::TempDataFolder tmp;
    const Inputs in(tmp);
    const QStringList cases[] = {
        {"import", in.text},
        {"full", "--crosses", kCrosses},
        {"vew", "--crosses", "10,12,02,10,102,102,102,102,1,1,0,2,2"},
        {"reduce", "--crosses", kCrosses, "--guarantee", "12"},
        {"filter", "--crosses", kCrosses, "--run", "..10"},
        {"cover", "--crosses", kCrosses, "--guarantee", "12"},
        {"generate", "--pattern", "111,111,100,100,100,100,100,100,100,100,100,100,100", "--count", "4", "--seed", "5"},
        {"make-matchday", "--date", "2021-03-13", "--result", "1021021021021", "--quotas", "10.5;2;0;0"},
        {"make-versioninfo", "1.3.0.1"},
    };
    const QString file = tmp.path(QStringLiteral("ausgabe"));
    for (const QStringList& args : cases) {
        const auto saved = runCli(args + QStringList{"--out", file});
        ASSERT_EQ(saved.exitCode, 0) << shown(args) << saved.err.toStdString();
        const auto streamed = runCli(args + QStringList{"--out", "-"});
        EXPECT_EQ(streamed.exitCode, 0) << shown(args) << streamed.err.toStdString();
        EXPECT_EQ(streamed.outBytes, test::readBytes(file)) << shown(args);
        EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("-")))) << shown(args);
    }
}

TEST(CliConventions, TextOnStandardOutputEndsLinesWithLineFeeds) {
    const QStringList cases[] = {
        {"full", "--crosses", kCrosses},
        {"vew", "--crosses", "10,12,02,10,102,102,102,102,1,1,0,2,2", "--format", "csv"},
        {"reduce", "--crosses", kCrosses, "--guarantee", "11"},
        {"structure", "--crosses", kCrosses},
        {"saturdays", "--now", "2021-03-20"},
        {"generate", "--pattern", "111,111,100,100,100,100,100,100,100,100,100,100,100", "--count", "4"},
        {"help", "evaluate"},
        {"completion", "bash"},
    };
    for (const QStringList& args : cases) {
        const auto r = runCli(args);
        EXPECT_EQ(r.exitCode, 0) << shown(args) << r.err.toStdString();
        EXPECT_TRUE(r.outBytes.endsWith('\n')) << shown(args);
        EXPECT_FALSE(r.outBytes.contains('\r')) << shown(args);
    }
}

// Whatever is given, the tool ends with 1 or 2 and one German line (and
// where to read more), prints nothing else and makes no file.
TEST(CliBadInput, EndsWithOneClearGermanLine) {
    test::TempDataFolder tmp;
    const Inputs in(tmp);
    const QString folder = tmp.path(QStringLiteral("ordner"));
    ASSERT_TRUE(QDir().mkpath(folder));
    // As long as one argument may be (128 KB on Linux).
    const QString huge(100000, u'1');
    struct Case {
        QStringList args;
        QString redirections;
        int exitCode;
        QString message;  // the first line
    };
    const Case cases[] = {
        {{"slip", ""}, {}, 2, QStringLiteral("DATEI: Der Dateiname ist leer.")},
        {{"full", "--crosses", kCrosses, "--out="}, {}, 2, QStringLiteral("--out: Der Dateiname ist leer.")},
        {{"evaluate", "--slip", in.slip, "--result", huge}, {}, 2,
         QStringLiteral("--result braucht genau 13 Zeichen aus 0, 1, 2, X und -.")},
        {{"evaluate", "--slip", in.slip, "--now", huge}, {}, 2,
         QStringLiteral("--now erwartet TT.MM.JJJJ[THH:MM] oder JJJJ-MM-TT[THH:MM], nicht „%1…“.").arg(QString(40, u'1'))},
        {{"slip", "-"}, QStringLiteral("<&-"), 1, QStringLiteral("Standardeingabe: Sie ist geschlossen.")},
        {{"matchday", "-"}, QStringLiteral("</dev/null"), 1, QStringLiteral("Standardeingabe: Versuch hinter dem Dateiende zu lesen.")},
        {{"evaluate", "--slip", "-", "--matchday", "-"}, {}, 2,
         QStringLiteral("Nur eine Datei kann „-“ sein: die Standardeingabe lässt sich einmal lesen.")},
        {{"full", "--crosses", kCrosses}, QStringLiteral(">&-"), 1,
         QStringLiteral("Die Ausgabe ließ sich nicht schreiben: Die Standardausgabe ist geschlossen.")},
        {{"full", "--crosses", kCrosses, "--out", folder}, {}, 1,
         QStringLiteral("\"%1\": Das ist ein Ordner, keine Datei.").arg(folder)},
        {{"slip", folder}, {}, 1, QStringLiteral("\"%1\": Das ist ein Ordner, keine Datei.").arg(folder)},
        {{"slip", tmp.path(QStringLiteral("nope.krsc"))}, {}, 1,
         QStringLiteral("\"%1\": Die angegebene Datei wurde nicht gefunden.").arg(tmp.path(QStringLiteral("nope.krsc")))},
        {{"evaluate", "--slip", in.slip, "--quota", "IV=1.000.5"}, {}, 2,
         QStringLiteral("--quota IV: „1.000.5“ ist mehrdeutig: deutsch gelesen 10.005,00, mit Dezimalpunkt 1.000,50; "
                        "bitte mit Dezimalkomma schreiben.")},
        {{"evaluate", "--slip", in.slip, "--quota", "I=1.5,00"}, {}, 2,
         QStringLiteral("--quota I: In „1.5,00“ trennen die Punkte keine Tausender (je drei Ziffern); deutsch "
                        "gelesen wäre es 15,00.")},
        {{"evalute", "--slip", in.slip}, {}, 2, QStringLiteral("Unbekannter Befehl: „evalute“. Meinten Sie „evaluate“?")},
        {{"gen"}, {}, 2, QStringLiteral("Unbekannter Befehl: „gen“. Meinten Sie „generate“?")},
        {{"xyz"}, {}, 2, QStringLiteral("Unbekannter Befehl: „xyz“.")},
        {{"--verbose"}, {}, 2, QStringLiteral("Unbekannte Option: --verbose")},
        {{"help", "structur"}, {}, 2, QStringLiteral("Unbekannter Befehl: „structur“. Meinten Sie „structure“?")},
        {{"completion", "tcsh"}, {}, 2, QStringLiteral("Vervollständigung gibt es für bash, zsh und fish.")},
        {{"slip", "--format", "json", "--json", in.slip}, {}, 0, QString()},
        {{"slip", "--format", "csv", "--json", in.slip}, {}, 2, QStringLiteral("--json und --format csv widersprechen einander.")},
    };
    const QStringList before = QDir(tmp.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const Case& c : cases) {
        const auto r = test::runCliRedirected(c.args, c.redirections);
        EXPECT_EQ(r.exitCode, c.exitCode) << shown(c.args) << r.err.toStdString();
        if (c.exitCode == 0) continue;
        QStringList lines = r.err.split(u'\n');
        EXPECT_EQ(lines.takeLast(), QString()) << shown(c.args);
        EXPECT_EQ(lines.value(0), c.message) << shown(c.args);
        EXPECT_EQ(lines.size(), c.exitCode) << shown(c.args) << r.err.toStdString();
        if (c.exitCode == 2) {
            EXPECT_TRUE(lines.value(1).startsWith(QStringLiteral("Mehr dazu: korbisto-cli "))) << shown(c.args);
        }
        EXPECT_TRUE(r.outBytes.isEmpty()) << shown(c.args);
    }
    EXPECT_EQ(QDir(tmp.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

    // Bytes that are no UTF-8 still give one line that is.
    for (const QList<QByteArray>& args : {QList<QByteArray>{"evaluate", "--slip", in.slip.toUtf8(), "--now", "\xFF\xFE"},
                                          QList<QByteArray>{"slip", QFile::encodeName(tmp.root()) + "/\xFC" "ber.krsc"}}) {
        const auto r = test::runCliWithBytes(args);
        EXPECT_GE(r.exitCode, 1);
        EXPECT_LE(r.exitCode, 2);
        EXPECT_EQ(r.err.count(u'\n'), r.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.errBytes.isValidUtf8());
        EXPECT_TRUE(r.outBytes.isEmpty());
    }
}

// --now and --date take ISO 8601 beside the German form; a quota with one dot
// before one or two digits is read with a decimal point.
TEST(CliConventions, IsoDatesAndDecimalPoints) {
    test::TempDataFolder tmp;
    const Inputs in(tmp);
    struct Case {
        QStringList german;
        QStringList other;
    };
    const QStringList matchday{"matchday", in.day, "--json", "--now"};
    const QStringList evaluate{"evaluate", "--slip", in.slip, "--result", "1111111111111", "--json", "--quota"};
    const Case cases[] = {
        {matchday + QStringList{"20.03.2021"}, matchday + QStringList{"2021-03-20"}},
        {matchday + QStringList{"14.03.2021T23:59"}, matchday + QStringList{"2021-03-14T23:59"}},
        {matchday + QStringList{"14.03.2021T23:59"}, matchday + QStringList{"2021-03-14T23:59:59"}},
        {{"saturdays", "--now", "09.12.2026T12:00"}, {"saturdays", "--now", "2026-12-09T12:00"}},
        {evaluate + QStringList{"IV=10,5"}, evaluate + QStringList{"IV=10.5"}},
        {evaluate + QStringList{"IV=10,05"}, evaluate + QStringList{"IV=10.05"}},
        {evaluate + QStringList{"IV=1.000,5"}, evaluate + QStringList{"IV=1000.5"}},
        {evaluate + QStringList{"IV=1234"}, evaluate + QStringList{"IV=1.234"}},
    };
    for (const Case& c : cases) {
        const auto german = runCli(c.german);
        const auto other = runCli(c.other);
        EXPECT_EQ(german.exitCode, 0) << shown(c.german) << german.err.toStdString();
        EXPECT_EQ(other.exitCode, 0) << shown(c.other) << other.err.toStdString();
        EXPECT_EQ(other.outBytes, german.outBytes) << shown(c.other);
    }
    // The quotas show up only a whole day after; the ISO day is the same day.
    EXPECT_TRUE(runCli(matchday + QStringList{"2021-03-14T00:00"}).out.contains(QStringLiteral("\"quotas\":null")));
    EXPECT_TRUE(runCli(matchday + QStringList{"2021-03-14T00:01"}).out.contains(QStringLiteral("\"quotas\":[1000,")));
    EXPECT_TRUE(runCli(evaluate + QStringList{"IV=10.5"}).out.contains(QStringLiteral("\"quotas\":[null,null,null,10.5]")));

    const QString german = tmp.path(QStringLiteral("de.sptag"));
    const QString iso = tmp.path(QStringLiteral("iso.sptag"));
    const QStringList make{"make-matchday", "--result", "1021021021021", "--quotas"};
    ASSERT_EQ(runCli(make + QStringList{"1.000,5;10,5;0;2", "--date", "13.03.2021", "--out", german}).exitCode, 0);
    ASSERT_EQ(runCli(make + QStringList{"1000.5;10.5;0;2", "--date", "2021-03-13", "--out", iso}).exitCode, 0);
    EXPECT_EQ(test::readBytes(iso), test::readBytes(german));
}

// The completion scripts load in their shells and offer what the tables hold;
// zsh and fish are checked where they are installed.
TEST(CliCompletion, ScriptsLoadAndCompleteFromTheTables) {
    test::TempDataFolder tmp;
    test::writeBytes(tmp.path(QStringLiteral("mein schein.krsc")), test::slipRecord("1111111111111"));
    const auto shell = [&](const QString& program, const QString& script) {
        QProcess p;
        p.setWorkingDirectory(tmp.root());
        p.start(program, {QStringLiteral("-c"), script});
        p.waitForFinished(60000);
        return std::make_pair(p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
    };
    for (const char* name : {"bash", "zsh", "fish"}) {
        const QString script = tmp.path(QStringLiteral("completion.") + QLatin1String(name));
        const auto r = runCli({"completion", QLatin1String(name)});
        ASSERT_EQ(r.exitCode, 0) << name;
        test::writeBytes(script, r.outBytes);
        if (QStandardPaths::findExecutable(QLatin1String(name)).isEmpty()) continue;
        const auto syntax = shell(QLatin1String(name), QStringLiteral("%1 -n '%2'").arg(QLatin1String(name), script));
        EXPECT_EQ(syntax, std::make_pair(0, QString())) << name;
    }
    struct Case {
        QString words;  // what is typed, the last word being completed
        QString offered;
    };
    const Case cases[] = {
        {QStringLiteral("korbisto-cli eva"), QStringLiteral("evaluate")},
        {QStringLiteral("korbisto-cli evaluate --so"), QStringLiteral("--sort")},
        {QStringLiteral("korbisto-cli evaluate --sort ''"), QStringLiteral("hits")},
        {QStringLiteral("korbisto-cli reduce --guarantee 1"), QStringLiteral("12 11 10")},
        {QStringLiteral("korbisto-cli reduce --format = c"), QStringLiteral("csv")},
        {QStringLiteral("korbisto-cli evaluate --slip mein"), QStringLiteral("mein schein.krsc")},
        {QStringLiteral("korbisto-cli help make"), QStringLiteral("make-matchday make-versioninfo")},
        {QStringLiteral("korbisto-cli completion ''"), QStringLiteral("bash zsh fish")},
        {QStringLiteral("korbisto-cli evaluate --now ''"), QString()},
    };
    for (const Case& c : cases) {
        const auto r = shell(QStringLiteral("bash"),
                             QStringLiteral("source completion.bash && complete -p korbisto-cli && COMP_WORDS=(%1) && "
                                            "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && _korbisto_cli; "
                                            "IFS=' '; echo \"${COMPREPLY[*]}\"")
                                 .arg(c.words));
        EXPECT_EQ(r.first, 0) << c.words.toStdString();
        EXPECT_EQ(r.second, QStringLiteral("complete -F _korbisto_cli korbisto-cli\n") + c.offered + u'\n')
            << c.words.toStdString();
    }
}

// Each command's JSON against its description in docs/json.md: every key
// there, of its type, and nothing else; runs enough to meet every key.
TEST(CliJsonDoc, EveryCommandWritesWhatTheDocumentSays) {
    test::TempDataFolder tmp;
    const Inputs in(tmp);
    const QString& slip = in.slip;
    const QString& matchDay = in.day;
    const QString vew = tmp.path(QStringLiteral("vew.krsc"));
    ASSERT_EQ(runCli({"vew", "--crosses", "102,102,102,102,1,1,1,1,1,1,1,1,1", "--out", vew}).exitCode, 0);
    // A cell that is no tip, for the list of them.
    const QString text = tmp.path(QStringLiteral("anders.txt"));
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
