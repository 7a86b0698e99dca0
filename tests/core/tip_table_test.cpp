#include "core/tip_table.h"

#include <gtest/gtest.h>

using namespace korbisto;

TEST(TipTable, CellsKeepTheirTexts) {
    TipTable t(3);
    EXPECT_EQ(t.rowCount(), 4);
    t.setCellText(1, 0, QStringLiteral("   12"));
    t.setCellText(1, 1, QStringLiteral("1"));
    t.setCellText(1, 2, QStringLiteral("0"));
    t.setCellText(1, 3, QStringLiteral("2"));
    t.setCellText(1, 4, QStringLiteral("1;"));
    t.setCellText(1, 5, QStringLiteral(" "));
    t.setCellText(1, 6, QStringLiteral("12"));
    t.setCellText(1, 14, QStringLiteral("9"));
    t.setCellText(2, 0, QStringLiteral("x7"));
    t.setCellText(2, 14, QStringLiteral("n/a"));
    EXPECT_EQ(t.cellText(1, 0), QStringLiteral("12"));  // the blanks only centre it
    EXPECT_EQ(t.number(1), 12);
    EXPECT_EQ(t.cellText(1, 1), QStringLiteral("1"));
    EXPECT_EQ(t.cellText(1, 2), QStringLiteral("0"));
    EXPECT_EQ(t.cellText(1, 3), QStringLiteral("2"));
    EXPECT_EQ(t.cellText(1, 4), QStringLiteral("1;"));
    EXPECT_EQ(t.cellText(1, 5), QStringLiteral(" "));
    EXPECT_EQ(t.cellText(1, 6), QStringLiteral("12"));
    EXPECT_EQ(t.cellText(1, 7), QString());
    EXPECT_EQ(t.cellText(1, 14), QStringLiteral("9"));
    EXPECT_EQ(t.cellText(2, 0), QStringLiteral("x7"));
    EXPECT_EQ(t.cellText(2, 14), QStringLiteral("n/a"));
    EXPECT_FALSE(t.cellEmpty(1, 5));
    EXPECT_TRUE(t.cellEmpty(3, 0));
    // Overwriting an odd text with a tip takes the tip.
    t.setCellText(1, 4, QStringLiteral("0"));
    EXPECT_EQ(t.cellText(1, 4), QStringLiteral("0"));
    t.setCellText(1, 4, QString());
    EXPECT_TRUE(t.cellEmpty(1, 4));
}

TEST(TipTable, TipRowAndEmptinessLookAtMatchOne) {
    TipTable t(3);
    EXPECT_TRUE(t.isEmpty());
    t.setCellText(2, 1, QStringLiteral("1"));
    EXPECT_TRUE(t.isEmpty());  // only row 1 decides
    EXPECT_TRUE(t.isTipRow(2));
    t.setCellText(1, 2, QStringLiteral("1"));
    EXPECT_FALSE(t.isTipRow(1));
    t.setCellText(1, 1, QStringLiteral("x"));
    EXPECT_TRUE(t.isTipRow(1));
    EXPECT_FALSE(t.isEmpty());
    EXPECT_TRUE(TipTable().isEmpty());
}

TEST(TipTable, ClearingKeepsTheRowCount) {
    TipTable t(5);
    for (int r = 1; r <= 5; ++r) {
        t.setNumber(r, r);
        t.setCellText(r, 1, QStringLiteral("odd"));
        t.setHits(r, 4);
    }
    t.clearCells();
    EXPECT_EQ(t.rowCount(), 6);
    EXPECT_TRUE(t.isEmpty());
    for (int r = 1; r <= 5; ++r)
        for (int c = 0; c < TipTable::kColumns; ++c) EXPECT_TRUE(t.cellEmpty(r, c)) << r << "," << c;
}

TEST(TipTable, ExportJoinsTheThirteenTips) {
    TipTable t(2);
    for (int m = 1; m <= 13; ++m) t.setCellText(1, m, m % 3 == 0 ? QStringLiteral("2") : QStringLiteral("1"));
    t.setNumber(1, 1);
    t.setHits(1, 13);
    t.setCellText(2, 3, QStringLiteral("a;b"));
    EXPECT_EQ(exportRowsText(t, u','),
              QStringLiteral("1,1,2,1,1,2,1,1,2,1,1,2,1\r\n,,a;b,,,,,,,,,,\r\n"));
    EXPECT_EQ(exportRowsText(t, u';', 2, 2), QStringLiteral(";;a;b;;;;;;;;;;\r\n"));
    EXPECT_EQ(exportRowsText(TipTable(), u','), QString());
}

TEST(TipTable, RowsAreSmall) {
    // A full system of 3^13 rows must fit in well under 64 MB.
    EXPECT_LE(sizeof(TipTable::Row) * 1594323, 40u * 1024 * 1024);
}

TEST(TipTable, GridHeadersAndRowNumbers) {
    auto width = [](const QString& t) {
        int w = 0;
        for (QChar c : t) w += c == u' ' ? 3 : 6;
        return w;
    };
    TipTable t(4);
    t.setNumber(2, 77);
    const auto headers = InitTipGridHeaders(t, width);
    EXPECT_EQ(headers[0], QStringLiteral(" Tipp"));  // (28 - 24) / 6 = 0.67
    EXPECT_EQ(headers[1], QStringLiteral(" 1"));      // (14 - 6) / 6 = 1.33
    EXPECT_EQ(headers[13], QStringLiteral("13"));     // (14 - 12) / 6 = 0.33
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(t.number(r), r);
    TipTable none;
    InitTipGridHeaders(none, width);  // a grid without data rows gets no numbers
    EXPECT_EQ(none.dataRowCount(), 0);
}
