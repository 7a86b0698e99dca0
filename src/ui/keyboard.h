#pragma once

#include <QKeySequence>

class QAbstractButton;

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

}  // namespace korbisto::ui
