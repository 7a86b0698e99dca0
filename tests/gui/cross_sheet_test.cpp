#include "gui_support.h"

#include "app/sheet_view.h"
#include "core/error.h"
#include "core/paths.h"
#include "ui/style.h"
#include "ui/wait_cursor.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QWindow>

using namespace korbisto;
using namespace korbisto::test;
using app::KreuzX;
using app::KreuzY;

namespace {

// Four two-way, four three-way matches and five bankers.
const char* const kVew15 = "1,0,2,1,1,10,12,02,12,102,102,102,102";
// Two two-way and nine three-way matches: 78,732 rows.
const char* const k78732 = "10,12,102,102,102,102,102,102,102,102,102,1,2";

class CrossSheetTest : public WindowTest {
protected:
    app::PKreuzPanel* sheet() { return child<app::PKreuzPanel>(main.get(), QStringLiteral("PKreuz")); }
    QLabel* cross(int match, int column) {
        return child<QLabel>(main.get(), QStringLiteral("VKreuz%1").arg(match * 10 + column));
    }
    QString text(const QString& name) { return child<QLabel>(main.get(), name)->text(); }
    bool enabled(const QString& name) { return child<QWidget>(main.get(), name)->isEnabled(); }
    // Shown within the window, whatever the window's own state.
    bool shown(const QString& name) { return child<QWidget>(main.get(), name)->isVisibleTo(main.get()); }

