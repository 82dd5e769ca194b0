#include "sceneryparts.h"

#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>

namespace vm2::content {

QPen edge(const QColor &c, qreal w)
{
    return QPen(c.darker(170), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void box(QPainter &p, const QRectF &r, const QColor &c, qreal pen)
{
    p.setPen(pen > 0 ? edge(c, pen) : QPen(Qt::NoPen));
    p.setBrush(c);
    p.drawRect(r);
}

void cloud(QPainter &p, QPointF c, qreal s, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, s, s * 0.55);
    p.drawEllipse(c + QPointF(-s * 0.7, s * 0.15), s * 0.6, s * 0.4);
    p.drawEllipse(c + QPointF(s * 0.75, s * 0.12), s * 0.65, s * 0.42);
}

void window(QPainter &p, const QRectF &r, const QColor &sky1, const QColor &sky2,
            const QColor &frame, bool withCloud)
{
    skyGradient(p, r, sky1, sky2);
    if (withCloud)
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

void rain(QPainter &p, const QRectF &r, int count, quint32 seed, const QColor &colour)
{
    QRandomGenerator random(seed);
    p.save();
    p.setClipRect(r);
    p.setPen(QPen(colour, 1.4));
    for (int i = 0; i < count; ++i) {
        const QPointF a(r.left() - 10 + random.bounded(r.width() + 20),
                        r.top() + random.bounded(r.height()));
        p.drawLine(a, a + QPointF(-4, 16));
    }
    p.restore();
}

QColor leavesOf(Season season)
{
    switch (season) {
    case Season::Spring:
        return QColor(0xF6, 0xB8, 0xCC);
    case Season::Summer:
        return QColor(0x4A, 0x96, 0x52);
    case Season::Autumn:
        return QColor(0xD8, 0x7A, 0x34);
    }
    return QColor(0x4A, 0x96, 0x52);
}

void seasonTree(QPainter &p, QPointF foot, qreal size, Season season)
{
    if (season == Season::Spring)
        blossomTree(p, foot, size);
    else
        tree(p, foot, size, leavesOf(season));
}

void cometInSky(QPainter &p, QPointF head, QPointF tailEnd, qreal size)
{
    const QPointF along = tailEnd - head;
    const qreal length = std::hypot(along.x(), along.y());
    const QPointF across(-along.y() / length * size, along.x() / length * size);
    QLinearGradient tail(head, tailEnd);
    tail.setColorAt(0, QColor(220, 250, 255, 230));
    tail.setColorAt(1, QColor(120, 200, 255, 0));
    QPainterPath t;
    t.moveTo(head - across * 0.25);
    t.lineTo(tailEnd - across * 1.2);
    t.lineTo(tailEnd + across * 1.2);
    t.lineTo(head + across * 0.25);
    t.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(tail);
    p.drawPath(t);
    QRadialGradient glow(head, size * 0.9);
    glow.setColorAt(0, QColor(255, 255, 255));
    glow.setColorAt(1, QColor(180, 230, 255, 0));
    p.setBrush(glow);
    p.drawEllipse(head, size * 0.9, size * 0.9);
}

} // namespace vm2::content
