#include "sheet_helpers.h"

#include "systems/cross_sheet.h"
#include "systems/development.h"
#include "systems/full_system.h"

#include "core/bet_model.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <set>

using namespace korbisto;
using korbisto::test::Sheet;
using korbisto::test::expectGroupedCount;
using korbisto::test::rowDigits;

namespace {

void loadSlip(BetModel& model, int rows) {
    model.rows().changeTable([&](TipTable& t) {
        t.clearAll();
        t.setDataRowCount(rows);
        for (int r = 1; r <= rows; ++r) {
            t.setNumber(r, r);
            for (int m = 1; m <= kMatches; ++m) t.setCellText(r, m, QStringLiteral("2"));
            t.setHits(r, 7);
        }
    });
    model.rows().setFileName(QStringLiteral("alt.krsc"));
    model.rows().setTipRowCount(rows);
}

}  // namespace

TEST(FullSystem, LastMatchChangesFastest) {
    Sheet sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,10,102"));
    BetModel model;
    EXPECT_EQ(developFullSystem(sheet, model.rows()), 6);
    const TipTable& t = model.table();
    ASSERT_EQ(t.dataRowCount(), 6);
    const char* tails[] = {"11", "10", "12", "01", "00", "02"};
    for (int r = 1; r <= 6; ++r) {
        EXPECT_EQ(rowDigits(t, r), QStringLiteral("11111111111") + QLatin1String(tails[r - 1])) << r;
        EXPECT_EQ(t.number(r), r);
        EXPECT_TRUE(t.cellEmpty(r, TipTable::kHitColumn));
    }
    expectGroupedCount(model.rows(), 6);
}

TEST(FullSystem, ThirteenBankersGiveTheirOwnRow) {
    Sheet sheet(QStringLiteral("2,0,1,1,0,2,2,1,0,1,2,0,1"));
    BetModel model;
    EXPECT_EQ(developFullSystem(sheet, model.rows()), 1);
    ASSERT_EQ(model.table().dataRowCount(), 1);
    EXPECT_EQ(rowDigits(model.table(), 1), QStringLiteral("2011022101201"));
    EXPECT_EQ(model.table().number(1), 1);
    expectGroupedCount(model.rows(), 1);
}

TEST(FullSystem, ThirteenTwoWayMatchesGiveEveryCombinationOnce) {
    Sheet sheet(QStringLiteral("10,12,02,10,12,02,10,12,02,10,12,02,10"));
    BetModel model;
    EXPECT_EQ(developFullSystem(sheet, model.rows()), 8192);
    expectGroupedCount(model.rows(), 8192);
    const TipTable& t = model.table();
    std::set<QString> rows;
    for (int r = 1; r < t.rowCount(); ++r) rows.insert(rowDigits(t, r));
    EXPECT_EQ(rows.size(), 8192u);
    EXPECT_EQ(rowDigits(t, 1), QStringLiteral("1101101101101"));
    EXPECT_EQ(rowDigits(t, 8192), QStringLiteral("0220220220220"));
}

TEST(FullSystem, FirstAndLastRowsOfALargeSystem) {
    Sheet sheet(QStringLiteral("10,12,102,102,102,102,102,102,102,102,102,1,2"));
    ASSERT_TRUE(sheet.fullSystemAllowed());
    BetModel model;
    EXPECT_EQ(developFullSystem(sheet, model.rows()), 78732);
    expectGroupedCount(model.rows(), 78732);
    const TipTable& t = model.table();
    ASSERT_EQ(t.dataRowCount(), 78732);
    EXPECT_EQ(rowDigits(t, 1), QStringLiteral("1111111111112"));
    EXPECT_EQ(rowDigits(t, 78732), QStringLiteral("0222222222212"));
    EXPECT_EQ(t.number(78732), 78732);
    // Rows come in ascending order of their outcome columns.
    for (int r = 2; r <= 78732; ++r)
        ASSERT_LT(t.rowAt(r - 1).tips, t.rowAt(r).tips) << r;
}

