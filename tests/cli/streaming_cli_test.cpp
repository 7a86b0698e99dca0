#include "support/cli_runner.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include "core/bet_model.h"
#include "core/german.h"
#include "files/slip_file.h"
#include "systems/cross_sheet.h"
#include "systems/full_system.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

using namespace korbisto;
using test::runCli;

namespace {

const QString kResult = QStringLiteral("1021021021021");

// 70,000 rows over several read blocks: all tips mixed, now and then a match
// without a tip, and some rows whose first match has none (no tip rows).
QByteArray mixedSlip() {
    std::mt19937 random(1302);
    QByteArray bytes;
    for (int r = 0; r < 70000; ++r) {
        QByteArray record(TScheinOffen::kSize, '\0');
        for (int m = 0; m < kMatches; ++m) {
            const unsigned pick = random() % 40;
            if (pick == 0 || (m == 0 && r % 997 == 5)) continue;
            record[1 + 3 * m + static_cast<int>(pick % 3)] = static_cast<char>(pick % 3 == 2 ? 0xFF : 1);
        }
        bytes += record;
    }
    return bytes;
}

// The window's evaluation of the slip, and the rows as the old text output
// of the tool wrote them, cell by cell through QString.
QString handBuiltText(BetModel& model) {
    QString s;
    const TipTable& t = model.table();
    for (int r = 1; r < t.rowCount(); ++r) {
        s += t.cellText(r, 0).rightJustified(5) + u' ';
        for (int m = 1; m <= kMatches; ++m) s += t.cellText(r, m).rightJustified(3);
        s += t.cellText(r, TipTable::kHitColumn).rightJustified(9) + u'\n';
    }
    return s;
}

class CliStreaming : public ::testing::Test {
protected:
    CliStreaming() {
        slip = tmp.path(QStringLiteral("gemischt.krsc"));
        test::writeBytes(slip, mixedSlip());
    }
    void evaluate(BetModel& model, bool sorted) {
        model.setInstantEvaluation(false);
        SpielscheinEinlesen(model.rows(), slip);
        test::setWinningRow(model, kResult.toLatin1().constData());
        model.evaluate();
        if (sorted) model.sortByHits();
    }

    test::TempDataFolder tmp;
    QString slip;
};

}  // namespace

