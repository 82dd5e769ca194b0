#pragma once

#include "engine/screen.h"

#include <QStringList>
#include <functional>

namespace vm2::test {

// A main screen for tests: keeps what the window would show, and answers the waits
// through callbacks (by default: advance at once, choose 1).
class RecordingScreen : public engine::Screen
{
public:
    void setTalkColour(std::uint32_t c) override { colour = c; }
    void setTalkText(const QString &text) override { talk = text; }
    void setPlaceLabel(const QString &name) override { place = name; }
    void movedTo(const QString &name) override { place = name; }
    void setNames(const QString &full, const QString &nick) override
    {
        fullName = full;
        nickname = nick;
    }
    void eventStarted() override { menuEnabled = false; }
    void eventEnded() override { menuEnabled = true; }
    void showPlaceButtons(const engine::PlaceButtons &b) override { buttons = b; }
    void hidePlaceButtons() override
    {
        for (auto &b : buttons)
            b.visible = false;
    }
    void showStage(const engine::StageChange &change, const QImage &image) override
    {
        stageChanges << change.file;
        stage = image;
    }
    void waitAdvance() override
    {
        ++advanceWaits;
        if (onAdvance)
            onAdvance();
    }
    int waitChoice(const QString &, const QString &) override
    {
        ++choiceWaits;
        return onChoice ? onChoice() : 1;
    }

    std::uint32_t colour = 0xFF0000;
    QString talk, place, fullName, nickname;
    bool menuEnabled = true;
    engine::PlaceButtons buttons;
    QStringList stageChanges;
    QImage stage;
    int advanceWaits = 0;
    int choiceWaits = 0;
    std::function<void()> onAdvance;
    std::function<int()> onChoice;
};

} // namespace vm2::test
