#pragma once

#include "support/test_env.h"
#include "support/tip_rows.h"

#include "app/main_window.h"
#include "online/connectivity.h"
#include "ui/file_dialogs.h"
#include "ui/message_boxes.h"
#include "ui/shell.h"

#include <QAbstractButton>
#include <QEvent>
#include <QString>
#include <QWidget>

#include <functional>

#include "qtest_checks.h"

#include <memory>
#include <vector>

namespace korbisto::ui {
inline void PrintTo(MessageIcon icon, std::ostream* os) {
    const char* names[] = {"information", "warning", "error", "confirmation"};
    *os << names[static_cast<int>(icon)];
}
inline void PrintTo(MessageButtons buttons, std::ostream* os) { *os << (buttons == MessageButtons::Ok ? "OK" : "Yes/No"); }
}  // namespace korbisto::ui

namespace korbisto::test {

// A fresh data folder with the program's folders, every seam recording, and
// "now" fixed to 20.03.2021 12:00.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    // The main window as the program creates it, shown.
    app::TFGewonnen& openMainWindow();
    void closeAll();

    template <typename T = QWidget>
    T* child(QWidget* parent, const QString& name) {
        T* found = parent->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void click(QWidget* parent, const QString& buttonName);

    QString slipFolder() const;
    QString matchDayFolder() const;
    void writeSettings(const QByteArray& text);

    TempDataFolder folder;
    ui::RecordingMessageBoxes boxes;
    ui::RecordingFileDialogs dialogs;
    ui::RecordingShell shell;
    ForcedConnectivity online{true};
    std::unique_ptr<app::TFGewonnen> main;
};

// Boxes that hold the program in an event loop of their own for a moment,
// as a modal box does until the user presses Enter; each is recorded.
class ModalMessageBoxes : public ui::RecordingMessageBoxes {
public:
    ui::MessageAnswer show(QWidget* parent, ui::MessageIcon icon, const QString& text,
                           ui::MessageButtons buttons) override;

    std::function<void()> whileShown;  // called as each box shows
};

// A key as the keyboard sends it to whatever has the keys, if anything; the
// events waiting are handled after it. `repeat`: marked as a repeat of a
// key held down; `at`: the moment, in milliseconds.
void sendKey(QEvent::Type type, Qt::Key key, bool repeat = false, quint64 at = 0);
// Pressed, repeated `repeats` times while held down, let go. As on X11, a
// repeat is a release and a press of one moment, marked as a repeat only
// every other time.
void holdKey(Qt::Key key, int repeats = 0);

// A match day of 07.03.2021 with the given results, pairings "Heim m" -
// "Gast m" and the quotas 10,50 / 5 / 2 / 1.
void writeMatchDay(const QString& path, const char* results);

}  // namespace korbisto::test
