#include "support/tip_rows.h"

#include "core/bet_model.h"
#include "files/slip_file.h"
#include "files/text_import.h"
#include "support/test_env.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::errorOf;
using korbisto::test::tipTexts;

namespace {

const QString kNothingToSave = QStringLiteral("Es gibt nichts zu speichern.\n\nIch breche erst einmal ab.");
const QString kNothingToCopy = QStringLiteral("Es gibt nichts zu übertragen.\n\nIch breche erst einmal ab.");
const QString kFiveRows = QStringLiteral("1201120112011\r\n0000000000000\r\n2222222222222\r\n1111111111111\r\n1020102010201\r\n");

// A main window showing `n` evaluated rows of all "1".
void showEvaluatedRows(BetModel& model, int n) {
    model.setInstantEvaluation(false);
    model.rows().replaceRows(test::tableOf(std::vector<const char*>(static_cast<size_t>(n), "1111111111111")));
    for (int m = 1; m <= 13; ++m) model.setWinning(m, QStringLiteral("1"));
    model.setQuota(1, QStringLiteral("10,00"));
    model.rows().setFileName(QStringLiteral("alt.krsc"));
    model.rows().setTipRowCount(n);
    model.evaluate();
}

// The entry window's rows as it opens.
struct EntryRows : TipDocument {
    EntryRows() { initEntryRows(*this); }
};

}  // namespace

