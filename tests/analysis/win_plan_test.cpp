#include "analysis/win_plan.h"

#include "systems/cross_sheet.h"
#include "systems/full_system.h"
#include "systems/vew_catalogue.h"
#include "systems/vew_expansion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace korbisto;

namespace {

// Every result against every row.
WinPlan bruteForce(const TipTable& rows, const std::vector<RowTips>& results) {
    std::map<RankCounts, std::int64_t> classes;
    WinPlan plan;
    for (const RowTips& result : results) {
        RankCounts counts{};
        for (const TipTable::Row& row : rows.rows()) {
            if (row.tips[0] == kTipEmpty) continue;
            int wrong = 0;
            for (size_t m = 0; m < kMatches; ++m) wrong += row.tips[m] != result[m] ? 1 : 0;
            if (wrong <= 3) ++counts[static_cast<size_t>(wrong)];
        }
        ++classes[counts];
        ++plan.results;
    }
    plan.guaranteedRank = results.empty() ? 0 : 1;
    for (auto it = classes.rbegin(); it != classes.rend(); ++it) {
        plan.classes.push_back({it->first, it->second});
        int best = 0;
        for (int k = kRanks; k >= 1; --k)
            if (it->first[static_cast<size_t>(k - 1)] > 0) best = k;
        plan.guaranteedRank = best == 0 || plan.guaranteedRank == 0 ? 0 : std::max(plan.guaranteedRank, best);
    }
    return plan;
}

// Every result the crosses allow.
std::vector<RowTips> resultsOf(const OutcomeCrosses& crosses) {
    std::array<std::vector<std::uint8_t>, kMatches> outcomes;
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (crosses[static_cast<size_t>(outcomeIndex(m, c))])
                outcomes[static_cast<size_t>(m - 1)].push_back(static_cast<std::uint8_t>(c));
    std::vector<RowTips> results;
    std::array<size_t, kMatches> at{};
    for (;;) {
        RowTips& result = results.emplace_back();
        for (size_t m = 0; m < kMatches; ++m) result[m] = outcomes[m][at[m]];
        int m = kMatches - 1;
        while (m >= 0 && ++at[static_cast<size_t>(m)] == outcomes[static_cast<size_t>(m)].size())
            at[static_cast<size_t>(m--)] = 0;
        if (m < 0) return results;
    }
}

WinPlan bruteForce(const TipTable& rows, const OutcomeCrosses& crosses) { return bruteForce(rows, resultsOf(crosses)); }

void expectSamePlan(const WinPlan& got, const WinPlan& expected, int round) {
    EXPECT_EQ(got.results, expected.results) << round;
    EXPECT_EQ(got.guaranteedRank, expected.guaranteedRank) << round;
    ASSERT_EQ(got.classes.size(), expected.classes.size()) << round;
    for (size_t i = 0; i < got.classes.size(); ++i) {
        EXPECT_EQ(got.classes[i].ranks, expected.classes[i].ranks) << round << " class " << i;
        EXPECT_EQ(got.classes[i].results, expected.classes[i].results) << round << " class " << i;
    }
}

OutcomeCrosses crossesOf(const CrossSheet& sheet) {
    OutcomeCrosses crosses{};
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c) crosses[static_cast<size_t>(outcomeIndex(m, c))] = sheet.crossed(m, c);
    return crosses;
}

}  // namespace

TEST(WinPlan, IsTheBruteForceOnRandomRowsAndSheets) {
    std::mt19937 random(13);
    for (int round = 0; round < 60; ++round) {
        // Up to seven matches with more than one cross, the others bankers.
        OutcomeCrosses crosses{};
        const int multi = static_cast<int>(random() % 8);
        for (int m = 1; m <= kMatches; ++m) {
            const unsigned kind = m <= multi ? 1 + random() % 6 : 0;
            const std::array<std::array<bool, 3>, 7> patterns{{{true, false, false},
                                                               {true, true, false},
                                                               {true, false, true},
                                                               {false, true, true},
                                                               {true, true, true},
                                                               {true, true, true},
                                                               {false, true, false}}};
            const auto& pattern = patterns[m <= multi ? kind : random() % 3 == 0 ? 6 : 0];
            for (int c = 1; c <= 3; ++c)
                crosses[static_cast<size_t>(outcomeIndex(m, c))] = pattern[static_cast<size_t>(c - 1)];
        }
        // Rows near the crosses, some tips outside them, some cells empty or odd.
        TipTable rows;
        const int n = 1 + static_cast<int>(random() % 40);
        for (int r = 0; r < n; ++r) {
            std::array<std::uint8_t, kMatches> tips{};
            for (int m = 0; m < kMatches; ++m) {
                const unsigned pick = random() % 20;
                tips[static_cast<size_t>(m)] =
                    static_cast<std::uint8_t>(pick == 0   ? 0u
                                              : pick == 1 ? 4u
                                                          : 1 + random() % 3);  // empty, other, a tip
            }
            if (r % 7 == 3) tips[0] = kTipEmpty;  // no tip row
            rows.appendRow(r + 1, tips);
        }
        const WinPlan expected = bruteForce(rows, crosses);
        expectSamePlan(*winPlan(rows, crosses), expected, round);
        // The same rows a few at a time: a tip outside the crosses that comes
        // late widens the space counted so far.
        WinPlanCount count(crosses);
        for (int first = 0; first < n;) {
            const int size = 1 + static_cast<int>(random() % 6);
            TipTable block;
            for (int r = first; r < std::min(n, first + size); ++r)
                block.appendRow(r + 1, rows.rows()[static_cast<size_t>(r)].tips);
            count.add(block);
            first += size;
        }
        expectSamePlan(*count.finish(), expected, round);
    }
    EXPECT_EQ(winPlan(TipTable(), OutcomeCrosses{}), std::nullopt);
}

