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
    // What is written between events is a notice (SAVE, LOAD) or the cleared label
    // after a move, and no message.
    if (m_playing)
        m_history.addMessage(m_colour, text);
    m_next.setTalkText(text);
}

void HistoryFeed::movedTo(const QString &placeName)
{
    m_history.addPlace(placeName);
    m_next.movedTo(placeName);
}

void HistoryFeed::eventStarted()
{
    m_playing = true;
    m_next.eventStarted();
}

void HistoryFeed::eventEnded()
{
    m_playing = false;
    m_next.eventEnded();
}

int HistoryFeed::waitChoice(const QString &caption1, const QString &caption2)
{
    const int picked = m_next.waitChoice(caption1, caption2);
    m_history.addAnswer(picked == 1 ? caption1 : caption2);
    return picked;
}

} // namespace vm2::app
