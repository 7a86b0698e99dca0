#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace korbisto::ui {

// The open window with this object name, hidden ones included; nullptr if
// there is none. Names are compared exactly.
QWidget* findForm(const QString& name);
bool FormExists(const QString& name);

// Windows opened from buttons exist at most once: an open one is restored
// from a minimised state, otherwise `create` makes it; then it is shown and
// brought to the front.
QWidget* showSingleWindow(const QString& name, const std::function<QWidget*()>& create);

// Shows a window that already exists: restored from a minimised state,
// shown and brought to the front.
void showAndRaise(QWidget& window);

// Moves a window to its stored position, unless no screen would show its
// top edge there (a monitor removed, a damaged settings file): then it goes
// to `fallback`.
void placeWindow(QWidget& window, QPoint stored, QPoint fallback);

}  // namespace korbisto::ui
