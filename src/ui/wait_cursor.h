#pragma once

#include <QGuiApplication>

namespace korbisto::ui {

// The hourglass for work that runs in one go on the window's thread; it goes
// again when the scope ends, also when the work fails.
class WaitCursor {
public:
    explicit WaitCursor(bool on = true) : on_(on) {
        if (on_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (on_) QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool on_;
};

}  // namespace korbisto::ui
