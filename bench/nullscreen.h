#pragma once

#include "engine/screen.h"

#include <functional>

namespace vm2::bench {

// A main screen that shows nothing and answers every wait at once.
class NullScreen : public engine::Screen
{
public:
    void setTalkColour(std::uint32_t) override {}
    void setTalkText(const QString &text) override { m_talk = text; }
    QString talkText() const override { return m_talk; }
    void setPlaceLabel(const QString &) override {}
    void setNames(const QString &, const QString &) override {}
    void setMenuEnabled(bool) override {}
    void showPlaceButtons(const engine::PlaceButtons &) override {}
    void hidePlaceButtons() override {}
    void showStage(const engine::StageChange &, const QImage &) override {}
    void waitAdvance() override {}
    int waitChoice(const QString &, const QString &) override { return choice ? choice() : 1; }

    std::function<int()> choice;

private:
    QString m_talk;
};

} // namespace vm2::bench
