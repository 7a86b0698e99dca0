#include "gui_support.h"

#include "app/about_window.h"
#include "app/generator_window.h"
#include "app/main_window.h"
#include "app/screenshot_window.h"
#include "core/error.h"
#include "files/pattern_file.h"
#include "files/settings_file.h"
#include "generator/generator.h"
#include "ui/filtered_edit.h"

#include <QAccessible>
#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace korbisto;
using namespace korbisto::test;

namespace {

constexpr std::uint32_t kSeed = 20210320;
// Long enough for any run of these tests on a slow machine, short enough
// that a run that never ends fails instead of hanging.
constexpr int kRunLimitMs = 60000;

class GeneratorWindowTest : public WindowTest {
protected:
    // The window as the program makes it: owned by the main window, shown.
    app::TFKick& openGenerator() {
        openMainWindow();
        kick = &main->generatorWindow();
        kick->setSeedSource(countingSeeds(kSeed));
        kick->show();
        return *kick;
    }
    app::TBZahl* button(int k) { return child<app::TBZahl>(kick, QStringLiteral("but%1").arg(k)); }
    void press(int k, Qt::MouseButton with) {
        QTest::mousePress(button(k), with);
        QTest::mouseRelease(button(k), with);
    }
    int shownLevel(int k) { return button(k)->property("level").toInt(); }
    // Levels as 39 digits, set by left presses from an empty pattern.
    void pressPattern(const char* levels) {
        for (int k = 1; k <= kOutcomeCrosses; ++k)
            for (int n = 0; n < levels[k - 1] - '0'; ++n) press(k, Qt::LeftButton);
    }
    QString label(const QString& name) { return child<QLabel>(kick, name)->text(); }
    QStringList counts() {
        return {label(QStringLiteral("LKombis")), label(QStringLiteral("LZW")), label(QStringLiteral("LDW")),
                label(QStringLiteral("LBaenke"))};
    }
    ui::FilteredLineEdit* eAnz() { return child<ui::FilteredLineEdit>(kick, QStringLiteral("eAnz")); }
    QAbstractItemModel* g1() { return child<QTableView>(kick, QStringLiteral("g1"))->model(); }
    QAbstractItemModel* g2() { return child<QTableView>(kick, QStringLiteral("g2"))->model(); }
    bool enabled(const QString& name) { return child<QWidget>(kick, name)->isEnabled(); }
    bool noticeShown() { return child<QLabel>(kick, QStringLiteral("LHinweis"))->isVisibleTo(kick); }
    void runRows(const QString& count) {
        eAnz()->setTextFromProgram(count);
        click(kick, QStringLiteral("bsSkinSpeedButton2"));
        QTRY_VERIFY_WITH_TIMEOUT(!kick->running(), kRunLimitMs);
    }
    // The grid's rows as export lines.
    QStringList gridLines() {
        QStringList lines;
        for (int r = 0; r < g1()->rowCount(); ++r) {
            QStringList cells;
            for (int m = 1; m <= kMatches; ++m) cells << g1()->index(r, m).data().toString();
            lines << cells.join(u',');
        }
        return lines;
    }
    // Every match's three counts add up to the rows shown; a 0 is an empty cell.
    void expectCountsAddUp() {
        for (int m = 1; m <= kMatches; ++m) {
            int sum = 0;
            for (int c = 0; c < 3; ++c) {
                const QString cell = g2()->index(c, m).data().toString();
                EXPECT_NE(cell, QStringLiteral("0"));
                sum += cell.toInt();
            }
            EXPECT_EQ(sum, g1()->rowCount()) << "match " << m;
        }
    }

