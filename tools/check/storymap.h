#pragma once

#include "findings.h"
#include "scriptcheck.h"

#include "engine/placetable.h"

#include <QStringList>
#include <QTextStream>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace vm2::check {

// The code of home, whose event 0 starts every game.
inline const QString kHome = engine::home().codeText();

// The shape of a story: which events play which, through jumps, next days,
// endings and the event counters of the places, and which scripts can be reached.
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
class StoryMap
{
public:
    explicit StoryMap(std::vector<ScriptInfo> scripts);

    // Reports jumps, endings and next days to missing events, missing first and
    // bonus events, counter values without event, and unreachable scripts.
    void analyse(Findings &findings);

    // Place codes whose button a player can press: their backgrounds are loaded.
    const QStringList &placesReached() const { return m_places; }
    bool isReachable(const EventId &event) const;

    // The story map as a Graphviz graph: one node per script, grouped by place.
    void writeDot(QTextStream &out) const;

private:
    struct Origin {
        int script = -1; // -1: the value every counter starts with
        int line = 0;
    };
    struct Counter {
        QString code;
        bool reached = false;
        int cap = 0;           // largest value followed
        int budget = 0;        // largest sum of one-time advances followed
        std::vector<char> has; // by value
        // By value: the least sum of one-time advances that reaches it. A state that
        // used less can do all that one which used more can, so it is all we keep.
        std::vector<int> leastUsed;
        std::vector<Origin> origin;  // by value: the first advance that gave it
        std::vector<int> free, once; // distinct amounts
        std::vector<Origin> freeOrigin, onceOrigin;
    };
    struct Item {
        int script; // -1 for a counter state
        int slot;
        int value;
        int used; // sum of one-time advances that led to the state
    };
    struct Edge {
        EventId from, to;
        QString label; // a hand-over's; a step is labelled with its size, "+2"
        enum Style { HandOver, Step } style;
    };
    // An event a hand-over may play, and the label of its edge.
    struct Target {
        EventId event;
        QString label;
        // What it is for, in findings ("the event of the jump"): built only for those,
        // as a line may hand over to every value of the home counter.
        QString what(const HandOver &h) const;
    };

    int find(const EventId &event) const;
    int slotOf(const QString &code) const;
    bool isBound(int script) const;
    void findPlaces();
    void setUp();
    void reach(int script);
    void addState(int slot, int value, int used, Origin origin);
    void addStep(int slot, int amount, bool once, Origin origin);
    void ownSteps(int script, int used);
    void processScript(int script);
    void processState(const Item &item);
    std::vector<int> ownSums(int script) const;
    // The counter an advance of `script` steps freely or once (-1: an own step).
    bool isOwnStep(int script, const Advance &a) const;
    bool isOnce(int script, const Advance &a) const;
    void report(Findings &findings) const;
    // The events a hand-over may play: a jump's event, an ending's two, and the home
    // event of a next day (event 0, or in a block each value the home counter holds).
    std::vector<Target> targets(const HandOver &h) const;
    // Calls `visit` with each value each reached counter can hold.
    void forEachValue(const std::function<void(int slot, const Counter &, int value)> &visit) const;
    std::vector<Edge> edges() const;

    std::vector<ScriptInfo> m_scripts;
    std::map<EventId, int> m_index;
    std::vector<char> m_reachable, m_processed, m_unbound, m_playsOnce;
    std::array<Counter, engine::kPlaceCount + 1> m_counters; // by slot; slot 0 belongs to no place
    std::deque<Item> m_work;
    QStringList m_places;
    std::array<bool, engine::kLastFlag + 1> m_clearedFlags{};
};

} // namespace vm2::check
