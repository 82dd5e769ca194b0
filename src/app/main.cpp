#include "art.h"
#include "gameoptions.h"
#include "platform/programfolder.h"
#include "platform/readrecord.h"
#include "platform/settingsstore.h"
#include "platform/storyfiles.h"
#include "session.h"
#include "windowprefs.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace {

// Whether a window system is there to show the game on. Checked before the
// application object exists, which would otherwise abort without a display.
bool haveDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    using vm2::app::GameOptions;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    GameOptions options;
    QString error;
    switch (GameOptions::parse(arguments, options, error)) {
    case GameOptions::Outcome::Help:
        std::fputs(GameOptions::kUsage, stdout);
        return 0;
    case GameOptions::Outcome::BadArguments:
        std::fprintf(stderr, "velmora2: %s\n%s", qPrintable(error), GameOptions::kUsage);
        return 2;
    case GameOptions::Outcome::Play:
        break;
    }
    QString data;
    if (!options.dataFolder.isEmpty()) {
        data = QDir(options.dataFolder).absolutePath();
        if (!QDir(data).exists(QStringLiteral("dat2"))) {
            std::fprintf(stderr,
                         "velmora2: %s holds no dat2 folder: a story folder holds dat1 and "
                         "dat2 (build one with velmora2-story build SRC OUT)\n",
                         qPrintable(options.dataFolder));
            return 2;
        }
    }
    if (!options.platformGiven && !haveDisplay()) {
        std::fputs("velmora2: no display to open the game window on.\n"
                   "  Play without a window:   velmora2-play --new SURNAME,GIVEN,NICK "
                   "--inputs \"n n 1 p2 ...\"\n"
                   "  Play in a virtual X server:   xvfb-run -s \"-screen 0 1024x768x24\" "
                   "velmora2\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VM2"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora 2"));
    QApplication::setWindowIcon(vm2::app::art::programIcon());
    // Windows come and go between screens (the title closes before the name entry
    // opens): only the game decides when it ends.
    QApplication::setQuitOnLastWindowClosed(false);

    // Without --data, VM2_DATA names another folder holding dat1 and dat2.
    if (data.isEmpty())
        data = qEnvironmentVariable("VM2_DATA");
    if (data.isEmpty())
        data = vm2::platform::programFolder();

    // Each story has its saved game, seen endings and read messages of its own; the
    // installed story keeps the one store it has always had.
    const auto files = vm2::platform::StoryFiles::locate(data, vm2::platform::programFolder());
    const auto store = files.openStore();
    files.writeNote();
    vm2::platform::ReadRecord readRecord(files.readRecordFile(), files.readKeyPrefix());
    vm2::app::Session session(*store, data);
    session.setReadRecord(readRecord);
    // The player's window size and full screen, for every story: a file of the
    // player's beside the native store, never in a story's own folder.
    session.setPlayerFile(vm2::app::WindowPrefs::pathBeside(
        vm2::platform::QSettingsStore::nativeFile(QStringLiteral("VM2"))));
    if (options.author)
        session.openAuthorPanel();
    QObject::connect(&session, &vm2::app::Session::finished, &app,
                     [](int status) { QCoreApplication::exit(status); });
    session.showTitle();
    return QApplication::exec();
}
