#include "shell.h"

#include "online/connectivity.h"
#include "message_boxes.h"

#include "core/seam.h"

#include <QDesktopServices>

namespace korbisto::ui {

namespace {
class DesktopShell : public Shell {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

}  // namespace

using ShellSeam = Seam<Shell, DesktopShell>;

Shell& shell() { return ShellSeam::get(); }

void setShell(Shell* s) { ShellSeam::set(s); }

RecordingShell::RecordingShell() { setShell(this); }

RecordingShell::~RecordingShell() {
    ShellSeam::release(this);
}

bool RecordingShell::openUrl(const QUrl& url) {
    opened_.append(url);
    return true;
}

void openWhenOnline(QWidget* parent, const QUrl& url, const QString& offlineText) {
    if (IsOnline())
        shell().openUrl(url);
    else
        showInformation(parent, offlineText);
}

}  // namespace korbisto::ui
