#include "sheet_helpers.h"

#include "analysis/win_plan.h"
#include "systems/covering_code.h"
#include "systems/cross_sheet.h"
#include "systems/development.h"
#include "systems/reduced_catalogue.h"
#include "systems/vew_catalogue.h"
#include "systems/vew_expansion.h"

#include "core/bet_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace korbisto;
using korbisto::test::Sheet;
using korbisto::test::expectGroupedCount;

namespace {

// A sheet for `zw` two-way and `dw` three-way matches, the rest bankers; `k`
// shifts which matches they are and which outcomes are crossed, so that the
// entries are mapped onto many different sheets.
OutcomeCrosses sheetFor(int zw, int dw, int k) {
    OutcomeCrosses crosses{};
    for (int i = 0; i < kMatches; ++i) {
        const int m = (i * 5 + k) % kMatches + 1;
        auto cross = [&](int c) { crosses[static_cast<size_t>(outcomeIndex(m, c))] = true; };
        if (i < zw) {
            cross((i + k) % 3 + 1);
            cross((i + k + 1) % 3 + 1);
        } else if (i < zw + dw) {
            cross(1), cross(2), cross(3);
        } else {
            cross((i + 2 * k) % 3 + 1);
        }
    }
    return crosses;
}

SystemStructure structureOf(const OutcomeCrosses& crosses) {
    CrossSheet sheet;
    sheet.setCrosses(crosses);
    return sheet.structure();
}

// The best rank that the rows reach for every result within the crosses,
// by the analysis engine: 1 for 13 correct, 2 for 12, ...
int guaranteedRank(const TipTable& rows, const OutcomeCrosses& crosses) {
    const std::optional<WinPlan> plan = winPlan(rows, crosses);
    return plan ? plan->guaranteedRank : -1;
}

// A code's rank guarantee, mapped onto a sheet like a catalogue entry.
int guaranteedRank(const CoveringCode& code, int k = 0) {
    const OutcomeCrosses crosses = sheetFor(code.zw, code.dw, k);
    const std::optional<TipTable> rows = expandVew(structureOf(crosses), codeRows(code));
    return rows ? guaranteedRank(*rows, crosses) : -1;
}

std::uint64_t rowsOf(int zw, int dw, int radius) {
    if (radius == 0 || zw + dw == 0) return spaceSize(zw, dw);
    return findReducedSystem(zw, dw, kMatches - radius)->rows;
}

}  // namespace

TEST(CoveringCodes, PerfectCodesHaveTheirSizesAndRadii) {
    struct Case {
        CoveringCode code;
        std::size_t words;
        int radius;
    };
    const Case cases[] = {
        {ternaryHamming(2), 9, 1},
        {ternaryHamming(3), 59049, 1},
        {binaryHamming(3), 16, 1},
        {ternaryGolay(), 729, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.code.words.size(), c.words);
        EXPECT_EQ(coveringRadius(c.code), c.radius) << c.words;
        // Rank radius + 1 and no better: 12 (or 11) correct guaranteed, not 13.
        EXPECT_EQ(guaranteedRank(c.code), c.radius + 1) << c.words;
    }
    CoveringCode less = ternaryHamming(2);
    less.words.pop_back();
    // Every other word of the tetracode is three away from the one left out.
    EXPECT_EQ(guaranteedRank(less), 4);
}

