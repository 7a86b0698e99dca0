#include "gui_support.h"

#include "app/analysis_models.h"
#include "app/analysis_window.h"
#include "app/latest_run.h"
#include "app/sheet_view.h"
#include "app/winning_frame.h"
#include "core/german.h"
#include "files/settings_file.h"
#include "systems/reduced_catalogue.h"
#include "ui/bar_chart.h"
#include "ui/filtered_edit.h"

#include <QApplication>
#include <QGraphicsEffect>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <random>

using namespace korbisto;

namespace {

class AnalysisWindowTest : public test::WindowTest {
protected:
    app::TFAnalyse* openWindow() {
        if (!main) openMainWindow();
        click(main.get(), QStringLiteral("BGewinnplan"));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<app::TFAnalyse*>(w); window && window->isVisible()) return window;
        ADD_FAILURE() << "no analysis window";
        return nullptr;
    }
    QString text(QWidget* window, const char* name) { return child<QLabel>(window, QString::fromLatin1(name))->text(); }
    QAbstractItemModel* table(QWidget* window, const char* name) {
        return child<QTableView>(window, QString::fromLatin1(name))->model();
    }
    double number(QAbstractItemModel* model, int row, int column) {
        return model->index(row, column).data(app::kNumberRole).toDouble();
    }
    ui::FilteredLineEdit* winningEdit(int m) {
        return child<app::TFfrAnzeigeGew>(main.get(), QStringLiteral("frAnzeige%1").arg(m))->ETz;
    }
    // Waits for the figures that `signal` announces; the work runs on another thread.
    template <typename Signal>
    void waitFor(app::TFAnalyse* window, Signal signal) {
        QSignalSpy shown(window, signal);
        ASSERT_TRUE(shown.wait(20000)) << "no figures";
    }
    void crossVew2(CrossSheet& sheet) {
        // System 2: four three-way matches, the rest one outcome each.
        for (int m = 1; m <= kMatches; ++m)
            for (int c = 1; c <= (m <= 4 ? 3 : 1); ++c) sheet.toggle(m, c);
    }
};

