#include "sheet_helpers.h"

#include "analysis/win_plan.h"
#include "systems/reduced_catalogue.h"
#include "systems/row_cover.h"
#include "systems/row_filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace korbisto;

namespace {

int equalSigns(RowWord a, RowWord b) {
    const RowTips x = tipsOfWord(a);
    const RowTips y = tipsOfWord(b);
    int n = 0;
    for (int m = 0; m < kMatches; ++m) n += x[static_cast<size_t>(m)] == y[static_cast<size_t>(m)];
    return n;
}

// The greedy cover by its definition: each time the row that covers most
// rows still uncovered, ties to the first.
size_t plainGreedySize(const std::vector<RowWord>& rows, int guarantee) {
    std::vector<std::vector<size_t>> near(rows.size());
    for (size_t c = 0; c < rows.size(); ++c)
        for (size_t r = 0; r < rows.size(); ++r)
            if (equalSigns(rows[c], rows[r]) >= guarantee) near[c].push_back(r);
    std::vector<bool> covered(rows.size(), false);
    size_t left = rows.size();
    size_t chosen = 0;
    while (left > 0) {
        size_t best = 0;
        size_t bestGain = 0;
        for (size_t c = 0; c < rows.size(); ++c) {
            const auto gain = static_cast<size_t>(std::count_if(near[c].begin(), near[c].end(), [&](size_t r) { return !covered[r]; }));
            if (gain > bestGain) best = c, bestGain = gain;
        }
        for (const size_t r : near[best])
            if (!covered[r]) covered[r] = true, --left;
        ++chosen;
    }
    return chosen;
}

std::vector<RowWord> filtered(const QString& sheet, const std::vector<std::pair<FilterKind, const char16_t*>>& filters) {
    FilterList list;
    for (const auto& [kind, text] : filters) list.filters.push_back(*parseRowFilter(kind, text).value);
    return applyFilters(*Candidates::ofCrosses(test::Sheet(sheet).crosses()), list)->rows;
}

// Every row of the set has a row of the cover with `guarantee` equal signs;
// the cover is rows of the set, each once, in the set's order.
void expectCover(const std::vector<RowWord>& set, const RowCover& cover, int guarantee) {
    std::vector<RowWord> order;
    std::set<RowWord> seen;
    for (const RowWord w : set)
        if (seen.insert(w).second && std::count(cover.rows.begin(), cover.rows.end(), w) == 1) order.push_back(w);
    EXPECT_EQ(cover.rows, order);
    for (const RowWord w : set)
        EXPECT_TRUE(std::any_of(cover.rows.begin(), cover.rows.end(), [&](RowWord c) { return equalSigns(w, c) >= guarantee; }))
            << "row " << w << " uncovered at " << guarantee;
}

}  // namespace

TEST(RowCover, CoversEveryRowAndIsNoLargerThanTheGreedyCover) {
    using K = FilterKind;
    std::mt19937 random(11);
    std::vector<RowWord> scattered;
    for (int i = 0; i < 400; ++i) scattered.push_back(random() % kRowWords);
    // Rows close to a few centres, some twice, in no particular order.
    std::vector<RowWord> clustered;
    for (int i = 0; i < 600; ++i) {
        RowTips t = tipsOfWord(scattered[static_cast<size_t>(i % 5)]);
        for (int k = 0; k < 3; ++k) t[random() % kMatches] = static_cast<std::uint8_t>(kTipOne + random() % 3);
        clustered.push_back(*wordOfTips(t));
    }
    const std::vector<std::vector<RowWord>> sets = {
        filtered(QStringLiteral("102,102,102,102,10,02,1,1,1,1,1,12,102"), {{K::Signs, u"0=2..4"}, {K::Changes, u"5.."}}),
        filtered(QStringLiteral("102,102,102,102,102,102,102,1,1,1,1,1,1"), {{K::Run, u"..2"}}),
        scattered,
        clustered,
    };
    for (const std::vector<RowWord>& set : sets)
        for (const int guarantee : {12, 11, 10}) {
            const RowCover cover = *coverRows(set, guarantee);
            expectCover(set, cover, guarantee);
            std::vector<RowWord> distinct;
            for (const RowWord w : set)
                if (std::find(distinct.begin(), distinct.end(), w) == distinct.end()) distinct.push_back(w);
            EXPECT_LE(cover.rows.size(), plainGreedySize(distinct, guarantee)) << set.size() << " rows at " << guarantee;
            EXPECT_FALSE(cover.fromCatalogue);
        }
}

