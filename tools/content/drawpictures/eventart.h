#pragma once

#include "recipe.h"

#include <QList>
#include <QPainter>

namespace vm2::content {

// The painters of the event pictures, each on a 400 × 400 canvas before its frame
// is cut. `people` are the persons of the recipe's entry, in its order.
using People = QList<const FigureRecipe *>;

void sunsetWindow(QPainter &p, const People &people);
void umbrella(QPainter &p, const People &people);
void starBase(QPainter &p, const People &people);
void comet(QPainter &p, const People &people);
void cosmos(QPainter &p, const People &people);
void cranes(QPainter &p, const People &people);
void busking(QPainter &p, const People &people);
void stage(QPainter &p, const People &people);
void fireworks(QPainter &p, const People &people);
void party(QPainter &p, const People &people);
void letter(QPainter &p, const People &people);
void stretcher(QPainter &p, const People &people);
void bed(QPainter &p, const People &people);
void lyrics(QPainter &p, const People &people);

} // namespace vm2::content