    app::TFKick* kick = nullptr;
};

const char* const kAllThreeWay = "111111111111111111111111111111111111111";

TEST_F(GeneratorWindowTest, ANewWindowShowsAnEmptyPatternAndEmptyGrids) {
    openGenerator();
    EXPECT_EQ(kick->windowTitle(), QStringLiteral("Korbisto 1.3.0.0"));
    EXPECT_EQ(kick->size(), QSize(645, 534));
    EXPECT_EQ(kick->pos(), QPoint(0, 70));
    EXPECT_EQ(child<QLabel>(kick, QStringLiteral("LTitel"))->text(), QStringLiteral("Fußball ist auch Zufall"));
    for (int i = 1; i <= kMatches; ++i) {
        for (int j = 1; j <= 3; ++j) {
            const int k = (i - 1) * 3 + j;
            EXPECT_EQ(button(k)->text(), QString::fromLatin1(TippText[static_cast<size_t>(j)])) << k;
            EXPECT_EQ(button(k)->geometry(), QRect(27 + (j - 1) * 40, 45 + (i - 1) * 28, 39, 26)) << k;
            EXPECT_EQ(shownLevel(k), 0);
        }
    }
    EXPECT_EQ(counts(), QStringList(4, QStringLiteral("0")));
    const char* legend[] = {"out", "Fav I ", "Fav I I", "Fav III"};
    for (int level = 0; level <= 3; ++level)
        EXPECT_EQ(label(QStringLiteral("LLegende%1").arg(level)), QString::fromLatin1(legend[level]));
    EXPECT_EQ(eAnz()->text(), QStringLiteral("120"));
    EXPECT_FALSE(enabled(QStringLiteral("BStop")));
    EXPECT_FALSE(enabled(QStringLiteral("BQOpen13")));
    EXPECT_FALSE(noticeShown());

    EXPECT_EQ(g1()->rowCount(), 24);
    EXPECT_EQ(g1()->headerData(0, Qt::Horizontal).toString().trimmed(), QStringLiteral("Reihe"));
    EXPECT_EQ(g2()->headerData(0, Qt::Horizontal).toString().trimmed(), QStringLiteral("1 0 2"));
    EXPECT_EQ(g2()->index(1, 0).data().toString().trimmed(), QStringLiteral("0"));

    // Before any run: the empty rows, twelve commas each.
    QGuiApplication::clipboard()->clear();
    click(kick, QStringLiteral("bsSkinSpeedButton11"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(",,,,,,,,,,,,\r\n").repeated(24));
    for (const char* exportButton : {"bsSkinSpeedButton7", "bsSkinSpeedButton4"})
        click(kick, QString::fromLatin1(exportButton));
    EXPECT_TRUE(dialogs.requests().isEmpty());
    EXPECT_EQ(boxes.texts(), QStringList(2, QStringLiteral("Es gibt nichts zu speichern.\n\nIch breche erst einmal ab.")));
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Error);
}

TEST_F(GeneratorWindowTest, PressesRaiseOrLowerALevelAndTheCountGridFollows) {
    openGenerator();
    struct Step {
        Qt::MouseButton with;
        int level;
    };
    // Left raises and wraps from "Fav III" to "out", right lowers and wraps
    // the other way, the middle button changes nothing.
    const Step steps[] = {{Qt::LeftButton, 1},   {Qt::LeftButton, 2},  {Qt::LeftButton, 3},
                          {Qt::LeftButton, 0},   {Qt::RightButton, 3}, {Qt::MiddleButton, 3},
                          {Qt::RightButton, 2},  {Qt::RightButton, 1}, {Qt::RightButton, 0}};
    for (const Step& step : steps) {
        press(5, step.with);
        EXPECT_EQ(kick->levels()[4], step.level);
        EXPECT_EQ(shownLevel(5), step.level);
        // Position 5 is match 2, outcome "0": column 2, row 2 of the count grid.
        EXPECT_EQ(g2()->index(1, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
                  app::OutcomeCountModel::levelColour(step.level));
    }
    EXPECT_EQ(app::OutcomeCountModel::levelColour(0), QColor(243, 243, 243));
    EXPECT_EQ(app::OutcomeCountModel::levelColour(3), QColor(92, 221, 189));

    press(1, Qt::LeftButton);
    press(2, Qt::RightButton);
    press(4, Qt::LeftButton);
    EXPECT_EQ(counts(), (QStringList{"2", "1", "0", "1"}));

    click(kick, QStringLiteral("bsSkinSpeedButton3"));
    pressPattern(kAllThreeWay);
    EXPECT_EQ(counts(), (QStringList{"1.594.323", "0", "13", "0"}));
}

TEST_F(GeneratorWindowTest, APatternIsSetAndRunWithTheKeyboardAlone) {
    openGenerator();
    kick->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(kick));
    // Tab to a widget, then keys: "+" Space, "-" Shift+Space, "v" "^" "<" ">" arrows.
    const auto type = [](const char* keys) {
        for (const char* k = keys; *k; ++k) {
            const Qt::Key key = *k == 'v' ? Qt::Key_Down : *k == '>' ? Qt::Key_Right : Qt::Key_Space;
            QTest::keyClick(QApplication::focusWidget(), key, *k == '-' ? Qt::ShiftModifier : Qt::NoModifier);
        }
    };
    const auto tabTo = [](QWidget* target) {
        for (int presses = 0; QApplication::focusWidget() != target && presses < 10; ++presses)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    };
    ASSERT_TRUE(tabTo(button(1)));
    // Space raises as a left press does, Shift+Space lowers as a right one.
    for (const auto& [keys, level] : {std::pair{"+", 1}, {"+", 2}, {"-", 1}, {"-", 0}, {"-", 3}, {"+", 0}}) {
        type(keys);
        EXPECT_EQ(shownLevel(1), level);
    }
    // Every match's "1" down the first column, the last match's "2" too;
    // below the last match the focus stays.
    type("+v+v+v+v+v+v+v+v+v+v+v+v+>>+v");
    EXPECT_EQ(QApplication::focusWidget(), button(39));
    EXPECT_EQ(counts(), (QStringList{"2", "1", "0", "12"}));

    // Enter in the count runs; Enter during the run starts no second one.
    ASSERT_TRUE(tabTo(eAnz()));
    eAnz()->selectAll();
    QTest::keyClicks(eAnz(), QStringLiteral("2"));
    QTest::keyClick(eAnz(), Qt::Key_Return);
    EXPECT_TRUE(kick->running());
    QTest::keyClicks(eAnz(), QStringLiteral("0"));
    QTest::keyClick(eAnz(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!kick->running(), kRunLimitMs);
    // A second run, of 20, would have run out of combinations and said so.
    EXPECT_EQ(g1()->rowCount(), 2);
    EXPECT_FALSE(noticeShown());
    EXPECT_EQ(eAnz()->text(), QStringLiteral("20"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(button(4))->text(QAccessible::Name), QStringLiteral("Spiel 2: 1"));
}

TEST_F(GeneratorWindowTest, SaveResetAndLoadBringThePatternBack) {
    openGenerator();
    click(kick, QStringLiteral("bsSkinSpeedButton1"));
    EXPECT_EQ(readBytes(patternFilePath()), QByteArray("0\r\n").repeated(39));
    EXPECT_TRUE(enabled(QStringLiteral("BQOpen13")));

    const char* pattern = "310001230111100100010010001001001001002";
    pressPattern(pattern);
    const PatternLevels saved = kick->levels();
    const QStringList savedCounts = counts();
    EXPECT_EQ(savedCounts, (QStringList{"12", "2", "1", "10"}));
    click(kick, QStringLiteral("bsSkinSpeedButton1"));
    EXPECT_EQ(readBytes(patternFilePath()), encodePattern(saved));
    runRows(QStringLiteral("5"));
    const QStringList rows = gridLines();

    click(kick, QStringLiteral("bsSkinSpeedButton3"));
    EXPECT_EQ(kick->levels(), PatternLevels{});
    EXPECT_EQ(shownLevel(1), 0);
    EXPECT_EQ(counts(), QStringList(4, QStringLiteral("0")));

    click(kick, QStringLiteral("BQOpen13"));
    EXPECT_EQ(kick->levels(), saved);
    for (int k = 1; k <= kOutcomeCrosses; ++k) EXPECT_EQ(shownLevel(k), pattern[k - 1] - '0') << k;
    EXPECT_EQ(counts(), savedCounts);
    EXPECT_EQ(gridLines(), rows);
    EXPECT_TRUE(boxes.texts().isEmpty());

    // A level out of range reads as "out"; the load ends at a line that is no number.
    writeBytes(patternFilePath(), "2\r\n7\r\nx\r\n3\r\n");
    click(kick, QStringLiteral("BQOpen13"));
    EXPECT_EQ(boxes.texts(), QStringList{integerConversionError(QStringLiteral("x")).message()});
    EXPECT_EQ(kick->levels()[0], 2);
    EXPECT_EQ(kick->levels()[1], 0);
    EXPECT_EQ(kick->levels()[2], saved[2]);
    EXPECT_EQ(kick->levels()[3], saved[3]);
    EXPECT_EQ(shownLevel(1), 2);
    EXPECT_EQ(shownLevel(2), 0);
    // Match 1 is a banker now.
    EXPECT_EQ(label(QStringLiteral("LKombis")), QStringLiteral("6"));

    // A window made while the file exists may load it at once.
    app::TFKick second;
    EXPECT_TRUE(second.findChild<QWidget*>(QStringLiteral("BQOpen13"))->isEnabled());
}

TEST_F(GeneratorWindowTest, ARunFillsBothGridsAndIsExportedAsTextAndCsv) {
    openGenerator();
    pressPattern(kAllThreeWay);
    runRows(QStringLiteral("120"));
    ASSERT_EQ(g1()->rowCount(), 120);
    EXPECT_EQ(g1()->index(119, 0).data().toString().trimmed(), QStringLiteral("120"));
    EXPECT_FALSE(noticeShown());
    EXPECT_FALSE(enabled(QStringLiteral("BStop")));
    const QStringList lines = gridLines();
    EXPECT_EQ(QSet<QString>(lines.begin(), lines.end()).size(), 120);
    // The rows of the library's run with the same pattern and seeds, in order.
    GeneratorRun same(kick->levels(), 120, countingSeeds(kSeed));
    same.finish();
    EXPECT_EQ(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), exportRowsText(same.table(), u','));
    expectCountsAddUp();

    const QString text = slipFolder() + QStringLiteral("Tipps.txt");
    const QString csv = slipFolder() + QStringLiteral("Tipps.csv");
    dialogs.queueAnswer(text);
    click(kick, QStringLiteral("bsSkinSpeedButton7"));
    dialogs.queueAnswer(csv);
    click(kick, QStringLiteral("bsSkinSpeedButton4"));
    // Title, filter, suffix, folder; neither asks before overwriting.
    QStringList asked;
    for (const ui::FileDialogRequest& r : dialogs.requests())
        asked << QStringList{r.title, r.filterName, r.pattern, r.defaultSuffix, r.folder,
                             r.overwritePrompt ? QStringLiteral("asks") : QString()}
                     .join(u'|');
    EXPECT_EQ(asked, (QStringList{"Tippreihen-Datei speichern|Tippeihen-Datei|*.txt|txt|" + slipFolder() + "|",
                                  "WestLotto-Datei speichern|WestLotto-Datei|*.csv|csv|" + slipFolder() + "|"}));

    const QByteArray written = readBytes(text);
    EXPECT_EQ(written.size(), 3240);
    EXPECT_EQ(written, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    EXPECT_EQ(readBytes(csv), QByteArray(written).replace(',', ';'));
    EXPECT_EQ(label(QStringLiteral("LDatei2")), QStringLiteral("Tipps.csv"));
    click(kick, QStringLiteral("bsSkinSpeedButton11"));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toLatin1(), written);

    click(kick, QStringLiteral("bsSkinSpeedButton9"));
    ASSERT_NE(app::FAbbild, nullptr);
    EXPECT_EQ(app::FAbbild->windowTitle(), QStringLiteral("Tipps"));
    EXPECT_EQ(app::FAbbild->picture().size(), child<QWidget>(kick, QStringLiteral("PFoto"))->size());
}

TEST_F(GeneratorWindowTest, ThirteenBankersGiveOneRowAndTheRunEndsByItself) {
    openGenerator();
    // Outcome "1" of every match, "2" of the last.
    for (int m = 1; m <= 12; ++m) press(3 * m - 2, Qt::LeftButton);
    press(39, Qt::RightButton);
    EXPECT_EQ(counts(), (QStringList{"1", "0", "0", "13"}));
    runRows(QStringLiteral("120"));
    EXPECT_EQ(gridLines(), QStringList{QStringLiteral("1,1,1,1,1,1,1,1,1,1,1,1,2")});
    EXPECT_TRUE(noticeShown());
    EXPECT_EQ(child<QLabel>(kick, QStringLiteral("LHinweis"))->text(), QStringLiteral("Prozess gestoppt"));
    EXPECT_FALSE(enabled(QStringLiteral("BStop")));
    EXPECT_TRUE(enabled(QStringLiteral("bsSkinSpeedButton2")));
    EXPECT_EQ(g2()->index(0, 1).data().toString(), QStringLiteral("1"));
    EXPECT_EQ(g2()->index(1, 1).data().toString(), QString());

    auto* timer = kick->findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5000);
    // The notice goes when the timer fires, and the timer with it.
    timer->start(1);
    QTRY_VERIFY_WITH_TIMEOUT(!noticeShown(), kRunLimitMs);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(GeneratorWindowTest, AMatchWithoutSelectionIsNamedAndNothingRuns) {
    openGenerator();
    // Every match but 4 and 9.
    pressPattern("111111111000111111111111000111111111111");
    click(kick, QStringLiteral("bsSkinSpeedButton2"));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Sie müssen für Spiel 4 eine Auswahl treffen.\n\nIch breche erst "
                                                        "einmal ab.")});
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Information);
    EXPECT_FALSE(kick->running());
    EXPECT_FALSE(enabled(QStringLiteral("BStop")));
    EXPECT_EQ(g1()->rowCount(), 24);
}

