// Fault drill: a process that saves in a loop is killed (SIGKILL) at many moments;
// the store must always load as one of the two games it saves, never a mix.
#include "engine/gamestate.h"
#include "platform/settingsstore.h"
#include "save/savedgame.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace vm2;

namespace {

// Game k (0 or 1): every saved value depends on k, so a mix of the two shows.
engine::GameState game(int k)
{
    engine::GameState s;
    s.PName(1) = k ? QStringLiteral("新しい姓") : QStringLiteral("古い姓");
    s.PName(2) = k ? QStringLiteral("新") : QStringLiteral("古");
    s.PName(3) = k ? QStringLiteral("ニュー") : QStringLiteral("オールド");
    for (int i = 2; i <= 5; ++i)
        s.Loveval(i) = static_cast<std::int16_t>(k ? -100 * i : 10 * i);
    for (int i = 1; i <= 10; ++i)
        s.Ibentcnt(i) = static_cast<std::int16_t>(k ? 1000 + i : i);
    for (int i = 1; i <= 9; ++i)
        s.Ibentflag(i) = static_cast<std::int16_t>(k ? 9 - i : i);
    return s;
}

// Which game the state is, or -1 for neither.
int which(const engine::GameState &s)
{
    for (int k = 0; k <= 1; ++k) {
        const engine::GameState g = game(k);
        bool same = true;
        for (int i = 1; i <= 3; ++i)
            same &= s.PName(i) == g.PName(i);
        for (int i = 2; i <= 5; ++i)
            same &= s.Loveval(i) == g.Loveval(i);
        for (int i = 1; i <= 10; ++i)
            same &= s.Ibentcnt(i) == g.Ibentcnt(i);
        for (int i = 1; i <= 9; ++i)
            same &= s.Ibentflag(i) == g.Ibentflag(i);
        if (same)
            return k;
    }
    return -1;
}

// The child: saves the two games in turn, forever, saying "." after each save.
int saveLoop(const QString &path)
{
    platform::QSettingsStore store(path);
    for (int k = 0;; k ^= 1) {
        save::SaveGame(game(k), store);
        std::fputs(".", stdout);
        std::fflush(stdout);
    }
}

} // namespace

class TestSaveDrill : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killDuringSaves();
};

void TestSaveDrill::killDuringSaves()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("store.ini"));
    {
        platform::QSettingsStore store(path);
        save::SaveGame(game(0), store);
    }
    auto *random = QRandomGenerator::global();
    int seen[2] = {0, 0};
    for (int kill = 0; kill < 200; ++kill) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-loop"), path});
        QVERIFY(child.waitForStarted());
        // Let it finish a random number of saves, then kill it wherever it is.
        const int saves = random->bounded(1, 4);
        QByteArray done;
        while (done.size() < saves && child.waitForReadyRead(60000))
            done += child.readAllStandardOutput();
        QVERIFY2(done.size() >= saves,
                 qPrintable(QStringLiteral("kill %1: %2")
                                .arg(kill)
                                .arg(QString::fromLatin1(child.readAllStandardError()))));
        child.kill();
        QVERIFY(child.waitForFinished());

        platform::QSettingsStore store(path);
        engine::GameState loaded;
        save::LoadGame(loaded, store);
        const int k = which(loaded);
        QVERIFY2(k >= 0, qPrintable(QStringLiteral("kill %1 left a mixed store").arg(kill)));
        ++seen[k];
    }
    // Both games were caught on disk at some kill.
    QVERIFY(seen[0] > 0 && seen[1] > 0);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--save-loop")
        return saveLoop(QString::fromLocal8Bit(argv[2]));
    TestSaveDrill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savedrill.moc"
