#include "script.h"

#include "platform/scripterror.h"

#include <QStringBuilder>
#include <algorithm>
#include <charconv>
#include <iterator>

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

const KindInfo &kindInfo(Kind kind)
{
    const auto it = std::find_if(kLineKinds.begin(), kLineKinds.end(),
                                 [kind](const KindInfo &k) { return k.kind == kind; });
    Q_ASSERT(it != kLineKinds.end());
    return *it;
}

namespace {

QString quoted(QStringView line)
{
    constexpr qsizetype kShown = 40;
    if (line.size() <= kShown)
        return u'"' % line % u'"';
    return u'"' % line.left(kShown) % QLatin1String("...\"");
}

// The field readers below report a malformed field in `error` instead of throwing:
// the checker parses every line of faulty scripts, and a thrown exception costs far
// more than the parse. Once `error` is set, what they return is meaningless.
using Error = std::optional<ScriptError>;

// The digit at 1-based position `pos`; a missing or non-digit character is a type mismatch.
int digitAt(QStringView line, qsizetype pos, const char *field, Error &error)
{
    if (pos < 1 || pos > line.size()) {
        error.emplace(Fault::TypeMismatch,
                      QStringLiteral("%1 has no %2 at position %3")
                          .arg(quoted(line), QLatin1String(field), QString::number(pos)));
        return 0;
    }
    const QChar c = line.at(pos - 1);
    if (c < u'0' || c > u'9') {
        error.emplace(
            Fault::TypeMismatch,
            QStringLiteral("%1 has '%2' at position %3 where its %4 needs a digit")
                .arg(quoted(line), QString(c), QString::number(pos), QLatin1String(field)));
        return 0;
    }
    return c.unicode() - u'0';
}

// A two-position count: ten times the first digit plus the second. A line that ends
// after the first digit gives that digit alone (so "63000" has two empty blocks).
int countAt(QStringView line, qsizetype pos, const char *field, Error &error)
{
    const int first = digitAt(line, pos, field, error);
    if (error || pos + 1 > line.size())
        return first;
    return first * 10 + digitAt(line, pos + 1, field, error);
}

void checkRange(QStringView line, int value, int lo, int hi, const char *field, Error &error)
{
    if (value < lo || value > hi)
        error.emplace(Fault::SubscriptOutOfRange,
                      QStringLiteral("%1 names %2 %3, not %4 to %5")
                          .arg(quoted(line), QLatin1String(field), QString::number(value),
                               QString::number(lo), QString::number(hi)));
}

QStringView charAt(QStringView line, qsizetype pos, const char *field, Error &error)
{
    if (pos > line.size()) {
        error.emplace(Fault::TypeMismatch,
                      QStringLiteral("%1 has no %2 at position %3")
                          .arg(quoted(line), QLatin1String(field), QString::number(pos)));
        return {};
    }
    return line.mid(pos - 1, 1);
}

// The counter that a lettered place code names on a "9" line (place "A"'s), or -1
// for any other character.
int lettersCounter(QStringView c)
{
    const Place *place = placeByCode(c);
    return place && place->lettered() ? place->number : -1;
}

void readField(QStringView line, const Field &field, Command &cmd, Error &error)
{
    using Read = Field::Read;
    QString text;
    int number = 0;
    switch (field.read) {
    case Read::None:
        return;
    case Read::Tail:
        text = line.right(field.pos).toString();
        break;
    case Read::Char:
        text = charAt(line, field.pos, field.name, error).toString();
        break;
    case Read::Text:
        text = line.mid(field.pos - 1).toString();
        break;
    case Read::Home:
        text = home().codeText();
        break;
    case Read::Digit:
        number = digitAt(line, field.pos, field.name, error);
        break;
    case Read::Count:
        number = countAt(line, field.pos, field.name, error);
        break;
    case Read::LastDigit:
        number = digitAt(line, line.size(), field.name, error);
        break;
    case Read::Sign:
        number = digitAt(line, field.pos, field.name, error) == 1 ? -cmd.value : cmd.value;
        break;
    case Read::Slot:
        number = lettersCounter(charAt(line, field.pos, field.name, error));
        if (number < 0 && !error)
            number = digitAt(line, field.pos, field.name, error);
        break;
    }
    if (error)
        return;
    if (field.range)
        checkRange(line, number, field.lo, field.hi, field.range, error);
    if (error)
        return;
    using Into = Field::Into;
    switch (field.into) {
    case Into::Code:
        cmd.code = text;
        break;
    case Into::Speaker:
        cmd.speaker = text.front();
        break;
    case Into::Text:
        cmd.text = text;
        break;
    case Into::Index:
        cmd.index = number;
        break;
    case Into::Value:
        cmd.value = number;
        break;
    case Into::Variant:
        cmd.variant = number;
        break;
    case Into::CountA:
        cmd.countA = number;
        break;
    case Into::CountB:
        cmd.countB = number;
        break;
    }
}

// A character without a face strip: its line loads the body alone.
const QString kFaceless = QStringLiteral("A");

} // namespace

