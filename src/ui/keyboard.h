#pragma once

#include <QKeySequence>

class QAbstractButton;
class QPushButton;
class QWidget;

namespace korbisto::ui {

// Where an arrow key leads in a grid of `count` boxes, `columns` a row,
// numbered row by row from 0: Left and Right to the box before and after,
// Up and Down to the box above and below. -1 for any other key and at the
// edges of the grid.
int arrowTarget(int box, int key, int columns, int count);

// `keys` anywhere in the button's window press the button as a click does,
// while it is enabled and shown; the keys stay where they were typed. The
// tooltip names them.
void addShortcut(QAbstractButton* button, const QKeySequence& keys);

// A key held down reaches `widget` (and, for a window, every widget in it)
// as repeats; Enter, Space and Escape act there only when pressed anew. So
// a held key presses a button once, and the box the press opens is not
// answered by the same key.
void actOnFreshKeysOnly(QWidget* widget);

// Enter presses `button` while it has the keyboard, as Space does; held
// down, once.
void pressOnEnter(QPushButton* button);

// Turns `control` off or on again. Qt hands the keyboard of a control turned
// off to the next one, where the next Enter or Space would act on something
// else ("Schließen"); instead the window holds the keys meanwhile, and the
// control gets them back when it is turned on, unless the user has moved
// them elsewhere.
void setEnabledKeepingFocus(QWidget* control, bool enabled);

}  // namespace korbisto::ui
