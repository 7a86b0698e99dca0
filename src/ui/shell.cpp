#include "shell.h"

#include <QDesktopServices>

namespace korbisto::ui {

namespace {
class DesktopShell : public Shell {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

DesktopShell& desktopShell() {
    static DesktopShell s;
    return s;
}

Shell*& current() {
    static Shell* s = nullptr;
    return s;
}
}  // namespace

Shell& shell() { return current() ? *current() : desktopShell(); }

void setShell(Shell* s) { current() = s; }

RecordingShell::RecordingShell() { setShell(this); }

RecordingShell::~RecordingShell() {
    if (current() == this) setShell(nullptr);
}

bool RecordingShell::openUrl(const QUrl& url) {
    opened_.append(url);
    return true;
}

}  // namespace korbisto::ui