TEST(FullSystem, AllOf3To13IsDevelopedWithoutTheWindowLimit) {
    Sheet sheet(QStringLiteral("102,102,102,102,102,102,102,102,102,102,102,102,102"));
    EXPECT_FALSE(sheet.fullSystemAllowed());
    BetModel model;
    EXPECT_EQ(developFullSystem(sheet, model.rows()), 1594323);
    const TipTable& t = model.table();
    ASSERT_EQ(t.dataRowCount(), 1594323);
    EXPECT_EQ(rowDigits(t, 1), QStringLiteral("1111111111111"));
    EXPECT_EQ(rowDigits(t, 797162), QStringLiteral("0000000000000"));  // the middle row
    EXPECT_EQ(rowDigits(t, 1594323), QStringLiteral("2222222222222"));
    expectGroupedCount(model.rows(), 1594323);
}

TEST(FullSystem, ReplacesASlipAndForgetsItsFile) {
    BetModel model;
    loadSlip(model, 200);
    Sheet sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,10,102"));
    QSignalSpy before(&model.rows(), &TipDocument::tableAboutToChange);
    developFullSystem(sheet, model.rows());
    EXPECT_GE(before.count(), 1) << "views hear of the new rows";
    EXPECT_EQ(model.table().dataRowCount(), 6);
    EXPECT_TRUE(model.rows().fileName().isEmpty());
    expectGroupedCount(model.rows(), 6);
    for (int r = 1; r <= 6; ++r) EXPECT_TRUE(model.table().cellEmpty(r, TipTable::kHitColumn));

    // Developing again gives the same table.
    const QString first = exportRowsText(model.table(), u',');
    developFullSystem(sheet, model.rows());
    EXPECT_EQ(exportRowsText(model.table(), u','), first);
}

TEST(FullSystem, BlocksOfAnySizeGiveTheSameRowsInTheSameOrder) {
    Sheet sheet(QStringLiteral("10,12,102,102,102,1,1,1,1,1,1,0,2"));
    const TipTable whole = expandFullSystem(sheet.structure());
    ASSERT_EQ(whole.dataRowCount(), 108);
    for (const int blockRows : {1, 5, 107, 108, 5000}) {
        FullSystemRows rows(sheet.structure());
        EXPECT_EQ(rows.count(), 108);
        TipTable pieces;
        while (rows.appendTo(pieces, blockRows) > 0) {
        }
        EXPECT_EQ(exportRowsText(pieces, u','), exportRowsText(whole, u',')) << blockRows;
        EXPECT_EQ(pieces.number(108), 108);
    }
    // An incomplete sheet has no rows at all.
    FullSystemRows none(Sheet(QStringLiteral("1,1,1")).structure());
    TipTable empty;
    EXPECT_EQ(none.appendTo(empty, 10), 0);
}

TEST(FullSystem, ARowlessTableKeepsItsFileName) {
    // The rows of an empty slip file: "Reihen löschen" leaves such a table
    // alone, so the name stays beside the developed rows.
    BetModel model;
    model.rows().setFileName(QStringLiteral("leer.krsc"));
    Sheet sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,10,102"));
    EXPECT_EQ(developFullSystem(sheet, model.rows()), 6);
    EXPECT_EQ(model.rows().fileName(), QStringLiteral("leer.krsc"));
    expectGroupedCount(model.rows(), 6);
}

TEST(FullSystem, AnIncompleteSheetDevelopsNothing) {
    BetModel model;
    loadSlip(model, 3);
    Sheet sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,10,"));
    EXPECT_EQ(developFullSystem(sheet, model.rows()), 0);
    EXPECT_EQ(model.table().dataRowCount(), 3);
    EXPECT_EQ(model.rows().fileName(), QStringLiteral("alt.krsc"));
}
