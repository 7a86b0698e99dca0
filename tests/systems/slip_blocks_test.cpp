#include "support/test_env.h"
#include "support/tip_rows.h"

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

// Any block size reads the same rows, numbered on across the blocks; a part
// of a record at the end is left out.
TEST(SlipBlocks, TheReaderGivesTheSameRowsWhateverItsBlocks) {
    test::TempDataFolder folder;
    QByteArray bytes;
    const char* kinds[] = {"1021021021021", "2222222222220", "-------------"};
    for (int r = 0; r < 1000; ++r) bytes += test::slipRecord(kinds[r % 3]);
    bytes += QByteArray(17, '\1');
    const QString file = folder.path(QStringLiteral("bloecke.krsc"));
    test::writeBytes(file, bytes);
    TipTable whole;
    ASSERT_EQ(readSlipFile(file, whole), 1000);
    for (const int blockRows : {1, 7, 999, 1000, 32768}) {
        SlipReader reader(file);
        EXPECT_EQ(reader.records(), 1000);
        TipTable pieces;
        int calls = 0;
        while (reader.readInto(pieces, blockRows) > 0) ++calls;
        EXPECT_EQ(calls, (1000 + blockRows - 1) / blockRows) << blockRows;
        EXPECT_EQ(exportRowsText(pieces, u','), exportRowsText(whole, u',')) << blockRows;
        EXPECT_EQ(pieces.number(1000), 1000);
        EXPECT_EQ(reader.readInto(pieces, blockRows), 0);
    }
}

// Written a block at a time, a refused tip is named by its row in the whole
// slip, and the old file stays.
TEST(SlipBlocks, TheWriterNamesARefusedRowAcrossBlocksAndKeepsTheOldFile) {
    test::TempDataFolder folder;
    const QString file = folder.path(QStringLiteral("alt.krsc"));
    test::writeBytes(file, "alt");
    SlipWriter writer(file);
    writer.write(test::tableOf({"1111111111111", "2222222222222"}));
    TipTable second = test::tableOf({"1111111111111", "1111111111111"});
    second.setCellText(2, 4, QStringLiteral("7"));
    EXPECT_TRUE(test::errorOf([&] { writer.write(second); }).startsWith(QStringLiteral("Der Tipp in Reihe 4, Spiel 4")));
    EXPECT_EQ(test::readBytes(file), QByteArray("alt"));
}
