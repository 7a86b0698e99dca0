#include "gui_support.h"

#include "app/main_window.h"
#include "app/screenshot_window.h"
#include "app/update_window.h"
#include "app/web_links.h"
#include "app/winning_frame.h"
#include "core/error.h"
#include "core/paths.h"
#include "files/settings_file.h"
#include "ui/filtered_edit.h"
#include "ui/forms.h"
#include "ui/icons.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QTableView>
#include <QTest>

using namespace korbisto;
using namespace korbisto::test;

namespace {

const char* const kWinning = "1021201102120";

class MainWindowTest : public WindowTest {
protected:
    QString label(const QString& name) { return child<QLabel>(main.get(), name)->text(); }
    ui::FilteredLineEdit* winningEdit(int m) {
        return child<app::TFfrAnzeigeGew>(main.get(), QStringLiteral("frAnzeige%1").arg(m))->ETz;
    }
    ui::FilteredLineEdit* quotaEdit(int k) { return child<ui::FilteredLineEdit>(main.get(), QStringLiteral("eQ%1").arg(k)); }
    QString winningRowText() {
        QString row;
        for (int m = 1; m <= 13; ++m) row += winningEdit(m)->text() + u'|';
        return row;
    }
    QString g2(int row, int column) {
        auto* view = child<QTableView>(main.get(), QStringLiteral("G2"));
        return view->model()->index(row, column).data().toString();
    }
    QString hitsColumn() {
        QString hits;
        const TipTable& t = main->model().table();
        for (int r = 1; r < t.rowCount(); ++r) hits += t.cellText(r, 14) + u' ';
        return hits.trimmed();
    }
    // A match day and a slip read through the buttons.
    void loadThroughButtons(const std::vector<const char*>& rows) {
        writeMatchDay(matchDayFolder() + QStringLiteral("tag.sptag"), kWinning);
        writeSlip(slipFolder() + QStringLiteral("schein.krsc"), rows);
        dialogs.queueAnswer(matchDayFolder() + QStringLiteral("tag.sptag"));
        click(main.get(), QStringLiteral("BOpenSpTag"));
        dialogs.queueAnswer(slipFolder() + QStringLiteral("schein.krsc"));
        click(main.get(), QStringLiteral("bsSkinSpeedButton1"));
    }
};

TEST_F(MainWindowTest, FirstStartUsesTheDefaults) {
    openMainWindow();
    EXPECT_EQ(main->pos(), QPoint(0, 70));
    EXPECT_EQ(main->size(), QSize(834, 695));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Korbisto 1.3.0.0"));
    EXPECT_TRUE(child<QCheckBox>(main.get(), QStringLiteral("cbSofort"))->isChecked());
    EXPECT_EQ(label(QStringLiteral("leur")), QStringLiteral("0"));
    EXPECT_EQ(main->model().table().rowCount(), 30);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    for (const char* name : {"G1", "G2", "LTag", "pb1", "pb13", "PFoto", "PAnzeige", "frAnzeige1", "frAnzeige13",
                             "cbSofort", "eQ1", "eQ4", "LDatei", "LReihen", "LGesGewinn", "leur", "PKreuzColumn",
                             "Image2", "BAuswerten", "BSave", "BCopy", "BGridDel", "BSortier"})
        EXPECT_NE(main->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"PKreuz", "VKreuz11", "VKreuz135", "PB", "PZW", "PDW", "PAnz", "LVEW", "LVEW2", "BVoll",
                             "BVEW", "BKreuzeDel", "BQSave", "BQOpen"})
        EXPECT_NE(child(main.get(), QStringLiteral("PKreuzColumn"))->findChild<QWidget*>(QString::fromLatin1(name)),
                  nullptr)
            << name;
}

