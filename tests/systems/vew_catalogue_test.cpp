#include "systems/vew_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace korbisto;

namespace {

// Every row of the full system of `zw` two-way and `dw` three-way positions.
std::vector<std::vector<int>> allCombinations(int zw, int dw) {
    std::vector<std::vector<int>> result{{}};
    for (int p = 0; p < zw + dw; ++p) {
        const std::vector<int> values = p < zw ? std::vector<int>{4, 5} : std::vector<int>{1, 2, 3};
        std::vector<std::vector<int>> next;
        for (const auto& prefix : result)
            for (int v : values) {
                next.push_back(prefix);
                next.back().push_back(v);
            }
        result = std::move(next);
    }
    return result;
}

int distance(const VewReihen& rows, int r, const std::vector<int>& combination) {
    int d = 0;
    for (int c = 0; c < rows.width(); ++c) d += rows.at(r, c) != combination[static_cast<size_t>(c)];
    return d;
}

}  // namespace

TEST(VewCatalogue, LooksUpStructures) {
    int number = -1;
    ASSERT_TRUE(VewSuchen(4, 4, number));
    EXPECT_EQ(number, 15);
    EXPECT_EQ(vewEintrag(number).Reihen, 144);
    ASSERT_TRUE(VewSuchen(0, 6, number));
    EXPECT_EQ(number, 11);
    EXPECT_EQ(vewEintrag(number).Reihen, 81);

    for (auto [zw, dw] : {std::pair{6, 0}, {1, 4}, {0, 0}, {13, 0}, {0, 13}}) {
        number = -7;
        EXPECT_FALSE(VewSuchen(zw, dw, number)) << zw << "/" << dw;
        EXPECT_EQ(number, -7) << "a failed lookup leaves the number alone";
    }
}

TEST(VewCatalogue, EveryStructureFindsItsOwnEntry) {
    std::set<std::pair<int, int>> structures;
    for (int n = 1; n <= kVewSysteme; ++n) {
        const VewEintrag& e = vewEintrag(n);
        EXPECT_EQ(e.Rang, 2);
        EXPECT_TRUE(structures.emplace(e.ZW, e.DW).second) << "structure of system " << n << " twice";
        int found = 0;
        ASSERT_TRUE(VewSuchen(e.ZW, e.DW, found));
        EXPECT_EQ(found, n);
    }
}

// Each system: its stated number of distinct rows, entry values of the right
// kind per position, and every result within one position of some row.
TEST(VewCatalogue, EverySystemIsADistinctCoveringOfItsStructure) {
    for (int n = 1; n <= kVewSysteme; ++n) {
        SCOPED_TRACE(n);
        const VewEintrag& e = vewEintrag(n);
        const VewReihen rows = VewLaden(n);
        ASSERT_EQ(rows.rows(), e.Reihen);
        ASSERT_EQ(rows.width(), e.ZW + e.DW);
        ASSERT_EQ(rows.zw(), e.ZW);

        std::set<std::vector<int>> distinct;
        for (int r = 0; r < rows.rows(); ++r) {
            std::vector<int> row;
            for (int c = 0; c < rows.width(); ++c) {
                const int v = rows.at(r, c);
                if (c < e.ZW)
                    EXPECT_TRUE(v == 4 || v == 5) << "row " << r << " position " << c;
                else
                    EXPECT_TRUE(v >= 1 && v <= 3) << "row " << r << " position " << c;
                row.push_back(v);
            }
            distinct.insert(row);
        }
        EXPECT_EQ(distinct.size(), static_cast<size_t>(rows.rows())) << "a row occurs twice";

        const auto combinations = allCombinations(e.ZW, e.DW);
        int uncovered = 0;
        for (const auto& combination : combinations) {
            bool covered = false;
            for (int r = 0; r < rows.rows() && !covered; ++r) covered = distance(rows, r, combination) <= 1;
            uncovered += !covered;
        }
        EXPECT_EQ(uncovered, 0) << "of " << combinations.size() << " results";
    }
}

// Systems 2 and 3 are the perfect codes B and C alone: no two rows are closer
// than three positions.
TEST(VewCatalogue, PerfectCodesKeepTheirDistance) {
    for (int n : {2, 3}) {
        const VewReihen rows = VewLaden(n);
        for (int a = 0; a < rows.rows(); ++a)
            for (int b = a + 1; b < rows.rows(); ++b) {
                int d = 0;
                for (int c = 0; c < rows.width(); ++c) d += rows.at(a, c) != rows.at(b, c);
                EXPECT_GE(d, 3) << "system " << n << " rows " << a << ", " << b;
            }
    }
}

TEST(VewCatalogue, LoadingAnUnknownNumberGivesNoRows) {
    EXPECT_EQ(VewLaden(0).rows(), 0);
    EXPECT_EQ(VewLaden(16).rows(), 0);
}
