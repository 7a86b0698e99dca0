#include "sheet_helpers.h"

#include "support/test_env.h"

#include "core/error.h"
#include "core/paths.h"
#include "files/structure_file.h"
#include "systems/cross_sheet.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::countsOf;
using korbisto::test::Sheet;

namespace {

class StructureFile : public ::testing::Test {
protected:
    StructureFile() { setUpFolders(appPaths()); }
    QString path() const { return appPaths().DataFolder + QStringLiteral("struktur.qui"); }
    // What the sheet's buttons do: save the crosses, or read the file and
    // then set them.
    void save(const CrossSheet& sheet) { writeStructureFile(path(), sheet.crosses()); }
    void open(CrossSheet& sheet) { sheet.setCrosses(readStructureFile(path())); }

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

TEST_F(StructureFile, LivesInTheDataFolder) { EXPECT_EQ(structureFilePath(), path()); }

TEST_F(StructureFile, SavesOneByteOfZeroOrOnePerOutcomeBox) {
    save(Sheet(QStringLiteral("1,0,2,10,102,,,,,,,,12")));
    QByteArray expected(39, '\0');
    expected[0] = 1;             // match 1, "1"
    expected[4] = 1;             // match 2, "0"
    expected[8] = 1;             // match 3, "2"
    expected[9] = expected[10] = 1;
    expected[12] = expected[13] = expected[14] = 1;
    expected[36] = expected[38] = 1;
    EXPECT_EQ(test::readBytes(path()), expected);
}

TEST_F(StructureFile, RoundTripRestoresSheetAndCounts) {
    Sheet sheet(QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,2"));
    save(sheet);
    const auto saved = boxes(sheet);
    const QString counts = countsOf(sheet);

    sheet.clear();
    open(sheet);
    EXPECT_EQ(boxes(sheet), saved);
    EXPECT_EQ(countsOf(sheet), counts);
    EXPECT_EQ(sheet.offeredVew(), 15);
    EXPECT_TRUE(sheet.fullSystemAllowed());

    // A later sheet may open it at once.
    Sheet later;
    open(later);
    EXPECT_EQ(boxes(later), saved);
}

TEST_F(StructureFile, IncompleteSheetsAreStoredAsTheyAre) {
    const Sheet sheet(QStringLiteral("102,,,,,,,,,,,,0"));
    save(sheet);
    Sheet other;
    open(other);
    EXPECT_EQ(boxes(other), boxes(sheet));
    EXPECT_EQ(countsOf(other), QStringLiteral("1|0|1|3"));
    EXPECT_FALSE(other.fullSystemAllowed());
}

TEST_F(StructureFile, AllZeroFileClearsTheSheet) {
    test::writeBytes(path(), QByteArray(39, '\0'));
    Sheet sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1"));
    ASSERT_TRUE(sheet.fullSystemAllowed());
    open(sheet);
    for (bool b : boxes(sheet)) EXPECT_FALSE(b);
    EXPECT_EQ(countsOf(sheet), QString());
    EXPECT_FALSE(sheet.fullSystemAllowed());
    EXPECT_EQ(sheet.offeredVew(), 0);
}

TEST_F(StructureFile, AnyNonZeroByteIsACrossAndLaterBytesAreIgnored) {
    QByteArray bytes(39, '\0');
    bytes[0] = 7;
    bytes[5] = char(0xFF);
    bytes += QByteArray(20, '\1');
    test::writeBytes(path(), bytes);
    const StructureRecord record = readStructureFile(path());
    for (int i = 0; i < 39; ++i) EXPECT_EQ(record[static_cast<size_t>(i)], i == 0 || i == 5) << i;

    Sheet sheet;
    open(sheet);
    EXPECT_TRUE(sheet.crossed(1, 1));
    EXPECT_TRUE(sheet.crossed(2, 3));
    EXPECT_EQ(countsOf(sheet), QStringLiteral("2|0|0|1"));
}

TEST_F(StructureFile, ShortFileFailsAndKeepsTheSheet) {
    test::writeBytes(path(), QByteArray(38, '\1'));
    Sheet sheet(QStringLiteral("10,1,1,1,1,1,1,1,1,1,1,1,2"));
    const auto before = boxes(sheet);
    EXPECT_EQ(test::errorOf([&] { open(sheet); }), QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
    EXPECT_EQ(boxes(sheet), before);
    EXPECT_EQ(countsOf(sheet), QStringLiteral("12|1|0|2"));
    EXPECT_TRUE(sheet.fullSystemAllowed());
}

TEST_F(StructureFile, FileDeletedAfterSavingIsReportedMissing) {
    Sheet sheet(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1"));
    save(sheet);
    ASSERT_TRUE(QFile::remove(path()));
    EXPECT_EQ(test::errorOf([&] { open(sheet); }), QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
    EXPECT_TRUE(sheet.crossed(13, 1));
}

TEST_F(StructureFile, FailedSavesReportTheirCause) {
    // A folder where the file should be: neither a file to open nor one to replace.
    const QString blocked = folder_.path(QStringLiteral("struktur.qui"));
    ASSERT_TRUE(QDir().mkpath(blocked));
    EXPECT_EQ(test::errorOf([&] { writeStructureFile(blocked, Sheet(QStringLiteral("1")).crosses()); }),
              QStringLiteral("E/A-Fehler 21"));
    EXPECT_EQ(test::errorOf([&] { writeStructureFile(folder_.path(QStringLiteral("fehlt/struktur.qui")), {}); }),
              QStringLiteral("Die angegebene Datei wurde nicht gefunden"));
}
