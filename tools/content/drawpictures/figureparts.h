#pragma once

#include "recipe.h"

#include <QPainter>
#include <QPainterPath>

namespace vm2::content {

// The head's measures, taken from the face rectangle.
struct Head {
    qreal cx, top, w, h; // the skin of the face: centre x, top, width, height
    qreal eyeY() const { return top + h * 0.56; }
    qreal eyeDx() const { return w * 0.215; }
    qreal eyeW() const { return w * 0.17; }
    qreal eyeH() const { return h * 0.21; }
    qreal mouthY() const { return top + h * 0.83; }
    qreal chin() const { return top + h; }
};

Head headOf(const QRect &face);
QPen outline(const QColor &fill, qreal width = 2.0);
void fillPath(QPainter &p, const QPainterPath &path, const QColor &fill, qreal pen = 2.0);

// The neck and the clothes below the head.
void drawOutfit(QPainter &p, const FigureRecipe &f, const Head &hd);

} // namespace vm2::content
