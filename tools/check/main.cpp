// velmora2-check: finds, before the game is ever started, every fault in a story's
// scripts and pictures that would end the game, and draws the story map.
#include "checker.h"

#include "platform/commandline.h"
#include "platform/programfolder.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
const char kUsage[] = "usage: velmora2-check [--data DIR] [--graph FILE.dot] [--werror]\n"
                      "--graph writes the story map whole, never inside the story's dat1 or dat2\n";
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    arguments = vm2::platform::splitOptionValues(
        arguments, {QStringLiteral("--data"), QStringLiteral("--graph")});
    vm2::check::Options options;
    options.dataFolder = vm2::platform::programFolder();
    while (!arguments.isEmpty()) {
        const QString arg = arguments.takeFirst();
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == QLatin1String("--werror")) {
            options.werror = true;
        } else if ((arg == QLatin1String("--data") || arg == QLatin1String("--graph")) &&
                   !arguments.isEmpty()) {
            (arg == QLatin1String("--data") ? options.dataFolder : options.graphFile) =
                arguments.takeFirst();
        } else {
            std::fprintf(stderr, "velmora2-check: unexpected argument %s\n%s", qPrintable(arg),
                         kUsage);
            return 2;
        }
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    QTextStream err(stderr);
    return vm2::check::run(options, out, err);
}
