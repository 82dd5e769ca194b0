// Benchmarks of the windows, on the offscreen platform:
//   start-up  time from process start to the title screen shown (a child process)
//   waiting   CPU seconds per wall second while the main screen waits for the player
//   memory    peak resident memory of a process that plays a whole game
//   message   time from the main screen's start to a 1 MB message drawn, at 1x and
//             2x (a child process each, the second with QT_SCALE_FACTOR=2)
#include "benchutil.h"
#include "mainwindow.h"
#include "platform/scriptchannel.h"
#include "platform/settingsstore.h"
#include "rolepicture.h"
#include "session.h"
#include "stageview.h"
#include "titlewindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

using namespace vm2;

namespace {

constexpr int kStartRuns = 11;
constexpr int kWaitSamples = 5;
constexpr int kWaitMs = 1000;
constexpr int kGameMoves = 40;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void writeScript(const QString &folder, const QString &name, const QStringList &lines)
{
    QFile f(folder + QStringLiteral("/dat2/") + name);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(f.fileName()));
    for (const QString &line : lines)
        f.write(platform::encodeCp932(line) + "\r\n");
}

// A story with an event at every place: a character, a message and a choice.
void writeStory(const QString &folder)
{
    QDir(folder).mkpath(QStringLiteral("dat1"));
    QDir(folder).mkpath(QStringLiteral("dat2"));
    using stage::PictureRole;
    const QString codes = QStringLiteral("1234567AB");
    for (QChar c : codes) {
        test::writeRolePicture(folder, PictureRole::Background, c, QColor(40, 80, 120));
        writeScript(folder, QStringLiteral("ibent%1-0.da2").arg(c),
                    {QStringLiteral("1%1").arg(c), QStringLiteral("2210"),
                     QStringLiteral("32こんにちは、@3くん。"), QStringLiteral("40101"),
                     QStringLiteral("はい"), QStringLiteral("いいえ"), QStringLiteral("72010"),
                     QStringLiteral("34そうか。")});
    }
    test::writeRolePicture(folder, PictureRole::Character, QStringLiteral("2"), Qt::white);
    test::writeRolePicture(folder, PictureRole::Face, QStringLiteral("2"), Qt::white);
}

// Answers every wait of the main screen at once: Space, or the first choice.
void answerWaits(app::Session &session, int delayMs)
{
    QObject::connect(&session, &app::Session::mainWindowShown, &session,
                     [delayMs](app::MainWindow *w) {
                         QObject::connect(w, &app::MainWindow::waitStarted, w, [w, delayMs] {
                             QTimer::singleShot(delayMs, w, [w] {
                                 if (w->talkButton(1)->isVisible()) {
                                     w->talkButton(1)->click();
                                 } else {
                                     QKeyEvent press(QEvent::KeyPress, Qt::Key_Space,
                                                     Qt::NoModifier, QStringLiteral(" "));
                                     QApplication::sendEvent(w->stage(), &press);
                                 }
                             });
                         });
                     });
}

