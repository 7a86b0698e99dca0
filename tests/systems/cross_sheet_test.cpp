#include "sheet_helpers.h"

#include "systems/cross_sheet.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::clickCrosses;
using korbisto::test::countsOf;
using korbisto::test::Sheet;

namespace {

void expectNothingToDevelop(const CrossSheet& sheet) {
    EXPECT_FALSE(sheet.fullSystemAllowed());
    EXPECT_EQ(sheet.offeredVew(), 0);
}

}  // namespace

TEST(CrossSheet, StartsEmptyWithZeroCounts) {
    Sheet sheet;
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) EXPECT_FALSE(sheet.crossed(m, c));
    EXPECT_EQ(countsOf(sheet), QStringLiteral("0|0|0|0"));
    EXPECT_FALSE(sheet.AlleGetippt());
    expectNothingToDevelop(sheet);
}

// Per sheet: the counters, whether the full system may be developed and the
// VEW system offered.
struct StructureCase {
    const char* crosses;
    const char* counts;
    bool full;
    int vew;
};

TEST(CrossSheet, CountsLimitAndOfferedSystem) {
    const StructureCase cases[] = {
        {"1,1,0,2,1,1,1,0,0,2,1,1,2", "13|0|0|1", true, 0},                 // thirteen bankers
        {"10,12,02,10,102,102,102,102,1,1,0,2,2", "5|4|4|1296", true, 15},  // system 15
        // The limit lies between 78,732 and 104,976 rows.
        {"10,12,102,102,102,102,102,102,102,102,102,1,2", "2|2|9|78732", true, 0},
        {"10,12,02,10,102,102,102,102,102,102,102,102,1", "1|4|8|104976", false, 0},
        {"102,102,102,102,102,102,102,102,102,102,102,102,102", "0|0|13|1594323", false, 0},
        // Twelve matches crossed: counts, but nothing to develop.
        {"10,12,02,10,102,102,102,102,1,1,0,2,", "4|4|4|1296", false, 0},
    };
    for (const StructureCase& c : cases) {
        SCOPED_TRACE(c.crosses);
        const Sheet sheet(QString::fromLatin1(c.crosses));
        EXPECT_EQ(countsOf(sheet), QString::fromLatin1(c.counts));
        EXPECT_EQ(sheet.fullSystemAllowed(), c.full);
        EXPECT_EQ(sheet.offeredVew(), c.vew);
        EXPECT_EQ(sheet.fullSystemRows(), sheet.counts()->rows);
    }
}

TEST(CrossSheet, TheLastMissingMatchDecidesTheOffer) {
    Sheet sheet(QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,"));
    EXPECT_FALSE(sheet.AlleGetippt());
    expectNothingToDevelop(sheet);
    sheet.toggle(13, 1);
    EXPECT_TRUE(sheet.AlleGetippt());
    EXPECT_EQ(sheet.offeredVew(), 15);
    sheet.toggle(13, 1);
    expectNothingToDevelop(sheet);
}

TEST(CrossSheet, MarkersFollowTheNumberOfCrosses) {
    Sheet sheet;
    QSignalSpy spy(&sheet, &CrossSheet::crossChanged);
    sheet.toggle(3, 1);
    sheet.toggle(3, 2);
    EXPECT_TRUE(sheet.crossed(3, kZWSpalte));
    EXPECT_FALSE(sheet.crossed(3, kDWSpalte));
    sheet.toggle(3, 3);
    EXPECT_FALSE(sheet.crossed(3, kZWSpalte));
    EXPECT_TRUE(sheet.crossed(3, kDWSpalte));
    EXPECT_EQ(sheet.AnzDW(), 1);
    EXPECT_EQ(sheet.AnzZW(), 0);

    spy.clear();
    sheet.toggle(3, 2);  // one of three removed: back to two-way
    EXPECT_TRUE(sheet.crossed(3, kZWSpalte));
    EXPECT_FALSE(sheet.crossed(3, kDWSpalte));
    EXPECT_EQ(sheet.AnzZW(), 1);
    EXPECT_EQ(sheet.AnzDW(), 0);
    // The window learns of each box that changed, and of nothing else.
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0], (QList<QVariant>{3, 2, false}));

    sheet.toggle(3, 1);  // a second removed: a banker, no marker
    EXPECT_FALSE(sheet.crossed(3, kZWSpalte));
    EXPECT_FALSE(sheet.crossed(3, kDWSpalte));
    EXPECT_TRUE(sheet.crossed(3, 3));
    EXPECT_EQ(sheet.AnzZW(), 0);
    for (int m = 1; m <= kMatches; ++m) {
        if (m == 3) continue;
        for (int c = 1; c <= kKreuzSpalten; ++c) EXPECT_FALSE(sheet.crossed(m, c));
    }
}

