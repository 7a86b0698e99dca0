#pragma once

#include "style.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace korbisto::ui {

// Pixel width of a text in a font.
int GetTextWidth(const QFont& font, const QString& text);

// The padding rule with the real metrics of a font, or of the grid that will
// show the text (its own font).
QString PadText(const QString& text, int width, const QFont& font);
QString PadNumber(long long value, int width, const QFont& font);
QString PadText(const QString& text, int width, const QWidget& grid);
QString PadNumber(long long value, int width, const QWidget& grid);

enum class CellAlignment { Left, Centre, Right };

// Paints a grid cell: the background filled, the text 2 pixels below the top,
// clipped to the cell. Left: 2 pixels in; centre: (width - text width) / 2
// in, cut toward zero; right: its end 3 pixels inside the right edge.
void DrawCellText(QPainter& painter, const QRect& cell, const QString& text, CellAlignment alignment,
                  const QFont& font, const QColor& background, const QColor& textColour = colours::ink);

}  // namespace korbisto::ui
