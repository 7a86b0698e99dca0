#pragma once

#include "ui/window_frame.h"

class QLabel;

namespace korbisto::app {

// TFInfo: the version and the support contact. It exists at most once and
// goes when it is closed.
class TFInfo : public ui::WindowFrame {
    Q_OBJECT

public:
    explicit TFInfo(QWidget* parent = nullptr);

    void LMailClick();

private:
    QLabel* LVersion = nullptr;
    QLabel* LMail = nullptr;
};

// The single about window, made when there is none, in front.
TFInfo* showAboutWindow(QWidget* parent);

}  // namespace korbisto::app
