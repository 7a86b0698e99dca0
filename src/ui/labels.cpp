#include "labels.h"

#include "captions.h"

namespace korbisto::ui {

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  Qt::Alignment alignment, const QString& objectName) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    if (!objectName.isEmpty()) label->setObjectName(objectName);
    return label;
}

QLabel* makeParagraph(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font) {
    QLabel* label = makeLabel(parent, displayCaption(text), geometry, font, Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

}  // namespace korbisto::ui
