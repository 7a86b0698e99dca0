#include "wrap_button.h"

#include "captions.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace korbisto::ui {

WrapButton::WrapButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
    if (!icon().isNull()) {
        const QSize size = iconSize();
        const QRect iconArea(area.left(), area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
        icon().paint(&painter, iconArea, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        area.setLeft(iconArea.right() + 4);
    }
    painter.setPen(option.palette.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    // "&" marks the accelerator and "&&" is an ampersand, as on any Qt button.
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, caption);
}

WrapButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption, const QRect& geometry) {
    auto* button = new WrapButton(displayCaption(caption), parent);
    button->setObjectName(objectName);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace korbisto::ui