TEST(RowCover, WholeCrossProductsAreNeverWorseThanTheCatalogue) {
    struct Case {
        const char* sheet;
        int guarantee;
        bool catalogue;  // the catalogue's system is the smaller
    };
    const Case cases[] = {
        {"102,102,102,102,10,1,1,1,1,1,1,1,1", 12, true},
        {"102,102,102,102,102,102,10,10,10,10,10,10,10", 11, true},
        {"102,102,102,102,102,102,102,102,102,102,102,102,102", 10, true},
        {"102,1,1,1,1,1,1,1,1,1,1,1,1", 12, true},
        {"1,1,1,1,1,1,1,1,1,1,1,1,1", 10, true},
        // Ten two-way matches and a three-way one: 23 rows by exchange, 24 in the catalogue.
        {"10,10,10,10,10,10,10,10,10,10,102,1,1", 10, false},
    };
    for (const Case& c : cases) {
        const test::Sheet sheet{QString::fromLatin1(c.sheet)};
        const std::vector<RowWord> rows = applyFilters(*Candidates::ofCrosses(sheet.crosses()), FilterList{})->rows;
        const RowCover cover = *coverRows(rows, c.guarantee);
        EXPECT_LE(cover.rows.size(), reducedRowCount(sheet.AnzZW(), sheet.AnzDW(), c.guarantee)) << c.sheet;
        EXPECT_EQ(cover.fromCatalogue, c.catalogue) << c.sheet;
        // The win plan over every result of the crosses shows the guarantee.
        const std::optional<WinPlan> plan = winPlan(tableOfWords(cover.rows), sheet.crosses());
        EXPECT_GE(plan->guaranteedRank, 1) << c.sheet;
        EXPECT_LE(plan->guaranteedRank, kMatches + 1 - c.guarantee) << c.sheet;
        if (rows.size() <= 20000) expectCover(rows, cover, c.guarantee);
    }

    // Most of a product: little more than the catalogue's system.
    const test::Sheet eight(QStringLiteral("102,102,102,102,102,102,102,102,1,1,1,1,1"));
    std::vector<RowWord> most = applyFilters(*Candidates::ofCrosses(eight.crosses()), FilterList{})->rows;
    most.erase(most.begin() + 100);
    for (const int g : {12, 11, 10}) {
        const RowCover cover = *coverRows(most, g);
        expectCover(most, cover, g);
        EXPECT_LE(cover.rows.size(), reducedRowCount(0, 8, g) + 3) << g;
    }

    // The same product as a slip in another order: the cover follows it.
    std::vector<RowWord> backwards = applyFilters(*Candidates::ofCrosses(test::Sheet(QStringLiteral("102,102,102,102,10,1,1,1,1,1,1,1,1")).crosses()), FilterList{})->rows;
    std::reverse(backwards.begin(), backwards.end());
    expectCover(backwards, *coverRows(backwards, 12), 12);
}

TEST(RowCover, EdgesOfTheInput) {
    EXPECT_TRUE(coverRows({}, 11)->rows.empty());
    EXPECT_EQ(coverRows({42, 42}, 12)->rows, std::vector<RowWord>{42});
    EXPECT_FALSE(coverRows({1, 2}, 13));
    EXPECT_FALSE(coverRows({1, 2}, 9));
    std::atomic<bool> stop{true};
    std::vector<RowWord> many(5000);
    for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<RowWord>(i * 317);
    EXPECT_FALSE(coverRows(many, 10, {&stop, {}}));
    // Stopped once the greedy choice is whole: the exchanges after it stop too.
    stop = false;
    std::int64_t reports = 0;
    const auto stopAtTheEnd = [&](std::int64_t covered, std::int64_t total) {
        ++reports;
        if (covered == total) stop = true;
    };
    EXPECT_FALSE(coverRows(many, 10, {&stop, stopAtTheEnd}));
    EXPECT_TRUE(stop);
    EXPECT_GT(reports, 0);
}
