#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

namespace vm2::content {

// The stage puts a picture over the background with its mask: erase with the mask,
// then invert with the picture. That only works when the mask is pure black (the
// picture shows) or pure white (the background shows), and the picture is pure
// white wherever the mask is white. These helpers make such pairs from drawings on
// a transparent canvas, where alpha says what belongs to the picture.

// A picture and, to its right, its mask: twice the width of `drawing`.
QImage pictureWithMask(const QImage &drawing);

// A face strip: the five expressions cut out of `drawings` at `face`, then the mask,
// each cell face.width() wide. The body is drawn with the first expression, so the
// mask keeps only what the expressions change (with a margin of skin around it) and
// what all five cover: the cell's edge then falls on the same skin the body shows,
// and no outline of the cell, no cut through the hair can be seen at any scale.
QImage faceStrip(const QList<QImage> &drawings, const QRect &face);

// Checks a picture of `cells` cells of equal width whose last cell is the mask of
// the others. Returns an empty text when the picture is sound, else what is wrong.
QString checkMaskedPicture(const QImage &image, int cells);

} // namespace vm2::content
