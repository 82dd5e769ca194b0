#pragma once

#include "findings.h"
#include "scriptcheck.h"

#include "engine/placetable.h"

#include <QStringList>
#include <QTextStream>
#include <array>
#include <functional>
#include <limits>
#include <map>
#include <vector>

namespace vm2::check {

// The code of home, whose event 0 starts every game.
inline const QString kHome = engine::home().codeText();

// The line that made a counter value or step: a script and its "9" line; script -1
// stands for the value every counter starts with.
struct Origin {
    int script = -1;
    int line = 0;
};

// One place's event counter as the story map follows it (StorySolver says how).
struct Counter {
    // A value the counter can hold.
    struct Value {
        bool held = false;
        // The least sum of one-time advances that reaches it. A state that used less
        // can do all that one which used more can, so it is all we keep.
        int leastUsed = std::numeric_limits<int>::max();
        Origin origin; // the first advance that gave it
    };
    // An advance that may come at any time (free) or at most once (once).
    struct Step {
        int amount = 0;
        Origin origin;
    };

    QString code;
    bool reached = false;         // the player can walk to the place
    int cap = 0;                  // largest value followed
    int budget = 0;               // largest sum of one-time advances followed
    std::vector<Value> values;    // by value, 0 to cap
    std::vector<Step> free, once; // distinct amounts each

    bool holds(int value) const { return value >= 0 && value <= cap && at(value).held; }
    const Value &at(int value) const { return values[static_cast<std::size_t>(value)]; }
    Value &at(int value) { return values[static_cast<std::size_t>(value)]; }
};

// One script of the story and what the story map found of it.
struct ScriptNode {
    ScriptInfo info;
    bool reachable = false;
    bool processed = false; // its hand-overs and advances are followed
    // A jump, the start of a game or LOAD plays it whatever its place's counter holds.
    bool unbound = false;
    bool playsOnce = false; // bound, and it surely advances its own counter
};

// The shape of a story: which events play which, through jumps, next days,
// endings and the event counters of the places, and which scripts can be reached.
// StorySolver finds it; the map reports on it and draws it.
class StoryMap
{
public:
    explicit StoryMap(std::vector<ScriptInfo> scripts);

    // Finds the map, then reports jumps, endings and next days to missing events,
    // missing first and bonus events, counter values without event, and unreachable
    // scripts.
    void analyse(Findings &findings);

    // Place codes whose button a player can press: their backgrounds are loaded.
    const QStringList &placesReached() const { return m_places; }
    bool isReachable(const EventId &event) const;

    // The story map as a Graphviz graph: one node per script, grouped by place.
    void writeDot(QTextStream &out) const;

private:
    friend class StorySolver;

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
    static int slotOf(const QString &code);
    const ScriptNode &node(int script) const { return m_scripts[static_cast<std::size_t>(script)]; }
    ScriptNode &node(int script) { return m_scripts[static_cast<std::size_t>(script)]; }
    const Counter &counter(int slot) const { return m_counters[static_cast<std::size_t>(slot)]; }
    Counter &counter(int slot) { return m_counters[static_cast<std::size_t>(slot)]; }
    // An event of a place played only by its button (or at home by a next day in a
    // block): the counter then holds the event's own number.
    bool isBound(int script) const;
    // Every total that the script's advances of its own counter can make.
    std::vector<int> ownSums(int script) const;
    // The events a hand-over may play: a jump's event, an ending's two, and the home
    // event of a next day (event 0, or in a block each value the home counter holds).
    std::vector<Target> targets(const HandOver &h) const;
    // Calls `visit` with each value each reached counter can hold.
    void forEachValue(const std::function<void(const Counter &, int value)> &visit) const;

    // How play outside the bonus reaches a script: from the start of a game and the
    // place buttons, through jumps and next days, and with `endings` through endings.
    struct Reach {
        bool reached = false;
        bool byButton = false; // its place's button plays it
        Origin jump;           // the first jump that plays it (script -1: none)
    };
    std::vector<Reach> playReach(bool endings) const;
    static bool isEndingEvent(const EventId &event);

    void report(Findings &findings) const;
    void reportDeadEnds(Findings &findings) const;
    void reportEndings(Findings &findings) const;
    std::vector<Edge> edges() const;

    std::vector<ScriptNode> m_scripts;
    std::map<EventId, int> m_index;
    std::array<Counter, engine::kPlaceCount + 1> m_counters; // by slot; slot 0 belongs to no place
    QStringList m_places;
};

} // namespace vm2::check
