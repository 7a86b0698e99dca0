#include "analysis/live_chances.h"
#include "analysis/win_plan.h"
#include "core/error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace korbisto;

namespace {

struct Reference {
    std::vector<LiveRow> rows;
    std::array<double, kRanks> atLeast{};
};

// Every result of the open matches with its chance, against every row.
Reference bruteForce(const TipTable& rows, const LiveResult& result, const std::array<OutcomeWeights, kMatches>& weights) {
    std::vector<int> open;
    for (int m = 0; m < kMatches; ++m)
        if (result[static_cast<size_t>(m)] == kTipEmpty) open.push_back(m);
    Reference ref;
    for (const TipTable::Row& row : rows.rows()) {
        if (row.tips[0] == kTipEmpty) continue;
        LiveRow r;
        r.number = row.number;
        for (int m = 0; m < kMatches; ++m)
            r.hits += result[static_cast<size_t>(m)] != kTipEmpty && row.tips[static_cast<size_t>(m)] == result[static_cast<size_t>(m)];
        ref.rows.push_back(r);
    }
    std::vector<int> bestWrong(ref.rows.size(), 99);
    std::vector<std::uint8_t> x(open.size(), 1);
    for (;;) {
        LiveResult full = result;
        double p = 1;
        for (size_t i = 0; i < open.size(); ++i) {
            const OutcomeWeights& w = weights[static_cast<size_t>(open[i])];
            full[static_cast<size_t>(open[i])] = x[i];
            p *= w[x[i] - 1u] / (w[0] + w[1] + w[2]);
        }
        int best = 99;
        size_t n = 0;
        for (const TipTable::Row& row : rows.rows()) {
            if (row.tips[0] == kTipEmpty) continue;
            int wrong = 0;
            for (int m = 0; m < kMatches; ++m) wrong += row.tips[static_cast<size_t>(m)] != full[static_cast<size_t>(m)];
            if (wrong < kRanks) ref.rows[n].p[static_cast<size_t>(wrong)] += p;
            if (p > 0) bestWrong[n] = std::min(bestWrong[n], wrong);
            best = std::min(best, wrong);
            ++n;
        }
        for (int k = best; k < kRanks; ++k) ref.atLeast[static_cast<size_t>(k)] += p;
        size_t i = 0;
        while (i < x.size() && ++x[i] == 4) x[i++] = 1;
        if (i == x.size()) break;
    }
    for (size_t n = 0; n < ref.rows.size(); ++n) ref.rows[n].bestRank = bestWrong[n] < kRanks ? bestWrong[n] + 1 : 0;
    return ref;
}

}  // namespace

TEST(LiveChances, AreTheBruteForceOverTheOpenMatches) {
    std::mt19937 random(2024);
    for (int round = 0; round < 80; ++round) {
        LiveResult result;
        std::array<OutcomeWeights, kMatches> weights;
        const int open = static_cast<int>(random() % 7);
        for (int m = 0; m < kMatches; ++m) {
            result[static_cast<size_t>(m)] = static_cast<std::uint8_t>(m < open ? 0u : 1 + random() % 3);  // 0: open
            // Some outcomes cannot happen any more: weight 0.
            for (double& w : weights[static_cast<size_t>(m)]) w = static_cast<double>(random() % 4);
            if (weights[static_cast<size_t>(m)] == OutcomeWeights{0, 0, 0}) weights[static_cast<size_t>(m)] = kEqualWeights;
        }
        TipTable rows;
        const int n = 1 + static_cast<int>(random() % 25);
        for (int r = 0; r < n; ++r) {
            std::array<std::uint8_t, kMatches> tips{};
            for (int m = 0; m < kMatches; ++m) {
                const unsigned pick = random() % 16;
                // Mostly the result, now and then another tip, an empty or odd cell.
                tips[static_cast<size_t>(m)] = static_cast<std::uint8_t>(
                    pick == 0 ? 0u : pick == 1 ? 4u : pick < 5 ? 1 + random() % 3 : result[static_cast<size_t>(m)] == 0 ? 1 + random() % 3 : result[static_cast<size_t>(m)]);
            }
            if (r % 9 == 4) tips[0] = kTipEmpty;
            rows.appendRow(r + 1, tips);
        }
        const LiveChances live = *liveChances(rows, result, weights);
        const Reference ref = bruteForce(rows, result, weights);
        // A few rows at a time, as a slip is read: the same figures to the bit.
        LiveChancesCount count(result, weights);
        std::vector<LiveRow> streamed;
        for (int first = 0; first < n; first += 4) {
            TipTable block;
            for (int r = first; r < std::min(n, first + 4); ++r) block.appendRow(r + 1, rows.rows()[static_cast<size_t>(r)].tips);
            count.add(block, streamed);
        }
        const LiveChances slip = *count.finish();
        ASSERT_EQ(streamed.size(), live.rows.size()) << round;
        for (size_t i = 0; i < streamed.size(); ++i) EXPECT_EQ(streamed[i].p, live.rows[i].p) << round;
        EXPECT_EQ(slip.atLeast, live.atLeast) << round;
        EXPECT_EQ(slip.expected, live.expected) << round;
        EXPECT_EQ(live.open, open);
        ASSERT_EQ(live.rows.size(), ref.rows.size()) << round;
        std::array<double, kRanks> expected{};
        for (size_t i = 0; i < ref.rows.size(); ++i) {
            EXPECT_EQ(live.rows[i].number, ref.rows[i].number) << round;
            EXPECT_EQ(live.rows[i].hits, ref.rows[i].hits) << round << " row " << i;
            EXPECT_EQ(live.rows[i].bestRank, ref.rows[i].bestRank) << round << " row " << i;
            for (int k = 0; k < kRanks; ++k) {
                EXPECT_NEAR(live.rows[i].p[static_cast<size_t>(k)], ref.rows[i].p[static_cast<size_t>(k)], 1e-12) << round;
                expected[static_cast<size_t>(k)] += ref.rows[i].p[static_cast<size_t>(k)];
            }
        }
        for (int k = 0; k < kRanks; ++k) {
            EXPECT_NEAR(live.atLeast[static_cast<size_t>(k)], ref.atLeast[static_cast<size_t>(k)], 1e-12) << round << " " << k;
            EXPECT_NEAR(live.expected[static_cast<size_t>(k)], expected[static_cast<size_t>(k)], 1e-12) << round;
        }
    }
}