TEST_F(AnalysisWindowTest, ThePlanOfAVewSystemFollowsSheetTableAndQuotas) {
    openMainWindow();
    CrossSheet& sheet = main->crossColumn().sheet();
    sheet.toggle(1, 1);
    sheet.toggle(2, 3);
    app::TFAnalyse* window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korbisto 1.3.0.0"));
    // The keys on the tabs, not on the close button.
    EXPECT_EQ(window->focusWidget(), child<QTabWidget>(window, QStringLiteral("TabsAnalyse"))->tabBar());
    waitFor(window, &app::TFAnalyse::planShown);
    const QString missing = text(window, "LPlanStatus");
    EXPECT_TRUE(missing.contains(QStringLiteral("keine Tippreihen"))) << missing.toStdString();
    EXPECT_TRUE(missing.contains(QStringLiteral("die Spiele 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 und 13")))
        << missing.toStdString();

    sheet.clear();
    crossVew2(sheet);
    click(child(main.get(), QStringLiteral("PKreuzColumn")), QStringLiteral("BVEW"));
    waitFor(window, &app::TFAnalyse::planShown);
    QAbstractItemModel* plan = table(window, "GPlan");
    ASSERT_EQ(plan->rowCount(), 2);
    const double expected[2][5] = {{1, 0, 0, 8, 9}, {0, 1, 3, 3, 72}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_EQ(number(plan, r, c), expected[r][c]) << r << " " << c;
    EXPECT_EQ(plan->index(1, app::WinPlanModel::Share).data().toString(), formatPercent(72.0 / 81));
    EXPECT_EQ(text(window, "LSicher"), QStringLiteral("II"));
    const auto bars = child<ui::BarChart>(window, QStringLiteral("ChartPlan"))->bars();
    ASSERT_EQ(bars.size(), 5);
    EXPECT_EQ(bars[4].caption, QStringLiteral("keiner"));
    EXPECT_DOUBLE_EQ(bars[0].share, 9.0 / 81);
    EXPECT_DOUBLE_EQ(bars[1].share, 72.0 / 81);
    EXPECT_TRUE(child<QTableView>(window, QStringLiteral("GPlan"))->isColumnHidden(app::WinPlanModel::Win));

    // Quotas only price the plan: no new run, the win at once.
    const quint64 runs = window->planRuns();
    const char* quotas[] = {"1000", "100", "10", "1"};
    for (int k = 1; k <= kRanks; ++k)
        QTest::keyClicks(child<QLineEdit>(main.get(), QStringLiteral("eQ%1").arg(k)), QString::fromLatin1(quotas[k - 1]));
    EXPECT_EQ(text(window, "LGewinnMin"), formatCents(100 + 3 * 10 + 3) + QStringLiteral(" €"));
    EXPECT_EQ(text(window, "LGewinnMax"), formatCents(1000 + 8) + QStringLiteral(" €"));
    EXPECT_EQ(text(window, "LGewinnMittel"), formatCents((9 * 1008.0 + 72 * 133.0) / 81) + QStringLiteral(" €"));
    EXPECT_EQ(number(plan, 0, app::WinPlanModel::Win), 1008);
    EXPECT_FALSE(child<QTableView>(window, QStringLiteral("GPlan"))->isColumnHidden(app::WinPlanModel::Win));
    // Nor does a winning row: it writes hit counts, which the plan does not read.
    QTest::keyClicks(winningEdit(1), QStringLiteral("1"));
    QTest::qWait(50);
    EXPECT_EQ(window->planRuns(), runs);
    EXPECT_FALSE(window->computingPlan());

    // A cross less: the plan is gone and the tab says why.
    sheet.toggle(5, 1);
    waitFor(window, &app::TFAnalyse::planShown);
    EXPECT_EQ(plan->rowCount(), 0);
    EXPECT_TRUE(text(window, "LPlanStatus").contains(QStringLiteral("Spiel 5."))) << text(window, "LPlanStatus").toStdString();
    EXPECT_TRUE(text(window, "LSicher").isEmpty());

    // One window, its position stored by its own button.
    window->move(123, 145);
    click(window, QStringLiteral("BPosition"));
    EXPECT_EQ(readWindowPos(QStringLiteral("FAnalyse")).left, window->x());
    click(window, QStringLiteral("BClose"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(openWindow(), window);
}

TEST_F(AnalysisWindowTest, LiveChancesFollowTheTypedResultAndTheWeights) {
    openMainWindow();
    main->model().rows().replaceRows(test::tableOf({"1111111111111", "1111111111112", "2222222222221", "1111111111110"}));
    app::TFAnalyse* window = openWindow();
    ASSERT_NE(window, nullptr);
    // The tab by its accelerator.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(child<QTabWidget>(window, QStringLiteral("TabsAnalyse"))->currentIndex(), 1);
    waitFor(window, &app::TFAnalyse::liveShown);
    QAbstractItemModel* rows = table(window, "GLive");
    ASSERT_EQ(rows->rowCount(), 4);
    EXPECT_EQ(table(window, "GGewichte")->rowCount(), 13);

    // Typed into the main window, match by match: twelve decided, the last open.
    for (int m = 1; m <= 12; ++m) QTest::keyClicks(winningEdit(m), QStringLiteral("1"));
    waitFor(window, &app::TFAnalyse::liveShown);
    QAbstractItemModel* weights = table(window, "GGewichte");
    ASSERT_EQ(weights->rowCount(), 1);
    EXPECT_EQ(weights->index(0, 0).data().toString(), QStringLiteral("13"));
    EXPECT_EQ(number(rows, 0, app::LiveRowsModel::Hits), 12);
    EXPECT_EQ(rows->index(0, app::LiveRowsModel::Best).data().toString(), QStringLiteral("I"));
    EXPECT_EQ(rows->index(2, app::LiveRowsModel::Best).data().toString(), QStringLiteral("–"));
    EXPECT_DOUBLE_EQ(number(rows, 0, app::LiveRowsModel::RankI), 1.0 / 3);
    // Three rows differ only in match 13: one of them is right for sure.
    EXPECT_EQ(text(window, "LMindestens1"), formatPercent(1));

    // The weights editor: F2 on a cell edits the old weight, which typing
    // replaces; a key that is no digit or comma leaves it.
    QTableView* editor = child<QTableView>(window, QStringLiteral("GGewichte"));
    editor->setFocus();
    editor->setCurrentIndex(weights->index(0, app::WeightsModel::One));
    QTest::keyClick(editor, Qt::Key_F2);
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->accessibleName(), QStringLiteral("Gewicht von 1 in Spiel 13"));
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    QTest::keyClicks(edit, QStringLiteral("8,5"));
    EXPECT_EQ(edit->text(), QStringLiteral("8,5"));
    QTest::keyClick(edit, Qt::Key_Return);  // taken over once the editor has seen the key
    waitFor(window, &app::TFAnalyse::liveShown);
    EXPECT_EQ(number(weights, 0, app::WeightsModel::One), 8.5);
    EXPECT_EQ(weights->index(0, app::WeightsModel::One).data().toString(), QStringLiteral("8,5"));
    EXPECT_DOUBLE_EQ(number(rows, 0, app::LiveRowsModel::RankI), 8.5 / 10.5);
    EXPECT_DOUBLE_EQ(number(rows, 1, app::LiveRowsModel::RankI), 1 / 10.5);
    EXPECT_TRUE(weights->setData(weights->index(0, app::WeightsModel::Zero), QStringLiteral("0")));
    EXPECT_TRUE(weights->setData(weights->index(0, app::WeightsModel::Two), QStringLiteral("0")));
    waitFor(window, &app::TFAnalyse::liveShown);
    EXPECT_DOUBLE_EQ(number(rows, 0, app::LiveRowsModel::RankI), 1);

    // Weights that give no chances stay as typed, marked, and nothing is
    // worked out from them: no figures stay on screen, none is "nan".
    const QString huge = QStringLiteral("1") + QString(308, u'0');
    struct Typed {
        QString one, zero, two;
        std::array<bool, 3> marked;
    };
    const quint64 runs = window->liveRuns();
    for (const Typed& typed : {Typed{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), {true, true, true}},
                               Typed{huge, huge, huge, {true, true, true}},
                               Typed{QStringLiteral("1,2,3"), QStringLiteral("1"), QStringLiteral("1"), {true, false, false}}}) {
        const QString texts[] = {typed.one, typed.zero, typed.two};
        for (int c = 0; c < 3; ++c) weights->setData(weights->index(0, app::WeightsModel::One + c), texts[c]);
        waitFor(window, &app::TFAnalyse::liveShown);
        for (int c = 0; c < 3; ++c) {
            const QModelIndex field = weights->index(0, app::WeightsModel::One + c);
            EXPECT_EQ(field.data(Qt::BackgroundRole).isValid(), typed.marked[static_cast<size_t>(c)]) << c;
            EXPECT_EQ(field.data(Qt::ToolTipRole).isValid(), typed.marked[static_cast<size_t>(c)]) << c;
        }
        EXPECT_EQ(weights->index(0, app::WeightsModel::One).data().toString(), typed.one == huge ? QStringLiteral("1E+308") : typed.one);
        EXPECT_TRUE(text(window, "LLiveStatus").contains(QStringLiteral("Spiel 13"))) << text(window, "LLiveStatus").toStdString();
        EXPECT_EQ(rows->rowCount(), 0);
        for (const char* label : {"LMindestens1", "LMindestens4", "LErwartet1", "LErwarteterGewinn"})
            EXPECT_TRUE(text(window, label).isEmpty()) << label;
        EXPECT_EQ(window->liveRuns(), runs);
    }
    click(window, QStringLiteral("BGleich"));
    waitFor(window, &app::TFAnalyse::liveShown);
    EXPECT_DOUBLE_EQ(number(rows, 0, app::LiveRowsModel::RankI), 1.0 / 3);

    // Quotas price the chances at once: one row to expect in rank I.
    QTest::keyClicks(child<QLineEdit>(main.get(), QStringLiteral("eQ1")), QStringLiteral("300"));
    EXPECT_EQ(text(window, "LErwarteterGewinn"), formatCents(300) + QStringLiteral(" €"));

    // A click on a column's head sorts by it, most hits first, then the other
    // way; the sort stays for new figures.
    QHeaderView* header = child<QTableView>(window, QStringLiteral("GLive"))->horizontalHeader();
    const auto clickHeader = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    const auto numbers = [&] {
        QList<int> order;
        for (int r = 0; r < rows->rowCount(); ++r) order << static_cast<int>(number(rows, r, app::LiveRowsModel::Number));
        return order;
    };
    clickHeader(app::LiveRowsModel::Hits);
    EXPECT_EQ(numbers(), (QList<int>{1, 2, 4, 3}));  // equal keys in the table's order
    clickHeader(app::LiveRowsModel::Hits);
    EXPECT_EQ(numbers(), (QList<int>{3, 1, 2, 4}));
    QTest::keyClicks(winningEdit(1), QStringLiteral("\b2"));
    waitFor(window, &app::TFAnalyse::liveShown);
    EXPECT_EQ(numbers(), (QList<int>{3, 1, 2, 4}));
    EXPECT_EQ(number(rows, 0, app::LiveRowsModel::Hits), 1);
}

TEST_F(AnalysisWindowTest, A96000RowTableIsWorkedOutAsideAndAChangeStartsAnew) {
    openMainWindow();
    std::mt19937 random(96000);
    TipTable big;
    big.reserve(96000);
    for (int r = 1; r <= 96000; ++r) {
        std::array<std::uint8_t, kMatches> tips{};
        for (std::uint8_t& tip : tips) tip = static_cast<std::uint8_t>(1 + random() % 3);
        big.appendRow(r, tips);
    }
    main->model().rows().replaceRows(big);
    app::TFAnalyse* window = openWindow();
    ASSERT_NE(window, nullptr);
    child<QTabWidget>(window, QStringLiteral("TabsAnalyse"))->setCurrentIndex(1);
    QSignalSpy shown(window, &app::TFAnalyse::liveShown);
    // Until the run has begun, and not a moment longer: it is slower than one
    // pass of the event loop by far.
    const auto untilStarted = [&](quint64 runs) {
        for (int i = 0; i < 1000 && window->liveRuns() == runs; ++i) QCoreApplication::processEvents();
        ASSERT_EQ(window->liveRuns(), runs + 1);
    };
    // All 13 matches open: the slip's figures run over 3^13 results.
    untilStarted(0);
    EXPECT_TRUE(window->computingLive());
    EXPECT_TRUE(child<QProgressBar>(window, QStringLiteral("PBLive"))->isVisible());
    EXPECT_TRUE(text(window, "LLiveStatus").contains(QStringLiteral("berechnet"))) << text(window, "LLiveStatus").toStdString();

    // Typed meanwhile: the run under way is dropped, a new one starts.
    const quint64 runs = window->liveRuns();
    QTest::keyClicks(winningEdit(1), QStringLiteral("1"));
    EXPECT_EQ(main->model().winning(1), QStringLiteral("1"));
    QTRY_COMPARE_WITH_TIMEOUT(window->liveRuns(), runs + 1, 5000);
    ASSERT_TRUE(shown.wait(60000));
    QTest::qWait(50);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_FALSE(window->computingLive());
    EXPECT_FALSE(child<QProgressBar>(window, QStringLiteral("PBLive"))->isVisible());
    // Faded at most while the work went on.
    ASSERT_NE(child<QTableView>(window, QStringLiteral("GLive"))->graphicsEffect(), nullptr);
    EXPECT_FALSE(child<QTableView>(window, QStringLiteral("GLive"))->graphicsEffect()->isEnabled());
    QAbstractItemModel* rows = table(window, "GLive");
    ASSERT_EQ(rows->rowCount(), 96000);
    for (int r : {0, 1, 95999})
        EXPECT_EQ(number(rows, r, app::LiveRowsModel::Hits), big.rows()[static_cast<size_t>(r)].tips[0] == kTipOne ? 1 : 0);
    EXPECT_TRUE(text(window, "LLiveStatus").contains(QStringLiteral("96.000 Tippreihen, 12 Spiele offen")))
        << text(window, "LLiveStatus").toStdString();

    // Closed while it works: the work stops and no figures come.
    QTest::keyClicks(winningEdit(2), QStringLiteral("1"));
    untilStarted(window->liveRuns());
    EXPECT_TRUE(window->computingLive());
    click(window, QStringLiteral("BClose"));
    EXPECT_FALSE(window->computingLive());
    QTest::qWait(300);
    EXPECT_EQ(shown.size(), 1);
}

}  // namespace