    // A press and release at a sheet pixel, delivered by the window to
    // whatever lies there, as a real click is.
    void clickAt(QPoint onSheet, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(main->windowHandle(), button, {}, sheet()->mapTo(main.get(), onSheet));
    }
    QPoint boxCentre(int match, int column) { return sheet()->boxRect(match, column).center(); }
    void clickBox(int match, int column, Qt::MouseButton button = Qt::LeftButton) {
        clickAt(boxCentre(match, column), button);
    }
    // Per match the crossed outcomes, "1", "10", "102", ...
    void crossByClicks(const char* spec) {
        const QStringList groups = QString::fromLatin1(spec).split(u',');
        for (int m = 1; m <= groups.size(); ++m)
            for (int c = 1; c <= 3; ++c)
                if (groups[m - 1].contains(QChar::fromLatin1(TippText[static_cast<size_t>(c)][0]))) clickBox(m, c);
    }
    QString shownCrosses() {
        QString crosses;
        for (int m = 1; m <= kMatches; ++m) {
            for (int c = 1; c <= 5; ++c) crosses += cross(m, c)->isVisibleTo(main.get()) ? u'X' : u'.';
            crosses += u' ';
        }
        return crosses.trimmed();
    }
    QString counters() {
        return QStringList{text(QStringLiteral("PB")), text(QStringLiteral("PZW")), text(QStringLiteral("PDW")),
                           text(QStringLiteral("PAnz"))}
            .join(u'|');
    }
    QString gridRow(int row) {
        QAbstractItemModel* grid = child<QTableView>(main.get(), QStringLiteral("G1"))->model();
        QString digits;
        for (int m = 1; m <= kMatches; ++m) digits += grid->index(row - 1, m).data().toString();
        return digits;
    }
    // The VEW labels as shown and the development buttons that are enabled.
    QString developState() {
        QStringList state;
        for (const char* name : {"LVEW", "LVEW2"})
            state << (shown(QString::fromLatin1(name)) ? text(QString::fromLatin1(name)) : QString());
        for (const char* name : {"BVoll", "BVEW"})
            state << (enabled(QString::fromLatin1(name)) ? QString::fromLatin1(name) : QString());
        return state.join(u'|');
    }
    int gridRows() { return child<QTableView>(main.get(), QStringLiteral("G1"))->model()->rowCount(); }
};

TEST_F(CrossSheetTest, CrossesAreBlueXLabelsAtTheirBoxes) {
    openMainWindow();
    const QString family = ui::roundedFont(12).family();
    for (int m = 1; m <= kMatches; ++m) {
        for (int c = 1; c <= 5; ++c) {
            QLabel* x = cross(m, c);
            ASSERT_NE(x, nullptr);
            const QPoint at(KreuzX[static_cast<size_t>(c)], KreuzY[static_cast<size_t>(m)]);
            EXPECT_EQ(x->pos(), at);
            EXPECT_TRUE(x->text() == QStringLiteral("X") && x->font().family() == family &&
                        x->palette().color(QPalette::WindowText) == QColor(0, 0, 255));
            // The drawn box holds its cross and lies where a press counts for it.
            const QRect box = sheet()->boxRect(m, c);
            EXPECT_TRUE(box.contains(x->geometry().center())) << m << c;
            EXPECT_TRUE(c > 3 || QRect(at.x() - 1, at.y(), 18, 17).contains(box)) << m << c;
        }
    }
}

TEST_F(CrossSheetTest, RowsLieBesideThePairingsOfTheMatchDayPlan) {
    openMainWindow();
    for (int m = 1; m <= kMatches; ++m) {
        QWidget* pairing = child(main.get(), QStringLiteral("pb%1").arg(m));
        const QRect band(pairing->mapTo(main.get(), QPoint(0, 0)), pairing->size());
        const int boxMiddle = sheet()->mapTo(main.get(), boxCentre(m, 1)).y();
        EXPECT_GE(boxMiddle, band.top()) << m;
        EXPECT_LE(boxMiddle, band.bottom()) << m;
    }
    // The match-day picture shows the drawn sheet whole beside the plan.
    const QRect matchDayPicture(5, 250, 410, 352);
    EXPECT_TRUE(matchDayPicture.contains(
        QRect(sheet()->mapTo(main.get(), QPoint(0, 0)), QSize(160, app::PKreuzPanel::kPictureHeight))));
    // Nothing of the column reaches into its neighbours or below the window.
    QWidget* column = child(main.get(), QStringLiteral("PKreuzColumn"));
    EXPECT_TRUE(main->rect().contains(column->geometry()));
    EXPECT_GE(column->x(), child(main.get(), QStringLiteral("pb1"))->parentWidget()->geometry().right());
    EXPECT_LE(column->geometry().right(), child(main.get(), QStringLiteral("PFoto"))->x());
    for (QWidget* w : column->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(column->rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(CrossSheetTest, EveryBoxIsSetByAClickAndClearedByAClickOnItsCross) {
    openMainWindow();
    EXPECT_EQ(counters(), QStringLiteral("0|0|0|0"));
    EXPECT_FALSE(enabled(QStringLiteral("BVoll")) || enabled(QStringLiteral("BVEW")));
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c) clickBox(m, c);
    EXPECT_EQ(shownCrosses(), QStringList(13, QStringLiteral("XXX.X")).join(u' '));
    EXPECT_EQ(counters(), QStringLiteral("0|0|13|1.594.323"));
    EXPECT_FALSE(enabled(QStringLiteral("BVoll")));  // far above 96,000 rows

    for (int m = 1; m <= kMatches; ++m) {
        for (int c = 1; c <= 3; ++c) {
            // The press lands on the cross, not on the sheet under it.
            ASSERT_EQ(sheet()->childAt(boxCentre(m, c)), cross(m, c));
            clickBox(m, c);
        }
    }
    EXPECT_EQ(shownCrosses().count(u'X'), 0);
    EXPECT_EQ(counters(), QStringLiteral("0|0|0|1"));
}

TEST_F(CrossSheetTest, ASystemIsMadeAndDevelopedWithTheKeyboardAlone) {
    openMainWindow();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers with = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, with);
    };
    // From the winning row back over the sheet's buttons into its last box.
    for (int i = 0; i < 3; ++i) key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), sheet());
    QAccessibleInterface* boxes = QAccessible::queryAccessibleInterface(sheet());
    EXPECT_TRUE(boxes->focusChild()->state().focused);
    EXPECT_EQ(boxes->focusChild()->text(QAccessible::Name), QStringLiteral("Spiel 13: 2"));

    // The arrows walk the grid of boxes, Space crosses.
    int at = 38;
    for (int box = 0; box < 39; ++box) {
        if (!QString::fromLatin1(kVew15).split(u',')[box / 3].contains(QLatin1String(TippText[box % 3 + 1]))) continue;
        for (; at / 3 != box / 3; at += at > box ? -3 : 3) key(at > box ? Qt::Key_Up : Qt::Key_Down);
        for (; at != box; at += at > box ? -1 : 1) key(at > box ? Qt::Key_Left : Qt::Key_Right);
        key(Qt::Key_Space);
    }
    EXPECT_EQ(counters(), QStringLiteral("5|4|4|1.296"));
    EXPECT_EQ(boxes->child(7)->text(QAccessible::Name), QStringLiteral("Spiel 3: 0"));
    EXPECT_FALSE(boxes->child(7)->state().checked);
    EXPECT_TRUE(boxes->child(8)->state().checked);
    // A screen reader's toggle is a press of Space on that box.
    boxes->child(7)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(cross(3, 2)->isVisibleTo(main.get()));
    key(Qt::Key_Space);
    EXPECT_FALSE(cross(3, 2)->isVisibleTo(main.get()));

    // Shift+Tab goes back box by box and then to the development buttons.
    int presses = 0;
    while (QApplication::focusWidget() != child(main.get(), QStringLiteral("BVoll")) && presses++ < 40)
        key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(presses, 8);
    key(Qt::Key_Space);
    EXPECT_EQ(gridRows(), 1296);
    EXPECT_EQ(QApplication::focusWidget(), child(main.get(), QStringLiteral("BVoll")));
}

