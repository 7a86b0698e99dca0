#include "gui_support.h"

#include "app/update_window.h"
#include "core/clock.h"
#include "core/german.h"
#include "core/paths.h"
#include "files/match_day_file.h"
#include "files/settings_file.h"
#include "files/slip_file.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

namespace korbisto::test {

namespace {

// In every window test unless a test puts a dummy program in its place: the
// update never reaches the test binary, whatever a test clicks.
class RefusingProgram : public app::ProgramUpdate {
public:
    // Where nothing can be removed; the update window asks at its start
    // whether the program may update itself.
    QString programFile() override { return QStringLiteral("/nonexistent/korbisto"); }
    qint64 processId() override {
        ADD_FAILURE() << "the update asked for the real process";
        return 0;
    }
    bool startInstaller(const QString&) override {
        ADD_FAILURE() << "the update started an installer";
        return false;
    }
    void endProgram() override { ADD_FAILURE() << "the update ended the program"; }
};

RefusingProgram refusingProgram;

}  // namespace

WindowTest::WindowTest() {
    app::setProgramUpdate(&refusingProgram);
    setUpFolders(appPaths());
    setNowSource([] { return QDateTime(QDate(2021, 3, 20), QTime(12, 0)); });
}

WindowTest::~WindowTest() {
    closeAll();
    app::setProgramUpdate(&refusingProgram);
}

app::TFGewonnen& WindowTest::openMainWindow() {
    main = std::make_unique<app::TFGewonnen>();
    main->show();
    return *main;
}

void WindowTest::closeAll() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != main.get() && w->objectName().startsWith(QStringLiteral("FAbbild"))) delete w;
    }
    main.reset();
    setNowSource({});
}

void WindowTest::click(QWidget* parent, const QString& buttonName) {
    auto* button = parent->findChild<QAbstractButton*>(buttonName);
    ASSERT_NE(button, nullptr) << buttonName.toStdString();
    ASSERT_TRUE(button->isEnabled()) << buttonName.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

QString WindowTest::slipFolder() const { return appPaths().SlipFolder; }

QString WindowTest::matchDayFolder() const { return appPaths().MatchDayFolder; }

void WindowTest::writeSettings(const QByteArray& text) { writeBytes(settings::filePath(), text); }

ui::MessageAnswer ModalMessageBoxes::show(QWidget* parent, ui::MessageIcon icon, const QString& text,
                                          ui::MessageButtons buttons) {
    const ui::MessageAnswer answer = RecordingMessageBoxes::show(parent, icon, text, buttons);
    if (whileShown) whileShown();
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    return answer;
}

void sendKey(QEvent::Type type, Qt::Key key, bool repeat, quint64 at) {
    const QString text = key == Qt::Key_Return ? QStringLiteral("\r") : key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QKeyEvent event(type, key, Qt::NoModifier, text, repeat);
    event.setTimestamp(at);
    // The window the press closed gets no release.
    if (target) QApplication::sendEvent(target, &event);
    QCoreApplication::processEvents();
}

void holdKey(Qt::Key key, int repeats) {
    // A keyboard's repeats come every 40 ms or so.
    static quint64 now = 1000;
    now += 1000;
    sendKey(QEvent::KeyPress, key, false, now);
    for (int i = 0; i < repeats; ++i) {
        now += 40;
        sendKey(QEvent::KeyRelease, key, i % 2 == 0, now);
        sendKey(QEvent::KeyPress, key, i % 2 == 0, now);
    }
    sendKey(QEvent::KeyRelease, key, false, now + 40);
}

void writeMatchDay(const QString& path, const char* results) {
    TSpieltag day;
    day.Datum = dayNumberOf(QDate(2021, 3, 7));
    for (int m = 0; m < kMatches; ++m) {
        day.Heim[static_cast<size_t>(m)] = QStringLiteral("Heim %1").arg(m + 1);
        day.Gast[static_cast<size_t>(m)] = QStringLiteral("Gast %1").arg(m + 1);
        day.Ergebnis[static_cast<size_t>(m)] = static_cast<std::uint8_t>(results[m] - '0');
    }
    day.Quote = {10.5, 5.0, 2.0, 1.0};
    writeMatchDayFile(path, day);
}

}  // namespace korbisto::test