TEST_F(AnalysisWindowTest, KuerzenDevelopsTheCataloguesSystemThatKeepsItsGuarantee) {
    openMainWindow();
    CrossSheet& sheet = main->crossColumn().sheet();
    app::TFAnalyse* window = openWindow();
    ASSERT_NE(window, nullptr);
    child<QTabWidget>(window, QStringLiteral("TabsAnalyse"))->setCurrentWidget(child(window, QStringLiteral("TabKuerzen")));
    sheet.toggle(1, 1);
    EXPECT_TRUE(text(window, "LKuerzenStatus").contains(QStringLiteral("fehlt noch ein Kreuz")));
    EXPECT_FALSE(child<QPushButton>(window, QStringLiteral("BKuerzenAbwickeln"))->isEnabled());

    // Two two-way and two three-way matches between bankers, one of them a 0.
    const char* columns[kMatches] = {"12", "23", "123", "123", "1", "2", "3", "1", "1", "1", "1", "1", "1"};
    sheet.toggle(1, 1);
    for (int m = 1; m <= kMatches; ++m)
        for (const char* c = columns[m - 1]; *c; ++c) sheet.toggle(m, *c - '0');
    EXPECT_EQ(text(window, "LVollReihen"), QStringLiteral("36"));
    for (const int guarantee : {12, 11, 10})
        EXPECT_EQ(text(window, QStringLiteral("L%1Reihen").arg(guarantee).toLatin1().constData()),
                  QString::number(findReducedSystem(2, 2, guarantee)->rows));

    auto* planButton = child<QPushButton>(window, QStringLiteral("BKuerzenPlan"));
    for (const int guarantee : {12, 11}) {
        child<QRadioButton>(window, QStringLiteral("RB%1").arg(guarantee))->click();
        planButton->click();
        // Off until the plan is there; the answer comes from the event loop.
        EXPECT_FALSE(planButton->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!text(window, "LKuerzenSicher").isEmpty(), 20000);
        EXPECT_TRUE(planButton->isEnabled());
        EXPECT_EQ(text(window, "LKuerzenSicher"), QString::fromLatin1(RangNamen[kMatches + 1 - guarantee]));
        QAbstractItemModel* plan = table(window, "GKuerzenPlan");
        double results = 0;
        for (int r = 0; r < plan->rowCount(); ++r) results += number(plan, r, app::WinPlanModel::Results);
        EXPECT_EQ(results, 36);

        click(window, QStringLiteral("BKuerzenAbwickeln"));
        const TipTable& rows = main->model().table();
        ASSERT_EQ(rows.dataRowCount(), static_cast<int>(findReducedSystem(2, 2, guarantee)->rows));
        EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LReihen"))->text(), QString::number(rows.dataRowCount()));
        // Every result within the crosses, against every row.
        const QString outcome[] = {QString(), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")};
        int checked = 0;
        std::array<int, kMatches> pick{};
        for (;;) {
            int best = 0;
            for (const TipTable::Row& row : rows.rows()) {
                if (row.tips[0] == kTipEmpty) continue;
                int hits = 0;
                for (int m = 0; m < kMatches; ++m)
                    hits += row.tips[static_cast<size_t>(m)] ==
                            tipCodeOfText(outcome[columns[m][pick[static_cast<size_t>(m)]] - '0']);
                best = std::max(best, hits);
            }
            EXPECT_GE(best, guarantee);
            ++checked;
            int m = 0;
            while (m < kMatches && !columns[m][++pick[static_cast<size_t>(m)]]) pick[static_cast<size_t>(m++)] = 0;
            if (m == kMatches) break;
        }
        EXPECT_EQ(checked, 36);
    }

    // Closed while the plan is worked out: shown again, nothing is under way.
    planButton->click();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(openWindow(), window);
    EXPECT_TRUE(planButton->isEnabled());
    EXPECT_FALSE(text(window, "LKuerzenStatus").contains(QStringLiteral("berechnet")));
}

TEST_F(AnalysisWindowTest, TheWindowGrowsAndNoFigureIsCutOffOrRoundedAway) {
    openMainWindow();
    // One row over the 3^10 results of ten three-way matches: it is right in
    // one of 59.049, a share that "0,00 %" would round away.
    main->model().rows().replaceRows(test::tableOf({"1111111111111"}));
    CrossSheet& sheet = main->crossColumn().sheet();
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= (m <= 10 ? 3 : 1); ++c) sheet.toggle(m, c);
    QTest::keyClicks(child<QLineEdit>(main.get(), QStringLiteral("eQ1")), QStringLiteral("100.000"));
    app::TFAnalyse* window = openWindow();
    ASSERT_NE(window, nullptr);
    waitFor(window, &app::TFAnalyse::planShown);
    QAbstractItemModel* plan = table(window, "GPlan");
    ASSERT_EQ(plan->rowCount(), 5);
    EXPECT_EQ(number(plan, 0, app::WinPlanModel::Results), 1);
    EXPECT_EQ(plan->index(0, app::WinPlanModel::Share).data().toString(), QStringLiteral("< 0,01 %"));
    EXPECT_TRUE(child<ui::BarChart>(window, QStringLiteral("ChartPlan"))->toolTip().startsWith(QStringLiteral("I: < 0,01 %")));

    // Larger, and the table and the chart take the room; no column is
    // narrower than its head.
    QTableView* view = child<QTableView>(window, QStringLiteral("GPlan"));
    auto* chart = child<ui::BarChart>(window, QStringLiteral("ChartPlan"));
    const QSize viewBefore = view->size();
    const QSize chartBefore = chart->size();
    window->resize(1100, 820);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(1100, 820));
    EXPECT_GT(view->width(), viewBefore.width());
    EXPECT_GT(view->height(), viewBefore.height());
    EXPECT_GT(chart->width(), chartBefore.width());
    for (const QSize size : {QSize(1100, 820), QSize(app::TFAnalyse::kClientWidth, app::TFAnalyse::kClientHeight)}) {
        window->resize(size);
        QApplication::processEvents();
        for (int c = 0; c < plan->columnCount(); ++c) {
            const int width = view->horizontalHeader()->sectionSize(c);
            EXPECT_GE(width, view->horizontalHeader()->sectionSizeHint(c)) << c;
            for (int r = 0; r < plan->rowCount(); ++r)
                EXPECT_GT(width, view->fontMetrics().horizontalAdvance(plan->index(r, c).data().toString())) << r << c;
        }
    }

    // One of each: "1 Tippreihe über 1 Ergebnis, 1 verschiedenes Gewinnbild".
    sheet.clear();
    for (int m = 1; m <= kMatches; ++m) sheet.toggle(m, 1);
    waitFor(window, &app::TFAnalyse::planShown);
    EXPECT_EQ(text(window, "LPlanStatus"), QStringLiteral("1 Tippreihe über 1 Ergebnis, 1 verschiedenes Gewinnbild."));
}

