#include "core/evaluation.h"
#include "support/tip_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

using namespace korbisto;
using test::rowOf;
using test::setRow;

namespace {

// A row with exactly `hits` hits against 1111111111111.
const char* withHits(int hits) {
    static std::string s;
    s = std::string(static_cast<size_t>(hits), '1') + std::string(static_cast<size_t>(13 - hits), '0');
    return s.c_str();
}

}  // namespace

TEST(Evaluation, CountsHitsRanksAmountsAndTotal) {
    TipTable t(4);
    setRow(t, 1, "1111111111111");
    setRow(t, 2, "1111111111111");
    setRow(t, 3, withHits(12));
    setRow(t, 4, withHits(9));
    const EvaluationResult r =
        evaluateTable(t, rowOf("1111111111111"), {QStringLiteral("10,5"), QString(), QStringLiteral("unbesetzt"),
                                                   QStringLiteral("1.000")});
    EXPECT_EQ(t.cellText(1, 14), QStringLiteral("13"));
    EXPECT_EQ(t.cellText(3, 14), QStringLiteral("12"));
    EXPECT_EQ(t.cellText(4, 14), QStringLiteral("9"));
    EXPECT_EQ(r.rank(1).count, 2);
    EXPECT_EQ(r.rank(1).amount, std::optional<double>(21.00));
    EXPECT_EQ(r.rank(2).count, 1);
    EXPECT_EQ(r.rank(2).amount, std::nullopt);  // no quota
    EXPECT_EQ(r.rank(3).count, 0);
    EXPECT_EQ(r.rank(3).amount, std::nullopt);  // "unbesetzt" is no quota
    EXPECT_EQ(r.rank(4).amount, std::optional<double>(0.00));
    EXPECT_EQ(r.total, 21.00);
}

TEST(Evaluation, EmptyTableGivesZeroes) {
    TipTable t(29);
    const EvaluationResult r = evaluateTable(t, rowOf("1111111111111"),
                                             {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString()});
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(r.rank(k).count, 0);
    EXPECT_EQ(r.rank(1).amount, std::optional<double>(0.00));
    EXPECT_EQ(r.rank(4).amount, std::nullopt);
    EXPECT_EQ(r.total, 0.00);
    EXPECT_TRUE(t.cellEmpty(1, 14));
}

TEST(Evaluation, RowsWithoutFirstTipAreSkippedAndKeepTheirHitCell) {
    TipTable t(2);
    setRow(t, 1, "-111111111111");
    t.setCellText(1, 14, QStringLiteral("7"));
    setRow(t, 2, "-------------");
    const EvaluationResult r = evaluateTable(t, rowOf("1111111111111"), {});
    EXPECT_EQ(t.cellText(1, 14), QStringLiteral("7"));
    EXPECT_TRUE(t.cellEmpty(2, 14));
    EXPECT_EQ(r.rank(2).count, 0);
}

TEST(Evaluation, EmptyAndLongWinningTextsNeverHit) {
    TipTable t(1);
    setRow(t, 1, "1111111111-11");
    // match 11 is empty in both; an empty winning text is never a hit
    evaluateTable(t, rowOf("1111111111-11"), {});
    EXPECT_EQ(t.cellText(1, 14), QStringLiteral("12"));
    WinningRow w = rowOf("1111111111111");
    w[0] = QStringLiteral("11");
    w[1] = QStringLiteral("5");
    evaluateTable(t, w, {});
    EXPECT_EQ(t.cellText(1, 14), QStringLiteral("10"));
}

TEST(Evaluation, OddCellsEqualOnlyTheSameText) {
    TipTable t(2);
    setRow(t, 1, "1111111111111");
    setRow(t, 2, "1111111111111");
    t.setCellText(1, 2, QStringLiteral("5"));
    t.setCellText(2, 2, QStringLiteral("7"));
    WinningRow w = rowOf("1111111111111");
    w[1] = QStringLiteral("5");
    evaluateTable(t, w, {});
    EXPECT_EQ(t.cellText(1, 14), QStringLiteral("13"));
    EXPECT_EQ(t.cellText(2, 14), QStringLiteral("12"));
}

TEST(GridSort, ByHitsIsStableAndDescending) {
    TipTable t(4);
    setRow(t, 1, withHits(11), 1);
    setRow(t, 2, withHits(13), 2);
    setRow(t, 3, withHits(11), 3);
    setRow(t, 4, withHits(12), 4);
    evaluateTable(t, rowOf("1111111111111"), {});
    SortGridByColumn(t, 14, true);
    EXPECT_EQ(t.number(1), 2);
    EXPECT_EQ(t.number(2), 4);
    EXPECT_EQ(t.number(3), 1);
    EXPECT_EQ(t.number(4), 3);
    EXPECT_EQ(t.cellText(1, 14), QStringLiteral("13"));
    SortGridByColumn(t, 0, false);
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(t.number(r), r);
    EXPECT_EQ(t.cellText(2, 14), QStringLiteral("13"));  // cells move with their row
}