TEST_F(CrossSheetTest, CompleteSheetOffersTheFittingVewSystem) {
    openMainWindow();
    crossByClicks(kVew15);
    EXPECT_EQ(counters(), QStringLiteral("5|4|4|1.296"));
    EXPECT_EQ(developState(), QStringLiteral("VEW|mit 144 Tippreihen|BVoll|BVEW"));
    // One match without a cross: counts stay, nothing can be developed.
    clickBox(1, 1);
    EXPECT_EQ(counters(), QStringLiteral("4|4|4|1.296"));
    EXPECT_EQ(developState(), QStringLiteral("|||"));
    // Complete again, but a structure without a VEW system.
    clickBox(1, 2);
    clickBox(6, 3);
    EXPECT_EQ(counters(), QStringLiteral("5|3|5|1.944"));
    EXPECT_EQ(developState(), QStringLiteral("||BVoll|"));
}

TEST_F(CrossSheetTest, AnyButtonOnAnEmptyBoxCrossesItButOnlyALeftClickOnACrossRemovesIt) {
    openMainWindow();
    clickBox(2, 2, Qt::RightButton);
    EXPECT_TRUE(cross(2, 2)->isVisibleTo(main.get()));
    clickBox(2, 2, Qt::RightButton);
    EXPECT_TRUE(cross(2, 2)->isVisibleTo(main.get()));
    clickBox(2, 2, Qt::LeftButton);
    EXPECT_FALSE(cross(2, 2)->isVisibleTo(main.get()));
}

TEST_F(CrossSheetTest, PressesOutsideTheBoxesDoNothingOrExplainTheMarkers) {
    openMainWindow();
    const int middle = KreuzY[5] + 8;
    for (int x : {2, 20, 50, 96, 100, 108}) clickAt(QPoint(x, middle));
    clickAt(QPoint(40, 5));  // above the first row
    EXPECT_EQ(shownCrosses().count(u'X'), 0);
    EXPECT_TRUE(boxes.boxes().isEmpty());

    clickAt(QPoint(109, middle));
    clickAt(QPoint(159, 349), Qt::RightButton);
    ASSERT_EQ(boxes.boxes().size(), 2);
    for (const auto& box : boxes.boxes())
        EXPECT_TRUE(box.icon == ui::MessageIcon::Information && box.buttons == ui::MessageButtons::Ok &&
                    box.text == QStringLiteral("Diese \"X\" werden automatisch gesetzt und gelöscht"));
    EXPECT_EQ(shownCrosses().count(u'X'), 0);

    // A shown marker cross takes the press itself, and does nothing with it.
    boxes.clear();
    clickBox(3, 1);
    clickBox(3, 3);
    ASSERT_EQ(sheet()->childAt(boxCentre(3, 4)), cross(3, 4));
    clickBox(3, 4);
    clickBox(3, 4, Qt::RightButton);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(shownCrosses().section(u' ', 2, 2), QStringLiteral("X.XX."));
}

