// What play cannot get past or get to: events that leave the player with no place
// button, a bonus that cannot open, endings that never play.
#include "storymap.h"

#include "engine/script.h"
#include "places/places.h"

#include <QStringBuilder>
#include <deque>

namespace vm2::check {

namespace {

bool offersButtons(const QString &code)
{
    engine::PlaceButtons buttons;
    places::SetPlaceButtons(code, buttons);
    return std::any_of(buttons.begin(), buttons.end(),
                       [](const engine::PlaceButton &b) { return b.visible; });
}

// Whether an event can end without handing over: neither its main flow nor both
// blocks of one choice or flag branch surely hand over. Flags and answers are not
// judged: either block may play.
bool endsWithoutHandOver(const ScriptInfo &s)
{
    std::map<int, std::array<bool, 2>> blocks; // by branch line
    for (const HandOver &h : s.handOvers) {
        if (h.branch == 0)
            return false;
        blocks[h.branch][h.block == 2 ? 1 : 0] = true;
    }
    return std::none_of(blocks.begin(), blocks.end(),
                        [](const auto &b) { return b.second[0] && b.second[1]; });
}

QString heroineList(const std::vector<int> &heroines)
{
    QStringList names;
    for (const int h : heroines)
        names << QString::number(h);
    if (names.size() == 1)
        return QStringLiteral("heroine ") + names.front();
    const QString last = names.takeLast();
    return QStringLiteral("heroines ") + names.join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + last;
}

} // namespace

std::vector<StoryMap::Reach> StoryMap::playReach(bool endings) const
{
    std::vector<Reach> reach(m_scripts.size());
    std::deque<int> todo;
    auto add = [&](int script, Reach how) {
        Reach &r = reach[static_cast<std::size_t>(script)];
        if (r.reached)
            return;
        r = how;
        r.reached = true;
        todo.push_back(script);
    };
    if (const int start = find({kHome, 0}); start >= 0)
        add(start, {});
    forEachValue([&](const Counter &c, int v) {
        if (const int script = find({c.code, v}); script >= 0)
            add(script, {false, true, {}});
    });
    // A next day in a block goes to the same home events from every script, and they
    // are reached at the first: a story with many such scripts and many home events
    // would otherwise pay for all of them at each.
    bool homeValuesAdded = false;
    while (!todo.empty()) {
        const int script = todo.front();
        todo.pop_front();
        const ScriptInfo &s = node(script).info;
        for (const HandOver &h : s.handOvers) {
            if (h.type == HandOver::Ending && !endings)
                continue;
            if (h.type == HandOver::NextDay && h.inBlock) {
                if (homeValuesAdded)
                    continue;
                homeValuesAdded = true;
            }
            for (const Target &t : targets(h)) {
                if (const int i = find(t.event); i >= 0)
                    add(i, {false, false,
                            h.type == HandOver::Jump ? Origin{script, h.line} : Origin{}});
            }
        }
    }
    return reach;
}

// A place with no place button (the live house, or a code that names no place) is
// current when its button or a jump plays its event; an event that can end there
// without a hand-over leaves the player with no way on. The endings, whose closing
// words end the game, and the bonus, after which nothing is offered, are no dead
// ends; a next day lands at home.
void StoryMap::reportDeadEnds(Findings &findings) const
{
    const std::vector<Reach> reach = playReach(false);
    for (std::size_t i = 0; i < m_scripts.size(); ++i) {
        const ScriptInfo &s = m_scripts[i].info;
        const Reach &r = reach[i];
        if (!r.reached || (!r.byButton && r.jump.script < 0) || offersButtons(s.event.place) ||
            !endsWithoutHandOver(s))
            continue;
        QString where;
        if (const engine::Place *place = engine::placeByCode(s.event.place))
            where = QStringLiteral("%1 (place %2)").arg(place->nameText()).arg(place->number);
        else
            where = QStringLiteral("place code %1, to which the jump on %2:%3 leads,")
                        .arg(s.event.place, node(r.jump.script).info.file)
                        .arg(r.jump.line);
        findings.warning(s.file, s.lines,
                         QStringLiteral("the event can end here with no jump, next day or "
                                        "ending, and %1 offers no place button: the player is "
                                        "left with no button to press")
                             .arg(where));
    }
}

// The title picture plays the bonus once the happy endings of all four heroines are
// on record, which takes an ending line of each that play can reach (whether the
// affection gets there is not judged). An ending event that no line plays is noted
// rather than warned about: a story may leave a heroine's route for later.
void StoryMap::reportEndings(Findings &findings) const
{
    const std::vector<Reach> reach = playReach(true);
    std::array<bool, 6> routes{}; // by heroine
    for (std::size_t i = 0; i < m_scripts.size(); ++i) {
        if (!reach[i].reached)
            continue;
        for (const HandOver &h : m_scripts[i].info.handOvers) {
            if (h.type == HandOver::Ending && h.heroine >= 2 && h.heroine <= 5)
                routes[static_cast<std::size_t>(h.heroine)] = true;
        }
    }
    std::vector<int> missing;
    for (int h = 2; h <= 5; ++h) {
        if (!routes[static_cast<std::size_t>(h)])
            missing.push_back(h);
    }
    const EventId bonus{engine::kEndingsPlace, engine::kBonusEvent};
    if (!missing.empty() && find(bonus) >= 0)
        findings.note(bonus.file(), 0,
                      QStringLiteral("the title picture never plays the bonus: it takes the "
                                     "happy endings of all four heroines, and play reaches no "
                                     "ending line of %1")
                          .arg(heroineList(missing)));
    for (int h = 2; h <= 5; ++h) {
        for (const bool happy : {true, false}) {
            const int e = find({engine::kEndingsPlace, engine::endingEvent(h, happy)});
            if (e >= 0 && !node(e).reachable)
                findings.note(node(e).info.file, 0,
                              QStringLiteral("the %1 ending of heroine %2 never plays: no line "
                                             "that play can reach is an ending line B%2")
                                  .arg(happy ? QLatin1String("happy") : QLatin1String("bad"))
                                  .arg(h));
        }
    }
}

bool StoryMap::isEndingEvent(const EventId &event)
{
    if (event.place != engine::kEndingsPlace)
        return false;
    for (int h = 2; h <= 5; ++h) {
        if (event.number == engine::endingEvent(h, true) ||
            event.number == engine::endingEvent(h, false))
            return true;
    }
    return false;
}

} // namespace vm2::check
