#include "gui_support.h"

#include "online/online_support.h"

#include "app/match_day_window.h"
#include "core/paths.h"
#include "files/settings_file.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace korbisto;

namespace {

class MatchDayWindowTest : public test::WindowTest {
protected:
    app::TFsptag* openWindow() {
        openMainWindow();
        click(main.get(), QStringLiteral("BFSpTagVerw"));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<app::TFsptag*>(w); window && window->isVisible()) return window;
        ADD_FAILURE() << "no match-day window";
        return nullptr;
    }
    // "Spieltag abrufen" for `entry`, waiting until the press has ended.
    void fetch(app::TFsptag* window, const QString& entry) {
        child<QComboBox>(window, QStringLiteral("ComboDate2"))->setCurrentText(entry);
        QSignalSpy done(window, &app::TFsptag::finished);
        click(window, QStringLiteral("BAbrufen"));
        // Under way the button is off; offline the press has ended already.
        EXPECT_FALSE(child<QPushButton>(window, QStringLiteral("BAbrufen"))->isEnabled() && done.isEmpty());
        if (done.isEmpty()) {
            EXPECT_TRUE(done.wait(30000)) << "no end of the press";
        }
        EXPECT_TRUE(child<QPushButton>(window, QStringLiteral("BAbrufen"))->isEnabled());
    }
    QByteArray matchDayBytes() {
        const QString file = folder.path(QStringLiteral("vorlage.sptag"));
        test::writeMatchDay(file, "1021201102120");
        return test::readBytes(file);
    }
    QString donation() { return child<QLabel>(main.get(), QStringLiteral("leur"))->text(); }

    test::OnlineSite server{folder};
};

}  // namespace

TEST_F(MatchDayWindowTest, TheSaturdaysTheBoxAndOneWindow) {
    app::TFsptag* window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Korbisto"));
    EXPECT_EQ(window->size(), QSize(260, 210));
    // "Now" is Saturday 20.03.2021: the list runs to the Saturday after.
    auto* dates = child<QComboBox>(window, QStringLiteral("ComboDate2"));
    ASSERT_EQ(dates->count(), 3);
    EXPECT_EQ(dates->itemText(0), QStringLiteral("13.03.2021"));
    EXPECT_EQ(dates->currentText(), QStringLiteral("27.03.2021"));
    EXPECT_TRUE(child<QCheckBox>(window, QStringLiteral("cbSofort"))->isChecked());
    EXPECT_EQ(window->statusPicture(), 0);
    click(main.get(), QStringLiteral("BFSpTagVerw"));
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) windows += qobject_cast<app::TFsptag*>(w) ? 1 : 0;
    EXPECT_EQ(windows, 1);
}

TEST_F(MatchDayWindowTest, AStoredMatchDayIsReadAndTheDonationStatusComes) {
    server.serve(QStringLiteral("/downloads/spieltage/13032021.sptag"), matchDayBytes());
    server.serve(QStringLiteral("/downloads/wach13.txt"), "123,45\r\nalles Weitere\r\n");
    app::TFsptag* window = openWindow();
    ASSERT_NE(window, nullptr);
    fetch(window, QStringLiteral("13.03.2021"));
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(u'|').toStdString();
    EXPECT_EQ(window->statusPicture(), 1);
    EXPECT_EQ(test::readBytes(matchDayFolder() + QStringLiteral("13032021.sptag")), matchDayBytes());
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LTag"))->text(), QStringLiteral("07.03.2021"));
    EXPECT_EQ(donation(), QStringLiteral("123,45"));
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("leur"))->textFormat(), Qt::PlainText);
    // The stored start-up path is not the downloaded one.
    EXPECT_TRUE(settings::readString(settings::kStartFiles, QStringLiteral("Spieltag")).isEmpty());

    // Five seconds on, the status is neutral again.
    window->Timer3Timer();
    EXPECT_EQ(window->statusPicture(), 0);
    EXPECT_TRUE(child<QLabel>(window, QStringLiteral("Image1"))->isVisible());

    // Without the tick only the file is stored.
    child<QCheckBox>(window, QStringLiteral("cbSofort"))->setChecked(false);
    test::writeMatchDay(matchDayFolder() + QStringLiteral("anders.sptag"), "1111111111111");
    main->SpieltagEinlesen(matchDayFolder() + QStringLiteral("anders.sptag"));
    fetch(window, QStringLiteral("13.03.2021"));
    EXPECT_EQ(window->statusPicture(), 1);
    EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("LTag"))->text(), QStringLiteral("07.03.2021"));
    EXPECT_EQ(main->model().winningRow()[1], QStringLiteral("1"));  // still the other match day's row
}

