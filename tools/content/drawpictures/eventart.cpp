#include "eventart.h"

#include "figure.h"
#include "sceneryparts.h"

#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>

namespace vm2::content {

namespace {

// A person at `origin`, drawn at `scale` of the 300 × 400 body frame.
void person(QPainter &p, const FigureRecipe *f, QPointF origin, qreal scale, int expression)
{
    if (!f)
        return;
    p.save();
    p.translate(origin);
    p.scale(scale, scale);
    drawFigure(p, *f, expression);
    p.restore();
}

// A person as a dark shape against the light.
void silhouette(QPainter &p, const FigureRecipe *f, QPointF origin, qreal scale,
                const QColor &colour)
{
    if (!f)
        return;
    QImage shape = renderFigure(*f, Calm);
    QPainter sp(&shape);
    sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
    sp.fillRect(shape.rect(), colour);
    sp.end();
    p.save();
    p.translate(origin);
    p.scale(scale, scale);
    p.drawImage(0, 0, shape);
    p.restore();
}

void petals(QPainter &p, int count, quint32 seed, const QColor &colour)
{
    QRandomGenerator random(seed);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(random.bounded(400.0), random.bounded(400.0));
        p.rotate(random.bounded(180.0));
        p.drawEllipse(QPointF(0, 0), 5, 2.8);
        p.restore();
    }
}

void nightHill(QPainter &p)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0x08, 0x0C, 0x2C), QColor(0x30, 0x2C, 0x6A));
    // The Milky Way.
    p.save();
    p.translate(200, 160);
    p.rotate(-25);
    QRadialGradient band(QPointF(0, 0), 260);
    band.setColorAt(0, QColor(200, 190, 255, 70));
    band.setColorAt(1, QColor(200, 190, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawEllipse(QPointF(0, 0), 260, 50);
    p.restore();
    stars(p, QRectF(0, 0, 400, 300), 160, 21);
}

} // namespace

void sunsetWindow(QPainter &p, const People &people)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0xF4, 0x7A, 0x4A), QColor(0xFC, 0xD8, 0x90));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xF0, 0xC0));
    p.drawEllipse(QPointF(120, 250), 46, 46);
    p.setBrush(QColor(0xB0, 0x5A, 0x50));
    for (int i = 0; i < 10; ++i)
        p.drawRect(QRectF(i * 42, 300 - (i * 29 % 60), 38, 120));
    silhouette(p, people.value(0), QPointF(170, 40), 0.95, QColor(0x3A, 0x22, 0x30));
    p.setPen(QPen(QColor(0x5A, 0x36, 0x30), 14));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0, 0, 400, 400));
    p.drawLine(200, 0, 200, 400);
    p.drawLine(0, 200, 400, 200);
}

void umbrella(QPainter &p, const People &people)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0x5A, 0x6A, 0x80), QColor(0x9A, 0xAA, 0xB8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x70, 0x7C, 0x8C));
    p.drawRect(QRectF(0, 300, 400, 100));
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(0xA8, 0xB4, 0xC4, 120));
        p.drawEllipse(QPointF(30 + i * 70, 340 + (i % 2) * 25), 26, 6);
    }
    silhouette(p, people.value(0), QPointF(70, 120), 0.72, QColor(0x2C, 0x30, 0x44));
    silhouette(p, people.value(1), QPointF(150, 130), 0.7, QColor(0x34, 0x2C, 0x44));
    // The one umbrella over both.
    QPainterPath dome;
    dome.moveTo(70, 150);
    dome.cubicTo(90, 40, 310, 40, 330, 150);
    for (int i = 0; i < 6; ++i)
        dome.quadTo(330 - i * 43.3 - 21, 135, 330 - (i + 1) * 43.3, 150);
    p.setPen(QPen(QColor(0x7A, 0x20, 0x40), 2));
    p.setBrush(QColor(0xE8, 0x5A, 0x82));
    p.drawPath(dome);
    p.setPen(QPen(QColor(0x4A, 0x30, 0x30), 4));
    p.drawLine(QPointF(200, 70), QPointF(200, 260));
    rain(p, QRectF(0, 0, 400, 400), 160, 3);
}

void starBase(QPainter &p, const People &people)
{
    nightHill(p);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x1C, 0x18));
    p.drawEllipse(QPointF(200, 470), 320, 160);
    // The hut.
    p.setBrush(QColor(0x18, 0x14, 0x14));
    p.drawRect(QRectF(280, 250, 90, 70));
    p.drawPolygon(QPolygonF({QPointF(270, 252), QPointF(380, 252), QPointF(325, 210)}));
    p.setBrush(QColor(0xFF, 0xD8, 0x80));
    p.drawRect(QRectF(300, 270, 20, 18));
    silhouette(p, people.value(0), QPointF(60, 200), 0.45, QColor(0x0C, 0x0C, 0x14));
    silhouette(p, people.value(1), QPointF(130, 205), 0.43, QColor(0x0C, 0x0C, 0x14));
}

