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
    // SAVE and LOAD of the main screen.
    void save();
    void load();

    // Author mode, between events. startEvent() plays an event of any place, code
    // "9" included, as a "D" line would start it (no background load); moveTo()
    // moves to walkable place `number` (1 to 9) as its place button would. Both end
    // as a place move does: with the place buttons, or none after an ending.
    void startEvent(const QString &place, int number);
    void moveTo(int number);

private:
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
};

} // namespace vm2::game
