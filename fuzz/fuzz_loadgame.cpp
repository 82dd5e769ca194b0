// Fuzz target: LoadGame and the ending markers on an arbitrary INI store.
//
// The store is an INI file read by the platform's settings, so the input is
// written to a file, in a RAM-backed folder where there is one. Each input has a
// file name of its own: the settings keep parsed files by name and would take a
// rewritten file of the same size and time for the one they hold.
#include "fuzzsupport.h"

#include "engine/gamestate.h"
#include "platform/settingsstore.h"
#include "save/savedgame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace vm2;

namespace {

QString ramFolder()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}

} // namespace

extern "C" int VM2_FUZZ_ENTRY(const std::uint8_t *data, std::size_t size)
{
    fuzz::ensureApplication();
    static QTemporaryDir dir(ramFolder() + QStringLiteral("/vm2-fuzz-XXXXXX"));
    static quint64 inputs = 0;
    const QString path = dir.filePath(QStringLiteral("store-%1.ini").arg(++inputs));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    {
        platform::QSettingsStore store(path);
        engine::GameState state;
        save::LoadGame(state, store);
        (void)save::allEndingsSeen(store);
    }
    QFile::remove(path);
    return 0;
}
