#pragma once

#include "engine/gamestate.h"
#include "engine/screen.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace vm2::game {

class Game;

// What author mode reads and steers of a running game. It reads the state and
// follows the runner line by line (as the engine's trace); it changes the state,
// starts events and moves the hero only between events, through the game's own
// procedures, so that what follows plays exactly as in a game. While an event
// runs every change is refused.
class AuthorTools : public engine::Trace
{
public:
    struct Line {
        QString script; // "dat2/ibent1-0.da2"
        int number = 0;
        QString text;
    };
    struct Event {
        QString place;
        int number = 0;
    };
    // The lines kept of what was executed, newest last.
    static constexpr std::size_t kRecentLines = 12;

    explicit AuthorTools(Game &game);
    ~AuthorTools() override;
    AuthorTools(const AuthorTools &) = delete;
    AuthorTools &operator=(const AuthorTools &) = delete;

    // Called after each change of the state or of the lines executed; during a fast
    // run many times in a row, so it should only note that a change came.
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    const engine::GameState &state() const;
    bool betweenEvents() const;
    // Where the wait in progress stands ("dat2/ibent2-0.da2:7"); empty between events.
    QString waitLocation() const;
    const std::deque<Line> &recentLines() const { return m_recent; }
    // The events of the story: the scripts of its dat2, by place code then number.
    QList<Event> events() const;

    // Each returns false, changing nothing, while an event runs or for an index
    // outside the state's bounds; values are kept within 16 bits.
    bool setAffection(int heroine, int value);
    bool setFlag(int index, int value);
    bool setCounter(int slot, int value);
    // The events these start may wait for the player: they return when it has ended.
    // An event whose script is missing is refused.
    bool startEvent(const QString &place, int number);
    bool moveTo(int placeNumber);

    // engine::Trace
    void run(const QString &place, int number) override;
    void flag(int index, int value) override;
    void love(int heroine, int value) override;
    void count(int slot, int value) override;
    void line(const QString &script, int number, const QString &text) override;

private:
    template <typename Array> bool set(Array &array, int index, int value);
    void changed();

    Game &m_game;
    std::deque<Line> m_recent;
    std::function<void()> m_onChange;
};

} // namespace vm2::game