TEST_F(MatchDayWindowTest, NothingOnlineSaysWhyAndEmptiesTheDonationStatus) {
    app::TFsptag* window = openWindow();
    ASSERT_NE(window, nullptr);
    main->setDonationStatus(QStringLiteral("99,00"));
    const QString old = matchDayFolder() + QStringLiteral("27032021.sptag");
    test::writeBytes(old, "alt");

    fetch(window, QStringLiteral("27.03.2021"));  // still to come
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Für den gewählten Spieltag sind noch keine Daten online. "
                                                        "Versuchen Sie es bitte später noch einmal.")});
    EXPECT_EQ(boxes.boxes().first().icon, ui::MessageIcon::Information);
    EXPECT_EQ(window->statusPicture(), 2);
    EXPECT_EQ(test::readBytes(old), QByteArray("alt"));
    EXPECT_EQ(donation(), QString());

    fetch(window, QStringLiteral("20.03.2021"));  // today, begun
    EXPECT_EQ(boxes.texts().last(), QStringLiteral("Für weiter zurückliegende Spieltage sind keine Daten verfügbar."));

    online.setOnline(false);
    main->setDonationStatus(QStringLiteral("99,00"));
    fetch(window, QStringLiteral("13.03.2021"));
    EXPECT_EQ(boxes.texts().last(),
              QStringLiteral("Für den Download muss eine Verbindung zum Internet bestehen.\n\nIch breche ab."));
    EXPECT_EQ(donation(), QString());
}

TEST_F(MatchDayWindowTest, ClosingTheWindowCancelsTheDownload) {
    server.serve(QStringLiteral("/downloads/spieltage/13032021.sptag"), matchDayBytes());
    // Where the server sends a byte a second after the first 500.
    qputenv("KORBISTO_SERVER", server.site(QStringLiteral("/slow")).toUtf8());
    app::TFsptag* window = openWindow();
    ASSERT_NE(window, nullptr);
    child<QComboBox>(window, QStringLiteral("ComboDate2"))->setCurrentText(QStringLiteral("13.03.2021"));
    click(window, QStringLiteral("BAbrufen"));
    ASSERT_TRUE(window->downloading());
    EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor);
    click(window, QStringLiteral("BClose"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->downloading());
    EXPECT_TRUE(child<QPushButton>(window, QStringLiteral("BAbrufen"))->isEnabled());
    QTest::qWait(300);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(matchDayFolder() + QStringLiteral("13032021.sptag")));
}

TEST_F(MatchDayWindowTest, TenFailedPressesInARowWithTheBoxConfirmedEachTime) {
    test::ModalMessageBoxes modal;
    app::TFsptag* window = openWindow();
    ASSERT_NE(window, nullptr);
    QList<int> pictures;  // while each box shows
    modal.whileShown = [&] { pictures << window->statusPicture(); };
    for (int press = 1; press <= 10; ++press) {
        SCOPED_TRACE(press);
        fetch(window, QStringLiteral("27.03.2021"));  // not on the server: 404
        QTest::qWait(20);
    }
    EXPECT_EQ(modal.texts().size(), 10);
    // The failure shows, and blinks, once the first box is closed.
    ASSERT_FALSE(pictures.isEmpty());
    EXPECT_EQ(pictures.first(), 0);
    EXPECT_EQ(window->statusPicture(), 2);
}

TEST_F(MatchDayWindowTest, TheKeysGoTopToBottomStayOnTheButtonAndStartNothingTwice) {
    server.serve(QStringLiteral("/downloads/spieltage/13032021.sptag"), matchDayBytes());
    app::TFsptag* window = openWindow();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QWidget* button = child(window, QStringLiteral("BAbrufen"));
    EXPECT_EQ(QApplication::focusWidget(), button);
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"ComboDate2", "BClose", "cbSofort", "BAbrufen"}));
    auto* dates = child<QComboBox>(window, QStringLiteral("ComboDate2"));
    dates->setCurrentIndex(0);

    // Enter fetches once, also held down; the next Enter fetches again.
    QSignalSpy done(window, &app::TFsptag::finished);
    for (int press = 1; press <= 2; ++press) {
        SCOPED_TRACE(press);
        test::holdKey(Qt::Key_Return, 3);
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), press, 30000);
        EXPECT_EQ(QApplication::focusWidget(), button);
        EXPECT_EQ(window->statusPicture(), 1);
    }

    // Where the server sends a byte a second after the first 500: keys
    // meanwhile reach neither the date list nor "Schließen"; Escape cancels.
    qputenv("KORBISTO_SERVER", server.site(QStringLiteral("/slow")).toUtf8());
    test::holdKey(Qt::Key_Return);
    ASSERT_TRUE(window->downloading());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Down}) test::holdKey(key, 2);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->downloading());
    EXPECT_EQ(dates->currentText(), QStringLiteral("13.03.2021"));
    EXPECT_FALSE(dates->view()->isVisible());
    test::holdKey(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->downloading());
    EXPECT_EQ(done.size(), 3);
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(u'|').toStdString();
}
