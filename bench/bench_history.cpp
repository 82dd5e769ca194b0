// Benchmarks of the message history and the read record, on the offscreen platform:
//   history open  opening the history over the main screen, full (300 messages)
//   record write  one newly read message written to a record of a whole story
//   record load   reading that record at start-up
//   skip          wall time per read message while Ctrl is held
#include "benchutil.h"
#include "historyview.h"
#include "mainwindow.h"
#include "messagehistory.h"
#include "platform/readrecord.h"
#include "platform/scriptchannel.h"
#include "platform/settingsstore.h"
#include "readingaids.h"
#include "readskip.h"
#include "session.h"
#include "stageview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

using namespace vm2;

namespace {

constexpr int kSkipped = 40;

void writeScript(const QString &folder, const QString &name, const QStringList &lines)
{
    QDir(folder).mkpath(QStringLiteral("dat1"));
    QDir(folder).mkpath(QStringLiteral("dat2"));
    QFile f(folder + QStringLiteral("/dat2/") + name);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(f.fileName()));
    for (const QString &line : lines)
        f.write(platform::encodeCp932(line) + "\r\n");
}

void key(QWidget *widget, QEvent::Type type, int key)
{
    QKeyEvent event(type, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Opens the history at the main screen's one wait, `runs` times, over `count`
// messages of `length` characters.
void historyOpen(const char *name, int count, int length)
{
    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i < count; ++i)
        lines << QStringLiteral("E2") + QString(length, u'あ');
    lines << QStringLiteral("34") + QString(length, u'い');
    writeScript(dir.path(), QStringLiteral("ibent1-0.da2"), lines);
    platform::MemoryStore store;
    app::Session session(store, dir.path());
    QObject::connect(&session, &app::Session::mainWindowShown, &session, [&](app::MainWindow *w) {
        QObject::connect(w, &app::MainWindow::waitStarted, w, [w, name] {
            QTimer::singleShot(0, w, [w, name] {
                app::ReadingAids *aids = w->readingAids();
                bench::measure(name, 21, [aids] {
                    aids->openHistory();
                    aids->historyView()->list()->viewport()->grab(); // laid out and painted
                    aids->closeHistory();
                });
                key(w->stage(), QEvent::KeyPress, Qt::Key_Space);
            });
        });
    });
    session.showMain();
    while (!session.mainWindow()->hasStarted())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A record of every message line of a story of 60 scripts of 60 lines.
void record()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    {
        platform::ReadRecord full;
        for (int s = 0; s < 60; ++s)
            for (int line = 1; line <= 60; ++line)
                full.markRead(QStringLiteral("dat2/ibent%1-%2.da2").arg(s / 10).arg(s % 10), line);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(full.serialize()) < 0)
            qFatal("cannot write the record");
    }
    platform::ReadRecord record(path);
    int line = 100;
    bench::measure("read record: write one new line (3,600 recorded)", 51,
                   [&] { record.markRead(QStringLiteral("dat2/ibent1-0.da2"), ++line); });
    bench::measure("read record: load (3,600 recorded)", 51,
                   [&] { platform::ReadRecord again(path); });
}

void skip()
{
    QTemporaryDir dir;
    writeScript(dir.path(), QStringLiteral("ibent1-0.da2"),
                QStringList(kSkipped + 1, QStringLiteral("34既読")));
    platform::MemoryStore store;
    platform::ReadRecord record;
    for (int line = 1; line <= kSkipped; ++line)
        record.markRead(QStringLiteral("dat2/ibent1-0.da2"), line);
    app::Session session(store, dir.path());
    session.setReadRecord(record);
    QElapsedTimer clock;
    int waits = 0;
    QObject::connect(&session, &app::Session::mainWindowShown, &session, [&](app::MainWindow *w) {
        QObject::connect(w, &app::MainWindow::waitStarted, w, [&, w] {
            if (++waits == 1) {
                clock.start();
                QTimer::singleShot(0, w,
                                   [w] { key(w->stage(), QEvent::KeyPress, Qt::Key_Control); });
            } else if (waits == kSkipped + 1) {
                bench::report("skip: wall time per read message",
                              double(clock.elapsed()) / kSkipped, "ms");
                QTimer::singleShot(0, w, [w] {
                    key(w->stage(), QEvent::KeyRelease, Qt::Key_Control);
                    key(w->stage(), QEvent::KeyPress, Qt::Key_Space);
                });
            }
        });
    });
    session.showMain();
    while (!session.mainWindow()->hasStarted())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    historyOpen("history open: 300 messages of 40 characters", 300, 40);
    historyOpen("history open: 300 messages of 2,000 characters", 300, 2000);
    record();
    skip();
    return 0;
}
