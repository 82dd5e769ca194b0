#include "storysolver.h"

#include "engine/script.h"
#include "places/places.h"

#include <algorithm>
#include <map>

namespace vm2::check {

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
void StorySolver::findPlaces()
{
    std::vector<int> todo; // by number, first come first
    todo.reserve(64);
    todo.push_back(engine::home().number);
    QStringList &places = m_map.m_places;
    places.reserve(engine::kPlaceCount);
    for (const ScriptNode &n : m_map.m_scripts) {
        for (const HandOver &h : n.info.handOvers) {
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
            if (!places.contains(code))
                places << code;
            todo.push_back(to->number);
        }
    }
}

void StorySolver::reach(int script)
{
    ScriptNode &n = m_map.node(script);
    if (n.reachable)
        return;
    n.reachable = true;
    m_work.push_back({script, 0, 0, 0});
}

void StorySolver::addState(int slot, int value, int used, Origin origin)
{
    Counter &c = m_map.counter(slot);
    if (value < 0 || value > c.cap || used > c.budget || used >= c.at(value).leastUsed)
        return;
    Counter::Value &v = c.at(value);
    v.leastUsed = used;
    if (!v.held) {
        v.held = true;
        v.origin = origin;
    }
    m_work.push_back({-1, slot, value, used});
}

// A free or one-time advance of a reachable script: it applies to every state so far
// and, through processState(), to every later one.
void StorySolver::addStep(int slot, int amount, bool once, Origin origin)
{
    if (slot < 1 || slot >= static_cast<int>(m_map.m_counters.size()) || amount <= 0)
        return;
    Counter &c = m_map.counter(slot);
    auto &steps = once ? c.once : c.free;
    if (std::any_of(steps.begin(), steps.end(),
                    [amount](const Counter::Step &s) { return s.amount == amount; }))
        return;
    steps.push_back({amount, origin});
    for (int v = 0; v <= c.cap; ++v) {
        if (c.at(v).held) {
            const int used = c.at(v).leastUsed;
            addState(slot, v + amount, once ? used + amount : used, origin);
        }
    }
}

bool StorySolver::isOwnStep(int script, const Advance &a) const
{
    return m_map.isBound(script) && a.slot == StoryMap::slotOf(m_map.node(script).info.event.place);
}

bool StorySolver::isOnce(int script, const Advance &a) const
{
    return m_map.node(script).playsOnce ||
           (a.guardFlag > 0 && !m_clearedFlags[static_cast<std::size_t>(a.guardFlag)]);
}

// The own steps of a bound event, from its number with `used` one-time advances.
void StorySolver::ownSteps(int script, int used)
{
    const ScriptInfo &s = m_map.node(script).info;
    const int slot = StoryMap::slotOf(s.event.place);
    const auto first = std::find_if(s.advances.begin(), s.advances.end(),
                                    [slot](const Advance &a) { return a.slot == slot; });
    if (first == s.advances.end())
        return;
    for (const int sum : m_map.ownSums(script))
        addState(slot, s.event.number + sum, used, {script, first->line});
}

void StorySolver::processScript(int script)
{
    m_map.node(script).processed = true;
    const ScriptInfo &s = m_map.node(script).info;
    for (const HandOver &h : s.handOvers) {
        // In a block the home event of a next day follows the home counter, whose
        // values the place button of home plays anyway.
        if (h.type == HandOver::NextDay && h.inBlock)
            continue;
        for (const StoryMap::Target &t : m_map.targets(h)) {
            if (const int i = m_map.find(t.event); i >= 0)
                reach(i);
        }
    }
    const int own = m_map.isBound(script) ? StoryMap::slotOf(s.event.place) : -1;
    if (own > 0) {
        const Counter &c = m_map.counter(own);
        if (c.holds(s.event.number))
            ownSteps(script, c.at(s.event.number).leastUsed);
    }
    for (const Advance &a : s.advances) {
        if (!isOwnStep(script, a))
            addStep(a.slot, a.amount, isOnce(script, a), {script, a.line});
    }
}

void StorySolver::processState(const Item &item)
{
    Counter &c = m_map.counter(item.slot);
    if (item.used > c.at(item.value).leastUsed)
        return; // a better state for this value came since
    if (const int t = m_map.find({c.code, item.value}); t >= 0 && c.reached) {
        reach(t);
        if (m_map.node(t).processed && m_map.isBound(t))
            ownSteps(t, item.used);
    }
    // By index: a step added meanwhile comes to this state through addStep().
    for (std::size_t i = 0; i < c.free.size(); ++i)
        addState(item.slot, item.value + c.free[i].amount, item.used, c.free[i].origin);
    for (std::size_t i = 0; i < c.once.size(); ++i)
        addState(item.slot, item.value + c.once[i].amount, item.used + c.once[i].amount,
                 c.once[i].origin);
}

// What is known of every script before the walk: which events are bound to their
// counter, which play at most once, and how far each counter is followed.
void StorySolver::setUp()
{
    findPlaces();
    for (const ScriptNode &n : m_map.m_scripts) {
        for (const HandOver &h : n.info.handOvers) {
            if (const int t = h.type == HandOver::Jump ? m_map.find(h.target) : -1; t >= 0)
                m_map.node(t).unbound = true;
        }
    }
    // The start of a game and LOAD play home event 0 whatever the home counter holds.
    if (const int start = m_map.find({kHome, 0}); start >= 0)
        m_map.node(start).unbound = true;

    for (const ScriptNode &n : m_map.m_scripts) {
        for (std::size_t f = 0; f < m_clearedFlags.size(); ++f)
            m_clearedFlags[f] = m_clearedFlags[f] || n.info.clearsFlag[f];
    }
    std::map<QString, int> largestEvent;
    std::array<int, engine::kPlaceCount + 1> largestAdvance{}, onceSum{}; // by slot
    for (int i = 0; i < static_cast<int>(m_map.m_scripts.size()); ++i) {
        ScriptNode &n = m_map.node(i);
        const ScriptInfo &s = n.info;
        auto [it, added] = largestEvent.emplace(s.event.place, s.event.number);
        if (!added)
            it->second = std::max(it->second, s.event.number);
        const int own = StoryMap::slotOf(s.event.place);
        n.playsOnce = m_map.isBound(i) &&
                      std::any_of(s.advances.begin(), s.advances.end(), [own](const Advance &a) {
                          return a.slot == own && a.amount > 0 && a.certain;
                      });
        for (const Advance &a : s.advances) {
            auto &largest = largestAdvance[static_cast<std::size_t>(a.slot)];
            largest = std::max(largest, a.amount);
            if (!isOwnStep(i, a) && isOnce(i, a))
                onceSum[static_cast<std::size_t>(a.slot)] += a.amount;
        }
    }
    for (int slot = 1; slot < static_cast<int>(m_map.m_counters.size()); ++slot) {
        Counter &c = m_map.counter(slot);
        c.reached = m_map.m_places.contains(c.code);
        const auto it = largestEvent.find(c.code);
        c.cap = std::max(0, it == largestEvent.end() ? 0 : it->second) +
                largestAdvance[static_cast<std::size_t>(slot)];
        c.budget = onceSum[static_cast<std::size_t>(slot)];
        c.values.assign(static_cast<std::size_t>(c.cap) + 1, {});
    }
}

void StorySolver::solve()
{
    setUp();
    if (const int start = m_map.find({kHome, 0}); start >= 0)
        reach(start);
    if (const int bonus = m_map.find({engine::kEndingsPlace, engine::kBonusEvent}); bonus >= 0)
        reach(bonus);
    for (int slot = 1; slot < static_cast<int>(m_map.m_counters.size()); ++slot) {
        if (m_map.counter(slot).reached)
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
}

} // namespace vm2::check
