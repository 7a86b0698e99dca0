#include "generator/generator.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <set>

using namespace korbisto;

namespace {

// Levels per match as "310" for "1" at Fav III, "0" at Fav I , "2" out.
PatternLevels pattern(const std::array<const char*, kMatches>& matches) {
    PatternLevels levels{};
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            levels[static_cast<size_t>(outcomeIndex(m, c))] = matches[static_cast<size_t>(m - 1)][c - 1] - '0';
    return levels;
}

PatternLevels everyMatch(const char* levels) {
    std::array<const char*, kMatches> matches;
    matches.fill(levels);
    return pattern(matches);
}

GeneratorRun finished(const PatternLevels& levels, int requested, std::uint32_t seed) {
    GeneratorRun run(levels, requested, countingSeeds(seed));
    run.finish();
    return run;
}

}  // namespace

TEST(Generator, TheRandomNumbersAreTheThirtyTwoBitGenerator) {
    // Worked out by hand from seed := seed * 134775813 + 1 and the upper half of seed * n.
    Lcg lcg;
    lcg.reseed(0x12345678);
    const std::pair<std::uint32_t, std::uint32_t> expected[] = {{3, 2}, {9, 4}, {2, 1}, {1, 0}, {3, 2}, {6, 5}};
    for (const auto& [n, value] : expected) EXPECT_EQ(lcg.draw(n), value) << n;
    EXPECT_EQ(lcg.seed(), 3801050490u);
    lcg.reseed(0xFFFFFFFF);
    EXPECT_EQ(lcg.draw(9), 8u);
    EXPECT_EQ(lcg.seed(), 4160191484u);

    const SeedSource seeds = countingSeeds(0xFFFFFFFE);
    EXPECT_EQ(seeds(), 0xFFFFFFFEu);
    EXPECT_EQ(seeds(), 0xFFFFFFFFu);
    EXPECT_EQ(seeds(), 0u);
}

TEST(Generator, PositionsAndCounts) {
    EXPECT_STREQ(PositionText(1), "1");
    EXPECT_STREQ(PositionText(2), "0");
    EXPECT_STREQ(PositionText(3), "2");
    EXPECT_STREQ(PositionText(38), "0");
    EXPECT_STREQ(PositionText(39), "2");

    struct Case {
        PatternLevels levels;
        int combinations, zw, dw, bankers;
    } cases[] = {
        {PatternLevels{}, 1, 0, 0, 0},
        {everyMatch("123"), 1594323, 0, 13, 0},
        {everyMatch("030"), 1, 0, 0, 13},
        {pattern({"310", "111", "003", "220", "000", "101", "010", "333", "100", "020", "002", "011", "300"}), 144, 4,
         2, 6},
    };
    for (const Case& c : cases) {
        const PatternCounts counts = countPattern(c.levels);
        EXPECT_EQ(counts.combinations, c.combinations);
        EXPECT_EQ(counts.zw, c.zw);
        EXPECT_EQ(counts.dw, c.dw);
        EXPECT_EQ(counts.bankers, c.bankers);
    }
}

TEST(Generator, APatternWithAMatchLeftOutIsRefusedNamingTheLowest) {
    std::array<const char*, kMatches> matches;
    matches.fill("100");
    matches[3] = "000";
    matches[8] = "000";
    const PatternLevels levels = pattern(matches);
    EXPECT_EQ(firstMatchWithoutSelection(levels), 4);
    EXPECT_EQ(firstMatchWithoutSelection(everyMatch("001")), std::nullopt);
    try {
        GeneratorRun run(levels, 120, countingSeeds(1));
        FAIL() << "no refusal";
    } catch (const KorbistoError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Sie müssen für Spiel 4 eine Auswahl treffen.\n\nIch breche erst einmal ab."));
    }
}

