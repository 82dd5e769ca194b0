#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace vm2::app {

class MainWindow;

// The keys and clicks players of the genre try, beyond the game's own Space key
// and prompt, on the main screen:
// - during an advance wait, Return or Enter, a left click on the stage or on the
//   message panel, and the wheel turned down advance, as Space does;
// - during a choice, 1 answers the first option (the lower row) and 2 the second;
//   the up and down arrows move the focus between the two rows, and Return (or
//   Space, as on any button) presses the one that has it;
// - between events, 1 to 5 press the visible place buttons from the top;
// - at any time, A turns auto mode on and off, F11 or Alt+Enter toggles full
//   screen, F12 saves a screenshot and, in author mode, F9 brings the author
//   panel back.
// These window keys count only with exactly the modifiers named: desktops take
// Ctrl, Alt and Meta with function keys for their own shortcuts. While the
// history is open it takes the keys itself, but for F9, F11, Alt+Enter and F12.
// Every key and click other than the window keys is reported as input, which
// ends auto mode.
class PlayerKeys : public QObject
{
    Q_OBJECT
public:
    // `clickTargets`: the controls on which a left click advances (the stage, the
    // message panel and the message).
    PlayerKeys(MainWindow &window, const QList<QWidget *> &clickTargets);
    ~PlayerKeys() override;

Q_SIGNALS:
    void advanceAsked();
    void autoToggled();
    void fullScreenToggled();
    void screenshotAsked();
    void authorPanelAsked();
    // A key or click of the player's that is no auto-mode, window or screenshot key.
    void playerInput();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inWindow(QObject *object) const;
    bool keyPress(QKeyEvent *event);

    MainWindow &m_window;
    QList<QPointer<QWidget>> m_clickTargets;
    QPointer<QWidget> m_pressed;
};

} // namespace vm2::app
