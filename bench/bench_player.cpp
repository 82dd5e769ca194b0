// The headless player on the demo story: one place move end to end (the move, its
// background, the whole event with every wait answered, the buttons afterwards),
// a whole walkthrough to an ending, and the peak memory of a whole game.
#include "benchutil.h"

#include "player.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

using namespace vm2;

namespace {

QStringList walkthroughInputs(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file));
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n'))
        if (line.startsWith(QStringLiteral("inputs:")))
            return line.mid(7).split(u' ', Qt::SkipEmptyParts);
    qFatal("no inputs in %s", qPrintable(file));
}

int run(const QStringList &inputs)
{
    play::Options options;
    options.mode = play::Options::Mode::NewGame;
    options.dataFolder = QStringLiteral(VM2_PROGRAM_DIR);
    options.names = {QStringLiteral("桐原"), QStringLiteral("蒼真"), QStringLiteral("ソウマ")};
    options.inputs = inputs;
    QString transcript;
    QTextStream out(&transcript);
    return play::play(options, out).status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList game =
        walkthroughInputs(QStringLiteral(VM2_WALKTHROUGH_DIR "/shiori-happy.txt"));
    // The walkthrough starts with a move to the school: time the start alone, then
    // the start with that first move and its event (up to the next move).
    qsizetype nextMove = game.size();
    for (qsizetype i = 1; i < game.size(); ++i) {
        if (game.at(i).startsWith(u'p')) {
            nextMove = i;
            break;
        }
    }
    const QStringList firstMove = game.mid(0, nextMove);
    const double start = bench::measure(
        "headless new game to home's buttons (demo story)", 50, [] { run({}); }, "us");
    const double move = bench::measure(
        "headless new game and one place move with its event", 50, [&] { run(firstMove); }, "us");
    bench::report("one place move end to end in the headless player (difference)", move - start,
                  "us");
    const QByteArray whole = QStringLiteral("headless walkthrough to a happy ending (%1 inputs)")
                                 .arg(game.size())
                                 .toUtf8();
    bench::measure(whole.constData(), 20, [&] {
        if (run(game) != play::Ok)
            qFatal("the walkthrough did not finish");
    });
    bench::report("peak memory of the headless player after whole games", bench::peakMemoryMiB(),
                  "MiB");
    return 0;
}
