#include "sheet_helpers.h"

#include "systems/cross_sheet.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace korbisto;
using korbisto::test::clickCrosses;

namespace {

// A sheet whose structure file lies nowhere.
struct Sheet : CrossSheet {
    Sheet() : CrossSheet(QString()) {}
};

void expectNothingToDevelop(const CrossSheet& sheet) {
    const CrossSheet::Display& d = sheet.display();
    EXPECT_FALSE(d.BVollEnabled);
    EXPECT_FALSE(d.BVEWEnabled);
    EXPECT_FALSE(d.LVEWVisible);
    EXPECT_FALSE(d.LVEW2Visible);
    EXPECT_EQ(sheet.vewTag(), 0);
}

}  // namespace

TEST(CrossSheet, StartsEmptyWithZeroCounts) {
    Sheet sheet;
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) EXPECT_FALSE(sheet.crossed(m, c));
    const CrossSheet::Display& d = sheet.display();
    EXPECT_EQ(d.PB, QStringLiteral("0"));
    EXPECT_EQ(d.PZW, QStringLiteral("0"));
    EXPECT_EQ(d.PDW, QStringLiteral("0"));
    EXPECT_EQ(d.PAnz, QStringLiteral("0"));
    EXPECT_FALSE(sheet.AlleGetippt());
    expectNothingToDevelop(sheet);
}

TEST(CrossSheet, ThirteenBankersAllowTheFullSystemButNoVew) {
    Sheet sheet;
    clickCrosses(sheet, QStringLiteral("1,1,0,2,1,1,1,0,0,2,1,1,2"));
    const CrossSheet::Display& d = sheet.display();
    EXPECT_TRUE(sheet.AlleGetippt());
    EXPECT_EQ(d.PB, QStringLiteral("13"));
    EXPECT_EQ(d.PZW, QStringLiteral("0"));
    EXPECT_EQ(d.PDW, QStringLiteral("0"));
    EXPECT_EQ(d.PAnz, QStringLiteral("1"));
    EXPECT_TRUE(d.BVollEnabled);
    EXPECT_FALSE(d.BVEWEnabled);
    EXPECT_FALSE(d.LVEWVisible);
}

TEST(CrossSheet, FourTwoWayFourThreeWayOffersSystem15) {
    Sheet sheet;
    clickCrosses(sheet, QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,2"));
    const CrossSheet::Display& d = sheet.display();
    EXPECT_EQ(d.PB, QStringLiteral("5"));
    EXPECT_EQ(d.PZW, QStringLiteral("4"));
    EXPECT_EQ(d.PDW, QStringLiteral("4"));
    EXPECT_EQ(d.PAnz, QStringLiteral("1.296"));
    EXPECT_EQ(sheet.fullSystemRows(), 1296);
    EXPECT_EQ(sheet.vewTag(), 15);
    EXPECT_TRUE(d.LVEWVisible);
    EXPECT_TRUE(d.LVEW2Visible);
    EXPECT_EQ(d.LVEW2, QStringLiteral("mit 144 Tippreihen"));
    EXPECT_TRUE(d.BVEWEnabled);
    EXPECT_TRUE(d.BVollEnabled);
}

TEST(CrossSheet, FullSystemLimitLiesBetween78732And104976Rows) {
    Sheet allowed;
    clickCrosses(allowed, QStringLiteral("10,12,102,102,102,102,102,102,102,102,102,1,2"));
    EXPECT_EQ(allowed.display().PAnz, QStringLiteral("78.732"));
    EXPECT_TRUE(allowed.display().BVollEnabled);

    Sheet tooLarge;
    clickCrosses(tooLarge, QStringLiteral("10,12,02,10,102,102,102,102,102,102,102,102,1"));
    EXPECT_EQ(tooLarge.display().PAnz, QStringLiteral("104.976"));
    EXPECT_EQ(tooLarge.display().PZW, QStringLiteral("4"));
    EXPECT_EQ(tooLarge.display().PDW, QStringLiteral("8"));
    EXPECT_EQ(tooLarge.display().PB, QStringLiteral("1"));
    EXPECT_FALSE(tooLarge.display().BVollEnabled);

    Sheet everything;
    clickCrosses(everything, QStringLiteral("102,102,102,102,102,102,102,102,102,102,102,102,102"));
    EXPECT_EQ(everything.display().PAnz, QStringLiteral("1.594.323"));
    EXPECT_EQ(everything.fullSystemRows(), 1594323);
}

TEST(CrossSheet, TwelveMatchesCrossedShowCountsButDevelopNothing) {
    Sheet sheet;
    // Structure of system 15 on twelve matches; match 13 empty.
    clickCrosses(sheet, QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,"));
    EXPECT_FALSE(sheet.AlleGetippt());
    EXPECT_EQ(sheet.display().PB, QStringLiteral("4"));
    EXPECT_EQ(sheet.display().PZW, QStringLiteral("4"));
    EXPECT_EQ(sheet.display().PDW, QStringLiteral("4"));
    EXPECT_EQ(sheet.display().PAnz, QStringLiteral("1.296"));
    expectNothingToDevelop(sheet);

    sheet.KreuzVerwerten(13, 1);
    EXPECT_EQ(sheet.vewTag(), 15);
    sheet.KreuzVerwerten(13, 1);
    expectNothingToDevelop(sheet);
}

TEST(CrossSheet, MarkersFollowTheNumberOfCrosses) {
    Sheet sheet;
    QSignalSpy spy(&sheet, &CrossSheet::crossChanged);
    sheet.KreuzVerwerten(3, 1);
    sheet.KreuzVerwerten(3, 2);
    EXPECT_TRUE(sheet.crossed(3, kZWSpalte));
    EXPECT_FALSE(sheet.crossed(3, kDWSpalte));
    sheet.KreuzVerwerten(3, 3);
    EXPECT_FALSE(sheet.crossed(3, kZWSpalte));
    EXPECT_TRUE(sheet.crossed(3, kDWSpalte));
    EXPECT_EQ(sheet.AnzDW(), 1);
    EXPECT_EQ(sheet.AnzZW(), 0);

    spy.clear();
    sheet.KreuzVerwerten(3, 2);  // one of three removed: back to two-way
    EXPECT_TRUE(sheet.crossed(3, kZWSpalte));
    EXPECT_FALSE(sheet.crossed(3, kDWSpalte));
    EXPECT_EQ(sheet.AnzZW(), 1);
    EXPECT_EQ(sheet.AnzDW(), 0);
    // The window learns of each box that changed, and of nothing else.
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0], (QList<QVariant>{3, 2, false}));

    sheet.KreuzVerwerten(3, 1);  // a second removed: a banker, no marker
    EXPECT_FALSE(sheet.crossed(3, kZWSpalte));
    EXPECT_FALSE(sheet.crossed(3, kDWSpalte));
    EXPECT_TRUE(sheet.crossed(3, 3));
    EXPECT_EQ(sheet.AnzZW(), 0);
    for (int m = 1; m <= kMatches; ++m) {
        if (m == 3) continue;
        for (int c = 1; c <= kKreuzSpalten; ++c) EXPECT_FALSE(sheet.crossed(m, c));
    }
}