int childTitle()
{
    platform::MemoryStore store;
    app::Session session(store, QString());
    session.showTitle();
    QTimer::singleShot(0, [] {
        std::puts("shown");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

int childGame()
{
    QTemporaryDir dir;
    writeStory(dir.path());
    platform::QSettingsStore store(dir.filePath(QStringLiteral("vm2.ini")));
    app::Session session(store, dir.path());
    answerWaits(session, 0);
    session.game().newGame(QStringLiteral("桐原"), QStringLiteral("蒼真"),
                           QStringLiteral("ソウマ"));
    session.showMain();
    int moves = 0;
    std::function<void()> step = [&] {
        app::MainWindow *w = session.mainWindow();
        if (!w->hasStarted()) {
            QTimer::singleShot(0, step);
            return;
        }
        if (moves == kGameMoves / 2) {
            w->menuButtons()[0]->click(); // SAVE
            w->menuButtons()[1]->click(); // LOAD
        }
        if (moves++ == kGameMoves) {
            QCoreApplication::exit(0);
            return;
        }
        // The last visible place button: every place in turn.
        for (int i = 4; i >= 0; --i) {
            if (w->placeButton(i)->isVisible()) {
                w->placeButton(i)->click();
                break;
            }
        }
        QTimer::singleShot(0, step);
    };
    QTimer::singleShot(0, step);
    QApplication::exec();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

constexpr int kHugeMessageChars = 1 << 20;

int childMessage()
{
    QTemporaryDir dir;
    writeStory(dir.path());
    writeScript(dir.path(), QStringLiteral("ibent1-0.da2"),
                {QStringLiteral("34") + QString(kHugeMessageChars, u'長')});
    platform::MemoryStore store;
    app::Session session(store, dir.path());
    QElapsedTimer timer;
    QObject::connect(&session, &app::Session::mainWindowShown, &session, [&](app::MainWindow *w) {
        QObject::connect(w, &app::MainWindow::waitStarted, w, [&, w] {
            w->talkLabel()->grab(); // drawn as the screen would draw it
            std::printf("%f\n", double(timer.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            std::_Exit(0);
        });
    });
    timer.start();
    session.showMain();
    return QApplication::exec();
}

double hugeMessageMs(const QString &scale)
{
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-message")});
        if (!child.waitForFinished(300000) || child.exitCode() != 0)
            qFatal("the 1 MB message was not drawn");
        times.push_back(child.readAllStandardOutput().trimmed().toDouble());
    }
    return median(times);
}

double waitingLoad()
{
    QTemporaryDir dir;
    writeStory(dir.path());
    writeScript(dir.path(), QStringLiteral("ibent1-0.da2"),
                QStringList(kWaitSamples, QStringLiteral("34待っています")));
    platform::MemoryStore store;
    app::Session session(store, dir.path());
    std::vector<double> ratios;
    QObject::connect(&session, &app::Session::mainWindowShown, &session, [&](app::MainWindow *w) {
        QObject::connect(w, &app::MainWindow::waitStarted, w, [&, w] {
            // Measured from inside the wait's loop, once it has settled.
            QTimer::singleShot(0, w, [&, w] {
                const double cpu = cpuSeconds();
                QElapsedTimer wall;
                wall.start();
                QTimer::singleShot(kWaitMs, w, [&, w, cpu, wall] {
                    ratios.push_back((cpuSeconds() - cpu) / (double(wall.nsecsElapsed()) / 1e9));
                    w->Nextbox_Click();
                });
            });
        });
    });
    session.showMain();
    while (!session.mainWindow()->hasStarted())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return median(ratios);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QCoreApplication::arguments();
    if (args.contains(QStringLiteral("--child-title")))
        return childTitle();
    if (args.contains(QStringLiteral("--child-game")))
        return childGame();
    if (args.contains(QStringLiteral("--child-message")))
        return childMessage();

    std::vector<double> starts;
    for (int i = 0; i < kStartRuns; ++i) {
        QProcess child;
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-title")});
        if (!child.waitForReadyRead(30000))
            qFatal("the title screen did not show");
        starts.push_back(double(timer.nsecsElapsed()) / 1e6);
        child.waitForFinished();
    }
    vm2::bench::report("start to the title screen shown (offscreen)", median(starts), "ms");
    vm2::bench::report("CPU seconds per wall second while the main screen waits (target < 0.01)",
                       waitingLoad(), "s/s");

    std::vector<double> peaks;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-game")});
        if (!child.waitForFinished(120000) || child.exitCode() != 0)
            qFatal("the whole game did not finish");
        peaks.push_back(child.readAllStandardOutput().trimmed().toDouble() / 1024.0);
    }
    vm2::bench::report("peak memory of a whole game in the window (40 moves, SAVE, LOAD)",
                       median(peaks), "MiB");
    for (const char *scale : {"1", "2"})
        vm2::bench::report(
            QStringLiteral("a 1 MB message from the main screen's start to drawn, %1x "
                           "(target < 1000)")
                .arg(QLatin1String(scale))
                .toUtf8()
                .constData(),
            hugeMessageMs(QLatin1String(scale)), "ms");
    return 0;
}
