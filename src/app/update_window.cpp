#include "update_window.h"

#include "main_window.h"
#include "web_links.h"

#include "core/error.h"
#include "core/german.h"
#include "core/paths.h"
#include "core/seam.h"
#include "files/removal_script.h"
#include "online/connectivity.h"
#include "online/donation_status.h"
#include "online/program_update.h"
#include "ui/forms.h"
#include "ui/keyboard.h"
#include "ui/labels.h"
#include "ui/message_boxes.h"
#include "ui/style.h"
#include "ui/wrap_button.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <cstdlib>

namespace korbisto::app {

namespace {

class RunningProgram : public ProgramUpdate {
public:
    QString programFile() override { return QCoreApplication::applicationFilePath(); }
    qint64 processId() override { return QCoreApplication::applicationPid(); }
    bool startInstaller(const QString& path) override { return korbisto::startInstaller(path); }
    // The user has agreed to end; the installer runs and nothing is left to
    // save, so the closing steps are skipped as a crash would skip them.
    void endProgram() override { std::_Exit(EXIT_SUCCESS); }
};

using UpdateSeam = Seam<ProgramUpdate, RunningProgram>;

QString quotedInstaller() { return QStringLiteral("\"Update.exe\""); }

QString folderOf(const QString& programFile) {
    return QDir::toNativeSeparators(QFileInfo(programFile).absolutePath() + u'/');
}

QLineEdit* makeField(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignCenter);
    field->setFont(ui::tahomaFont(8, true));
    field->setGeometry(geometry);
    return field;
}

}  // namespace

ProgramUpdate& programUpdate() { return UpdateSeam::get(); }

void setProgramUpdate(ProgramUpdate* update) { UpdateSeam::set(update); }

TFNeu::TFNeu(TFGewonnen* main) : ui::WindowFrame(QStringLiteral("FNeu"), main, Kind::Dialog), main_(main) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowTitle(QString::fromLatin1(ProgramName));
    setClientSize(QSize(325, 306));
    setClosesOnEscape(true);
    const QFont font = ui::tahomaFont(8);

    auto* group = new QGroupBox(QStringLiteral("Programmversion auf Aktualität prüfen"), this);
    group->setObjectName(QStringLiteral("GBVersion"));
    group->setFont(ui::tahomaFont(8, true));
    group->setGeometry(8, 8, 309, 94);
    // Each label names its field, for a screen reader too.
    QLabel* installed = ui::makeLabel(group, QStringLiteral("Installierte Version"), QRect(12, 26, 118, 22), font);
    PiVersion = makeField(group, QStringLiteral("PiVersion"), QRect(132, 26, 86, 22));
    PiVersion->setText(QString::fromLatin1(ProgramVersion));
    installed->setBuddy(PiVersion);
    QLabel* available = ui::makeLabel(group, QStringLiteral("Verfügbare Version"), QRect(12, 58, 118, 22), font);
    PvVersion = makeField(group, QStringLiteral("PvVersion"), QRect(132, 58, 86, 22));
    available->setBuddy(PvVersion);
    BCalc = ui::makeButton(group, QStringLiteral("BCalc"), QStringLiteral("Prüfen"), QRect(226, 38, 74, 30));
    BCalc->setFont(font);
    connect(BCalc, &QPushButton::clicked, this, &TFNeu::BCalcClick);

    selfUpdate_ = programMayUpdateItself(programUpdate().programFile());
    QLabel* offer = ui::makeParagraph(
        this, QStringLiteral("Wenn online eine aktuellere Version verfügbar ist, wird der Download-Button aktiv."),
        QRect(10, 112, 206, 44), font);
    BDown = ui::makeButton(this, QStringLiteral("BDown"), QStringLiteral("Download"), QRect(226, 119, 91, 30));
    BDown->setEnabled(false);
    connect(BDown, &QPushButton::clicked, this, &TFNeu::BDownClick);

    QLabel* after = ui::makeParagraph(this, QStringLiteral("Nach dem Download wird der Installations-Button aktiv."),
                                      QRect(10, 164, 206, 32), font);
    BSetup = ui::makeButton(this, QStringLiteral("BSetup"), QStringLiteral("Installation"), QRect(226, 165, 91, 30));
    BSetup->setEnabled(false);
    connect(BSetup, &QPushButton::clicked, this, &TFNeu::BSetupClick);
    if (!selfUpdate_) {
        // Whatever the package manager put there is its to replace.
        offer->setObjectName(QStringLiteral("LPaketverwaltung"));
        offer->setGeometry(10, 112, 307, 84);
        offer->setText(QStringLiteral("Dieses Programm wurde über die Paketverwaltung des Systems installiert, und "
                                      "die Paketverwaltung bringt es auch auf den neuesten Stand. „Prüfen“ zeigt, "
                                      "welche Version der Hersteller anbietet."));
        for (QWidget* w : {static_cast<QWidget*>(BDown), static_cast<QWidget*>(after), static_cast<QWidget*>(BSetup)})
            w->hide();
    }

    PBDownload = new QProgressBar(this);
    PBDownload->setObjectName(QStringLiteral("PBDownload"));
    PBDownload->setGeometry(10, 212, 307, 14);
    PBDownload->setTextVisible(false);
    PBDownload->setAccessibleName(QStringLiteral("Fortschritt des Downloads"));
    PBDownload->hide();
    LEmpfangen = ui::makeLabel(this, QString(), QRect(10, 230, 307, 16), font, Qt::AlignLeft | Qt::AlignVCenter,
                               QStringLiteral("LEmpfangen"));

    QPushButton* close =
        ui::makeButton(this, QStringLiteral("BClose"), QStringLiteral("Sch&ließen"), QRect(226, 266, 91, 30));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton* button : {BCalc, BDown, BSetup, close}) ui::pressOnEnter(button);

    if (main) move(main->geometry().center() - rect().center());
}

