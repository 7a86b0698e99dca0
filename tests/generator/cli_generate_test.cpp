#include "support/cli_runner.h"
#include "support/test_env.h"

#include "files/pattern_file.h"
#include "generator/generator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace korbisto;
using test::runCli;

namespace {

const QString kPattern = QStringLiteral("310,111,003,111,120,111,102,111,111,021,111,111,333");

PatternLevels levelsOf(const QString& spec) {
    PatternLevels levels{};
    const QStringList groups = spec.split(u',');
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            levels[static_cast<size_t>(outcomeIndex(m, c))] = groups[m - 1][c - 1].digitValue();
    return levels;
}

// The library's run for the seed, its rows as export lines.
QStringList libraryRows(const QString& spec, int count, std::uint32_t seed) {
    GeneratorRun run(levelsOf(spec), count, countingSeeds(seed));
    run.finish();
    QStringList lines;
    for (const auto& tips : run.rows()) {
        QStringList cells;
        for (const std::uint8_t code : tips) cells << QString::fromLatin1(TippText[code]);
        lines << cells.join(u',');
    }
    return lines;
}

}  // namespace

TEST(GenerateCli, RowsAreTheLibrarysForTheSeedInEveryFormat) {
    const QStringList expected = libraryRows(kPattern, 500, 1234);
    ASSERT_EQ(expected.size(), 500);
    const QStringList base{"generate", "--pattern", kPattern, "--count", "500", "--seed", "1234"};

    const auto text = runCli(base);
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out, expected.join(u'\n') + u'\n');
    const auto csv = runCli(base + QStringList{"--format", "csv"});
    EXPECT_EQ(csv.out, expected.join(u'\n').replace(u',', u';') + u'\n');

    // The file is the window's export: CR LF after every line, 27 bytes a row.
    test::TempDataFolder tmp;
    const QString file = tmp.path(QStringLiteral("Tipps.txt"));
    const auto saved = runCli(base + QStringList{"--out", file});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_TRUE(saved.outBytes.isEmpty());
    const QByteArray bytes = test::readBytes(file);
    EXPECT_EQ(bytes.size(), 500 * 27);
    EXPECT_EQ(bytes, (expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());

    // More rows than go to the file at once, and the csv twin.
    const QStringList many = libraryRows(kPattern, 9000, 77);
    const auto large = runCli(
        {"generate", "--pattern", kPattern, "--count", "9000", "--seed", "77", "--format", "csv", "--out", file});
    ASSERT_EQ(large.exitCode, 0) << large.err.toStdString();
    QString csvFile = many.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    EXPECT_TRUE(test::readBytes(file) == csvFile.replace(u',', u';').toLatin1());

    const auto json = runCli(base + QStringList{"--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.outBytes).object();
    EXPECT_EQ(o["combinations"].toInt(), 3 * 2 * 1 * 3 * 2 * 3 * 2 * 3 * 3 * 2 * 3 * 3 * 3);
    EXPECT_EQ(o["zw"].toInt(), 4);
    EXPECT_EQ(o["dw"].toInt(), 8);
    EXPECT_EQ(o["bankers"].toInt(), 1);
    EXPECT_GE(o["attempts"].toInt(), 500);
    EXPECT_FALSE(o["stopped"].toBool());
    // The same rows as 13 characters each.
    QStringList rows;
    for (const QJsonValue& row : o["rows"].toArray()) rows << row.toString();
    EXPECT_EQ(rows, QStringList(expected).replaceInStrings(QStringLiteral(","), QString()));
    // Per match the counts of "1", "0" and "2", which add up to the rows.
    const QJsonArray counts = o["counts"].toArray();
    ASSERT_EQ(counts.size(), kMatches);
    EXPECT_EQ(counts[2].toArray(), (QJsonArray{0, 0, 500}));
    for (int m = 0; m < kMatches; ++m) {
        const QJsonArray c = counts[m].toArray();
        EXPECT_EQ(c[0].toInt() + c[1].toInt() + c[2].toInt(), 500) << m;
        int ones = 0;
        for (const QString& row : expected) ones += row[2 * m] == u'1' ? 1 : 0;
        EXPECT_EQ(c[0].toInt(), ones) << m;
    }
}

TEST(GenerateCli, APatternFromItsFileAndARunThatCanGoNoFurther) {
    test::TempDataFolder tmp;
    const QString file = tmp.path(QStringLiteral("Quick.wh13"));
    SavePattern(file, levelsOf(kPattern));
    const auto fromFile = runCli({"generate", "--pattern-file", file, "--count", "50", "--seed", "9"});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err.toStdString();
    EXPECT_EQ(fromFile.out, libraryRows(kPattern, 50, 9).join(u'\n') + u'\n');

    // Thirteen bankers: one row, then the run ends by itself.
    const QString bankers = QStringLiteral("010,010,010,010,010,010,010,010,010,010,010,010,001");
    const auto one = runCli({"generate", "--pattern", bankers, "--format", "json"});
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(one.outBytes).object();
    EXPECT_TRUE(o["stopped"].toBool());
    EXPECT_EQ(o["rows"].toArray(), (QJsonArray{"0000000000002"}));
    EXPECT_EQ(o["combinations"].toInt(), 1);
    EXPECT_EQ(o["bankers"].toInt(), 13);
}

TEST(GenerateCli, WrongPatternsAndOptions) {
    const auto missing = runCli({"generate", "--pattern", "111,111,111,000,111,111,111,111,000,111,111,111,111"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err,
              QStringLiteral("Sie müssen für Spiel 4 eine Auswahl treffen.\n\nIch breche erst einmal ab.\n"));
    EXPECT_TRUE(missing.outBytes.isEmpty());

    const QStringList usage[] = {
        {"generate"},
        {"generate", "--pattern", kPattern, "--pattern-file", "Quick.wh13"},
        {"generate", "--pattern", "111,111"},
        {"generate", "--pattern", "111,111,111,111,111,111,111,111,111,111,111,111,114"},
        {"generate", "--pattern", "111,111,111,111,111,111,111,111,111,111,111,111,11"},
        {"generate", "--pattern", kPattern, "--count", "-1"},
        {"generate", "--pattern", kPattern, "--count", "12a"},
        {"generate", "--pattern", kPattern, "--seed", "4294967296"},
        {"generate", "--pattern", kPattern, "--format", "xml"},
        {"generate", "--pattern", kPattern, "--format", "json", "--out", "x.txt"},
    };
    for (const QStringList& args : usage) {
        const auto r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.outBytes.isEmpty());
    }
}
