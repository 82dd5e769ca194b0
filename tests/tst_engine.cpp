// The runner's contract with the main screen: menu buttons, the wait flags, long
// chains of hand-overs.
#include "datafolder.h"
#include "recordingscreen.h"

#include "game/game.h"
#include "platform/settingsstore.h"

#include <QTest>

using namespace vm2;
using namespace vm2::test;

class TestEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void menuDisabledDuringEveryWait();
    void earlyAdvanceDoesNotSkip();
    void longHandOverChain();
    void endlessHandOversEndInAnError();
    void abortedWaitWritesNothing();
    void errorLeavesMenuDisabled();
};

void TestEngine::menuDisabledDuringEveryWait()
{
    DataFolder data;
    data.script(QStringLiteral("ibent1-0.da2"), {"34a", "D21"});
    data.script(QStringLiteral("ibent2-1.da2"), {"40000", "x", "y", "72400", "B2"});
    data.script(QStringLiteral("ibent9-2.da2"), {"34end"});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    int waits = 0;
    screen.onAdvance = [&] {
        ++waits;
        QVERIFY(!screen.menuEnabled);
    };
    screen.onChoice = [&] {
        ++waits;
        [&] { QVERIFY(!screen.menuEnabled); }();
        return 2;
    };
    game.engine().RunEvent(QStringLiteral("1"), 0);
    QCOMPARE(waits, 3);
    QVERIFY(screen.menuEnabled);
    QCOMPARE(store.values().value(QStringLiteral("Endcnt2")), QStringLiteral("1"));
}

void TestEngine::earlyAdvanceDoesNotSkip()
{
    DataFolder data;
    data.script(QStringLiteral("ibent1-0.da2"), {"34a", "40000", "x", "y", "34b"});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    // A Space press before a wait sets the flags; every wait starts from cleared flags.
    game.state().NextFlag = -1;
    game.state().TalkFlag = -1;
    screen.onAdvance = [&] {
        QCOMPARE(game.state().NextFlag, std::int16_t(0));
        game.state().NextFlag = -1;
    };
    screen.onChoice = [&] {
        [&] { QCOMPARE(game.state().TalkFlag, std::int16_t(0)); }();
        game.state().TalkFlag = -1;
        return 1;
    };
    game.engine().RunEvent(QStringLiteral("1"), 0);
    QCOMPARE(screen.advanceWaits, 2);
    QCOMPARE(game.state().NextFlag, std::int16_t(0));
    QCOMPARE(game.state().TalkFlag, std::int16_t(0));
}

void TestEngine::longHandOverChain()
{
    // 100,000 rounds of two hand-overs each: nested native calls this deep would
    // overflow the stack, so finishing at all shows the chain runs flat.
    DataFolder data;
    data.script(QStringLiteral("ibent1-0.da2"), {"D11"});
    data.script(QStringLiteral("ibent1-1.da2"), {"40100", "x", "y", "D10", "E4last"});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    constexpr int kRounds = 100000;
    screen.onChoice = [&] { return screen.choiceWaits < kRounds ? 1 : 2; };
    game.engine().RunEvent(QStringLiteral("1"), 0);
    QCOMPARE(screen.choiceWaits, kRounds);
    QCOMPARE(screen.talk, QStringLiteral("last"));
    QVERIFY(screen.menuEnabled);
}

void TestEngine::endlessHandOversEndInAnError()
{
    // Home jumps to itself and never waits: without a bound the game would hang.
    DataFolder data;
    data.script(QStringLiteral("ibent1-0.da2"), {"E4again", "D10"});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    game.engine().setHandOverLimit(1000);
    try {
        game.engine().RunEvent(QStringLiteral("1"), 0);
        QFAIL("an endless chain must end");
    } catch (const platform::ScriptError &e) {
        QCOMPARE(e.message(), QStringLiteral("dat2/ibent1-0.da2:2: Out of stack space: 1000 "
                                             "hand-overs in a row without waiting for the player"));
    }
    // A wait starts the count again: 1,500 jumps, each after a choice, are fine.
    data.script(QStringLiteral("ibent1-0.da2"), {"40100", "x", "y", "D10", "D11"});
    data.script(QStringLiteral("ibent1-1.da2"), {"E4done"});
    screen.onChoice = [&] { return screen.choiceWaits < 1500 ? 1 : 2; };
    game.engine().RunEvent(QStringLiteral("1"), 0);
    QCOMPARE(screen.talk, QStringLiteral("done"));
}

void TestEngine::abortedWaitWritesNothing()
{
    DataFolder data;
    data.script(QStringLiteral("ibent1-0.da2"), {"72400", "B2"});
    data.script(QStringLiteral("ibent9-2.da2"), {"34closing now"});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    screen.onAdvance = [] { throw engine::Aborted{}; };
    QVERIFY_THROWS_EXCEPTION(engine::Aborted, game.engine().RunEvent(QStringLiteral("1"), 0));
    QVERIFY(store.values().isEmpty());
}

void TestEngine::errorLeavesMenuDisabled()
{
    // The game ends on a script error: nothing may be clicked in the meantime.
    DataFolder data;
    data.script(QStringLiteral("ibent1-0.da2"), {"5x"});
    RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data.path());
    QVERIFY_THROWS_EXCEPTION(platform::ScriptError, game.engine().RunEvent(QStringLiteral("1"), 0));
    QVERIFY(!screen.menuEnabled);
    // The engine is usable again afterwards (tests and tools run many events).
    data.script(QStringLiteral("ibent1-0.da2"), {"E4fine"});
    game.engine().RunEvent(QStringLiteral("1"), 0);
    QCOMPARE(screen.talk, QStringLiteral("fine"));
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
