// What the story map reports, and the events each hand-over may play.
#include "storymap.h"

#include "engine/script.h"

#include <QStringBuilder>
#include <optional>

namespace vm2::check {

namespace {

using engine::endingEvent;
using engine::kBonusEvent;

QString fileNotFound(const EventId &event, const QString &what)
{
    return QLatin1String("File not found: ") % event.file() % QLatin1String(" (") % what % u')';
}

} // namespace

void StoryMap::report(Findings &findings) const
{
    const EventId start{kHome, 0}, bonus{engine::kEndingsPlace, kBonusEvent};
    if (find(start) < 0)
        findings.error(start.file(), 0,
                       fileNotFound(start, QStringLiteral("the first event of "
                                                          "every game")));
    if (find(bonus) < 0)
        findings.error(bonus.file(), 0, fileNotFound(bonus, QStringLiteral("the bonus event")));

    // A next day in a block goes to the same home events from every script: those
    // missing are looked up once, not at each of many such scripts.
    std::optional<std::vector<Target>> missingHome;
    for (const ScriptNode &n : m_scripts) {
        for (const HandOver &h : n.info.handOvers) {
            const bool home = h.type == HandOver::NextDay && h.inBlock;
            std::vector<Target> missing;
            if (!home || !missingHome) {
                for (Target &t : targets(h)) {
                    if (find(t.event) < 0)
                        missing.push_back(std::move(t));
                }
                if (home)
                    missingHome = missing;
            } else {
                missing = *missingHome;
            }
            for (const Target &t : missing)
                findings.error(n.info.file, h.line, fileNotFound(t.event, t.what(h)));
        }
    }

    // Events a counter can reach but that do not exist. Consecutive values reached
    // through one line are one fault (a script numbered far past the others, say),
    // reported once for the whole run.
    for (int slot = 1; slot < static_cast<int>(m_counters.size()); ++slot) {
        const Counter &c = counter(slot);
        if (!c.reached)
            continue;
        auto missing = [&](int v) {
            const EventId e{c.code, v};
            return c.at(v).held && find(e) < 0 && !(e == start);
        };
        auto originOf = [&](int v) { return c.at(v).origin; };
        auto place = [&] {
            return QStringLiteral("%1 (place %2)")
                .arg(engine::placeByCode(c.code)->nameText(), QString::number(slot));
        };
        for (int v = 0; v <= c.cap; ++v) {
            if (!missing(v))
                continue;
            const EventId e{c.code, v};
            const Origin o = originOf(v);
            if (o.script < 0) {
                findings.warning(e.file(), 0,
                                 QStringLiteral("no such script, but the place button of %1 "
                                                "plays it while the place's event counter is 0")
                                     .arg(place()));
                continue;
            }
            int last = v;
            while (last < c.cap && missing(last + 1) && originOf(last + 1).script == o.script &&
                   originOf(last + 1).line == o.line)
                ++last;
            const QString &file = node(o.script).info.file;
            if (last == v)
                findings.warning(file, o.line,
                                 QStringLiteral("the event counter of %1 can reach %2 through "
                                                "this line, but %3 does not exist: its place "
                                                "button would then end the game")
                                     .arg(place(), QString::number(v), e.file()));
            else
                findings.warning(file, o.line,
                                 QStringLiteral("the event counter of %1 can reach %2 to %3 "
                                                "through this line, but %4 to %5 do not exist: "
                                                "its place button would then end the game")
                                     .arg(place(), QString::number(v), QString::number(last),
                                          e.file(), EventId{c.code, last}.file()));
            v = last;
        }
    }

    reportDeadEnds(findings);
    reportEndings(findings);
    for (const ScriptNode &n : m_scripts) {
        if (!n.reachable && !isEndingEvent(n.info.event))
            findings.warning(n.info.file, 0,
                             QStringLiteral("nothing plays this script: no jump, next day, "
                                            "ending or place counter leads to it"));
    }
}

// The events a hand-over may play, with what each is for.
std::vector<StoryMap::Target> StoryMap::targets(const HandOver &h) const
{
    switch (h.type) {
    case HandOver::Jump:
        return {{h.target, QStringLiteral("jump")}};
    case HandOver::Ending:
        return {
            {{engine::kEndingsPlace, endingEvent(h.heroine, true)}, QStringLiteral("happy end")},
            {{engine::kEndingsPlace, endingEvent(h.heroine, false)}, QStringLiteral("bad end")}};
    case HandOver::NextDay:
        break;
    }
    const QString label = QStringLiteral("next day");
    if (!h.inBlock)
        return {{{kHome, 0}, label}};
    // In a block: the home event of every value the home counter can hold.
    std::vector<Target> list;
    const Counter &home = counter(engine::home().number);
    for (int v = 0; v <= home.cap; ++v) {
        if (home.at(v).held)
            list.push_back({{kHome, v}, label});
    }
    return list;
}

QString StoryMap::Target::what(const HandOver &h) const
{
    switch (h.type) {
    case HandOver::Jump:
        return QStringLiteral("the event of the jump");
    case HandOver::Ending: {
        const bool happy = event.number == endingEvent(h.heroine, true);
        return QStringLiteral("the %1 ending of heroine %2")
            .arg(happy ? QLatin1String("happy") : QLatin1String("bad"))
            .arg(h.heroine);
    }
    case HandOver::NextDay:
        break;
    }
    if (!h.inBlock)
        return QStringLiteral("the home event of the next day");
    return QStringLiteral("the home event of the next day when the home counter is %1")
        .arg(event.number);
}

} // namespace vm2::check
