#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace vm2::platform {
class ReadRecord;
}

namespace vm2::app {

// Skipping what was read, as one more way of answering the advance wait. Pressing
// Ctrl starts it; while it lasts, an advance wait on a message the read record
// already holds ends by itself after kDelay. It stops, until Ctrl is pressed again,
// at the first unread message, at a choice, at a place move, when the history opens
// and when Ctrl is released. Every message an advance wait shows goes into the read
// record, skipping or not.
class ReadSkip : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDelay = 60; // milliseconds a read message stays when skipped

    // `answer` ends the advance wait that is running, as the prompt would.
    ReadSkip(platform::ReadRecord &record, std::function<void()> answer, QObject *parent = nullptr);

    // An advance wait begins on the message of `script` line `line`; it ends.
    void advanceWaitBegins(const QString &script, int line);
    void advanceWaitEnds();
    // A choice, a place move or the history: skipping stops.
    void stop();
    void ctrlPressed();
    void ctrlReleased() { stop(); }

    bool isSkipping() const { return m_skipping; }
    // Whether the message of the advance wait running now had been read before.
    bool waitIsOnRead() const { return m_inWait && m_waitOnRead; }

Q_SIGNALS:
    void skippingChanged(bool skipping);

private:
    void decide();

    platform::ReadRecord &m_record;
    std::function<void()> m_answer;
    QTimer m_timer;
    bool m_skipping = false;
    bool m_inWait = false;
    bool m_waitOnRead = false;
};

} // namespace vm2::app
