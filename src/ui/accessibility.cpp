#include "accessibility.h"

#include "labels.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>

namespace korbisto::ui {

namespace {

PaintedBoxes* boxesOf(QWidget* widget) { return dynamic_cast<PaintedBoxes*>(widget); }

// One painted box. It asks its widget each time, through a guarded pointer,
// so it stays safe when the widget goes before a screen reader lets go of it.
class BoxItem : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    BoxItem(QWidget* widget, int box) : widget_(widget), box_(box) {}

    int box() const { return box_; }
    QWidget* widget() const { return widget_; }

    bool isValid() const override { return boxes() && box_ < boxes()->boxCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(widget_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? boxes()->boxName(box_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect box = boxes()->boxRect(box_);
        return {widget_->mapToGlobal(box.topLeft()), box.size()};
    }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        state.checkable = true;
        state.checked = boxes()->boxChecked(box_);
        state.focused = widget_->hasFocus() && boxes()->currentBox() == box_;
        state.disabled = !widget_->isEnabled();
        state.invisible = !widget_->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        if (name == toggleAction() && isValid() && widget_->isEnabled()) boxes()->toggleBox(box_);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

private:
    PaintedBoxes* boxes() const { return boxesOf(widget_.data()); }

    QPointer<QWidget> widget_;
    int box_;
};

// The widget that paints the boxes: its children are the boxes, not the
// widgets it may show on top of them.
class BoxesInterface : public QAccessibleWidget {
public:
    explicit BoxesInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Grouping) {}
    ~BoxesInterface() override {
        for (const QAccessible::Id id : std::as_const(items_)) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return boxesOf(widget())->boxCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        if (const auto it = items_.constFind(index); it != items_.constEnd()) return QAccessible::accessibleInterface(*it);
        auto* item = new BoxItem(widget(), index);
        items_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const BoxItem*>(child);
        return item && item->widget() == widget() ? item->box() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
        for (int box = 0; box < childCount(); ++box)
            if (boxesOf(widget())->boxRect(box).contains(at)) return child(box);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return widget()->hasFocus() ? child(boxesOf(widget())->currentBox()) : nullptr;
    }

private:
    mutable QHash<int, QAccessible::Id> items_;
};

class LinkInterface : public QAccessibleWidget {
public:
    explicit LinkInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) return QAccessibleWidget::text(t);
        const QString caption = static_cast<const QLabel*>(widget())->text();
        return caption.isEmpty() ? widget()->toolTip() : caption;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override {
        if (name == pressAction()) static_cast<ClickableLabel*>(widget())->activate();
        else QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* programControls(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    if (boxesOf(widget)) return new BoxesInterface(widget);
    if (qobject_cast<ClickableLabel*>(widget)) return new LinkInterface(widget);
    return nullptr;
}

}  // namespace

PaintedBoxes::PaintedBoxes() { installAccessibility(); }

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&programControls);
        return true;
    }();
    Q_UNUSED(installed);
}

void announceBoxToggled(QWidget* widget, int box) {
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* boxes = QAccessible::queryAccessibleInterface(widget);
    QAccessibleInterface* item = boxes ? boxes->child(box) : nullptr;
    if (!item) return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(item, changed);
    QAccessible::updateAccessibility(&event);
}

void announceBoxFocused(QWidget* widget, int box) {
    if (!QAccessible::isActive() || !widget->hasFocus()) return;
    QAccessibleEvent event(widget, QAccessible::Focus);
    event.setChild(box);
    QAccessible::updateAccessibility(&event);
}

}  // namespace korbisto::ui
