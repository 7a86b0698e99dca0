#include "gui_support.h"

#include "app/analysis_window.h"
#include "app/filter_tab.h"
#include "app/sheet_view.h"
#include "core/german.h"
#include "core/paths.h"
#include "systems/filter_list.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace korbisto;

namespace {

class FilterTabTest : public test::WindowTest {
protected:
    // The analysis window from the main window's button, its tab "Filter"
    // chosen by its accelerator.
    app::FilterTab* openTab() {
        if (!main) openMainWindow();
        click(main.get(), QStringLiteral("BGewinnplan"));
        window = main->findChild<app::TFAnalyse*>();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
        return window->findChild<app::FilterTab*>();
    }
    // Matches 1 .. threeWays crossed three ways, the others "1" only.
    void cross(int threeWays) {
        CrossSheet& sheet = main->crossColumn().sheet();
        sheet.clear();
        for (int m = 1; m <= kMatches; ++m)
            for (int c = 1; c <= (m <= threeWays ? 3 : 1); ++c) sheet.toggle(m, c);
    }
    // Waits for the count of the latest change; the count runs on another thread.
    void counted(app::FilterTab* tab) {
        QSignalSpy shown(tab, &app::FilterTab::countShown);
        while (shown.isEmpty() || tab->counting()) ASSERT_TRUE(shown.wait(20000)) << "no count";
    }
    void worked(app::FilterTab* tab) {
        QSignalSpy ended(tab, &app::FilterTab::workEnded);
        if (tab->working()) {
            ASSERT_TRUE(ended.wait(60000)) << "no end";
        }
    }
    QString text(const char* name) { return child<QLabel>(window, QString::fromLatin1(name))->text(); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }
    // A button by its accelerator: it clicks once its press is shown.
    void press(Qt::Key accelerator, const char* button) {
        QSignalSpy clicked(child<QAbstractButton>(window, QString::fromLatin1(button)), &QAbstractButton::clicked);
        QTest::keyClick(window, accelerator, Qt::AltModifier);
        ASSERT_TRUE(clicked.wait(5000)) << button;
    }
    // Types into the field an accelerator leads to, replacing its text.
    void typeAt(Qt::Key accelerator, const QString& typed) {
        QTest::keyClick(window, accelerator, Qt::AltModifier);
        key(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), typed);
    }
    std::vector<RowWord> tableWords() {
        std::vector<RowWord> words;
        for (const TipTable::Row& row : main->model().table().rows())
            if (row.tips[0] != kTipEmpty) words.push_back(*wordOfTips(row.tips));
        return words;
    }

    app::TFAnalyse* window = nullptr;
};