TEST(CrossSheet, ClickOnALabelUsesItsTag) {
    Sheet sheet;
    sheet.KreuzKlickClick(CrossSheet::kreuzTag(12, 3));
    EXPECT_TRUE(sheet.crossed(12, 3));
    sheet.KreuzKlickClick(123);
    EXPECT_FALSE(sheet.crossed(12, 3));
}

TEST(CrossSheet, PressesOnTheSheetHitBoxesOrExplainTheMarkers) {
    Sheet sheet;
    // Box match 1, column 1 spans x 31..48, y 12..28.
    SheetPress p = sheet.KreuzTreffer(31, 12);
    EXPECT_EQ(p.kind, SheetPress::Toggled);
    EXPECT_EQ(p.match, 1);
    EXPECT_EQ(p.column, 1);
    EXPECT_TRUE(sheet.crossed(1, 1));
    p = sheet.KreuzTreffer(48, 28);
    EXPECT_EQ(p.kind, SheetPress::Toggled);
    EXPECT_FALSE(sheet.crossed(1, 1)) << "a second press takes the cross away";

    // Last box: column 3 (x 77..94), match 13 (y 319..335).
    p = sheet.KreuzTreffer(94, 335);
    EXPECT_EQ(p.kind, SheetPress::Toggled);
    EXPECT_TRUE(sheet.crossed(13, 3));

    // Gaps between the boxes.
    for (auto [x, y] : {std::pair{49, 20}, {30, 20}, {60, 30}, {60, 336}, {60, 11}, {95, 20}}) {
        EXPECT_EQ(sheet.KreuzTreffer(x, y).kind, SheetPress::Nothing) << x << "," << y;
    }

    QSignalSpy spy(&sheet, &CrossSheet::displayChanged);
    EXPECT_EQ(sheet.KreuzTreffer(100, 20).kind, SheetPress::Nothing);
    EXPECT_EQ(sheet.KreuzTreffer(108, 20).kind, SheetPress::Nothing);
    p = sheet.KreuzTreffer(109, 20);
    EXPECT_EQ(p.kind, SheetPress::ShowInfo);
    EXPECT_EQ(p.info, QStringLiteral("Diese \"X\" werden automatisch gesetzt und gelöscht"));
    EXPECT_EQ(sheet.KreuzTreffer(150, 340).kind, SheetPress::ShowInfo);
    EXPECT_EQ(spy.count(), 0) << "the marker area changes nothing";
    int crosses = 0;
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) crosses += sheet.crossed(m, c);
    EXPECT_EQ(crosses, 1);
}

TEST(CrossSheet, ClearingEmptiesTheCountsAndStopsDevelopment) {
    Sheet sheet;
    clickCrosses(sheet, QStringLiteral("10,12,02,10,102,102,102,102,1,1,0,2,2"));
    ASSERT_TRUE(sheet.display().BVEWEnabled);
    QSignalSpy changes(&sheet, &CrossSheet::displayChanged);
    sheet.BKreuzeDelClick();
    EXPECT_GE(changes.count(), 1);
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= kKreuzSpalten; ++c) EXPECT_FALSE(sheet.crossed(m, c));
    const CrossSheet::Display& d = sheet.display();
    EXPECT_TRUE(d.PB.isEmpty());
    EXPECT_TRUE(d.PZW.isEmpty());
    EXPECT_TRUE(d.PDW.isEmpty());
    EXPECT_TRUE(d.PAnz.isEmpty());
    EXPECT_FALSE(sheet.AlleGetippt());
    expectNothingToDevelop(sheet);

    // The next cross counts afresh.
    sheet.KreuzVerwerten(1, 2);
    EXPECT_EQ(sheet.display().PB, QStringLiteral("1"));
    EXPECT_EQ(sheet.display().PZW, QStringLiteral("0"));
    EXPECT_EQ(sheet.display().PAnz, QStringLiteral("1"));
    expectNothingToDevelop(sheet);
}

TEST(CrossSheet, CaptureListsCrossedColumnsAndSlots) {
    Sheet sheet;
    clickCrosses(sheet, QStringLiteral("2,02,102,1,1,1,1,1,1,1,1,12,0"));
    const SystemStructure& s = sheet.StrukturErfassen();
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