TEST_F(MainWindowTest, StartReadsTheStoredFilesAndSettings) {
    writeMatchDay(matchDayFolder() + QStringLiteral("tag.sptag"), kWinning);
    writeSlip(slipFolder() + QStringLiteral("a.krsc"), {"1021201102120", "2222222222222"});
    writeSettings("[Position]\r\nFGewonnen-left=120\r\nFGewonnen-top=90\r\n[ZumStartEinlesen]\r\nSpieltag=" +
                  (matchDayFolder() + QStringLiteral("tag.sptag")).toUtf8() + "\r\nSpielschein=" +
                  (slipFolder() + QStringLiteral("a.krsc")).toUtf8() +
                  "\r\n[Auswertung]\r\nsofort=0\r\n[Wach]\r\nStand=12,50\r\n");
    openMainWindow();
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(u'/').toStdString();
    EXPECT_EQ(main->pos(), QPoint(120, 90));
    EXPECT_FALSE(child<QCheckBox>(main.get(), QStringLiteral("cbSofort"))->isChecked());
    EXPECT_FALSE(main->model().instantEvaluation());
    EXPECT_EQ(label(QStringLiteral("leur")), QStringLiteral("12,50"));
    EXPECT_EQ(label(QStringLiteral("LTag")), QStringLiteral("07.03.2021"));
    EXPECT_EQ(label(QStringLiteral("pb1")), QStringLiteral("Heim 1 - Gast 1"));
    EXPECT_EQ(label(QStringLiteral("pb13")), QStringLiteral("Heim 13 - Gast 13"));
    EXPECT_EQ(winningRowText(), QStringLiteral("1|0|2|1|2|0|1|1|0|2|1|2|0|"));
    EXPECT_EQ(quotaEdit(1)->text(), QStringLiteral("10,50"));
    EXPECT_EQ(quotaEdit(4)->text(), QStringLiteral("1,00"));
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("a.krsc"));
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("2"));
}

TEST_F(MainWindowTest, AStoredMatchDayThatHasGoneSkipsTheSlip) {
    writeSlip(slipFolder() + QStringLiteral("a.krsc"), {"1021201102120"});
    writeSettings("[ZumStartEinlesen]\r\nSpieltag=" + (matchDayFolder() + QStringLiteral("weg.sptag")).toUtf8() +
                  "\r\nSpielschein=" + (slipFolder() + QStringLiteral("a.krsc")).toUtf8() + "\r\n");
    openMainWindow();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Die angegebene Datei wurde nicht gefunden")});
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Error);
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("0"));
    EXPECT_TRUE(main->model().table().isEmpty());
    // The window works all the same.
    click(main.get(), QStringLiteral("BAuswerten"));
    EXPECT_EQ(g2(0, 1), QStringLiteral("0"));
}

TEST_F(MainWindowTest, UnreadableStoredFilesShowTheirErrorAndTheWindowOpens) {
    writeMatchDay(matchDayFolder() + QStringLiteral("tag.sptag"), kWinning);
    // A folder where the slip should be cannot be read as one.
    writeSettings("[ZumStartEinlesen]\r\nSpieltag=" + (matchDayFolder() + QStringLiteral("tag.sptag")).toUtf8() +
                  "\r\nSpielschein=" + slipFolder().toUtf8() + "\r\n");
    openMainWindow();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("E/A-Fehler 21")});
    EXPECT_EQ(label(QStringLiteral("LTag")), QStringLiteral("07.03.2021"));
    EXPECT_TRUE(main->model().table().isEmpty());
}

TEST_F(MainWindowTest, AStoredFifoIsRefusedAndTheWindowOpens) {
    writeMatchDay(matchDayFolder() + QStringLiteral("tag.sptag"), kWinning);
    writeSlip(slipFolder() + QStringLiteral("a.krsc"), {"1021201102120"});
    const QString fifo = folder.path(QStringLiteral("rohr"));
    // A reader that blocked on the FIFO is let go by the watchdog, and the test fails.
    Fifo pipe(fifo, 15);
    writeSettings("[ZumStartEinlesen]\r\nSpieltag=" + fifo.toUtf8() + "\r\nSpielschein=" +
                  (slipFolder() + QStringLiteral("a.krsc")).toUtf8() + "\r\n");
    openMainWindow();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Dateizugriff verweigert")});
    EXPECT_TRUE(main->model().table().isEmpty());  // a failing match day skips the slip
    EXPECT_TRUE(main->isVisible());
    main.reset();
    boxes.clear();

    writeSettings("[ZumStartEinlesen]\r\nSpieltag=" + (matchDayFolder() + QStringLiteral("tag.sptag")).toUtf8() +
                  "\r\nSpielschein=" + fifo.toUtf8() + "\r\n");
    openMainWindow();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Dateizugriff verweigert")});
    EXPECT_EQ(label(QStringLiteral("LTag")), QStringLiteral("07.03.2021"));
    EXPECT_TRUE(main->model().table().isEmpty());
    EXPECT_FALSE(pipe.releasedAReader());
}

