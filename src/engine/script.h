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
// the checker all work from it, from parseCommand() and from picturesOf(). A new
// kind is one row here and one handler in Engine::execute().

#include "endings.h"
#include "gamestate.h"
#include "placetable.h"
#include "platform/scripterror.h"
#include "stage/pictures.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

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

// How a field of a command line is read, and where it goes in the Command. A field
// that is missing or malformed is a script error that names it.
struct Field {
    enum class Read : std::uint8_t {
        None,      // no more fields
        Tail,      // the last `pos` characters
        Char,      // the character at `pos`
        Text,      // the text from `pos` to the end of the line
        Digit,     // the decimal digit at `pos`
        Count,     // tens and units at `pos` and after; the first alone when the line ends there
        LastDigit, // the decimal digit that ends the line
        Sign,      // the digit at `pos`: 1 negates the number read before it
        Slot,      // the character at `pos`: a lettered place code names its place's
                   // counter, anything else must be the counter's digit
        Home,      // nothing on the line: the home place's code
    };
    enum class Into : std::uint8_t { Code, Speaker, Text, Index, Value, Variant, CountA, CountB };

    Read read = Read::None;
    Into into = Into::Code;
    int pos = 0;
    const char *name = nullptr; // in errors
    // A number outside lo..hi is a script error (subscript out of range) naming `range`.
    const char *range = nullptr;
    int lo = 0, hi = 0;
};

// A line kind: its fields in the order they are read, the pictures it loads in the
// order it loads them (files by pictureFile()), whether it opens the two blocks that
// follow it (a kind that does does nothing inside a block, so blocks never nest),
// and whether the current event ends after it (a hand-over).
struct KindInfo {
    Kind kind;
    std::array<Field, 3> fields;
    int pictureCount = 0;
    std::array<stage::PictureRole, 2> pictures{};
    bool opensBlocks = false;
    bool handsOver = false;
};

namespace kinds {
using R = Field::Read;
using I = Field::Into;
using P = stage::PictureRole;

// Fields that more than one kind reads alike.
inline constexpr Field kFlagNumber{.read = R::Digit,
                                   .into = I::Index,
                                   .pos = 2,
                                   .name = "flag number",
                                   .range = "flag",
                                   .lo = kFirstFlag,
                                   .hi = kLastFlag};
inline constexpr std::array<Field, 3> kMessageFields{
    {{.read = R::Char, .into = I::Speaker, .pos = 2, .name = "speaker code"},
     {.read = R::Text, .into = I::Text, .pos = 3}}};
} // namespace kinds

