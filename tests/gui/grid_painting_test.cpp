#include "gui_support.h"

#include "ui/style.h"
#include "ui/text_metrics.h"
#include "ui/tip_grid.h"

#include <QImage>
#include <QPainter>
#include <QTableView>

using namespace korbisto;
using namespace korbisto::test;

namespace {

class GridPaintingTest : public WindowTest {
protected:
    void SetUp() override {
        openMainWindow();
        grid = child<ui::TipGridView>(main.get(), QStringLiteral("G1"));
    }

    void load(const std::vector<const char*>& rows) {
        writeSlip(slipFolder() + QStringLiteral("s.krsc"), rows);
        main->SpielscheinEinlesen(slipFolder() + QStringLiteral("s.krsc"));
    }
    void setWinningRow(const char* row) { test::setWinningRow(main->model(), row); }

    QRect cell(int row, int column) { return grid->visualRect(grid->model()->index(row - 1, column)); }
    // The colour of a cell where no text reaches: its top-left corner.
    QColor background(const QImage& image, int row, int column) {
        const QRect r = cell(row, column);
        return image.pixelColor(r.left() + 1, r.top() + 1);
    }
    QImage render() { return grid->viewport()->grab().toImage(); }

    ui::TipGridView* grid = nullptr;
};

const QColor kGreen(206, 255, 206);
const QColor kRed(255, 191, 191);

TEST_F(GridPaintingTest, TipsAgainstAnIncompleteWinningRow) {
    load({"1021201102120"});
    setWinningRow("1-2------0---");  // results for matches 1, 3 and 10 only
    const QImage image = render();
    EXPECT_EQ(background(image, 1, 1), kGreen);
    EXPECT_EQ(background(image, 1, 3), kGreen);
    EXPECT_EQ(background(image, 1, 10), kRed);
    for (int m : {2, 4, 5, 9, 11, 13}) EXPECT_EQ(background(image, 1, m), QColor(Qt::white)) << m;

    // An empty cell has no colour of its own, whatever the winning row says.
    main->model().rows().changeTable([](TipTable& t) { t.setCellText(1, 3, QString()); });
    EXPECT_EQ(background(render(), 1, 3), QColor(Qt::white));
}

TEST_F(GridPaintingTest, HitCellsTakeTheColourOfTheirRank) {
    // 13, 12, 11, 10 and 9 hits.
    load({"1021201102120", "1021201102122", "1021201102111", "1021201101111", "1021201111111"});
    setWinningRow("1021201102120");
    const QImage image = render();
    EXPECT_EQ(background(image, 1, 14), QColor(249, 202, 13));
    EXPECT_EQ(background(image, 2, 14), QColor(250, 220, 103));
    EXPECT_EQ(background(image, 3, 14), QColor(252, 233, 158));
    EXPECT_EQ(background(image, 4, 14), QColor(254, 245, 211));
    EXPECT_EQ(background(image, 5, 14), QColor(255, 254, 249));
}

TEST_F(GridPaintingTest, ThirteenHitsAreBoldAndCentred) {
    load({"1021201102120", "1021201102122"});
    setWinningRow("1021201102120");
    const QImage image = render();
    auto expected = [&](int row, bool bold, const QColor& colour) {
        const QRect r = cell(row, 14);
        QImage reference(image.size(), image.format());
        reference.fill(Qt::transparent);
        QPainter painter(&reference);
        QFont font = grid->font();
        font.setBold(bold);
        ui::DrawCellText(painter, r, main->model().table().cellText(row, 14), ui::CellAlignment::Centre, font, colour);
        painter.end();
        return reference.copy(r) == image.copy(r);
    };
    EXPECT_TRUE(expected(1, true, QColor(249, 202, 13)));
    EXPECT_FALSE(expected(1, false, QColor(249, 202, 13)));
    EXPECT_TRUE(expected(2, false, QColor(250, 220, 103)));
}

TEST_F(GridPaintingTest, HeadersAndRowNumbersAreCentredByBlanks) {
    load({"1021201102120"});
    const QAbstractItemModel* model = grid->model();
    const QFont font = grid->font();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), ui::PadText(QStringLiteral("Reihe"), 34, font));
    EXPECT_EQ(model->headerData(14, Qt::Horizontal).toString(), ui::PadText(QStringLiteral("Richtig"), 49, font));
    const QString one = model->headerData(1, Qt::Horizontal).toString();
    EXPECT_TRUE(one.startsWith(u' '));
    EXPECT_EQ(one.trimmed(), QStringLiteral("1"));
    EXPECT_EQ(model->index(0, 0).data().toString(), ui::PadNumber(1, 40, font));
    // Cells are exactly as wide and high as laid out; the grid line comes on top.
    EXPECT_EQ(cell(1, 0).width(), 37);
    EXPECT_EQ(cell(1, 1).width(), 20);
    EXPECT_EQ(cell(1, 13).width(), 22);
    EXPECT_EQ(cell(1, 14).width(), 49);
    EXPECT_EQ(cell(1, 1).height(), 16);
}

TEST_F(GridPaintingTest, AWinTableShowsCountsAndAmounts) {
    load({"1021201102120", "1021201102120"});
    setWinningRow("1021201102120");
    main->model().setQuota(1, QStringLiteral("10,5"));
    main->model().evaluate();
    auto* g2 = child<QTableView>(main.get(), QStringLiteral("G2"));
    const QImage image = g2->viewport()->grab().toImage();
    const QRect amount = g2->visualRect(g2->model()->index(0, 2));
    EXPECT_EQ(g2->model()->index(0, 2).data().toString(), QStringLiteral("21,00"));
    // Right-aligned: ink near the right edge, none at the left.
    bool inkRight = false;
    bool inkLeft = false;
    for (int y = amount.top(); y <= amount.bottom(); ++y) {
        for (int x = amount.left(); x <= amount.right(); ++x) {
            if (image.pixelColor(x, y).lightness() > 128) continue;
            if (x > amount.right() - 20) inkRight = true;
            if (x < amount.left() + 40) inkLeft = true;
        }
    }
    EXPECT_TRUE(inkRight);
    EXPECT_FALSE(inkLeft);
}

}  // namespace
