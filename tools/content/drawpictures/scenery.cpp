#include "scenery.h"

#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>
#include <functional>
#include <map>

namespace vm2::content {

namespace {

QPen edge(const QColor &c, qreal w = 2)
{
    return QPen(c.darker(170), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void box(QPainter &p, const QRectF &r, const QColor &c, qreal pen = 2)
{
    p.setPen(pen > 0 ? edge(c, pen) : QPen(Qt::NoPen));
    p.setBrush(c);
    p.drawRect(r);
}

void cloud(QPainter &p, QPointF c, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(c, s, s * 0.55);
    p.drawEllipse(c + QPointF(-s * 0.7, s * 0.15), s * 0.6, s * 0.4);
    p.drawEllipse(c + QPointF(s * 0.75, s * 0.12), s * 0.65, s * 0.42);
}

void window(QPainter &p, const QRectF &r, const QColor &sky1, const QColor &sky2,
            const QColor &frame)
{
    skyGradient(p, r, sky1, sky2);
    cloud(p, r.center() + QPointF(-r.width() * 0.15, -r.height() * 0.15), r.width() * 0.14);
    p.setPen(QPen(frame, 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void floorBoards(QPainter &p, const QRectF &r, const QColor &c)
{
    box(p, r, c, 0);
    p.setPen(QPen(c.darker(125), 1.5));
    for (qreal x = r.left() - r.height(); x < r.right() + r.height(); x += 34)
        p.drawLine(QPointF(200 + (x - 200) * 0.6, r.top()), QPointF(x, r.bottom()));
}

void sign(QPainter &p, const QRectF &r, const QColor &c, const QString &text, const QColor &ink)
{
    p.setPen(edge(c, 2));
    p.setBrush(c);
    p.drawRoundedRect(r, 4, 4);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(static_cast<int>(r.height() * 0.6));
    font.setBold(true);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(r, Qt::AlignCenter, text);
}

void bedroom(QPainter &p)
{
    box(p, QRectF(0, 0, 400, 280), QColor(0xF3, 0xE6, 0xCF), 0);
    p.setPen(QPen(QColor(0xE6, 0xD3, 0xB4), 2));
    for (int x = 0; x < 400; x += 24)
        p.drawLine(x, 0, x, 280);
    floorBoards(p, QRectF(0, 280, 400, 120), QColor(0xC8, 0x93, 0x5E));
    window(p, QRectF(40, 50, 150, 130), QColor(0x7C, 0xB8, 0xF0), QColor(0xD6, 0xEE, 0xFF),
           QColor(0xFF, 0xFF, 0xFF));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8F, 0xB8, 0x8A));
    p.drawRect(QRectF(28, 40, 22, 160));
    p.drawRect(QRectF(180, 40, 22, 160));
    // Bed.
    box(p, QRectF(220, 220, 180, 90), QColor(0x9A, 0x6A, 0x44));
    box(p, QRectF(226, 196, 174, 60), QColor(0x6E, 0x9E, 0xD8));
    box(p, QRectF(232, 184, 60, 30), QColor(0xFF, 0xFF, 0xF4));
    // Desk and lamp.
    box(p, QRectF(20, 230, 150, 14), QColor(0xA8, 0x74, 0x48));
    box(p, QRectF(30, 244, 12, 70), QColor(0x8A, 0x5E, 0x3A));
    box(p, QRectF(150, 244, 12, 70), QColor(0x8A, 0x5E, 0x3A));
    box(p, QRectF(60, 200, 40, 30), QColor(0x50, 0x60, 0x70));
    p.setPen(edge(QColor(0xF4, 0xD0, 0x60)));
    p.setBrush(QColor(0xF8, 0xDC, 0x70));
    p.drawPolygon(
        QPolygonF({QPointF(125, 185), QPointF(150, 185), QPointF(158, 205), QPointF(117, 205)}));
    box(p, QRectF(135, 205, 5, 25), QColor(0x60, 0x60, 0x60), 1);
    // A poster with a star.
    box(p, QRectF(260, 50, 80, 100), QColor(0x2E, 0x3A, 0x6E));
    stars(p, QRectF(264, 54, 72, 92), 12, 7);
}

void schoolBuilding(QPainter &p, const QRectF &r, const QColor &wall)
{
    box(p, r, wall);
    for (int row = 0; row < 3; ++row) {
        for (qreal x = r.left() + 14; x + 28 < r.right(); x += 38)
            box(p, QRectF(x, r.top() + 40 + row * 48, 26, 30), QColor(0x9C, 0xC8, 0xE8), 1.5);
    }
}

void school(QPainter &p)
{
    skyGradient(p, QRectF(0, 0, 400, 260), QColor(0x5E, 0xA8, 0xEC), QColor(0xCF, 0xEA, 0xFF));
    cloud(p, QPointF(80, 50), 30);
    cloud(p, QPointF(320, 70), 24);
    schoolBuilding(p, QRectF(30, 110, 340, 180), QColor(0xF2, 0xEA, 0xDC));
    // The clock tower.
    box(p, QRectF(170, 50, 60, 70), QColor(0xF2, 0xEA, 0xDC));
    p.setPen(edge(QColor(0xFF, 0xFF, 0xFF)));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(200, 82), 20, 20);
    p.setPen(QPen(QColor(0x30, 0x30, 0x40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(200, 82), QPointF(200, 68));
    p.drawLine(QPointF(200, 82), QPointF(211, 86));
    p.setPen(edge(QColor(0x4A, 0x6E, 0xA8)));
    p.setBrush(QColor(0x4A, 0x6E, 0xA8));
    p.drawPolygon(QPolygonF({QPointF(162, 52), QPointF(238, 52), QPointF(200, 24)}));
    box(p, QRectF(0, 290, 400, 110), QColor(0xD8, 0xC2, 0x9A), 0);
    // The gate and its plate.
    box(p, QRectF(60, 250, 16, 90), QColor(0x9A, 0x9A, 0x9A));
    box(p, QRectF(324, 250, 16, 90), QColor(0x9A, 0x9A, 0x9A));
    sign(p, QRectF(86, 262, 80, 24), QColor(0xF8, 0xF4, 0xE8), QStringLiteral("アース学園"),
         QColor(0x30, 0x30, 0x40));
    blossomTree(p, QPointF(20, 330), 70);
    blossomTree(p, QPointF(385, 340), 80);
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

void hospital(QPainter &p)
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
    tree(p, QPointF(30, 340), 70, QColor(0x4A, 0x96, 0x52));
    tree(p, QPointF(370, 350), 80, QColor(0x3E, 0x8A, 0x4A));
    box(p, QRectF(280, 340, 70, 10), QColor(0xA8, 0x74, 0x48));
    box(p, QRectF(286, 350, 6, 16), QColor(0x6A, 0x6A, 0x6A), 1);
    box(p, QRectF(338, 350, 6, 16), QColor(0x6A, 0x6A, 0x6A), 1);
}

void council(QPainter &p)
{
    box(p, QRectF(0, 0, 400, 270), QColor(0xE8, 0xEC, 0xE2), 0);
    floorBoards(p, QRectF(0, 270, 400, 130), QColor(0xB8, 0x8C, 0x60));
    window(p, QRectF(250, 40, 130, 140), QColor(0xF0, 0x9A, 0x5A), QColor(0xFC, 0xDC, 0xA0),
           QColor(0xF4, 0xF0, 0xE8));
    // Whiteboard with a plan.
    box(p, QRectF(30, 50, 190, 110), QColor(0xFC, 0xFC, 0xFA));
    p.setPen(QPen(QColor(0x3A, 0x6E, 0xC0), 2));
    p.drawLine(45, 75, 150, 75);
    p.drawLine(45, 100, 190, 100);
    p.drawLine(45, 125, 120, 125);
    p.setPen(QPen(QColor(0xD0, 0x40, 0x40), 2));
    p.drawEllipse(QPointF(175, 120), 18, 12);
    // Bookshelf of files.
    box(p, QRectF(30, 170, 110, 100), QColor(0x9A, 0x6E, 0x46));
    const QColor files[] = {QColor(0x4A, 0x78, 0xC0), QColor(0xE0, 0xB0, 0x40),
                            QColor(0x5C, 0xA8, 0x6C), QColor(0xC8, 0x50, 0x50)};
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 8; ++i)
            box(p, QRectF(36 + i * 12.5, 178 + row * 46, 10, 38), files[(i + row) % 4], 1);
    // The long table.
    box(p, QRectF(40, 290, 320, 24), QColor(0x8A, 0x5A, 0x36));
    box(p, QRectF(56, 314, 12, 70), QColor(0x6E, 0x46, 0x2A));
    box(p, QRectF(332, 314, 12, 70), QColor(0x6E, 0x46, 0x2A));
    box(p, QRectF(120, 278, 60, 12), QColor(0xFF, 0xFF, 0xF8), 1);
    box(p, QRectF(230, 280, 40, 10), QColor(0xFF, 0xFF, 0xF8), 1);
}

void base(QPainter &p)
{
    for (int i = 0; i < 10; ++i)
        box(p, QRectF(i * 40, 0, 40, 300),
            i % 2 ? QColor(0xA0, 0x6C, 0x40) : QColor(0xAC, 0x76, 0x48), 1.5);
    floorBoards(p, QRectF(0, 300, 400, 100), QColor(0x84, 0x58, 0x34));
    // Lantern light.
    QRadialGradient glow(QPointF(300, 110), 160);
    glow.setColorAt(0, QColor(255, 220, 140, 150));
    glow.setColorAt(1, QColor(255, 220, 140, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(QRectF(0, 0, 400, 400));
    box(p, QRectF(290, 60, 20, 10), QColor(0x50, 0x50, 0x50), 1);
    p.setPen(edge(QColor(0xFF, 0xD8, 0x80)));
    p.setBrush(QColor(0xFF, 0xE2, 0x90));
    p.drawRoundedRect(QRectF(286, 70, 28, 40), 6, 6);
    // A map pinned to the wall.
    box(p, QRectF(40, 60, 150, 100), QColor(0xF4, 0xE8, 0xC4));
    p.setPen(QPen(QColor(0x6A, 0x8C, 0x5A), 2));
    p.drawPolyline(
        QPolygonF({QPointF(55, 140), QPointF(90, 100), QPointF(120, 120), QPointF(175, 75)}));
    p.setPen(QPen(QColor(0xC8, 0x40, 0x40), 3));
    p.drawLine(168, 70, 180, 82);
    p.drawLine(180, 70, 168, 82);
    // Telescope on its tripod.
    p.setPen(QPen(QColor(0x3A, 0x3A, 0x44), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(250, 250), QPointF(220, 330));
    p.drawLine(QPointF(250, 250), QPointF(280, 330));
    p.drawLine(QPointF(250, 250), QPointF(252, 335));
    p.save();
    p.translate(250, 245);
    p.rotate(-30);
    box(p, QRectF(-50, -12, 120, 24), QColor(0xE8, 0xE8, 0xF0));
    box(p, QRectF(60, -15, 16, 30), QColor(0x40, 0x50, 0x90));
    p.restore();
    // Crates.
    box(p, QRectF(40, 280, 80, 60), QColor(0xC8, 0x9A, 0x5A));
    box(p, QRectF(60, 240, 56, 40), QColor(0xB8, 0x8A, 0x4C));
}

void ward(QPainter &p)
{
    box(p, QRectF(0, 0, 400, 290), QColor(0xEE, 0xF4, 0xEE), 0);
    box(p, QRectF(0, 290, 400, 110), QColor(0xD8, 0xDC, 0xD0), 0);
    window(p, QRectF(200, 40, 170, 150), QColor(0x88, 0xC4, 0xF0), QColor(0xE4, 0xF4, 0xFF),
           QColor(0xFF, 0xFF, 0xFF));
    blossomTree(p, QPointF(330, 200), 60);
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(200, 40, 170, 150));
    // Curtain.
    p.setPen(edge(QColor(0xC8, 0xE0, 0xD0), 1.5));
    p.setBrush(QColor(0xC8, 0xE0, 0xD0));
    p.drawRect(QRectF(20, 20, 100, 280));
    p.setPen(QPen(QColor(0x9A, 0xC0, 0xA8), 1.5));
    for (int i = 1; i < 6; ++i)
        p.drawLine(20 + i * 17, 20, 20 + i * 17, 300);
    box(p, QRectF(0, 14, 400, 6), QColor(0xB0, 0xB0, 0xB8), 1);
    // Bed.
    box(p, QRectF(130, 230, 270, 100), QColor(0xFC, 0xFC, 0xFC));
    box(p, QRectF(130, 260, 270, 70), QColor(0xB8, 0xD8, 0xF0));
    box(p, QRectF(372, 200, 12, 150), QColor(0xA0, 0xA8, 0xB0));
    // Flowers.
    box(p, QRectF(150, 190, 24, 36), QColor(0xB0, 0xD8, 0xF0));
    const QColor petals[] = {QColor(0xF4, 0x8C, 0xA8), QColor(0xFF, 0xD0, 0x50),
                             QColor(0xF4, 0x8C, 0xA8)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(0x4A, 0x96, 0x52), 2));
        p.drawLine(QPointF(162, 192), QPointF(148 + i * 14, 165));
        p.setPen(Qt::NoPen);
        p.setBrush(petals[i]);
        p.drawEllipse(QPointF(148 + i * 14, 162), 8, 8);
    }
}

void street(QPainter &p)
{
    skyGradient(p, QRectF(0, 0, 400, 240), QColor(0x6A, 0x5A, 0xA8), QColor(0xF8, 0xB0, 0x80));
    const QColor shops[] = {QColor(0xE8, 0xC8, 0xA0), QColor(0xC8, 0xD8, 0xE8),
                            QColor(0xF0, 0xD8, 0xD8), QColor(0xD8, 0xE8, 0xC8)};
    const QColor awnings[] = {QColor(0xD0, 0x50, 0x50), QColor(0x40, 0x80, 0xC0),
                              QColor(0xE0, 0x90, 0x30), QColor(0x50, 0xA0, 0x60)};
    for (int i = 0; i < 4; ++i) {
        const qreal x = i * 100;
        const qreal top = 90 + (i % 2) * 30;
        box(p, QRectF(x, top, 100, 200 - top + 90), shops[i]);
        box(p, QRectF(x + 15, top + 20, 70, 40), QColor(0xFF, 0xF0, 0xB0), 1.5);
        p.setPen(edge(awnings[i]));
        p.setBrush(awnings[i]);
        p.drawPolygon(QPolygonF(
            {QPointF(x + 5, 230), QPointF(x + 95, 230), QPointF(x + 100, 255), QPointF(x, 255)}));
        box(p, QRectF(x + 20, 255, 60, 35), QColor(0xFF, 0xE8, 0xA0), 1.5);
    }
    sign(p, QRectF(110, 160, 80, 22), QColor(0x30, 0x30, 0x40), QStringLiteral("LIVE"),
         QColor(0xFF, 0xD0, 0x40));
    // Pavement in perspective.
    box(p, QRectF(0, 290, 400, 110), QColor(0xB0, 0xA8, 0xA0), 0);
    p.setPen(QPen(QColor(0x98, 0x90, 0x88), 1.5));
    for (int i = 0; i <= 10; ++i)
        p.drawLine(QPointF(200 + (i - 5) * 14, 290), QPointF(200 + (i - 5) * 90, 400));
    for (qreal y = 300; y < 400; y += (y - 270) * 0.35)
        p.drawLine(QPointF(0, y), QPointF(400, y));
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
}

void livehouse(QPainter &p)
{
    box(p, QRectF(0, 0, 400, 400), QColor(0x1A, 0x14, 0x2A), 0);
    // Spotlights.
    const QColor beams[] = {QColor(255, 80, 160, 90), QColor(80, 160, 255, 90),
                            QColor(255, 220, 90, 90)};
    for (int i = 0; i < 3; ++i) {
        const qreal x = 80 + i * 120;
        p.setPen(Qt::NoPen);
        p.setBrush(beams[i]);
        p.drawPolygon(QPolygonF({QPointF(x - 8, 20), QPointF(x + 8, 20),
                                 QPointF(x + 80 - i * 40, 290), QPointF(x - 40 - i * 10, 290)}));
        box(p, QRectF(x - 12, 8, 24, 16), QColor(0x50, 0x50, 0x60), 1);
    }
    // The stage.
    box(p, QRectF(0, 270, 400, 30), QColor(0x4A, 0x34, 0x2A));
    box(p, QRectF(0, 300, 400, 100), QColor(0x22, 0x1C, 0x30), 0);
    // Amplifiers and the microphone stand.
    box(p, QRectF(30, 200, 60, 70), QColor(0x2A, 0x2A, 0x30));
    box(p, QRectF(310, 200, 60, 70), QColor(0x2A, 0x2A, 0x30));
    for (qreal x : {60.0, 340.0}) {
        p.setPen(QPen(QColor(0x60, 0x60, 0x70), 2));
        p.setBrush(QColor(0x14, 0x14, 0x18));
        p.drawEllipse(QPointF(x, 235), 20, 20);
    }
    p.setPen(QPen(QColor(0xB0, 0xB0, 0xC0), 3));
    p.drawLine(QPointF(200, 190), QPointF(200, 270));
    p.drawLine(QPointF(185, 270), QPointF(215, 270));
    p.setBrush(QColor(0x30, 0x30, 0x38));
    p.drawEllipse(QPointF(200, 184), 7, 9);
    // The audience's heads.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0C, 0x08, 0x14));
    for (int i = 0; i < 9; ++i) {
        const qreal x = 20 + i * 46;
        p.drawEllipse(QPointF(x, 360 + (i % 2) * 8), 20, 22);
        p.drawRect(QRectF(x - 26, 370 + (i % 2) * 8, 52, 40));
    }
    sign(p, QRectF(130, 40, 140, 30), QColor(0x30, 0x18, 0x40), QStringLiteral("LIVE HOUSE"),
         QColor(0xFF, 0x80, 0xC0));
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

void library(QPainter &p)
{
    box(p, QRectF(0, 0, 400, 400), QColor(0xF0, 0xE6, 0xD2), 0);
    window(p, QRectF(150, 30, 100, 120), QColor(0x9C, 0xCC, 0xF0), QColor(0xEC, 0xF8, 0xFF),
           QColor(0xF8, 0xF0, 0xE0));
    const QColor spines[] = {QColor(0x8A, 0x3A, 0x3A), QColor(0x3A, 0x5A, 0x8A),
                             QColor(0x4A, 0x7A, 0x4A), QColor(0xC8, 0x98, 0x40),
                             QColor(0x6A, 0x4A, 0x7A)};
    for (qreal x0 : {10.0, 270.0}) {
        box(p, QRectF(x0, 20, 120, 330), QColor(0x8A, 0x5E, 0x3A));
        for (int row = 0; row < 6; ++row) {
            qreal x = x0 + 6;
            int i = row * 3;
            while (x < x0 + 110) {
                const qreal w = 8 + (i * 7 % 6);
                box(p, QRectF(x, 28 + row * 53, w, 44 - (i % 3) * 4 + 0.0), spines[i % 5], 1);
                x += w + 1;
                ++i;
            }
        }
    }
    box(p, QRectF(130, 300, 140, 16), QColor(0xA8, 0x74, 0x48));
    box(p, QRectF(140, 316, 10, 60), QColor(0x8A, 0x5E, 0x3A));
    box(p, QRectF(250, 316, 10, 60), QColor(0x8A, 0x5E, 0x3A));
    box(p, QRectF(170, 288, 50, 12), QColor(0xF8, 0xF4, 0xE8), 1);
    floorBoards(p, QRectF(0, 376, 400, 24), QColor(0xB0, 0x84, 0x58));
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

} // namespace

void skyGradient(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(r);
}

void stars(QPainter &p, const QRectF &r, int count, quint32 seed)
{
    QRandomGenerator random(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(r.left() + random.bounded(r.width()), r.top() + random.bounded(r.height()));
        const qreal s = 0.8 + random.bounded(2.0);
        p.setBrush(QColor(255, 250, 220, 150 + random.bounded(100)));
        p.drawEllipse(c, s, s);
    }
}

void tree(QPainter &p, QPointF foot, qreal size, const QColor &leaves)
{
    p.setPen(edge(QColor(0x7A, 0x52, 0x32), 1.5));
    p.setBrush(QColor(0x7A, 0x52, 0x32));
    p.drawRect(QRectF(foot.x() - size * 0.08, foot.y() - size * 0.7, size * 0.16, size * 0.7));
    p.setPen(edge(leaves, 1.5));
    p.setBrush(leaves);
    p.drawEllipse(QPointF(foot.x(), foot.y() - size * 0.95), size * 0.5, size * 0.42);
    p.setBrush(leaves.lighter(115));
    p.drawEllipse(QPointF(foot.x() - size * 0.15, foot.y() - size * 1.05), size * 0.28,
                  size * 0.22);
}

void blossomTree(QPainter &p, QPointF foot, qreal size)
{
    tree(p, foot, size, QColor(0xF6, 0xB8, 0xCC));
    QRandomGenerator random(static_cast<quint32>(foot.x() * 31 + foot.y()));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 24; ++i) {
        p.setBrush(QColor(0xFF, 0xE0, 0xEA, 220));
        const QPointF c(foot.x() + random.bounded(size) - size / 2,
                        foot.y() - size * 0.95 + random.bounded(size * 0.7) - size * 0.35);
        p.drawEllipse(c, 3.5, 3.5);
    }
}

QImage drawBackground(const QString &scene)
{
    static const std::map<QString, std::function<void(QPainter &)>> scenes{
        {QStringLiteral("bedroom"), bedroom},
        {QStringLiteral("school"), school},
        {QStringLiteral("hill"), hill},
        {QStringLiteral("hospital"), hospital},
        {QStringLiteral("council"), council},
        {QStringLiteral("base"), base},
        {QStringLiteral("ward"), ward},
        {QStringLiteral("street"), street},
        {QStringLiteral("livehouse"), livehouse},
        {QStringLiteral("rooftop"), rooftop},
        {QStringLiteral("parknight"), parkNight},
        {QStringLiteral("library"), library},
        {QStringLiteral("sea"), sea},
    };
    const auto it = scenes.find(scene);
    if (it == scenes.end())
        return QImage();
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    it->second(p);
    return image;
}

} // namespace vm2::content
