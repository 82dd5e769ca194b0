#pragma once

#include "storymap.h"

#include <array>
#include <deque>

namespace vm2::check {

// Finds the story map: the reachable scripts and the values each event counter can
// hold.
//
// Event counters only grow, so they are followed by an over-approximation that is
// sound for what the checker reports. A place's counter starts at 0 and changes by
//  - the place's own steps: an event of a place that only its button (or, at home,
//    a next day in a block) plays starts with the counter at its own number n, so
//    its advances of that counter take it from n to n plus any sum of them;
//  - one-time advances: an event as above that surely advances its own counter (in
//    its main flow, before any line that may hand over) plays at most once, so its
//    advances of other counters come at most once each: their sum bounds what they
//    add together;
//  - once-a-game blocks: block 1 of a flag branch that surely sets its flag plays
//    once, unless some line clears that flag, so its advances are one-time too;
//  - free advances: every other advance (in events that a jump, the start of a
//    game or LOAD plays whatever the counter holds, in events that may play again,
//    in endings) may come at any time, any number of times.
// Values above the place's largest event number plus the counter's largest
// increment are not followed: they add nothing that a smaller value has not shown.
// Only advances in scripts that can be reached count, so the counters and the
// reachable scripts are found together, from the start of a game, the bonus event
// and the place buttons.
class StorySolver
{
public:
    explicit StorySolver(StoryMap &map) : m_map(map) {}

    void solve();

private:
    struct Item {
        int script; // -1 for a counter state
        int slot;
        int value;
        int used; // sum of one-time advances that led to the state
    };

    void findPlaces();
    void setUp();
    void reach(int script);
    void addState(int slot, int value, int used, Origin origin);
    void addStep(int slot, int amount, bool once, Origin origin);
    void ownSteps(int script, int used);
    void processScript(int script);
    void processState(const Item &item);
    // The counter an advance of `script` steps freely or once (-1: an own step).
    bool isOwnStep(int script, const Advance &a) const;
    bool isOnce(int script, const Advance &a) const;

    StoryMap &m_map;
    std::deque<Item> m_work;
    std::array<bool, engine::kLastFlag + 1> m_clearedFlags{};
};

} // namespace vm2::check
