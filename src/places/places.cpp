#include "places.h"

#include <array>
#include <initializer_list>

namespace vm2::places {

namespace {

using engine::placeByNumber;

// A place button: the destination's place number, and its caption when that is
// not the destination's name (the leave buttons of the rooms).
struct Button {
    int to;
    const char16_t *caption = nullptr;
};

// The buttons each place offers, by the place's number; places without a row
// offer none.
struct Row {
    int place;
    std::initializer_list<Button> buttons;
};

const std::array<Row, 8> kRows{{
    {.place = 1, .buttons = {{2}, {3}, {4}, {8}}},
    {.place = 2, .buttons = {{1}, {3}, {4}, {5}, {8}}},
    {.place = 3, .buttons = {{1}, {2}, {4}, {6}, {8}}},
    {.place = 4, .buttons = {{1}, {2}, {3}, {7}, {8}}},
    {.place = 5, .buttons = {{.to = 2, .caption = u"生徒会室を出る"}}},
    {.place = 6, .buttons = {{.to = 3, .caption = u"基地を出る"}}},
    {.place = 7, .buttons = {{.to = 4, .caption = u"病室を出る"}}},
    {.place = 8, .buttons = {{1}, {2}, {4}, {3}, {9}}},
}};

} // namespace

QString codeForTag(const QString &tag)
{
    bool ok = false;
    const engine::Place *place = placeByNumber(tag.toInt(&ok));
    return ok && place && place->lettered() ? place->codeText() : tag;
}

void SetPlaceButtons(const QString &placeCode, engine::PlaceButtons &buttons)
{
    const engine::Place *place = engine::placeByCode(placeCode);
    if (!place)
        return;
    for (const Row &row : kRows) {
        if (row.place != place->number)
            continue;
        std::size_t i = 0;
        for (const Button &b : row.buttons) {
            const engine::Place *to = placeByNumber(b.to);
            buttons[i].caption = b.caption ? QString::fromUtf16(b.caption) : to->nameText();
            buttons[i].tag = QString::number(to->number);
            buttons[i].visible = true;
            ++i;
        }
        return;
    }
}

} // namespace vm2::places
