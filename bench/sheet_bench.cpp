// The cross sheet on the offscreen platform: a click on "Vollsystem
// abwickeln" for 78,732 rows until the table is painted again, beside a plain
// string grid that takes each row as a comma text split into one item per
// cell and then gets its centred row numbers in a second pass.

#include "app/main_window.h"
#include "app/sheet_view.h"
#include "core/outcomes.h"
#include "systems/cross_sheet.h"
#include "ui/style.h"
#include "ui/text_metrics.h"
#include "ui/tip_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace korbisto;

namespace {

// Two two-way and nine three-way matches, two bankers: 78,732 rows.
const char* const k78732[kMatches] = {"10", "12", "102", "102", "102", "102", "102",
                                      "102", "102", "102", "102", "1", "2"};
constexpr int kRows = 78732;

void crossSheet(CrossSheet& sheet) {
    for (int m = 1; m <= kMatches; ++m)
        for (int c = 1; c <= 3; ++c)
            if (QByteArray(k78732[m - 1]).contains(TippText[static_cast<size_t>(c)][0])) sheet.toggle(m, c);
}

struct WindowFixture {
    std::unique_ptr<app::TFGewonnen> window;
    QAbstractButton* develop = nullptr;
    ui::TipGridView* grid = nullptr;
    QLabel* rows = nullptr;

    WindowFixture() {
        window = std::make_unique<app::TFGewonnen>();
        crossSheet(window->crossColumn().sheet());
        window->show();
        QApplication::processEvents();
        develop = window->findChild<QAbstractButton*>(QStringLiteral("BVoll"));
        grid = window->findChild<ui::TipGridView*>(QStringLiteral("G1"));
        rows = window->findChild<QLabel*>(QStringLiteral("LReihen"));
    }
};

// The window goes before the application does.
std::unique_ptr<WindowFixture>& windowFixture() {
    static std::unique_ptr<WindowFixture> f;
    return f;
}

void BM_FullSystemClickToRepaint_78732Rows(benchmark::State& state) {
    if (!windowFixture()) windowFixture() = std::make_unique<WindowFixture>();
    WindowFixture& f = *windowFixture();
    for (auto _ : state) {
        QTest::mouseClick(f.develop, Qt::LeftButton);
        f.grid->viewport()->repaint();
        f.rows->repaint();
    }
    if (f.grid->model()->rowCount() != kRows) state.SkipWithError("the table does not hold the full system");
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_FullSystemClickToRepaint_78732Rows)->Unit(benchmark::kMillisecond);

// The rows as a grid of texts takes them: nested loops over the crossed
// outcomes, each row a comma text ",d,d,...,d" split into its 15 cells,
// then every row number centred by blanks with the grid's font.
void BM_NaiveStringGridFullSystem_78732Rows(benchmark::State& state) {
    QTableWidget grid(1, 15);
    grid.setFont(ui::tahomaFont(8));
    grid.resize(400, 300);
    grid.show();
    QApplication::processEvents();
    QList<QStringList> outcomes;
    for (const char* crossed : k78732) {
        QStringList tips;
        for (const char* c = crossed; *c; ++c) tips << QString(QChar::fromLatin1(*c));
        outcomes << tips;
    }
    for (auto _ : state) {
        grid.clearContents();
        grid.setRowCount(kRows);
        std::array<int, kMatches> at{};
        for (int r = 0; r < kRows; ++r) {
            QString text;
            for (int m = 0; m < kMatches; ++m) text += u',' + outcomes[m][at[static_cast<size_t>(m)]];
            const QStringList cells = text.split(u',');
            for (int c = 0; c < cells.size(); ++c) grid.setItem(r, c, new QTableWidgetItem(c == 0 ? QStringLiteral(" ") : cells[c]));
            for (int m = kMatches; m-- > 0;) {
                if (++at[static_cast<size_t>(m)] < outcomes[m].size()) break;
                at[static_cast<size_t>(m)] = 0;
            }
        }
        for (int r = 0; r < kRows; ++r) grid.item(r, 0)->setText(ui::PadNumber(r + 1, 37, grid));
        grid.viewport()->repaint();
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_NaiveStringGridFullSystem_78732Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the user's own data folder.
    QTemporaryDir data;
    setenv("XDG_DATA_HOME", QFile::encodeName(data.path()).constData(), 1);

    QApplication app(argc, argv);
    ui::applyStyle(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    windowFixture().reset();
    return 0;
}
