#include "text_metrics.h"

#include "core/text_helpers.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace korbisto::ui {

int GetTextWidth(const QFont& font, const QString& text) { return QFontMetrics(font).horizontalAdvance(text); }

QString PadText(const QString& text, int width, const QFont& font) {
    const QFontMetrics metrics(font);
    return korbisto::PadText(text, width, [&](const QString& t) { return metrics.horizontalAdvance(t); });
}

QString PadNumber(long long value, int width, const QFont& font) {
    return PadText(QString::number(value), width, font);
}

QString PadText(const QString& text, int width, const QWidget& grid) { return PadText(text, width, grid.font()); }

QString PadNumber(long long value, int width, const QWidget& grid) { return PadNumber(value, width, grid.font()); }

void DrawCellText(QPainter& painter, const QRect& cell, const QString& text, CellAlignment alignment,
                  const QFont& font, const QColor& background, const QColor& textColour) {
    painter.fillRect(cell, background);
    if (text.isEmpty()) return;
    const QFontMetrics metrics(font);
    int x = cell.left() + 2;
    if (alignment == CellAlignment::Centre)
        x = cell.left() + (cell.width() - metrics.horizontalAdvance(text)) / 2;
    else if (alignment == CellAlignment::Right)
        x = cell.left() + cell.width() - metrics.horizontalAdvance(text) - 3;
    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(textColour);
    painter.drawText(QPoint(x, cell.top() + 2 + metrics.ascent()), text);
    painter.restore();
}

}  // namespace korbisto::ui
