#include "sheet_helpers.h"

#include "systems/cross_sheet.h"
#include "systems/development.h"
#include "systems/development.h"
#include "systems/vew_expansion.h"

#include "core/bet_model.h"
#include "core/evaluation.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

using namespace korbisto;
using korbisto::test::Sheet;
using korbisto::test::expectGroupedCount;
using korbisto::test::rowDigits;

namespace {

std::set<QString> rowSet(const TipTable& t, int firstMatch, int lastMatch) {
    std::set<QString> rows;
    for (int r = 1; r < t.rowCount(); ++r) rows.insert(rowDigits(t, r).mid(firstMatch - 1, lastMatch - firstMatch + 1));
    return rows;
}

// Code rows written in entry values, turned into tips through `tipOf`.
std::set<QString> mapped(const char* code, const std::map<QChar, QChar>& tipOf) {
    std::set<QString> rows;
    for (const QString& row : QString::fromLatin1(code).split(u' ')) {
        QString tips;
        for (QChar v : row) tips += tipOf.at(v);
        rows.insert(tips);
    }
    return rows;
}

const std::map<QChar, QChar> kThreeWay = {{u'1', u'1'}, {u'2', u'0'}, {u'3', u'2'}};

}  // namespace

TEST(VewExpansion, NumbersTwoWayThenThreeWayMatchesInMatchOrder) {
    Sheet sheet(QStringLiteral("102,10,1,02,102,2,12,102,1,1,0,02,12"));
    const WegeNummern w = WegeNummerieren(sheet.structure());
    const std::array<std::int32_t, kMatches> zw = {0, 1, 0, 2, 0, 0, 3, 0, 0, 0, 0, 4, 5};
    const std::array<std::int32_t, kMatches> dw = {6, 0, 0, 0, 7, 0, 0, 8, 0, 0, 0, 0, 0};
    EXPECT_EQ(w.ZWNr, zw);
    EXPECT_EQ(w.DWNr, dw);
}

TEST(VewExpansion, System2MapsCodeBOntoTheThreeWayMatches) {
    Sheet sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,102,102,102,102"));
    ASSERT_EQ(sheet.offeredVew(), 2);
    BetModel model;
    EXPECT_EQ(developVew(sheet, model.rows()), 9);
    const TipTable& t = model.table();
    ASSERT_EQ(t.dataRowCount(), 9);
    const auto tails = rowSet(t, 10, 13);
    EXPECT_TRUE(tails.count(QStringLiteral("1111")));
    EXPECT_TRUE(tails.count(QStringLiteral("0102")));  // entry 2123
    EXPECT_EQ(tails, mapped("1111 1222 1333 2123 2231 2312 3132 3213 3321", kThreeWay));
    EXPECT_EQ(rowSet(t, 1, 9), std::set<QString>{QStringLiteral("111111111")});
    for (int r = 1; r <= 9; ++r) EXPECT_EQ(t.number(r), r);
}

TEST(VewExpansion, System1MapsTheSecondCrossToEntry5) {
    Sheet sheet(QStringLiteral("12,12,12,12,12,0,0,0,0,0,0,0,0"));
    ASSERT_EQ(sheet.offeredVew(), 1);
    BetModel model;
    EXPECT_EQ(developVew(sheet, model.rows()), 8);
    const auto heads = rowSet(model.table(), 1, 5);
    EXPECT_TRUE(heads.count(QStringLiteral("11221")));  // entry 44554
    EXPECT_EQ(heads, mapped("44444 44554 45455 45545 54445 54555 55454 55544", {{u'4', u'1'}, {u'5', u'2'}}));
}

TEST(VewExpansion, System15RunsThroughEveryTwoWayCombination) {
    BetModel model;
    model.rows().changeTable([](TipTable& t) {
        t.clearAll();
        t.setDataRowCount(500);
        for (int r = 1; r <= 500; ++r) {
            t.setNumber(r, r);
            for (int m = 1; m <= kMatches; ++m) t.setCellText(r, m, QStringLiteral("1"));
            t.setHits(r, 13);
        }
    });
    model.rows().setFileName(QStringLiteral("schein.krsc"));

    // Bankers 2, 0, 1, 1, 2 on matches 1, 4, 7, 10, 13.
    Sheet sheet(QStringLiteral("2,10,102,0,02,102,1,12,102,1,10,102,2"));
    ASSERT_EQ(sheet.offeredVew(), 15);
    EXPECT_EQ(developVew(sheet, model.rows()), 144);
    expectGroupedCount(model.rows(), 144);
    EXPECT_TRUE(model.rows().fileName().isEmpty());
    const TipTable& t = model.table();
    ASSERT_EQ(t.dataRowCount(), 144);

    std::map<QString, std::set<QString>> threeWayByTwoWay;
    for (int r = 1; r <= 144; ++r) {
        const QString row = rowDigits(t, r);
        ASSERT_EQ(QString(row[0]) + row[3] + row[6] + row[9] + row[12], QStringLiteral("20112")) << r;
        EXPECT_TRUE(t.cellEmpty(r, TipTable::kHitColumn));
        threeWayByTwoWay[QString(row[1]) + row[4] + row[7] + row[10]].insert(QString(row[2]) + row[5] + row[8] + row[11]);
    }
    ASSERT_EQ(threeWayByTwoWay.size(), 16u);
    for (const auto& [twoWay, threeWays] : threeWayByTwoWay) {
        EXPECT_EQ(threeWays.size(), 9u) << twoWay.toStdString();
        for (int i = 0; i < 4; ++i) {
            const QChar allowed[] = {u'1', u'0', u'1', u'1'};  // 10, 02, 12, 10
            const QChar second[] = {u'0', u'2', u'2', u'0'};
            EXPECT_TRUE(twoWay[i] == allowed[i] || twoWay[i] == second[i]) << twoWay.toStdString();
        }
    }
}

