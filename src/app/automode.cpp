#include "automode.h"

namespace vm2::app {

namespace {

// A second to take in the page, then about eleven characters a second, the pace of
// an unhurried reader of Japanese; never more than ten seconds on one page.
constexpr int kBase = 1000;
constexpr int kPerCharacter = 90;
constexpr int kLongest = 10000;

} // namespace

AutoMode::AutoMode(std::function<void()> answer, QObject *parent)
    : QObject(parent), m_answer(std::move(answer))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_on && m_inWait)
            m_answer();
    });
}

int AutoMode::pauseFor(const QString &text)
{
    return qMin(kLongest, kBase + kPerCharacter * int(text.trimmed().size()));
}

void AutoMode::toggle()
{
    if (m_on) {
        stop();
        return;
    }
    m_on = true;
    Q_EMIT changed(true);
    if (m_inWait)
        startPause();
}

void AutoMode::stop()
{
    m_timer.stop();
    if (!m_on)
        return;
    m_on = false;
    Q_EMIT changed(false);
}

void AutoMode::advanceWaitBegins(const QString &text)
{
    m_inWait = true;
    m_text = text;
    if (m_on)
        startPause();
}

void AutoMode::advanceWaitEnds()
{
    m_inWait = false;
    m_timer.stop();
}

void AutoMode::startPause()
{
    m_timer.start(pauseFor(m_text));
}

} // namespace vm2::app
