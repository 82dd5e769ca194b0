#include "placetable.h"

#include <array>

namespace vm2::engine {

namespace {

// By number; home is the first.
constexpr std::array<Place, kPlaceCount> kPlaces{{
    {.number = 1, .code = u"1", .name = u"自宅"},
    {.number = 2, .code = u"2", .name = u"アース学園"},
    {.number = 3, .code = u"3", .name = u"裏山"},
    {.number = 4, .code = u"4", .name = u"アース病院"},
    {.number = 5, .code = u"5", .name = u"生徒会室"},
    {.number = 6, .code = u"6", .name = u"秘密基地"},
    {.number = 7, .code = u"7", .name = u"病室"},
    {.number = 8, .code = u"A", .name = u"大通り"},
    {.number = 9, .code = u"B", .name = u"ライブハウス"},
}};

} // namespace

bool Place::lettered() const
{
    // The others are their own one-digit numbers.
    return !(code[0] == u'0' + number && code[1] == u'\0');
}

const Place *placeByNumber(int number)
{
    if (number < 1 || number > static_cast<int>(kPlaces.size()))
        return nullptr;
    return &kPlaces[static_cast<std::size_t>(number - 1)];
}

const Place *placeByCode(QStringView code)
{
    for (const Place &p : kPlaces) {
        if (code == QStringView(p.code))
            return &p;
    }
    return nullptr;
}

const Place &home()
{
    return kPlaces.front();
}

QString placeLabelName(QChar code, Where where)
{
    const bool block = where == Where::Block;
    switch (code.unicode()) {
    case u'1':
        return QStringLiteral("自宅");
    case u'2':
        return QStringLiteral("アース病院");
    case u'3':
        return QStringLiteral("生徒会室");
    case u'4':
        return QStringLiteral("ゴミ置き場");
    case u'5':
        return QStringLiteral("裏山");
    case u'6':
        return QStringLiteral("裏山入口");
    case u'7':
        return QStringLiteral("病室入口");
    case u'8':
        return QStringLiteral("文房具店");
    case u'9':
        return QStringLiteral("屋上");
    case u'A':
        return QStringLiteral("アース学園");
    case u'B':
        return QStringLiteral("教会");
    case u'D':
        return QStringLiteral("病室");
    case u'E':
        return QStringLiteral("秘密基地");
    case u'F':
        return QStringLiteral("市立図書館");
    case u'G':
        return QStringLiteral("大通り");
    case u'H':
        return QStringLiteral("ショップ");
    case u'I':
        return block ? QStringLiteral("コンサートホール裏手") : QStringLiteral("ホール裏手");
    case u'J':
        return block ? QStringLiteral("ライブ") : QStringLiteral("ライブハウス");
    case u'K':
        return QStringLiteral("ライブハウス");
    case u'L':
        return QStringLiteral("公園");
    default:
        return QString();
    }
}

} // namespace vm2::engine
