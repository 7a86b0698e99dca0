#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace korbisto::ui {

// A widget that paints check boxes of its own instead of holding a widget
// for each. A screen reader sees every box as a check box with its name and
// state, and which one the keys act on.
class PaintedBoxes {
public:
    PaintedBoxes();
    virtual ~PaintedBoxes() = default;

    virtual int boxCount() const = 0;
    virtual QString boxName(int box) const = 0;
    virtual bool boxChecked(int box) const = 0;
    // In the widget's coordinates.
    virtual QRect boxRect(int box) const = 0;
    // The box the keys act on while the widget has the keyboard; -1 for none.
    virtual int currentBox() const = 0;
    virtual void toggleBox(int box) = 0;
};

// The accessible side of the program's own controls: widgets that are
// PaintedBoxes, and ClickableLabels as links. Made once, however often asked.
void installAccessibility();

// Tell a screen reader that `box` of `widget` changed its state, or now has
// the keys.
void announceBoxToggled(QWidget* widget, int box);
void announceBoxFocused(QWidget* widget, int box);

}  // namespace korbisto::ui