void comet(QPainter &p, const People &people)
{
    nightHill(p);
    // The comet and its tail.
    QLinearGradient tail(QPointF(300, 80), QPointF(60, 200));
    tail.setColorAt(0, QColor(220, 250, 255, 230));
    tail.setColorAt(1, QColor(120, 200, 255, 0));
    QPainterPath t;
    t.moveTo(300, 76);
    t.lineTo(40, 170);
    t.lineTo(60, 220);
    t.lineTo(304, 86);
    t.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(tail);
    p.drawPath(t);
    QRadialGradient head(QPointF(302, 80), 20);
    head.setColorAt(0, QColor(255, 255, 255));
    head.setColorAt(1, QColor(180, 230, 255, 0));
    p.setBrush(head);
    p.drawEllipse(QPointF(302, 80), 20, 20);
    p.setBrush(QColor(0x12, 0x20, 0x1A));
    p.drawEllipse(QPointF(180, 480), 340, 170);
    silhouette(p, people.value(0), QPointF(150, 230), 0.5, QColor(0x08, 0x0C, 0x10));
    silhouette(p, people.value(1), QPointF(210, 226), 0.5, QColor(0x08, 0x0C, 0x10));
}

void sakura(QPainter &p, const People &people)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0x8C, 0xC8, 0xF4), QColor(0xF0, 0xF8, 0xFF));
    blossomTree(p, QPointF(300, 300), 200);
    blossomTree(p, QPointF(60, 330), 140);
    petals(p, 60, 5, QColor(0xFF, 0xC8, 0xD8));
    person(p, people.value(0), QPointF(20, 10), 1.0, Happy);
    p.setPen(QPen(QColor(0xF8, 0xF8, 0xF8), 16));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0, 0, 400, 400));
}

void cranes(QPainter &p, const People &)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0xF4, 0xF0, 0xE6), QColor(0xE0, 0xEC, 0xE8));
    const QColor colours[] = {QColor(0xE8, 0x5A, 0x6A), QColor(0xF0, 0xB0, 0x3A),
                              QColor(0x5A, 0xA8, 0xD8), QColor(0x6C, 0xC0, 0x7A),
                              QColor(0xB0, 0x7A, 0xD8), QColor(0xF4, 0x8C, 0xB4)};
    for (int s = 0; s < 7; ++s) {
        const qreal x = 40 + s * 53;
        p.setPen(QPen(QColor(0x90, 0x80, 0x70), 1.2));
        p.drawLine(QPointF(x, 0), QPointF(x, 400));
        for (int k = 0; k < 7; ++k) {
            const QPointF c(x, 30 + k * 52 + (s % 2) * 20);
            const QColor col = colours[(s + k) % 6];
            p.setPen(QPen(col.darker(150), 1.2));
            p.setBrush(col);
            p.drawPolygon(QPolygonF({c + QPointF(-20, -6), c + QPointF(0, 4), c + QPointF(20, -6),
                                     c + QPointF(0, 12)}));
            p.setBrush(col.lighter(120));
            p.drawPolygon(QPolygonF({c + QPointF(-3, 0), c + QPointF(3, 0), c + QPointF(0, -16)}));
        }
    }
}

void busking(QPainter &p, const People &people)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0x1C, 0x1A, 0x3A), QColor(0x4A, 0x3A, 0x5A));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.setBrush(QColor(0x2A, 0x26, 0x44));
        p.drawRect(QRectF(i * 84, 60 + (i % 2) * 40, 80, 300));
        p.setBrush(QColor(0xFF, 0xD8, 0x90, 160));
        p.drawRect(QRectF(i * 84 + 16, 100 + (i % 2) * 40, 20, 16));
    }
    QRadialGradient spot(QPointF(200, 300), 180);
    spot.setColorAt(0, QColor(255, 240, 200, 180));
    spot.setColorAt(1, QColor(255, 240, 200, 0));
    p.setBrush(spot);
    p.drawRect(QRectF(0, 0, 400, 400));
    person(p, people.value(0), QPointF(65, 40), 0.9, Calm);
    rain(p, QRectF(0, 0, 400, 400), 120, 9);
}

void stage(QPainter &p, const People &people)
{
    p.fillRect(QRectF(0, 0, 400, 400), QColor(0x16, 0x10, 0x26));
    const QColor beams[] = {QColor(255, 90, 170, 110), QColor(90, 170, 255, 110),
                            QColor(255, 230, 100, 110)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(beams[i]);
        const qreal x = 60 + i * 140;
        p.drawPolygon(QPolygonF({QPointF(x - 6, 0), QPointF(x + 6, 0), QPointF(260 - i * 20, 400),
                                 QPointF(140 - i * 20, 400)}));
    }
    person(p, people.value(0), QPointF(50, 30), 1.0, Happy);
    // Hands of the crowd.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x08, 0x06, 0x10));
    for (int i = 0; i < 10; ++i) {
        const qreal x = 10 + i * 42;
        p.drawEllipse(QPointF(x, 390), 22, 26);
        p.drawRect(QRectF(x + 10, 320 + (i % 3) * 10, 8, 60));
        p.drawEllipse(QPointF(x + 14, 318 + (i % 3) * 10), 7, 9);
    }
    stars(p, QRectF(0, 0, 400, 120), 30, 4);
}

