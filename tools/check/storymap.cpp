#include "storymap.h"

#include "storysolver.h"

#include "engine/script.h"

#include <map>

namespace vm2::check {

StoryMap::StoryMap(std::vector<ScriptInfo> scripts)
{
    m_scripts.reserve(scripts.size());
    for (ScriptInfo &s : scripts) {
        m_index.emplace(s.event, static_cast<int>(m_scripts.size()));
        m_scripts.push_back({std::move(s)});
    }
    for (int slot = 1; slot < static_cast<int>(m_counters.size()); ++slot)
        counter(slot).code = engine::placeByNumber(slot)->codeText();
}

int StoryMap::find(const EventId &event) const
{
    const auto it = m_index.find(event);
    return it == m_index.end() ? -1 : it->second;
}

bool StoryMap::isReachable(const EventId &event) const
{
    const int i = find(event);
    return i >= 0 && node(i).reachable;
}

int StoryMap::slotOf(const QString &code)
{
    const engine::Place *place = engine::placeByCode(code);
    return place ? place->number : -1;
}

bool StoryMap::isBound(int script) const
{
    return slotOf(node(script).info.event.place) > 0 && !node(script).unbound;
}

// Every total that the script's advances of its own counter can make: any of the
// main flow's advances (a hand-over may cut the script short), and of each choice or
// flag branch those of one block or of the other, never of both.
std::vector<int> StoryMap::ownSums(int script) const
{
    const ScriptInfo &s = node(script).info;
    const int slot = slotOf(s.event.place);
    const int cap = counter(slot).cap;
    // Sums[v]: whether v can be made; 0 always can.
    using Sums = std::vector<char>;
    auto none = [cap] {
        Sums sums(static_cast<std::size_t>(cap) + 1, 0);
        sums[0] = 1;
        return sums;
    };
    auto add = [cap](Sums &sums, int amount) {
        for (auto v = static_cast<std::size_t>(cap - amount) + 1; v-- > 0;) {
            if (sums[v])
                sums[v + static_cast<std::size_t>(amount)] = 1;
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
        add(it->second[a.block == 2 ? 1 : 0], a.amount);
    }
    for (const auto &[line, blocks] : branches) {
        Q_UNUSED(line)
        Sums combined(sums.size(), 0);
        for (std::size_t v = 0; v < sums.size(); ++v) {
            if (!sums[v])
                continue;
            for (std::size_t w = 0; v + w < sums.size(); ++w) {
                if (blocks[0][w] || blocks[1][w])
                    combined[v + w] = 1;
            }
        }
        sums = std::move(combined);
    }
    std::vector<int> result;
    for (std::size_t v = 1; v < sums.size(); ++v) {
        if (sums[v])
            result.push_back(static_cast<int>(v));
    }
    return result;
}

void StoryMap::analyse(Findings &findings)
{
    StorySolver(*this).solve();
    report(findings);
}

void StoryMap::forEachValue(const std::function<void(const Counter &, int)> &visit) const
{
    for (const Counter &c : m_counters) {
        if (!c.reached)
            continue;
        for (int v = 0; v <= c.cap; ++v) {
            if (c.at(v).held)
                visit(c, v);
        }
    }
}

} // namespace vm2::check
