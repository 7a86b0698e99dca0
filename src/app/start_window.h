#pragma once

#include "ui/window_frame.h"

namespace korbisto::ui {
class PictureLabel;
}

#include <QPointer>

class QPushButton;
class QSequentialAnimationGroup;

namespace korbisto::app {

// The start window: the program's picture, "Weiter" and the introduction
// video. Leaving it cross-fades to the main window.
class TFStart : public ui::WindowFrame {
    Q_OBJECT
    Q_PROPERTY(bool InitializationDone READ initializationDone WRITE setInitializationDone)

public:
    // Makes the program's folders as it is created.
    explicit TFStart(QWidget* parent = nullptr);
    ~TFStart() override;

    bool initializationDone() const { return FInitializationDone; }
    void setInitializationDone(bool done);

    // The window that fades in when this one closes.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    // Whether leaving cross-fades the windows; only where the platform can
    // make a window transparent, unless set.
    void setWindowFade(bool fade) { fades_ = fade; }

    // The fade, while it runs (for tests and the benchmark).
    QSequentialAnimationGroup* crossFade() const { return fade_; }

    static constexpr int kFadeStepMs = 5;
    static constexpr int kFadeSteps = 51;
    static constexpr int kFadePauseMs = 100;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BWeiterClick();
    void bsSkinSpeedButton1Click();
    void startCrossFade();
    void showMainWindow();

    bool FInitializationDone = false;
    bool faded_ = false;
    bool fades_;
    QPointer<QWidget> mainWindow_;
    ui::PictureLabel* Image1;
    QPushButton* BWeiter;
    QPushButton* bsSkinSpeedButton1;
    QSequentialAnimationGroup* fade_ = nullptr;
};

// The start window while it exists.
extern QPointer<TFStart> FStart;

}  // namespace korbisto::app
