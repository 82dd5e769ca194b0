#pragma once

#include "engine/screen.h"

#include <QPointer>

namespace vm2::app {

class MainWindow;

// The one Screen the game talks to for the whole process. Main windows come and go
// (TITLE discards one, the next game creates another); the relay passes every
// call on to the main window shown now. Without one, what the game shows goes
// nowhere, and a wait ends the run as if the window had been closed.
class ScreenRelay : public engine::Screen
{
public:
    void setTarget(MainWindow *window) { m_target = window; }
    MainWindow *target() const { return m_target; }

    void setTalkColour(std::uint32_t colour) override;
    void setTalkText(const QString &text) override;
    void setPlaceLabel(const QString &name) override;
    void movedTo(const QString &placeName) override;
    void setNames(const QString &fullName, const QString &nickname) override;
    void eventStarted() override;
    void eventEnded() override;
    void showPlaceButtons(const engine::PlaceButtons &buttons) override;
    void hidePlaceButtons() override;
    void showStage(const engine::StageChange &change, const QImage &stage) override;
    void waitAdvance() override;
    int waitChoice(const QString &caption1, const QString &caption2) override;

private:
    QPointer<MainWindow> m_target;
};

} // namespace vm2::app
