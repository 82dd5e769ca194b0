// Fuzz target: the script channel and the runner playing one script, with every
// wait answered at once. A bad script may only end in a script error.
#include "recordingscreen.h"

#include "engine/game.h"
#include "platform/scripterror.h"
#include "platform/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>

using namespace vm2;

namespace {

struct Fixture {
    Fixture()
    {
        static int argc = 1;
        static char name[] = "fuzz_script";
        static char *argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        QDir root(dir.path());
        root.mkpath(QStringLiteral("dat1"));
        root.mkpath(QStringLiteral("dat2"));
        // A few small pictures, so that picture lines get past loading.
        QImage back(400, 400, QImage::Format_RGB32);
        back.fill(Qt::darkBlue);
        back.save(dir.filePath(QStringLiteral("dat1/back1.da1")), "BMP");
        QImage chara(600, 400, QImage::Format_RGB32);
        chara.fill(Qt::white);
        chara.save(dir.filePath(QStringLiteral("dat1/chara1.da1")), "BMP");
        chara.save(dir.filePath(QStringLiteral("dat1/charaA.da1")), "BMP");
        QImage face(840, 120, QImage::Format_RGB32);
        face.fill(Qt::white);
        face.save(dir.filePath(QStringLiteral("dat1/f1.da1")), "BMP");
        QImage event(800, 400, QImage::Format_RGB32);
        event.fill(Qt::white);
        event.save(dir.filePath(QStringLiteral("dat1/ibent01.da1")), "BMP");
    }
    QCoreApplication *app;
    QTemporaryDir dir;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Fixture fixture;
    // The same bytes serve as event 0 and event 1 of home, so jumps and next days
    // play them again.
    for (const char *name : {"dat2/ibent1-0.da2", "dat2/ibent1-1.da2"}) {
        QFile f(fixture.dir.filePath(QLatin1String(name)));
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    // Every wait is answered at once, choices alternating; after ten the player leaves.
    test::RecordingScreen screen;
    auto leaveAfterTen = [&] {
        if (screen.advanceWaits + screen.choiceWaits > 10)
            throw engine::Aborted{};
    };
    screen.onAdvance = leaveAfterTen;
    screen.onChoice = [&] {
        leaveAfterTen();
        return (screen.choiceWaits & 1) + 1;
    };
    platform::MemoryStore store;
    engine::Game game(screen, store, fixture.dir.path());
    game.engine().setHandOverLimit(200);
    try {
        game.engine().RunEvent(QStringLiteral("1"), 0);
    } catch (const platform::ScriptError &) {
    } catch (const engine::Aborted &) {
    }
    return 0;
}
