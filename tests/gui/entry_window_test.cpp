#include "gui_support.h"

#include "app/entry_window.h"
#include "app/main_window.h"
#include "core/paths.h"
#include "files/settings_file.h"
#include "ui/text_field.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTextBlock>

using namespace korbisto;
using namespace korbisto::test;

namespace {

const QString kNothingToCopy = QStringLiteral("Es gibt nichts zu übertragen.\n\nIch breche erst einmal ab.");

class EntryWindowTest : public WindowTest {
protected:
    // The entry window as the program makes it: owned by the main window.
    app::TFEingabe& openEntryWindow() {
        openMainWindow();
        entry = &main->entryWindow();
        entry->show();
        return *entry;
    }
    ui::TextField* field() { return child<ui::TextField>(entry, QStringLiteral("m1")); }
    QString label(const QString& name) { return child<QLabel>(entry, name)->text(); }
    QAbstractItemModel* grid() { return child<QTableView>(entry, QStringLiteral("G1"))->model(); }
    // Row r of the grid as its 13 cells joined, "-" for an empty one.
    QString gridRow(int r) {
        QString row;
        for (int c = 1; c <= 13; ++c) {
            const QString cell = grid()->index(r - 1, c).data().toString();
            row += cell.isEmpty() ? QStringLiteral("-") : cell;
        }
        return row;
    }
    void paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        field()->setFocus();
        field()->paste();
    }
    void readRows(const QString& text) {
        paste(text);
        click(entry, QStringLiteral("BAuslesen"));
    }
    // The lines the editor itself lays out for its text.
    int editorLineCount() {
        QTextDocument* doc = field()->document();
        int lines = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            doc->documentLayout()->blockBoundingRect(b);
            lines += b.layout()->lineCount();
        }
        // An empty last line is not counted.
        return doc->lastBlock().text().isEmpty() ? lines - 1 : lines;
    }

    app::TFEingabe* entry = nullptr;
};

TEST_F(EntryWindowTest, ANewWindowShowsNumberedEmptyRowsAndRefusesToSave) {
    openEntryWindow();
    EXPECT_EQ(entry->windowTitle(), QStringLiteral("Korbisto 1.3.0.0"));
    EXPECT_EQ(entry->size(), QSize(585, 695));
    EXPECT_EQ(entry->pos(), QPoint(0, 70));
    EXPECT_EQ(entry->focusWidget(), field());
    EXPECT_EQ(grid()->rowCount(), 35);
    EXPECT_EQ(grid()->columnCount(), 14);
    EXPECT_EQ(grid()->index(34, 0).data().toString().trimmed(), QStringLiteral("35"));
    EXPECT_EQ(grid()->headerData(0, Qt::Horizontal).toString().trimmed(), QStringLiteral("Tipp"));
    EXPECT_EQ(gridRow(1), QString(13, u'-'));
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("0"));
    EXPECT_EQ(label(QStringLiteral("LZeilen")), QStringLiteral("0"));
    EXPECT_FALSE(child<QAbstractButton>(entry, QStringLiteral("BAuslesen"))->isEnabled());
    EXPECT_FALSE(child<QAbstractButton>(entry, QStringLiteral("BDel"))->isEnabled());
    EXPECT_EQ(child<QAbstractButton>(entry, QStringLiteral("bsSkinSpeedButton1"))->text(),
              QStringLiteral("Reihen zur Auswertung kopieren"));
    EXPECT_TRUE(label(QStringLiteral("LErklaerung2")).contains(QStringLiteral("werden Über copy & paste, durch")));

    click(entry, QStringLiteral("BSave"));
    EXPECT_TRUE(dialogs.requests().isEmpty());
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Es gibt nichts zu speichern.\n\nIch breche erst einmal ab.")});
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Error);
    EXPECT_EQ(boxes.boxes().first().parentName, QStringLiteral("FEingabe"));
}

