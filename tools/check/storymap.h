#pragma once

#include "findings.h"
#include "scriptcheck.h"

#include <QStringList>
#include <QTextStream>
#include <array>
#include <deque>
#include <map>
#include <vector>

namespace vm2::check {

// The shape of a story: which events play which, through jumps, next days,
// endings and the event counters of the places, and which scripts can be reached.
//
// Event counters are followed by an over-approximation that is sound for what the
// checker reports: a place's counter may hold every value that starting from 0 it
// can get by
//  - the place's own steps: an event played by that place's button (or, at home, by
//    a next day in a block) starts with the counter at its own number n, so its
//    advances of its own counter take the counter from n to n plus any sum of them;
//  - free advances: every other advance of the counter (by events of other places,
//    by events that a jump or the start of a game plays whatever the counter holds)
//    may come at any time, any number of times.
// Values above the place's largest event number plus the counter's largest increment
// are not followed: they add nothing that a smaller value has not shown already.
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
        int cap = 0;
        std::vector<char> has; // by value
        std::vector<Origin> origin;
        std::vector<int> free; // distinct free increments
        std::vector<Origin> freeOrigin;
    };
    struct Item {
        int script; // -1 for a counter value
        int slot;
        int value;
    };
    struct Edge {
        EventId from, to;
        QString label;
        enum Style { HandOver, Step } style;
    };

    int find(const EventId &event) const;
    int slotOf(const QString &code) const;
    bool isBound(int script) const;
    void findPlaces();
    void reach(int script);
    void makeUnbound(int script);
    void addValue(int slot, int value, Origin origin);
    void addFree(int slot, int amount, Origin origin);
    void processScript(int script);
    void processValue(int slot, int value);
    std::vector<int> ownSums(int script) const;
    void report(Findings &findings) const;
    std::vector<Edge> edges() const;

    std::vector<ScriptInfo> m_scripts;
    std::map<EventId, int> m_index;
    std::vector<char> m_reachable, m_processed, m_unbound;
    std::array<Counter, 10> m_counters; // by slot; slot 0 belongs to no place
    std::deque<Item> m_work;
    QStringList m_places;
};

} // namespace vm2::check
