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

// A person lying on her back, head to the left at `head`: the body frame turned a
// quarter, so the figure runs to the right of the head.
void lyingPerson(QPainter &p, const FigureRecipe *f, QPointF head, qreal scale, int expression)
{
    if (!f)
        return;
    p.save();
    // The frame's top centre (x 150, y 0) goes to `head`, less the hair above the face.
    p.translate(head);
    p.rotate(-90);
    p.scale(scale, scale);
    p.translate(-150, -f->face.top() + 40);
    drawFigure(p, *f, expression);
    p.restore();
}

// A blanket over a lying person from `left` to `right`, its top edge at `top`.
void blanket(QPainter &p, const QRectF &r, const QColor &colour)
{
    QPainterPath path;
    path.addRoundedRect(r, 18, 18);
    p.setPen(QPen(colour.darker(130), 2));
    p.setBrush(colour);
    p.drawPath(path);
    p.setPen(QPen(colour.darker(115), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(r.left() + r.width() * i / 4.0, r.top() + 8),
                   QPointF(r.left() + r.width() * i / 4.0 + 14, r.bottom() - 10));
}

void cosmosFlower(QPainter &p, QPointF c, qreal r, const QColor &colour)
{
    p.setPen(QPen(colour.darker(125), 1));
    p.setBrush(colour);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45.0);
        p.drawEllipse(QPointF(r * 0.55, 0), r * 0.5, r * 0.22);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xC8, 0x30));
    p.drawEllipse(c, r * 0.2, r * 0.2);
}

void cosmosField(QPainter &p, const QRectF &r, int count, quint32 seed)
{
    QRandomGenerator random(seed);
    const QColor colours[] = {QColor(0xF8, 0x9C, 0xC0), QColor(0xFF, 0xF4, 0xF8),
                              QColor(0xD8, 0x4C, 0x90), QColor(0xFA, 0xBC, 0xD4)};
    p.setPen(QPen(QColor(0x4A, 0x8A, 0x42), 1.6));
    QList<QPointF> heads;
    for (int i = 0; i < count; ++i) {
        const QPointF top(r.left() + random.bounded(r.width()),
                          r.top() + random.bounded(r.height() * 0.8));
        p.setPen(QPen(QColor(0x4A, 0x8A, 0x42), 1.6));
        p.drawLine(top, QPointF(top.x() + random.bounded(16.0) - 8, r.bottom()));
        heads << top;
    }
    for (int i = 0; i < heads.size(); ++i)
        cosmosFlower(p, heads.at(i), 9 + (i * 7 % 6), colours[i % 4]);
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
    // On the roof of the hut: the two sit on the ridge beside the telescope.
    nightHill(p);
    cometInSky(p, QPointF(302, 80), QPointF(40, 190), 26);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x12, 0x20, 0x1A));
    p.drawEllipse(QPointF(60, 420), 200, 110);
    p.drawEllipse(QPointF(360, 430), 160, 100);
    silhouette(p, people.value(0), QPointF(95, 176), 0.5, QColor(0x08, 0x0C, 0x10));
    silhouette(p, people.value(1), QPointF(160, 172), 0.5, QColor(0x08, 0x0C, 0x10));
    // The telescope on its tripod, pointed at the comet.
    p.setPen(QPen(QColor(0x06, 0x08, 0x0C), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(300, 270), QPointF(284, 322));
    p.drawLine(QPointF(300, 270), QPointF(316, 322));
    p.drawLine(QPointF(300, 270), QPointF(300, 324));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x06, 0x08, 0x0C));
    p.save();
    p.translate(300, 266);
    p.rotate(-38);
    p.drawRoundedRect(QRectF(-30, -9, 78, 18), 4, 4);
    p.drawRect(QRectF(44, -11, 8, 22));
    p.restore();
    // The roof of the hut hides the two below the waist: they sit on it.
    QPainterPath roof;
    roof.moveTo(0, 330);
    roof.lineTo(400, 310);
    roof.lineTo(400, 400);
    roof.lineTo(0, 400);
    roof.closeSubpath();
    p.setBrush(QColor(0x2A, 0x1C, 0x16));
    p.drawPath(roof);
    p.setPen(QPen(QColor(0x44, 0x30, 0x24), 2));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(0, 348 + i * 10 - 0), QPointF(400, 328 + i * 10));
    p.setPen(QPen(QColor(0x4A, 0x36, 0x28), 5));
    p.drawLine(QPointF(0, 330), QPointF(400, 310));
}

