// Fuzz target: the script channel and the runner playing one script, with every
// wait answered at once. A bad script may only end in a script error.
//
// The scripts and pictures are served from memory and the pictures are decoded
// once per process; the game, its stage and its screen live for the whole process
// and are put back to a new game's state before each input.
#include "fuzzsupport.h"
#include "recordingscreen.h"

#include "game/game.h"
#include "platform/filesource.h"
#include "platform/scripterror.h"
#include "platform/settingsstore.h"

using namespace vm2;

namespace {

// Hand-overs in a row before a run ends in the limit's script error: far below the
// game's own limit, so that a script that jumps to itself ends fast; a few rounds
// are enough to reach every shape of a chain.
constexpr int kHandOvers = 4;

// The recording screen, without the copy of the stage picture at each change (the
// next drawing on the stage would copy the whole surface).
struct Screen : test::RecordingScreen {
    void showStage(const engine::StageChange &change, const QImage &) override
    {
        stageChanges << change.file;
    }
};

struct Fixture {
    Fixture()
    {
        fuzz::ensureApplication();
        fuzz::addPictures(files);
        platform::setFileSource(&files);
    }
    platform::MemorySource files;
    Screen screen;
    platform::MemoryStore store;
    game::Game game{screen, store, fuzz::kDataFolder};
};

} // namespace

extern "C" int VM2_FUZZ_ENTRY(const std::uint8_t *data, std::size_t size)
{
    static Fixture fixture;
    // The same bytes serve as event 0 and event 1 of home, so jumps and next days
    // play them again.
    const QByteArray bytes = fuzz::bytesOf(data, size);
    fixture.files.setFile(fuzz::kDataFolder + QStringLiteral("/dat2/ibent1-0.da2"), bytes);
    fixture.files.setFile(fuzz::kDataFolder + QStringLiteral("/dat2/ibent1-1.da2"), bytes);

    // A new game's state. The stage keeps what the last input drew: its pixels decide
    // nothing that the engine does.
    Screen &screen = fixture.screen;
    screen = Screen{};
    fixture.store = platform::MemoryStore{};
    fixture.game.state() = engine::GameState{};

    // Every wait is answered at once, choices alternating; after ten the player leaves.
    auto leaveAfterTen = [&] {
        if (screen.advanceWaits + screen.choiceWaits > 10)
            throw engine::Aborted{};
    };
    screen.onAdvance = leaveAfterTen;
    screen.onChoice = [&] {
        leaveAfterTen();
        return (screen.choiceWaits & 1) + 1;
    };
    fixture.game.engine().setHandOverLimit(kHandOvers);
    try {
        fixture.game.engine().RunEvent(QStringLiteral("1"), 0);
    } catch (const platform::ScriptError &) {
    } catch (const engine::Aborted &) {
    }
    // The input's bytes are not ours past this call.
    fixture.files.clearFiles();
    return 0;
}