TEST(LiveChances, EqualChancesTheExpectedWinAndAStop) {
    // One open match, equal chances: a row right elsewhere has rank I in a third of the results.
    LiveResult result;
    result.fill(kTipOne);
    result[12] = kTipEmpty;
    std::array<OutcomeWeights, kMatches> weights;
    weights.fill(kEqualWeights);
    TipTable rows;
    std::array<std::uint8_t, kMatches> tips;
    tips.fill(kTipOne);
    rows.appendRow(1, tips);
    tips[0] = kTipTwo;
    rows.appendRow(2, tips);
    const LiveChances live = *liveChances(rows, result, weights);
    EXPECT_EQ(live.rows[0].hits, 12);
    EXPECT_EQ(live.rows[0].bestRank, 1);
    EXPECT_NEAR(live.rows[0].p[0], 1.0 / 3, 1e-15);
    EXPECT_NEAR(live.rows[0].p[1], 2.0 / 3, 1e-15);
    EXPECT_EQ(live.rows[1].bestRank, 2);
    EXPECT_NEAR(live.atLeast[0], 1.0 / 3, 1e-15);
    EXPECT_NEAR(live.atLeast[1], 1.0, 1e-15);
    // Rank I: 1/3 of a row; rank II: 2/3 + 1/3; rank III: 2/3.
    const auto win = expectedWin(live, {QStringLiteral("300"), QStringLiteral("30"), QStringLiteral("3"), QString()});
    ASSERT_TRUE(win);
    EXPECT_NEAR(*win, 100 + 30 + 2, 1e-9);
    EXPECT_EQ(expectedWin(live, {}), std::nullopt);

    // Stopped from another thread, the live figures and the plan give up.
    std::atomic<bool> stop = false;
    OutcomeCrosses crosses;
    crosses.fill(true);
    EXPECT_TRUE(liveChances(rows, result, weights, &stop));
    EXPECT_TRUE(winPlan(rows, crosses, &stop));
    stop = true;
    EXPECT_EQ(liveChances(rows, result, weights, &stop), std::nullopt);
    EXPECT_EQ(winPlan(rows, crosses, &stop), std::nullopt);
}

TEST(LiveChances, WeightsThatGiveNoSharesAreRefusedOnOpenMatchesOnly) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    LiveResult result;
    result.fill(kTipOne);
    result[4] = kTipEmpty;
    TipTable rows;
    std::array<std::uint8_t, kMatches> tips;
    tips.fill(kTipOne);
    rows.appendRow(1, tips);
    for (const OutcomeWeights& bad : {OutcomeWeights{0, 0, 0}, OutcomeWeights{1e308, 1e308, 1e308},
                                      OutcomeWeights{std::nan(""), 1, 1}, OutcomeWeights{kInf, 0, 0},
                                      OutcomeWeights{-1, 1, 1}}) {
        EXPECT_FALSE(validWeights(bad)) << bad[0];
        std::array<OutcomeWeights, kMatches> weights;
        weights.fill(kEqualWeights);
        weights[4] = bad;
        EXPECT_THROW(liveChances(rows, result, weights), KorbistoError) << bad[0];
        // A decided match's weights are never read.
        weights[4] = kEqualWeights;
        weights[5] = bad;
        EXPECT_NEAR(liveChances(rows, result, weights)->rows[0].p[0], 1.0 / 3, 1e-15);
    }
    EXPECT_TRUE(validWeights({1e307, 1e307, 0}));
}
