#include "eventscenes.h"

#include "eventart.h"
#include "figure.h"

#include <QPainterPath>
#include <functional>
#include <map>

namespace vm2::content {

namespace {

QPainterPath frameShape(const QString &frame)
{
    QPainterPath path;
    if (frame == QLatin1String("round"))
        path.addRoundedRect(QRectF(14, 14, 372, 372), 36, 36);
    else if (frame == QLatin1String("oval"))
        path.addEllipse(QRectF(8, 28, 384, 344));
    else
        path.addRect(QRectF(0, 0, 400, 400));
    return path;
}

} // namespace

QImage drawEventPicture(const SceneRecipe &scene, const Recipe &recipe)
{
    static const std::map<QString, std::function<void(QPainter &, const People &)>> scenes{
        {QStringLiteral("sunsetwindow"), sunsetWindow},
        {QStringLiteral("umbrella"), umbrella},
        {QStringLiteral("starbase"), starBase},
        {QStringLiteral("comet"), comet},
        {QStringLiteral("cosmos"), cosmos},
        {QStringLiteral("cranes"), cranes},
        {QStringLiteral("busking"), busking},
        {QStringLiteral("stage"), stage},
        {QStringLiteral("fireworks"), fireworks},
        {QStringLiteral("party"), party},
        {QStringLiteral("letter"), letter},
        {QStringLiteral("stretcher"), stretcher},
        {QStringLiteral("bed"), bed},
        {QStringLiteral("lyrics"), lyrics},
    };
    const auto it = scenes.find(scene.scene);
    if (it == scenes.end())
        return QImage();
    People people;
    for (const QString &code : scene.characters)
        people << findFigure(recipe, code);

    QImage art(400, 400, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::white);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        it->second(p, people);
    }
    QImage framed(400, 400, QImage::Format_ARGB32_Premultiplied);
    framed.fill(Qt::transparent);
    QPainter p(&framed);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = frameShape(scene.frame);
    p.setClipPath(shape);
    p.drawImage(0, 0, art);
    if (scene.frame != QLatin1String("full")) {
        p.setClipping(false);
        p.setPen(QPen(QColor(0xFF, 0xF4, 0xD8), 5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    }
    return framed;
}

QImage drawIcon(const Recipe &recipe, const QString &character, int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);
    QPainterPath square;
    square.addRoundedRect(QRectF(4, 4, 120, 120), 24, 24);
    QLinearGradient g(0, 0, 0, 128);
    g.setColorAt(0, QColor(0xFF, 0xB8, 0xD0));
    g.setColorAt(1, QColor(0x9C, 0x8C, 0xE8));
    p.setPen(QPen(QColor(0x6A, 0x4A, 0x9A), 3));
    p.setBrush(g);
    p.drawPath(square);
    p.setClipPath(square);
    if (const FigureRecipe *f = findFigure(recipe, character)) {
        // Frame the head: the face rectangle, widened, fills the icon.
        const QRectF face = f->face;
        const qreal scale = 100.0 / (face.width() * 1.35);
        p.translate(64 - (face.center().x()) * scale, 70 - face.center().y() * scale);
        p.scale(scale, scale);
        drawFigure(p, *f, Happy);
    }
    return icon;
}

} // namespace vm2::content