TEST(WinPlan, OverChosenResultsIsTheBruteForceOverThem) {
    std::mt19937 random(26);
    for (int round = 0; round < 40; ++round) {
        // Results on up to six matches that vary, some drawn twice, in no
        // order; now and then one far from the others.
        const int varying = 1 + static_cast<int>(random() % 6);
        RowTips base;
        for (std::uint8_t& tip : base) tip = static_cast<std::uint8_t>(1 + random() % 3);
        std::vector<RowWord> results;
        const int n = static_cast<int>(random() % 30);
        for (int i = 0; i < n; ++i) {
            RowTips tips = base;
            for (int m = 0; m < varying; ++m) tips[static_cast<size_t>(m * 2)] = static_cast<std::uint8_t>(1 + random() % 3);
            if (random() % 10 == 0) tips[12] = static_cast<std::uint8_t>(1 + random() % 3);
            results.push_back(*wordOfTips(tips));
            if (random() % 5 == 0) results.push_back(results[random() % results.size()]);
        }
        // Rows near them, some with tips no result has, some no tip rows.
        TipTable rows;
        for (int r = 0; r < 1 + static_cast<int>(random() % 25); ++r) {
            RowTips tips = base;
            for (std::uint8_t& tip : tips)
                if (random() % 4 == 0) tip = static_cast<std::uint8_t>(random() % 12 == 0 ? 4 : 1 + random() % 3);
            if (r % 9 == 4) tips[0] = kTipEmpty;
            rows.appendRow(r + 1, tips);
        }
        std::vector<RowWord> distinct = results;
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        std::vector<RowTips> expected;
        for (const RowWord w : distinct) expected.push_back(tipsOfWord(w));
        expectSamePlan(*winPlanOver(rows, results), bruteForce(rows, expected), round);
    }

    // All results of the crosses: the plan over the crosses.
    OutcomeCrosses crosses{};
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= (m <= 3 ? 3 : m <= 5 ? 2 : 1); ++c) crosses[static_cast<size_t>(outcomeIndex(m, c))] = true;
    std::vector<RowWord> all;
    for (const RowTips& result : resultsOf(crosses)) all.push_back(*wordOfTips(result));
    TipTable rows;
    rows.appendRow(1, tipsOfWord(all[5]));
    rows.appendRow(2, tipsOfWord(all[70]));
    expectSamePlan(*winPlanOver(rows, all), *winPlan(rows, crosses), -1);
    // None: nothing is sure.
    const WinPlan none = *winPlanOver(rows, {});
    EXPECT_EQ(none.results, 0);
    EXPECT_TRUE(none.classes.empty());
    EXPECT_EQ(none.guaranteedRank, 0);
    const std::atomic<bool> stop{true};
    EXPECT_EQ(winPlanOver(rows, all, &stop), std::nullopt);
}

