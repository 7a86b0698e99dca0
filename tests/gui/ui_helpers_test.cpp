#include "qtest_checks.h"
#include "support/test_env.h"
#include "support/tip_rows.h"

#include "ui/captions.h"
#include "ui/file_dialogs.h"
#include "ui/filtered_edit.h"
#include "ui/forms.h"
#include "ui/jpeg_writer.h"
#include "ui/labels.h"
#include "ui/style.h"
#include "ui/text_metrics.h"
#include "ui/tip_grid.h"
#include "ui/window_frame.h"

#include "core/error.h"
#include "core/german.h"

#include <QBrush>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
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

TEST(TipGrid, ColoursAndFontsAreTheModelsRoles) {
    TipDocument document;
    document.replaceRows(test::tableOf({"1021201102120", "1---------222"}));
    document.changeCells([](TipTable& t) {
        t.setHits(1, 13);
        t.setHits(2, 11);
    });
    TipGridModel model(15);
    model.setDocument(&document);
    auto background = [&](int row, int column) {
        return model.index(row - 1, column).data(Qt::BackgroundRole).value<QBrush>().color();
    };
    auto bold = [&](int row, int column) {
        const QVariant font = model.index(row - 1, column).data(Qt::FontRole);
        return font.isValid() && font.value<QFont>().bold();
    };
    // Without a winning row: white data cells on a grey fixed column.
    EXPECT_EQ(background(1, 0), QColor(236, 236, 236));
    EXPECT_EQ(background(1, 1), QColor(Qt::white));
    EXPECT_EQ(background(1, 14), QColor(Qt::white));
    EXPECT_FALSE(bold(1, 14));
    EXPECT_EQ(model.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignLeft);
    EXPECT_EQ(model.index(0, 5).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignHCenter);

    BetModel bet;
    bet.setInstantEvaluation(false);
    model.colourAgainst(&bet);
    QSignalSpy repaint(&model, &QAbstractItemModel::dataChanged);
    bet.setWinning(1, QStringLiteral("1"));
    bet.setWinning(2, QStringLiteral("2"));
    EXPECT_EQ(repaint.count(), 2);
    EXPECT_EQ(background(1, 1), QColor(206, 255, 206));  // a hit
    EXPECT_EQ(background(1, 2), QColor(255, 191, 191));  // a miss
    EXPECT_EQ(background(1, 3), QColor(Qt::white));      // no result yet
    EXPECT_EQ(background(2, 2), QColor(Qt::white));      // an empty cell
    EXPECT_EQ(background(1, 14), QColor(249, 202, 13));
    EXPECT_EQ(background(2, 14), QColor(252, 233, 158));
    EXPECT_TRUE(bold(1, 14));
    EXPECT_FALSE(bold(2, 14));
}

TEST(TipGrid, AGridOutlivesItsDocument) {
    TipGridModel model(14);
    TipGridView grid;
    grid.setModel(&model);
    grid.resize(400, 200);
    auto document = std::make_unique<TipDocument>();
    document->replaceRows(test::tableOf({"1111111111111", "2222222222222"}));
    model.setDocument(document.get());
    grid.show();
    EXPECT_EQ(model.rowCount(), 2);
    document.reset();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.index(0, 1).data(), QVariant());
    grid.viewport()->repaint();
}

TEST(WindowFrame, CaptionSizePlaceAndTopBar) {
    WindowFrame window(QStringLiteral("FProbe"));
    window.setClientSize(QSize(300, 200));
    EXPECT_EQ(window.objectName(), QStringLiteral("FProbe"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Korbisto 1.3.0.0"));
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

    window.placeAt(QPoint(40, 90));
    EXPECT_EQ(window.pos(), QPoint(40, 90));
    window.placeAt(QPoint(-90000, 90000));
    EXPECT_EQ(window.pos(), QPoint(0, 70));

    TopBar* bar = window.topBar();
    EXPECT_EQ(bar, window.topBar());
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 300, 40));
    bar->addCloseButton();
    bar->addTitle(QStringLiteral("Probe"));
    bar->addStretch();
    QToolButton* position = bar->addPositionButton(QStringLiteral("BPos"));
    EXPECT_FALSE(position->toolTip().isEmpty());
    bar->addEmblem(QStringLiteral("BEmblem"), IconKind::Ball);
    window.show();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("LTitel"))->text(), QStringLiteral("Probe"));
    EXPECT_GT(position->x(), window.findChild<QLabel*>(QStringLiteral("LTitel"))->x());
    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("BClose")), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());

    WindowFrame splash(QStringLiteral("FSplash"), nullptr, WindowFrame::Kind::Splash);
    EXPECT_FALSE(splash.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(ElidedLabel, ShowsWhatFitsAndHintsTheRest) {
    ElidedLabel label;
    label.setFont(tahomaFont(8));
    label.resize(80, 16);
    label.show();
    label.setFullText(QStringLiteral("Saisonabschluss der Tippgemeinschaft.krsc"));
    EXPECT_TRUE(label.text().contains(u'…'));
    EXPECT_TRUE(label.text().endsWith(QStringLiteral("krsc")));
    EXPECT_EQ(label.toolTip(), label.fullText());
    // Wide enough, the whole text and no hint.
    label.resize(600, 16);
    EXPECT_EQ(label.text(), label.fullText());
    EXPECT_EQ(label.toolTip(), QString());
    label.setFullText(QString());
    EXPECT_EQ(label.text(), QString());
}

TEST(GermanFileList, SizesAndDatesTheGermanWay) {
    test::TempDataFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.path(QStringLiteral("liste"))));
    QFile file(folder.path(QStringLiteral("liste/reihen.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(11520, 'x')) == 11520 && file.flush());
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2021, 12, 9), QTime(14, 47)), QFileDevice::FileModificationTime));
    file.close();
    // Qt's own model writes them in the system's language, which may be English.
    QFileSystemModel files;
    GermanFileList shown;
    shown.setSourceModel(&files);
    const QModelIndex list = shown.mapFromSource(files.setRootPath(folder.path(QStringLiteral("liste"))));
    QTRY_COMPARE(shown.rowCount(list), 1);
    const QModelIndex name = shown.index(0, 0, list);
    QTRY_COMPARE(name.siblingAtColumn(GermanFileList::kSizeColumn).data().toString(), formatDataSize(11520));
    EXPECT_EQ(name.siblingAtColumn(GermanFileList::kDateColumn).data().toString(), QStringLiteral("09.12.21 14:47"));
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
