#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

namespace korbisto::ui {

// A label at a fixed place of a window laid out in pixels.
QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, const QString& objectName = QString());

// A word-wrapped text block; its hand hyphenation is undone.
QLabel* makeParagraph(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font);

}  // namespace korbisto::ui
