#include "readskip.h"

#include "platform/readrecord.h"

namespace vm2::app {

ReadSkip::ReadSkip(platform::ReadRecord &record, std::function<void()> answer, QObject *parent)
    : QObject(parent), m_record(record), m_answer(std::move(answer))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kDelay);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_inWait && m_skipping)
            m_answer();
    });
}

void ReadSkip::advanceWaitBegins(const QString &script, int line)
{
    m_inWait = true;
    m_waitOnRead = m_record.isRead(script, line);
    m_record.markRead(script, line);
    decide();
}

void ReadSkip::advanceWaitEnds()
{
    m_inWait = false;
    m_timer.stop();
}

void ReadSkip::stop()
{
    m_timer.stop();
    if (!m_skipping)
        return;
    m_skipping = false;
    Q_EMIT skippingChanged(false);
}

void ReadSkip::ctrlPressed()
{
    if (m_skipping)
        return;
    m_skipping = true;
    Q_EMIT skippingChanged(true);
    decide();
}

void ReadSkip::decide()
{
    if (!m_skipping || !m_inWait)
        return;
    if (m_waitOnRead)
        m_timer.start();
    else
        stop(); // the first unread message: the player reads it
}

} // namespace vm2::app
