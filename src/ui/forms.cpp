#include "forms.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
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
    if (!window) {
        window = create();
        window->setObjectName(name);
    }
    showAndRaise(*window);
    return window;
}

void showAndRaise(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

void placeWindow(QWidget& window, QPoint stored, QPoint fallback) {
    // The title strip must be on some screen, or the window is out of reach.
    constexpr int kTitleStrip = 40;
    const QRect strip(stored, QSize(std::max(window.width(), 1), kTitleStrip));
    bool reachable = QGuiApplication::screens().isEmpty();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(strip)) reachable = true;
    window.move(reachable ? stored : fallback);
}

}  // namespace korbisto::ui
