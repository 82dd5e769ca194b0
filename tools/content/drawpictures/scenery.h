#pragma once

#include <QImage>
#include <QString>

namespace vm2::content {

// Draws the 400 × 400 background `scene`: bedroom; school, schoolspring, schoolrain,
// schoolfestival, schoolautumn; hill, hillnight, hillcloud; hospital, hospitalcosmos,
// corridor; council, councilnight, councilrain; base, ward, street, streetrain,
// streetcomet, livehouse, rooftop, parknight, library, sea. Returns a null image for
// an unknown scene.
QImage drawBackground(const QString &scene);

} // namespace vm2::content