TEST(CoveringCodes, DirectSumsMultiplyAndAddRadii) {
    const CoveringCode sum = directSum(ternaryHamming(2), binaryHamming(3));
    EXPECT_EQ(sum.zw, 7);
    EXPECT_EQ(sum.dw, 4);
    EXPECT_EQ(sum.words.size(), 9u * 16u);
    EXPECT_EQ(coveringRadius(sum), 2);
    EXPECT_EQ(guaranteedRank(sum, 3), 3);

    const CoveringCode free = directSum(binaryHamming(3), fullSpace(1, 1));
    EXPECT_EQ(free.words.size(), 16u * 6u);
    EXPECT_EQ(guaranteedRank(free, 1), 2) << "free positions keep the radius";

    // Leaving a position out keeps the radius; the words of a code of
    // distance 3 stay apart.
    const CoveringCode shorter = punctured(ternaryHamming(3), 5);
    EXPECT_EQ(shorter.dw, 12);
    EXPECT_EQ(shorter.words.size(), 59049u);
    EXPECT_EQ(guaranteedRank(shorter, 4), 2);

    // A three-way position read as two-way never needs more rows.
    const CoveringCode twoWay = binaryFromTernary(ternaryHamming(2));
    EXPECT_EQ(twoWay.zw, 1);
    EXPECT_LE(twoWay.words.size(), 9u);
    EXPECT_EQ(guaranteedRank(twoWay, 2), 2);
}

TEST(ReducedCatalogue, HoldsEveryStructureAndGuarantee) {
    EXPECT_EQ(reducedCatalogue().size(), 3u * 104u);
    for (int g = kLowestGuarantee; g <= kHighestGuarantee; ++g)
        for (int zw = 0; zw <= kMatches; ++zw)
            for (int dw = 0; zw + dw <= kMatches; ++dw) {
                const std::optional<ReducedSystem> s = findReducedSystem(zw, dw, g);
                ASSERT_EQ(s.has_value(), zw + dw > 0) << zw << "/" << dw << " G" << g;
                if (s) {
                    EXPECT_EQ(s->guarantee, g);
                }
            }
    for (auto [zw, dw, g] : {std::array{3, 3, 13}, {3, 3, 9}, {7, 7, 12}, {-1, 2, 12}, {0, 14, 10}})
        EXPECT_FALSE(findReducedSystem(zw, dw, g).has_value()) << zw << "/" << dw << " G" << g;
}

TEST(ReducedCatalogue, NeverLargerThanTheRulesOrTheVewSystems) {
    for (const ReducedSystem& s : reducedCatalogue()) {
        const int r = s.radius();
        const std::uint64_t rows = s.rows;
        const std::string name = std::to_string(s.zw) + "/" + std::to_string(s.dw) + " G" + std::to_string(s.guarantee);
        if (s.zw > 0) {
            EXPECT_LE(rows, 2 * rowsOf(s.zw - 1, s.dw, r)) << name;
            EXPECT_LE(rows, rowsOf(s.zw - 1, s.dw + 1, r)) << name;
        }
        if (s.dw > 0) {
            EXPECT_LE(rows, 3 * rowsOf(s.zw, s.dw - 1, r)) << name;
        }
        if (s.zw + s.dw < kMatches) {
            EXPECT_LE(rows, rowsOf(s.zw + 1, s.dw, r)) << name;
            EXPECT_LE(rows, rowsOf(s.zw, s.dw + 1, r)) << name;
        }
        for (int z = 0; z <= s.zw; ++z)
            for (int d = 0; d <= s.dw; ++d)
                for (int r1 = 0; r1 <= r && z + d > 0 && z + d < s.zw + s.dw; ++r1)
                    EXPECT_LE(rows, rowsOf(z, d, r1) * rowsOf(s.zw - z, s.dw - d, r - r1)) << name;
    }
    for (int n = 1; n <= kVewSysteme; ++n) {
        const VewEintrag& e = vewEintrag(n);
        EXPECT_LE(findReducedSystem(e.ZW, e.DW, 12)->rows, e.Reihen) << "VEW system " << n;
    }
}

