#include "gui_support.h"

#include "online/online_support.h"

#include "app/update_window.h"
#include "app/web_links.h"
#include "core/paths.h"
#include "files/removal_script.h"
#include "files/version_info_file.h"
#include "online/program_update.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace korbisto;

namespace {

// A dummy program in the test's folder in place of the running one; the
// installer is started for real only when asked to.
class DummyProgram : public app::ProgramUpdate {
public:
    explicit DummyProgram(QString file) : file(std::move(file)) { app::setProgramUpdate(this); }
    ~DummyProgram() override {
        app::setProgramUpdate(nullptr);
        process.kill();
        process.waitForFinished();
    }
    QString programFile() override { return file; }
    // A process of a moment stands in for the running program.
    qint64 processId() override {
        process.start(QStringLiteral("sleep"), {QStringLiteral("0.2")});
        process.waitForStarted();
        return process.processId();
    }
    bool startInstaller(const QString& path) override {
        started << path;
        return realStart ? korbisto::startInstaller(path) : true;
    }
    void endProgram() override { ++ended; }

    QString file;
    QProcess process;
    bool realStart = false;
    QStringList started;
    int ended = 0;
};

QByteArray record(const char* version) { return encodeVersionRecord(QString::fromLatin1(version)); }

class UpdateWindowTest : public test::WindowTest {
protected:
    UpdateWindowTest() {
        QDir().mkpath(folder.path(QStringLiteral("Programm \"neu\" it's")));
        test::writeBytes(program.programFile(), "dummy");
    }
    app::TFNeu* openWindow() {
        openMainWindow();
        click(main.get(), QStringLiteral("bsSkinSpeedButton12"));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<app::TFNeu*>(w); window && window->isVisible()) return window;
        ADD_FAILURE() << "no update window";
        return nullptr;
    }
    // Presses a button and waits until what it began has ended.
    void press(app::TFNeu* window, const QString& button) {
        QSignalSpy done(window, &app::TFNeu::finished);
        click(window, button);
        if (done.isEmpty() && window->busy()) {
            EXPECT_TRUE(done.wait(30000)) << "no end of " << button.toStdString();
        }
    }
    QString offered(app::TFNeu* window) { return child<QLineEdit>(window, QStringLiteral("PvVersion"))->text(); }
    bool enabled(app::TFNeu* window, const char* name) {
        return child<QPushButton>(window, QString::fromLatin1(name))->isEnabled();
    }
    // A window whose check and download have gone through, ready to install.
    app::TFNeu* readyToInstall(const QByteArray& installer = "#!/bin/sh\nexit 0\n") {
        server.serve(QStringLiteral("/downloads/verinfos.krvi"), record("1.3.0.1"));
        server.serve(QStringLiteral("/downloads/krviupdate.exe"), installer);
        app::TFNeu* window = openWindow();
        if (!window) return nullptr;
        press(window, QStringLiteral("BCalc"));
        press(window, QStringLiteral("BDown"));
        EXPECT_TRUE(enabled(window, "BSetup"));
        return window;
    }

    test::OnlineSite server{folder};
    DummyProgram program{folder.path(QStringLiteral("Programm \"neu\" it's/korbisto"))};
};

}  // namespace

TEST_F(UpdateWindowTest, TheCheckReadsTheLastRecordAndOffersEveryOtherVersion) {
    server.serve(QStringLiteral("/downloads/wach13.txt"), "17,50\r\n");
    app::TFNeu* window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(325, 306));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(child<QLineEdit>(window, QStringLiteral("PiVersion"))->text(), QStringLiteral("1.3.0.0"));
    EXPECT_EQ(offered(window), QString());
    EXPECT_FALSE(enabled(window, "BDown"));
    EXPECT_FALSE(enabled(window, "BSetup"));

    const struct {
        QByteArray file;
        QString shown;
        bool download;
    } cases[] = {
        {record("1.3.0.0"), QStringLiteral("1.3.0.0"), false},
        {record("1.3.0.1"), QStringLiteral("1.3.0.1"), true},
        {record("1.2.9.9"), QStringLiteral("1.2.9.9"), true},
        {record("1.3.0.1") + record("1.3.0.0"), QStringLiteral("1.3.0.0"), false},
        {record("1.3.0.0") + record("2.0") + "halb", QStringLiteral("2.0"), true},
    };
    for (const auto& c : cases) {
        server.serve(QStringLiteral("/downloads/verinfos.krvi"), c.file);
        main->setDonationStatus(QString());
        press(window, QStringLiteral("BCalc"));
        EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(u'|').toStdString();
        EXPECT_EQ(offered(window), c.shown);
        EXPECT_EQ(enabled(window, "BDown"), c.download) << c.shown.toStdString();
        EXPECT_EQ(child<QLabel>(main.get(), QStringLiteral("leur"))->text(), QStringLiteral("17,50"));
    }
}

