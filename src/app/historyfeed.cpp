#include "historyfeed.h"

#include "messagehistory.h"

namespace vm2::app {

void HistoryFeed::setTalkColour(std::uint32_t colour)
{
    m_colour = colour;
    m_next.setTalkColour(colour);
}

void HistoryFeed::setTalkText(const QString &text)
{
    // An event plays while the menu is disabled; what is written between events is
    // a notice (SAVE, LOAD) or the cleared label after a move, and no message.
    if (m_playing)
        m_history.addMessage(m_colour, text);
    m_next.setTalkText(text);
}

void HistoryFeed::setPlaceLabel(const QString &name)
{
    // A place label set by a script line ("F") is no move.
    if (m_placeMove && !m_playing)
        m_history.addPlace(name);
    m_placeMove = false;
    m_next.setPlaceLabel(name);
}

void HistoryFeed::setMenuEnabled(bool enabled)
{
    m_playing = !enabled;
    if (m_playing)
        m_placeMove = false;
    m_next.setMenuEnabled(enabled);
}

int HistoryFeed::waitChoice(const QString &caption1, const QString &caption2)
{
    const int picked = m_next.waitChoice(caption1, caption2);
    m_history.addAnswer(picked == 1 ? caption1 : caption2);
    return picked;
}

} // namespace vm2::app
