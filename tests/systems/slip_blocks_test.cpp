#include "support/test_env.h"

#include "files/slip_file.h"

#include <gtest/gtest.h>

using namespace korbisto;

// Large slips are written in blocks of records; rows that are no tip rows are
// skipped and cells such as " 1" still count as their digit, across blocks.
TEST(SlipBlocks, EveryTipRowOnceInOrderAcrossBlocks) {
    test::TempDataFolder folder;
    const int rows = 70000;
    TipTable table(rows);
    QString expected;
    for (int r = 1; r <= rows; ++r) {
        if (r % 997 == 0) {
            table.setCellText(r, 5, QStringLiteral("1"));  // no tip in match 1: not a tip row
            continue;
        }
        QStringList tips;
        for (int m = 1; m <= kMatches; ++m) tips << QString::number((r + m * (r % 7)) % 3);
        for (int m = 1; m <= kMatches; ++m) table.setCellText(r, m, tips[m - 1]);
        if (r % 1000 == 1) table.setCellText(r, 13, QStringLiteral(" ") + tips[12]);
        expected += tips.join(u',') + QStringLiteral("\r\n");
    }
    const QString file = folder.path(QStringLiteral("gross.krsc"));
    WriteSlipFile(table, file);
    EXPECT_EQ(test::readBytes(file), encodeSlip(table));
    TipTable back;
    ASSERT_EQ(readSlipFile(file, back), rows - rows / 997);
    EXPECT_EQ(exportRowsText(back, u','), expected);
}