TEST_F(FilterTabTest, FromFiltersToADevelopedCoverByKeyboard) {
    openMainWindow();
    cross(5);  // 243 rows
    // Matches 6 to 13 are played: the chance rests on the five open ones.
    test::setWinningRow(main->model(), "-----11111111");
    app::FilterTab* tab = openTab();
    ASSERT_NE(tab, nullptr);
    counted(tab);
    EXPECT_EQ(text("LFilterStatus"), QStringLiteral("Das Vollsystem des Kreuzscheins: 243 Reihen."));
    EXPECT_EQ(text("LFilterAnzahl"), QStringLiteral("243 von 243 Reihen erfüllen die Filter."));
    EXPECT_EQ(text("LFilterChance"),
              QStringLiteral("Wahrscheinlichkeit, dass Kreuze und Filter halten: ") + formatShare(1));

    // A new filter takes the keys: one or two draws, then 3 to 12 changes of
    // sign, the 12 typed through a MAX of 1 below the MIN.
    press(Qt::Key_N, "BFilterNeu");
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("CBArt"));
    typeAt(Qt::Key_M, QStringLiteral("1"));
    typeAt(Qt::Key_H, QStringLiteral("2"));
    press(Qt::Key_N, "BFilterNeu");
    key(Qt::Key_Down);
    key(Qt::Key_Down);  // "Wechsel des Zeichens"
    typeAt(Qt::Key_M, QStringLiteral("3"));
    typeAt(Qt::Key_H, QStringLiteral("12"));
    counted(tab);
    RowFilter draws;
    draws.sign = kTipZero;
    draws.range = {1, 2};
    RowFilter changes;
    changes.kind = FilterKind::Changes;
    changes.sign = kTipZero;
    changes.range = {3, 12};
    ASSERT_EQ(tab->filters().filters, (std::vector<RowFilter>{draws, changes}));
    auto* list = child<QListWidget>(window, QStringLiteral("LBFilter"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Zeichen „0“: 1 bis 2 mal"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Wechsel des Zeichens: 3 bis 12"));
    // What the library counts, with the open matches' equal chances.
    const Candidates candidates = *Candidates::ofCrosses(main->crossColumn().sheet().crosses());
    const FilterOutcome expected = *applyFilters(candidates, tab->filters());
    ASSERT_GT(expected.rows.size(), 0u);
    EXPECT_EQ(text("LFilterAnzahl"), QStringLiteral("%1 von 243 Reihen erfüllen die Filter.")
                                         .arg(formatCount(static_cast<long long>(expected.rows.size()))));
    EXPECT_EQ(text("LFilterChance").section(u':', 1).trimmed(),
              formatShare(static_cast<double>(expected.rows.size()) / 243));

    // "Filtern": the rows that pass, as a development writes them.
    main->model().rows().replaceRows(test::tableOf({"2222222222222"}));
    main->model().rows().setFileName(QStringLiteral("alt.krsc"));
    press(Qt::Key_T, "BFiltern");
    worked(tab);
    EXPECT_EQ(tableWords(), expected.rows);
    EXPECT_TRUE(main->model().rows().fileName().isEmpty());
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LReihen"))->text(),
              formatCount(static_cast<long long>(expected.rows.size())));

    // "Abdecken" with 11 right: the plan over the filtered results shows the
    // guarantee, the plan over all results of the crosses what it is there.
    QTest::keyClick(window, Qt::Key_G, Qt::AltModifier);
    key(Qt::Key_Down);
    EXPECT_EQ(child<QComboBox>(window, QStringLiteral("CBGarantie"))->currentData().toInt(), 11);
    press(Qt::Key_B, "BAbdecken");
    worked(tab);
    const std::vector<RowWord> cover = tableWords();
    ASSERT_FALSE(cover.empty());
    EXPECT_LT(cover.size(), expected.rows.size());
    EXPECT_TRUE(main->model().rows().fileName().isEmpty());
    EXPECT_EQ(text("LSicherGefiltert"), QStringLiteral("III"));
    EXPECT_EQ(text("LGefiltert5"), QStringLiteral("0 (") + formatShare(0) + u')');
    const WinPlan all = *winPlan(main->model().table(), main->crossColumn().sheet().crosses());
    EXPECT_EQ(text("LSicherAlle"), all.guaranteedRank == 0
                                       ? QStringLiteral("keiner")
                                       : QString::fromLatin1(RangNamen[static_cast<size_t>(all.guaranteedRank)]));
    EXPECT_TRUE(text("LAbdeckenStatus")
                    .startsWith(QStringLiteral("%1 Reihen decken die %2 gefilterten ab")
                                    .arg(formatCount(static_cast<long long>(cover.size())),
                                         formatCount(static_cast<long long>(expected.rows.size())))))
        << text("LAbdeckenStatus").toStdString();
    // A cross more and the figures of the old sheet go.
    main->crossColumn().sheet().toggle(13, 2);
    EXPECT_TRUE(text("LSicherAlle").isEmpty());
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(u'|').toStdString();
}