void cosmos(QPainter &p, const People &people)
{
    // The hospital's courtyard in September: cosmos in bloom, the ward behind.
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0x8C, 0xC8, 0xF4), QColor(0xF0, 0xF8, 0xFF));
    box(p, QRectF(230, 60, 190, 260), QColor(0xF4, 0xF4, 0xEE));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            box(p, QRectF(250 + col * 50, 80 + row * 52, 32, 32), QColor(0xA8, 0xD0, 0xE8), 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8C, 0xC0, 0x78));
    p.drawRect(QRectF(0, 290, 400, 110));
    cosmosField(p, QRectF(0, 230, 400, 120), 26, 5);
    person(p, people.value(0), QPointF(20, 10), 1.0, Happy);
    cosmosField(p, QRectF(0, 320, 400, 80), 20, 7);
    p.setPen(QPen(QColor(0xF8, 0xF8, 0xF8), 16));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0, 0, 400, 400));
}

void cranes(QPainter &p, const People &people)
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
    // Yukino by the strings, the last sheet of paper in her hands.
    person(p, people.value(0), QPointF(150, 60), 0.85, Calm);
    const QPointF hands(277, 330);
    p.setPen(QPen(QColor(0xD8, 0x6A, 0x8A), 1.2));
    p.setBrush(QColor(0xF8, 0xB0, 0xC8));
    p.drawPolygon(QPolygonF({hands + QPointF(-22, -18), hands + QPointF(22, -22),
                             hands + QPointF(18, 18), hands + QPointF(-20, 14)}));
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
    // Beyond the fireworks, the comet of the same night.
    cometInSky(p, QPointF(360, 150), QPointF(250, 250), 10);
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

void stretcher(QPainter &p, const People &people)
{
    // The corridor before the operating theatre: she lies on the stretcher under a
    // blanket, one hand out on top of it.
    skyGradient(p, QRectF(0, 0, 400, 400), QColor(0xE4, 0xEE, 0xEA), QColor(0xD0, 0xDC, 0xD6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xB8, 0xC4, 0xBC));
    p.drawRect(QRectF(0, 300, 400, 100));
    box(p, QRectF(250, 40, 120, 200), QColor(0xC8, 0xD8, 0xE0), 2);
    sign(p, QRectF(262, 50, 96, 22), QColor(0xC8, 0x4A, 0x4A), QStringLiteral("手術室"),
         QColor(0xFF, 0xFF, 0xFF));
    // The stretcher: frame, legs and wheels.
    p.setPen(QPen(QColor(0x8A, 0x90, 0x98), 5, Qt::SolidLine, Qt::RoundCap));
    for (qreal x : {60.0, 340.0}) {
        p.drawLine(QPointF(x, 262), QPointF(x, 340));
        p.setBrush(QColor(0x3A, 0x3C, 0x44));
        p.drawEllipse(QPointF(x, 352), 11, 11);
    }
    p.drawLine(QPointF(40, 262), QPointF(360, 262));
    box(p, QRectF(36, 236, 330, 26), QColor(0xF6, 0xF8, 0xFA), 2);
    box(p, QRectF(40, 206, 74, 34), QColor(0xFF, 0xFF, 0xFF), 2);
    lyingPerson(p, people.value(0), QPointF(64, 236), 0.5, Sad);
    blanket(p, QRectF(124, 196, 246, 88), QColor(0xB8, 0xD8, 0xF0));
    // Her hand on the blanket.
    p.setPen(QPen(QColor(0xD8, 0xB0, 0x9C), 1.5));
    p.setBrush(people.value(0) ? people.value(0)->skin : QColor(0xFA, 0xE6, 0xDA));
    p.drawEllipse(QPointF(190, 206), 11, 7);
}