TEST(Generator, OutcomesAreDrawnByTheirLevels) {
    // Match 1 at Fav III for "1", Fav I  for "0", "2" out: three in four rows
    // have "1". The seeds are fixed, so the tolerance is no matter of luck; it
    // is six standard deviations wide.
    std::array<const char*, kMatches> matches;
    matches.fill("111");
    matches[0] = "310";
    const GeneratorRun run = finished(pattern(matches), 20000, 4711);
    ASSERT_EQ(run.rows().size(), 20000u);
    const OutcomeCounts counts = run.outcomeCounts();
    EXPECT_NEAR(counts[0], 15000, 370);
    EXPECT_NEAR(counts[1], 5000, 370);
    EXPECT_EQ(counts[2], 0);
    for (int m = 2; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c) EXPECT_NEAR(counts[static_cast<size_t>(outcomeIndex(m, c))], 6667, 400) << m << c;
    for (int m = 1; m <= kMatches; ++m) {
        int sum = 0;
        for (int c = 1; c <= 3; ++c) sum += counts[static_cast<size_t>(outcomeIndex(m, c))];
        EXPECT_EQ(sum, 20000) << m;
    }

    // Equal levels are equal chances, whatever the level: the very same rows.
    EXPECT_EQ(finished(everyMatch("111"), 500, 99).rows(), finished(everyMatch("222"), 500, 99).rows());
}

TEST(Generator, TheRowsAreThoseOfTheListScanAndAllDistinct) {
    // The run as the text describes it: a row text per attempt, kept when no
    // line of the list equals it.
    const PatternLevels levels =
        pattern({"111", "210", "003", "111", "120", "111", "102", "111", "030", "111", "111", "321", "011"});
    const std::uint32_t start = 20261209;
    const int requested = 3000;
    QStringList list;
    Lcg lcg;
    std::uint32_t seed = start;
    long long attempts = 0;
    while (list.size() < requested) {
        lcg.reseed(seed++);
        ++attempts;
        QStringList tips;
        for (int m = 0; m < kMatches; ++m) {
            QList<int> pool;
            for (int c = 1; c <= 3; ++c)
                for (int l = 0; l < levels[static_cast<size_t>(3 * m + c - 1)]; ++l) pool << 3 * m + c;
            tips << QString::fromLatin1(
                PositionText(pool[static_cast<qsizetype>(lcg.draw(static_cast<std::uint32_t>(pool.size())))]));
        }
        const QString row = tips.join(u',');
        if (!list.contains(row)) list << row;
    }

    const GeneratorRun run = finished(levels, requested, start);
    EXPECT_EQ(run.state(), GeneratorRun::State::Reached);
    EXPECT_EQ(run.attempts(), attempts);
    const TipTable table = run.table();
    ASSERT_EQ(table.dataRowCount(), requested);
    for (int r = 1; r <= requested; ++r) {
        QStringList tips;
        for (int m = 1; m <= kMatches; ++m) tips << table.cellText(r, m);
        ASSERT_EQ(tips.join(u','), list[r - 1]) << r;
        ASSERT_EQ(table.number(r), r);
    }
    EXPECT_GT(attempts, requested) << "3,000 of 34,992 rows, and some drawn twice";
}

TEST(Generator, ARunEndsByItselfOnceEveryCombinationIsDrawn) {
    // Thirteen bankers allow one row: it is drawn, then nothing new can come.
    const GeneratorRun bankers = finished(everyMatch("020"), 120, 1);
    EXPECT_EQ(bankers.state(), GeneratorRun::State::Exhausted);
    ASSERT_EQ(bankers.rows().size(), 1u);
    EXPECT_EQ(bankers.attempts(), 1);

    // A request of 0 is never reached: every one of the 4 rows, then the end.
    std::array<const char*, kMatches> matches;
    matches.fill("100");
    matches[5] = "011";
    matches[12] = "110";
    const GeneratorRun all = finished(pattern(matches), 0, 77);
    EXPECT_EQ(all.state(), GeneratorRun::State::Exhausted);
    EXPECT_EQ(std::set(all.rows().begin(), all.rows().end()).size(), 4u);

    // Exactly as many as there are is a request reached.
    EXPECT_EQ(finished(pattern(matches), 4, 77).state(), GeneratorRun::State::Reached);
}

TEST(Generator, ARunAdvancesInSlicesAndStopsWhenAsked) {
    GeneratorRun run(everyMatch("111"), 99999, clockSeeds());
    EXPECT_TRUE(run.running());
    run.advance(std::chrono::nanoseconds(0));  // one batch, however short the slice
    const size_t drawn = run.rows().size();
    EXPECT_GT(drawn, 0u);
    EXPECT_TRUE(run.running());
    run.stop();
    EXPECT_EQ(run.state(), GeneratorRun::State::Stopped);
    EXPECT_FALSE(run.advance(std::chrono::milliseconds(10)));
    run.finish();
    EXPECT_EQ(run.rows().size(), drawn);  // the rows so far are kept, nothing more is drawn
    EXPECT_EQ(std::set(run.rows().begin(), run.rows().end()).size(), drawn);
}
