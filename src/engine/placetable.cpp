#include "placetable.h"

#include <array>

namespace vm2::engine {

namespace {

// By number; home is the first.
constexpr std::array<Place, kPlaceCount> kPlaces{{
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