TEST(GridSort, RowsWithoutKeyGoLastInTheirOrder) {
    TipTable t(5);
    setRow(t, 1, withHits(10), 1);
    setRow(t, 2, "-------------", 2);
    setRow(t, 3, withHits(12), 3);
    setRow(t, 4, "-------------", 4);
    setRow(t, 5, withHits(13), 5);
    evaluateTable(t, rowOf("1111111111111"), {});
    t.setCellText(4, 14, QStringLiteral("kaputt"));
    SortGridByColumn(t, 14, true);
    EXPECT_EQ(t.number(1), 5);
    EXPECT_EQ(t.number(2), 3);
    EXPECT_EQ(t.number(3), 1);
    EXPECT_EQ(t.number(4), 2);
    EXPECT_EQ(t.number(5), 4);
    SortGridByColumn(t, 14, false);
    EXPECT_EQ(t.number(1), 1);
    EXPECT_EQ(t.number(3), 5);
    EXPECT_EQ(t.number(4), 2);
}

TEST(GridSort, RestoresTheOrderOfManyRows) {
    TipTable t(1000);
    for (int r = 1; r <= 1000; ++r) {
        t.setNumber(r, (r * 7919) % 1000 + 1);
        t.setCellText(r, 1, QStringLiteral("1"));
    }
    SortGridByColumn(t, 0, false);
    for (int r = 1; r <= 1000; ++r) ASSERT_EQ(t.number(r), r);
}

TEST(GridSort, WideKeysSortStablyToo) {
    TipTable t(5);
    const int numbers[] = {2000000000, 5, -7, 5, 1000000};
    for (int r = 1; r <= 5; ++r) {
        t.setNumber(r, numbers[r - 1]);
        t.setCellText(r, 14, QString::number(r));  // marks the original position
    }
    SortGridByColumn(t, 0, false);
    const int expectedMarks[] = {3, 2, 4, 5, 1};
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(t.cellText(r, 14), QString::number(expectedMarks[r - 1])) << r;
    SortGridByColumn(t, 0, true);
    const int descendingMarks[] = {1, 5, 2, 4, 3};
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(t.cellText(r, 14), QString::number(descendingMarks[r - 1])) << r;
}

// Evaluated a block at a time, the counts add up to those of the whole table.
TEST(Evaluation, HitCountsOfBlocksAddUp) {
    TipTable whole = test::tableOf({"1111111111111", "1111111111110", "-111111111111", "1111111111100",
                                    "2222222222222", "1111111111111"});
    const WinningRow winning = rowOf("1111111111111");
    const QuotaTexts quotas{QStringLiteral("10,5"), QString(), QStringLiteral("2"), QStringLiteral("1")};
    const EvaluationResult expected = evaluateTable(whole, winning, quotas);
    HitCounts sum{};
    for (int first = 1; first <= 6; first += 4) {
        TipTable block;
        for (int r = first; r < std::min(first + 4, 7); ++r) block.rows().push_back(whole.rowAt(r));
        const HitCounts part = markHits(block, winning);
        for (size_t h = 0; h < sum.size(); ++h) sum[h] += part[h];
    }
    EXPECT_EQ(sum[13], 2);
    EXPECT_EQ(sum[0], 1);
    const EvaluationResult r = resultOf(sum, quotas);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(r.rank(k).count, expected.rank(k).count) << k;
        EXPECT_EQ(r.rank(k).amount, expected.rank(k).amount) << k;
    }
    EXPECT_EQ(r.total, expected.total);
}

// Every index HitOrder hands out, in batches of at most `room`.
std::vector<std::uint32_t> hitOrder(const std::vector<std::int8_t>& hits, std::size_t room) {
    HitOrder order(hits);
    std::vector<std::uint32_t> all;
    std::vector<std::uint32_t> batch(room);
    while (const std::size_t n = order.next(batch.data(), room)) {
        EXPECT_LE(n, room);
        all.insert(all.end(), batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return all;
}

TEST(Evaluation, HitOrderIsStableWithRowsWithoutHitsLast) {
    const std::vector<std::int8_t> hits = {11, -1, 13, 11, 0, 12, -1, 13, 0};
    const std::vector<std::uint32_t> expected = {2, 7, 5, 0, 3, 4, 8, 1, 6};
    for (std::size_t room : {1, 2, 4, 100}) EXPECT_EQ(hitOrder(hits, room), expected) << room;
    EXPECT_TRUE(hitOrder({}, 8).empty());
    // The same order as the grid's own sort of the hit column.
    TipTable t(static_cast<int>(hits.size()));
    for (int r = 1; r <= t.dataRowCount(); ++r) {
        t.setNumber(r, r);
        t.setHits(r, hits[static_cast<size_t>(r - 1)]);
    }
    SortGridByColumn(t, TipTable::kHitColumn, true);
    for (int r = 1; r <= t.dataRowCount(); ++r)
        EXPECT_EQ(t.number(r), static_cast<int>(expected[static_cast<size_t>(r - 1)]) + 1) << r;
}

TEST(Evaluation, HitOrderOfManyRowsInAnyBatchesIsTheStableSort) {
    // Long enough for whole blocks of counts and a ragged tail, with counts
    // out of range and rare counts that a batch ends in the middle of.
    std::mt19937 random(7);
    std::vector<std::int8_t> hits(1037);
    for (std::int8_t& h : hits) h = static_cast<std::int8_t>(static_cast<int>(random() % 17) - 2);
    hits[1036] = 13;
    std::vector<std::uint32_t> expected(hits.size());
    std::iota(expected.begin(), expected.end(), 0u);
    const auto key = [&](std::uint32_t i) { return hits[i] < 0 || hits[i] > 13 ? -1 : int{hits[i]}; };
    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) { return key(a) > key(b); });
    for (std::size_t room : {1, 5, 16, 17, 4096}) EXPECT_EQ(hitOrder(hits, room), expected) << room;
}