TEST_F(EntryWindowTest, ALoadedFileIsShownAndReadIntoTheGrid) {
    openEntryWindow();
    const QString path = slipFolder() + QStringLiteral("tipps.txt");
    // Windows-1252 with LF breaks and tabs, as a spreadsheet might save it.
    writeBytes(path,
               "Tipps f\xfcr Samstag\n"
               "1\t0\t2\t1\t2\t0\t1\t2\t0\t1\t2\t0\t1\n"
               "2\t2\tX\t1\t1\t1\t0\t0\t0\t1\t2\t0\t1\n"
               "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n");
    dialogs.queueAnswer(path);
    click(entry, QStringLiteral("BOpen"));
    ASSERT_EQ(dialogs.requests().size(), 1);
    const ui::FileDialogRequest& open = dialogs.requests().first();
    EXPECT_EQ(open.title, QStringLiteral("Eine Text-Datei einlesen"));
    EXPECT_EQ(open.filterName, QStringLiteral("Text-Dateien"));
    EXPECT_EQ(open.pattern, QStringLiteral("*.txt *.csv"));
    EXPECT_EQ(open.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(open.folder, slipFolder());

    const QString shown = QStringLiteral("Tipps für Samstag\n1,0,2,1,2,0,1,2,0,1,2,0,1\n2,2,X,1,1,1,0,0,0,1,2,0,1\n"
                                         "0,0,0,0,0,0,0,0,0,0,0,0,0\n");
    EXPECT_EQ(field()->toPlainText(), shown);
    EXPECT_EQ(field()->textCursor().position(), 0);
    EXPECT_EQ(label(QStringLiteral("LDatei0")), QStringLiteral("tipps.txt"));
    EXPECT_EQ(label(QStringLiteral("LZeilen")), QStringLiteral("4"));
    // Loading leaves the grid alone.
    EXPECT_EQ(label(QStringLiteral("LDatei")), QString());
    EXPECT_EQ(gridRow(1), QString(13, u'-'));

    click(entry, QStringLiteral("BAuslesen"));
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("4"));
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("tipps.txt"));
    EXPECT_EQ(grid()->rowCount(), 4);
    EXPECT_EQ(gridRow(2), QStringLiteral("1021201201201"));
    EXPECT_EQ(gridRow(3), QStringLiteral("2201110001201"));
    // The field still shows the X.
    EXPECT_EQ(field()->toPlainText(), shown);

    // A file that has gone leaves the field as it was.
    dialogs.queueAnswer(slipFolder() + QStringLiteral("weg.txt"));
    click(entry, QStringLiteral("BOpen"));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Die angegebene Datei wurde nicht gefunden")});
    EXPECT_EQ(field()->toPlainText(), shown);
    EXPECT_EQ(label(QStringLiteral("LDatei0")), QStringLiteral("tipps.txt"));
}

TEST_F(EntryWindowTest, LongFileNamesAreElidedAndShownWholeAsHint) {
    openEntryWindow();
    const QString name = QStringLiteral("Tipps der Tippgemeinschaft vom Stammtisch, Rückrunde 2026.txt");
    writeBytes(slipFolder() + name, "1201120112011\n");
    dialogs.queueAnswer(slipFolder() + name);
    click(entry, QStringLiteral("BOpen"));
    click(entry, QStringLiteral("BAuslesen"));
    for (const char* label : {"LDatei0", "LDatei"}) {
        auto* shown = child<QLabel>(entry, QString::fromLatin1(label));
        EXPECT_TRUE(shown->text().contains(u'…')) << label;
        EXPECT_LE(shown->fontMetrics().horizontalAdvance(shown->text()), shown->contentsRect().width()) << label;
        EXPECT_EQ(shown->toolTip(), name) << label;
    }
    // The rows remember the whole name, not what the label could show.
    EXPECT_EQ(entry->rows().fileName(), name);
}

TEST_F(EntryWindowTest, TabsBecomeCommasWhereverTheyComeFrom) {
    openEntryWindow();
    field()->setFocus();
    QTest::keyClicks(field(), QStringLiteral("10"));
    QTest::keyClick(field(), Qt::Key_Left);
    QTest::keyClick(field(), Qt::Key_Tab);
    EXPECT_EQ(field()->toPlainText(), QStringLiteral("1,0"));
    EXPECT_EQ(field()->textCursor().position(), 2);
    EXPECT_TRUE(child<QAbstractButton>(entry, QStringLiteral("BAuslesen"))->isEnabled());

    field()->moveCursor(QTextCursor::End);
    paste(QStringLiteral("\t2\r\n1\t1\t\u00a01"));
    EXPECT_EQ(field()->toPlainText(), QStringLiteral("1,0,2\n1,1, 1"));
    EXPECT_EQ(field()->textCursor().position(), field()->toPlainText().size());
    EXPECT_EQ(label(QStringLiteral("LZeilen")), QStringLiteral("2"));

    // One undo takes back the whole paste, and the next the typed tab.
    field()->undo();
    EXPECT_EQ(field()->toPlainText(), QStringLiteral("1,0"));
    field()->undo();
    EXPECT_EQ(field()->toPlainText(), QStringLiteral("10"));
    EXPECT_EQ(label(QStringLiteral("LZeilen")), QStringLiteral("1"));

    // Text the program puts in is normalised too, without an undo step.
    field()->setPlainText(QStringLiteral("a\tb"));
    EXPECT_EQ(field()->toPlainText(), QStringLiteral("a,b"));
    EXPECT_FALSE(field()->document()->isUndoAvailable());

    // Where Tab is typed into the field, Ctrl+Tab leaves it for the grid side.
    entry->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(entry));
    field()->setFocus();
    QTest::keyClick(field(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), child(entry, QStringLiteral("BSave")));
}

