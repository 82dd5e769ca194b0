#pragma once

#include "engine/placetable.h"
#include "engine/screen.h"

#include <QString>

namespace vm2::places {

// The place code for a place button's Tag (a place number): the place's code, so
// "8" becomes "A" and "9" becomes "B"; "1" to "7" and anything else stay as they are.
QString codeForTag(const QString &tag);

// Shows the place buttons of the place `placeCode`: for each button of its row,
// in index order, the caption, the Tag, then visible. Buttons outside the row,
// and every button for a code without a row, are left as they are.
void SetPlaceButtons(const QString &placeCode, engine::PlaceButtons &buttons);

} // namespace vm2::places
