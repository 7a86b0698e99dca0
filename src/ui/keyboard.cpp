#include "keyboard.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace korbisto::ui {

namespace {

class FreshKeysOnly : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) return false;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_Escape:
            return true;
        default:
            return false;
        }
    }
};

const char* const kWaitsForKeys = "korbistoWaitsForKeys";

}  // namespace

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

void actOnFreshKeysOnly(QWidget* widget) { widget->installEventFilter(new FreshKeysOnly(widget)); }

void pressOnEnter(QPushButton* button) {
    // Outside a dialog only a button that is told so takes Enter.
    button->setAutoDefault(true);
    actOnFreshKeysOnly(button);
}

void setEnabledKeepingFocus(QWidget* control, bool enabled) {
    QWidget* window = control->window();
    if (!enabled && window->focusWidget() == control) {
        // There Escape and Tab still act, Enter and Space do nothing.
        window->setFocus(Qt::OtherFocusReason);
        control->setProperty(kWaitsForKeys, true);
    }
    control->setEnabled(enabled);
    if (enabled && control->property(kWaitsForKeys).toBool()) {
        control->setProperty(kWaitsForKeys, QVariant());
        if (window->focusWidget() == window) control->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace korbisto::ui
