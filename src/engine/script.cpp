#include "script.h"

#include "platform/scripterror.h"

#include <algorithm>

namespace vm2::engine {

using platform::Fault;
using platform::ScriptError;

const KindInfo *lineKind(QStringView line)
{
    if (line.isEmpty())
        return nullptr;
    const char16_t first = line.front().unicode();
    const auto it = std::find_if(kLineKinds.begin(), kLineKinds.end(), [first](const KindInfo &k) {
        return static_cast<char16_t>(k.kind) == first;
    });
    return it == kLineKinds.end() ? nullptr : &*it;
}

namespace {

QString quoted(QStringView line)
{
    constexpr qsizetype kShown = 40;
    if (line.size() <= kShown)
        return u'"' + line.toString() + u'"';
    return u'"' + line.left(kShown).toString() + QStringLiteral("...\"");
}

// The digit at 1-based position `pos`; a missing or non-digit character is a type mismatch.
int digitAt(QStringView line, qsizetype pos, const char *field)
{
    if (pos < 1 || pos > line.size())
        throw ScriptError(Fault::TypeMismatch,
                          QStringLiteral("%1 has no %2 at position %3")
                              .arg(quoted(line), QLatin1String(field), QString::number(pos)));
    const QChar c = line.at(pos - 1);
    if (c < u'0' || c > u'9')
        throw ScriptError(
            Fault::TypeMismatch,
            QStringLiteral("%1 has '%2' at position %3 where its %4 needs a digit")
                .arg(quoted(line), QString(c), QString::number(pos), QLatin1String(field)));
    return c.unicode() - u'0';
}

// A two-position count: ten times the first digit plus the second. A line that ends
// after the first digit gives that digit alone (so "63000" has two empty blocks).
int countAt(QStringView line, qsizetype pos, const char *field)
{
    const int first = digitAt(line, pos, field);
    if (pos + 1 > line.size())
        return first;
    return first * 10 + digitAt(line, pos + 1, field);
}

int lastDigit(QStringView line, const char *field)
{
    return digitAt(line, line.size(), field);
}

void checkRange(QStringView line, int value, int lo, int hi, const char *field)
{
    if (value < lo || value > hi)
        throw ScriptError(Fault::SubscriptOutOfRange,
                          QStringLiteral("%1 names %2 %3, not %4 to %5")
                              .arg(quoted(line), QLatin1String(field), QString::number(value),
                                   QString::number(lo), QString::number(hi)));
}

QString charAt(QStringView line, qsizetype pos, const char *field)
{
    if (pos > line.size())
        throw ScriptError(Fault::TypeMismatch,
                          QStringLiteral("%1 has no %2 at position %3")
                              .arg(quoted(line), QLatin1String(field), QString::number(pos)));
    return line.mid(pos - 1, 1).toString();
}

} // namespace

Command parseCommand(QStringView line)
{
    const KindInfo *info = lineKind(line);
    Q_ASSERT(info);
    Command cmd;
    cmd.kind = info->kind;
    switch (info->kind) {
    case Kind::Background:
    case Kind::PlaceLabel:
        cmd.code = line.right(1).toString();
        break;
    case Kind::Picture:
        cmd.code = line.right(2).toString();
        break;
    case Kind::Character:
        cmd.code = charAt(line, 2, "character code");
        cmd.value = digitAt(line, 3, "expression");
        cmd.variant = digitAt(line, 4, "variant");
        break;
    case Kind::Talk:
    case Kind::TalkNoWait:
        if (line.size() < 2)
            throw ScriptError(
                Fault::TypeMismatch,
                QStringLiteral("%1 has no speaker code at position 2").arg(quoted(line)));
        cmd.speaker = line.at(1);
        cmd.text = line.mid(2).toString();
        break;
    case Kind::Choice:
        cmd.countA = countAt(line, 2, "block 1 count");
        cmd.countB = countAt(line, 4, "block 2 count");
        break;
    case Kind::SetFlag:
        cmd.index = digitAt(line, 2, "flag number");
        checkRange(line, cmd.index, 1, 9, "flag");
        cmd.value = lastDigit(line, "flag value");
        break;
    case Kind::FlagBranch:
        cmd.index = digitAt(line, 2, "flag number");
        checkRange(line, cmd.index, 1, 9, "flag");
        cmd.countA = countAt(line, 3, "block 1 count");
        cmd.countB = countAt(line, 5, "block 2 count");
        break;
    case Kind::Love: {
        cmd.index = digitAt(line, 2, "heroine number");
        checkRange(line, cmd.index, 2, 5, "heroine");
        const int amount = countAt(line, 3, "amount");
        const int sign = digitAt(line, 5, "sign digit");
        cmd.value = sign == 1 ? -amount : amount;
        break;
    }
    case Kind::Counter: {
        if (line.size() < 2)
            throw ScriptError(
                Fault::TypeMismatch,
                QStringLiteral("%1 has no counter slot at position 2").arg(quoted(line)));
        const QChar slot = line.at(1);
        if (slot == u'A')
            cmd.index = 8;
        else if (slot == u'B')
            cmd.index = 9;
        else
            cmd.index = digitAt(line, 2, "counter slot");
        cmd.value = lastDigit(line, "increment");
        break;
    }
    case Kind::NextDay:
        break;
    case Kind::Jump:
        cmd.code = charAt(line, 2, "place code");
        cmd.value = digitAt(line, 3, "event number");
        break;
    case Kind::Ending:
        cmd.index = lastDigit(line, "heroine number");
        checkRange(line, cmd.index, 2, 5, "heroine");
        break;
    }
    return cmd;
}

ScriptError captionsPastEnd(int line)
{
    return ScriptError(Fault::InputPastEnd,
                       QStringLiteral("the choice on line %1 needs two caption lines").arg(line));
}

ScriptError blocksPastEnd(int line, int missing)
{
    return ScriptError(
        Fault::InputPastEnd,
        QStringLiteral("the blocks of line %1 reach %2 lines past the end of the file")
            .arg(line)
            .arg(missing));
}

int endingEvent(int heroine, bool happy)
{
    if (heroine == 5)
        return happy ? 0 : 1;
    return happy ? heroine : heroine + 3;
}

QString scriptFileName(const QString &place, int number)
{
    return QStringLiteral("ibent") + place + u'-' + QString::number(number) +
           QStringLiteral(".da2");
}

bool speakerColour(QChar speaker, bool waits, std::uint32_t *colour)
{
    switch (speaker.unicode()) {
    case u'1':
        *colour = colour::kBlue;
        return true;
    case u'2':
        *colour = waits ? colour::kRose : colour::kMagenta;
        return true;
    case u'3':
        *colour = colour::kGreen;
        return true;
    case u'4':
        *colour = colour::kBlack;
        return true;
    default:
        return false;
    }
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
