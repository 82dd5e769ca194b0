// Fuzz target: LoadGame and the ending markers on an arbitrary INI store.
#include "engine/gamestate.h"
#include "platform/settingsstore.h"
#include "save/savedgame.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

using namespace vm2;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_loadgame";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("store.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    platform::QSettingsStore store(path);
    engine::GameState state;
    save::LoadGame(state, store);
    (void)save::allEndingsSeen(store);
    return 0;
}
