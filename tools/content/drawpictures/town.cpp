#include "backgrounds.h"

#include <QPainterPath>

namespace vm2::content {

namespace {

enum class StreetSky { Dusk, Rain, Comet };

// The main street with its shops and lamps: at dusk, on a rainy night with the
// lights mirrored in the wet pavement, or on the clear night the comet comes
// closest, its tail across the sky above the roofs.
void streetScene(QPainter &p, StreetSky sky)
{
    const bool rainyNight = sky == StreetSky::Rain;
    const bool night = sky != StreetSky::Dusk;
    if (rainyNight) {
        skyGradient(p, QRectF(0, 0, 400, 240), QColor(0x14, 0x16, 0x2A), QColor(0x34, 0x34, 0x4C));
    } else if (night) {
        skyGradient(p, QRectF(0, 0, 400, 240), QColor(0x0A, 0x0E, 0x30), QColor(0x34, 0x32, 0x6C));
        stars(p, QRectF(0, 0, 400, 120), 50, 19);
        cometInSky(p, QPointF(318, 34), QPointF(70, 130), 16);
    } else {
        skyGradient(p, QRectF(0, 0, 400, 240), QColor(0x6A, 0x5A, 0xA8), QColor(0xF8, 0xB0, 0x80));
    }
    const QColor shops[] = {QColor(0xE8, 0xC8, 0xA0), QColor(0xC8, 0xD8, 0xE8),
                            QColor(0xF0, 0xD8, 0xD8), QColor(0xD8, 0xE8, 0xC8)};
    const QColor awnings[] = {QColor(0xD0, 0x50, 0x50), QColor(0x40, 0x80, 0xC0),
                              QColor(0xE0, 0x90, 0x30), QColor(0x50, 0xA0, 0x60)};
    for (int i = 0; i < 4; ++i) {
        const qreal x = i * 100;
        const qreal top = 90 + (i % 2) * 30;
        const QColor wall = night ? shops[i].darker(rainyNight ? 260 : 230) : shops[i];
        const QColor awning = night ? awnings[i].darker(rainyNight ? 200 : 180) : awnings[i];
        box(p, QRectF(x, top, 100, 200 - top + 90), wall);
        box(p, QRectF(x + 15, top + 20, 70, 40), QColor(0xFF, 0xF0, 0xB0), 1.5);
        p.setPen(edge(awning));
        p.setBrush(awning);
        p.drawPolygon(QPolygonF(
            {QPointF(x + 5, 230), QPointF(x + 95, 230), QPointF(x + 100, 255), QPointF(x, 255)}));
        box(p, QRectF(x + 20, 255, 60, 35), QColor(0xFF, 0xE8, 0xA0), 1.5);
    }
    sign(p, QRectF(110, 160, 80, 22), QColor(0x30, 0x30, 0x40), QStringLiteral("LIVE"),
         QColor(0xFF, 0xD0, 0x40));
    // Pavement in perspective.
    box(p, QRectF(0, 290, 400, 110), night ? QColor(0x3A, 0x3A, 0x48) : QColor(0xB0, 0xA8, 0xA0),
        0);
    p.setPen(QPen(night ? QColor(0x4A, 0x4A, 0x5A) : QColor(0x98, 0x90, 0x88), 1.5));
    for (int i = 0; i <= 10; ++i)
        p.drawLine(QPointF(200 + (i - 5) * 14, 290), QPointF(200 + (i - 5) * 90, 400));
    for (qreal y = 300; y < 400; y += (y - 270) * 0.35)
        p.drawLine(QPointF(0, y), QPointF(400, y));
    if (rainyNight) {
        // The shop lights, mirrored in the wet stones.
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(QColor(0xFF, 0xE8, 0xA0, 70));
            p.drawRect(QRectF(i * 100 + 24, 300, 52, 70));
        }
    }
    // Street lamps.
    for (qreal x : {40.0, 360.0}) {
        box(p, QRectF(x - 3, 200, 6, 150), QColor(0x3A, 0x3A, 0x44), 1);
        QRadialGradient glow(QPointF(x, 196), 40);
        glow.setColorAt(0, QColor(255, 240, 180, 220));
        glow.setColorAt(1, QColor(255, 240, 180, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QPointF(x, 196), 40, 40);
    }
    if (rainyNight)
        rain(p, QRectF(0, 0, 400, 400), 260, 31, QColor(190, 210, 240, 150));
}

} // namespace

void street(QPainter &p)
{
    streetScene(p, StreetSky::Dusk);
}

void streetInRain(QPainter &p)
{
    streetScene(p, StreetSky::Rain);
}

void streetWithComet(QPainter &p)
{
    streetScene(p, StreetSky::Comet);
}

void rooftop(QPainter &p)
{
    skyGradient(p, QRectF(0, 0, 400, 300), QColor(0x4C, 0x9C, 0xE8), QColor(0xD8, 0xF0, 0xFF));
    cloud(p, QPointF(100, 80), 40);
    cloud(p, QPointF(300, 130), 30);
    // Distant town.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9C, 0xB4, 0xCC));
    for (int i = 0; i < 12; ++i)
        p.drawRect(QRectF(i * 34, 230 - (i * 37 % 50), 30, 80));
    box(p, QRectF(0, 290, 400, 110), QColor(0xB8, 0xB8, 0xB0), 0);
    // Fence.
    p.setPen(QPen(QColor(0x68, 0x88, 0x70), 2));
    for (int x = 0; x <= 400; x += 16)
        p.drawLine(x, 200, x, 300);
    p.setPen(QPen(QColor(0x58, 0x78, 0x60), 5));
    p.drawLine(0, 200, 400, 200);
    p.drawLine(0, 300, 400, 300);
    box(p, QRectF(300, 120, 80, 60), QColor(0xC8, 0xD0, 0xD8));
    box(p, QRectF(310, 180, 8, 40), QColor(0x90, 0x98, 0xA0), 1);
    box(p, QRectF(362, 180, 8, 40), QColor(0x90, 0x98, 0xA0), 1);
}

void parkNight(QPainter &p)
{
    skyGradient(p, QRectF(0, 0, 400, 300), QColor(0x0C, 0x14, 0x3A), QColor(0x3A, 0x3C, 0x78));
    stars(p, QRectF(0, 0, 400, 220), 70, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xF6, 0xD0));
    p.drawEllipse(QPointF(320, 70), 28, 28);
    p.setBrush(QColor(0x0C, 0x14, 0x3A));
    p.drawEllipse(QPointF(332, 62), 26, 26);
    tree(p, QPointF(60, 320), 110, QColor(0x1E, 0x3A, 0x30));
    tree(p, QPointF(360, 330), 90, QColor(0x1A, 0x34, 0x2C));
    box(p, QRectF(0, 310, 400, 90), QColor(0x22, 0x30, 0x2A), 0);
    box(p, QRectF(196, 180, 8, 150), QColor(0x30, 0x30, 0x38), 1);
    QRadialGradient glow(QPointF(200, 176), 70);
    glow.setColorAt(0, QColor(255, 236, 170, 220));
    glow.setColorAt(1, QColor(255, 236, 170, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(200, 176), 70, 70);
    box(p, QRectF(240, 320, 110, 10), QColor(0x6A, 0x4A, 0x30));
    box(p, QRectF(246, 330, 6, 18), QColor(0x40, 0x40, 0x48), 1);
    box(p, QRectF(338, 330, 6, 18), QColor(0x40, 0x40, 0x48), 1);
}
void sea(QPainter &p)
{
    skyGradient(p, QRectF(0, 0, 400, 220), QColor(0x48, 0xA0, 0xF0), QColor(0xD8, 0xF0, 0xFF));
    cloud(p, QPointF(90, 70), 36);
    cloud(p, QPointF(300, 110), 26);
    skyGradient(p, QRectF(0, 200, 400, 110), QColor(0x2A, 0x7C, 0xC8), QColor(0x5C, 0xB8, 0xE0));
    p.setPen(QPen(QColor(255, 255, 255, 200), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int row = 0; row < 4; ++row) {
        for (int i = 0; i < 6; ++i) {
            const qreal x = 20 + i * 70 + (row % 2) * 35, y = 220 + row * 22;
            p.drawArc(QRectF(x, y, 26, 10), 20 * 16, 140 * 16);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF0, 0xDC, 0xB0));
    QPainterPath sand;
    sand.moveTo(0, 300);
    sand.cubicTo(120, 285, 260, 320, 400, 295);
    sand.lineTo(400, 400);
    sand.lineTo(0, 400);
    sand.closeSubpath();
    p.drawPath(sand);
    p.setBrush(QColor(255, 255, 255, 170));
    QPainterPath foam;
    foam.moveTo(0, 300);
    foam.cubicTo(120, 285, 260, 320, 400, 295);
    foam.lineTo(400, 302);
    foam.cubicTo(260, 328, 120, 293, 0, 308);
    foam.closeSubpath();
    p.drawPath(foam);
    // A shell and a lighthouse far away.
    box(p, QRectF(350, 150, 14, 52), QColor(0xF8, 0xF8, 0xF8), 1.5);
    box(p, QRectF(350, 165, 14, 10), QColor(0xD8, 0x50, 0x50), 0);
    p.setPen(edge(QColor(0xF8, 0xC8, 0xC8), 1.5));
    p.setBrush(QColor(0xF8, 0xC8, 0xC8));
    p.drawPie(QRectF(100, 350, 30, 26), 0, 180 * 16);
}

} // namespace vm2::content
