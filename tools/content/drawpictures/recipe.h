#pragma once

#include "stage/pictures.h"

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

namespace vm2::content {

// The recipe names every picture as a script does: a background, character or event
// picture entry by its "code", a variant by "of" (its character's code) and
// "variant" (its number, 1 to 9). The file each is drawn into follows from that by
// the engine's own rule, so no entry names a file, and none can miss the file the
// scripts load.

// How to draw one person: the face rectangle within the 300 × 400 body picture
// (where the face strip's cells are placed over it: the stage's face table for a
// character with a face, the recipe's "head" for one without), and the look.
struct FigureRecipe {
    QString code;    // character code: the body picture and the face strip follow from it
    int variant = 0; // 0: the base picture; a variant is drawn like its base but for what it sets
    QRect face;      // empty: a character without a face strip
    QString hair;    // short, long, ponytail, twintails, bob, bun
    QString outfit;  // gakuran, blazer, track, pajamas, band, coat, dress
    QColor hairColour, eyeColour, skin, outfitColour, accent;
    int expression = 1; // the expression painted into the body picture
    QString format;     // of the body picture
    QString faceFormat; // of the face strip
};

struct SceneRecipe {
    stage::PictureRole role = stage::PictureRole::Background; // or EventPicture
    QString code;           // background or event picture code: "3", "01", ...
    QString scene;          // what to draw
    QString frame;          // event pictures: full, round or oval
    QStringList characters; // people in an event picture, as findFigure() names them
    QString format;
};

struct Recipe {
    QList<SceneRecipe> backgrounds;
    QList<FigureRecipe> figures;
    QList<SceneRecipe> events;
    QString iconCharacter;
};

// Reads the recipe file; on failure returns false and sets `error`.
bool readRecipe(const QString &path, Recipe &recipe, QString &error);

// The person of a body picture named as in its file name: a character code ("4") or a
// variant ("4-1").
const FigureRecipe *findFigure(const Recipe &recipe, const QString &name);

// The file names, within the dat1 folder, of the pictures of the recipe.
QString fileName(const FigureRecipe &figure);
QString faceFileName(const FigureRecipe &figure);
QString fileName(const SceneRecipe &scene);

} // namespace vm2::content
