#pragma once

#include "ui/window_frame.h"

#include <QImage>
#include <QPointer>

class QLabel;
class QSlider;

namespace korbisto::app {

// A captured picture with its own window: save it as JPEG in a chosen
// quality, or copy it to the clipboard. Each capture opens a new one.
class TFAbbild : public ui::WindowFrame {
    Q_OBJECT

public:
    static constexpr int kBarsHeight = 80;

    TFAbbild(const QImage& picture, const QString& caption, QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    // The folder every screenshot window saves into, shared by all of them.
    static const QString& screenshotFolder();
    // How many screenshot windows were made in this run.
    static int counter();

private:
    void SpeichernClick();
    void KopierenClick();
    void PositionClick();

    QImage picture_;
    QLabel* Image1 = nullptr;
    QSlider* Slider1 = nullptr;
};

// The newest screenshot window.
extern QPointer<TFAbbild> FAbbild;

// The program's name stamped into a picture, its text top-left at (x, y).
void stampPicture(QImage& picture, int x, int y);

// A picture of a panel, cut by `cutBottom` pixels at the bottom and stamped
// `textRight` pixels left of the right edge and `textUp` pixels above the
// bottom, shown in a new screenshot window.
TFAbbild* CaptureControl(QWidget* control, const QString& caption, int cutBottom, int textRight, int textUp);

// A picture of the fixed region of `window` that holds the match-day plan.
TFAbbild* CaptureMainWindow(QWidget* window, const QString& caption, int width, int height);

// The file a picture is saved to: the chosen name with the suffix .jpg.
QString jpegPathFor(const QString& chosen);

}  // namespace korbisto::app