TEST_F(MainWindowTest, DamagedSettingsReadAsDefaults) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk.append(static_cast<char>((i * 7919) % 256));
    writeSettings(junk);
    openMainWindow();
    EXPECT_EQ(main->pos(), QPoint(0, 70));
    EXPECT_TRUE(child<QCheckBox>(main.get(), QStringLiteral("cbSofort"))->isChecked());
    EXPECT_TRUE(boxes.boxes().isEmpty());
    main.reset();

    writeSettings("[Position]\r\nFGewonnen-left=links\r\nFGewonnen-top=\r\n[Auswertung]\r\nsofort=vielleicht\r\n");
    openMainWindow();
    EXPECT_EQ(main->pos(), QPoint(0, 70));
    EXPECT_TRUE(main->model().instantEvaluation());
    main.reset();

    // A position no screen shows would leave the window out of reach.
    writeSettings("[Position]\r\nFGewonnen-left=90000\r\nFGewonnen-top=-90000\r\n");
    openMainWindow();
    EXPECT_EQ(main->pos(), QPoint(0, 70));
}

TEST_F(MainWindowTest, ClosingStoresSwitchAndDonationStatusPositionOnlyOnRequest) {
    openMainWindow();
    main->move(40, 100);
    QTest::mouseClick(child<QCheckBox>(main.get(), QStringLiteral("cbSofort")), Qt::LeftButton);
    main->close();
    EXPECT_FALSE(settings::readBool(settings::kEvaluation, QStringLiteral("sofort"), true));
    EXPECT_EQ(settings::readString(settings::kDonation, QStringLiteral("Stand")), QStringLiteral("0"));
    EXPECT_EQ(readWindowPos(QStringLiteral("FGewonnen")).left, 0);

    openMainWindow();
    EXPECT_FALSE(child<QCheckBox>(main.get(), QStringLiteral("cbSofort"))->isChecked());
    main->move(40, 100);
    click(main.get(), QStringLiteral("bsSkinSpeedButton4"));
    EXPECT_EQ(readWindowPos(QStringLiteral("FGewonnen")).left, main->x());
    EXPECT_EQ(readWindowPos(QStringLiteral("FGewonnen")).top, main->y());
}

TEST_F(MainWindowTest, OpeningFilesThroughTheDialogsStoresTheirPaths) {
    openMainWindow();
    loadThroughButtons({"1021201102120", "1021201102111"});
    ASSERT_EQ(dialogs.requests().size(), 2);
    const ui::FileDialogRequest& day = dialogs.requests()[0];
    EXPECT_EQ(day.title, QStringLiteral("Spieltag öffnen"));
    EXPECT_EQ(day.filterName, QStringLiteral("Spieltag-Datei"));
    EXPECT_EQ(day.pattern, QStringLiteral("*.sptag"));
    EXPECT_EQ(day.defaultSuffix, QStringLiteral("sptag"));
    EXPECT_EQ(day.folder, matchDayFolder());
    EXPECT_TRUE(day.mustExist);
    const ui::FileDialogRequest& slip = dialogs.requests()[1];
    EXPECT_EQ(slip.title, QStringLiteral("Spielscheindatei einlesen"));
    EXPECT_EQ(slip.filterName, QStringLiteral("Spielschein"));
    EXPECT_EQ(slip.pattern, QStringLiteral("*.krsc"));
    EXPECT_EQ(slip.folder, slipFolder());
    EXPECT_TRUE(slip.multiSelect);

    EXPECT_EQ(settings::readString(settings::kStartFiles, QStringLiteral("Spieltag")),
              matchDayFolder() + QStringLiteral("tag.sptag"));
    EXPECT_EQ(settings::readString(settings::kStartFiles, QStringLiteral("Spielschein")),
              slipFolder() + QStringLiteral("schein.krsc"));
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("2"));
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("schein.krsc"));
    EXPECT_TRUE(boxes.boxes().isEmpty());

    // Cancelling changes nothing; a file that fails is not stored.
    click(main.get(), QStringLiteral("BOpenSpTag"));
    writeBytes(matchDayFolder() + QStringLiteral("kurz.sptag"), QByteArray(100, '\0'));
    dialogs.queueAnswer(matchDayFolder() + QStringLiteral("kurz.sptag"));
    click(main.get(), QStringLiteral("BOpenSpTag"));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Versuch hinter dem Dateiende zu lesen")});
    EXPECT_EQ(settings::readString(settings::kStartFiles, QStringLiteral("Spieltag")),
              matchDayFolder() + QStringLiteral("tag.sptag"));
    EXPECT_EQ(label(QStringLiteral("LTag")), QStringLiteral("07.03.2021"));
}

