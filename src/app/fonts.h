#pragma once

#include <QFont>
#include <QStringList>

// The face every text of the game is drawn in.
//
// The layouts were drawn for "ＭＳ Ｐゴシック". Where it is not installed, IPAPGothic
// (Debian's fonts-ipafont-gothic) is the face made to match it: the same widths and
// nearly the same line height. Noto Sans CJK JP comes last: it is larger per point
// and its lines are taller, so more texts need the fitting of textfit.h. Neither
// free face has a bold face of its own at every weight: bold is asked for by weight,
// and Qt emboldens the regular outlines where the face has no bold.
namespace vm2::app {

// The faces in order of preference.
QStringList gameFontFamilies();
bool isFontInstalled(const QString &family);

// The face in use: the first installed one of gameFontFamilies(), unless
// useGameFontFamily() chose another.
QString gameFontFamily();
// Draws every text made from now on in `family` (tests render each window in each
// face). An empty family returns to the automatic choice.
void useGameFontFamily(const QString &family);

// The face in use at `pointSize`, bold (weight 700) or normal (400).
QFont gameFont(qreal pointSize, bool bold, bool underline = false);

} // namespace vm2::app