// The slow part: the whole catalogue through the analysis engine.
TEST(ReducedCatalogueSlow, EveryEntryCoversItsSpace) {
    int k = 0;
    for (const ReducedSystem& s : reducedCatalogue()) {
        const std::string name = std::to_string(s.zw) + "/" + std::to_string(s.dw) + " G" + std::to_string(s.guarantee);
        const CoveringCode code = reducedCode(s);
        ASSERT_EQ(code.words.size(), s.rows) << name;
        EXPECT_TRUE(std::adjacent_find(code.words.begin(), code.words.end(),
                                       [](std::uint32_t a, std::uint32_t b) { return a >= b; }) == code.words.end())
            << name << ": words sorted and each once";
        const OutcomeCrosses crosses = sheetFor(s.zw, s.dw, ++k);
        const std::optional<TipTable> rows = expandReduced(structureOf(crosses), s.guarantee);
        ASSERT_TRUE(rows) << name;
        ASSERT_EQ(rows->dataRowCount(), static_cast<int>(s.rows)) << name;
        const int rank = guaranteedRank(*rows, crosses);
        EXPECT_GE(rank, 1) << name;
        EXPECT_LE(rank, s.radius() + 1) << name;
    }
}

TEST(ReducedDevelopment, SomeRowHasTheGuaranteeForEveryResult) {
    const QString sheets[] = {
        QStringLiteral("10,1,102,2,12,0,102,1,02,1,102,2,1"),  // 3 two-way, 3 three-way
        QStringLiteral("102,1,102,0,2,102,1,1,102,1,102,2,2"),  // 5 three-way
        QStringLiteral("02,12,10,1,1,102,0,2,10,1,1,1,0"),     // 4 two-way, 1 three-way
        QStringLiteral("1,0,2,1,0,2,1,0,2,1,0,2,1"),           // bankers only
    };
    for (const QString& spec : sheets)
        for (int g = kLowestGuarantee; g <= kHighestGuarantee; ++g) {
            Sheet sheet(spec);
            BetModel model;
            const long long count = developReduced(sheet, g, model.rows());
            const std::optional<ReducedSystem> entry = findReducedSystem(sheet.AnzZW(), sheet.AnzDW(), g);
            ASSERT_EQ(count, entry ? entry->rows : 1) << spec.toStdString() << " G" << g;
            expectGroupedCount(model.rows(), count);
            const TipTable& t = model.table();
            const SystemStructure st = sheet.structure();
            for (const TipTable::Row& row : t.rows())
                for (int m = 1; m <= kMatches; ++m)
                    EXPECT_TRUE(sheet.crossed(m, row.tips[static_cast<size_t>(m - 1)])) << "only crossed outcomes";

            // Every result within the crosses, match 1 slowest.
            std::array<int, kMatches> at{};
            long long results = 0;
            for (;;) {
                int best = 0;
                for (const TipTable::Row& row : t.rows()) {
                    int correct = 0;
                    for (int m = 0; m < kMatches; ++m)
                        correct += row.tips[static_cast<size_t>(m)] == st.SpielTipps[static_cast<size_t>(m)].Tipp[static_cast<size_t>(at[static_cast<size_t>(m)] + 1)];
                    best = std::max(best, correct);
                }
                EXPECT_GE(best, g) << spec.toStdString();
                ++results;
                int m = kMatches - 1;
                while (m >= 0 && ++at[static_cast<size_t>(m)] == st.SpielTipps[static_cast<size_t>(m)].Anzahl) at[static_cast<size_t>(m--)] = 0;
                if (m < 0) break;
            }
            EXPECT_EQ(results, sheet.fullSystemRows());
        }
}

TEST(ReducedDevelopment, NothingOnAnIncompleteSheetOrAnotherGuarantee) {
    BetModel model;
    Sheet complete(QStringLiteral("10,1,102,2,12,0,102,1,02,1,102,2,1"));
    EXPECT_EQ(developReduced(complete, 13, model.rows()), 0);
    EXPECT_EQ(developReduced(complete, 9, model.rows()), 0);
    Sheet incomplete(QStringLiteral("10,1,102,2,12,0,102,1,02,1,102,2,"));
    EXPECT_EQ(developReduced(incomplete, 12, model.rows()), 0);
    EXPECT_TRUE(model.table().isEmpty());
}
