#include "forms.h"

#include <QApplication>
#include <QWidget>

namespace korbisto::ui {

QWidget* findForm(const QString& name) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = *it;
        if (w->isWindow() && w->objectName() == name) return w;
    }
    return nullptr;
}

bool FormExists(const QString& name) { return findForm(name) != nullptr; }

QWidget* showSingleWindow(const QString& name, const std::function<QWidget*()>& create) {
    QWidget* window = findForm(name);
    if (window) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    } else {
        window = create();
        window->setObjectName(name);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace korbisto::ui
