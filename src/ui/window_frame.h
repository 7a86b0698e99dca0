#pragma once

#include "icons.h"

#include <QPoint>
#include <QSize>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QToolButton;

namespace korbisto::ui {

// The 40-pixel bar across the top of a window: icon buttons, a title, the
// window's own controls, filled from the left.
class TopBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 40;
    static constexpr int kIconButton = 30;

    explicit TopBar(QWidget* window);

    QHBoxLayout* row() const { return row_; }
    // The icon button "BClose", which closes the window.
    QToolButton* addCloseButton();
    QLabel* addTitle(const QString& text);
    void addStretch();
    // An icon button; the window connects what it does.
    QToolButton* addIconButton(const QString& objectName, IconKind icon, const QString& hint);
    // The button that stores the window's position.
    QToolButton* addPositionButton(const QString& objectName);
    // The window's emblem: the picture of the button that opens it. It does
    // nothing, so it is a picture and not a button that would invite a click.
    QLabel* addEmblem(const QString& objectName, IconKind icon);
    void addWidget(QWidget* widget);
    // The bar of a window opened from the main window: the close button and
    // the title at the left, the position button at the right.
    QToolButton* addTitleRow(const QString& title, const QString& positionButton);

private:
    QHBoxLayout* row_;
};

// Whether the platform can make a window partly transparent: X11 and the
// desktops of other systems can, Wayland cannot.
bool platformHasWindowOpacity();

// What every window of the program shares: its flags and caption, a fixed
// client size over the background surface, the stored position (with a
// fallback when no screen shows it) and the bar across its top.
class WindowFrame : public QWidget {
    Q_OBJECT

public:
    enum class Kind {
        Tool,    // caption, system menu, minimise and close
        Dialog,  // caption, system menu and close
        Splash   // no frame, so no window manager adds buttons to it
    };
    static constexpr QPoint kDefaultPosition{0, 70};

    // The caption is the program's name and version.
    explicit WindowFrame(const QString& objectName, QWidget* parent = nullptr, Kind kind = Kind::Tool);

    void setClientSize(QSize size);
    // Lets the user resize the window from its client size down to `minimum`;
    // the surface and the top bar span it whatever its size.
    void setResizable(QSize minimum);
    // Moves to `stored`, unless no screen would show the window's top edge
    // there (a monitor removed, a damaged settings file).
    void placeAt(QPoint stored, QPoint fallback = kDefaultPosition);
    // Made on first use, across the top of the client area.
    TopBar* topBar();

    // Escape closes the window as its close button does. Controls that use
    // the key themselves (an open list, a pressed button) get it first.
    void setClosesOnEscape(bool closes) { closesOnEscape_ = closes; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* surface_ = nullptr;
    TopBar* topBar_ = nullptr;
    bool closesOnEscape_ = false;
};

}  // namespace korbisto::ui
