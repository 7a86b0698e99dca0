// The windows on the offscreen platform: a click on "Gewinn-Prüfung" until
// the table is painted again, a typed result with instant evaluation (and
// until the analysis window shows the new live chances), a filter changed
// until the count of the rows that pass is shown, the
// way to a shown start window, the memory of a 96,000-row table, a
// 100,000-line paste into the entry window with "Auslesen" on it, and
// 99,999 generated rows from "Reihen bilden" to both grids painted. The table
// figures stand beside a plain string grid with one item per cell, which is
// what a grid of text cells amounts to; the paste beside the plain editor's
// own paste with the text written back and every line laid out.

#include "app/analysis_window.h"
#include "app/entry_window.h"
#include "app/filter_tab.h"
#include "app/generator_window.h"
#include "app/main_window.h"
#include "app/sheet_view.h"
#include "app/start_window.h"
#include "core/paths.h"
#include "generator/generator.h"
#include "systems/cross_sheet.h"
#include "ui/file_dialogs.h"
#include "ui/filtered_edit.h"
#include "ui/style.h"
#include "ui/text_field.h"
#include "ui/tip_grid.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QFile>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace korbisto;

namespace {

constexpr int kRows = 96000;
const char* const kWinning = "1021201102120";

double residentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

// 96,000 rows, as large as a full system gets, from a fixed sequence.
void fillTable(TipTable& table) {
    table.clearAll();
    table.reserve(kRows);
    std::uint32_t state = 12345;
    for (int r = 1; r <= kRows; ++r) {
        std::array<std::uint8_t, kMatches> tips{};
        for (int m = 0; m < kMatches; ++m) {
            state = state * 1103515245u + 12345u;
            tips[static_cast<size_t>(m)] = static_cast<std::uint8_t>(1 + (state >> 16) % 3);
        }
        table.appendRow(r, tips);
    }
}

struct MainWindowFixture {
    std::unique_ptr<app::TFGewonnen> window;
    QAbstractButton* evaluate = nullptr;
    ui::TipGridView* grid = nullptr;

