#pragma once

#include "gamestate.h"
#include "platform/pictureloader.h"
#include "platform/scriptchannel.h"
#include "screen.h"
#include "script.h"

#include <optional>
#include <vector>

namespace vm2::platform {
class SettingsStore;
}
namespace vm2::stage {
class Stage;
}

namespace vm2::engine {

// An ending that a run played: whose, and whether it was the happy one.
struct PlayedEnding {
    int heroine = 0;
    bool happy = false;
};

// What a run did that its caller acts on.
struct RunResult {
    // The endings played, in the order their closing words were shown: the words of
    // the last one stay on the message label.
    std::vector<PlayedEnding> endings;
    // The message label's text as the run left it, when the run wrote one.
    std::optional<QString> talkText;
};

// The event runner and the command executor: plays event scripts on the main
// screen. Everything it shows goes through Screen; every fault in the data is a
// platform::ScriptError naming the fault, the script and the line.
//
// A hand-over ("D", "A", "B") ends the current event as soon as the event it
// starts has ended, so the runner does not nest native calls for it: the current
// script is closed and the next one played in the same loop. Only an ending leaves
// work for afterwards (its closing words and record), kept on a small list; a chain
// of jumps of any length therefore runs in constant memory.
class Engine
{
public:
    // Hand-overs in a row without the player acting before the run ends in a script
    // error: a script that jumps to itself without waiting would otherwise hold the
    // game forever. Long chains of real content stay far below it.
    static constexpr int kDefaultHandOverLimit = 200000;
    void setHandOverLimit(int limit) { m_handOverLimit = limit; }

    Engine(GameState &state, Screen &screen, stage::Stage &stage, platform::SettingsStore &store,
           QString dataFolder);

    void setTrace(Trace *trace) { m_trace = trace; }

    GameState &state() { return m_state; }
    Screen &screen() { return m_screen; }
    stage::Stage &stage() { return m_stage; }
    platform::SettingsStore &store() { return m_store; }
    const QString &dataFolder() const { return m_dataFolder; }

    // Plays the event of `place` number `number`, and everything it hands over to,
    // to the end, and tells what the caller needs to know of it.
    RunResult RunEvent(const QString &place, int number);

    // The player asked for the next text (the advance prompt or the Space key), while
    // an advance wait sleeps or at any other time: NextFlag. The runner clears it
    // before and after each advance wait, so an early advance never skips text.
    void playerAdvanced() { m_state.NextFlag = -1; }

    // Where the wait in progress stands, as "dat2/ibent2-0.da2:7": the line of a
    // message or next day for an advance wait, the "4" line for a choice.
    QString waitLocation() const;

    // Starts decoding the pictures that the event of `place` number `number` draws,
    // and those of the events it jumps to, on worker threads: they decode side by
    // side and while the player reads, instead of one by one as the event reaches
    // them. Nothing else changes: an event draws what its files hold when it draws,
    // and a missing or broken picture is reported where it is drawn. RunEvent() does
    // this itself; a caller that draws first (a place move's stage) asks before.
    void decodeAhead(const QString &place, int number);

    // The stage-only background load of back<code>.da1 (place move, next day, LOAD).
    void loadStageOnly(const QString &code);

    // Where the run stands: the script it plays (e.g. "dat2/ibentA-3.da2"; empty
    // between runs) and the number of the line it read last, which during a wait is
    // the line that waits.
    QString scriptName() const { return m_channel.isOpen() ? m_channel.name() : QString(); }
    int lineNumber() const { return m_channel.lineNumber(); }

private:
    struct Next {
        QString place;
        int number = 0;
    };

    void open(const Next &next);
    std::optional<Next> playScript();
    // Executes one line of the main flow or of a block; returns the event it hands over to.
    std::optional<Next> execute(const QString &line, Where where);
    // A choice or flag branch: the block to play, then the blocks.
    void openBlocks(const Command &cmd, std::optional<Next> &handOver);
    // The choice wait after the captions of the choice on line `opening`: TalkNo.
    int choose(int opening);
    // `opening`: the line of the "4" or "6", which errors name.
    void playBlocks(int opening, bool first, int countA, int countB, std::optional<Next> &handOver);
    void message(const Command &cmd, bool waits);
    void showTalk(std::uint32_t colour, const QString &text);
    platform::ScriptError atLine(platform::ScriptError error, int line) const;
    void advanceWait();
    void finishEnding(const PlayedEnding &ending);

    QImage picture(const QString &file);
    QString dataPath(const QString &relative) const;

    GameState &m_state;
    Screen &m_screen;
    stage::Stage &m_stage;
    platform::SettingsStore &m_store;
    QString m_dataFolder;
    Trace *m_trace = nullptr;
    platform::ScriptChannel m_channel;
    platform::ScriptCache m_scripts;
    platform::PictureCache m_pictures;
    std::optional<Next> m_aheadFor; // the event asked for ahead of its run, until it runs
    std::vector<PlayedEnding> m_endings;
    RunResult m_result;
    int m_handOvers = 0;
    int m_choiceLine = 0; // the "4" line while its choice waits
    int m_handOverLimit = kDefaultHandOverLimit;
};

} // namespace vm2::engine
