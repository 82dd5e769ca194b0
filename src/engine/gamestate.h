#pragma once

#include "platform/scripterror.h"

#include <QString>
#include <array>
#include <cstdint>

namespace vm2::engine {

// An array with fixed bounds Lo..Hi, as the game state declares them. An index
// outside the bounds is a script error (subscript out of range).
template <typename T, int Lo, int Hi> class Bounded
{
public:
    static constexpr int first = Lo;
    static constexpr int last = Hi;

    T &at(int i)
    {
        check(i);
        return m_items[static_cast<std::size_t>(i - Lo)];
    }
    const T &at(int i) const
    {
        check(i);
        return m_items[static_cast<std::size_t>(i - Lo)];
    }
    T &operator()(int i) { return at(i); }
    const T &operator()(int i) const { return at(i); }
    void fill(const T &value) { m_items.fill(value); }

private:
    static void check(int i)
    {
        if (i < Lo || i > Hi)
            throw platform::ScriptError(
                platform::Fault::SubscriptOutOfRange,
                QStringLiteral("index %1 is outside %2 to %3").arg(i).arg(Lo).arg(Hi));
    }
    std::array<T, Hi - Lo + 1> m_items{};
};

// The bounds of the state's arrays: a script's index outside them is a script error,
// and the saved game, the headless player and the checker go over the same ranges.
inline constexpr int kFirstName = 1, kLastName = 3;        // surname, given name, nickname
inline constexpr int kFirstHeroine = 2, kLastHeroine = 5;  // Loveval
inline constexpr int kFirstCounter = 0, kLastCounter = 10; // Ibentcnt
inline constexpr int kFirstFlag = 1, kLastFlag = 9;        // Ibentflag
// Counter 0 belongs to no place: a new game does not reset it and the saved game
// leaves it out.
inline constexpr int kFirstPlaceCounter = 1;

// The hero's names (1 surname, 2 given name, 3 nickname) when none were given: a
// LOAD without a saved game, and a walkthrough without a "names:" line.
QString defaultName(int index);

// The signed 16-bit sum of a and b; leaving the range is a script error (overflow).
std::int16_t addInt16(std::int16_t a, int b);

// The whole state of a game. Truth values are 0 (false) and -1 (true).
struct GameState {
    Bounded<QString, kFirstName, kLastName> PName;               // 1 surname, 2 given, 3 nickname
    Bounded<std::int16_t, kFirstHeroine, kLastHeroine> Loveval;  // affection of heroines 2 to 5
    Bounded<std::int16_t, kFirstCounter, kLastCounter> Ibentcnt; // event counter per place number
    Bounded<std::int16_t, kFirstFlag, kLastFlag> Ibentflag;      // story flags
    QString PlaceCode;
    std::int16_t NextFlag = 0;
    std::int16_t TalkFlag = 0;
    std::int16_t TalkNo = 0;
    QString BackPath;
    std::int16_t BonusMode = 0;

    // The resets of a new game: affection, the place counters and flags to 0.
    // Counter 0 keeps its value.
    void resetForNewGame();
};

} // namespace vm2::engine
