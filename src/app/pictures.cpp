#include "pictures.h"

#include "core/paths.h"
#include "ui/style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace korbisto::app {

namespace {

void drawBall(QPainter& p, const QPointF& centre, double radius) {
    QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(1, QColor(200, 205, 210));
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
    p.save();
    QPainterPath clip;
    clip.addEllipse(centre, radius, radius);
    p.setClipPath(clip);
    p.setBrush(QColor(35, 35, 35));
    auto pentagon = [&](const QPointF& c, double r, double turn) {
        QPolygonF poly;
        for (int i = 0; i < 5; ++i) {
            const double a = turn + i * 2 * M_PI / 5;
            poly << c + QPointF(r * std::cos(a), r * std::sin(a));
        }
        p.drawPolygon(poly);
        return poly;
    };
    const QPolygonF middle = pentagon(centre, radius * 0.32, -M_PI / 2);
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 2 * M_PI / 5;
        const QPointF outer = centre + QPointF(radius * 0.95 * std::cos(a), radius * 0.95 * std::sin(a));
        p.drawLine(middle[i], centre + (middle[i] - centre) * 2.0);
        pentagon(outer, radius * 0.3, a + M_PI / 5);
    }
    p.restore();
}

// A picture of `width` x `height` pixels as laid out, made of as many device
// pixels as the screen shows for them, so it stays sharp when scaled.
QPixmap canvas(int width, int height, qreal ratio) {
    QPixmap pixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace

QPixmap startPicture(qreal ratio) {
    QPixmap pixmap = canvas(400, 300, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // A pitch in evening light.
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(14, 74, 44));
    sky.setColorAt(1, QColor(36, 128, 70));
    p.fillRect(QRect(0, 0, 400, 300), sky);
    for (int i = 0; i < 8; ++i) {
        if (i % 2 == 0) p.fillRect(QRect(i * 50, 0, 50, 300), QColor(255, 255, 255, 10));
    }
    p.setPen(QPen(QColor(255, 255, 255, 70), 2));
    p.setBrush(Qt::NoBrush);
    p.drawLine(200, 0, 200, 300);
    p.drawEllipse(QPointF(200, 150), 62, 62);
    p.drawRect(QRectF(-2, 80, 60, 140));
    p.drawRect(QRectF(342, 80, 60, 140));

    drawBall(p, QPointF(318, 78), 38);

    p.setPen(Qt::white);
    p.setFont(ui::roundedFont(34));
    p.drawText(QRect(22, 28, 280, 56), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(ProgramName));
    QFont sub = ui::calibriFont(12, true);
    p.setFont(sub);
    p.setPen(QColor(225, 240, 228));
    p.drawText(QRect(24, 84, 300, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Die Ergebniswette im Griff"));
    p.setFont(ui::calibriFont(9));
    p.drawText(QRect(24, 104, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version ") + QString::fromLatin1(ProgramVersion));

    // A tip row of 13 matches as on a bet slip.
    const char* row = "1021201102120";
    const QFont tipFont = ui::tahomaFont(9, true);
    p.setFont(tipFont);
    for (int m = 0; m < 13; ++m) {
        const QRectF box(78 + m * 24, 150, 20, 22);
        p.setPen(QPen(QColor(255, 255, 255, 160), 1));
        p.setBrush(m % 4 == 3 ? QColor(249, 202, 13) : QColor(255, 255, 255, 225));
        p.drawRoundedRect(box, 3, 3);
        p.setPen(QColor(20, 60, 35));
        p.drawText(box, Qt::AlignCenter, QString(QChar(row[m])));
        p.setPen(QColor(225, 240, 228));
        p.setFont(ui::tahomaFont(7));
        p.drawText(QRectF(box.left(), 174, 20, 12), Qt::AlignCenter, QString::number(m + 1));
        p.setFont(tipFont);
    }
    p.setFont(ui::calibriFont(10));
    p.setPen(QColor(235, 245, 238));
    p.drawText(QRect(78, 196, 312, 32), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Spielscheine prüfen, Systeme entwickeln, Tippreihen auslosen."));
    p.end();
    return pixmap;
}

QPixmap aboutPicture(qreal ratio) {
    QPixmap pixmap = canvas(400, 300, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The pitch of the start picture, seen from the stand, the ball in the corner.
    QLinearGradient turf(0, 0, 0, 300);
    turf.setColorAt(0, QColor(20, 92, 54));
    turf.setColorAt(1, QColor(10, 58, 34));
    p.fillRect(QRect(0, 0, 400, 300), turf);
    for (int i = 0; i < 6; ++i)
        if (i % 2 == 0) p.fillRect(QRect(0, i * 50, 400, 50), QColor(255, 255, 255, 9));
    p.setPen(QPen(QColor(255, 255, 255, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawLine(0, 150, 400, 150);
    p.drawEllipse(QPointF(200, 150), 58, 58);
    drawBall(p, QPointF(62, 62), 40);
    p.setPen(Qt::white);
    p.setFont(ui::roundedFont(28));
    p.drawText(QRect(116, 30, 270, 44), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(ProgramName));
    p.end();
    return pixmap;
}

QImage programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    QLinearGradient turf(0, 0, 0, s);
    turf.setColorAt(0, QColor(36, 128, 70));
    turf.setColorAt(1, QColor(14, 74, 44));
    p.setPen(Qt::NoPen);
    p.setBrush(turf);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    // Small sizes get no pitch lines; they would only blur.
    if (size >= 32) {
        p.setPen(QPen(QColor(255, 255, 255, 80), s / 48));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(0, s / 2), QPointF(s, s / 2));
    }
    drawBall(p, QPointF(s / 2, s / 2), s * 0.36);
    p.end();
    return image;
}

QPixmap webSitePicture(int width, int height, qreal ratio) {
    QPixmap pixmap = canvas(width, height, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, width, height);
    back.setColorAt(0, QColor(22, 62, 120));
    back.setColorAt(1, QColor(48, 118, 190));
    p.fillRect(QRect(0, 0, width, height), back);
    drawBall(p, QPointF(height / 2.0, height / 2.0), height * 0.33);
    p.setPen(Qt::white);
    p.setFont(ui::roundedFont(16));
    p.drawText(QRect(height, 6, width - height - 6, height / 2), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("Wimbrel"));
    p.setFont(ui::calibriFont(9));
    p.setPen(QColor(220, 232, 248));
    p.drawText(QRect(height, height / 2 + 2, width - height - 6, height / 2 - 6), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Mehr erfahren im Netz"));
    p.end();
    return pixmap;
}

}  // namespace korbisto::app