TEST_F(CrossSheetTest, FullSystemFillsTheTableUnderTheHourglass) {
    openMainWindow();
    crossByClicks(k78732);
    ASSERT_EQ(counters(), QStringLiteral("2|2|9|78.732"));
    QList<int> cursorDuringWork;
    QObject::connect(&main->model().rows(), &TipDocument::tableChanged, main.get(), [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        cursorDuringWork << (cursor ? cursor->shape() : -1);
    });
    click(main.get(), QStringLiteral("BVoll"));
    ASSERT_FALSE(cursorDuringWork.isEmpty());
    EXPECT_EQ(cursorDuringWork.count(Qt::WaitCursor), cursorDuringWork.size());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    EXPECT_EQ(gridRows(), 78732);
    EXPECT_EQ(text(QStringLiteral("LReihen")), QStringLiteral("78.732"));
    EXPECT_EQ(gridRow(1), QStringLiteral("1111111111112"));
    EXPECT_EQ(gridRow(78732), QStringLiteral("0222222222212"));

    // Thirteen bankers: one row, no hourglass.
    click(main.get(), QStringLiteral("BKreuzeDel"));
    crossByClicks("1,0,2,1,0,2,1,0,2,1,0,2,1");
    cursorDuringWork.clear();
    click(main.get(), QStringLiteral("BVoll"));
    ASSERT_FALSE(cursorDuringWork.isEmpty());
    EXPECT_EQ(cursorDuringWork.count(-1), cursorDuringWork.size());
    EXPECT_EQ(gridRow(1), QStringLiteral("1021021021021"));
    EXPECT_EQ(text(QStringLiteral("LReihen")), QStringLiteral("1"));
}

TEST_F(CrossSheetTest, VewDevelopsTheOfferedSystemReplacingASlip) {
    writeSlip(slipFolder() + QStringLiteral("alt.krsc"), {"1111111111111", "2222222222222"});
    openMainWindow();
    main->SpielscheinEinlesen(slipFolder() + QStringLiteral("alt.krsc"));
    ASSERT_EQ(text(QStringLiteral("LDatei")), QStringLiteral("alt.krsc"));
    crossByClicks(kVew15);
    click(main.get(), QStringLiteral("BVEW"));
    EXPECT_EQ(gridRows(), 144);
    EXPECT_EQ(text(QStringLiteral("LReihen")), QStringLiteral("144"));
    EXPECT_EQ(text(QStringLiteral("LDatei")), QString());
    EXPECT_TRUE(gridRow(1).startsWith(QStringLiteral("10211")) && gridRow(144).startsWith(QStringLiteral("10211")));
}

TEST_F(CrossSheetTest, ClearingTheSheetEmptiesTheCountersAndStopsDevelopment) {
    openMainWindow();
    crossByClicks(kVew15);
    click(main.get(), QStringLiteral("BKreuzeDel"));
    EXPECT_EQ(shownCrosses().count(u'X'), 0);
    EXPECT_EQ(counters(), QStringLiteral("|||"));
    EXPECT_EQ(developState(), QStringLiteral("|||"));
    // The table is not the sheet's: it keeps its rows.
    EXPECT_EQ(gridRows(), BetModel::kInitialDataRows);
}

TEST_F(CrossSheetTest, StructureIsSavedAndLoadedThroughTheButtons) {
    openMainWindow();
    EXPECT_FALSE(enabled(QStringLiteral("BQOpen")));
    crossByClicks(kVew15);
    const QString before = shownCrosses();
    click(main.get(), QStringLiteral("BQSave"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_TRUE(enabled(QStringLiteral("BQOpen")));
    const QString path = appPaths().DataFolder + QStringLiteral("struktur.qui");
    EXPECT_EQ(QFileInfo(path).size(), 39);

    click(main.get(), QStringLiteral("BKreuzeDel"));
    clickBox(13, 3);
    click(main.get(), QStringLiteral("BQOpen"));
    EXPECT_EQ(shownCrosses(), before);
    EXPECT_EQ(counters(), QStringLiteral("5|4|4|1.296"));
    EXPECT_EQ(developState(), QStringLiteral("VEW|mit 144 Tippreihen|BVoll|BVEW"));

    // The next start finds the file.
    main.reset();
    openMainWindow();
    EXPECT_TRUE(enabled(QStringLiteral("BQOpen")));
    EXPECT_EQ(shownCrosses().count(u'X'), 0);
}

TEST_F(CrossSheetTest, UnreadableStructureFileLeavesTheCrosses) {
    const QString path = appPaths().DataFolder + QStringLiteral("struktur.qui");
    writeBytes(path, QByteArray(38, '\1'));
    openMainWindow();
    ASSERT_TRUE(enabled(QStringLiteral("BQOpen")));
    crossByClicks("1,0");
    const QString before = shownCrosses();
    click(main.get(), QStringLiteral("BQOpen"));
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].icon, ui::MessageIcon::Error);
    EXPECT_EQ(boxes.boxes()[0].text, QString::fromUtf8(messages::endOfFile));
    EXPECT_EQ(shownCrosses(), before);
    EXPECT_EQ(counters(), QStringLiteral("2|0|0|1"));
}