TEST_F(FilterTabTest, WhatLetsNoRowThroughDevelopsNothing) {
    openMainWindow();
    main->model().rows().replaceRows(
        test::tableOf({"1111111111111", "1021021021021", "102102102102-", "2222222222222"}));
    const QList<QStringList> before = test::rows(main->model().table());
    app::FilterTab* tab = openTab();
    counted(tab);
    EXPECT_TRUE(text("LFilterStatus").contains(QStringLiteral("Nicht jedes der 13 Spiele ist angekreuzt")));
    click(window, QStringLiteral("BFiltern"));
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith(QStringLiteral("Nicht jedes der 13 Spiele")));

    // The table's rows instead: the row with other tips does not count.
    click(window, QStringLiteral("RBTabelle"));
    counted(tab);
    EXPECT_EQ(text("LFilterStatus"),
              QStringLiteral("Die Tabelle: 3 Reihen. 1 Reihe mit anderen Tipps als 1, 0 und 2 zählt nicht mit."));
    // No row with 13 draws.
    click(window, QStringLiteral("BFilterNeu"));
    child<QSpinBox>(window, QStringLiteral("SEMin"))->setValue(13);
    counted(tab);
    EXPECT_EQ(text("LFilterAnzahl"), QStringLiteral("Keine Reihe erfüllt alle Filter (0 von 3)."));
    boxes.clear();
    for (const char* action : {"BFiltern", "BAbdecken"}) {
        click(window, QString::fromLatin1(action));
        worked(tab);
    }
    EXPECT_EQ(boxes.texts(),
              QStringList(2, QStringLiteral("Keine Reihe erfüllt alle Filter.\n\nIch breche erst einmal ab.")));
    EXPECT_EQ(text("LAbdeckenStatus"), QStringLiteral("Keine Reihe erfüllt alle Filter. Die Tabelle ist unverändert."));
    EXPECT_EQ(test::rows(main->model().table()), before);

    // Weights of zero: the chance is not worked out, and the filter of the
    // probability is refused.
    QTabWidget* tabs = child<QTabWidget>(window, QStringLiteral("TabsAnalyse"));
    tabs->setCurrentIndex(1);
    QSignalSpy live(window, &app::TFAnalyse::liveShown);
    ASSERT_TRUE(live.wait(20000));
    QAbstractItemModel* weights = child<QTableView>(window, QStringLiteral("GGewichte"))->model();
    for (int c = 1; c <= 3; ++c) weights->setData(weights->index(3, c), QStringLiteral("0"));
    tabs->setCurrentWidget(tab);
    child<QSpinBox>(window, QStringLiteral("SEMin"))->setValue(0);
    counted(tab);
    EXPECT_EQ(text("LFilterAnzahl"), QStringLiteral("3 von 3 Reihen erfüllen die Filter."));
    EXPECT_TRUE(text("LFilterChance")
                    .endsWith(QStringLiteral("– (die Gewichte von Spiel 4 im Reiter „Live“ geben keine Chancen)")))
        << text("LFilterChance").toStdString();
    child<QComboBox>(window, QStringLiteral("CBWahrscheinlichkeit"))->setCurrentIndex(2);
    QTest::keyClicks(child(window, QStringLiteral("eWahrscheinlichkeit")), QStringLiteral("2"));
    counted(tab);
    EXPECT_TRUE(text("LFilterStatus")
                    .startsWith(QStringLiteral("Die Gewichte von Spiel 4 im Reiter „Live“ geben keine Chancen")));
    EXPECT_TRUE(text("LFilterAnzahl").isEmpty());
    boxes.clear();
    click(window, QStringLiteral("BFiltern"));
    EXPECT_EQ(boxes.boxes().size(), 1);
    EXPECT_FALSE(tab->working());
    EXPECT_EQ(test::rows(main->model().table()), before);
}

