#include "figureparts.h"

#include <QtMath>

namespace vm2::content {

Head headOf(const QRect &face)
{
    const qreal h = face.height() * 0.9;
    const qreal w = qMin(face.width() * 0.8, h * 0.98);
    return {face.x() + face.width() / 2.0, face.y() + face.height() * 0.06, w, h};
}

QPen outline(const QColor &fill, qreal width)
{
    return QPen(fill.darker(220), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void fillPath(QPainter &p, const QPainterPath &path, const QColor &fill, qreal pen)
{
    p.setPen(pen > 0 ? outline(fill, pen) : Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
}

void drawOutfit(QPainter &p, const FigureRecipe &f, const Head &hd)
{
    const qreal neckTop = hd.chin() - hd.h * 0.12;
    const qreal shoulder = hd.chin() + hd.h * 0.16;
    const qreal half = hd.w * 0.95;
    // Neck.
    QPainterPath neck;
    neck.addRect(QRectF(hd.cx - hd.w * 0.12, neckTop, hd.w * 0.24, shoulder - neckTop + 12));
    fillPath(p, neck, f.skin.darker(108), 1.5);

    QPainterPath body;
    body.moveTo(hd.cx - hd.w * 0.2, shoulder);
    body.cubicTo(hd.cx - half * 0.8, shoulder, hd.cx - half, shoulder + 10, hd.cx - half,
                 shoulder + 45);
    body.lineTo(hd.cx - half * 1.05, 400);
    body.lineTo(hd.cx + half * 1.05, 400);
    body.lineTo(hd.cx + half, shoulder + 45);
    body.cubicTo(hd.cx + half, shoulder + 10, hd.cx + half * 0.8, shoulder, hd.cx + hd.w * 0.2,
                 shoulder);
    body.closeSubpath();
    fillPath(p, body, f.outfitColour);
    // Arms, a fold of the sleeve each side.
    p.setPen(outline(f.outfitColour, 2));
    p.drawLine(QPointF(hd.cx - half * 0.78, shoulder + 50), QPointF(hd.cx - half * 0.84, 400));
    p.drawLine(QPointF(hd.cx + half * 0.78, shoulder + 50), QPointF(hd.cx + half * 0.84, 400));

    const QString &o = f.outfit;
    if (o == QLatin1String("gakuran")) {
        QPainterPath collar;
        collar.addRoundedRect(QRectF(hd.cx - hd.w * 0.2, shoulder - 8, hd.w * 0.4, 16), 4, 4);
        fillPath(p, collar, f.outfitColour.darker(130));
        p.setPen(outline(f.accent, 1.5));
        p.setBrush(f.accent);
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(hd.cx, shoulder + 25 + i * 28), 4.5, 4.5);
    } else if (o == QLatin1String("blazer") || o == QLatin1String("band") ||
               o == QLatin1String("coat")) {
        // An open jacket over a shirt or tee.
        const QColor inner = o == QLatin1String("blazer") ? QColor(0xFA, 0xFA, 0xF6)
                             : o == QLatin1String("band") ? f.accent
                                                          : QColor(0x9C, 0xC4, 0xE8);
        QPainterPath v;
        v.moveTo(hd.cx - hd.w * 0.22, shoulder);
        v.lineTo(hd.cx + hd.w * 0.22, shoulder);
        v.lineTo(hd.cx + hd.w * 0.3, 400);
        v.lineTo(hd.cx - hd.w * 0.3, 400);
        v.closeSubpath();
        fillPath(p, v, inner);
        p.setPen(outline(f.outfitColour, 2.5));
        p.drawLine(QPointF(hd.cx - hd.w * 0.22, shoulder),
                   QPointF(hd.cx - hd.w * 0.05, shoulder + 110));
        p.drawLine(QPointF(hd.cx + hd.w * 0.22, shoulder),
                   QPointF(hd.cx + hd.w * 0.05, shoulder + 110));
        if (o == QLatin1String("blazer")) {
            QPainterPath bow;
            const QPointF k(hd.cx, shoulder + 12);
            bow.moveTo(k);
            bow.lineTo(k + QPointF(-22, -10));
            bow.lineTo(k + QPointF(-22, 12));
            bow.closeSubpath();
            bow.moveTo(k);
            bow.lineTo(k + QPointF(22, -10));
            bow.lineTo(k + QPointF(22, 12));
            bow.closeSubpath();
            fillPath(p, bow, f.accent, 1.5);
            p.setBrush(f.accent.lighter(140));
            p.drawEllipse(QPointF(hd.cx + half * 0.55, shoulder + 75), 9, 9);
        } else if (o == QLatin1String("band")) {
            QPainterPath strap;
            strap.moveTo(hd.cx + half * 0.7, shoulder + 5);
            strap.lineTo(hd.cx + half * 0.85, shoulder + 25);
            strap.lineTo(hd.cx - half * 0.7, 400);
            strap.lineTo(hd.cx - half * 0.9, 400);
            strap.closeSubpath();
            fillPath(p, strap, QColor(0x7A, 0x4A, 0x2A), 1.5);
            p.setPen(outline(QColor(0xF0, 0xD0, 0x40), 1.2));
            p.setBrush(QColor(0xF0, 0xD0, 0x40));
            QPolygonF star;
            const QPointF sc(hd.cx - half * 0.55, shoulder + 70);
            for (int i = 0; i < 10; ++i) {
                const qreal r = (i % 2) ? 5.0 : 12.0;
                const qreal a = -M_PI / 2 + i * M_PI / 5;
                star << sc + QPointF(r * std::cos(a), r * std::sin(a));
            }
            p.drawPolygon(star);
        } else {
            // The stethoscope.
            p.setPen(QPen(QColor(0x50, 0x58, 0x60), 3.5, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            QPainterPath tube;
            tube.moveTo(hd.cx - hd.w * 0.2, shoulder + 2);
            tube.cubicTo(hd.cx - hd.w * 0.35, shoulder + 80, hd.cx + hd.w * 0.35, shoulder + 80,
                         hd.cx + hd.w * 0.2, shoulder + 2);
            p.drawPath(tube);
            p.drawLine(QPointF(hd.cx, shoulder + 61), QPointF(hd.cx + 8, shoulder + 100));
            p.setBrush(QColor(0xC8, 0xD0, 0xD8));
            p.drawEllipse(QPointF(hd.cx + 8, shoulder + 106), 8, 8);
            p.setPen(outline(f.outfitColour, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(hd.cx - half * 0.75, shoulder + 120, 40, 30));
        }
    } else if (o == QLatin1String("track")) {
        p.setPen(QPen(QColor(0xFF, 0xFF, 0xF8), 6));
        p.drawLine(QPointF(hd.cx - half * 0.93, shoulder + 40), QPointF(hd.cx - half * 0.98, 400));
        p.drawLine(QPointF(hd.cx + half * 0.93, shoulder + 40), QPointF(hd.cx + half * 0.98, 400));
        QPainterPath collar;
        collar.addRoundedRect(QRectF(hd.cx - hd.w * 0.28, shoulder - 10, hd.w * 0.56, 22), 8, 8);
        fillPath(p, collar, f.outfitColour.lighter(115));
        p.setPen(QPen(f.accent, 3));
        p.drawLine(QPointF(hd.cx, shoulder + 12), QPointF(hd.cx, 400));
        p.setPen(outline(f.accent, 1.5));
        p.setBrush(f.accent);
        p.drawRect(QRectF(hd.cx - 4, shoulder + 40, 8, 14));
    } else if (o == QLatin1String("pajamas")) {
        p.setPen(QPen(f.outfitColour.darker(115), 2));
        for (qreal x = hd.cx - half; x < hd.cx + half; x += 18)
            p.drawLine(QPointF(x, shoulder + 30), QPointF(x, 400));
        QPainterPath collar;
        collar.moveTo(hd.cx - hd.w * 0.35, shoulder - 4);
        collar.lineTo(hd.cx, shoulder + 30);
        collar.lineTo(hd.cx + hd.w * 0.35, shoulder - 4);
        collar.lineTo(hd.cx + hd.w * 0.3, shoulder + 22);
        collar.lineTo(hd.cx, shoulder + 42);
        collar.lineTo(hd.cx - hd.w * 0.3, shoulder + 22);
        collar.closeSubpath();
        fillPath(p, collar, f.outfitColour.lighter(112));
        // A knitted cardigan over the shoulders.
        for (int side : {-1, 1}) {
            QPainterPath c;
            c.moveTo(hd.cx + side * hd.w * 0.35, shoulder + 2);
            c.cubicTo(hd.cx + side * half * 0.9, shoulder, hd.cx + side * half * 1.02,
                      shoulder + 20, hd.cx + side * half * 1.02, shoulder + 50);
            c.lineTo(hd.cx + side * half * 1.06, 400);
            c.lineTo(hd.cx + side * half * 0.55, 400);
            c.lineTo(hd.cx + side * hd.w * 0.3, shoulder + 40);
            c.closeSubpath();
            fillPath(p, c, f.accent);
        }
        p.setPen(outline(QColor(0xF8, 0xF8, 0xF0), 1.2));
        p.setBrush(QColor(0xF8, 0xF8, 0xF0));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(hd.cx, shoulder + 60 + i * 32), 4, 4);
    } else if (o == QLatin1String("dress")) {
        QPainterPath collar;
        collar.moveTo(hd.cx - hd.w * 0.4, shoulder - 2);
        collar.quadTo(hd.cx, shoulder + 40, hd.cx + hd.w * 0.4, shoulder - 2);
        collar.quadTo(hd.cx, shoulder + 18, hd.cx - hd.w * 0.4, shoulder - 2);
        fillPath(p, collar, QColor(0xFF, 0xFF, 0xFA), 1.5);
        p.setPen(outline(f.accent, 1.5));
        p.setBrush(f.accent);
        p.drawRect(QRectF(hd.cx - half * 0.9, shoulder + 120, half * 1.8, 14));
        p.setPen(QPen(f.outfitColour.lighter(120), 2));
        for (int i = 0; i < 6; ++i) {
            const qreal x = hd.cx - half * 0.7 + i * half * 0.28;
            p.drawEllipse(QPointF(x, shoulder + 170 + (i % 2) * 30), 5, 5);
        }
    }
}

} // namespace vm2::content
