#include "keyboard.h"

#include <QAbstractButton>
#include <QShortcut>

namespace korbisto::ui {

int arrowTarget(int box, int key, int columns, int count) {
    int target = -1;
    switch (key) {
    case Qt::Key_Left:
        target = box - 1;
        break;
    case Qt::Key_Right:
        target = box + 1;
        break;
    case Qt::Key_Up:
        target = box - columns;
        break;
    case Qt::Key_Down:
        target = box + columns;
        break;
    default:
        return -1;
    }
    return target >= 0 && target < count ? target : -1;
}

void addShortcut(QAbstractButton* button, const QKeySequence& keys) {
    auto* shortcut = new QShortcut(keys, button->window());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible()) button->click();
    });
    QString hint = button->toolTip();
    if (hint.isEmpty()) hint = button->text().remove(u'&');
    button->setToolTip(hint + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + u')');
}

}  // namespace korbisto::ui