TEST(VewExpansion, System11CombinesCodeEWithTheLastTwoThreeWayMatches) {
    Sheet sheet(QStringLiteral("1,102,0,102,2,102,1,102,0,102,2,102,1"));
    ASSERT_EQ(sheet.offeredVew(), 11);
    BetModel model;
    EXPECT_EQ(developVew(sheet, model.rows()), 81);
    const TipTable& t = model.table();
    std::map<QString, std::set<QString>> lastTwoByFirstFour;
    for (int r = 1; r <= 81; ++r) {
        const QString row = rowDigits(t, r);
        lastTwoByFirstFour[QString(row[1]) + row[3] + row[5] + row[7]].insert(QString(row[9]) + row[11]);
    }
    std::set<QString> firstFour;
    for (const auto& [head, tails] : lastTwoByFirstFour) {
        firstFour.insert(head);
        EXPECT_EQ(tails.size(), 9u) << head.toStdString();
    }
    EXPECT_EQ(firstFour, mapped("1112 1233 1321 2123 2211 2332 3131 3222 3313", kThreeWay));
}

// Whatever the structure's place on the sheet and whatever results within the
// crosses: every developed row keeps the bankers and one row has 12 hits.
TEST(VewExpansion, EverySystemGuaranteesTwelveHitsAndKeepsTheBankers) {
    std::mt19937 random(20240613);
    const char* twoWays[] = {"10", "12", "02"};
    const char* outcome[] = {"1", "0", "2"};
    for (int n = 1; n <= kVewSysteme; ++n) {
        const VewEintrag& e = vewEintrag(n);
        for (int trial = 0; trial < 4; ++trial) {
            SCOPED_TRACE(testing::Message() << "system " << n << " trial " << trial);
            std::array<int, kMatches> kind{};  // crosses per match
            for (int i = 0; i < kMatches; ++i) kind[static_cast<size_t>(i)] = i < e.ZW ? 2 : i < e.ZW + e.DW ? 3 : 1;
            std::shuffle(kind.begin(), kind.end(), random);
            QStringList groups;
            for (int k : kind)
                groups << (k == 3   ? QStringLiteral("102")
                           : k == 2 ? QLatin1String(twoWays[random() % 3])
                                    : QLatin1String(outcome[random() % 3]));
            Sheet sheet(groups.join(u','));
            ASSERT_EQ(sheet.offeredVew(), n);
            BetModel model;
            model.setInstantEvaluation(false);
            ASSERT_EQ(developVew(sheet, model.rows()), e.Reihen);

            for (int r = 1; r <= e.Reihen; ++r) {
                for (int m = 1; m <= kMatches; ++m) {
                    if (kind[static_cast<size_t>(m - 1)] != 1) continue;
                    ASSERT_EQ(model.table().cellText(r, m), groups[m - 1]) << "row " << r << " match " << m;
                }
            }

            for (int result = 0; result < 25; ++result) {
                WinningRow winning;
                for (int m = 1; m <= kMatches; ++m) {
                    const QString& g = groups[m - 1];
                    winning[static_cast<size_t>(m - 1)] = QString(g[static_cast<qsizetype>(random() % g.size())]);
                }
                TipTable table = model.table();
                evaluateTable(table, winning, QuotaTexts{});
                int best = 0;
                for (int r = 1; r < table.rowCount(); ++r) best = std::max(best, table.hits(r));
                ASSERT_GE(best, 12) << groups.join(u',').toStdString();
            }
        }
    }
}

TEST(VewExpansion, NothingHappensWithoutAnOfferedSystem) {
    BetModel model;
    model.rows().changeTable([](TipTable& t) { t.setCellText(1, 1, QStringLiteral("1")); });
    model.rows().setFileName(QStringLiteral("a.krsc"));
    for (const char* spec : {"10,10,10,10,10,10,1,1,1,1,1,1,1",   // ZW 6
                             "10,102,102,102,102,1,1,1,1,1,1,1,1",  // ZW 1, DW 4
                             "10,10,10,10,10,1,1,1,1,1,1,1,"}) {    // incomplete
        Sheet sheet{QLatin1String(spec)};
        EXPECT_FALSE((sheet.offeredVew() != 0)) << spec;
        EXPECT_EQ(developVew(sheet, model.rows()), 0) << spec;
    }
    EXPECT_EQ(model.table().cellText(1, 1), QStringLiteral("1"));
    EXPECT_EQ(model.rows().fileName(), QStringLiteral("a.krsc"));
}

TEST(VewExpansion, RowsOfAnotherShapeAreRefused) {
    Sheet sheet(QStringLiteral("10,10,10,10,10,1,1,1,1,1,1,1,1"));
    EXPECT_FALSE(expandVew(sheet.structure(), 15).has_value());
    EXPECT_FALSE(expandVew(sheet.structure(), 0).has_value());
    const std::optional<TipTable> rows = expandVew(sheet.structure(), 1);
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(rows->dataRowCount(), 8);
    // An incomplete sheet fits no system.
    Sheet incomplete(QStringLiteral("10,10,10,10,10,1,1,1,1,1,1,1,"));
    EXPECT_FALSE(expandVew(incomplete.structure(), 1).has_value());
}
