// velmora2-play: plays an event, or a whole game, without a window, answering the
// waits from a list of inputs and printing a transcript of everything the main
// screen would show.
#include "player.h"

#include "platform/programfolder.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
const char kUsage[] =
    "usage: velmora2-play [--data DIR] [--names SURNAME,GIVEN,NICK] [--inputs \"TOKENS\"]\n"
    "                     [--state] [--snapshots DIR] PLACE EVENT\n"
    "       velmora2-play [--data DIR] (--new SURNAME,GIVEN,NICK | --load | --bonus)\n"
    "                     [--inputs \"TOKENS\"] [--store FILE] [--state] [--snapshots DIR]\n"
    "tokens: n (advance), 1 or 2 (choice), p<TAG> (place button), save, load\n"
    "--snapshots DIR: a new or empty DIR, or one that velmora2-play marked as its own\n";
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    vm2::play::Options options;
    options.dataFolder = vm2::platform::programFolder();
    QString error;
    if (!vm2::play::parseArguments(arguments, options, error)) {
        std::fprintf(stderr, "velmora2-play: %s\n%s", qPrintable(error), kUsage);
        return vm2::play::BadInput;
    }
    if (!options.snapshotFolder.isEmpty() &&
        !vm2::play::prepareSnapshotFolder(options.snapshotFolder, &error)) {
        std::fprintf(stderr, "velmora2-play: %s\n", qPrintable(error));
        return vm2::play::BadInput;
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    return vm2::play::play(options, out).status;
}