TEST_F(GeneratorWindowTest, StopEndsALongRunWhoseRowsNoExportReplaces) {
    openGenerator();
    pressPattern(kAllThreeWay);
    runRows(QStringLiteral("3"));
    const QStringList before = gridLines();

    // A request of 0 is never reached: the run goes on until Stop.
    eAnz()->setTextFromProgram(QStringLiteral("0"));
    click(kick, QStringLiteral("bsSkinSpeedButton2"));
    ASSERT_TRUE(kick->running());
    EXPECT_TRUE(enabled(QStringLiteral("BStop")));
    EXPECT_FALSE(enabled(QStringLiteral("bsSkinSpeedButton2")));
    // Slices of the run, between them the clicks of the user.
    QCoreApplication::processEvents();
    // The window answers while the run goes on; copying takes the rows shown.
    click(kick, QStringLiteral("bsSkinSpeedButton11"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), before.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    EXPECT_TRUE(kick->running());
    EXPECT_EQ(gridLines(), before);

    click(kick, QStringLiteral("BStop"));
    QTRY_VERIFY_WITH_TIMEOUT(!kick->running(), kRunLimitMs);
    EXPECT_TRUE(noticeShown());
    EXPECT_FALSE(enabled(QStringLiteral("BStop")));
    EXPECT_TRUE(enabled(QStringLiteral("bsSkinSpeedButton2")));
    const QStringList lines =
        exportRowsText(kick->rows().table(), u',').split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), g1()->rowCount());
    EXPECT_EQ(QSet<QString>(lines.begin(), lines.end()).size(), lines.size());
    expectCountsAddUp();
}

