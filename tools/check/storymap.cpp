#include "storymap.h"

#include "engine/script.h"
#include "places/places.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace vm2::check {

StoryMap::StoryMap(std::vector<ScriptInfo> scripts) : m_scripts(std::move(scripts))
{
    for (std::size_t i = 0; i < m_scripts.size(); ++i)
        m_index.emplace(m_scripts[i].event, static_cast<int>(i));
    m_reachable.assign(m_scripts.size(), 0);
    m_processed.assign(m_scripts.size(), 0);
    m_unbound.assign(m_scripts.size(), 0);
    m_playsOnce.assign(m_scripts.size(), 0);
    for (int slot = 1; slot < static_cast<int>(m_counters.size()); ++slot)
        m_counters[static_cast<std::size_t>(slot)].code = engine::placeByNumber(slot)->codeText();
}

int StoryMap::find(const EventId &event) const
{
    const auto it = m_index.find(event);
    return it == m_index.end() ? -1 : it->second;
}

bool StoryMap::isReachable(const EventId &event) const
{
    const int i = find(event);
    return i >= 0 && m_reachable[static_cast<std::size_t>(i)];
}

int StoryMap::slotOf(const QString &code) const
{
    const engine::Place *place = engine::placeByCode(code);
    return place ? place->number : -1;
}

// An event of a place played only by its button (or at home by a next day in a
// block): the counter then holds the event's own number.
bool StoryMap::isBound(int script) const
{
    const ScriptInfo &s = m_scripts[static_cast<std::size_t>(script)];
    return slotOf(s.event.place) > 0 && !m_unbound[static_cast<std::size_t>(script)];
}

namespace {

// The places that the buttons of the place numbered `number` lead to. The town
// fixes them: they are worked out once.
const std::vector<const engine::Place *> &buttonTargets(int number)
{
    using Targets = std::array<std::vector<const engine::Place *>, engine::kPlaceCount + 1>;
    static const Targets table = [] {
        Targets targets;
        for (int from = 1; from <= engine::kPlaceCount; ++from) {
            engine::PlaceButtons buttons;
            places::SetPlaceButtons(engine::placeByNumber(from)->codeText(), buttons);
            for (const engine::PlaceButton &b : buttons) {
                const engine::Place *to = engine::placeByCode(places::codeForTag(b.tag));
                if (b.visible && to)
                    targets[static_cast<std::size_t>(from)].push_back(to);
            }
        }
        return targets;
    }();
    return table[static_cast<std::size_t>(number)];
}

} // namespace

// The places a player can walk to: from home along the place buttons, and from
// every place a jump makes current.
void StoryMap::findPlaces()
{
    std::vector<int> todo; // by number, first come first
    todo.reserve(64);
    todo.push_back(engine::home().number);
    m_places.reserve(engine::kPlaceCount);
    for (const ScriptInfo &s : m_scripts) {
        for (const HandOver &h : s.handOvers) {
            const engine::Place *place =
                h.type == HandOver::Jump ? engine::placeByCode(h.target.place) : nullptr;
            if (place)
                todo.push_back(place->number);
        }
    }
    std::array<bool, engine::kPlaceCount + 1> seen{};
    for (std::size_t i = 0; i < todo.size(); ++i) {
        bool &done = seen[static_cast<std::size_t>(todo[i])];
        if (done)
            continue;
        done = true;
        for (const engine::Place *to : buttonTargets(todo[i])) {
            const QString code = to->codeText();
            if (!m_places.contains(code))
                m_places << code;
            todo.push_back(to->number);
        }
    }
}

void StoryMap::reach(int script)
{
    auto &flag = m_reachable[static_cast<std::size_t>(script)];
    if (flag)
        return;
    flag = 1;
    m_work.push_back({script, 0, 0, 0});
}

void StoryMap::addState(int slot, int value, int used, Origin origin)
{
    Counter &c = m_counters[static_cast<std::size_t>(slot)];
    if (value < 0 || value > c.cap || used > c.budget ||
        used >= c.leastUsed[static_cast<std::size_t>(value)])
        return;
    c.leastUsed[static_cast<std::size_t>(value)] = used;
    if (!c.has[static_cast<std::size_t>(value)]) {
        c.has[static_cast<std::size_t>(value)] = 1;
        c.origin[static_cast<std::size_t>(value)] = origin;
    }
    m_work.push_back({-1, slot, value, used});
}