TEST_F(FilterTabTest, AFilterListGoesToItsFolderAndComesBackAndJunkIsRefused) {
    openMainWindow();
    cross(2);
    app::FilterTab* tab = openTab();
    counted(tab);
    FilterList saved;
    saved.filters = {*parseRowFilter(FilterKind::Signs, u"2=1..3@1-6,9").value,
                     *parseRowFilter(FilterKind::Run, u"..4").value,
                     *parseRowFilter(FilterKind::Level, u"1=2..").value};
    saved.tolerance = 1;
    saved.levels = *parseLevelPattern(u"310,111,003,111,111,111,111,111,111,111,111,111,111").value;
    saved.probability = {ProbabilityFilter::Mode::Best, 0, 5};
    const QString folder = appPaths().FilterFolder;
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    // The folder is made for the first dialog.
    dialogs.queueAnswer(folder + QStringLiteral("vorlage.krfilter"));
    click(window, QStringLiteral("BFilterOeffnen"));
    ASSERT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(dialogs.requests()[0].folder, folder);
    EXPECT_EQ(dialogs.requests()[0].pattern, QStringLiteral("*.krfilter"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    ASSERT_EQ(boxes.boxes().size(), 1);  // no such file yet
    write(folder + QStringLiteral("vorlage.krfilter"), filterFileText(saved));
    dialogs.queueAnswer(folder + QStringLiteral("vorlage.krfilter"));
    click(window, QStringLiteral("BFilterOeffnen"));
    counted(tab);
    EXPECT_EQ(tab->filters(), saved);
    EXPECT_EQ(child<QListWidget>(window, QStringLiteral("LBFilter"))->count(), 3);
    EXPECT_EQ(child<QSpinBox>(window, QStringLiteral("SEToleranz"))->value(), 1);

    // Saved through the window as it shows the list: the same bytes.
    dialogs.queueAnswer(folder + QStringLiteral("kopie.krfilter"));
    click(window, QStringLiteral("BFilterSpeichern"));
    QFile copy(folder + QStringLiteral("kopie.krfilter"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), filterFileText(saved));

    // A list that would not read back is not saved: a level filter needs the levels.
    auto* levels = child<QLineEdit>(window, QStringLiteral("eStufen"));
    levels->selectAll();
    QTest::keyClick(levels, Qt::Key_Delete);
    const qsizetype asked = dialogs.requests().size();
    boxes.clear();
    click(window, QStringLiteral("BFilterSpeichern"));
    EXPECT_EQ(dialogs.requests().size(), asked);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith(
        QStringLiteral("Die Filterliste hat noch einen Fehler. Ein Filter der Favoritenstufen")));
    QTest::keyClicks(levels, levelPatternText(*saved.levels));

    // Junk and a newer version are refused naming file and line; the list stays.
    boxes.clear();
    struct Bad {
        const char* bytes;
        const char* says;
    };
    for (const Bad& bad : {Bad{"Korbisto-Filter 1\r\nsigns 0=2..6\r\nwas ist das\r\n", "„kaputt.krfilter“, Zeile 3"},
                           Bad{"Korbisto-Filter 2\r\nsigns 0=2..6\r\n",
                               "„kaputt.krfilter“, Zeile 1: Die Filterliste hat die Version 2"}}) {
        write(folder + QStringLiteral("kaputt.krfilter"), bad.bytes);
        dialogs.queueAnswer(folder + QStringLiteral("kaputt.krfilter"));
        click(window, QStringLiteral("BFilterOeffnen"));
        ASSERT_EQ(boxes.boxes().size(), 1);
        EXPECT_EQ(boxes.boxes()[0].icon, ui::MessageIcon::Error);
        EXPECT_TRUE(boxes.texts()[0].startsWith(QString::fromUtf8(bad.says))) << boxes.texts()[0].toStdString();
        EXPECT_EQ(tab->filters(), saved);
        boxes.clear();
    }
}

TEST_F(FilterTabTest, ALongCoverShowsItsProgressAndStops) {
    openMainWindow();
    cross(13);  // 1,594,323 rows
    main->model().rows().replaceRows(test::tableOf({"1111111111111"}));
    const QList<QStringList> before = test::rows(main->model().table());
    app::FilterTab* tab = openTab();
    counted(tab);
    EXPECT_EQ(text("LFilterAnzahl"), QStringLiteral("1.594.323 von 1.594.323 Reihen erfüllen die Filter."));
    click(window, QStringLiteral("BFilterNeu"));
    child<QSpinBox>(window, QStringLiteral("SEMin"))->setValue(3);
    counted(tab);
    child<QComboBox>(window, QStringLiteral("CBGarantie"))->setCurrentIndex(2);
    click(window, QStringLiteral("BAbdecken"));
    ASSERT_TRUE(tab->working());
    EXPECT_TRUE(child(window, QStringLiteral("PBAbdecken"))->isVisible());
    EXPECT_FALSE(child(window, QStringLiteral("BAbdecken"))->isEnabled());
    EXPECT_FALSE(child(window, QStringLiteral("CBArt"))->isEnabled());
    click(window, QStringLiteral("BAbdeckenStopp"));
    EXPECT_FALSE(tab->working());
    EXPECT_EQ(text("LAbdeckenStatus"), QStringLiteral("Abgebrochen. Die Tabelle ist unverändert."));
    EXPECT_TRUE(child(window, QStringLiteral("CBArt"))->isEnabled());

    // Rows that come meanwhile stay: the cover is dropped.
    click(window, QStringLiteral("BAbdecken"));
    main->model().rows().replaceRows(test::tableOf({"2222222222222"}));
    EXPECT_FALSE(tab->working());
    EXPECT_TRUE(text("LAbdeckenStatus").startsWith(QStringLiteral("Abgebrochen: Die Tabelle hat sich geändert")));
    const QList<QStringList> now = test::rows(main->model().table());

    // Closing the window stops it too.
    click(window, QStringLiteral("BAbdecken"));
    ASSERT_TRUE(tab->working());
    click(window, QStringLiteral("BClose"));
    EXPECT_FALSE(tab->working());
    EXPECT_EQ(test::rows(main->model().table()), now);
}

TEST_F(FilterTabTest, EveryControlHasANameAndTheKeysReachIt) {
    app::FilterTab* tab = openTab();
    QStringList unnamed;
    int focusable = 0;
    for (QWidget* w : child(tab, QStringLiteral("PFilter"))->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(w)) continue;
        ++focusable;
        if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName();
    }
    EXPECT_GT(focusable, 20);
    EXPECT_EQ(unnamed, QStringList());
    // Tab goes through the controls in the order they stand, none skipped.
    child(window, QStringLiteral("RBVollsystem"))->setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        order << QApplication::focusWidget()->objectName();
        key(Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{"RBVollsystem", "BFilterOeffnen", "BFilterSpeichern", "LBFilter", "BFilterNeu",
                                  "SEToleranz", "eStufen", "BStufenGenerator"}));
}

}  // namespace
