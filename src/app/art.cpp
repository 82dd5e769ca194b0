#include "art.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace vm2::app::art {

namespace {

const QColor kLightBlue(0x7c, 0xc8, 0xf8);
const QColor kDeepBlue(0x1d, 0x5f, 0xb4);

// A calligraphic face where the system has one; any serif italic otherwise. The
// letters are slanted further and given a flourish, so the logo reads as script
// whatever face draws it.
QFont scriptFont(qreal pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Z003"), QStringLiteral("URW Chancery L"),
                      QStringLiteral("Zapf Chancery"), QStringLiteral("Brush Script MT"),
                      QStringLiteral("DejaVu Serif")});
    font.setItalic(true);
    font.setPixelSize(qRound(pixelSize));
    return font;
}

// The text as an outline fitted into `box`, slanted like handwriting.
QPainterPath fittedText(const QString &text, const QFont &font, const QRectF &box)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    QTransform slant;
    slant.shear(-0.18, 0);
    path = slant.map(path);
    const QRectF bounds = path.boundingRect();
    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform fit;
    fit.translate(box.center().x(), box.center().y());
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    return fit.map(path);
}

QImage drawTitleLogo(qreal ratio)
{
    // Drawn at the screen's pixel density: as large in pixels of the layout, and as
    // sharp as the screen's own pixels.
    QImage image(
        QSize(qCeil(kTitleLogoSize.width() * ratio), qCeil(kTitleLogoSize.height() * ratio)),
        QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(ratio, ratio);
    p.setRenderHint(QPainter::Antialiasing);

    // A swash under the name, from the V's foot to the end of the 2.
    QPainterPath swash;
    swash.moveTo(18, 88);
    swash.cubicTo(70, 104, 170, 70, 262, 86);
    swash.cubicTo(210, 80, 120, 100, 40, 95);
    swash.closeSubpath();

    const QPainterPath name =
        fittedText(QStringLiteral("Velmora 2"), scriptFont(72), QRectF(8, 4, 259, 80));
    QLinearGradient fill(0, 4, 0, 88);
    fill.setColorAt(0.0, QColor(0xc4, 0xe8, 0xff));
    fill.setColorAt(0.55, kLightBlue);
    fill.setColorAt(1.0, QColor(0x4a, 0xa6, 0xec));

    p.setPen(QPen(kDeepBlue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(name);
    p.setPen(Qt::NoPen);
    p.setBrush(kLightBlue);
    p.drawPath(swash);
    // A small star over the flourish.
    p.setBrush(Qt::white);
    p.setPen(QPen(kLightBlue, 1));
    QPainterPath star;
    const QPointF c(250, 20);
    for (int i = 0; i < 8; ++i) {
        const qreal r = i % 2 ? 2.0 : 7.0;
        const qreal a = i * M_PI / 4;
        const QPointF pt(c.x() + r * std::sin(a), c.y() - r * std::cos(a));
        i ? star.lineTo(pt) : star.moveTo(pt);
    }
    star.closeSubpath();
    p.drawPath(star);
    p.end();

    // The logo has one transparent colour: a pixel is either shown whole or not at
    // all, so it looks the same on every background.
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = line[x];
            const int alpha = qAlpha(px);
            if (alpha < 96)
                line[x] = 0;
            else if (alpha < 255)
                line[x] = qRgba(qRed(px) * 255 / alpha, qGreen(px) * 255 / alpha,
                                qBlue(px) * 255 / alpha, 255);
        }
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

QImage drawHeroPortrait()
{
    QImage image(kPortraitSize, QImage::Format_RGB32);
    image.fill(QColor(0xb4, 0xe1, 0xfa));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor skin(0xfb, 0xdc, 0xc4), hair(0x3a, 0x2c, 0x28), uniform(0x24, 0x2d, 0x4a);

    // Shoulders in a school jacket with a white collar.
    QPainterPath body;
    body.moveTo(12, 150);
    body.cubicTo(18, 118, 46, 108, 75, 108);
    body.cubicTo(104, 108, 132, 118, 138, 150);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(uniform);
    p.drawPath(body);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(60, 108), QPointF(75, 132), QPointF(90, 108)}));
    p.setBrush(skin);
    p.drawRect(QRectF(66, 92, 18, 20));
    p.drawPolygon(QPolygonF({QPointF(64, 108), QPointF(75, 124), QPointF(86, 108)}));

    // Face.
    p.drawEllipse(QRectF(42, 30, 66, 76));
    // Hair: a fringe over the forehead and the back of the head.
    QPainterPath hairPath;
    hairPath.moveTo(38, 74);
    hairPath.cubicTo(30, 30, 60, 14, 80, 16);
    hairPath.cubicTo(108, 16, 124, 40, 112, 76);
    hairPath.cubicTo(108, 60, 104, 52, 98, 48);
    hairPath.lineTo(92, 60);
    hairPath.lineTo(84, 46);
    hairPath.lineTo(74, 60);
    hairPath.lineTo(68, 46);
    hairPath.lineTo(56, 58);
    hairPath.cubicTo(50, 56, 44, 62, 38, 74);
    p.setBrush(hair);
    p.drawPath(hairPath);

    // Eyes, brows, mouth.
    p.setBrush(QColor(0x2c, 0x4a, 0x7a));
    p.drawEllipse(QRectF(55, 66, 9, 12));
    p.drawEllipse(QRectF(86, 66, 9, 12));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(57, 68, 3, 3));
    p.drawEllipse(QRectF(88, 68, 3, 3));
    p.setPen(QPen(hair, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(53, 61), QPointF(65, 59));
    p.drawLine(QPointF(85, 59), QPointF(97, 61));
    p.setPen(QPen(QColor(0xc0, 0x60, 0x50), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(67, 84, 16, 8), 200 * 16, 140 * 16);
    return image;
}

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // A heart with the letter V.
    QPainterPath heart;
    heart.moveTo(16, 29);
    heart.cubicTo(4, 20, 1, 13, 2, 9);
    heart.cubicTo(3, 3, 12, 1, 16, 8);
    heart.cubicTo(20, 1, 29, 3, 30, 9);
    heart.cubicTo(31, 13, 28, 20, 16, 29);
    p.setPen(QPen(kDeepBlue, 1.5));
    p.setBrush(kLightBlue);
    p.drawPath(heart);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(10, 9), QPointF(16, 21), QPointF(22, 9)}));
    return image;
}

} // namespace

QPixmap titleLogo(qreal ratio)
{
    // Images, not pixmaps, outlive the application object safely.
    static QHash<int, QImage> logos;
    const int key = qRound(ratio * 100);
    auto it = logos.find(key);
    if (it == logos.end())
        it = logos.insert(key, drawTitleLogo(ratio));
    return QPixmap::fromImage(*it);
}

QPixmap heroPortrait()
{
    static const QImage portrait = drawHeroPortrait();
    return QPixmap::fromImage(portrait);
}

QIcon programIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(drawIcon(16)));
    icon.addPixmap(QPixmap::fromImage(drawIcon(32)));
    return icon;
}

} // namespace vm2::app::art
