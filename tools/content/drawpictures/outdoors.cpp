#include "backgrounds.h"

#include <QPainterPath>

namespace vm2::content {

namespace {

void schoolBuilding(QPainter &p, const QRectF &r, const QColor &wall, const QColor &glass)
{
    box(p, r, wall);
    for (int row = 0; row < 3; ++row) {
        for (qreal x = r.left() + 14; x + 28 < r.right(); x += 38)
            box(p, QRectF(x, r.top() + 40 + row * 48, 26, 30), glass, 1.5);
    }
}

// Small flags on a string between two points.
void bunting(QPainter &p, QPointF from, QPointF to, int count)
{
    const QColor colours[] = {QColor(0xE8, 0x4A, 0x5A), QColor(0xF4, 0xC0, 0x30),
                              QColor(0x3A, 0x8A, 0xD8), QColor(0x5A, 0xB0, 0x5A)};
    p.setPen(QPen(QColor(0x60, 0x50, 0x40), 1.5));
    p.drawLine(from, to);
    for (int i = 0; i < count; ++i) {
        const QPointF a = from + (to - from) * (i + 0.2) / count;
        const QPointF b = from + (to - from) * (i + 0.8) / count;
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i % 4]);
        p.drawPolygon(QPolygonF({a, b, (a + b) / 2 + QPointF(0, 16)}));
    }
}

} // namespace

void schoolScene(QPainter &p, Season season, bool rainy, bool festival)
{
    if (rainy) {
        skyGradient(p, QRectF(0, 0, 400, 260), QColor(0x6E, 0x78, 0x86), QColor(0xA8, 0xB0, 0xB8));
        cloud(p, QPointF(90, 50), 50, QColor(0x8A, 0x92, 0x9E, 230));
        cloud(p, QPointF(300, 40), 60, QColor(0x80, 0x88, 0x94, 230));
    } else {
        skyGradient(p, QRectF(0, 0, 400, 260), QColor(0x5E, 0xA8, 0xEC), QColor(0xCF, 0xEA, 0xFF));
        cloud(p, QPointF(80, 50), 30);
        cloud(p, QPointF(320, 70), 24);
    }
    const QColor wall = rainy ? QColor(0xD8, 0xD4, 0xCC) : QColor(0xF2, 0xEA, 0xDC);
    const QColor glass = rainy ? QColor(0x8A, 0xA0, 0xB0) : QColor(0x9C, 0xC8, 0xE8);
    schoolBuilding(p, QRectF(30, 110, 340, 180), wall, glass);
    // The clock tower.
    box(p, QRectF(170, 50, 60, 70), wall);
    p.setPen(edge(QColor(0xFF, 0xFF, 0xFF)));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(200, 82), 20, 20);
    p.setPen(QPen(QColor(0x30, 0x30, 0x40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(200, 82), QPointF(200, 68));
    p.drawLine(QPointF(200, 82), QPointF(211, 86));
    p.setPen(edge(QColor(0x4A, 0x6E, 0xA8)));
    p.setBrush(QColor(0x4A, 0x6E, 0xA8));
    p.drawPolygon(QPolygonF({QPointF(162, 52), QPointF(238, 52), QPointF(200, 24)}));
    box(p, QRectF(0, 290, 400, 110), rainy ? QColor(0xA8, 0x9C, 0x86) : QColor(0xD8, 0xC2, 0x9A),
        0);
    if (rainy) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8C, 0x98, 0xA8, 170));
        p.drawEllipse(QPointF(130, 350), 60, 9);
        p.drawEllipse(QPointF(280, 375), 70, 10);
    }
    // The gate and its plate.
    box(p, QRectF(60, 250, 16, 90), QColor(0x9A, 0x9A, 0x9A));
    box(p, QRectF(324, 250, 16, 90), QColor(0x9A, 0x9A, 0x9A));
    sign(p, QRectF(86, 262, 80, 24), QColor(0xF8, 0xF4, 0xE8), QStringLiteral("アース学園"),
         QColor(0x30, 0x30, 0x40));
    if (festival) {
        bunting(p, QPointF(68, 250), QPointF(332, 250), 11);
        sign(p, QRectF(186, 226, 120, 22), QColor(0xF8, 0xE0, 0x60), QStringLiteral("学園祭"),
             QColor(0xB0, 0x30, 0x30));
    }
    seasonTree(p, QPointF(20, 330), 70, season);
    seasonTree(p, QPointF(385, 340), 80, season);
    if (rainy)
        rain(p, QRectF(0, 0, 400, 400), 220, 29);
}

void hill(QPainter &p)
{
    skyGradient(p, QRectF(0, 0, 400, 260), QColor(0x6C, 0xB6, 0xF2), QColor(0xE4, 0xF4, 0xFF));
    cloud(p, QPointF(290, 60), 34);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7E, 0xAE, 0x70));
    p.drawEllipse(QPointF(100, 300), 260, 120);
    p.setBrush(QColor(0x5E, 0x98, 0x56));
    p.drawEllipse(QPointF(360, 330), 240, 120);
    p.setBrush(QColor(0x4C, 0x86, 0x46));
    p.drawRect(QRectF(0, 340, 400, 60));
    // The path up.
    p.setBrush(QColor(0xD8, 0xC0, 0x8A));
    QPainterPath path;
    path.moveTo(170, 400);
    path.cubicTo(190, 340, 250, 300, 230, 230);
    path.lineTo(245, 230);
    path.cubicTo(280, 300, 240, 350, 260, 400);
    path.closeSubpath();
    p.drawPath(path);
    tree(p, QPointF(60, 330), 90, QColor(0x3E, 0x8A, 0x4A));
    tree(p, QPointF(330, 300), 70, QColor(0x4A, 0x96, 0x52));
    tree(p, QPointF(140, 250), 50, QColor(0x56, 0x9E, 0x5A));
    box(p, QRectF(292, 330, 6, 40), QColor(0x8A, 0x5E, 0x3A), 1.5);
    sign(p, QRectF(270, 312, 52, 22), QColor(0xC8, 0x98, 0x60), QStringLiteral("裏山"),
         QColor(0x40, 0x28, 0x10));
}