TEST_F(MainWindowTest, FilesNamedAtTheStartAreReadAsIfOpened) {
    openMainWindow();
    writeMatchDay(matchDayFolder() + QStringLiteral("tag.sptag"), kWinning);
    writeSlip(slipFolder() + QStringLiteral("Mein Schein.KRSC"), {"1021201102120", "1021201102111", "1111111111111"});
    main->openFile(matchDayFolder() + QStringLiteral("tag.sptag"));
    main->openFile(slipFolder() + QStringLiteral("Mein Schein.KRSC"));
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(u'|').toStdString();
    EXPECT_EQ(label(QStringLiteral("LTag")), QStringLiteral("07.03.2021"));
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("Mein Schein.KRSC"));
    EXPECT_EQ(settings::readString(settings::kStartFiles, QStringLiteral("Spielschein")),
              slipFolder() + QStringLiteral("Mein Schein.KRSC"));
    EXPECT_TRUE(dialogs.requests().isEmpty());

    // Anything else is refused and nothing stored.
    writeBytes(slipFolder() + QStringLiteral("notiz.txt"), "1021201102120");
    main->openFile(slipFolder() + QStringLiteral("notiz.txt"));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("„notiz.txt“ ist weder ein Spielschein (.krsc) noch ein "
                                                        "Spieltag (.sptag).\n\nIch breche erst einmal ab.")});
    EXPECT_EQ(settings::readString(settings::kStartFiles, QStringLiteral("Spielschein")),
              slipFolder() + QStringLiteral("Mein Schein.KRSC"));
}

TEST_F(MainWindowTest, TypedWinningRowIsFilteredAndEvaluatedAtOnce) {
    openMainWindow();
    writeSlip(slipFolder() + QStringLiteral("s.krsc"), {"1021201102120", "0000000000000"});
    main->SpielscheinEinlesen(slipFolder() + QStringLiteral("s.krsc"));
    QTest::keyClicks(winningEdit(1), QStringLiteral("a1"));
    QTest::keyClicks(winningEdit(2), QStringLiteral("X"));
    QTest::keyClicks(winningEdit(3), QStringLiteral("x?2"));
    EXPECT_EQ(winningEdit(1)->text(), QStringLiteral("1"));
    EXPECT_EQ(winningEdit(2)->text(), QStringLiteral("0"));
    EXPECT_EQ(winningEdit(3)->text(), QStringLiteral("02"));
    // Three edits typed, so the evaluation ran: row 1 has two hits, row 2 one.
    EXPECT_EQ(hitsColumn(), QStringLiteral("2 1"));
    QTest::keyClick(winningEdit(3), Qt::Key_Backspace);
    QTest::keyClick(winningEdit(3), Qt::Key_Backspace);
    QTest::keyClicks(winningEdit(3), QStringLiteral("2"));
    EXPECT_EQ(hitsColumn(), QStringLiteral("3 1"));

    // Without instant evaluation typing changes no hit.
    QTest::mouseClick(child<QCheckBox>(main.get(), QStringLiteral("cbSofort")), Qt::LeftButton);
    QTest::keyClicks(winningEdit(4), QStringLiteral("1"));
    EXPECT_EQ(hitsColumn(), QStringLiteral("3 1"));
    click(main.get(), QStringLiteral("BAuswerten"));
    EXPECT_EQ(hitsColumn(), QStringLiteral("4 1"));
    QTest::mouseClick(child<QCheckBox>(main.get(), QStringLiteral("cbSofort")), Qt::LeftButton);

    click(main.get(), QStringLiteral("bsSkinSpeedButton3"));
    EXPECT_EQ(winningRowText(), QString(13 * 1, u'|'));
    EXPECT_EQ(hitsColumn(), QStringLiteral("0 0"));
}

