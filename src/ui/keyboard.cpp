#include "keyboard.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace korbisto::ui {

namespace {

const char* const kFreshKeysOnly = "korbistoFreshKeysOnly";

// Repeats of a key held down. Qt marks them, but on X11 only when the
// release and the press of a repeat reach it together; otherwise they come
// as a release and a press of the same moment, and are told apart here.
// Widgets marked, and the widgets of windows marked, take no repeats of
// Enter, Space and Escape.
class HeldKeys : public QObject {
public:
    explicit HeldKeys(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("HeldKeys")); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        bool repeat = key->isAutoRepeat();
        if (type == QEvent::KeyRelease && !repeat) {
            releasedKey_ = key->key();
            releasedAt_ = key->timestamp();
        } else if (type == QEvent::KeyPress && key->timestamp() != 0 && key->key() == releasedKey_ &&
                   key->timestamp() == releasedAt_) {
            repeat = true;
        }
        if (!repeat || !marked(watched)) return false;
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

private:
    static bool marked(QObject* object) {
        const auto* widget = qobject_cast<QWidget*>(object);
        return widget &&
               (widget->property(kFreshKeysOnly).toBool() || widget->window()->property(kFreshKeysOnly).toBool());
    }

    int releasedKey_ = 0;
    quint64 releasedAt_ = 0;
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

void actOnFreshKeysOnly(QWidget* widget) {
    // Every key event passes the one watch, which must see every release.
    QCoreApplication* app = QCoreApplication::instance();
    if (!app->findChild<QObject*>(QStringLiteral("HeldKeys"), Qt::FindDirectChildrenOnly))
        app->installEventFilter(new HeldKeys(app));
    widget->setProperty(kFreshKeysOnly, true);
}

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
