#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace vm2::app {

// Auto mode, one more way of answering the advance wait: while it is on, an advance
// wait ends by itself after a pause that grows with the message's length, as long
// as a reader needs for it. It goes off at a choice, at a place move and at any key
// or click of the player (the A key turns it on and off).
class AutoMode : public QObject
{
    Q_OBJECT
public:
    // `answer` ends the advance wait that is running, as the prompt would.
    explicit AutoMode(std::function<void()> answer, QObject *parent = nullptr);

    // The pause after a message of `text`, in milliseconds.
    static int pauseFor(const QString &text);

    bool isOn() const { return m_on; }
    void toggle();
    void stop();

    void advanceWaitBegins(const QString &text);
    void advanceWaitEnds();
    // How long the wait running now lasts before it ends by itself (-1: it doesn't).
    int remainingTime() const { return m_timer.isActive() ? m_timer.remainingTime() : -1; }

Q_SIGNALS:
    void changed(bool on);

private:
    void startPause();

    std::function<void()> m_answer;
    QTimer m_timer;
    QString m_text;
    bool m_on = false;
    bool m_inWait = false;
};

} // namespace vm2::app