TEST(AnalysisWindowPlace, BesideTheMainWindowAndNotOverItsCrossSheet) {
    const QRect main(0, 70, 834, 735);
    const QSize size(720, 630);
    struct Case {
        QRect main;
        QRect screen;
        QPoint expected;
    } cases[] = {
        {main, QRect(0, 0, 1920, 1080), QPoint(842, 70)},                        // right of it
        {main.translated(1000, 0), QRect(0, 0, 1920, 1080), QPoint(272, 70)},   // left of it
        {main, QRect(0, 0, 1366, 768), QPoint(646, 70)},                         // at the right edge
        {main.translated(0, 400), QRect(0, 0, 1366, 768), QPoint(646, 138)},     // kept on the screen
        {main.translated(1920, 0), QRect(1920, 0, 1280, 1024), QPoint(2480, 70)}, // on a second screen
    };
    for (const Case& c : cases) EXPECT_EQ(app::besideWindow(c.main, size, c.screen), c.expected) << c.main.x();
}

// A run whose work ends before start() has returned, as a run on a table of
// a few rows may: busy first, then not busy, and the answer after start().
TEST(LatestRunOrder, ARunThatEndsAtOnceLeavesTheWindowNotBusy) {
    app::LatestRun run;
    run.setLauncher([](std::function<void()> job) {
        job();
        return QtFuture::makeReadyFuture();
    });
    QSignalSpy busy(&run, &app::LatestRun::busyChanged);
    QList<int> delivered;
    const auto deliver = [&](const app::Computed<int>& computed) { delivered << computed.value.value_or(-1); };
    run.start<int>([](const std::atomic<bool>&) { return std::optional<int>(1); }, deliver);
    EXPECT_TRUE(delivered.isEmpty());
    EXPECT_TRUE(run.busy());
    // A second run before the first is answered: only its answer comes.
    run.start<int>([](const std::atomic<bool>&) { return std::optional<int>(2); }, deliver);
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, QList<int>{2});
    EXPECT_FALSE(run.busy());
    ASSERT_EQ(busy.size(), 2);
    EXPECT_EQ(busy[0][0].toBool(), true);
    EXPECT_EQ(busy[1][0].toBool(), false);
}
