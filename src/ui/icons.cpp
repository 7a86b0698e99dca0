#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <cmath>
#include <utility>

namespace korbisto::ui {

namespace {

const QColor kInk(52, 73, 94);
const QColor kBlue(45, 112, 196);
const QColor kGreen(46, 139, 87);
const QColor kRed(200, 60, 50);
const QColor kGold(222, 164, 20);

QPen pen(const QColor& colour, double width) {
    QPen p(colour, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void drawSheet(QPainter& p, const QRectF& r) {
    p.setPen(pen(kInk, 1.4));
    p.setBrush(Qt::white);
    QPainterPath path;
    const double fold = r.width() * 0.3;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
}

void drawArrowDown(QPainter& p, double x, double top, double bottom, const QColor& colour) {
    p.setPen(pen(colour, 2.6));
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
    p.drawLine(QPointF(x - 5, bottom - 5), QPointF(x, bottom));
    p.drawLine(QPointF(x + 5, bottom - 5), QPointF(x, bottom));
}

void paint(QPainter& p, IconKind kind) {
    // Drawn on a 24 x 24 canvas.
    switch (kind) {
    case IconKind::Exit: {
        p.setPen(pen(kRed, 2.6));
        p.drawArc(QRectF(4, 5, 16, 16), 120 * 16, 300 * 16);
        p.drawLine(QPointF(12, 3), QPointF(12, 12));
        break;
    }
    case IconKind::Download:
        drawArrowDown(p, 12, 3, 15, kBlue);
        p.setPen(pen(kInk, 2.2));
        p.drawPolyline(QPolygonF({QPointF(4, 15), QPointF(4, 20), QPointF(20, 20), QPointF(20, 15)}));
        break;
    case IconKind::Ball: {
        p.setPen(pen(kInk, 1.4));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        QPolygonF pentagon;
        for (int i = 0; i < 5; ++i) {
            const double a = -M_PI / 2 + i * 2 * M_PI / 5;
            pentagon << QPointF(12 + 4 * std::cos(a), 12 + 4 * std::sin(a));
        }
        p.setBrush(kInk);
        p.drawPolygon(pentagon);
        for (const QPointF& corner : pentagon) {
            const QPointF out = QPointF(12, 12) + (corner - QPointF(12, 12)) * 2.2;
            p.drawLine(corner, out);
        }
        break;
    }
    case IconKind::SlipEntry: {
        drawSheet(p, QRectF(4, 2.5, 14, 19));
        p.setPen(pen(kInk, 1.2));
        for (int i = 0; i < 4; ++i) p.drawLine(QPointF(7, 8 + 3.5 * i), QPointF(14, 8 + 3.5 * i));
        p.setPen(pen(kGold, 2.6));
        p.drawLine(QPointF(21, 9), QPointF(13, 19));
        break;
    }
    case IconKind::Update: {
        p.setPen(pen(kGreen, 2.4));
        p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 150 * 16);
        p.drawArc(QRectF(4, 4, 16, 16), 210 * 16, 150 * 16);
        p.drawLine(QPointF(19, 4), QPointF(19, 9));
        p.drawLine(QPointF(19, 9), QPointF(14.5, 9));
        p.drawLine(QPointF(5, 20), QPointF(5, 15));
        p.drawLine(QPointF(5, 15), QPointF(9.5, 15));
        break;
    }
    case IconKind::Coffee: {
        p.setPen(pen(QColor(120, 72, 40), 1.6));
        p.setBrush(QColor(236, 222, 200));
        p.drawRoundedRect(QRectF(4, 9, 12, 11), 2, 2);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(13, 11, 7, 6), -90 * 16, 180 * 16);
        p.setPen(pen(QColor(150, 150, 150), 1.3));
        for (double x : {7.0, 10.0, 13.0}) {
            QPainterPath steam;
            steam.moveTo(x, 7);
            steam.cubicTo(x - 1.5, 5.5, x + 1.5, 4.5, x, 2.5);
            p.drawPath(steam);
        }
        break;
    }
    case IconKind::Pin: {
        p.setPen(pen(kInk, 1.4));
        p.setBrush(kRed);
        p.drawEllipse(QRectF(7, 2.5, 10, 10));
        p.setPen(pen(kInk, 2.0));
        p.drawLine(QPointF(12, 12.5), QPointF(12, 21.5));
        break;
    }
    case IconKind::Info: {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setPen(pen(Qt::white, 2.4));
        p.drawLine(QPointF(12, 11), QPointF(12, 17));
        p.drawPoint(QPointF(12, 7.5));
        break;
    }
    case IconKind::Camera: {
        p.setPen(pen(kInk, 1.4));
        p.setBrush(QColor(220, 226, 235));
        p.drawRoundedRect(QRectF(2.5, 7, 19, 13), 2.5, 2.5);
        p.drawRect(QRectF(8, 4.5, 7, 3));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(8, 9.5, 8, 8));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(10.5, 12, 3, 3));
        break;
    }
    case IconKind::Eraser: {
        p.save();
        p.translate(12, 12);
        p.rotate(-35);
        p.setPen(pen(kInk, 1.4));
        p.setBrush(QColor(240, 130, 150));
        p.drawRoundedRect(QRectF(-9, -4.5, 11, 9), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(2, -4.5, 7, 9), 1.5, 1.5);
        p.restore();
        p.setPen(pen(kInk, 1.2));
        p.drawLine(QPointF(4, 21), QPointF(20, 21));
        break;
    }
    case IconKind::Csv: {
        drawSheet(p, QRectF(3.5, 2.5, 17, 19));
        p.setPen(kGreen);
        QFont font = p.font();
        font.setPixelSize(7);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(3.5, 9, 17, 9), Qt::AlignCenter, QStringLiteral("CSV"));
        break;
    }
    case IconKind::SortByHits: {
        p.setPen(pen(kInk, 2.2));
        p.drawLine(QPointF(4, 6), QPointF(13, 6));
        p.drawLine(QPointF(4, 12), QPointF(11, 12));
        p.drawLine(QPointF(4, 18), QPointF(9, 18));
        drawArrowDown(p, 18, 4, 20, kBlue);
        break;
    }
    case IconKind::RestoreOrder: {
        p.setPen(kInk);
        QFont font = p.font();
        font.setPixelSize(8);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(2, 2, 10, 7), Qt::AlignCenter, QStringLiteral("1"));
        p.drawText(QRectF(2, 8.5, 10, 7), Qt::AlignCenter, QStringLiteral("2"));
        p.drawText(QRectF(2, 15, 10, 7), Qt::AlignCenter, QStringLiteral("3"));
        drawArrowDown(p, 17, 4, 20, kGreen);
        break;
    }
    case IconKind::Clipboard: {
        p.setPen(pen(kInk, 1.4));
        p.setBrush(QColor(205, 170, 120));
        p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 7, 11, 12.5));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(8.5, 2, 7, 4), 1, 1);
        break;
    }
    case IconKind::Close: {
        p.setPen(pen(kRed, 2.8));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    }
    case IconKind::OpenFolder: {
        p.setPen(pen(QColor(150, 110, 30), 1.4));
        p.setBrush(QColor(250, 205, 95));
        p.drawPolygon(QPolygonF({QPointF(2.5, 6), QPointF(9, 6), QPointF(11, 8), QPointF(21.5, 8), QPointF(21.5, 19.5),
                                 QPointF(2.5, 19.5)}));
        break;
    }
    case IconKind::Save: {
        p.setPen(pen(kInk, 1.4));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3.5, 10, 6));
        p.drawRect(QRectF(6.5, 13, 11, 7.5));
        break;
    }
    case IconKind::Stop: {
        QPolygonF octagon;
        for (int i = 0; i < 8; ++i) {
            const double a = M_PI / 8 + i * M_PI / 4;
            octagon << QPointF(12 + 9.5 * std::cos(a), 12 + 9.5 * std::sin(a));
        }
        p.setPen(pen(QColor(140, 30, 25), 1.2));
        p.setBrush(kRed);
        p.drawPolygon(octagon);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 8, 8, 8));
        break;
    }
    case IconKind::Chart: {
        p.setPen(pen(kInk, 1.2));
        const std::array<std::pair<double, QColor>, 3> bars{{{9, kGold}, {15, kGreen}, {5, kBlue}}};
        for (size_t i = 0; i < bars.size(); ++i) {
            p.setBrush(bars[i].second);
            p.drawRect(QRectF(4.5 + 5.5 * static_cast<double>(i), 20.5 - bars[i].first, 4, bars[i].first));
        }
        p.setPen(pen(kInk, 1.8));
        p.drawLine(QPointF(2.5, 20.5), QPointF(21.5, 20.5));
        break;
    }
    }
}

}  // namespace

QIcon makeIcon(IconKind kind, int size) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(QSize(size, size) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        paint(p, kind);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QToolButton* makeToolButton(QWidget* parent, const QString& objectName, IconKind icon, const QString& caption,
                            const QString& hint, int iconSize) {
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(makeIcon(icon, iconSize));
    button->setIconSize(QSize(iconSize, iconSize));
    if (!caption.isEmpty()) {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    } else {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    if (!hint.isEmpty()) button->setToolTip(hint);
    // A picture says nothing to a screen reader; the hint names the button.
    if (caption.isEmpty()) button->setAccessibleName(hint);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace korbisto::ui