TEST_F(UpdateWindowTest, FailedChecksAndDownloadsSayWhyAndChangeNothing) {
    app::TFNeu* window = openWindow();
    ASSERT_NE(window, nullptr);
    // Not on the server, then too short answers: the field keeps its text.
    const QByteArray answers[] = {QByteArray(), record("1.3.0.1"), QByteArray(""), QByteArray("abc")};
    for (const QByteArray& answer : answers) {
        if (!answer.isNull()) server.serve(QStringLiteral("/downloads/verinfos.krvi"), answer);
        press(window, QStringLiteral("BCalc"));
        if (answer.size() == kVersionRecordSize)
            EXPECT_TRUE(boxes.boxes().isEmpty());
        else
            EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Die Prüfung hat leider nicht geklappt.\n")});
        EXPECT_EQ(offered(window), answer.isNull() ? QString() : QStringLiteral("1.3.0.1"));
        boxes.clear();
    }
    // The last good copy stays.
    EXPECT_EQ(test::readBytes(versionFilePath()), record("1.3.0.1"));

    press(window, QStringLiteral("BDown"));  // no installer on the server
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Der Download ist gescheitert. Versuchen Sie es bitte später "
                                                        "noch einmal oder laden Sie das Update von \"%1\" herunter.")
                                             .arg(app::makerSiteUrl().toString())});
    EXPECT_FALSE(enabled(window, "BSetup"));
    EXPECT_FALSE(QFileInfo::exists(appPaths().DataFolder + QStringLiteral("Update.exe")));

    boxes.clear();
    online.setOnline(false);
    press(window, QStringLiteral("BCalc"));
    press(window, QStringLiteral("BDown"));
    EXPECT_EQ(boxes.texts(),
              (QStringList{QStringLiteral("Für die Prüfung muss eine Verbindung zum Internet bestehen."),
                           QStringLiteral("Für den Download der Installations-Datei muss eine Verbindung zum Internet "
                                          "bestehen.\n\nIch breche ab.")}));
    EXPECT_EQ(offered(window), QStringLiteral("1.3.0.1"));
}

TEST_F(UpdateWindowTest, TheInstallerComesWithItsProgressAndClosingCancelsIt) {
    QByteArray installer(300 * 1024, 'u');
    app::TFNeu* window = readyToInstall(installer);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(test::readBytes(appPaths().DataFolder + QStringLiteral("Update.exe")), installer);
    auto* bar = child<QProgressBar>(window, QStringLiteral("PBDownload"));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(child<QLabel>(window, QStringLiteral("LEmpfangen"))->text().startsWith(QStringLiteral("300 kB")))
        << child<QLabel>(window, QStringLiteral("LEmpfangen"))->text().toStdString();

    // Where the server sends a byte a second after the first 500.
    qputenv("KORBISTO_SERVER", server.site(QStringLiteral("/slow")).toUtf8());
    QPointer<app::TFNeu> closing = window;
    click(window, QStringLiteral("BDown"));
    ASSERT_TRUE(window->busy());
    EXPECT_FALSE(enabled(window, "BCalc"));
    EXPECT_FALSE(enabled(window, "BSetup"));
    QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(window, QStringLiteral("LEmpfangen"))->text().contains(QStringLiteral("von")),
                             10000);
    click(window, QStringLiteral("BClose"));
    QTRY_VERIFY_WITH_TIMEOUT(closing.isNull(), 5000);
    // The installer that had come whole stays; nothing of the cancelled one.
    EXPECT_EQ(test::readBytes(installerFilePath()), installer);
    EXPECT_EQ(QDir(appPaths().DataFolder).entryList({QStringLiteral("Update.exe*")}), QStringList{"Update.exe"});
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(u'|').toStdString();
}

