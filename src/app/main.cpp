#include "art.h"
#include "platform/programfolder.h"
#include "platform/readrecord.h"
#include "platform/settingsstore.h"
#include "session.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kUsage[] = "usage: velmora2 [--data DIR] [--author]\n"
                      "  --data DIR   play the story in DIR (its dat1 and dat2)\n"
                      "  --author     open the author panel beside the main screen\n";

// The game's options, read before Qt takes its own from the command line: the
// story folder to play, instead of the program folder, and author mode. Returns an
// exit status when the program must end at once, else -1.
int parseOptions(int argc, char *argv[], QString &data, bool &author)
{
    for (int i = 1; i < argc; ++i) {
        author = author || std::strcmp(argv[i], "--author") == 0;
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--data") != 0)
            continue;
        if (i + 1 >= argc) {
            std::fprintf(stderr, "velmora2: --data needs a folder\n%s", kUsage);
            return 2;
        }
        data = QDir(QString::fromLocal8Bit(argv[++i])).absolutePath();
        if (!QDir(data).exists(QStringLiteral("dat2"))) {
            std::fprintf(stderr,
                         "velmora2: %s holds no dat2 folder: a story folder holds dat1 and "
                         "dat2 (build one with velmora2-story build SRC OUT)\n",
                         argv[i]);
            return 2;
        }
    }
    return -1;
}

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
    QString data;
    bool author = false;
    if (const int status = parseOptions(argc, argv, data, author); status >= 0)
        return status;
    if (!haveDisplay()) {
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

    vm2::platform::QSettingsStore store;
    // The messages read, in any game: a file of its own beside the store.
    vm2::platform::ReadRecord readRecord(vm2::platform::ReadRecord::pathBeside(store.location()));
    vm2::app::Session session(store, data);
    session.setReadRecord(readRecord);
    if (author)
        session.openAuthorPanel();
    QObject::connect(&session, &vm2::app::Session::finished, &app,
                     [](int status) { QCoreApplication::exit(status); });
    session.showTitle();
    return QApplication::exec();
}
