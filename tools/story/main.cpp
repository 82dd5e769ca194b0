// velmora2-story: the story author's tool. Starts a story, builds its UTF-8 sources
// into the game's data (code page 932 scripts, checked pictures, then the checker),
// decodes an existing story back into sources, and plays the story's walkthroughs.
#include "newstory.h"
#include "platform/commandline.h"
#include "storybuild.h"
#include "storywatch.h"
#include "walkthrough.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>

using namespace vm2::story;

namespace {

const char kUsage[] = "usage: velmora2-story new DIR\n"
                      "       velmora2-story build [--werror] [--dat1 DIR] [--watch] SRC OUT\n"
                      "       velmora2-story decode DATA OUT\n"
                      "       velmora2-story test [--data OUT] [--coverage FILE] SRC\n"
                      "       velmora2-story COMMAND --help\n";

const char kNewHelp[] =
    "usage: velmora2-story new DIR\n"
    "Writes a small complete story into DIR (new or empty) to start from: UTF-8\n"
    "sources in DIR/dat2, placeholder pictures in DIR/dat1, walkthroughs in\n"
    "DIR/walkthroughs. It builds, checks clean and its walkthroughs pass.\n"
    "The story is written beside DIR (.DIR.vm2-staging-PID) and put in place at once:\n"
    "a kill or a full disk leaves DIR as it was, absent or empty. An empty DIR keeps\n"
    "its permissions.\n"
    "Exit status: 0 done, 1 an error (DIR not empty: nothing written), 2 bad\n"
    "arguments.\n";

const char kBuildHelp[] =
    "usage: velmora2-story build [--werror] [--dat1 DIR] [--watch] SRC OUT\n"
    "Encodes SRC/dat2/*.txt (UTF-8, any line ends) into OUT/dat2/*.da2 (code page\n"
    "932, CR LF), copies the pictures of SRC/dat1 (or of --dat1 DIR) into OUT/dat1\n"
    "after checking that they load, then runs velmora2-check on OUT.\n"
    "Look-alike characters are written as their code page 932 character with a\n"
    "warning; any other character code page 932 cannot hold stops the build.\n"
    "  --werror    warnings of the checker fail the build too\n"
    "  --watch     build again whenever a source or picture changes, until stopped;\n"
    "              a build that fails (a source, or the checker) leaves OUT as the\n"
    "              last good build left it\n"
    "OUT is new, empty, or one that build wrote: build lists what it wrote in\n"
    "OUT/velmora2-story.manifest and replaces or removes nothing else. A file that\n"
    "OUT holds besides (sources, notes, a link, a file changed since) stops the build\n"
    "before anything is written. The new OUT is written beside it (.OUT.vm2-staging-PID)\n"
    "and swapped into place at once: a kill or a full disk leaves the old or the new.\n"
    "Sources and pictures are read only as regular files inside SRC's dat1 and dat2,\n"
    "at most 64 MB each.\n"
    "Exit status: 0 done, 1 an error (nothing written when a source failed), 2 bad\n"
    "arguments.\n";

const char kDecodeHelp[] =
    "usage: velmora2-story decode DATA OUT\n"
    "Decodes DATA/dat2/*.da2 (code page 932) into UTF-8 sources OUT/dat2/*.txt and\n"
    "copies DATA/dat1 to OUT/dat1. Warns with file and line wherever building the\n"
    "sources again would write other bytes; a script that is not code page 932 is\n"
    "reported and left out. OUT is new, empty, or one that decode wrote (its\n"
    "manifest OUT/velmora2-story.manifest lists the files): decode never deletes a\n"
    "source, and stops before writing when OUT holds another file or a source edited\n"
    "since decode wrote it. The new OUT is swapped into place at once, as by build.\n"
    "Exit status: 0 done, 1 an error, 2 bad arguments.\n";

const char kTestHelp[] =
    "usage: velmora2-story test [--data OUT] [--coverage FILE] SRC\n"
    "Builds SRC into a scratch folder (or takes the story already built in OUT) and\n"
    "plays every walkthrough SRC/walkthroughs/*.txt on it headless, printing\n"
    "\"PASS name\" or \"FAIL name: why (walkthroughs/NAME.txt:LINE)\" for each, then\n"
    "\"covered: S/S scripts, A/A answers, B/B branches\": what the walkthroughs played\n"
    "of the story's scripts, choice answers and flag-branch blocks.\n"
    "  --coverage FILE  write what no walkthrough played to FILE, one\n"
    "                   \"SRC/dat2/ibent2-0.txt:5: not reached: ...\" a line (never\n"
    "                   into the story's own folders)\n"
    "Walkthrough lines: names: S,G,N; seen: 2 3 4 5; ending: happy N | bad N | bonus;\n"
    "inputs: TOKENS (velmora2-play's); blank lines and # comments. Exit status: 0 all\n"
    "passed, 1 a failure, 2 bad arguments.\n";

int usage(const char *message)
{
    std::fprintf(stderr, "velmora2-story: %s\n%s", message, kUsage);
    return BadArguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit a write then fails and is reported with its file, as on a
    // full disk, instead of the signal ending the tool halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty())
        return usage("a command is needed");
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return Ok;
    }
    const struct {
        const char *name;
        const char *help;
    } commands[] = {
        {"new", kNewHelp}, {"build", kBuildHelp}, {"decode", kDecodeHelp}, {"test", kTestHelp}};
    const char *help = nullptr;
    for (const auto &c : commands) {
        if (command == QLatin1String(c.name))
            help = c.help;
    }
    if (!help)
        return usage("unknown command");
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(help, stdout);
        return Ok;
    }

    args = vm2::platform::splitOptionValues(
        args, {QStringLiteral("--dat1"), QStringLiteral("--data"), QStringLiteral("--coverage")});
    BuildOptions build;
    bool watch = false;
    QString data, coverage;
    QStringList positional;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        const bool takesValue =
            (command == QLatin1String("build") && arg == QLatin1String("--dat1")) ||
            (command == QLatin1String("test") &&
             (arg == QLatin1String("--data") || arg == QLatin1String("--coverage")));
        if (command == QLatin1String("build") && arg == QLatin1String("--werror")) {
            build.werror = true;
        } else if (command == QLatin1String("build") && arg == QLatin1String("--watch")) {
            watch = true;
        } else if (takesValue) {
            if (args.isEmpty())
                return usage(qPrintable(arg + (arg == QLatin1String("--coverage")
                                                   ? QStringLiteral(" needs a file")
                                                   : QStringLiteral(" needs a folder"))));
            QString &target = arg == QLatin1String("--dat1")   ? build.pictures
                              : arg == QLatin1String("--data") ? data
                                                               : coverage;
            target = args.takeFirst();
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return usage(qPrintable(QStringLiteral("unknown option ") + arg));
        } else {
            positional << arg;
        }
    }
    const qsizetype wanted =
        (command == QLatin1String("new") || command == QLatin1String("test")) ? 1 : 2;
    if (positional.size() != wanted || positional.contains(QString()))
        return usage(wanted == 1 ? "one folder is needed" : "two folders are needed");

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    int status = Ok;
    if (command == QLatin1String("new")) {
        status = newStory(positional.at(0), out);
    } else if (command == QLatin1String("build")) {
        build.source = positional.at(0);
        build.out = positional.at(1);
        status = watch ? watchBuild(build, out) : vm2::story::build(build, out);
    } else if (command == QLatin1String("decode")) {
        status = decode(positional.at(0), positional.at(1), out);
    } else {
        QTemporaryDir scratch;
        if (data.isEmpty()) {
            if (!scratch.isValid()) {
                out << "velmora2-story: cannot create a scratch folder\n";
                return Failed;
            }
            build.source = positional.at(0);
            build.out = scratch.path();
            build.quiet = true;
            status = vm2::story::build(build, out);
            data = scratch.path();
        }
        if (status == Ok)
            status = testWalkthroughs(positional.at(0), data, out, coverage);
    }
    out.flush();
    return status;
}