void fireworks(QPainter &p, const People &people)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0x0A, 0x0E, 0x30), QColor(0x2A, 0x24, 0x5A));
    const QColor colours[] = {QColor(0xFF, 0x7A, 0xA0), QColor(0xFF, 0xD8, 0x60),
                              QColor(0x7A, 0xD8, 0xFF)};
    const QPointF centres[] = {QPointF(100, 90), QPointF(300, 70), QPointF(220, 170)};
    for (int k = 0; k < 3; ++k) {
        p.setPen(QPen(colours[k], 2.4, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 24; ++i) {
            const qreal a = i * M_PI / 12;
            const qreal r = 60 - k * 8;
            p.drawLine(centres[k] + QPointF(std::cos(a), std::sin(a)) * r * 0.35,
                       centres[k] + QPointF(std::cos(a), std::sin(a)) * r);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x10, 0x1A));
    p.drawRect(QRectF(0, 330, 400, 70));
    silhouette(p, people.value(0), QPointF(120, 220), 0.45, QColor(0x12, 0x10, 0x1C));
    silhouette(p, people.value(1), QPointF(190, 216), 0.45, QColor(0x12, 0x10, 0x1C));
}

void party(QPainter &p, const People &people)
{
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0xFF, 0xE8, 0xF0), QColor(0xFF, 0xF8, 0xE0));
    petals(p, 80, 13, QColor(0xFF, 0xB0, 0xC8));
    petals(p, 50, 17, QColor(0xA0, 0xD0, 0xFF));
    const int n = static_cast<int>(people.size());
    for (int i = 0; i < n; ++i)
        person(p, people.at(i), QPointF(-40 + i * 100.0, 150 + (i % 2) * 16), 0.62, Happy);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(40);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0xE0, 0x4A, 0x7A));
    p.drawText(QRectF(0, 40, 400, 60), Qt::AlignCenter, QStringLiteral("Thank you!"));
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(QColor(0x6A, 0x4A, 0x8A));
    p.drawText(QRectF(0, 96, 400, 30), Qt::AlignCenter, QStringLiteral("ありがとう、また会おうね"));
}

void letter(QPainter &p, const People &)
{
    // A letter on the desk by the window, and the paper crane that came with it.
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0xF6, 0xEC, 0xDA), QColor(0xE8, 0xD8, 0xBC));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xB8, 0x86, 0x56));
    p.drawRect(QRectF(0, 250, 400, 150));
    p.save();
    p.translate(190, 250);
    p.rotate(-8);
    p.setPen(QPen(QColor(0xC8, 0xB8, 0xA0), 1.5));
    p.setBrush(QColor(0xFF, 0xFE, 0xF8));
    p.drawRect(QRectF(-130, -170, 230, 250));
    p.setPen(QPen(QColor(0x9C, 0xB8, 0xD8), 1.2));
    for (int row = 0; row < 10; ++row)
        p.drawLine(QPointF(-112, -140 + row * 22), QPointF(82, -140 + row * 22));
    p.setPen(QPen(QColor(0x5A, 0x5A, 0x7A), 2, Qt::SolidLine, Qt::RoundCap));
    for (int row = 0; row < 8; ++row) {
        const qreal w = 150 - (row * 37 % 70);
        p.drawLine(QPointF(-104, -146 + row * 22), QPointF(-104 + w, -146 + row * 22));
    }
    p.restore();
    // The crane, folded from cherry-coloured paper.
    const QPointF c(300, 300);
    p.setPen(QPen(QColor(0xC8, 0x5A, 0x7A), 1.5));
    p.setBrush(QColor(0xF8, 0xA8, 0xC0));
    p.drawPolygon(QPolygonF(
        {c + QPointF(-50, -14), c + QPointF(0, 8), c + QPointF(50, -14), c + QPointF(0, 26)}));
    p.setBrush(QColor(0xFC, 0xC4, 0xD4));
    p.drawPolygon(QPolygonF({c + QPointF(-8, 4), c + QPointF(8, 4), c + QPointF(0, -40)}));
    p.drawPolygon(QPolygonF(
        {c + QPointF(0, 4), c + QPointF(34, -36), c + QPointF(40, -30), c + QPointF(8, 12)}));
    petals(p, 12, 19, QColor(0xFF, 0xC8, 0xD8, 180));
}

} // namespace vm2::content
