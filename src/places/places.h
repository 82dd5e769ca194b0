#pragma once

#include "engine/screen.h"

#include <QString>

namespace vm2::places {

// A walkable place: its number (a place button's Tag and the index of its event
// counter), its code (PlaceCode, script and background names) and its name.
struct Place {
    int number;
    const char16_t *code;
    const char16_t *name;
};

// The nine walkable places, by number 1 to 9.
const Place *placeByNumber(int number);
// The place code for a place button's Tag: "8" becomes "A", "9" becomes "B",
// "1" to "7" stay as they are.
QString codeForTag(const QString &tag);

// Shows the place buttons of the place `placeCode`: for each button of its row,
// in index order, the caption, the Tag, then visible. Buttons outside the row,
// and every button for a code without a row, are left as they are.
void SetPlaceButtons(const QString &placeCode, engine::PlaceButtons &buttons);

} // namespace vm2::places
