#include "start_window.h"

#include "pictures.h"
#include "web_links.h"

#include "core/paths.h"
#include "ui/labels.h"
#include "files/binary_io.h"
#include "ui/shell.h"
#include "ui/style.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPauseAnimation>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QSequentialAnimationGroup>
#include <QVBoxLayout>

namespace korbisto::app {

QPointer<TFStart> FStart;

TFStart::TFStart(QWidget* parent)
    : ui::WindowFrame(QStringLiteral("FStart"), parent, Kind::Splash), fades_(ui::platformHasWindowOpacity()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setClientSize(QSize(400, 300));
    setUpFolders(appPaths());
    // What writes killed in an earlier run left behind on a file system without unnamed files.
    for (const QString& folder : dataFolders(appPaths())) removeLeftoverTemporaries(folder);

    Image1 = new ui::PictureLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 400, 300);
    Image1->setPicture(&startPicture);

    BWeiter = new QPushButton(QStringLiteral("Weiter"), this);
    BWeiter->setObjectName(QStringLiteral("BWeiter"));
    BWeiter->setGeometry(306, 232, 90, 38);
    BWeiter->setFont(ui::tahomaFont(9, true));
    // Enter presses it as Space does.
    BWeiter->setAutoDefault(true);
    BWeiter->setDefault(true);
    connect(BWeiter, &QPushButton::clicked, this, &TFStart::BWeiterClick);

    // Caption above the picture, as on the original button.
    bsSkinSpeedButton1 = new QPushButton(this);
    bsSkinSpeedButton1->setObjectName(QStringLiteral("bsSkinSpeedButton1"));
    bsSkinSpeedButton1->setGeometry(4, 202, 60, 68);
    bsSkinSpeedButton1->setCursor(Qt::PointingHandCursor);
    bsSkinSpeedButton1->setAccessibleName(QStringLiteral("Das macht das Tool"));
    bsSkinSpeedButton1->setAutoDefault(true);
    auto* inner = new QVBoxLayout(bsSkinSpeedButton1);
    inner->setContentsMargins(2, 4, 2, 4);
    inner->setSpacing(2);
    auto* caption = new QLabel(QStringLiteral("Das macht das Tool"), bsSkinSpeedButton1);
    caption->setWordWrap(true);
    caption->setAlignment(Qt::AlignCenter);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption->setFont(ui::tahomaFont(7, true));
    auto* play = new QLabel(QStringLiteral("▶"), bsSkinSpeedButton1);
    play->setObjectName(QStringLiteral("LPlay"));
    play->setAlignment(Qt::AlignCenter);
    play->setAttribute(Qt::WA_TransparentForMouseEvents);
    inner->addWidget(caption);
    inner->addWidget(play);
    connect(bsSkinSpeedButton1, &QPushButton::clicked, this, &TFStart::bsSkinSpeedButton1Click);

    setInitializationDone(false);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(200, 150));
    }
    FStart = this;
}

TFStart::~TFStart() = default;

void TFStart::setInitializationDone(bool done) {
    FInitializationDone = done;
    BWeiter->setEnabled(done);
    BWeiter->setCursor(done ? Qt::PointingHandCursor : Qt::WaitCursor);
    if (done) BWeiter->setFocus();
}

void TFStart::BWeiterClick() {
    BWeiter->hide();
    BWeiter->setEnabled(false);
    close();
}

void TFStart::bsSkinSpeedButton1Click() {
    ui::openWhenOnline(this, introductionVideoUrl(),
                       QStringLiteral("Für den Aufruf des Videos muss eine Verbindung zum Internet bestehen."));
}

void TFStart::closeEvent(QCloseEvent* event) {
    if (!fades_ && !faded_) {
        // Without transparent windows a fade would only be a wait: the main
        // window takes this one's place at once.
        faded_ = true;
        showMainWindow();
    }
    if (faded_) {
        event->accept();
        return;
    }
    // The window goes only after the fade; until then the close waits.
    event->ignore();
    startCrossFade();
}

void TFStart::startCrossFade() {
    if (fade_) return;
    constexpr int kFadeMs = kFadeStepMs * kFadeSteps;
    fade_ = new QSequentialAnimationGroup(this);
    auto* out = new QPropertyAnimation(this, "windowOpacity", fade_);
    out->setDuration(kFadeMs);
    out->setStartValue(1.0);
    out->setEndValue(0.0);
    fade_->addAnimation(out);
    fade_->addPause(kFadePauseMs);
    connect(fade_, &QSequentialAnimationGroup::currentAnimationChanged, this, [this](QAbstractAnimation* current) {
        if (!qobject_cast<QPauseAnimation*>(current)) return;
        hide();
    });
    if (mainWindow_) {
        auto* in = new QPropertyAnimation(mainWindow_.data(), "windowOpacity", fade_);
        in->setDuration(kFadeMs);
        in->setStartValue(0.0);
        in->setEndValue(1.0);
        fade_->addAnimation(in);
        connect(fade_, &QSequentialAnimationGroup::currentAnimationChanged, this, [this, in](QAbstractAnimation* current) {
            if (current != in || !mainWindow_) return;
            mainWindow_->setWindowOpacity(0.0);
            showMainWindow();
        });
    }
    connect(fade_, &QAbstractAnimation::finished, this, [this] {
        faded_ = true;
        if (mainWindow_) mainWindow_->setWindowOpacity(1.0);
        close();
    });
    fade_->start();
}

void TFStart::showMainWindow() {
    if (!mainWindow_) return;
    mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

}  // namespace korbisto::app
