#pragma once

#include "engine/screen.h"

namespace vm2::app {

class MessageHistory;

// Passes every call of the game on to the screen behind it and fills the message
// history from what goes by: each message shown while an event plays (the SAVE and
// LOAD notices come between events and stay out), each answer picked, and the
// place of each move by a place button, which heads a new part of the history.
// The game does not know about it.
class HistoryFeed : public engine::Screen
{
public:
    HistoryFeed(engine::Screen &next, MessageHistory &history) : m_next(next), m_history(history) {}

    void setTalkColour(std::uint32_t colour) override;
    void setTalkText(const QString &text) override;
    void setPlaceLabel(const QString &name) override { m_next.setPlaceLabel(name); }
    void movedTo(const QString &placeName) override;
    void setNames(const QString &fullName, const QString &nickname) override
    {
        m_next.setNames(fullName, nickname);
    }
    void eventStarted() override;
    void eventEnded() override;
    void showPlaceButtons(const engine::PlaceButtons &buttons) override
    {
        m_next.showPlaceButtons(buttons);
    }
    void hidePlaceButtons() override { m_next.hidePlaceButtons(); }
    void showStage(const engine::StageChange &change, const QImage &stage) override
    {
        m_next.showStage(change, stage);
    }
    void waitAdvance() override { m_next.waitAdvance(); }
    int waitChoice(const QString &caption1, const QString &caption2) override;

private:
    engine::Screen &m_next;
    MessageHistory &m_history;
    std::uint32_t m_colour = 0xFF0000; // the message label's colour at start: blue
    bool m_playing = false;
};

} // namespace vm2::app
