#include "sheet_helpers.h"

#include "support/test_env.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/structure_file.h"
#include "systems/cross_sheet.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::clickCrosses;

namespace {

class StructureFile : public ::testing::Test {
protected:
    StructureFile() { setUpFolders(appPaths()); }
    QString path() const { return appPaths().DataFolder + QStringLiteral("struktur.qui"); }

    test::TempDataFolder folder_;
};

// Every box of the sheet, markers included.
std::vector<bool> boxes(const CrossSheet& sheet) {
    std::vector<bool> all;
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) all.push_back(sheet.crossed(m, c));
    return all;
}


}  // namespace

TEST_F(StructureFile, LivesInTheDataFolder) {
    EXPECT_EQ(structureFilePath(), path());
    CrossSheet sheet;
    EXPECT_EQ(sheet.structurePath(), path());
}

TEST_F(StructureFile, SavesOneByteOfZeroOrOnePerOutcomeBox) {
    CrossSheet sheet;
    clickCrosses(sheet, QStringLiteral("1,0,2,10,102,,,,,,,,12"));
    sheet.BQSaveClick();
    QByteArray expected(39, '\0');
    expected[0] = 1;             // match 1, "1"
    expected[4] = 1;             // match 2, "0"
    expected[8] = 1;             // match 3, "2"
    expected[9] = expected[10] = 1;
    expected[12] = expected[13] = expected[14] = 1;
    expected[36] = expected[38] = 1;
    EXPECT_EQ(test::readBytes(path()), expected);
}

TEST_F(StructureFile, RoundTripRestoresSheetCountsAndButtons) {
    CrossSheet sheet;
    EXPECT_FALSE(sheet.display().BQOpenEnabled) << "no file at the start";
    clickCrosses(sheet, QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,2"));
    QSignalSpy spy(&sheet, &CrossSheet::displayChanged);
    sheet.BQSaveClick();
    EXPECT_TRUE(sheet.display().BQOpenEnabled);
    EXPECT_EQ(spy.count(), 1);
    const auto saved = boxes(sheet);
    const CrossSheet::Display before = sheet.display();

    sheet.BKreuzeDelClick();
    sheet.BQOpenClick();
    EXPECT_EQ(boxes(sheet), saved);
    const CrossSheet::Display& d = sheet.display();
    EXPECT_EQ(d.PB, before.PB);
    EXPECT_EQ(d.PZW, before.PZW);
    EXPECT_EQ(d.PDW, before.PDW);
    EXPECT_EQ(d.PAnz, before.PAnz);
    EXPECT_TRUE(d.LVEWVisible);
    EXPECT_EQ(d.LVEW2, QStringLiteral("mit 144 Tippreihen"));
    EXPECT_TRUE(d.BVEWEnabled);
    EXPECT_TRUE(d.BVollEnabled);
    EXPECT_EQ(sheet.vewTag(), 15);

    // A later sheet finds the file and may open it at once.
    CrossSheet later;
    EXPECT_TRUE(later.display().BQOpenEnabled);
    later.BQOpenClick();
    EXPECT_EQ(boxes(later), saved);
}

TEST_F(StructureFile, IncompleteSheetsAreStoredAsTheyAre) {
    CrossSheet sheet;
    clickCrosses(sheet, QStringLiteral("102,,,,,,,,,,,,0"));
    sheet.BQSaveClick();
    CrossSheet other;
    other.BQOpenClick();
    EXPECT_EQ(boxes(other), boxes(sheet));
    EXPECT_EQ(other.display().PB, QStringLiteral("1"));
    EXPECT_EQ(other.display().PDW, QStringLiteral("1"));
    EXPECT_FALSE(other.display().BVollEnabled);
}

TEST_F(StructureFile, AllZeroFileClearsTheSheet) {
    test::writeBytes(path(), QByteArray(39, '\0'));
    CrossSheet sheet;
    clickCrosses(sheet, QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1"));
    ASSERT_TRUE(sheet.display().BVollEnabled);
    sheet.BQOpenClick();
    for (bool b : boxes(sheet)) EXPECT_FALSE(b);
    EXPECT_TRUE(sheet.display().PAnz.isEmpty());
    EXPECT_FALSE(sheet.display().BVollEnabled);
    EXPECT_FALSE(sheet.display().BVEWEnabled);
}

TEST_F(StructureFile, AnyNonZeroByteIsACrossAndLaterBytesAreIgnored) {
    QByteArray bytes(39, '\0');
    bytes[0] = 7;
    bytes[5] = char(0xFF);
    bytes += QByteArray(20, '\1');
    test::writeBytes(path(), bytes);
    const StructureRecord record = readStructureFile(path());
    for (int i = 0; i < 39; ++i) EXPECT_EQ(record[static_cast<size_t>(i)], i == 0 || i == 5) << i;

    CrossSheet sheet;
    sheet.BQOpenClick();
    EXPECT_TRUE(sheet.crossed(1, 1));
    EXPECT_TRUE(sheet.crossed(2, 3));
    EXPECT_EQ(sheet.display().PB, QStringLiteral("2"));
}

TEST_F(StructureFile, ShortFileFailsAndKeepsTheSheet) {
    test::writeBytes(path(), QByteArray(38, '\1'));
    CrossSheet sheet;
    clickCrosses(sheet, QStringLiteral("10,1,1,1,1,1,1,1,1,1,1,1,2"));
    const auto before = boxes(sheet);
    EXPECT_EQ(test::errorOf([&] { sheet.BQOpenClick(); }), QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
    EXPECT_EQ(boxes(sheet), before);
    EXPECT_EQ(sheet.display().PZW, QStringLiteral("1"));
    EXPECT_TRUE(sheet.display().BVollEnabled);
}

TEST_F(StructureFile, FileDeletedAfterSavingIsReportedMissing) {
    CrossSheet sheet;
    clickCrosses(sheet, QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1"));
    sheet.BQSaveClick();
    ASSERT_TRUE(QFile::remove(path()));
    EXPECT_EQ(test::errorOf([&] { sheet.BQOpenClick(); }), QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_TRUE(sheet.display().BQOpenEnabled);
    EXPECT_TRUE(sheet.crossed(13, 1));
}

TEST_F(StructureFile, FailedSaveLeavesTheOpenButtonAlone) {
    // A folder where the file should be: neither a file to open nor one to replace.
    const QString blocked = folder_.path(QStringLiteral("struktur.qui"));
    ASSERT_TRUE(QDir().mkpath(blocked));
    CrossSheet sheet(blocked);
    EXPECT_FALSE(sheet.display().BQOpenEnabled);
    sheet.KreuzVerwerten(1, 1);
    EXPECT_EQ(test::errorOf([&] { sheet.BQSaveClick(); }), QStringLiteral("E/A-Fehler 21"));
    EXPECT_FALSE(sheet.display().BQOpenEnabled);
    EXPECT_TRUE(sheet.crossed(1, 1));

    CrossSheet nowhere(folder_.path(QStringLiteral("fehlt/struktur.qui")));
    EXPECT_EQ(test::errorOf([&] { nowhere.BQSaveClick(); }), QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_FALSE(nowhere.display().BQOpenEnabled);
}