TEST_F(CliStreaming, LargeOutputsAreTheRowsAsTheLibraryGivesThem) {
    TipTable table;
    readSlipFile(slip, table);
    for (const char* format : {"text", "csv"}) {
        const auto r = runCli({"slip", slip, "--format", QString::fromLatin1(format)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        // The lines of the export, ended as text on standard output is.
        EXPECT_TRUE(r.outBytes == exportRowsText(table, format[0] == 't' ? u',' : u';').toUtf8().replace("\r\n", "\n"))
            << format;
    }

    for (const bool sorted : {false, true}) {
        QStringList args{"evaluate", "--slip", slip, "--result", kResult};
        if (sorted) args << "--sort" << "hits";
        const auto r = runCli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        BetModel model;
        evaluate(model, sorted);
        const qsizetype rowsStart = r.out.indexOf(QStringLiteral("Richtig\n")) + 8;
        const qsizetype rowsEnd = r.out.indexOf(QStringLiteral("\nGKl."));
        // Compared whole, without printing 3.8 MB on a failure.
        EXPECT_TRUE(r.out.mid(rowsStart, rowsEnd - rowsStart) == handBuiltText(model)) << sorted;
        EXPECT_TRUE(r.out.contains(QStringLiteral("\nI   %1").arg(model.results()->rank(1).count, 9)));
    }
}

TEST_F(CliStreaming, JsonRowsAreTheLibrarysRows) {
    const auto r = runCli({"evaluate", "--slip", slip, "--result", kResult, "--json", "--sort", "hits"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    BetModel model;
    evaluate(model, true);
    QByteArray rows;
    const TipTable& t = model.table();
    for (int n = 1; n < t.rowCount(); ++n) {
        if (n > 1) rows += ',';
        rows += "{\"number\":" + QByteArray::number(t.number(n)) + ",\"tips\":\"";
        for (int m = 1; m <= kMatches; ++m) rows += t.cellEmpty(n, m) ? QByteArray("-") : t.cellText(n, m).toUtf8();
        rows += "\",\"hits\":" + (t.cellEmpty(n, 14) ? QByteArray("null") : QByteArray::number(t.hits(n))) + '}';
    }
    EXPECT_TRUE(r.outBytes.contains(",\"rows\":[" + rows + "],\"ranks\":["));
}

TEST(CliStreamingSystems, TheFullSystemComesOutAsItIsDeveloped) {
    test::TempDataFolder tmp;
    const QString crosses = QStringLiteral("10,12,102,102,102,102,102,102,102,1,2,0,1");  // 2^2 × 3^7 = 8,748 rows
    CrossSheet sheet;
    const QStringList groups = crosses.split(u',');
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (groups[m - 1].contains(QChar(u"?102"[c]))) sheet.toggle(m, c);
    const TipTable rows = expandFullSystem(sheet.structure());
    const auto text = runCli({"full", "--crosses", crosses, "--format", "csv"});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.outBytes == exportRowsText(rows, u';').toUtf8().replace("\r\n", "\n"));
    const QString out = tmp.path(QStringLiteral("voll.krsc"));
    ASSERT_EQ(runCli({"full", "--crosses", crosses, "--out", out}).exitCode, 0);
    EXPECT_TRUE(test::readBytes(out) == encodeSlip(rows));
}

// What cannot be written ends the command with exit code 1 and says why; a
// reader that has had enough ends it at once and quietly, as `| head` wants.
TEST_F(CliStreaming, AFullDiskIsAnErrorAGoneReaderEndsQuietly) {
    const QStringList commands[] = {
        {"slip", slip},
        {"evaluate", "--slip", slip, "--result", kResult},
        {"evaluate", "--slip", slip, "--result", kResult, "--json"},
        {"full", "--crosses", "102,102,102,102,102,102,102,102,102,102,1,1,1"},
    };
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const auto full = test::runCliInto(args, QStringLiteral("/dev/full"));
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_EQ(full.err, QStringLiteral("Die Ausgabe ließ sich nicht schreiben: Disk voll\n"));

        const auto gone = test::runCliReadingOnly(args, 100);
        EXPECT_EQ(gone.exitCode, 0);
        EXPECT_EQ(gone.err, QString());
        EXPECT_EQ(gone.outBytes.size(), 100);
    }
    // Help and small answers are held to the same rule.
    EXPECT_EQ(test::runCliInto({"slip", "--help"}, QStringLiteral("/dev/full")).exitCode, 1);
    EXPECT_EQ(test::runCliInto({"--help"}, QStringLiteral("/dev/full")).exitCode, 1);
}

TEST(CliStreamingLimits, ASlipOfTooManyRecordsIsRefusedAtOnce) {
    test::TempDataFolder tmp;
    const QString path = tmp.path(QStringLiteral("riesig.krsc"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(40LL * (kMaxSlipRows + 1)));  // sparse: costs no disk
    f.close();
    for (const QStringList& args : {QStringList{"slip", path}, QStringList{"evaluate", "--slip", path, "--sort", "hits"}}) {
        const auto r = runCli(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("\"%1\": Die Datei ist zu groß für einen Spielschein").arg(path)))
            << r.err.toStdString();
        EXPECT_TRUE(r.outBytes.isEmpty());
    }
}

TEST(CliStreamingText, TeamNamesNeverReachTheTerminalAsCommands) {
    test::TempDataFolder tmp;
    const QString day = tmp.path(QStringLiteral("tag.sptag"));
    const auto made = runCli({"make-matchday", "--out", day, "--date", "13.03.2021", "--result", "1111111111111",
                              "--pairing", QStringLiteral("\x1b]0;Titel\x07|\x1b[2JGast\x7f")});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const auto text = runCli({"matchday", day});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_FALSE(text.outBytes.contains('\x1b'));
    EXPECT_FALSE(text.outBytes.contains('\x07'));
    EXPECT_FALSE(text.outBytes.contains('\x7f'));
    EXPECT_TRUE(text.out.contains(QStringLiteral("␛]0;Titel␇ - ␛[2JGast␡"))) << text.out.toStdString();
    // As JSON they are escaped, as every control character is.
    const auto json = runCli({"matchday", day, "--json"});
    EXPECT_TRUE(json.outBytes.contains(R"({"home":"\u001b]0;Titel\u0007","away":"\u001b[2JGast)"));

    const auto twoBars = runCli({"make-matchday", "--out", day, "--date", "13.03.2021", "--result", "1111111111111",
                                 "--pairing", "A|B|C"});
    EXPECT_EQ(twoBars.exitCode, 2);
    EXPECT_TRUE(twoBars.err.startsWith(QStringLiteral("--pairing erwartet HEIM|GAST."))) << twoBars.err.toStdString();
}