void TFNeu::setBusy(bool busy) {
    busy_ = busy;
    ui::setEnabledKeepingFocus(BCalc, !busy);
    ui::setEnabledKeepingFocus(BDown, !busy && downloadOffered_);
    ui::setEnabledKeepingFocus(BSetup, !busy && installerReady_);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void TFNeu::BCalcClick() {
    if (busy_) return;
    if (!IsOnline()) {
        ui::showInformation(this, QStringLiteral("Für die Prüfung muss eine Verbindung zum Internet bestehen."));
        return;
    }
    setBusy(true);
    download_ = CheckForUpdate(this, [this](const UpdateCheck& check) {
        // Whatever came of it, the donation status is asked anew first.
        download_ = GetDonationStatus(this, [this, check](const DonationStatus& status) {
            download_ = nullptr;
            if (main_) main_->setDonationStatus(status.line);
            checked(check);
        });
    });
}

void TFNeu::checked(const UpdateCheck& check) {
    if (check.fetched) {
        // A file without a whole record offers nothing.
        PvVersion->setText(check.offered.value_or(QString()));
        downloadOffered_ = selfUpdate_ && check.downloadOffered();
    }
    setBusy(false);
    if (!check.fetched) showFailure(check.download, updateCheckFailedMessage(check.download));
    emit finished();
}

void TFNeu::BDownClick() {
    if (busy_) return;
    if (!IsOnline()) {
        ui::showInformation(this, QStringLiteral("Für den Download der Installations-Datei muss eine Verbindung zum "
                                                 "Internet bestehen.\n\nIch breche ab."));
        return;
    }
    setBusy(true);
    PBDownload->setRange(0, 0);
    PBDownload->show();
    LEmpfangen->setText(QStringLiteral("Verbindung zum Server …"));
    download_ = DownloadInstaller(this, [this](const DownloadResult& result) { installerDone(result); });
    connect(download_, &Download::progress, this, &TFNeu::showProgress);
}

void TFNeu::showProgress(qint64 received, qint64 total) {
    if (total > 0) {
        // The bar counts kilobytes, so that sizes beyond an int fit.
        PBDownload->setRange(0, static_cast<int>(total / 1024));
        PBDownload->setValue(static_cast<int>(std::min(received, total) / 1024));
        LEmpfangen->setText(QStringLiteral("%1 von %2 empfangen")
                                .arg(formatDataSize(received), formatDataSize(total)));
    } else {
        LEmpfangen->setText(QStringLiteral("%1 empfangen").arg(formatDataSize(received)));
    }
}

void TFNeu::installerDone(const DownloadResult& result) {
    download_ = nullptr;
    if (result.ok()) {
        installerReady_ = true;
        PBDownload->setRange(0, 1);
        PBDownload->setValue(1);
        LEmpfangen->setText(QStringLiteral("%1 empfangen, Download abgeschlossen")
                                .arg(formatDataSize(result.bytes)));
    } else {
        PBDownload->hide();
        LEmpfangen->clear();
    }
    setBusy(false);
    if (!result.ok()) showFailure(result, installerFailedMessage(result, makerSiteUrl().toString()));
    emit finished();
}

void TFNeu::showFailure(const DownloadResult& result, const QString& message) {
    if (result.failure == DownloadFailure::Certificate)
        ui::showWarning(this, message);
    else
        ui::showInformation(this, message);
}

void TFNeu::BSetupClick() {
    const QString programFile = programUpdate().programFile();
    if (!programMayUpdateItself(programFile)) {
        // Whatever the package manager put there is its to replace.
        ui::showInformation(this, QStringLiteral("Dieses Programm wurde über die Paketverwaltung des Systems installiert "
                                                 "(%1). Bitte aktualisieren Sie es über die Paketverwaltung.")
                                      .arg(QDir::toNativeSeparators(programFile)));
        return;
    }
    install(programFile);
}

void TFNeu::install(const QString& programFile) {
    const QString dataFolder = appPaths().DataFolder;
    const QString where = QStringLiteral(" %1 im Verzeichnis %2").arg(quotedInstaller(), dataFolder);
    const bool yes = ui::confirm(
        this, QStringLiteral("Um die Installation durchführen zu können, muss das Programm jetzt geschlossen werden. Die "
                             "Programm-Datei wird gelöscht und das Update gestartet. Wenn etwas schief läuft, bitte das "
                             "Update manuell durch Doppelklick auf die Datei") +
                  where + QStringLiteral(" starten.\n\nSoll fortgefahren werden?"));
    if (!yes) {
        ui::showInformation(
            this, QStringLiteral("Installation wurde auf Ihren Wunsch abgebrochen. Sie  könnnen das Update manuell durch "
                                 "Doppelklick auf die Datei") +
                      where +
                      QStringLiteral(" starten.\n\nZuvor muss das Programm geschlossen und die Programm-Datei im "
                                     "Verzeichnis %1 gelöscht werden.")
                          .arg(folderOf(programFile)));
        return;
    }
    if (!programUpdate().startInstaller(installerFilePath())) {
        ui::showInformation(this, QStringLiteral("Update konnte nicht gestartet werden. Bitte schließen Sie das Programm "
                                                 "und starten Sie das Update manuell durch Doppelklick auf die Datei") +
                                      where + u'.');
        return;
    }
    // The script waits in the data folder: that is the user's alone.
    const QString scriptFolder = appPaths().DataFolder;
    try {
        const ProgramRemoval removal{programFile, programUpdate().processId()};
        startRemovalScript(writeRemovalScript(removal, scriptFolder), scriptFolder);
    } catch (const KorbistoError& e) {
        // The installer runs already; the old file merely stays.
        ui::showWarning(this, QStringLiteral("Die alte Programm-Datei %1 konnte nicht zum Löschen vorgemerkt werden: "
                                             "%2\n\nBitte löschen Sie sie nach dem Update von Hand.")
                                  .arg(QDir::toNativeSeparators(programFile), e.message()));
    }
    programUpdate().endProgram();
}

TFNeu* showUpdateWindow(TFGewonnen* main) {
    return static_cast<TFNeu*>(ui::showSingleWindow(QStringLiteral("FNeu"), [main] { return new TFNeu(main); }));
}

}  // namespace korbisto::app
