#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

namespace vm2::content {

// How to draw one person: the face rectangle within the 300 × 400 body picture
// (where the face strip's cells are placed over it: the stage's face table for a
// character with a face, the recipe's "head" for one without), and the look.
struct FigureRecipe {
    QString file;   // base name in dat1: chara2, chara2-1, ...
    QString code;   // character code: the face strip is f<code>
    QRect face;     // empty: a character without a face strip
    QString hair;   // short, long, ponytail, twintails, bob, bun
    QString outfit; // gakuran, blazer, track, pajamas, band, coat, dress
    QColor hairColour, eyeColour, skin, outfitColour, accent;
    int expression = 1; // the expression painted into the body picture
    QString format;     // of the body picture
    QString faceFormat; // of the face strip
};

struct SceneRecipe {
    QString file;           // base name in dat1: back3, ibent01, ...
    QString scene;          // what to draw
    QString frame;          // event pictures: full, round or oval
    QStringList characters; // people in an event picture, by character code
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

// The person drawn as chara<name>: a character code ("4") or a variant ("4-1").
const FigureRecipe *findFigure(const Recipe &recipe, const QString &name);

} // namespace vm2::content