// In the order the runner tests them.
inline constexpr std::array<KindInfo, 14> kLineKinds{{
    {.kind = Kind::Background,
     .fields = {{{.read = kinds::R::Tail, .into = kinds::I::Code, .pos = 1}}},
     .pictureCount = 1,
     .pictures = {kinds::P::Background}},
    {.kind = Kind::PlaceLabel,
     .fields = {{{.read = kinds::R::Tail, .into = kinds::I::Code, .pos = 1}}}},
    {.kind = Kind::Picture,
     .fields = {{{.read = kinds::R::Tail, .into = kinds::I::Code, .pos = 2}}},
     .pictureCount = 1,
     .pictures = {kinds::P::EventPicture}},
    {.kind = Kind::Character,
     .fields =
         {{{.read = kinds::R::Char, .into = kinds::I::Code, .pos = 2, .name = "character code"},
           {.read = kinds::R::Digit, .into = kinds::I::Value, .pos = 3, .name = "expression"},
           {.read = kinds::R::Digit, .into = kinds::I::Variant, .pos = 4, .name = "variant"}}},
     .pictureCount = 2,
     .pictures = {kinds::P::Character, kinds::P::Face}},
    {.kind = Kind::Talk, .fields = kinds::kMessageFields},
    {.kind = Kind::TalkNoWait, .fields = kinds::kMessageFields},
    {.kind = Kind::Choice,
     .fields =
         {{{.read = kinds::R::Count, .into = kinds::I::CountA, .pos = 2, .name = "block 1 count"},
           {.read = kinds::R::Count, .into = kinds::I::CountB, .pos = 4, .name = "block 2 count"}}},
     .opensBlocks = true},
    {.kind = Kind::SetFlag,
     .fields = {{kinds::kFlagNumber,
                 {.read = kinds::R::LastDigit, .into = kinds::I::Value, .name = "flag value"}}}},
    {.kind = Kind::FlagBranch,
     .fields =
         {{kinds::kFlagNumber,
           {.read = kinds::R::Count, .into = kinds::I::CountA, .pos = 3, .name = "block 1 count"},
           {.read = kinds::R::Count, .into = kinds::I::CountB, .pos = 5, .name = "block 2 count"}}},
     .opensBlocks = true},
    {.kind = Kind::Love,
     .fields =
         {{{.read = kinds::R::Digit,
            .into = kinds::I::Index,
            .pos = 2,
            .name = "heroine number",
            .range = "heroine",
            .lo = kFirstHeroine,
            .hi = kLastHeroine},
           {.read = kinds::R::Count, .into = kinds::I::Value, .pos = 3, .name = "amount"},
           {.read = kinds::R::Sign, .into = kinds::I::Value, .pos = 5, .name = "sign digit"}}}},
    {.kind = Kind::Counter,
     .fields =
         {{{.read = kinds::R::Slot, .into = kinds::I::Index, .pos = 2, .name = "counter slot"},
           {.read = kinds::R::LastDigit, .into = kinds::I::Value, .name = "increment"}}}},
    {.kind = Kind::NextDay,
     .fields = {{{.read = kinds::R::Home, .into = kinds::I::Code}}},
     .pictureCount = 1,
     .pictures = {kinds::P::Background},
     .handsOver = true},
    {.kind = Kind::Jump,
     .fields =
         {{{.read = kinds::R::Char, .into = kinds::I::Code, .pos = 2, .name = "place code"},
           {.read = kinds::R::Digit, .into = kinds::I::Value, .pos = 3, .name = "event number"}}},
     .handsOver = true},
    {.kind = Kind::Ending,
     .fields = {{{.read = kinds::R::LastDigit,
                  .into = kinds::I::Index,
                  .name = "heroine number",
                  .range = "heroine",
                  .lo = kFirstHeroine,
                  .hi = kLastHeroine}}},
     .handsOver = true},
}};

// The kind of a line, or nullptr for a line that is no command.
const KindInfo *lineKind(QStringView line);
// The row of a kind.
const KindInfo &kindInfo(Kind kind);

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

// Reads the fields of a command line as its kind's row says. A missing or malformed
// field is a script error: TypeMismatch for a non-digit, SubscriptOutOfRange for a
// number outside its range. `line` must start with a kind character.
Command parseCommand(QStringView line);
// The same, with a malformed field returned in `error` (the command is then
// incomplete) rather than thrown: for callers that meet many, like the checker.
Command parseCommand(QStringView line, std::optional<platform::ScriptError> &error);

// The picture file of a role, relative to the data folder: a background, a
// character's body (variant 0 is the base picture), a face strip, an event picture.
QString pictureFile(stage::PictureRole role, const QString &code, int variant = 0);

// A picture that a command line loads.
struct PictureLoad {
    stage::PictureRole role;
    QString file;
};
// The pictures of a command, as its kind's row names them: character "A" has no face.
std::vector<PictureLoad> picturesOf(const Command &cmd);

// The errors of a choice or flag branch on line `line` whose lines run past the end of
// the file: a choice without its two caption lines, and blocks that lack `missing`
// lines. The runner raises them as it plays; the checker reports them beforehand.
platform::ScriptError captionsPastEnd(int line);
platform::ScriptError blocksPastEnd(int line, int missing);

// "ibentA-12.da2": the script of an event, named by place code and event number.
QString scriptFileName(const QString &place, int number);
// "dat2/ibentA-12.da2": the same, as a path in the data folder.
QString scriptPath(const QString &place, int number);
// Reads a script file name back: one place character, then a 16-bit event number in
// decimal as scriptFileName() writes it (no leading zeros, blanks or plus sign).
// False for any other name.
bool parseScriptFileName(QStringView name, QString *place, int *number);

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

// The text that message `cmd` shows, given the hero's surname, given name and
// nickname: they stand for "@1", "@2" and "@3", and the hero's own lines (speaker
// "1") are headed by his given name.
QString messageText(const Command &cmd, const std::array<QString, 3> &names);

} // namespace vm2::engine