Command parseCommand(QStringView line, std::optional<ScriptError> &error)
{
    const KindInfo *info = lineKind(line);
    Q_ASSERT(info);
    Command cmd;
    cmd.kind = info->kind;
    error.reset();
    for (const Field &field : info->fields) {
        readField(line, field, cmd, error);
        if (error)
            break;
    }
    return cmd;
}

Command parseCommand(QStringView line)
{
    std::optional<ScriptError> error;
    Command cmd = parseCommand(line, error);
    if (error)
        throw *error;
    return cmd;
}

QString pictureFile(stage::PictureRole role, const QString &code, int variant)
{
    const auto da1 = QLatin1String(".da1");
    switch (role) {
    case stage::PictureRole::Background:
        return QLatin1String("dat1/back") % code % da1;
    case stage::PictureRole::Character:
        if (variant != 0)
            return QLatin1String("dat1/chara") % code % u'-' % QString::number(variant) % da1;
        return QLatin1String("dat1/chara") % code % da1;
    case stage::PictureRole::Face:
        return QLatin1String("dat1/f") % code % da1;
    case stage::PictureRole::EventPicture:
        return QLatin1String("dat1/ibent") % code % da1;
    }
    return QString();
}

std::vector<PictureLoad> picturesOf(const Command &cmd)
{
    const KindInfo &info = kindInfo(cmd.kind);
    std::vector<PictureLoad> loads;
    for (int i = 0; i < info.pictureCount; ++i) {
        const stage::PictureRole role = info.pictures[static_cast<std::size_t>(i)];
        if (role == stage::PictureRole::Face && cmd.code == kFaceless)
            continue;
        loads.push_back({role, pictureFile(role, cmd.code, cmd.variant)});
    }
    return loads;
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

namespace {
constexpr QLatin1String kScriptFolder("dat2/"), kScriptPrefix("ibent"), kScriptSuffix(".da2");

// The name built in one allocation: the checker names an event for every line that
// hands over and every node of the story map.
QString eventFileName(QLatin1String folder, const QString &place, int number)
{
    char digits[16];
    const char *end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    const QLatin1String decimal(digits, end);
    QString name;
    name.reserve(folder.size() + kScriptPrefix.size() + place.size() + 1 + decimal.size() +
                 kScriptSuffix.size());
    name.append(folder)
        .append(kScriptPrefix)
        .append(place)
        .append(u'-')
        .append(decimal)
        .append(kScriptSuffix);
    return name;
}
} // namespace

QString scriptFileName(const QString &place, int number)
{
    return eventFileName(QLatin1String(), place, number);
}

QString scriptPath(const QString &place, int number)
{
    return eventFileName(kScriptFolder, place, number);
}

bool parseScriptFileName(QStringView name, QString *place, int *number)
{
    // The prefix, the place, "-", at least one digit, the suffix.
    const qsizetype prefix = kScriptPrefix.size(), suffix = kScriptSuffix.size();
    if (name.size() < prefix + 3 + suffix || !name.startsWith(kScriptPrefix) ||
        !name.endsWith(kScriptSuffix) || name.at(prefix + 1) != u'-')
        return false;
    const QChar code = name.at(prefix);
    if (code.isSurrogate())
        return false;
    const QStringView digits = name.mid(prefix + 2, name.size() - prefix - 2 - suffix);
    // A name is valid exactly when it reads back the same.
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok || value < -32768 || value > 32767 || QString::number(value) != digits)
        return false;
    if (place)
        *place = QString(code);
    if (number)
        *number = value;
    return true;
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

QString messageText(const Command &cmd, const std::array<QString, 3> &names)
{
    QString text = cmd.text;
    text.replace(QStringLiteral("@1"), names[0]);
    text.replace(QStringLiteral("@2"), names[1]);
    text.replace(QStringLiteral("@3"), names[2]);
    if (cmd.speaker == u'1')
        text.prepend(names[1]);
    return text;
}

} // namespace vm2::engine