TEST_F(EntryWindowTest, WrappedLinesCountAsTheFieldShowsThem) {
    openEntryWindow();
    QString words;
    for (int i = 0; i < 40; ++i) words += QStringLiteral("1 2 0 ");
    const QString text = words + u'\n' + QString(60, u'1') + QStringLiteral("\n1201120112011\n");
    field()->setPlainText(text);
    const int lines = label(QStringLiteral("LZeilen")).toInt();
    EXPECT_GT(lines, 5);
    EXPECT_EQ(lines, editorLineCount());
    const QStringList shown = field()->shownLines(field()->toPlainText());
    EXPECT_EQ(shown.join(QString()), QString(text).remove(u'\n'));

    // A larger font wraps more; the count follows without a change of text.
    QFont larger = field()->font();
    larger.setPixelSize(22);
    field()->setFont(larger);
    EXPECT_GT(label(QStringLiteral("LZeilen")).toInt(), lines);
    EXPECT_EQ(label(QStringLiteral("LZeilen")).toInt(), editorLineCount());
}

TEST_F(EntryWindowTest, RowsAreSavedAsASlipAndBadCellsAreRefused) {
    openEntryWindow();
    readRows(QStringLiteral("1201120112011\r\n0000000000000\r\n"));
    dialogs.queueAnswer(slipFolder() + QStringLiteral("neu"));
    click(entry, QStringLiteral("BSave"));
    const ui::FileDialogRequest& save = dialogs.requests().last();
    EXPECT_EQ(save.title, QStringLiteral("Spielschein speichern"));
    EXPECT_EQ(save.filterName, QStringLiteral("Spielschein-Datei"));
    EXPECT_EQ(save.pattern, QStringLiteral("*.krsc"));
    EXPECT_EQ(save.defaultSuffix, QStringLiteral("krsc"));
    EXPECT_TRUE(save.overwritePrompt);
    EXPECT_EQ(save.folder, slipFolder());
    EXPECT_EQ(readBytes(slipFolder() + QStringLiteral("neu.krsc")), slipRecord("1201120112011") + slipRecord("0000000000000"));
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("neu.krsc"));
    EXPECT_TRUE(boxes.boxes().isEmpty());

    field()->clearUndoably();
    readRows(QStringLiteral("1;2;0;1;7;0;1;2;0;1;2;0;1\n1;2;0;1;2;0;1;2;0;1;2;0;1\n1;2;0;1;2;0;1;2;0;1;2;0;1\n"));
    dialogs.queueAnswer(slipFolder() + QStringLiteral("neu.krsc"));
    dialogs.queueAnswer(slipFolder() + QStringLiteral("anders.krsc"));
    click(entry, QStringLiteral("BSave"));
    click(entry, QStringLiteral("BSave"));
    ASSERT_EQ(boxes.boxes().size(), 2);
    EXPECT_TRUE(boxes.texts().first().contains(QStringLiteral("Reihe 1, Spiel 5")));
    EXPECT_EQ(readBytes(slipFolder() + QStringLiteral("neu.krsc")), slipRecord("1201120112011") + slipRecord("0000000000000"));
    EXPECT_FALSE(QFile::exists(slipFolder() + QStringLiteral("anders.krsc")));
}