// A free or one-time advance of a reachable script: it applies to every state so far
// and, through processState(), to every later one.
void StoryMap::addStep(int slot, int amount, bool once, Origin origin)
{
    if (slot < 1 || slot >= static_cast<int>(m_counters.size()) || amount <= 0)
        return;
    Counter &c = m_counters[static_cast<std::size_t>(slot)];
    auto &amounts = once ? c.once : c.free;
    if (std::find(amounts.begin(), amounts.end(), amount) != amounts.end())
        return;
    amounts.push_back(amount);
    (once ? c.onceOrigin : c.freeOrigin).push_back(origin);
    for (int v = 0; v <= c.cap; ++v) {
        if (c.has[static_cast<std::size_t>(v)]) {
            const int used = c.leastUsed[static_cast<std::size_t>(v)];
            addState(slot, v + amount, once ? used + amount : used, origin);
        }
    }
}

// Every total that the script's advances of its own counter can make: any of the
// main flow's advances (a hand-over may cut the script short), and of each choice or
// flag branch those of one block or of the other, never of both.
std::vector<int> StoryMap::ownSums(int script) const
{
    const ScriptInfo &s = m_scripts[static_cast<std::size_t>(script)];
    const int slot = slotOf(s.event.place);
    const int cap = m_counters[static_cast<std::size_t>(slot)].cap;
    using Sums = std::vector<char>;
    auto none = [cap] {
        Sums sums(static_cast<std::size_t>(cap) + 1, 0);
        sums[0] = 1;
        return sums;
    };
    auto add = [cap](Sums &sums, int amount) {
        for (int v = cap - amount; v >= 0; --v) {
            if (sums[static_cast<std::size_t>(v)])
                sums[static_cast<std::size_t>(v + amount)] = 1;
        }
    };
    // The sums of the main flow, and of the two blocks of each branch.
    Sums sums = none();
    std::map<int, std::array<Sums, 2>> branches;
    for (const Advance &a : s.advances) {
        if (a.slot != slot || a.amount <= 0 || a.amount > cap)
            continue;
        if (a.branch == 0) {
            add(sums, a.amount);
            continue;
        }
        auto [it, fresh] = branches.try_emplace(a.branch);
        if (fresh)
            it->second = {none(), none()};
        add(it->second[static_cast<std::size_t>(a.block == 2)], a.amount);
    }
    for (const auto &[line, blocks] : branches) {
        Q_UNUSED(line)
        Sums combined(sums.size(), 0);
        for (int v = 0; v <= cap; ++v) {
            if (!sums[static_cast<std::size_t>(v)])
                continue;
            for (int w = 0; v + w <= cap; ++w) {
                if (blocks[0][static_cast<std::size_t>(w)] ||
                    blocks[1][static_cast<std::size_t>(w)])
                    combined[static_cast<std::size_t>(v + w)] = 1;
            }
        }
        sums = std::move(combined);
    }
    std::vector<int> result;
    for (int v = 1; v <= cap; ++v) {
        if (sums[static_cast<std::size_t>(v)])
            result.push_back(v);
    }
    return result;
}

bool StoryMap::isOwnStep(int script, const Advance &a) const
{
    return isBound(script) &&
           a.slot == slotOf(m_scripts[static_cast<std::size_t>(script)].event.place);
}

bool StoryMap::isOnce(int script, const Advance &a) const
{
    return m_playsOnce[static_cast<std::size_t>(script)] ||
           (a.guardFlag > 0 && !m_clearedFlags[static_cast<std::size_t>(a.guardFlag)]);
}

// The own steps of a bound event, from its number with `used` one-time advances.
void StoryMap::ownSteps(int script, int used)
{
    const ScriptInfo &s = m_scripts[static_cast<std::size_t>(script)];
    const int slot = slotOf(s.event.place);
    const auto first = std::find_if(s.advances.begin(), s.advances.end(),
                                    [slot](const Advance &a) { return a.slot == slot; });
    if (first == s.advances.end())
        return;
    for (const int sum : ownSums(script))
        addState(slot, s.event.number + sum, used, {script, first->line});
}

void StoryMap::processScript(int script)
{
    m_processed[static_cast<std::size_t>(script)] = 1;
    const ScriptInfo &s = m_scripts[static_cast<std::size_t>(script)];
    for (const HandOver &h : s.handOvers) {
        // In a block the home event of a next day follows the home counter, whose
        // values the place button of home plays anyway.
        if (h.type == HandOver::NextDay && h.inBlock)
            continue;
        for (const Target &t : targets(h)) {
            if (const int i = find(t.event); i >= 0)
                reach(i);
        }
    }
    const int own = isBound(script) ? slotOf(s.event.place) : -1;
    if (own > 0) {
        const Counter &c = m_counters[static_cast<std::size_t>(own)];
        const auto n = static_cast<std::size_t>(s.event.number);
        if (n < c.has.size() && c.has[n])
            ownSteps(script, c.leastUsed[n]);
    }
    for (const Advance &a : s.advances) {
        if (!isOwnStep(script, a))
            addStep(a.slot, a.amount, isOnce(script, a), {script, a.line});
    }
}

