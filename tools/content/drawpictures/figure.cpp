#include "figure.h"

#include "figureparts.h"

#include <QPainterPath>
#include <QtMath>

namespace vm2::content {

namespace {

QPainterPath faceShape(const Head &hd)
{
    QPainterPath path;
    path.moveTo(hd.cx - hd.w / 2, hd.top + hd.h * 0.42);
    path.arcTo(QRectF(hd.cx - hd.w / 2, hd.top, hd.w, hd.h * 0.84), 180, -180);
    path.cubicTo(hd.cx + hd.w / 2, hd.top + hd.h * 0.72, hd.cx + hd.w * 0.2, hd.top + hd.h * 0.97,
                 hd.cx, hd.chin());
    path.cubicTo(hd.cx - hd.w * 0.2, hd.top + hd.h * 0.97, hd.cx - hd.w / 2, hd.top + hd.h * 0.72,
                 hd.cx - hd.w / 2, hd.top + hd.h * 0.42);
    return path;
}

// Hair behind the head and body.
void drawBackHair(QPainter &p, const FigureRecipe &f, const Head &hd)
{
    const QColor c = f.hairColour;
    QPainterPath path;
    if (f.hair == QLatin1String("long")) {
        path.moveTo(hd.cx - hd.w * 0.62, hd.top + hd.h * 0.3);
        path.cubicTo(hd.cx - hd.w * 0.8, hd.chin() + 60, hd.cx - hd.w * 0.95, hd.chin() + 140,
                     hd.cx - hd.w * 0.78, hd.chin() + 190);
        path.lineTo(hd.cx + hd.w * 0.78, hd.chin() + 190);
        path.cubicTo(hd.cx + hd.w * 0.95, hd.chin() + 140, hd.cx + hd.w * 0.8, hd.chin() + 60,
                     hd.cx + hd.w * 0.62, hd.top + hd.h * 0.3);
        path.closeSubpath();
        fillPath(p, path, c);
    } else if (f.hair == QLatin1String("bob")) {
        path.addRoundedRect(
            QRectF(hd.cx - hd.w * 0.66, hd.top - hd.h * 0.1, hd.w * 1.32, hd.h * 1.12), hd.w * 0.4,
            hd.w * 0.4);
        fillPath(p, path, c);
    } else if (f.hair == QLatin1String("ponytail")) {
        path.moveTo(hd.cx + hd.w * 0.3, hd.top - hd.h * 0.05);
        path.cubicTo(hd.cx + hd.w * 1.1, hd.top, hd.cx + hd.w * 1.05, hd.chin() + 40,
                     hd.cx + hd.w * 0.75, hd.chin() + 95);
        path.cubicTo(hd.cx + hd.w * 0.75, hd.chin() + 30, hd.cx + hd.w * 0.6, hd.top + hd.h * 0.4,
                     hd.cx + hd.w * 0.3, hd.top - hd.h * 0.05);
        fillPath(p, path, c);
        p.setBrush(f.accent);
        p.setPen(outline(f.accent));
        p.drawEllipse(QPointF(hd.cx + hd.w * 0.62, hd.top + hd.h * 0.02), hd.w * 0.09, hd.w * 0.09);
    } else if (f.hair == QLatin1String("twintails")) {
        for (int side : {-1, 1}) {
            QPainterPath tail;
            const qreal x0 = hd.cx + side * hd.w * 0.5;
            tail.moveTo(x0, hd.top + hd.h * 0.1);
            tail.cubicTo(x0 + side * hd.w * 0.7, hd.top + hd.h * 0.2, x0 + side * hd.w * 0.55,
                         hd.chin() + 120, x0 + side * hd.w * 0.3, hd.chin() + 175);
            tail.cubicTo(x0 + side * hd.w * 0.25, hd.chin() + 90, x0 + side * hd.w * 0.15,
                         hd.top + hd.h * 0.5, x0, hd.top + hd.h * 0.1);
            fillPath(p, tail, c);
            p.setBrush(f.accent);
            p.setPen(outline(f.accent));
            QPainterPath bow;
            const QPointF k(x0 + side * hd.w * 0.05, hd.top + hd.h * 0.1);
            bow.moveTo(k);
            bow.lineTo(k + QPointF(-hd.w * 0.14, -hd.w * 0.09));
            bow.lineTo(k + QPointF(-hd.w * 0.14, hd.w * 0.09));
            bow.closeSubpath();
            bow.moveTo(k);
            bow.lineTo(k + QPointF(hd.w * 0.14, -hd.w * 0.09));
            bow.lineTo(k + QPointF(hd.w * 0.14, hd.w * 0.09));
            bow.closeSubpath();
            p.drawPath(bow);
        }
    } else if (f.hair == QLatin1String("bun")) {
        p.setBrush(c);
        p.setPen(outline(c));
        p.drawEllipse(QPointF(hd.cx, hd.top - hd.h * 0.12), hd.w * 0.22, hd.w * 0.2);
    }
}

// The hair on top of the head: the cap, the fringe and the locks beside the face.
void drawFrontHair(QPainter &p, const FigureRecipe &f, const Head &hd)
{
    const QColor c = f.hairColour;
    const bool boy = f.hair == QLatin1String("short");
    QPainterPath cap;
    cap.moveTo(hd.cx - hd.w * 0.58, hd.top + hd.h * (boy ? 0.42 : 0.62));
    cap.cubicTo(hd.cx - hd.w * 0.72, hd.top - hd.h * 0.42, hd.cx + hd.w * 0.72,
                hd.top - hd.h * 0.42, hd.cx + hd.w * 0.58, hd.top + hd.h * (boy ? 0.42 : 0.62));
    // The fringe: locks pointing down over the forehead.
    const int locks = boy ? 6 : 5;
    const qreal left = hd.cx + hd.w * 0.58, right = hd.cx - hd.w * 0.58;
    cap.lineTo(hd.cx + hd.w * 0.5, hd.top + hd.h * 0.3);
    for (int i = 0; i < locks; ++i) {
        const qreal x0 = left + (right - left) * i / locks;
        const qreal x1 = left + (right - left) * (i + 1) / locks;
        const qreal tip = hd.top + hd.h * ((i % 2) ? 0.36 : 0.42) + (boy ? -hd.h * 0.05 : 0.0);
        cap.quadTo((x0 + x1) / 2 + (x1 - x0) * 0.3, hd.top + hd.h * 0.18, (x0 + x1) / 2, tip);
        cap.quadTo((x0 + x1) / 2 - (x1 - x0) * 0.1, hd.top + hd.h * 0.22, x1, hd.top + hd.h * 0.24);
    }
    cap.closeSubpath();
    fillPath(p, cap, c);
    // A shine on the hair.
    p.setPen(QPen(c.lighter(160), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(hd.cx - hd.w * 0.4, hd.top - hd.h * 0.06, hd.w * 0.8, hd.h * 0.5), 50 * 16,
              40 * 16);
    if (!boy) {
        for (int side : {-1, 1}) {
            QPainterPath lock;
            const qreal x = hd.cx + side * hd.w * 0.52;
            lock.moveTo(x, hd.top + hd.h * 0.25);
            lock.quadTo(x + side * hd.w * 0.1, hd.top + hd.h * 0.7, x - side * hd.w * 0.02,
                        hd.top + hd.h * 0.98);
            lock.quadTo(x - side * hd.w * 0.08, hd.top + hd.h * 0.6, x - side * hd.w * 0.1,
                        hd.top + hd.h * 0.3);
            lock.closeSubpath();
            fillPath(p, lock, c);
        }
    }
}

void drawEye(QPainter &p, const FigureRecipe &f, const Head &hd, int side, int expression)
{
    const QPointF c(hd.cx + side * hd.eyeDx(), hd.eyeY());
    const qreal ew = hd.eyeW(), eh = hd.eyeH();
    const QColor lash = f.hairColour.darker(250);
    if (expression == Happy) {
        // Closed, smiling eyes.
        p.setPen(QPen(lash, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - ew / 2, c.y() - eh * 0.25, ew, eh * 0.6), 20 * 16, 140 * 16);
        return;
    }
    const qreal scale = expression == Surprised ? 1.12 : 1.0;
    const QRectF white(c.x() - ew / 2 * scale, c.y() - eh / 2 * scale, ew * scale, eh * scale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xFE, 0xFC));
    p.drawEllipse(white);
    const qreal irisScale = expression == Surprised ? 0.62 : 0.82;
    const qreal look = expression == Sad ? eh * 0.12 : 0.0;
    const QRectF iris(c.x() - ew * irisScale / 2, c.y() - eh * 0.42 + look, ew * irisScale,
                      eh * 0.86);
    QLinearGradient g(iris.topLeft(), iris.bottomLeft());
    g.setColorAt(0, f.eyeColour.darker(170));
    g.setColorAt(1, f.eyeColour.lighter(135));
    p.setBrush(g);
    p.drawEllipse(iris);
    p.setBrush(f.eyeColour.darker(300));
    p.drawEllipse(iris.center(), iris.width() * 0.24, iris.height() * 0.24);
    p.setBrush(QColor(0xFF, 0xFE, 0xFC));
    p.drawEllipse(iris.center() + QPointF(-iris.width() * 0.18, -iris.height() * 0.2),
                  iris.width() * 0.16, iris.width() * 0.16);
    // The upper lid.
    p.setPen(QPen(lash, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(white.adjusted(-1, 0, 1, 0), 15 * 16, 150 * 16);
    if (expression == Cross) {
        // A lowered lid over the inner half: a glare.
        QPainterPath lid;
        const qreal inner = -side;
        lid.moveTo(c.x() + inner * ew * 0.65, c.y() - eh * 0.05);
        lid.lineTo(c.x() - inner * ew * 0.65, c.y() - eh * 0.62);
        lid.lineTo(c.x() + inner * ew * 0.65, c.y() - eh * 0.62);
        lid.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(f.skin);
        p.drawPath(lid);
        p.setPen(QPen(lash, 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() + inner * ew * 0.55, c.y() - eh * 0.12),
                   QPointF(c.x() - inner * ew * 0.6, c.y() - eh * 0.5));
    }
}

void drawBrows(QPainter &p, const FigureRecipe &f, const Head &hd, int expression)
{
    p.setPen(QPen(f.hairColour.darker(160), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        const qreal x = hd.cx + side * hd.eyeDx();
        const qreal y = hd.eyeY() - hd.eyeH() * (expression == Surprised ? 1.05 : 0.85);
        const qreal inner = -side * hd.eyeW() * 0.5, outer = side * hd.eyeW() * 0.5;
        qreal innerDy = 0, outerDy = 0;
        if (expression == Cross)
            innerDy = hd.eyeH() * 0.3, outerDy = -hd.eyeH() * 0.1;
        else if (expression == Sad)
            innerDy = -hd.eyeH() * 0.25, outerDy = hd.eyeH() * 0.1;
        p.drawLine(QPointF(x + inner, y + innerDy), QPointF(x + outer, y + outerDy));
    }
}

void drawMouth(QPainter &p, const Head &hd, int expression)
{
    const qreal y = hd.mouthY(), w = hd.w * 0.16;
    const QColor line(0x8A, 0x3B, 0x3B);
    p.setPen(QPen(line, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    switch (expression) {
    case Happy: {
        QPainterPath m;
        m.moveTo(hd.cx - w * 0.7, y - w * 0.15);
        m.quadTo(hd.cx, y - w * 0.25, hd.cx + w * 0.7, y - w * 0.15);
        m.quadTo(hd.cx, y + w * 0.9, hd.cx - w * 0.7, y - w * 0.15);
        p.setBrush(QColor(0xC8, 0x4A, 0x55));
        p.drawPath(m);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF2, 0x8C, 0x95));
        p.drawEllipse(QPointF(hd.cx, y + w * 0.3), w * 0.3, w * 0.15);
        break;
    }
    case Cross:
        p.drawArc(QRectF(hd.cx - w * 0.4, y - w * 0.05, w * 0.8, w * 0.5), 30 * 16, 120 * 16);
        break;
    case Sad:
        p.drawArc(QRectF(hd.cx - w * 0.35, y, w * 0.7, w * 0.5), 20 * 16, 140 * 16);
        break;
    case Surprised:
        p.setBrush(QColor(0xB0, 0x40, 0x4A));
        p.drawEllipse(QPointF(hd.cx, y + w * 0.05), w * 0.22, w * 0.3);
        break;
    default:
        p.drawArc(QRectF(hd.cx - w * 0.45, y - w * 0.35, w * 0.9, w * 0.5), 200 * 16, 140 * 16);
        break;
    }
}

void drawBlush(QPainter &p, const Head &hd, int expression)
{
    if (expression == Cross || expression == Sad)
        return;
    const int alpha = expression == Surprised ? 150 : (expression == Happy ? 110 : 60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF5, 0x7A, 0x8A, alpha));
    for (int side : {-1, 1})
        p.drawEllipse(QPointF(hd.cx + side * hd.w * 0.3, hd.eyeY() + hd.eyeH() * 0.75), hd.w * 0.1,
                      hd.h * 0.05);
    if (expression == Surprised) {
        p.setPen(QPen(QColor(0xE0, 0x50, 0x66), 1.5));
        for (int side : {-1, 1}) {
            for (int i = -1; i <= 1; ++i) {
                const QPointF c(hd.cx + side * hd.w * 0.3 + i * hd.w * 0.05,
                                hd.eyeY() + hd.eyeH() * 0.75);
                p.drawLine(c + QPointF(hd.w * 0.02, -hd.h * 0.03),
                           c + QPointF(-hd.w * 0.02, hd.h * 0.03));
            }
        }
    }
    (void)expression;
}

void drawTear(QPainter &p, const Head &hd)
{
    QPainterPath t;
    const QPointF c(hd.cx + hd.eyeDx() * 1.1, hd.eyeY() + hd.eyeH() * 0.7);
    t.moveTo(c);
    t.quadTo(c + QPointF(hd.w * 0.05, hd.h * 0.08), c + QPointF(0, hd.h * 0.1));
    t.quadTo(c + QPointF(-hd.w * 0.05, hd.h * 0.08), c);
    p.setPen(QPen(QColor(0x5A, 0x9A, 0xD8), 1.2));
    p.setBrush(QColor(0xA8, 0xD8, 0xFF));
    p.drawPath(t);
}

} // namespace

void drawFigure(QPainter &p, const FigureRecipe &f, int expression)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const Head hd = headOf(f.face);
    drawBackHair(p, f, hd);
    drawOutfit(p, f, hd);
    // Ears, then the face.
    p.setPen(outline(f.skin, 1.5));
    p.setBrush(f.skin);
    for (int side : {-1, 1})
        p.drawEllipse(QPointF(hd.cx + side * hd.w * 0.5, hd.eyeY() + hd.eyeH() * 0.2), hd.w * 0.07,
                      hd.h * 0.09);
    fillPath(p, faceShape(hd), f.skin, 1.8);
    // A soft shadow under the fringe.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD0, 0x90, 0x80, 50));
    p.drawEllipse(QRectF(hd.cx - hd.w * 0.45, hd.top + hd.h * 0.25, hd.w * 0.9, hd.h * 0.22));
    drawBlush(p, hd, expression);
    drawFrontHair(p, f, hd);
    for (int side : {-1, 1})
        drawEye(p, f, hd, side, expression);
    drawBrows(p, f, hd, expression);
    drawMouth(p, hd, expression);
    if (expression == Sad)
        drawTear(p, hd);
    p.restore();
}

QImage renderFigure(const FigureRecipe &f, int expression)
{
    QImage image(300, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawFigure(p, f, expression);
    return image;
}

} // namespace vm2::content
