// How long an author's edit takes to show: a source saved while
// `velmora2-story build --watch` runs, until the built script holds it, and then
// until the next event played shows it (headless, as the window's game plays it).
#include "benchutil.h"

#include "player.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

using namespace vm2;

namespace {

constexpr int kEdits = 15;
constexpr qint64 kGiveUpMs = 30000;

const QString kStory = QStringLiteral(VM2_PROGRAM_DIR "/velmora2-story");

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Waits, letting the watcher's output through, until `done` holds.
void until(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > kGiveUpMs)
            qFatal("no rebuild within %lld ms", kGiveUpMs);
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
}

QString playHill(const QString &data)
{
    play::Options options;
    options.dataFolder = data;
    options.place = QStringLiteral("3");
    options.number = 0;
    QString transcript;
    QTextStream out(&transcript);
    play::play(options, out);
    out.flush();
    return transcript;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("story"));
    const QString out = src + QStringLiteral("/out");
    QProcess made;
    made.start(kStory, {QStringLiteral("new"), src});
    if (!made.waitForFinished(60000) || made.exitCode() != 0)
        qFatal("velmora2-story new failed");
    QProcess watch;
    watch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QByteArray said;
    QObject::connect(&watch, &QProcess::readyReadStandardOutput,
                     [&] { said += watch.readAllStandardOutput(); });
    watch.start(kStory, {QStringLiteral("build"), QStringLiteral("--watch"), src, out});
    until([&] { return said.contains("velmora2-story: watching"); });

    const QString source = src + QStringLiteral("/dat2/ibent3-0.txt");
    const QString built = out + QStringLiteral("/dat2/ibent3-0.da2");
    std::vector<double> rebuilt, shown;
    for (int i = 0; i < kEdits; ++i) {
        const QByteArray words = "EDIT" + QByteArray::number(i);
        QElapsedTimer timer;
        timer.start();
        writeFile(source, "13\n34" + words + "\n");
        until([&] { return readFile(built).contains(words); });
        rebuilt.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!playHill(out).contains(QString::fromLatin1(words)))
            qFatal("the next event did not show the edit");
        shown.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    watch.kill();
    watch.waitForFinished();
    auto row = [](const char *operation, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        std::printf("BENCH\t%s\t%.1f\t%.1f\tms\n", operation, v[v.size() / 2],
                    v[v.size() * 3 / 4] - v[v.size() / 4]);
    };
    row("a source saved to rebuilt by build --watch (starter story, 0.2 s settle)", rebuilt);
    row("a source saved to the next event showing it", shown);
    std::fflush(stdout);
    return 0;
}
