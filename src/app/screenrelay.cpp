#include "screenrelay.h"

#include "mainwindow.h"

namespace vm2::app {

void ScreenRelay::setTalkColour(std::uint32_t colour)
{
    if (m_target)
        m_target->setTalkColour(colour);
}

void ScreenRelay::setTalkText(const QString &text)
{
    if (m_target)
        m_target->setTalkText(text);
}

void ScreenRelay::setPlaceLabel(const QString &name)
{
    if (m_target)
        m_target->setPlaceLabel(name);
}

void ScreenRelay::movedTo(const QString &placeName)
{
    if (m_target)
        m_target->movedTo(placeName);
}

void ScreenRelay::setNames(const QString &fullName, const QString &nickname)
{
    if (m_target)
        m_target->setNames(fullName, nickname);
}

void ScreenRelay::eventStarted()
{
    if (m_target)
        m_target->eventStarted();
}

void ScreenRelay::eventEnded()
{
    if (m_target)
        m_target->eventEnded();
}

void ScreenRelay::showPlaceButtons(const engine::PlaceButtons &buttons)
{
    if (m_target)
        m_target->showPlaceButtons(buttons);
}

void ScreenRelay::hidePlaceButtons()
{
    if (m_target)
        m_target->hidePlaceButtons();
}

void ScreenRelay::showStage(const engine::StageChange &change, const QImage &stage)
{
    if (m_target)
        m_target->showStage(change, stage);
}

void ScreenRelay::waitAdvance()
{
    if (!m_target)
        throw engine::Aborted();
    m_target->waitAdvance();
}

int ScreenRelay::waitChoice(const QString &caption1, const QString &caption2)
{
    if (!m_target)
        throw engine::Aborted();
    return m_target->waitChoice(caption1, caption2);
}

} // namespace vm2::app
