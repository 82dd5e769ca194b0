#pragma once

#include "recipe.h"

#include <QImage>

namespace vm2::content {

// Draws the event picture of `scene` on a transparent 400 × 400 canvas, cut to its
// frame (full, round or oval): alpha marks what covers the background. People are
// taken from `recipe`. Returns a null image for an unknown scene.
QImage drawEventPicture(const SceneRecipe &scene, const Recipe &recipe);

// The program's icon: the face of `character` in a rounded square.
QImage drawIcon(const Recipe &recipe, const QString &character, int size);

} // namespace vm2::content
