// The event runner: lines per second on a long script of lines that do not wait,
// and a long chain of hand-overs (time, and peak memory against a short chain).
#include "benchutil.h"
#include "recordingscreen.h"

#include "game/game.h"
#include "platform/scriptchannel.h"
#include "platform/scripterror.h"
#include "platform/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vm2;

namespace {

void writeScript(const QString &path, const QStringList &lines, int repeat = 1)
{
    QByteArray bytes;
    for (int r = 0; r < repeat; ++r)
        for (const QString &line : lines)
            bytes += platform::encodeCp932(line) + "\r\n";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Plays a chain of `rounds` × 2 hand-overs and returns the peak memory after it.
double chain(const QString &data, int rounds)
{
    test::RecordingScreen screen;
    platform::MemoryStore store;
    game::Game game(screen, store, data);
    int choices = 0;
    screen.onChoice = [&] { return ++choices < rounds ? 1 : 2; };
    game.engine().RunEvent(QStringLiteral("1"), 0);
    return bench::peakMemoryMiB();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("dat2"));
    const QString dat2 = dir.filePath(QStringLiteral("dat2/"));

    // 1,000,000 lines that do not wait: flags, affection up and down, counters,
    // messages without wait (with a placeholder) and place labels.
    const QStringList mix{"513", "72011",    "72010", "900",   "E2@2は笑った。",
                          "FG",  "E4ソ表示", "51x0",  "73051", "73050"};
    writeScript(dat2 + QStringLiteral("ibent1-0.da2"), mix, 100000);
    {
        test::RecordingScreen screen;
        platform::MemoryStore store;
        game::Game game(screen, store, dir.path());
        game.state().PName(2) = QStringLiteral("蒼真");
        const double ms = bench::measure("run 1,000,000 non-waiting lines", 5,
                                         [&] { game.engine().RunEvent(QStringLiteral("1"), 0); });
        bench::report("lines per second (non-waiting lines)", 1e6 / (ms / 1000.0), "lines/s");
    }

    // Hand-over chains: event 1-0 jumps to 1-1, which asks a choice and jumps back.
    writeScript(dat2 + QStringLiteral("ibent1-0.da2"), {"D11"});
    writeScript(dat2 + QStringLiteral("ibent1-1.da2"), {"40100", "x", "y", "D10"});
    const double shortPeak = chain(dir.path(), 500);
    bench::report("peak memory after a 1,000 hand-over chain", shortPeak, "MiB");
    bench::measure("100,000 hand-over chain", 3, [&] { chain(dir.path(), 50000); });
    bench::report("peak memory after 100,000 hand-over chains", bench::peakMemoryMiB(), "MiB");

    // 100,000 hand-overs in a row with no wait at all: home jumps to itself until the
    // engine's bound on such chains stops it.
    writeScript(dat2 + QStringLiteral("ibent1-0.da2"), {"D10"});
    bench::measure("100,000 hand-overs without a wait", 3, [&] {
        test::RecordingScreen screen;
        platform::MemoryStore store;
        game::Game game(screen, store, dir.path());
        game.engine().setHandOverLimit(100000);
        try {
            game.engine().RunEvent(QStringLiteral("1"), 0);
        } catch (const platform::ScriptError &) {
        }
    });
    bench::report("peak memory after them", bench::peakMemoryMiB(), "MiB");
    return 0;
}