// The hill by night: under the stars with the hut on the top, or under low cloud at
// the foot of the path.
void hillNight(QPainter &p, bool clouded)
{
    if (clouded) {
        skyGradient(p, QRectF(0, 0, 400, 300), QColor(0x1A, 0x1C, 0x26), QColor(0x3A, 0x3C, 0x4A));
        for (int i = 0; i < 7; ++i)
            cloud(p, QPointF(20 + i * 64, 40 + (i % 3) * 38), 46 + (i % 2) * 14,
                  QColor(0x4A, 0x4C, 0x5A, 235));
    } else {
        skyGradient(p, QRectF(0, 0, 400, 300), QColor(0x08, 0x0C, 0x2C), QColor(0x2C, 0x2C, 0x66));
        stars(p, QRectF(0, 0, 400, 240), 140, 23);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x16, 0x26, 0x1E));
    p.drawEllipse(QPointF(120, 330), 280, 110);
    p.setBrush(QColor(0x10, 0x1E, 0x18));
    p.drawEllipse(QPointF(380, 350), 220, 100);
    p.drawRect(QRectF(0, 340, 400, 60));
    if (clouded) {
        // The foot of the path, its sign and the gap in the trees.
        p.setBrush(QColor(0x4A, 0x44, 0x3A));
        QPainterPath path;
        path.moveTo(170, 400);
        path.cubicTo(190, 350, 240, 320, 228, 280);
        path.lineTo(240, 280);
        path.cubicTo(270, 330, 240, 360, 260, 400);
        path.closeSubpath();
        p.drawPath(path);
        tree(p, QPointF(60, 340), 100, QColor(0x1A, 0x2E, 0x24));
        tree(p, QPointF(340, 330), 90, QColor(0x18, 0x2A, 0x22));
        box(p, QRectF(292, 340, 6, 40), QColor(0x3A, 0x2C, 0x20), 1.5);
        sign(p, QRectF(270, 322, 52, 22), QColor(0x5A, 0x46, 0x30), QStringLiteral("裏山"),
             QColor(0x20, 0x14, 0x08));
        return;
    }
    // The hut on the top, a light in its window.
    p.setBrush(QColor(0x20, 0x18, 0x14));
    p.drawRect(QRectF(240, 200, 100, 70));
    p.drawPolygon(QPolygonF({QPointF(230, 202), QPointF(350, 202), QPointF(290, 160)}));
    p.setBrush(QColor(0xFF, 0xD8, 0x80));
    p.drawRect(QRectF(262, 222, 22, 18));
    tree(p, QPointF(50, 330), 100, QColor(0x14, 0x26, 0x1C));
}

void hospital(QPainter &p, bool inBloom)
{
    skyGradient(p, QRectF(0, 0, 400, 260), QColor(0x78, 0xC0, 0xEE), QColor(0xE8, 0xF6, 0xFF));
    cloud(p, QPointF(70, 60), 26);
    box(p, QRectF(60, 80, 280, 230), QColor(0xF8, 0xF8, 0xF4));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col)
            box(p, QRectF(78 + col * 44, 100 + row * 42, 30, 26), QColor(0xA8, 0xD0, 0xE8), 1.5);
    box(p, QRectF(170, 250, 60, 60), QColor(0x9C, 0xC8, 0xDC));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3C, 0xB0, 0x78));
    p.drawRect(QRectF(190, 40, 20, 56));
    p.drawRect(QRectF(172, 58, 56, 20));
    sign(p, QRectF(150, 226, 100, 20), QColor(0xFF, 0xFF, 0xFF), QStringLiteral("アース病院"),
         QColor(0x2C, 0x80, 0x5C));
    box(p, QRectF(0, 310, 400, 90), QColor(0x8C, 0xC0, 0x78), 0);
    box(p, QRectF(150, 310, 100, 90), QColor(0xD8, 0xD4, 0xC8), 0);
    seasonTree(p, QPointF(30, 340), 70, Season::Summer);
    seasonTree(p, QPointF(370, 350), 80, Season::Summer);
    if (inBloom) {
        // September's cosmos along the path.
        const QColor colours[] = {QColor(0xF8, 0x9C, 0xC0), QColor(0xFF, 0xF4, 0xF8),
                                  QColor(0xD8, 0x4C, 0x90)};
        for (int i = 0; i < 28; ++i) {
            const QPointF c(10 + (i * 137) % 130 + (i % 2) * 250, 318 + (i * 53) % 70);
            p.setPen(QPen(QColor(0x4A, 0x8A, 0x42), 1.2));
            p.drawLine(c, c + QPointF(0, 14));
            p.setPen(Qt::NoPen);
            p.setBrush(colours[i % 3]);
            p.drawEllipse(c, 5, 5);
            p.setBrush(QColor(0xF4, 0xC8, 0x30));
            p.drawEllipse(c, 1.6, 1.6);
        }
    }
    box(p, QRectF(280, 340, 70, 10), QColor(0xA8, 0x74, 0x48));
    box(p, QRectF(286, 350, 6, 16), QColor(0x6A, 0x6A, 0x6A), 1);
    box(p, QRectF(338, 350, 6, 16), QColor(0x6A, 0x6A, 0x6A), 1);
}

} // namespace vm2::content
