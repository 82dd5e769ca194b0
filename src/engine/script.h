#pragma once

// The event script format.
//
// An event script is a file dat2/ibent<place>-<number>.da2 of code page 932 lines.
// A line's first character is its kind; the fields of a kind stand at fixed 1-based
// positions, or are taken from the end of the line for "1", "F", "C", "5", "9" and
// "B". A line whose first character is no kind (and an empty line) does nothing.
// "4" (choice) and "6" (flag branch) are followed by two blocks of whole lines,
// whose lines the command executor plays one by one; inside a block "4" and "6"
// do nothing, so blocks never nest.
//
// kLineKinds below is the one list of kinds: the runner, the command executor and
// the checker all work from it and from parseCommand().

#include "platform/scripterror.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace vm2::engine {

enum class Kind : char16_t {
    Background = u'1',
    PlaceLabel = u'F',
    Picture = u'C',
    Character = u'2',
    Talk = u'3',
    TalkNoWait = u'E',
    Choice = u'4',
    SetFlag = u'5',
    FlagBranch = u'6',
    Love = u'7',
    Counter = u'9',
    NextDay = u'A',
    Jump = u'D',
    Ending = u'B',
};

struct KindInfo {
    Kind kind;
    const char *name;
    const char *syntax;
    bool inBlocks;  // false: the kind does nothing inside a block
    bool handsOver; // the current event ends after the line
    bool opensBlocks;
};

// In the order the runner tests them.
inline constexpr std::array<KindInfo, 14> kLineKinds{{
    {Kind::Background, "background", "1d", true, false, false},
    {Kind::PlaceLabel, "place label", "Fp", true, false, false},
    {Kind::Picture, "event picture", "Cpp", true, false, false},
    {Kind::Character, "character", "2cev", true, false, false},
    {Kind::Talk, "message", "3kT", true, false, false},
    {Kind::TalkNoWait, "message without wait", "EkT", true, false, false},
    {Kind::Choice, "choice", "4aabb", false, false, true},
    {Kind::SetFlag, "set flag", "5iv", true, false, false},
    {Kind::FlagBranch, "flag branch", "6iaabb", false, false, true},
    {Kind::Love, "affection", "7htus", true, false, false},
    {Kind::Counter, "event counter", "9sv", true, false, false},
    {Kind::NextDay, "next day", "A", true, true, false},
    {Kind::Jump, "jump", "Dpn", true, true, false},
    {Kind::Ending, "ending", "Bn", true, true, false},
}};

// The kind of a line, or nullptr for a line that is no command.
const KindInfo *lineKind(QStringView line);

// A command line with its fields read.
struct Command {
    Kind kind{};
    QString code;    // background, place label, picture, character or jump place code
    QString text;    // message text
    QChar speaker;   // message speaker code
    int index = 0;   // flag number, heroine number or counter slot
    int value = 0;   // flag value, signed affection amount, increment, expression, event number
    int variant = 0; // character picture variant
    int countA = 0;  // block 1 length of "4" and "6"
    int countB = 0;  // block 2 length
};

// Reads the fields of a command line. A missing or malformed field is a script
// error: TypeMismatch for a non-digit, SubscriptOutOfRange for a flag outside 1..9
// or a heroine outside 2..5. `line` must start with a kind character.
Command parseCommand(QStringView line);

// The errors of a choice or flag branch on line `line` whose lines run past the end of
// the file: a choice without its two caption lines, and blocks that lack `missing`
// lines. The runner raises them as it plays; the checker reports them beforehand.
platform::ScriptError captionsPastEnd(int line);
platform::ScriptError blocksPastEnd(int line, int missing);

// The ending events of place "9" for heroines 2 to 5: happy 2, 3, 4, 0; bad 5, 6, 7, 1.
int endingEvent(int heroine, bool happy);
// The bonus event of place "9", played in bonus mode.
inline constexpr int kBonusEvent = 8;

// "ibentA-12.da2": the script of an event, named by place code and event number.
QString scriptFileName(const QString &place, int number);

// Message colours, as Windows colour values 0x00BBGGRR.
namespace colour {
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kRose = 0x7B0FFF;
inline constexpr std::uint32_t kMagenta = 0xFF00FF;
inline constexpr std::uint32_t kGreen = 0xC000;
inline constexpr std::uint32_t kBlack = 0;
} // namespace colour

// The colour of a message of speaker `speaker`, or false for a speaker code that
// leaves the message label unchanged.
bool speakerColour(QChar speaker, bool waits, std::uint32_t *colour);

enum class Where { MainFlow, Block };

// The place label name for a place-label code of "F", or a null string for a code
// that leaves the label unchanged.
QString placeLabelName(QChar code, Where where);

} // namespace vm2::engine