TEST_F(CrossSheetTest, AFailedSaveLeavesTheOpenButtonAsItWas) {
    // A folder where the file should be: neither a file to open nor one to replace.
    const QString path = appPaths().DataFolder + QStringLiteral("struktur.qui");
    ASSERT_TRUE(QDir().mkpath(path));
    openMainWindow();
    EXPECT_FALSE(enabled(QStringLiteral("BQOpen")));
    clickBox(1, 1);
    click(main.get(), QStringLiteral("BQSave"));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("E/A-Fehler 21")});
    EXPECT_FALSE(enabled(QStringLiteral("BQOpen")));
    EXPECT_TRUE(cross(1, 1)->isVisibleTo(main.get()));
}

TEST_F(CrossSheetTest, AStructureFileDeletedAfterSavingIsReportedMissing) {
    openMainWindow();
    crossByClicks("1,1,1,1,1,1,1,1,1,1,1,1,1");
    click(main.get(), QStringLiteral("BQSave"));
    ASSERT_TRUE(QFile::remove(appPaths().DataFolder + QStringLiteral("struktur.qui")));
    click(main.get(), QStringLiteral("BQOpen"));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Die angegebene Datei wurde nicht gefunden")});
    EXPECT_TRUE(enabled(QStringLiteral("BQOpen")));
    EXPECT_TRUE(cross(13, 1)->isVisibleTo(main.get()));
}

// Presses on the bare picture, pixel by pixel: box match 1, column 1 spans
// x 31..48, y 12..28; the marks' column starts at x 109.
TEST(SheetPresses, HitBoxesOrExplainTheMarkers) {
    struct Case {
        int x, y;
        app::SheetPress::Kind kind;
        int match, column;
    };
    const Case cases[] = {
        {31, 12, app::SheetPress::Toggle, 1, 1},   {48, 28, app::SheetPress::Toggle, 1, 1},
        {94, 335, app::SheetPress::Toggle, 13, 3},  // the last box: column 3 (x 77..94), match 13 (y 319..335)
        {49, 20, app::SheetPress::Nothing, 0, 0},   {30, 20, app::SheetPress::Nothing, 0, 0},
        {60, 30, app::SheetPress::Nothing, 0, 0},   {60, 336, app::SheetPress::Nothing, 0, 0},
        {60, 11, app::SheetPress::Nothing, 0, 0},   {95, 20, app::SheetPress::Nothing, 0, 0},
        {100, 20, app::SheetPress::Nothing, 0, 0},  {108, 20, app::SheetPress::Nothing, 0, 0},
        {109, 20, app::SheetPress::ShowInfo, 0, 0}, {150, 340, app::SheetPress::ShowInfo, 0, 0},
    };
    for (const Case& c : cases) {
        const app::SheetPress press = app::KreuzTreffer(c.x, c.y);
        EXPECT_EQ(press.kind, c.kind) << c.x << "," << c.y;
        EXPECT_EQ(press.match, c.match) << c.x << "," << c.y;
        EXPECT_EQ(press.column, c.column) << c.x << "," << c.y;
    }
    EXPECT_EQ(app::TKreuz::kreuzTag(12, 3), 123);
}

TEST(WaitCursor, IsRestoredWhenTheWorkFails) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        const ui::WaitCursor hourglass;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw KorbistoError(QStringLiteral("E/A-Fehler 5"));
    } catch (const KorbistoError&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        const ui::WaitCursor none(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

}  // namespace