TEST(WinPlan, SystemsKeepTheirPromises) {
    // Every VEW system on its own structure guarantees rank II, over as many
    // results as its full system has rows.
    for (int number = 1; number <= kVewSysteme; ++number) {
        const VewEintrag& entry = vewEintrag(number);
        CrossSheet sheet;
        int m = 1;
        for (int i = 0; i < entry.DW; ++i, ++m)
            for (int c = 1; c <= 3; ++c) sheet.toggle(m, c);
        for (int i = 0; i < entry.ZW; ++i, ++m) {
            sheet.toggle(m, 1);
            sheet.toggle(m, 2);
        }
        for (; m <= kMatches; ++m) sheet.toggle(m, 1);
        const std::optional<TipTable> rows = expandVew(sheet.structure(), number);
        ASSERT_TRUE(rows) << number;
        const WinPlan plan = *winPlan(*rows, crossesOf(sheet));
        EXPECT_EQ(plan.guaranteedRank, 2) << number;
        std::int64_t results = 0;
        for (const WinPlanClass& c : plan.classes) results += c.results;
        EXPECT_EQ(results, fullSystemRowCount(sheet.structure())) << number;
        EXPECT_EQ(plan.results, results) << number;
        const auto byBest = resultsByBestRank(plan);
        EXPECT_EQ(byBest[0] + byBest[1], results) << number;
        EXPECT_EQ(byBest[2] + byBest[3] + byBest[4], 0) << number;
        if (number == 2) {
            EXPECT_EQ(byBest, (std::array<std::int64_t, 5>{9, 72, 0, 0, 0}));
            ASSERT_EQ(plan.classes.size(), 2u);
            EXPECT_EQ(plan.classes[0].ranks, (RankCounts{1, 0, 0, 8}));
            EXPECT_EQ(plan.classes[0].results, 9);
            EXPECT_EQ(plan.classes[1].ranks, (RankCounts{0, 1, 3, 3}));
            EXPECT_EQ(plan.classes[1].results, 72);
        }
    }

    // A full system: one class, every result exactly once in rank I.
    CrossSheet sheet;
    for (int m = 1; m <= kMatches; ++m) {
        sheet.toggle(m, 1);
        if (m <= 4) sheet.toggle(m, 2);
        if (m <= 2) sheet.toggle(m, 3);
    }
    const WinPlan full = *winPlan(expandFullSystem(sheet.structure()), crossesOf(sheet));
    ASSERT_EQ(full.classes.size(), 1u);
    // Two three-ways and two two-ways: 6 rows one outcome off, 13 two, 12 three.
    EXPECT_EQ(full.classes[0].ranks, (RankCounts{1, 6, 13, 12}));
    EXPECT_EQ(full.classes[0].results, 36);
    EXPECT_EQ(full.guaranteedRank, 1);
    EXPECT_EQ(resultsByBestRank(full)[0], 36);
}

TEST(WinPlan, WinFiguresOverTheResults) {
    WinPlan plan;
    plan.results = 81;
    plan.classes = {{{1, 0, 0, 8}, 9}, {{0, 1, 3, 3}, 72}};
    const auto figures =
        winFigures(plan, {QStringLiteral("1000"), QStringLiteral("100"), QStringLiteral("x"), QStringLiteral("1")});
    ASSERT_TRUE(figures);
    EXPECT_DOUBLE_EQ(figures->max, 1008);
    EXPECT_DOUBLE_EQ(figures->min, 103);
    EXPECT_DOUBLE_EQ(figures->mean, (9 * 1008.0 + 72 * 103.0) / 81);
    EXPECT_EQ(winFigures(plan, {}), std::nullopt);
}

TEST(WinPlan, CountsTooLargeForSmallWordsStayExact) {
    // Copies of rows make counts that need 43 bits together (two three-way
    // matches, 5,000 copies of their full system) and more than 64 (one
    // result, 65,536 rows for each of the ranks I to IV).
    struct Case {
        int threeWays;
        int copies;
        std::vector<int> wrongTips;  // per kind of row, how many bankers it misses
    };
    for (const Case& c : {Case{2, 5000, {0}}, Case{0, 65536, {0, 1, 2, 3}}}) {
        OutcomeCrosses crosses{};
        for (int m = 1; m <= kMatches; ++m)
            for (int col = 1; col <= (m <= c.threeWays ? 3 : 1); ++col) crosses[static_cast<size_t>(outcomeIndex(m, col))] = true;
        TipTable rows;
        int number = 0;
        std::array<std::uint8_t, kMatches> tips;
        for (const int wrong : c.wrongTips) {
            const int combinations = c.threeWays == 2 ? 9 : 1;
            for (int k = 0; k < combinations * c.copies; ++k) {
                tips.fill(kTipOne);
                if (c.threeWays == 2) {
                    tips[0] = static_cast<std::uint8_t>(1 + k % 3);
                    tips[1] = static_cast<std::uint8_t>(1 + k / 3 % 3);
                }
                for (int m = 0; m < wrong; ++m) tips[static_cast<size_t>(kMatches - 1 - m)] = kTipTwo;
                rows.appendRow(++number, tips);
            }
        }
        expectSamePlan(*winPlan(rows, crosses), bruteForce(rows, crosses), c.copies);
    }
}
