#include "places.h"

#include <array>
#include <initializer_list>

namespace vm2::places {

namespace {

constexpr std::array<Place, 9> kPlaces{{
    {1, u"1", u"自宅"},
    {2, u"2", u"アース学園"},
    {3, u"3", u"裏山"},
    {4, u"4", u"アース病院"},
    {5, u"5", u"生徒会室"},
    {6, u"6", u"秘密基地"},
    {7, u"7", u"病室"},
    {8, u"A", u"大通り"},
    {9, u"B", u"ライブハウス"},
}};

struct Button {
    const char16_t *caption;
    int tag;
};

struct Row {
    const char16_t *code;
    std::initializer_list<Button> buttons;
};

const std::array<Row, 8> kRows{{
    {u"1", {{u"アース学園", 2}, {u"裏山", 3}, {u"アース病院", 4}, {u"大通り", 8}}},
    {u"2", {{u"自宅", 1}, {u"裏山", 3}, {u"アース病院", 4}, {u"生徒会室", 5}, {u"大通り", 8}}},
    {u"3",
     {{u"自宅", 1}, {u"アース学園", 2}, {u"アース病院", 4}, {u"秘密基地", 6}, {u"大通り", 8}}},
    {u"4", {{u"自宅", 1}, {u"アース学園", 2}, {u"裏山", 3}, {u"病室", 7}, {u"大通り", 8}}},
    {u"5", {{u"生徒会室を出る", 2}}},
    {u"6", {{u"基地を出る", 3}}},
    {u"7", {{u"病室を出る", 4}}},
    {u"A",
     {{u"自宅", 1}, {u"アース学園", 2}, {u"アース病院", 4}, {u"裏山", 3}, {u"ライブハウス", 9}}},
}};

} // namespace

const Place *placeByNumber(int number)
{
    if (number < 1 || number > static_cast<int>(kPlaces.size()))
        return nullptr;
    return &kPlaces[static_cast<std::size_t>(number - 1)];
}

QString codeForTag(const QString &tag)
{
    bool ok = false;
    const int n = tag.toInt(&ok);
    if (ok && n == 8)
        return QStringLiteral("A");
    if (ok && n == 9)
        return QStringLiteral("B");
    return tag;
}

void SetPlaceButtons(const QString &placeCode, engine::PlaceButtons &buttons)
{
    const QString code = placeCode;
    for (const Row &row : kRows) {
        if (code != QStringView(row.code))
            continue;
        std::size_t i = 0;
        for (const Button &b : row.buttons) {
            buttons[i].caption = QString::fromUtf16(b.caption);
            buttons[i].tag = QString::number(b.tag);
            buttons[i].visible = true;
            ++i;
        }
        return;
    }
}

} // namespace vm2::places
