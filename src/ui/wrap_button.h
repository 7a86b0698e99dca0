#pragma once

#include <QPushButton>

namespace korbisto::ui {

// A push button whose caption wraps onto more lines when the button is too
// narrow for it; the caption itself stays the one text. An icon sits left of
// the caption.
class WrapButton : public QPushButton {
    Q_OBJECT

public:
    WrapButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A panel button of the windows: the caption with its hand hyphenation
// undone, the hand cursor, a fixed place.
WrapButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption, const QRect& geometry);

}  // namespace korbisto::ui