void bed(QPainter &p, const People &people)
{
    // The ward at night: she lies in bed, awake, and the comet crosses the window.
    p.fillRect(QRectF(0, 0, 400, 400), QColor(0x2A, 0x32, 0x52));
    box(p, QRectF(150, 30, 220, 150), QColor(0x5A, 0x60, 0x80), 3);
    skyGradient(p, QRectF(160, 40, 200, 130), QColor(0x08, 0x0C, 0x2C), QColor(0x30, 0x2C, 0x6A));
    stars(p, QRectF(160, 40, 200, 130), 40, 11);
    cometInSky(p, QPointF(320, 70), QPointF(180, 140), 14);
    p.setPen(QPen(QColor(0x5A, 0x60, 0x80), 5));
    p.drawLine(QPointF(260, 40), QPointF(260, 170));
    // The bed.
    box(p, QRectF(20, 250, 370, 120), QColor(0xC8, 0xCC, 0xD8), 2);
    box(p, QRectF(20, 200, 18, 170), QColor(0x8A, 0x90, 0x9C), 1);
    box(p, QRectF(40, 214, 90, 44), QColor(0xF4, 0xF6, 0xFA), 2);
    lyingPerson(p, people.value(0), QPointF(58, 244), 0.52, Calm);
    blanket(p, QRectF(126, 208, 264, 100), QColor(0xDC, 0xE4, 0xF4));
    // The moonlight over the bed.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC0, 0xD0, 0xFF, 40));
    p.drawPolygon(
        QPolygonF({QPointF(160, 180), QPointF(360, 180), QPointF(300, 300), QPointF(60, 300)}));
}

void lyrics(QPainter &p, const People &people)
{
    // The live house after closing: no one in the hall; she sits on the edge of the
    // stage, the notebook on her knees, her legs over the edge.
    p.fillRect(QRectF(0, 0, 400, 400), QColor(0x1A, 0x14, 0x2A));
    QRadialGradient work(QPointF(200, 120), 220);
    work.setColorAt(0, QColor(255, 230, 180, 120));
    work.setColorAt(1, QColor(255, 230, 180, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(work);
    p.drawRect(QRectF(0, 0, 400, 400));
    box(p, QRectF(300, 150, 60, 80), QColor(0x2A, 0x2A, 0x30));
    p.setPen(QPen(QColor(0x60, 0x60, 0x70), 2));
    p.setBrush(QColor(0x14, 0x14, 0x18));
    p.drawEllipse(QPointF(330, 190), 20, 20);
    // Above the stage's edge: the upper body.
    p.save();
    p.setClipRect(QRectF(0, 0, 400, 292));
    person(p, people.value(0), QPointF(40, 30), 0.86, Calm);
    p.restore();
    // The stage's front and the empty floor before it.
    box(p, QRectF(0, 290, 400, 40), QColor(0x4A, 0x34, 0x2A));
    box(p, QRectF(0, 330, 400, 70), QColor(0x22, 0x1C, 0x30), 0);
    // Her legs over the edge.
    const QColor leg = people.value(0) ? people.value(0)->outfitColour : QColor(0x2A, 0x2A, 0x34);
    for (int side : {-1, 1}) {
        const qreal x = 169 + side * 18;
        box(p, QRectF(x - 10, 280, 20, 16), leg.lighter(130), 1);
        box(p, QRectF(x - 8, 292, 16, 62), leg, 1);
        box(p, QRectF(x - 11, 352, 24, 12), QColor(0x14, 0x10, 0x18), 1);
    }
    // The notebook on her knees.
    p.save();
    p.translate(168, 282);
    p.rotate(-6);
    box(p, QRectF(-36, -12, 72, 20), QColor(0xFF, 0xFC, 0xF0), 1.5);
    p.setPen(QPen(QColor(0x80, 0x80, 0xA0), 1));
    p.drawLine(QPointF(0, -12), QPointF(0, 8));
    p.restore();
}

} // namespace vm2::content