TEST_F(EntryWindowTest, CopyingReplacesTheMainTableAndNothingElse) {
    openEntryWindow();
    std::vector<const char*> twenty(20, "1111111111111");
    writeSlip(slipFolder() + QStringLiteral("zwanzig.krsc"), twenty);
    main->SpielscheinEinlesen(slipFolder() + QStringLiteral("zwanzig.krsc"));
    for (int m = 1; m <= 13; ++m) main->model().setWinning(m, QStringLiteral("1"));
    main->model().setQuota(1, QStringLiteral("100"));
    main->model().evaluate();
    ASSERT_EQ(main->model().table().hits(20), 13);
    const QString total = child<QLabel>(main.get(), QStringLiteral("LGesGewinn"))->text();

    readRows(QStringLiteral("1201120112011\n0000000000000\n2222222222222\n1111111111111\n1020102010201\n"));
    click(entry, QStringLiteral("bsSkinSpeedButton1"));
    const TipTable& t = main->model().table();
    EXPECT_EQ(t.dataRowCount(), 5);
    EXPECT_EQ(child<QTableView>(main.get(), QStringLiteral("G1"))->model()->rowCount(), 5);
    EXPECT_EQ(t.cellText(3, 1), QStringLiteral("2"));
    EXPECT_EQ(t.number(5), 5);
    for (int r = 1; r <= 5; ++r) EXPECT_TRUE(t.cellEmpty(r, TipTable::kHitColumn)) << r;
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LReihen"))->text(), QStringLiteral("5"));
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LDatei"))->text(), QStringLiteral("zwanzig.krsc"));
    EXPECT_EQ(main->model().winning(13), QStringLiteral("1"));
    EXPECT_EQ(main->model().quota(1), QStringLiteral("100"));
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LGesGewinn"))->text(), total);
    EXPECT_EQ(gridRow(5), QStringLiteral("1020102010201"));

    click(entry, QStringLiteral("BGridDel"));
    EXPECT_EQ(grid()->rowCount(), 5);
    EXPECT_EQ(gridRow(1), QString(13, u'-'));
    EXPECT_EQ(grid()->index(0, 0).data().toString(), QString());
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("0"));
    click(entry, QStringLiteral("bsSkinSpeedButton1"));
    EXPECT_EQ(boxes.texts(), QStringList{kNothingToCopy});
    EXPECT_EQ(t.cellText(3, 1), QStringLiteral("2"));
}

TEST_F(EntryWindowTest, ClearingTheFieldKeepsTheRowsAndAnEmptyFieldIsNotRead) {
    openEntryWindow();
    readRows(QStringLiteral("1201120112011\n"));
    click(entry, QStringLiteral("BDel"));
    EXPECT_EQ(field()->toPlainText(), QString());
    EXPECT_EQ(label(QStringLiteral("LZeilen")), QStringLiteral("0"));
    EXPECT_FALSE(child<QAbstractButton>(entry, QStringLiteral("BDel"))->isEnabled());
    EXPECT_EQ(gridRow(1), QStringLiteral("1201120112011"));
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("1"));

    // Reached all the same, "Auslesen" refuses and leaves the rows.
    auto* read = child<QAbstractButton>(entry, QStringLiteral("BAuslesen"));
    read->setEnabled(true);
    QTest::mouseClick(read, Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Das Textfeld ist leer. Es gibt nichts zu übertragen.\n\n"
                                                        "Ich breche erst einmal ab.")});
    EXPECT_EQ(gridRow(1), QStringLiteral("1201120112011"));

    // A text deleted by mistake comes back with undo.
    field()->undo();
    EXPECT_EQ(field()->toPlainText(), QStringLiteral("1201120112011\n"));
}

TEST_F(EntryWindowTest, TheMainWindowShowsTheHiddenWindowWithEverythingKept) {
    writeSettings("[Position]\r\nFEingabe-left=33\r\nFEingabe-top=44\r\n");
    openMainWindow();
    click(main.get(), QStringLiteral("bsSkinSpeedButton7"));
    entry = main->findChild<app::TFEingabe*>(QStringLiteral("FEingabe"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->pos(), QPoint(33, 44));
    readRows(QStringLiteral("1201120112011\n"));

    click(entry, QStringLiteral("BClose"));
    EXPECT_FALSE(entry->isVisible());
    click(main.get(), QStringLiteral("bsSkinSpeedButton7"));
    EXPECT_EQ(main->findChildren<app::TFEingabe*>().size(), 1);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(field()->toPlainText(), QStringLiteral("1201120112011\n"));
    EXPECT_EQ(gridRow(1), QStringLiteral("1201120112011"));
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("1"));

    entry->move(50, 120);
    click(entry, QStringLiteral("bsSkinSpeedButton13"));
    EXPECT_EQ(readWindowPos(QStringLiteral("FEingabe")).left, entry->x());
    EXPECT_EQ(readWindowPos(QStringLiteral("FEingabe")).top, entry->y());
    EXPECT_EQ(readWindowPos(QStringLiteral("FGewonnen")).left, 0);

    // A stored place no screen shows would leave the window out of reach.
    writeSettings("[Position]\r\nFEingabe-left=-90000\r\nFEingabe-top=90000\r\n");
    app::TFEingabe lost(main->model());
    EXPECT_EQ(lost.pos(), QPoint(0, 70));
}

}  // namespace