void StoryMap::processState(const Item &item)
{
    Counter &c = m_counters[static_cast<std::size_t>(item.slot)];
    if (item.used > c.leastUsed[static_cast<std::size_t>(item.value)])
        return; // a better state for this value came since
    if (const int t = find({c.code, item.value}); t >= 0 && c.reached) {
        reach(t);
        if (m_processed[static_cast<std::size_t>(t)] && isBound(t))
            ownSteps(t, item.used);
    }
    for (std::size_t i = 0; i < c.free.size(); ++i)
        addState(item.slot, item.value + c.free[i], item.used, c.freeOrigin[i]);
    for (std::size_t i = 0; i < c.once.size(); ++i)
        addState(item.slot, item.value + c.once[i], item.used + c.once[i], c.onceOrigin[i]);
}

// What is known of every script before the walk: which events are bound to their
// counter, which play at most once, and how far each counter is followed.
void StoryMap::setUp()
{
    findPlaces();
    for (const ScriptInfo &s : m_scripts) {
        for (const HandOver &h : s.handOvers) {
            if (const int t = h.type == HandOver::Jump ? find(h.target) : -1; t >= 0)
                m_unbound[static_cast<std::size_t>(t)] = 1;
        }
    }
    // The start of a game and LOAD play home event 0 whatever the home counter holds.
    if (const int start = find({kHome, 0}); start >= 0)
        m_unbound[static_cast<std::size_t>(start)] = 1;

    for (const ScriptInfo &s : m_scripts) {
        for (std::size_t f = 0; f < m_clearedFlags.size(); ++f)
            m_clearedFlags[f] = m_clearedFlags[f] || s.clearsFlag[f];
    }
    std::map<QString, int> largestEvent;
    std::array<int, engine::kPlaceCount + 1> largestAdvance{}, onceSum{}; // by slot
    for (std::size_t i = 0; i < m_scripts.size(); ++i) {
        const ScriptInfo &s = m_scripts[i];
        auto [it, added] = largestEvent.emplace(s.event.place, s.event.number);
        if (!added)
            it->second = std::max(it->second, s.event.number);
        const int own = slotOf(s.event.place);
        m_playsOnce[i] = isBound(static_cast<int>(i)) &&
                         std::any_of(s.advances.begin(), s.advances.end(), [own](const Advance &a) {
                             return a.slot == own && a.amount > 0 && a.certain;
                         });
        for (const Advance &a : s.advances) {
            auto &largest = largestAdvance[static_cast<std::size_t>(a.slot)];
            largest = std::max(largest, a.amount);
            if (!isOwnStep(static_cast<int>(i), a) && isOnce(static_cast<int>(i), a))
                onceSum[static_cast<std::size_t>(a.slot)] += a.amount;
        }
    }
    for (int slot = 1; slot < static_cast<int>(m_counters.size()); ++slot) {
        Counter &c = m_counters[static_cast<std::size_t>(slot)];
        c.reached = m_places.contains(c.code);
        const auto it = largestEvent.find(c.code);
        c.cap = std::max(0, it == largestEvent.end() ? 0 : it->second) +
                largestAdvance[static_cast<std::size_t>(slot)];
        c.budget = onceSum[static_cast<std::size_t>(slot)];
        c.has.assign(static_cast<std::size_t>(c.cap) + 1, 0);
        c.leastUsed.assign(static_cast<std::size_t>(c.cap) + 1, std::numeric_limits<int>::max());
        c.origin.assign(static_cast<std::size_t>(c.cap) + 1, {});
    }
}

void StoryMap::analyse(Findings &findings)
{
    setUp();
    if (const int start = find({kHome, 0}); start >= 0)
        reach(start);
    if (const int bonus = find({engine::kEndingsPlace, engine::kBonusEvent}); bonus >= 0)
        reach(bonus);
    for (int slot = 1; slot < static_cast<int>(m_counters.size()); ++slot) {
        if (m_counters[static_cast<std::size_t>(slot)].reached)
            addState(slot, 0, 0, {});
    }
    while (!m_work.empty()) {
        const Item item = m_work.front();
        m_work.pop_front();
        if (item.script >= 0)
            processScript(item.script);
        else
            processState(item);
    }
    report(findings);
}

void StoryMap::forEachValue(const std::function<void(int, const Counter &, int)> &visit) const
{
    for (int slot = 1; slot < static_cast<int>(m_counters.size()); ++slot) {
        const Counter &c = m_counters[static_cast<std::size_t>(slot)];
        if (!c.reached)
            continue;
        for (int v = 0; v <= c.cap; ++v) {
            if (c.has[static_cast<std::size_t>(v)])
                visit(slot, c, v);
        }
    }
}

} // namespace vm2::check