    MainWindowFixture() {
        window = std::make_unique<app::TFGewonnen>();
        window->model().rows().changeTable([](TipTable& t) { fillTable(t); });
        for (int m = 1; m <= kMatches; ++m) window->model().setWinning(m, QString(QChar(kWinning[m - 1])));
        window->show();
        QApplication::processEvents();
        evaluate = window->findChild<QAbstractButton*>(QStringLiteral("BAuswerten"));
        grid = window->findChild<ui::TipGridView*>(QStringLiteral("G1"));
    }
};

// The windows of the fixtures go before the application does.
std::unique_ptr<MainWindowFixture>& mainFixture() {
    static std::unique_ptr<MainWindowFixture> f;
    return f;
}

MainWindowFixture& fixture() {
    if (!mainFixture()) mainFixture() = std::make_unique<MainWindowFixture>();
    return *mainFixture();
}

void BM_EvaluateClickToRepaint_96000Rows(benchmark::State& state) {
    MainWindowFixture& f = fixture();
    for (auto _ : state) {
        QTest::mouseClick(f.evaluate, Qt::LeftButton);
        f.grid->viewport()->repaint();
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_EvaluateClickToRepaint_96000Rows)->Unit(benchmark::kMillisecond);

void BM_EvaluateSortedByHitsToRepaint_96000Rows(benchmark::State& state) {
    MainWindowFixture& f = fixture();
    f.window->model().evaluate();
    f.window->model().sortByHits();
    for (auto _ : state) {
        QTest::mouseClick(f.evaluate, Qt::LeftButton);
        f.grid->viewport()->repaint();
    }
    f.window->model().restoreOrder();
}
BENCHMARK(BM_EvaluateSortedByHitsToRepaint_96000Rows)->Unit(benchmark::kMillisecond);

// One key in a winning-row edit with instant evaluation on.
void BM_TypedResultWithInstantEvaluation_96000Rows(benchmark::State& state) {
    MainWindowFixture& f = fixture();
    ui::FilteredLineEdit* edit = f.window->GewinnFelder[0];
    bool one = true;
    for (auto _ : state) {
        edit->selectAll();
        QTest::keyClick(edit, one ? Qt::Key_2 : Qt::Key_1);
        f.grid->viewport()->repaint();
        one = !one;
    }
}
BENCHMARK(BM_TypedResultWithInstantEvaluation_96000Rows)->Unit(benchmark::kMillisecond);

// One key in a winning-row edit until the analysis window shows the new live
// chances, the first `open` matches still to be played; "gui_ms" is the
// time the key itself keeps the GUI thread (with the instant evaluation).
void BM_TypedResultToLiveChances_96000Rows(benchmark::State& state) {
    MainWindowFixture& f = fixture();
    const int open = static_cast<int>(state.range(0));
    for (int m = 1; m <= kMatches; ++m)
        f.window->model().setWinning(m, m <= open ? QString() : QString(QChar(kWinning[m - 1])));
    QTest::mouseClick(f.window->findChild<QAbstractButton*>(QStringLiteral("BGewinnplan")), Qt::LeftButton);
    auto* analysis = f.window->findChild<app::TFAnalyse*>();
    analysis->findChild<QTabWidget*>(QStringLiteral("TabsAnalyse"))->setCurrentIndex(1);
    QSignalSpy shown(analysis, &app::TFAnalyse::liveShown);
    shown.wait(60000);
    ui::FilteredLineEdit* edit = f.window->GewinnFelder[kMatches - 1];
    bool one = true;
    double guiMs = 0;
    for (auto _ : state) {
        QElapsedTimer key;
        key.start();
        edit->selectAll();
        QTest::keyClick(edit, one ? Qt::Key_2 : Qt::Key_1);
        guiMs += static_cast<double>(key.nsecsElapsed()) / 1e6;
        if (!shown.wait(60000)) state.SkipWithError("no live chances");
        one = !one;
    }
    state.counters["gui_ms"] = benchmark::Counter(guiMs, benchmark::Counter::kAvgIterations);
    analysis->close();
}
BENCHMARK(BM_TypedResultToLiveChances_96000Rows)->Arg(6)->Arg(12)->Unit(benchmark::kMillisecond);

// One cross on the sheet until the analysis window shows the new win plan of
// the 96,000 rows: the first `threeWays` matches crossed three ways, the rest
// one way, and the cross that comes and goes is the second outcome of the
// last match (a two-way match then).
void BM_CrossToWinPlan_96000Rows(benchmark::State& state) {
    MainWindowFixture& f = fixture();
    CrossSheet& sheet = f.window->crossColumn().sheet();
    sheet.clear();
    const int threeWays = static_cast<int>(state.range(0));
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= (m <= threeWays ? 3 : 1); ++c) sheet.toggle(m, c);
    QTest::mouseClick(f.window->findChild<QAbstractButton*>(QStringLiteral("BGewinnplan")), Qt::LeftButton);
    auto* analysis = f.window->findChild<app::TFAnalyse*>();
    analysis->findChild<QTabWidget*>(QStringLiteral("TabsAnalyse"))->setCurrentIndex(0);
    QSignalSpy shown(analysis, &app::TFAnalyse::planShown);
    shown.wait(60000);
    for (auto _ : state) {
        sheet.toggle(kMatches, 2);
        if (!shown.wait(60000)) state.SkipWithError("no win plan");
    }
    analysis->close();
    sheet.clear();
}
BENCHMARK(BM_CrossToWinPlan_96000Rows)->Arg(6)->Arg(12)->Unit(benchmark::kMillisecond);

// A filter's MIN changed in the analysis window's tab "Filter" until the
// new count is shown, four filters on the candidates: the 96,000 rows of
// the table, or the 1,594,323 of the sheet's full system of 13 three-way
// matches. "gui_ms" is what the change itself keeps the GUI thread.
void BM_FilterChangeToCount(benchmark::State& state) {
    MainWindowFixture& f = fixture();
    const bool fullSystem = state.range(0) == 1;
    CrossSheet& sheet = f.window->crossColumn().sheet();
    sheet.clear();
    if (fullSystem)
        for (int m = 1; m <= kMatches; ++m)
            for (int c = 1; c <= 3; ++c) sheet.toggle(m, c);
    QTest::mouseClick(f.window->findChild<QAbstractButton*>(QStringLiteral("BGewinnplan")), Qt::LeftButton);
    auto* analysis = f.window->findChild<app::TFAnalyse*>();
    auto* tab = analysis->findChild<app::FilterTab*>();
    analysis->findChild<QTabWidget*>(QStringLiteral("TabsAnalyse"))->setCurrentWidget(tab);
    QTest::mouseClick(tab->findChild<QAbstractButton*>(fullSystem ? QStringLiteral("RBVollsystem") : QStringLiteral("RBTabelle")),
                      Qt::LeftButton);
    auto* kind = tab->findChild<QComboBox*>(QStringLiteral("CBArt"));
    auto* sign = tab->findChild<QComboBox*>(QStringLiteral("CBZeichen"));
    auto* min = tab->findChild<QSpinBox*>(QStringLiteral("SEMin"));
    auto* max = tab->findChild<QSpinBox*>(QStringLiteral("SEMax"));
    // 0=3..5, 2=..3, run ..4, changes 6..11 (the sign filter of 1-6 has no field to set here).
    struct Filter {
        int kind, sign, min, max;
    };
    for (const Filter& filter : {Filter{0, 1, 3, 5}, Filter{0, 2, 0, 3}, Filter{1, 0, 0, 4}, Filter{2, 0, 6, 11}}) {
        QTest::mouseClick(tab->findChild<QAbstractButton*>(QStringLiteral("BFilterNeu")), Qt::LeftButton);
        kind->setCurrentIndex(filter.kind);
        sign->setCurrentIndex(filter.sign);
        max->setValue(filter.max);
        min->setValue(filter.min);
    }
    QSignalSpy shown(tab, &app::FilterTab::countShown);
    while (shown.isEmpty() || tab->counting()) shown.wait(60000);
    double guiMs = 0;
    int value = 11;
    for (auto _ : state) {
        shown.clear();
        QElapsedTimer change;
        change.start();
        // The MAX of the changes of sign, the filter in the editor.
        value = value == 11 ? 10 : 11;
        max->setValue(value);
        guiMs += static_cast<double>(change.nsecsElapsed()) / 1e6;
        while (shown.isEmpty() || tab->counting())
            if (!shown.wait(60000)) state.SkipWithError("no count");
    }
    if (tab->findChild<QLabel*>(QStringLiteral("LFilterAnzahl"))->text().isEmpty()) state.SkipWithError("no count shown");
    state.counters["gui_ms"] = benchmark::Counter(guiMs, benchmark::Counter::kAvgIterations);
    state.counters["candidates"] = fullSystem ? 1594323 : kRows;
    analysis->close();
    sheet.clear();
}
BENCHMARK(BM_FilterChangeToCount)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ScrollOnePage_96000Rows(benchmark::State& state) {
    MainWindowFixture& f = fixture();
    int row = 0;
    for (auto _ : state) {
        row = (row + 15) % (kRows - 20);
        f.grid->scrollTo(f.grid->model()->index(row, 0), QAbstractItemView::PositionAtTop);
        f.grid->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollOnePage_96000Rows)->Unit(benchmark::kMicrosecond);

// The plain string grid: 15 text items per row, evaluated by comparing the
// cell texts and writing the hit texts back.
struct NaiveGrid {
    std::unique_ptr<QTableWidget> grid;
    double megabytes = 0.0;

    NaiveGrid() {
        TipTable rows;
        fillTable(rows);
        const double before = residentMegabytes();
        grid = std::make_unique<QTableWidget>(kRows, 15);
        for (int r = 0; r < kRows; ++r) {
            grid->setItem(r, 0, new QTableWidgetItem(QString::number(r + 1)));
            for (int m = 1; m <= kMatches; ++m) grid->setItem(r, m, new QTableWidgetItem(rows.cellText(r + 1, m)));
            grid->setItem(r, 14, new QTableWidgetItem());
        }
        grid->resize(400, 300);
        grid->show();
        QApplication::processEvents();
        megabytes = residentMegabytes() - before;
    }
};

// Like the fixtures, the grid goes before the application does.
std::unique_ptr<NaiveGrid>& naiveGridSlot() {
    static std::unique_ptr<NaiveGrid> grid;
    return grid;
}

void BM_NaiveStringGridEvaluateToRepaint_96000Rows(benchmark::State& state) {
    if (!naiveGridSlot()) naiveGridSlot() = std::make_unique<NaiveGrid>();
    NaiveGrid& naive = *naiveGridSlot();
    QStringList winning;
    for (int m = 0; m < kMatches; ++m) winning << QString(QChar(kWinning[m]));
    for (auto _ : state) {
        for (int r = 0; r < kRows; ++r) {
            if (naive.grid->item(r, 1)->text().isEmpty()) continue;
            int hits = 0;
            for (int m = 1; m <= kMatches; ++m) hits += naive.grid->item(r, m)->text() == winning[m - 1];
            naive.grid->item(r, 14)->setText(QString::number(hits));
        }
        naive.grid->viewport()->repaint();
    }
    state.counters["grid_MB"] = naive.megabytes;
}
BENCHMARK(BM_NaiveStringGridEvaluateToRepaint_96000Rows)->Unit(benchmark::kMillisecond);

void BM_StartWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        auto* start = new app::TFStart;
        start->show();
        start->repaint();
        state.PauseTiming();
        delete start;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartWindowShown)->Unit(benchmark::kMillisecond);

void BM_MainWindowCreated(benchmark::State& state) {
    for (auto _ : state) {
        auto window = std::make_unique<app::TFGewonnen>();
        benchmark::DoNotOptimize(window.get());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowCreated)->Unit(benchmark::kMillisecond);

// The entry window with 100,000 rows copied from a spreadsheet: cells
// separated by tabs, one row a line, "X" for the draw now and then.
constexpr int kPastedLines = 100000;

QString spreadsheetRows() {
    QString text;
    text.reserve(kPastedLines * 27);
    std::uint32_t state = 54321;
    for (int r = 0; r < kPastedLines; ++r) {
        for (int m = 0; m < kMatches; ++m) {
            if (m) text += u'\t';
            state = state * 1103515245u + 12345u;
            text += QChar(u"10X2"[(state >> 16) % 4]);
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

struct EntryFixture {
    BetModel evaluation;
    std::unique_ptr<app::TFEingabe> window;
    ui::TextField* field = nullptr;
    QAbstractButton* read = nullptr;
    QString rows = spreadsheetRows();

    EntryFixture() {
        window = std::make_unique<app::TFEingabe>(evaluation);
        window->show();
        QApplication::processEvents();
        field = window->findChild<ui::TextField*>(QStringLiteral("m1"));
        read = window->findChild<QAbstractButton*>(QStringLiteral("BAuslesen"));
        QGuiApplication::clipboard()->setText(rows);
    }
    QString shownCount() const {
        return window->findChild<QWidget*>(QStringLiteral("LZeilen"))->property("text").toString();
    }
};

std::unique_ptr<EntryFixture>& entryFixtureSlot() {
    static std::unique_ptr<EntryFixture> f;
    return f;
}

EntryFixture& entryFixture() {
    if (!entryFixtureSlot()) entryFixtureSlot() = std::make_unique<EntryFixture>();
    return *entryFixtureSlot();
}

// Ctrl+V into the empty field until it is painted: the tabs become commas on
// the way in, and the line count runs over the shown lines.
void BM_EntryPasteToRepaint_100000Lines(benchmark::State& state) {
    EntryFixture& f = entryFixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.field->clear();
        state.ResumeTiming();
        f.field->paste();
        f.field->viewport()->repaint();
    }
    if (f.shownCount() != QString::number(kPastedLines)) state.SkipWithError("wrong line count");
    state.counters["lines"] = kPastedLines;
}
BENCHMARK(BM_EntryPasteToRepaint_100000Lines)->Unit(benchmark::kMillisecond);

// What the plain editor does with the same paste: its own paste through a
// document fragment, then the field's text read, the tabs replaced and the
// whole text written back, and the lines counted by laying out every line.
void BM_NaivePasteRewriteAndLayout_100000Lines(benchmark::State& state) {
    EntryFixture& f = entryFixture();
    QPlainTextEdit plain;
    plain.setFont(f.field->font());
    plain.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    plain.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    plain.setGeometry(f.field->geometry());
    plain.show();
    QApplication::processEvents();
    int lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plain.clear();
        state.ResumeTiming();
        plain.paste();
        QString text = plain.toPlainText();
        if (text.contains(u'\t')) plain.setPlainText(text.replace(u'\t', u','));
        lines = 0;
        QTextDocument* doc = plain.document();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            doc->documentLayout()->blockBoundingRect(b);
            lines += b.layout()->lineCount();
        }
        plain.viewport()->repaint();
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_NaivePasteRewriteAndLayout_100000Lines)->Unit(benchmark::kMillisecond);

// One key typed at the end of the 100,000-line field: the change handler
// reads the text and counts its shown lines again.
void BM_EntryKeyInFullField_100000Lines(benchmark::State& state) {
    EntryFixture& f = entryFixture();
    f.field->setPlainText(f.rows);
    f.field->moveCursor(QTextCursor::End);
    for (auto _ : state) {
        QTest::keyClick(f.field, Qt::Key_1);
        f.field->viewport()->repaint();
    }
}
BENCHMARK(BM_EntryKeyInFullField_100000Lines)->Unit(benchmark::kMillisecond);

// "Textdatei öffnen..." with the rows saved as a 2.6 MB file, until the
// field is painted.
void BM_EntryOpenFileToRepaint_100000Lines(benchmark::State& state) {
    EntryFixture& f = entryFixture();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("zeilen.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(f.rows.toLatin1()) < 0) state.SkipWithError("no file");
    file.close();
    ui::RecordingFileDialogs dialogs;
    auto* open = f.window->findChild<QAbstractButton*>(QStringLiteral("BOpen"));
    for (auto _ : state) {
        dialogs.queueAnswer(path);
        QTest::mouseClick(open, Qt::LeftButton);
        f.field->viewport()->repaint();
    }
    if (f.shownCount() != QString::number(kPastedLines)) state.SkipWithError("wrong line count");
}
BENCHMARK(BM_EntryOpenFileToRepaint_100000Lines)->Unit(benchmark::kMillisecond);

// "Auslesen" on the 100,000 lines until the grid is painted.
void BM_EntryReadRowsToRepaint_100000Lines(benchmark::State& state) {
    EntryFixture& f = entryFixture();
    f.field->setPlainText(f.rows);
    auto* grid = f.window->findChild<ui::TipGridView*>(QStringLiteral("G1"));
    for (auto _ : state) {
        QTest::mouseClick(f.read, Qt::LeftButton);
        grid->viewport()->repaint();
    }
    if (f.window->rows().table().dataRowCount() != kPastedLines) state.SkipWithError("wrong row count");
    state.counters["rows"] = kPastedLines;
}
BENCHMARK(BM_EntryReadRowsToRepaint_100000Lines)->Unit(benchmark::kMillisecond);

// The field's shown lines of a new text (nothing kept from before), beside
// laying out every line as the editor would.
void BM_ShownLines_100000Lines(benchmark::State& state) {
    EntryFixture& f = entryFixture();
    const QString text = QString(f.rows).replace(u'\t', u',');
    bool flip = false;
    for (auto _ : state) {
        // A text that differs in its last character, so nothing is reused.
        flip = !flip;
        const QString changed = text + (flip ? u'1' : u'2');
        benchmark::DoNotOptimize(f.field->shownLines(changed).size());
    }
}
BENCHMARK(BM_ShownLines_100000Lines)->Unit(benchmark::kMillisecond);

void BM_NaiveShownLinesEveryLineLaidOut_100000Lines(benchmark::State& state) {
    EntryFixture& f = entryFixture();
    const QString text = QString(f.rows).replace(u'\t', u',');
    const qreal width = f.field->viewport()->width() - 2 * f.field->document()->documentMargin();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (auto _ : state) {
        QStringList shown;
        for (const QString& line : lines) {
            QTextLayout layout(line, f.field->document()->defaultFont());
            layout.setTextOption(f.field->document()->defaultTextOption());
            layout.beginLayout();
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
                l.setLineWidth(width);
                shown << line.mid(l.textStart(), l.textLength());
            }
            layout.endLayout();
        }
        benchmark::DoNotOptimize(shown.size());
    }
}
BENCHMARK(BM_NaiveShownLinesEveryLineLaidOut_100000Lines)->Unit(benchmark::kMillisecond);

double coldStartMs = 0.0;
double rssWith96000Rows = 0.0;

void BM_ColdStartToShownStartWindow(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(coldStartMs);
    state.counters["cold_ms"] = coldStartMs;
}
BENCHMARK(BM_ColdStartToShownStartWindow)->Iterations(1);

void BM_MemoryWith96000Rows(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(rssWith96000Rows);
    state.counters["VmRSS_MB"] = rssWith96000Rows;
}
BENCHMARK(BM_MemoryWith96000Rows)->Iterations(1);

// The generator window with every outcome of the 13 matches at "Fav I ",
// set by pressing its buttons, and 99,999 rows asked for.
constexpr int kGeneratedRows = 99999;

struct GeneratorFixture {
    std::unique_ptr<app::TFKick> window;
    QAbstractButton* start = nullptr;
    ui::TipGridView* rows = nullptr;
    ui::TipGridView* counts = nullptr;

    GeneratorFixture() {
        window = std::make_unique<app::TFKick>();
        window->setSeedSource(countingSeeds(1));
        window->show();
        QApplication::processEvents();
        for (int k = 1; k <= kOutcomeCrosses; ++k)
            QTest::mousePress(window->findChild<QWidget*>(QStringLiteral("but%1").arg(k)), Qt::LeftButton);
        window->findChild<ui::FilteredLineEdit*>(QStringLiteral("eAnz"))->setTextFromProgram(QString::number(kGeneratedRows));
        start = window->findChild<QAbstractButton*>(QStringLiteral("bsSkinSpeedButton2"));
        rows = window->findChild<ui::TipGridView*>(QStringLiteral("g1"));
        counts = window->findChild<ui::TipGridView*>(QStringLiteral("g2"));
    }
};

std::unique_ptr<GeneratorFixture>& generatorFixtureSlot() {
    static std::unique_ptr<GeneratorFixture> f;
    return f;
}

// The click, the run in slices with the event loop between them, both grids
// painted. "longest_turn_ms" is the longest the event loop waited for its
// next turn during the run: clicks and repaints are never held up longer.
void BM_GeneratorWindowRunToRepaint_99999Rows(benchmark::State& state) {
    if (!generatorFixtureSlot()) generatorFixtureSlot() = std::make_unique<GeneratorFixture>();
    GeneratorFixture& f = *generatorFixtureSlot();
    double longestTurnMs = 0.0;
    for (auto _ : state) {
        QTest::mouseClick(f.start, Qt::LeftButton);
        QElapsedTimer turn;
        while (f.window->running()) {
            turn.start();
            QCoreApplication::processEvents();
            longestTurnMs = std::max(longestTurnMs, static_cast<double>(turn.nsecsElapsed()) / 1e6);
        }
        f.rows->viewport()->repaint();
        f.counts->viewport()->repaint();
    }
    if (f.window->rows().table().dataRowCount() != kGeneratedRows) state.SkipWithError("wrong row count");
    state.counters["rows"] = kGeneratedRows;
    state.counters["longest_turn_ms"] = longestTurnMs;
}
BENCHMARK(BM_GeneratorWindowRunToRepaint_99999Rows)->Unit(benchmark::kMillisecond);

// The same run in the library alone, in one go, with its table and counts:
// what the window adds is the slicing and the painting.
void BM_GeneratorLibraryRunWithTable_99999Rows(benchmark::State& state) {
    PatternLevels levels;
    levels.fill(1);
    for (auto _ : state) {
        GeneratorRun run(levels, kGeneratedRows, countingSeeds(1));
        run.finish();
        benchmark::DoNotOptimize(run.table());
        benchmark::DoNotOptimize(run.outcomeCounts());
    }
}
BENCHMARK(BM_GeneratorLibraryRunWithTable_99999Rows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the user's own data folder.
    QTemporaryDir data;
    setenv("XDG_DATA_HOME", QFile::encodeName(data.path()).constData(), 1);

    QApplication app(argc, argv);
    ui::applyStyle(app);
    {
        auto* start = new app::TFStart;
        start->show();
        start->repaint();
        coldStartMs = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;
        delete start;
    }
    fixture();
    QApplication::processEvents();
    rssWith96000Rows = residentMegabytes();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    generatorFixtureSlot().reset();
    entryFixtureSlot().reset();
    naiveGridSlot().reset();
    mainFixture().reset();
    return 0;
}
