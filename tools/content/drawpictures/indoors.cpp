#include "backgrounds.h"

#include <QPainterPath>
#include <QtMath>
#include <cmath>

namespace vm2::content {

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

namespace {

void crossedFrame(QPainter &p, const QRectF &pane, const QColor &frame)
{
    p.setPen(QPen(frame, 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pane);
    p.drawLine(QPointF(pane.center().x(), pane.top()), QPointF(pane.center().x(), pane.bottom()));
    p.drawLine(QPointF(pane.left(), pane.center().y()), QPointF(pane.right(), pane.center().y()));
}

// The festival night through the council room's window: the after-party's fireworks
// in the colours the fireworks picture shows and, low on the right, the comet of the
// same night, so that the room and the picture drawn over it tell one sky.
void festivalSky(QPainter &p, const QRectF &pane)
{
    skyGradient(p, pane, QColor(0x0A, 0x0E, 0x30), QColor(0x2A, 0x24, 0x5A));
    stars(p, pane.adjusted(4, 4, -4, -4), 18, 41);
    const QColor colours[] = {QColor(0xFF, 0x7A, 0xA0), QColor(0xFF, 0xD8, 0x60),
                              QColor(0x7A, 0xD8, 0xFF)};
    const QPointF centres[] = {QPointF(280, 76), QPointF(352, 66), QPointF(286, 146)};
    for (int k = 0; k < 3; ++k) {
        p.setPen(QPen(colours[k], 1.6, Qt::SolidLine, Qt::RoundCap));
        const qreal r = 20 - k * 3;
        for (int i = 0; i < 16; ++i) {
            const qreal a = i * M_PI / 8;
            const QPointF ray(std::cos(a), std::sin(a));
            p.drawLine(centres[k] + ray * r * 0.35, centres[k] + ray * r);
        }
    }
    cometInSky(p, QPointF(364, 134), QPointF(326, 172), 5);
}

// The desk lamp on the long table at night, and the warm light it throws on the
// table and the wall behind it.
void deskLamp(QPainter &p)
{
    QRadialGradient glow(QPointF(300, 262), 190);
    glow.setColorAt(0, QColor(255, 210, 130, 170));
    glow.setColorAt(0.45, QColor(255, 190, 110, 70));
    glow.setColorAt(1, QColor(255, 190, 110, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(QRectF(0, 0, 400, 400));
    // The pool of light on the table top.
    p.setBrush(QColor(255, 226, 160, 90));
    p.drawEllipse(QPointF(296, 292), 62, 9);
    box(p, QRectF(286, 284, 26, 6), QColor(0x3A, 0x3A, 0x44), 1);
    p.setPen(QPen(QColor(0x3A, 0x3A, 0x44), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(299, 284), QPointF(286, 252));
    p.drawLine(QPointF(286, 252), QPointF(304, 236));
    p.setPen(edge(QColor(0x2E, 0x5A, 0x4A)));
    p.setBrush(QColor(0x2E, 0x5A, 0x4A));
    p.drawPolygon(
        QPolygonF({QPointF(296, 232), QPointF(314, 232), QPointF(326, 254), QPointF(284, 254)}));
    QRadialGradient bulb(QPointF(305, 256), 14);
    bulb.setColorAt(0, QColor(255, 250, 220));
    bulb.setColorAt(1, QColor(255, 230, 160, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(bulb);
    p.drawEllipse(QPointF(305, 256), 14, 10);
}

} // namespace

// The student council room; its window shows the sky of the hour. At night the
// room is dark but for the desk lamp, and the window shows the festival's sky.
void council(QPainter &p, WindowLight light)
{
    box(p, QRectF(0, 0, 400, 270), QColor(0xE8, 0xEC, 0xE2), 0);
    floorBoards(p, QRectF(0, 270, 400, 130), QColor(0xB8, 0x8C, 0x60));
    const QRectF pane(250, 40, 130, 140);
    const QColor frame(0xF4, 0xF0, 0xE8);
    switch (light) {
    case WindowLight::Sunset:
        window(p, pane, QColor(0xF0, 0x9A, 0x5A), QColor(0xFC, 0xDC, 0xA0), frame);
        break;
    case WindowLight::Night:
        // Drawn over the darkened room below.
        break;
    case WindowLight::Rain:
        skyGradient(p, pane, QColor(0x4A, 0x52, 0x60), QColor(0x7A, 0x82, 0x90));
        rain(p, pane, 40, 43, QColor(220, 230, 245, 170));
        crossedFrame(p, pane, frame);
        break;
    }
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
    if (light == WindowLight::Rain) {
        // The lamps are on: the room is a shade warmer and darker than by day.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x28, 0x50, 35));
        p.drawRect(QRectF(0, 0, 400, 400));
    } else if (light == WindowLight::Night) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x0A, 0x0E, 0x2C, 190));
        p.drawRect(QRectF(0, 0, 400, 400));
        deskLamp(p);
        festivalSky(p, pane);
        crossedFrame(p, pane, QColor(0x6A, 0x64, 0x78));
    }
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
    tree(p, QPointF(330, 200), 60, leavesOf(Season::Summer));
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

// The corridor outside the wards: doors, a handrail and the light of the windows.
void corridor(QPainter &p)
{
    box(p, QRectF(0, 0, 400, 400), QColor(0xEC, 0xF0, 0xEC), 0);
    // The corridor runs away from the viewer.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xDC, 0xE4, 0xDC));
    p.drawPolygon(
        QPolygonF({QPointF(0, 0), QPointF(150, 120), QPointF(150, 250), QPointF(0, 400)}));
    p.setBrush(QColor(0xE4, 0xEA, 0xE4));
    p.drawPolygon(
        QPolygonF({QPointF(400, 0), QPointF(250, 120), QPointF(250, 250), QPointF(400, 400)}));
    p.setBrush(QColor(0xC8, 0xD0, 0xC4));
    p.drawPolygon(
        QPolygonF({QPointF(0, 400), QPointF(150, 250), QPointF(250, 250), QPointF(400, 400)}));
    box(p, QRectF(150, 120, 100, 130), QColor(0xF8, 0xFA, 0xF4), 1);
    window(p, QRectF(172, 140, 56, 60), QColor(0x9C, 0xCC, 0xF0), QColor(0xE4, 0xF4, 0xFF),
           QColor(0xFF, 0xFF, 0xFF), false);
    // Doors on the left wall, in perspective.
    for (int i = 0; i < 2; ++i) {
        const qreal x0 = 20 + i * 70, x1 = x0 + 40;
        const qreal t0 = 40 + x0 * 0.8, t1 = 40 + x1 * 0.8;
        p.setBrush(QColor(0xB8, 0xCC, 0xD8));
        p.setPen(edge(QColor(0xB8, 0xCC, 0xD8), 1.5));
        p.drawPolygon(QPolygonF({QPointF(x0, t0), QPointF(x1, t1), QPointF(x1, 400 - x1 * 1.0 + 10),
                                 QPointF(x0, 400 - x0 * 1.0 + 10)}));
    }
    // Name plate by the first door, and the handrail on the right.
    box(p, QRectF(66, 100, 22, 12), QColor(0xFF, 0xFF, 0xFF), 1);
    p.setPen(QPen(QColor(0xA8, 0x84, 0x5C), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(400, 250), QPointF(250, 205));
    // Ceiling lights.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xFF, 0xF0));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(100 + i * 35, 12 + i * 40, 200 - i * 70, 8 - i * 2));
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
    // The hall before the stage, empty: a bare floor, the bar and two stools.
    floorBoards(p, QRectF(0, 300, 400, 100), QColor(0x3A, 0x30, 0x40));
    box(p, QRectF(300, 330, 100, 22), QColor(0x5A, 0x40, 0x30));
    box(p, QRectF(310, 352, 90, 48), QColor(0x3A, 0x2A, 0x22));
    for (qreal x : {60.0, 130.0}) {
        p.setPen(QPen(QColor(0x80, 0x80, 0x90), 3));
        p.drawLine(QPointF(x, 352), QPointF(x - 10, 392));
        p.drawLine(QPointF(x, 352), QPointF(x + 10, 392));
        p.setPen(QPen(QColor(0x20, 0x18, 0x20), 1.5));
        p.setBrush(QColor(0xA8, 0x30, 0x40));
        p.drawEllipse(QPointF(x, 350), 18, 6);
    }
    sign(p, QRectF(130, 40, 140, 30), QColor(0x30, 0x18, 0x40), QStringLiteral("LIVE HOUSE"),
         QColor(0xFF, 0x80, 0xC0));
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

} // namespace vm2::content
