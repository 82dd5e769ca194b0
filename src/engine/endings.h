#pragma once

// The endings: which one a heroine's affection earns, the events that play them, the
// closing words they leave, the record that a happy one was seen, and the rule by
// which those words end the game. The runner, the game, the checker and the story
// tool all read these from here.

#include <QString>
#include <QStringView>
#include <cstdint>

namespace vm2::engine {

// An ending ("B") is happy when its heroine's affection is at least this; it is read
// once, before the ending event plays.
inline constexpr int kHappyThreshold = 35;
inline constexpr bool isHappy(int affection)
{
    return affection >= kHappyThreshold;
}

// The ending events of kEndingsPlace for heroines 2 to 5: happy 2, 3, 4, 0; bad 5, 6,
// 7, 1.
int endingEvent(int heroine, bool happy);
// The bonus event of kEndingsPlace, played in bonus mode.
inline constexpr int kBonusEvent = 8;
// The settings-store key of the marker that the happy ending of `heroine` was seen.
QString seenEndingKey(int heroine);

// The words an ending leaves on the message label, in their colour (a Windows colour
// value 0x00BBGGRR).
struct ClosingWords {
    std::uint32_t colour;
    QString text;
};
const ClosingWords &closingWords(bool happy);

// The game-over rule: a message label that holds "End" (compared case-sensitively)
// after the event of a place move ends the game, and no place is offered. Both
// closing words hold it; so does any message that happens to.
bool endsGame(QStringView talkText);

} // namespace vm2::engine
