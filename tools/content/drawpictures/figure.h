#pragma once

#include "recipe.h"

#include <QImage>
#include <QPainter>

namespace vm2::content {

// The five expressions of a face strip, in cell order.
enum Expression { Calm = 1, Happy = 2, Cross = 3, Sad = 4, Surprised = 5 };

// Draws the person in the 300 × 400 body frame (origin at the painter's origin) on
// whatever the painter already holds. Everything of the face that an expression
// changes lies inside `f.face`, so a cell cut out there replaces it completely.
void drawFigure(QPainter &p, const FigureRecipe &f, int expression);

// The person on a transparent 300 × 400 picture: alpha marks where the person is.
QImage renderFigure(const FigureRecipe &f, int expression);

} // namespace vm2::content
