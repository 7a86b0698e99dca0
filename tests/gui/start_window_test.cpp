#include "gui_support.h"

#include "app/entry_window.h"
#include "app/generator_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/start_window.h"
#include "app/web_links.h"
#include "core/paths.h"

#include <QApplication>
#include <QGuiApplication>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSequentialAnimationGroup>
#include <QTest>

using namespace korbisto;
using namespace korbisto::test;

namespace {

class StartTest : public WindowTest {
protected:
    ~StartTest() override {
        delete program.start.data();
        delete program.main.data();
    }
    app::StartedProgram program;
};

TEST_F(StartTest, StartMakesTheFoldersAndKeepsTheMainWindowHidden) {
    const AppPaths paths = appPaths();
    QDir(paths.DataFolder).removeRecursively();
    program = app::startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    for (const QString& folder :
         {paths.DataFolder, paths.ShotsFolder, paths.SlipFolder, paths.MatchDayFolder, paths.SettingsFolder})
        EXPECT_TRUE(QDir(folder).exists()) << folder.toStdString();

    ASSERT_TRUE(program.start && program.main);
    EXPECT_EQ(program.start->windowTitle(), QStringLiteral("Korbisto 1.3.0.0"));
    EXPECT_EQ(program.start->size(), QSize(400, 300));
    EXPECT_TRUE(program.start->isVisible());
    EXPECT_TRUE(program.start->initializationDone());
    EXPECT_FALSE(program.main->isVisible());
    EXPECT_EQ(app::FGewonnen, program.main);
    // The entry window is there from the start, hidden, and ends with the main window.
    ASSERT_TRUE(program.entry);
    EXPECT_FALSE(program.entry->isVisible());
    EXPECT_EQ(program.entry->parentWidget(), program.main);
    ASSERT_TRUE(program.generator);
    EXPECT_FALSE(program.generator->isVisible());
    EXPECT_EQ(program.generator->parentWidget(), program.main);

    auto* next = child<QPushButton>(program.start, QStringLiteral("BWeiter"));
    EXPECT_EQ(next->text(), QStringLiteral("Weiter"));
    EXPECT_EQ(next->geometry(), QRect(306, 232, 90, 38));
    EXPECT_TRUE(next->isEnabled());
    program.start->setProperty("InitializationDone", false);
    EXPECT_FALSE(next->isEnabled());
    program.start->setProperty("InitializationDone", true);

    // As on a platform whose windows can be made transparent.
    program.start->setWindowFade(true);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_FALSE(program.main->isVisible());  // the fade has only begun
    ASSERT_NE(program.start->crossFade(), nullptr);
    EXPECT_GE(program.start->crossFade()->totalDuration(), 2 * 51 + 100);
    QTRY_VERIFY_WITH_TIMEOUT(program.start.isNull(), 10000);
    EXPECT_TRUE(program.main->isVisible());
    EXPECT_DOUBLE_EQ(program.main->windowOpacity(), 1.0);
}

TEST_F(StartTest, EnterPressesWeiterAsSpaceDoes) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        auto* start = new app::TFStart;
        start->setWindowFade(true);
        start->setInitializationDone(true);
        start->show();
        start->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(start));
        ASSERT_EQ(QApplication::focusWidget(), child<QPushButton>(start, QStringLiteral("BWeiter")));
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_NE(start->crossFade(), nullptr) << key;
        delete start;
    }
}

TEST_F(StartTest, WithoutWindowOpacityTheMainWindowComesAtOnce) {
    program = app::startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    // Docks match the windows to the desktop entry by its id.
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("de.korbisto.Korbisto"));
    // No frame, so no window manager puts buttons on it.
    EXPECT_TRUE(program.start->windowFlags() & Qt::FramelessWindowHint);

    program.start->setWindowFade(false);
    QTest::mouseClick(child<QPushButton>(program.start, QStringLiteral("BWeiter")), Qt::LeftButton);
    EXPECT_TRUE(program.main->isVisible());
    EXPECT_EQ(program.start->crossFade(), nullptr);
    EXPECT_FALSE(program.start->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(program.start.isNull(), 5000);
}

TEST_F(StartTest, QtsOwnDialogsSpeakGermanWhateverTheSystemSays) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    program = app::startProgram(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    EXPECT_EQ(QLocale().language(), QLocale::German);
    EXPECT_EQ(QLocale().toString(QDate(2021, 3, 7), QLocale::LongFormat), QStringLiteral("Sonntag, 7. März 2021"));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(u'&'), QStringLiteral("Ja"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Abbrechen"));
    QLocale::setDefault(before);
}

TEST_F(StartTest, TheVideoNeedsAConnection) {
    app::TFStart start;
    online.setOnline(false);
    click(&start, QStringLiteral("bsSkinSpeedButton1"));
    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("Für den Aufruf des Videos muss eine Verbindung zum Internet bestehen.")});
    EXPECT_TRUE(shell.opened().isEmpty());
    online.setOnline(true);
    click(&start, QStringLiteral("bsSkinSpeedButton1"));
    EXPECT_EQ(shell.opened(), QList<QUrl>{app::introductionVideoUrl()});
    EXPECT_TRUE(app::introductionVideoUrl().toString().startsWith(app::makerHost()));
}

}  // namespace
