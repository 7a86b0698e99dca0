#pragma once

#include "online/download.h"
#include "online/program_update.h"
#include "ui/window_frame.h"

#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace korbisto::app {

class TFGewonnen;

// What the update does to the running program; tests put a dummy program
// in its place, so that no test can reach a real binary.
class ProgramUpdate {
public:
    virtual ~ProgramUpdate() = default;
    // The running executable, which the update removes, and its process.
    virtual QString programFile() = 0;
    virtual qint64 processId() = 0;
    virtual bool startInstaller(const QString& path) = 0;
    // Ends the program at once, without the steps of a normal close.
    virtual void endProgram() = 0;
};

ProgramUpdate& programUpdate();
// Not owned; nullptr restores the real program.
void setProgramUpdate(ProgramUpdate* update);

// TFNeu: compares the installed version with the server's, downloads the
// installer and starts it. Closing frees the window and cancels a download.
class TFNeu : public ui::WindowFrame {
    Q_OBJECT

public:
    explicit TFNeu(TFGewonnen* main);

    void BCalcClick();
    void BDownClick();
    void BSetupClick();
    bool busy() const { return busy_; }

signals:
    // A press of "Prüfen" or "Download" has ended.
    void finished();

private:
    void checked(const UpdateCheck& check);
    void installerDone(const DownloadResult& result);
    void showProgress(qint64 received, qint64 total);
    void setBusy(bool busy);
    void install(const QString& programFile);
    void showFailure(const DownloadResult& result, const QString& message);

    TFGewonnen* main_;
    QLineEdit* PiVersion = nullptr;
    QLineEdit* PvVersion = nullptr;
    QPushButton* BCalc = nullptr;
    QPushButton* BDown = nullptr;
    QPushButton* BSetup = nullptr;
    QProgressBar* PBDownload = nullptr;
    QLabel* LEmpfangen = nullptr;
    QPointer<Download> download_;
    bool busy_ = false;
    bool selfUpdate_ = true;  // false: the package management updates this program
    bool downloadOffered_ = false;
    bool installerReady_ = false;
};

TFNeu* showUpdateWindow(TFGewonnen* main);

}  // namespace korbisto::app
