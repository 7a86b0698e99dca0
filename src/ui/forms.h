#pragma once

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

}  // namespace korbisto::ui
