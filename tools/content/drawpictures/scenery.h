#pragma once

#include <QImage>
#include <QPainter>
#include <QString>

namespace vm2::content {

// Draws the 400 × 400 background `scene` (bedroom, school, hill, hospital, council,
// base, ward, street, livehouse, rooftop, parknight, library, sea). Returns a null image
// for an unknown scene.
QImage drawBackground(const QString &scene);

// Pieces that event pictures share with the backgrounds.
void skyGradient(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom);
void stars(QPainter &p, const QRectF &r, int count, quint32 seed);
void tree(QPainter &p, QPointF foot, qreal size, const QColor &leaves);
void blossomTree(QPainter &p, QPointF foot, qreal size);

} // namespace vm2::content
