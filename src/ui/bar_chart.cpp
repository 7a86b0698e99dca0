#include "bar_chart.h"

#include "core/german.h"

#include <QPainter>

#include <algorithm>

namespace korbisto::ui {

BarChart::BarChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void BarChart::setTitle(const QString& title) {
    title_ = title;
    update();
}

void BarChart::setBars(const QList<Bar>& bars) {
    bars_ = bars;
    QStringList spoken;
    for (const Bar& bar : bars_) spoken << bar.caption + QStringLiteral(": ") + formatShare(bar.share);
    // What the bars say, for a screen reader and the tooltip alike.
    setAccessibleDescription(spoken.join(QStringLiteral("; ")));
    setToolTip(spoken.join(u'\n'));
    update();
}

QSize BarChart::sizeHint() const { return {260, 190}; }

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The skin's palette, like every control around the chart.
    const QPalette& colours = palette();
    p.fillRect(rect(), colours.color(QPalette::Base));
    p.setPen(colours.color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const QFontMetrics metrics(font());
    const int line = metrics.height();
    QRect area = rect().adjusted(8, 6, -8, -6);
    if (!title_.isEmpty()) {
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(colours.color(QPalette::Text));
        p.drawText(QRect(area.left(), area.top(), area.width(), line), Qt::AlignLeft | Qt::AlignVCenter, title_);
        p.setFont(font());
        area.setTop(area.top() + line + 4);
    }
    // Room for the percentage over the bars and the captions under them.
    const QRect bars = area.adjusted(0, line + 2, 0, -(line + 4));
    if (bars_.isEmpty() || bars.height() <= 0) return;

    p.setPen(colours.color(QPalette::Midlight));
    for (int quarter = 1; quarter <= 4; ++quarter) {
        const int y = bars.bottom() - bars.height() * quarter / 4;
        p.drawLine(bars.left(), y, bars.right(), y);
    }
    const int slot = bars.width() / static_cast<int>(bars_.size());
    const int width = std::max(6, slot * 3 / 5);
    for (int i = 0; i < bars_.size(); ++i) {
        const Bar& bar = bars_[i];
        const int left = bars.left() + i * slot + (slot - width) / 2;
        const int height = static_cast<int>(bars.height() * std::clamp(bar.share, 0.0, 1.0) + 0.5);
        const QRect box(left, bars.bottom() - height + 1, width, height);
        if (height > 0) {
            p.setPen(bar.colour.darker(150));
            p.setBrush(bar.colour);
            p.drawRect(box.adjusted(0, 0, -1, -1));
        }
        p.setPen(colours.color(QPalette::Text));
        const QRect slotRect(bars.left() + i * slot, 0, slot, line);
        p.drawText(slotRect.translated(0, box.top() - line - 2), Qt::AlignCenter, formatShare(bar.share));
        p.drawText(slotRect.translated(0, bars.bottom() + 4), Qt::AlignCenter, bar.caption);
    }
    p.setPen(colours.color(QPalette::Shadow));
    p.drawLine(bars.left(), bars.bottom() + 1, bars.right(), bars.bottom() + 1);
}

}  // namespace korbisto::ui
