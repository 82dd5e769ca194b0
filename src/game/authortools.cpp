#include "authortools.h"

#include "engine/placetable.h"
#include "engine/script.h"
#include "game.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace vm2::game {

AuthorTools::AuthorTools(Game &game) : m_game(game)
{
    m_game.engine().setTrace(this);
}

AuthorTools::~AuthorTools()
{
    m_game.engine().setTrace(nullptr);
}

const engine::GameState &AuthorTools::state() const
{
    return m_game.state();
}

// A run holds its script open from its start to its end, and only a wait lets
// anything else happen meanwhile: an open script is an event that runs.
bool AuthorTools::betweenEvents() const
{
    return m_game.engine().scriptName().isEmpty();
}

QString AuthorTools::waitLocation() const
{
    return betweenEvents() ? QString() : m_game.engine().waitLocation();
}

QList<AuthorTools::Event> AuthorTools::events() const
{
    const QDir scripts(m_game.engine().dataFolder() + QStringLiteral("/dat2"));
    QList<Event> found;
    for (const QString &name : scripts.entryList({QStringLiteral("ibent*.da2")}, QDir::Files)) {
        Event e;
        if (engine::parseScriptFileName(name, &e.place, &e.number))
            found << e;
    }
    // Walkable places in their table's order, then the endings' "9", then the rest.
    auto rank = [](const QString &code) {
        const engine::Place *p = engine::placeByCode(code);
        return p                               ? p->number
               : code == engine::kEndingsPlace ? engine::kPlaceCount + 1
                                               : engine::kPlaceCount + 2;
    };
    std::sort(found.begin(), found.end(), [&](const Event &a, const Event &b) {
        const int ra = rank(a.place), rb = rank(b.place);
        if (ra != rb)
            return ra < rb;
        return a.place != b.place ? a.place < b.place : a.number < b.number;
    });
    return found;
}

template <typename Array> bool AuthorTools::set(Array &array, int index, int value)
{
    if (!betweenEvents() || index < Array::first || index > Array::last)
        return false;
    array(index) = static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
    changed();
    return true;
}

bool AuthorTools::setAffection(int heroine, int value)
{
    return set(m_game.state().Loveval, heroine, value);
}

bool AuthorTools::setFlag(int index, int value)
{
    return set(m_game.state().Ibentflag, index, value);
}

bool AuthorTools::setCounter(int slot, int value)
{
    return set(m_game.state().Ibentcnt, slot, value);
}

bool AuthorTools::startEvent(const QString &place, int number)
{
    if (!betweenEvents() || place.size() != 1 || number < -32768 || number > 32767)
        return false;
    // A "D" line to a missing script is a script error that ends the game; an author
    // who names an event that does not exist is only told so.
    if (!QFileInfo(m_game.engine().dataFolder() + u'/' + engine::scriptPath(place, number))
             .isFile())
        return false;
    m_game.startEvent(place, number);
    changed();
    return true;
}

bool AuthorTools::moveTo(int placeNumber)
{
    if (!betweenEvents() || !engine::placeByNumber(placeNumber))
        return false;
    m_game.moveTo(placeNumber);
    changed();
    return true;
}

void AuthorTools::run(const QString &place, int number)
{
    Q_UNUSED(place)
    Q_UNUSED(number)
    changed();
}

void AuthorTools::flag(int index, int value)
{
    Q_UNUSED(index)
    Q_UNUSED(value)
    changed();
}

void AuthorTools::love(int heroine, int value)
{
    Q_UNUSED(heroine)
    Q_UNUSED(value)
    changed();
}

void AuthorTools::count(int slot, int value)
{
    Q_UNUSED(slot)
    Q_UNUSED(value)
    changed();
}

void AuthorTools::line(const QString &script, int number, const QString &text)
{
    m_recent.push_back({script, number, text});
    if (m_recent.size() > kRecentLines)
        m_recent.pop_front();
    changed();
}

void AuthorTools::changed()
{
    if (m_onChange)
        m_onChange();
}

} // namespace vm2::game