TEST(EntryRows, ANewGridHasThirtyFiveNumberedEmptyRowsAndRefusesToSave) {
    test::TempDataFolder folder;
    EntryRows grid;
    EXPECT_EQ(grid.table().dataRowCount(), 35);
    EXPECT_EQ(grid.table().number(35), 35);
    EXPECT_TRUE(grid.isEmpty());
    EXPECT_EQ(grid.tipRowCount(), 0);
    EXPECT_EQ(errorOf([&] { checkCanSave(grid); }), kNothingToSave);
    const QString path = folder.path(QStringLiteral("leer.krsc"));
    EXPECT_EQ(errorOf([&] { saveSlip(grid, path); }), kNothingToSave);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(EntryRows, AnImportWithoutRowsEmptiesTheRowOfAnEarlierOne) {
    EntryRows grid;
    takeImport(grid, importTipRows(kFiveRows), QStringLiteral("tipps.txt"));
    EXPECT_EQ(grid.tipRowCount(), 5);
    EXPECT_EQ(grid.fileName(), QStringLiteral("tipps.txt"));
    takeImport(grid, importTipRows(QStringLiteral("Tipps\r\n1;2;0;1;2;0;1;2;0;1;2;0;1\r\n")), QString());
    EXPECT_EQ(test::rows(grid.table()), test::expectedRows({}));
    EXPECT_EQ(grid.tipRowCount(), 1);
    EXPECT_EQ(errorOf([&] { checkCanCopy(grid); }), kNothingToCopy);

    // Clearing an empty grid does nothing.
    QSignalSpy changed(&grid, &TipDocument::tableChanged);
    grid.clear();
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(grid.tipRowCount(), 1);
}

TEST(EntryRows, ClearingEmptiesRowsAndNumbersThenNothingIsCopied) {
    EntryRows grid;
    takeImport(grid, importTipRows(kFiveRows), QStringLiteral("tipps.txt"));
    grid.clear();
    EXPECT_EQ(grid.table().dataRowCount(), 5);
    EXPECT_TRUE(grid.isEmpty());
    for (int r = 1; r <= 5; ++r) {
        EXPECT_TRUE(grid.table().cellEmpty(r, 0));
        EXPECT_EQ(tipTexts(grid.table(), r), QStringList(13, QString()));
    }
    EXPECT_EQ(grid.fileName(), QString());
    EXPECT_EQ(grid.tipRowCount(), 0);

    BetModel model;
    showEvaluatedRows(model, 3);
    EXPECT_EQ(errorOf([&] { copyRows(grid, model.rows()); }), kNothingToCopy);
    EXPECT_EQ(model.table().dataRowCount(), 3);
}

TEST(EntryRows, CopyingFiveRowsOverTwentyLeavesExactlyFive) {
    BetModel model;
    showEvaluatedRows(model, 20);
    ASSERT_EQ(model.table().hits(1), 13);
    const int countBefore = model.results()->rank(1).count;

    EntryRows grid;
    takeImport(grid, importTipRows(kFiveRows), QStringLiteral("tipps.txt"));
    QSignalSpy hits(&model.rows(), &TipDocument::cellsChanged);
    copyRows(grid, model.rows());

    ASSERT_EQ(model.table().dataRowCount(), 5);
    EXPECT_EQ(test::rows(model.table()), test::rows(grid.table()));
    for (int r = 1; r <= 5; ++r) {
        EXPECT_EQ(model.table().number(r), r);
        EXPECT_TRUE(model.table().cellEmpty(r, TipTable::kHitColumn)) << r;
    }
    EXPECT_EQ(model.rows().tipRowCount(), 5);
    EXPECT_EQ(model.rows().countStyle(), TipDocument::CountStyle::Plain);
    // Nothing else of the main window changes and nothing is evaluated.
    EXPECT_EQ(model.rows().fileName(), QStringLiteral("alt.krsc"));
    EXPECT_EQ(model.results()->rank(1).count, countBefore);
    EXPECT_EQ(model.quota(1), QStringLiteral("10,00"));
    EXPECT_EQ(hits.count(), 0);
    EXPECT_EQ(grid.table().dataRowCount(), 5);

    // Cells that are no tips reach the main table as they are.
    takeImport(grid, importTipRows(QStringLiteral("1,2,0,1,2,0,1,2\r\n1,,2\r\n1,1,1\r\n")), QString());
    copyRows(grid, model.rows());
    EXPECT_EQ(tipTexts(model.table(), 2), test::cells("1| |2"));
}

TEST(EntryRows, SavesTheRowsAsASlip) {
    test::TempDataFolder folder;
    EntryRows grid;
    takeImport(grid, importTipRows(kFiveRows), QStringLiteral("tipps.txt"));
    const QString path = folder.path(QStringLiteral("neu.krsc"));
    saveSlip(grid, path);
    EXPECT_EQ(grid.fileName(), QStringLiteral("neu.krsc"));
    const QByteArray bytes = test::readBytes(path);
    ASSERT_EQ(bytes.size(), 5 * 40);
    // Row 1 starts 1, 2, 0: columns 1, 3, 2 of matches 1, 2, 3.
    EXPECT_EQ(bytes.left(10), QByteArray::fromHex("00010000000001000100"));
    TipTable back;
    ASSERT_EQ(readSlipFile(path, back), 5);
    EXPECT_EQ(test::rows(back), test::rows(grid.table()));
}

TEST(EntryRows, ACellThatIsNoTipIsRefusedAndNothingIsWritten) {
    test::TempDataFolder folder;
    const QString path = folder.path(QStringLiteral("alt.krsc"));
    test::writeBytes(path, QByteArray(40, '\1'));

    EntryRows grid;
    takeImport(grid, importTipRows(QStringLiteral("1 2 0 1 2 0 1 2 0 1 2 0 1\r\n1 2 0 1 2 0 1 2 0 1 2 0 1\r\n"
                                                 "1 2  0 1 2 0 1 2 0 1 2 0 1\r\n")),
                    QStringLiteral("t.txt"));
    const QString message = errorOf([&] { saveSlip(grid, path); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("Der Tipp in Reihe 3, Spiel 3 lautet „ “."))) << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("\n\nIch breche erst einmal ab.")));
    EXPECT_EQ(test::readBytes(path), QByteArray(40, '\1'));
    EXPECT_EQ(grid.fileName(), QStringLiteral("t.txt"));
}