TEST_F(MainWindowTest, PastedTextPassesTheSameFilters) {
    openMainWindow();
    writeSlip(slipFolder() + QStringLiteral("s.krsc"), {"1021201102120"});
    main->SpielscheinEinlesen(slipFolder() + QStringLiteral("s.krsc"));
    QGuiApplication::clipboard()->setText(QStringLiteral("1234567890"));
    winningEdit(1)->paste();
    // Ten digits keep what the keys would: a multi-digit entry, never a hit.
    EXPECT_EQ(winningEdit(1)->text(), QStringLiteral("120"));
    EXPECT_EQ(hitsColumn(), QStringLiteral("0"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Borussia\tx\n"));
    winningEdit(2)->paste();
    EXPECT_EQ(winningEdit(2)->text(), QStringLiteral("0"));
    EXPECT_EQ(hitsColumn(), QStringLiteral("1"));

    QGuiApplication::clipboard()->setText(QStringLiteral("unbesetzt 1.234,50 €"));
    quotaEdit(1)->paste();
    EXPECT_EQ(quotaEdit(1)->text(), QStringLiteral("1234,50"));
    QGuiApplication::clipboard()->setText(QStringLiteral("Hundert Euro"));
    quotaEdit(2)->paste();
    EXPECT_EQ(quotaEdit(2)->text(), QString());
    QTest::keyClicks(quotaEdit(2), QStringLiteral("1,,5"));
    // Two commas are no quota; the evaluation still completes.
    click(main.get(), QStringLiteral("BAuswerten"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(g2(1, 2), QString());
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LGesGewinn"))->text(), QStringLiteral("0,00"));
}

TEST_F(MainWindowTest, ProgramTextsInTheEditsStayAsTheyAre) {
    openMainWindow();
    main->model().setWinning(5, QStringLiteral("7"));
    main->model().setQuota(3, QStringLiteral("unbesetzt"));
    EXPECT_EQ(winningEdit(5)->text(), QStringLiteral("7"));
    EXPECT_EQ(quotaEdit(3)->text(), QStringLiteral("unbesetzt"));
    winningEdit(5)->end(false);
    QTest::keyClicks(winningEdit(5), QStringLiteral("1"));
    EXPECT_EQ(winningEdit(5)->text(), QStringLiteral("71"));
    EXPECT_EQ(main->model().winning(5), QStringLiteral("71"));
    click(main.get(), QStringLiteral("BQuoDel"));
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(quotaEdit(k)->text(), QString());
}

TEST_F(MainWindowTest, EvaluateSortAndRestore) {
    openMainWindow();
    // 11, 13, 11 and 12 hits against the winning row.
    loadThroughButtons({"1021201102111", "1021201102120", "2221201102120", "1021201102122"});
    quotaEdit(2)->selectAll();
    QTest::keyClicks(quotaEdit(2), QStringLiteral("3"));
    click(main.get(), QStringLiteral("BAuswerten"));
    EXPECT_EQ(hitsColumn(), QStringLiteral("11 13 11 12"));
    EXPECT_EQ(g2(0, 1), QStringLiteral("1"));
    EXPECT_EQ(g2(0, 2), QStringLiteral("10,50"));
    EXPECT_EQ(g2(1, 2), QStringLiteral("3,00"));
    EXPECT_EQ(g2(2, 1), QStringLiteral("2"));
    EXPECT_EQ(g2(2, 2), QStringLiteral("4,00"));
    EXPECT_EQ(g2(3, 2), QStringLiteral("0,00"));
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LGesGewinn"))->text(), QStringLiteral("17,50"));

    click(main.get(), QStringLiteral("BSortier"));
    const TipTable& t = main->model().table();
    EXPECT_EQ(hitsColumn(), QStringLiteral("13 12 11 11"));
    EXPECT_EQ(t.number(3), 1);
    EXPECT_EQ(t.number(4), 3);
    click(main.get(), QStringLiteral("bsSkinSpeedButton2"));
    EXPECT_EQ(hitsColumn(), QStringLiteral("11 13 11 12"));
    EXPECT_EQ(t.number(1), 1);
}

TEST_F(MainWindowTest, CopyExportSaveAndClear) {
    openMainWindow();
    loadThroughButtons({"1021201102120", "2222222222222"});
    click(main.get(), QStringLiteral("BAuswerten"));

    click(main.get(), QStringLiteral("BCopy"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("1,0,2,1,2,0,1,1,0,2,1,2,0\r\n2,2,2,2,2,2,2,2,2,2,2,2,2\r\n"));

    dialogs.queueAnswer(slipFolder() + QStringLiteral("reihen"));
    click(main.get(), QStringLiteral("bsSkinSpeedButton11"));
    const ui::FileDialogRequest& csv = dialogs.requests().last();
    EXPECT_EQ(csv.title, QStringLiteral("Als CSV-Datei speichern"));
    EXPECT_EQ(csv.filterName, QStringLiteral("CSV-Datei"));
    EXPECT_EQ(csv.pattern, QStringLiteral("*.csv"));
    EXPECT_TRUE(csv.overwritePrompt);
    EXPECT_EQ(csv.folder, slipFolder());
    EXPECT_EQ(readBytes(slipFolder() + QStringLiteral("reihen.csv")),
              QByteArray("1;0;2;1;2;0;1;1;0;2;1;2;0\r\n2;2;2;2;2;2;2;2;2;2;2;2;2\r\n"));
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("reihen.csv"));

    // The evaluation picture takes its title from that name.
    click(main.get(), QStringLiteral("bsSkinSpeedButton9"));
    ASSERT_NE(app::FAbbild, nullptr);
    EXPECT_EQ(app::FAbbild->windowTitle(), QStringLiteral("reihe"));

    dialogs.queueAnswer(slipFolder() + QStringLiteral("neu.krsc"));
    click(main.get(), QStringLiteral("BSave"));
    const ui::FileDialogRequest& save = dialogs.requests().last();
    EXPECT_EQ(save.title, QStringLiteral("Spielschein speichern"));
    EXPECT_EQ(save.filterName, QStringLiteral("Spielschein-Datei"));
    EXPECT_TRUE(save.overwritePrompt);
    EXPECT_EQ(readBytes(slipFolder() + QStringLiteral("neu.krsc")).size(), 80);
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("neu.krsc"));
    // Saving does not change the slip read at the next start.
    EXPECT_EQ(settings::readString(settings::kStartFiles, QStringLiteral("Spielschein")),
              slipFolder() + QStringLiteral("schein.krsc"));

    click(main.get(), QStringLiteral("BGridDel"));
    EXPECT_TRUE(main->model().table().isEmpty());
    EXPECT_EQ(main->model().table().rowCount(), 3);
    EXPECT_EQ(label(QStringLiteral("LDatei")), QString());
    EXPECT_EQ(label(QStringLiteral("LReihen")), QStringLiteral("0"));
    EXPECT_EQ(g2(0, 1), QStringLiteral("1"));  // the results stay

    const qsizetype asked = dialogs.requests().size();
    click(main.get(), QStringLiteral("BSave"));
    EXPECT_EQ(dialogs.requests().size(), asked);
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Es gibt nichts zu speichern.\n\nIch breche erst einmal ab.")});
    EXPECT_EQ(boxes.boxes().last().icon, ui::MessageIcon::Error);

    // The empty table copies as lines of twelve commas.
    click(main.get(), QStringLiteral("BCopy"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(",,,,,,,,,,,,\r\n,,,,,,,,,,,,\r\n"));
}

TEST_F(MainWindowTest, AFailedSaveKeepsTheOldFileAndTheLabel) {
    openMainWindow();
    loadThroughButtons({"1021201102120"});
    dialogs.queueAnswer(appPaths().DataFolder + QStringLiteral("fehlt/neu.krsc"));
    click(main.get(), QStringLiteral("BSave"));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Die angegebene Datei wurde nicht gefunden")});
    EXPECT_EQ(label(QStringLiteral("LDatei")), QStringLiteral("schein.krsc"));

    // A tip the slip cannot hold is refused before anything is written.
    writeBytes(slipFolder() + QStringLiteral("alt.krsc"), QByteArray(40, '\1'));
    main->model().rows().changeTable([](TipTable& t) { t.setCellText(1, 5, QStringLiteral("7")); });
    dialogs.queueAnswer(slipFolder() + QStringLiteral("alt.krsc"));
    click(main.get(), QStringLiteral("BSave"));
    EXPECT_TRUE(boxes.texts().last().contains(QStringLiteral("Reihe 1, Spiel 5")));
    EXPECT_EQ(readBytes(slipFolder() + QStringLiteral("alt.krsc")), QByteArray(40, '\1'));
}

TEST_F(MainWindowTest, WebLinksAskForTheConnection) {
    openMainWindow();
    online.setOnline(false);
    click(main.get(), QStringLiteral("BSpende"));
    QTest::mouseClick(child(main.get(), QStringLiteral("Image2")), Qt::LeftButton);
    EXPECT_EQ(boxes.texts(),
              (QStringList{QStringLiteral("Für den Aufruf der PayPal-Seite muss eine Verbindung zum Internet bestehen."),
                           QStringLiteral("Für den Aufruf der Seite muss eine Verbindung zum Internet bestehen.")}));
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Information);
    EXPECT_TRUE(shell.opened().isEmpty());

    online.setOnline(true);
    click(main.get(), QStringLiteral("BSpende"));
    QTest::mouseClick(child(main.get(), QStringLiteral("Image2")), Qt::LeftButton);
    ASSERT_EQ(shell.opened().size(), 2);
    EXPECT_EQ(shell.opened()[0].path(), QStringLiteral("/donate/"));
    EXPECT_TRUE(shell.opened()[0].query().startsWith(QStringLiteral("hosted_button_id=")));
    EXPECT_EQ(shell.opened()[1], app::makerSiteUrl());
    EXPECT_TRUE(shell.opened()[1].path().endsWith(QStringLiteral("/wimbrel/")));
}

TEST_F(MainWindowTest, TheUpdateButtonOpensOneUpdateWindow) {
    openMainWindow();
    for (int i = 0; i < 2; ++i) click(main.get(), QStringLiteral("bsSkinSpeedButton12"));
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) windows += qobject_cast<app::TFNeu*>(w) && w->isVisible() ? 1 : 0;
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(child<QAbstractButton>(main.get(), QStringLiteral("BFSpTagVerw"))->text(),
              QStringLiteral("Spieltag-Download"));
}

}  // namespace

namespace {

class MainWindowKeys : public MainWindowTest {
protected:
    // The window on screen and in front, so that keys go where a user's would.
    void openActive() {
        openMainWindow();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    QString focusName() {
        QWidget* w = QApplication::focusWidget();
        if (!w) return QStringLiteral("(none)");
        // The winning-row edits are all called ETz; their frame tells them apart.
        if (w->objectName() == QLatin1String("ETz")) return w->parentWidget()->objectName();
        return w->objectName();
    }
    // The names Tab visits from the current focus on, `count` presses long.
    QStringList tabThrough(int count) {
        QStringList visited;
        for (int i = 0; i < count; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusName();
        }
        return visited;
    }
};

TEST_F(MainWindowKeys, FocusStartsInTheWinningRowSoAKeyCannotEndTheProgram) {
    openActive();
    EXPECT_EQ(focusName(), QStringLiteral("frAnzeige1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(winningEdit(1)->text(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1);
    EXPECT_EQ(winningEdit(1)->text(), QStringLiteral("1"));
}

TEST_F(MainWindowKeys, TabFollowsTheScreen) {
    openActive();
    QStringList expected;
    for (int m = 2; m <= 13; ++m) expected << QStringLiteral("frAnzeige%1").arg(m);
    expected << QStringLiteral("bsSkinSpeedButton3") << QStringLiteral("cbSofort");
    for (int k = 1; k <= 4; ++k) expected << QStringLiteral("eQ%1").arg(k);
    expected << QStringLiteral("BQuoDel") << QStringLiteral("BAuswerten") << QStringLiteral("bsSkinSpeedButton1")
             << QStringLiteral("BSave") << QStringLiteral("BCopy") << QStringLiteral("bsSkinSpeedButton11")
             << QStringLiteral("BGridDel") << QStringLiteral("bsSkinSpeedButton2") << QStringLiteral("BSortier")
             << QStringLiteral("G1") << QStringLiteral("G2") << QStringLiteral("bsSkinSpeedButton9");
    EXPECT_EQ(tabThrough(static_cast<int>(expected.size())), expected);

    // Around the end of the window: the toolbar, the match-day column and the
    // cross sheet, each of its 39 boxes, come before the winning row.
    const QStringList onward = tabThrough(80);
    const auto at = [&](const char* name) { return onward.indexOf(QString::fromLatin1(name)); };
    EXPECT_EQ(onward.mid(0, 12),
              QString::fromLatin1("bsSkinSpeedButton6 BFSpTagVerw bsSkinSpeedButton8 bsSkinSpeedButton7 "
                                  "bsSkinSpeedButton12 BGewinnplan BSpende bsSkinSpeedButton4 bsSkinSpeedButton5 "
                                  "BOpenSpTag bsSkinSpeedButton18 Image2")
                  .split(u' '));
    // The development buttons wait for crosses; Tab passes them by.
    EXPECT_EQ(at("PKreuz"), 12);
    EXPECT_EQ(onward.count(QStringLiteral("PKreuz")), 39);
    EXPECT_EQ(onward.mid(at("PKreuz") + 39, 3),
              QStringList({QStringLiteral("BKreuzeDel"), QStringLiteral("BQSave"), QStringLiteral("frAnzeige1")}));
}

TEST_F(MainWindowKeys, ShortcutsPressTheirButtonsWhereverTheKeysAre) {
    openActive();
    loadThroughButtons({kWinning, "2222222222222"});
    quotaEdit(1)->setFocus();
    quotaEdit(1)->selectAll();
    QTest::keyClicks(quotaEdit(1), QStringLiteral("5"));
    const std::pair<QKeySequence, const char*> keys[] = {
        {Qt::CTRL | Qt::SHIFT | Qt::Key_C, "BCopy"}, {Qt::Key_F9, "BAuswerten"},
        {Qt::CTRL | Qt::Key_S, "BSave"},             {Qt::CTRL | Qt::Key_O, "bsSkinSpeedButton1"},
        {Qt::Key_F1, "bsSkinSpeedButton5"},          {Qt::CTRL | Qt::Key_Q, "bsSkinSpeedButton6"}};
    for (const auto& [sequence, button] : keys) {
        const QString hint = child(main.get(), QString::fromLatin1(button))->toolTip();
        EXPECT_TRUE(hint.endsWith(u'(' + sequence.toString(QKeySequence::NativeText) + u')')) << hint.toStdString();
        if (sequence == QKeySequence(Qt::Key_F1)) break;
        QTest::keySequence(QApplication::focusWidget(), sequence);
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text().count(u'\n'), 2);
    EXPECT_EQ(hitsColumn(), QStringLiteral("13 4"));
    ASSERT_EQ(dialogs.requests().size(), 4);
    EXPECT_EQ(dialogs.requests()[2].title, QStringLiteral("Spielschein speichern"));
    EXPECT_EQ(dialogs.requests()[3].title, QStringLiteral("Spielscheindatei einlesen"));
    // The keys stayed where they were typed.
    EXPECT_EQ(QApplication::focusWidget(), quotaEdit(1));
    EXPECT_EQ(quotaEdit(1)->text(), QStringLiteral("5"));

    QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(ui::findForm(QStringLiteral("FInfo")));
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MainWindowTest, SortingAndRestoringShowTheTopRow) {
    openMainWindow();
    std::vector<const char*> rows(60, "2222222222222");
    rows[45] = kWinning;  // the only row with 13 hits, far down the table
    loadThroughButtons(rows);
    click(main.get(), QStringLiteral("BAuswerten"));
    auto* grid = child<QTableView>(main.get(), QStringLiteral("G1"));
    grid->scrollToBottom();
    ASSERT_GT(grid->rowAt(0), 0);
    click(main.get(), QStringLiteral("BSortier"));
    EXPECT_EQ(grid->rowAt(0), 0);
    EXPECT_EQ(grid->model()->index(0, 14).data().toString(), QStringLiteral("13"));
    grid->scrollToBottom();
    click(main.get(), QStringLiteral("bsSkinSpeedButton2"));
    EXPECT_EQ(grid->rowAt(0), 0);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString().trimmed(), QStringLiteral("1"));
}

TEST_F(MainWindowTest, ALongFileNameIsElidedAndShownWholeAsHint) {
    openMainWindow();
    const QString name = QStringLiteral("Tippgemeinschaft Stammtisch zum goldenen Hirschen, Saison 2026.krsc");
    writeSlip(slipFolder() + name, {kWinning});
    main->SpielscheinEinlesen(slipFolder() + name);
    auto* file = child<QLabel>(main.get(), QStringLiteral("LDatei"));
    EXPECT_TRUE(file->text().contains(u'…')) << file->text().toStdString();
    EXPECT_LE(file->fontMetrics().horizontalAdvance(file->text()), file->contentsRect().width());
    EXPECT_TRUE(file->text().endsWith(QStringLiteral(".krsc")));
    EXPECT_EQ(file->toolTip(), name);
    // The evaluation picture is named after the whole name.
    click(main.get(), QStringLiteral("bsSkinSpeedButton9"));
    EXPECT_EQ(app::FAbbild->windowTitle(), name.chopped(5));

    // A name that fits needs no hint.
    writeSlip(slipFolder() + QStringLiteral("kurz.krsc"), {kWinning});
    main->SpielscheinEinlesen(slipFolder() + QStringLiteral("kurz.krsc"));
    EXPECT_EQ(file->text(), QStringLiteral("kurz.krsc"));
    EXPECT_EQ(file->toolTip(), QString());
}

}  // namespace