TEST_F(UpdateWindowTest, InstallingAsksFirstAndAStartThatFailsKeepsTheProgram) {
    program.realStart = true;
    app::TFNeu* window = readyToInstall(QByteArray("MZ\x90\0\3\0\0\0", 8));
    ASSERT_NE(window, nullptr);
    const QString dataFolder = appPaths().DataFolder;
    const QString programFolder = QFileInfo(program.programFile()).absolutePath() + u'/';

    boxes.queueAnswer(ui::MessageAnswer::No);
    click(window, QStringLiteral("BSetup"));
    ASSERT_EQ(boxes.boxes().size(), 2);
    EXPECT_EQ(boxes.boxes()[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_TRUE(boxes.texts()[0].endsWith(QStringLiteral("\"Update.exe\" im Verzeichnis %1 starten.\n\nSoll "
                                                         "fortgefahren werden?")
                                              .arg(dataFolder)));
    EXPECT_TRUE(boxes.texts()[1].startsWith(QStringLiteral("Installation wurde auf Ihren Wunsch abgebrochen.")));
    EXPECT_TRUE(boxes.texts()[1].contains(QStringLiteral("\"Update.exe\" im Verzeichnis %1 starten.").arg(dataFolder)));
    EXPECT_TRUE(boxes.texts()[1].endsWith(
        QStringLiteral("Programm-Datei im Verzeichnis %1 gelöscht werden.").arg(programFolder)));
    EXPECT_TRUE(program.started.isEmpty());

    boxes.clear();
    click(window, QStringLiteral("BSetup"));  // Yes, but nothing can run it
    ASSERT_EQ(boxes.texts().size(), 2);
    EXPECT_EQ(boxes.texts()[1], QStringLiteral("Update konnte nicht gestartet werden. Bitte schließen Sie das Programm "
                                               "und starten Sie das Update manuell durch Doppelklick auf die Datei "
                                               "\"Update.exe\" im Verzeichnis %1.")
                                    .arg(dataFolder));
    EXPECT_EQ(program.started, QStringList{dataFolder + QStringLiteral("Update.exe")});
    EXPECT_EQ(program.ended, 0);
    EXPECT_TRUE(QFileInfo::exists(program.programFile()));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(UpdateWindowTest, AStartedUpdateRemovesTheOldProgramAndEnds) {
    app::TFNeu* window = readyToInstall();
    ASSERT_NE(window, nullptr);
    const QString programFolder = QFileInfo(program.programFile()).absolutePath();
    click(window, QStringLiteral("BSetup"));
    EXPECT_EQ(boxes.boxes().size(), 1);  // only the question
    EXPECT_EQ(program.ended, 1);
    // The script waits for the dummy process in the data folder, then
    // removes the dummy program and itself; the folder stays.
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(program.programFile()), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(QDir(appPaths().DataFolder).entryList({QStringLiteral("uis*.sh")}).isEmpty(), 10000);
    EXPECT_TRUE(QFileInfo(programFolder).isDir());
    EXPECT_TRUE(QDir(qEnvironmentVariable("TMPDIR")).isEmpty());
}

TEST_F(UpdateWindowTest, AProgramThePackageManagerOwnsIsCheckedButNotDownloaded) {
    server.serve(QStringLiteral("/downloads/verinfos.krvi"), record("1.3.0.1"));
    server.serve(QStringLiteral("/downloads/krviupdate.exe"), "#!/bin/sh\nexit 0\n");
    // A link in the test's folder to a program of the system: were it ever
    // removed, only the link would go.
    program.file = folder.path(QStringLiteral("Programm \"neu\" it's/systemprogramm"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/bin/env"), program.file));
    app::TFNeu* window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(child<QLabel>(window, QStringLiteral("LPaketverwaltung"))->text().contains(QStringLiteral("Paketverwaltung")));
    press(window, QStringLiteral("BCalc"));
    EXPECT_EQ(offered(window), QStringLiteral("1.3.0.1"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
    for (const char* name : {"BDown", "BSetup"}) {
        EXPECT_FALSE(child<QPushButton>(window, QString::fromLatin1(name))->isVisible()) << name;
        EXPECT_FALSE(enabled(window, name)) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(installerFilePath()));
    EXPECT_TRUE(QFileInfo(program.file).isSymLink());
}

TEST_F(UpdateWindowTest, TenFailedChecksAndDownloadsInARowWithTheBoxConfirmedEachTime) {
    test::ModalMessageBoxes modal;
    server.serve(QStringLiteral("/downloads/verinfos.krvi"), record("1.3.0.1"));
    app::TFNeu* window = openWindow();
    ASSERT_NE(window, nullptr);
    press(window, QStringLiteral("BCalc"));
    ASSERT_TRUE(enabled(window, "BDown"));
    for (int press = 1; press <= 10; ++press) {
        SCOPED_TRACE(press);
        this->press(window, QStringLiteral("BDown"));  // no installer on the server
        QTest::qWait(20);
    }
    // And the check failing ten times.
    qputenv("KORBISTO_SERVER", server.site(QStringLiteral("/elsewhere")).toUtf8());
    for (int press = 1; press <= 10; ++press) {
        SCOPED_TRACE(press);
        this->press(window, QStringLiteral("BCalc"));
        QTest::qWait(20);
    }
    EXPECT_EQ(modal.texts().size(), 20);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(enabled(window, "BCalc"));
}

TEST_F(UpdateWindowTest, EnterChecksAndTheNextEnterChecksAgainNotCloses) {
    // The same version: nothing to download, "Schließen" the only other button on.
    server.serve(QStringLiteral("/downloads/verinfos.krvi"), record("1.3.0.0"));
    app::TFNeu* window = openWindow();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(QApplication::focusWidget(), child(window, QStringLiteral("BCalc")));
    QSignalSpy done(window, &app::TFNeu::finished);
    for (int press = 1; press <= 2; ++press) {
        SCOPED_TRACE(press);
        // Held down a moment: one check.
        test::holdKey(Qt::Key_Return, 3);
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), press, 30000);
        EXPECT_FALSE(window->busy());
        ASSERT_EQ(QApplication::focusWidget(), child(window, QStringLiteral("BCalc")));
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(offered(window), QStringLiteral("1.3.0.0"));
}

TEST_F(UpdateWindowTest, AnEnterHeldOnInstallationIsNoAnswerToItsQuestion) {
    app::TFNeu* window = readyToInstall();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    child(window, QStringLiteral("BSetup"))->setFocus();
    // Qt's own box this time, which keys answer.
    ui::setMessageBoxes(nullptr);
    bool stillAsking = false;
    QTimer::singleShot(0, window, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        // The Enter of the press goes on repeating, marked as such or not.
        for (quint64 at = 900040; at <= 900160; at += 40) {
            test::sendKey(QEvent::KeyRelease, Qt::Key_Return, at == 900080, at);
            test::sendKey(QEvent::KeyPress, Qt::Key_Return, at == 900080, at);
        }
        stillAsking = box->isVisible();
        // Escape says No; the box that follows is recorded.
        ui::setMessageBoxes(&boxes);
        test::holdKey(Qt::Key_Escape);
    });
    test::sendKey(QEvent::KeyPress, Qt::Key_Return, false, 900000);
    EXPECT_TRUE(stillAsking);
    EXPECT_EQ(program.ended, 0);
    EXPECT_TRUE(program.started.isEmpty());
    EXPECT_TRUE(boxes.texts().value(0).startsWith(QStringLiteral("Installation wurde auf Ihren Wunsch abgebrochen.")))
        << boxes.texts().join(u'|').toStdString();
}