TEST(CrossSheet, OnlyOutcomeBoxesCanBeToggled) {
    Sheet sheet;
    QSignalSpy spy(&sheet, &CrossSheet::changed);
    for (auto [match, column] : {std::pair{0, 1}, {14, 1}, {1, 0}, {1, kZWSpalte}, {1, kDWSpalte}})
        sheet.toggle(match, column);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(countsOf(sheet), QStringLiteral("0|0|0|0"));
}

TEST(CrossSheet, ClearingEmptiesTheCountsAndStopsDevelopment) {
    Sheet sheet(QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,2"));
    ASSERT_EQ(sheet.offeredVew(), 15);
    QSignalSpy changes(&sheet, &CrossSheet::changed);
    sheet.clear();
    EXPECT_GE(changes.count(), 1);
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) EXPECT_FALSE(sheet.crossed(m, c));
    EXPECT_EQ(countsOf(sheet), QString());
    EXPECT_FALSE(sheet.AlleGetippt());
    expectNothingToDevelop(sheet);

    // The next cross counts afresh.
    sheet.toggle(1, 2);
    EXPECT_EQ(countsOf(sheet), QStringLiteral("1|0|0|1"));
    expectNothingToDevelop(sheet);
}

TEST(CrossSheet, CrossesGoOutAndComeBackAsTheFileKeepsThem) {
    Sheet sheet(QStringLiteral("1,0,2,10,102,,,,,,,,12"));
    const OutcomeCrosses crosses = sheet.crosses();
    for (int i = 0; i < kOutcomeCrosses; ++i)
        EXPECT_EQ(crosses[static_cast<size_t>(i)], i == 0 || i == 4 || i == 8 || i == 9 || i == 10 || i == 12 ||
                                                       i == 13 || i == 14 || i == 36 || i == 38)
            << i;

    Sheet other(QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,1"));
    other.setCrosses(crosses);
    EXPECT_EQ(other.crosses(), crosses);
    EXPECT_EQ(countsOf(other), countsOf(sheet));
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) EXPECT_EQ(other.crossed(m, c), sheet.crossed(m, c)) << m << c;
    // No cross at all: the sheet as cleared.
    other.setCrosses(OutcomeCrosses{});
    EXPECT_EQ(countsOf(other), QString());
}

TEST(CrossSheet, CaptureListsCrossedColumnsAndSlots) {
    Sheet sheet(QStringLiteral("2,02,102,1,1,1,1,1,1,1,1,12,0"));
    const SystemStructure s = sheet.structure();
    EXPECT_EQ(s.AnzZW, 2);
    EXPECT_EQ(s.AnzDW, 1);
    EXPECT_EQ(s.tipps(1).Anzahl, 1);
    EXPECT_EQ(s.tipps(1).Tipp[1], 3);
    EXPECT_EQ(s.slotsOf(1)[0], 3);
    EXPECT_EQ(s.tipps(2).Anzahl, 2);
    EXPECT_EQ(s.tipps(2).Tipp[1], 2);
    EXPECT_EQ(s.tipps(2).Tipp[2], 3);
    EXPECT_EQ(s.slotsOf(2)[4], 2);
    EXPECT_EQ(s.slotsOf(2)[5], 3);
    EXPECT_EQ(s.tipps(3).Anzahl, 3);
    EXPECT_EQ(s.slotsOf(3)[1], 1);
    EXPECT_EQ(s.slotsOf(3)[2], 2);
    EXPECT_EQ(s.slotsOf(3)[3], 3);
    EXPECT_EQ(s.slotsOf(12)[4], 1);
    EXPECT_EQ(s.slotsOf(12)[5], 3);
    EXPECT_EQ(s.slotsOf(13)[0], 2);
}
