#pragma once

#include "engine/gamestate.h"
#include "engine/runner.h"
#include "engine/screen.h"
#include "stage/stage.h"

namespace vm2::game {

// One game session: the game state, the stage and the place buttons, and the
// procedures of the title and main screens that need no widget. The window and the
// headless player both drive the game through these, so they cannot differ.
class Game
{
public:
    Game(engine::Screen &screen, platform::SettingsStore &store, QString dataFolder);

    engine::GameState &state() { return m_state; }
    engine::Engine &engine() { return m_engine; }
    stage::Stage &stage() { return m_stage; }
    const engine::PlaceButtons &placeButtons() const { return m_buttons; }

    // Title screen. NEW, as it is pressed: bonus mode ends, before the name entry
    // that may be cancelled. NEW after the name entry was confirmed: the names, then
    // the resets of a new game. LOAD: the saved game. The title picture: bonus mode,
    // when all four happy endings have been seen (returns false otherwise).
    void beginNewGame();
    void newGame(const QString &surname, const QString &given, const QString &nickname);
    void loadFromTitle();
    bool bonusAvailable() const;
    bool enterBonus();

    // Main screen. start() is its start-up: in bonus mode the bonus event, otherwise
    // the names, home and its event, then home's place buttons.
    void start();
    // A place button: the move to its place and the place's next event. `index`
    // must name a visible button.
    void placeMove(int index);
    // SAVE and LOAD of the main screen. SAVE says on screen whether the saved game
    // was written, and returns it; when it was not, the previous one is still whole
    // and the store's errorString() says why.
    bool save();
    void load();

    // Whether the last place move ended the game: an ending's closing words (or any
    // message with "End" in it) stayed on the message label, and no place is offered.
    // The next start-up or LOAD plays on.
    bool isOver() const { return m_over; }

    // Author mode, between events. startEvent() plays an event of any place, code
    // "9" included, as a "D" line would start it (no background load); moveTo()
    // moves to walkable place `number` (1 to 9) as its place button would. Both end
    // as a place move does: with the place buttons, or none after an ending.
    void startEvent(const QString &place, int number);
    void moveTo(int number);

private:
    // Runs an event and keeps the message label's text as the run left it.
    engine::RunResult run(const QString &place, int number);
    void setTalkText(const QString &text);
    void move(const engine::PlaceButton &pressed);
    void afterMove();
    void showNames();
    void showButtons();
    void hideButtons();

    engine::GameState m_state;
    stage::Stage m_stage;
    engine::Screen &m_screen;
    platform::SettingsStore &m_store;
    engine::Engine m_engine;
    engine::PlaceButtons m_buttons;
    // The message label's text as the game last set it, inside a run or outside:
    // the game-over rule reads it here, never from a screen.
    QString m_talkText;
    bool m_over = false;
};

} // namespace vm2::game
