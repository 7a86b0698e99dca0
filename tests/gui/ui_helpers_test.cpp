#include "support/test_env.h"

#include "ui/captions.h"
#include "ui/filtered_edit.h"
#include "ui/forms.h"
#include "ui/jpeg_writer.h"
#include "ui/style.h"
#include "ui/text_metrics.h"
#include "ui/tip_grid.h"

#include "core/error.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace korbisto;
using namespace korbisto::ui;

namespace {

TEST(Captions, HandHyphenationIsUndone) {
    EXPECT_EQ(displayCaption(QStringLiteral("Gewinn- Prüfung")), QStringLiteral("Gewinn-Prüfung"));
    EXPECT_EQ(displayCaption(QStringLiteral("Spieltag- Download")), QStringLiteral("Spieltag-Download"));
    EXPECT_EQ(displayCaption(QStringLiteral("Reihen zur  Aus- wertung kopieren")),
              QStringLiteral("Reihen zur Auswertung kopieren"));
    EXPECT_EQ(displayCaption(QStringLiteral("alle VEW-Syste- me, viele Kürzungs- und Grundtippsys- teme")),
              QStringLiteral("alle VEW-Systeme, viele Kürzungs- und Grundtippsysteme"));
    EXPECT_EQ(displayCaption(QStringLiteral("Ein- oder Ausgabe")), QStringLiteral("Ein- oder Ausgabe"));
    EXPECT_EQ(displayCaption(QStringLiteral("Gewinn- reihe:")), QStringLiteral("Gewinnreihe:"));
    // A dash between blanks is no hyphenation.
    EXPECT_EQ(displayCaption(QStringLiteral("Bayern - Dortmund")), QStringLiteral("Bayern - Dortmund"));
    EXPECT_EQ(displayCaption(QStringLiteral("Spielschein einlesen...")), QStringLiteral("Spielschein einlesen..."));
}

TEST(TextMetrics, PaddingUsesTheFontOfTheGrid) {
    QWidget small;
    small.setFont(tahomaFont(8));
    QWidget large;
    large.setFont(tahomaFont(20));
    const QString smallPad = PadNumber(1, 40, small);
    const QString largePad = PadNumber(1, 40, large);
    EXPECT_EQ(smallPad.trimmed(), QStringLiteral("1"));
    EXPECT_GT(smallPad.size(), largePad.size());
    EXPECT_EQ(GetTextWidth(small.font(), QStringLiteral("12")), QFontMetrics(small.font()).horizontalAdvance("12"));
    // Wider than seven tenths of the cell: no blanks.
    EXPECT_EQ(PadText(QStringLiteral("Richtig"), 20, small), QStringLiteral("Richtig"));
}

// The leftmost and rightmost columns with ink in a painted cell.
std::pair<int, int> inkColumns(CellAlignment alignment) {
    QImage image(60, 16, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    DrawCellText(painter, QRect(5, 0, 40, 16), QStringLiteral("88"), alignment, tahomaFont(8), Qt::white);
    painter.end();
    int left = 1000;
    int right = -1;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 60; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (x < 5 || x >= 45) {
                EXPECT_EQ(c, QColor(Qt::black)) << "painted outside the cell at " << x;
                continue;
            }
            if (c.lightness() < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

TEST(TextMetrics, CellTextAlignments) {
    const int width = GetTextWidth(tahomaFont(8), QStringLiteral("88"));
    const auto [leftL, leftR] = inkColumns(CellAlignment::Left);
    EXPECT_GE(leftL, 5 + 2);
    EXPECT_LE(leftL, 5 + 3);
    const auto [rightL, rightR] = inkColumns(CellAlignment::Right);
    EXPECT_LE(rightR, 45 - 3 - 1);
    EXPECT_GE(rightR, 45 - 3 - 2);
    const auto [centreL, centreR] = inkColumns(CellAlignment::Centre);
    EXPECT_NEAR(centreL - 5, (40 - width) / 2, 1);
    EXPECT_LT(leftR, centreR);
    EXPECT_LT(centreR, rightR);
}

TEST(FilteredEdit, OnlyTheInsertedTextIsFiltered) {
    FilteredLineEdit edit(&FilteredLineEdit::winningRowFilter);
    QTest::keyClicks(&edit, QStringLiteral("1a x"));
    EXPECT_EQ(edit.text(), QStringLiteral("10"));
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, QStringLiteral("X9"));
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
    EXPECT_EQ(edit.cursorPosition(), 2);
    edit.setTextFromProgram(QStringLiteral("13"));
    EXPECT_EQ(edit.text(), QStringLiteral("13"));
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("5"));
    EXPECT_EQ(edit.text(), QString());

    FilteredLineEdit quota(&FilteredLineEdit::quotaFilter);
    QTest::keyClicks(&quota, QStringLiteral("1.234,5 EUR"));
    EXPECT_EQ(quota.text(), QStringLiteral("1234,5"));
    QTest::keyClick(&quota, Qt::Key_Backspace);
    EXPECT_EQ(quota.text(), QStringLiteral("1234,"));
}

TEST(Forms, AWindowOpenedFromAButtonExistsOnce) {
    int created = 0;
    auto create = [&] {
        ++created;
        auto* w = new QWidget;
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    };
    EXPECT_FALSE(FormExists(QStringLiteral("Fsptag")));
    QWidget* first = showSingleWindow(QStringLiteral("Fsptag"), create);
    EXPECT_TRUE(FormExists(QStringLiteral("Fsptag")));
    EXPECT_FALSE(FormExists(QStringLiteral("fsptag")));
    first->showMinimized();
    QWidget* second = showSingleWindow(QStringLiteral("Fsptag"), create);
    EXPECT_EQ(first, second);
    EXPECT_EQ(created, 1);
    EXPECT_FALSE(second->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(second->isVisible());
    delete second;
    EXPECT_FALSE(FormExists(QStringLiteral("Fsptag")));
}

TEST(TipGrid, FourteenColumnGridHeaders) {
    TipTable table(4);
    for (int r = 1; r <= 4; ++r) table.setCellText(r, 1, QStringLiteral("1"));
    table.setNumber(1, 17);
    TipDocument document;
    document.replaceRows(table);
    TipGridModel model(14);
    model.setDocument(&document);
    TipGridView grid;
    grid.setFont(tahomaFont(8));
    grid.setModel(&model);
    InitTipGridHeaders(grid, model);
    EXPECT_EQ(grid.columnWidthOf(0), 40);
    EXPECT_EQ(model.columnCount(), 14);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), PadText(QStringLiteral("Tipp"), 40, grid));
    EXPECT_EQ(model.headerData(13, Qt::Horizontal, Qt::DisplayRole).toString(), PadNumber(13, 20, grid));
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(model.index(r - 1, 0).data().toString(), PadNumber(r, 40, grid)) << r;

    // Without a winning row every data cell is painted white.
    grid.resize(400, 120);
    grid.show();
    const QImage image = grid.viewport()->grab().toImage();
    const QRect cell = grid.visualRect(model.index(0, 1));
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top() + 1), QColor(Qt::white));
}

TEST(Jpeg, ProgressiveAndDecodable) {
    QImage image(64, 48, QImage::Format_ARGB32);
    image.fill(QColor(30, 140, 60));
    const QByteArray bytes = encodeJpeg(image, 75);
    ASSERT_GT(bytes.size(), 4);
    EXPECT_TRUE(bytes.startsWith("\xFF\xD8"));
    EXPECT_TRUE(bytes.contains("\xFF\xC2"));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(bytes, "JPG"));
    EXPECT_EQ(decoded.size(), image.size());
    EXPECT_NEAR(decoded.pixelColor(32, 24).green(), 140, 6);
    EXPECT_THROW(encodeJpeg(QImage(), 75), KorbistoError);
}

}  // namespace
