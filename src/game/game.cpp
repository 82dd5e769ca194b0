#include "game.h"

#include "places/places.h"
#include "platform/settingsstore.h"
#include "save/savedgame.h"

namespace vm2::game {

using engine::PlaceButton;
using engine::PlaceButtons;
using engine::Screen;

Game::Game(Screen &screen, platform::SettingsStore &store, QString dataFolder)
    : m_screen(screen), m_store(store),
      m_engine(m_state, screen, m_stage, store, std::move(dataFolder))
{}

void Game::beginNewGame()
{
    m_state.BonusMode = 0;
}

void Game::newGame(const QString &surname, const QString &given, const QString &nickname)
{
    m_state.BonusMode = 0;
    m_state.PName(1) = surname;
    m_state.PName(2) = given;
    m_state.PName(3) = nickname;
    m_state.resetForNewGame();
}

void Game::loadFromTitle()
{
    m_state.BonusMode = 0;
    save::LoadGame(m_state, m_store);
}

bool Game::bonusAvailable() const
{
    return save::allEndingsSeen(m_store);
}

bool Game::enterBonus()
{
    if (!bonusAvailable())
        return false;
    m_state.BonusMode = 1;
    return true;
}

void Game::start()
{
    // A main screen opens with its place buttons hidden and its stage surfaces empty,
    // whatever an earlier game left in them.
    // A main screen also opens with an empty message label.
    m_buttons = PlaceButtons{};
    m_stage.reset();
    m_talkText.clear();
    m_over = false;
    if (m_state.BonusMode == 1) {
        run(engine::kEndingsPlace, engine::kBonusEvent);
        return;
    }
    showNames();
    m_screen.setPlaceLabel(engine::home().nameText());
    m_state.PlaceCode = engine::home().codeText();
    run(m_state.PlaceCode, 0);
    showButtons();
}

void Game::placeMove(int index)
{
    Q_ASSERT(index >= 0 && index < 5 && m_buttons[static_cast<std::size_t>(index)].visible);
    move(m_buttons[static_cast<std::size_t>(index)]);
}

void Game::moveTo(int number)
{
    const engine::Place *place = engine::placeByNumber(number);
    Q_ASSERT(place);
    move({place->nameText(), QString::number(place->number), true});
}

void Game::move(const PlaceButton &pressed)
{
    m_screen.movedTo(pressed.caption);
    m_state.PlaceCode = pressed.tag;
    hideButtons();
    m_state.PlaceCode = places::codeForTag(m_state.PlaceCode);
    const int number = m_state.Ibentcnt(pressed.tag.toInt());
    // The event's pictures decode while the place's background does.
    m_engine.decodeAhead(m_state.PlaceCode, number);
    m_engine.loadStageOnly(m_state.PlaceCode);
    run(m_state.PlaceCode, number);
    afterMove();
}

void Game::startEvent(const QString &place, int number)
{
    const QString before = m_state.PlaceCode;
    hideButtons();
    m_state.PlaceCode = place;
    run(place, number);
    // An event of no walkable place (an ending's, the bonus event) leaves the hero
    // where he stood, so that the author can go on from there.
    if (!engine::placeByCode(m_state.PlaceCode))
        m_state.PlaceCode = engine::placeByCode(before) ? before : engine::home().codeText();
    afterMove();
}

void Game::afterMove()
{
    m_over = engine::endsGame(m_talkText);
    if (m_over)
        return;
    setTalkText(QString());
    showButtons();
}

bool Game::save()
{
    const bool saved = save::SaveGame(m_state, m_store);
    m_screen.setTalkColour(engine::colour::kBlack);
    // A save that could not be written must not be reported as done.
    setTalkText(saved ? QStringLiteral("SAVEしました！")
                      : QStringLiteral("SAVEできませんでした！"));
    return saved;
}

void Game::load()
{
    save::LoadGame(m_state, m_store);
    // The name labels follow the loaded hero, so that the screen never shows names
    // other than the ones the story uses.
    showNames();
    hideButtons();
    m_engine.decodeAhead(engine::home().codeText(), 0);
    m_engine.loadStageOnly(engine::home().codeText());
    m_state.PlaceCode = engine::home().codeText();
    m_screen.setPlaceLabel(engine::home().nameText());
    setTalkText(QStringLiteral("LOADしました！"));
    m_over = false;
    run(m_state.PlaceCode, 0);
    showButtons();
}

engine::RunResult Game::run(const QString &place, int number)
{
    engine::RunResult result = m_engine.RunEvent(place, number);
    if (result.talkText)
        m_talkText = *result.talkText;
    return result;
}

void Game::setTalkText(const QString &text)
{
    m_talkText = text;
    m_screen.setTalkText(text);
}

void Game::showNames()
{
    m_screen.setNames(m_state.PName(1) + u' ' + m_state.PName(2), m_state.PName(3));
}

void Game::showButtons()
{
    places::SetPlaceButtons(m_state.PlaceCode, m_buttons);
    m_screen.showPlaceButtons(m_buttons);
}

void Game::hideButtons()
{
    for (PlaceButton &b : m_buttons)
        b.visible = false;
    m_screen.hidePlaceButtons();
}

} // namespace vm2::game