TEST_F(GeneratorWindowTest, AHiddenWindowRunsOnAndTheProgramMayEndDuringARun) {
    openGenerator();
    pressPattern(kAllThreeWay);
    eAnz()->setTextFromProgram(QStringLiteral("0"));
    click(kick, QStringLiteral("bsSkinSpeedButton2"));
    click(kick, QStringLiteral("BClose"));
    EXPECT_FALSE(kick->isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(kick->running());
    // The main window takes its windows with it, the run included.
    QPointer<app::TFKick> gone = kick;
    main.reset();
    EXPECT_TRUE(gone.isNull());
    QCoreApplication::processEvents();
}

TEST_F(GeneratorWindowTest, TheCountFieldTakesDigitsOnlyAndRefusesPastedText) {
    openGenerator();
    pressPattern(kAllThreeWay);
    ui::FilteredLineEdit* edit = eAnz();
    edit->setFocus();
    edit->end(false);
    for (int i = 0; i < 3; ++i) QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("7a-x 12345"));
    EXPECT_EQ(edit->text(), QStringLiteral("71234"));

    // Empty, it becomes 72.
    runRows(QString());
    EXPECT_EQ(edit->text(), QStringLiteral("72"));
    EXPECT_EQ(g1()->rowCount(), 72);

    QGuiApplication::clipboard()->setText(QStringLiteral("12a"));
    edit->selectAll();
    edit->paste();
    EXPECT_EQ(edit->text(), QStringLiteral("12a"));
    click(kick, QStringLiteral("bsSkinSpeedButton2"));
    EXPECT_EQ(boxes.texts(), QStringList{integerConversionError(QStringLiteral("12a")).message()});
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Error);
    EXPECT_FALSE(kick->running());
    EXPECT_FALSE(enabled(QStringLiteral("BStop")));
    EXPECT_TRUE(enabled(QStringLiteral("bsSkinSpeedButton2")));
    EXPECT_EQ(g1()->rowCount(), 72);
}

