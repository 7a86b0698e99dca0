#pragma once

#include <QList>
#include <QUrl>

class QWidget;

namespace korbisto::ui {

// Opens web pages, mail links and files with the desktop's handler.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QUrl& url) = 0;
};

Shell& shell();
// Not owned; nullptr restores the desktop's handler.
void setShell(Shell* shell);

// Opens a web page when the computer is online; otherwise the information
// box `offlineText` says why nothing happens.
void openWhenOnline(QWidget* parent, const QUrl& url, const QString& offlineText);

// Records the addresses instead of opening them.
class RecordingShell : public Shell {
public:
    RecordingShell();            // installs itself
    ~RecordingShell() override;  // restores the desktop's handler
    bool openUrl(const QUrl& url) override;
    const QList<QUrl>& opened() const { return opened_; }

private:
    QList<QUrl> opened_;
};

}  // namespace korbisto::ui
