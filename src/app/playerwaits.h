#pragma once

#include <QObject>
#include <functional>

class QEventLoop;
class QWidget;

namespace vm2::app {

// The main screen's two waits for the player, and the key filter that brings every
// key press of the screen to its key-down handler, whichever control has the focus.
// A wait sleeps in a nested event loop until the player answers it and returns what
// the player did; the game applies it. advance() is the one place where an advance
// is answered: the advance prompt, the Space key and whatever else moves the text on
// all come through it.
class PlayerWaits : public QObject
{
    Q_OBJECT
public:
    // `window`: the screen whose key presses are watched. `focus`: the control that
    // keeps the input focus while an advance wait sleeps. `onAdvance`: tells the game
    // of every advance, also of one made while nothing waits.
    PlayerWaits(QWidget *window, QWidget *focus, std::function<void()> onAdvance);
    ~PlayerWaits() override;

    bool isWaiting() const { return m_loop != nullptr; }
    bool awaitsAdvance() const { return m_awaited == Awaited::Advance; }
    bool awaitsChoice() const { return m_awaited == Awaited::Choice; }
    // Returns once the player advances; an advance made before the wait began does
    // not count. Throws engine::Aborted when abort() ends the wait.
    void waitAdvance();
    // Returns the choice the player made, 1 or 2; throws like waitAdvance().
    int waitChoice();

    // The player advanced, in a wait or not.
    void advance();
    // The player pressed choice button `index` (1 or 2).
    void choose(int index);
    // The screen is closing: a running wait ends by throwing engine::Aborted.
    void abort();

Q_SIGNALS:
    // A wait for the player has begun (emitted before the window sleeps).
    void waitStarted();
    // A key press of the screen as a key-down handler sees it: the character code
    // for Space, digits and letters (32 for a blank an input method committed), 0
    // for keys the game never asks about; and the modifiers.
    void keyDown(int keyCode, int shift);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Awaited { Nothing, Advance, Choice };
    int sleep(Awaited awaited);

    QWidget *m_window;
    QWidget *m_focus;
    std::function<void()> m_onAdvance;
    QEventLoop *m_loop = nullptr;
    Awaited m_awaited = Awaited::Nothing;
    int m_answer = 0;
    bool m_aborted = false;
};

} // namespace vm2::app