TEST_F(GeneratorWindowTest, TheMainWindowShowsTheHiddenWindowWithEverythingKept) {
    writeSettings("[Position]\r\nFKick-left=33\r\nFKick-top=44\r\n");
    openMainWindow();
    click(main.get(), QStringLiteral("bsSkinSpeedButton8"));
    kick = main->findChild<app::TFKick*>(QStringLiteral("FKick"));
    ASSERT_NE(kick, nullptr);
    EXPECT_TRUE(kick->isVisible());
    EXPECT_EQ(kick->pos(), QPoint(33, 44));
    press(7, Qt::LeftButton);

    click(kick, QStringLiteral("BClose"));
    EXPECT_FALSE(kick->isVisible());
    click(main.get(), QStringLiteral("bsSkinSpeedButton8"));
    EXPECT_EQ(main->findChildren<app::TFKick*>().size(), 1);
    EXPECT_TRUE(kick->isVisible());
    EXPECT_EQ(shownLevel(7), 1);

    kick->move(50, 120);
    click(kick, QStringLiteral("bsSkinSpeedButton13"));
    EXPECT_EQ(readWindowPos(QStringLiteral("FKick")).left, kick->x());
    EXPECT_EQ(readWindowPos(QStringLiteral("FKick")).top, kick->y());

    // The about window opened here is the one of the main window too.
    click(kick, QStringLiteral("bsSkinSpeedButton5"));
    click(main.get(), QStringLiteral("bsSkinSpeedButton5"));
    click(kick, QStringLiteral("bsSkinSpeedButton5"));
    int about = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) about += qobject_cast<app::TFInfo*>(w) && w->isVisible();
    EXPECT_EQ(about, 1);
}

}  // namespace
