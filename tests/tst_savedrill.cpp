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
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

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

// Children that save at once: the kills cost the time of a few, not of all.
constexpr int kKills = 200;
constexpr int kAtOnce = 8;

void TestSaveDrill::killDuringSaves()
{
    // The kill moments come from this seed; VM2_TEST_SEED repeats a run.
    bool given = false;
    const quint32 fromEnvironment = qgetenv("VM2_TEST_SEED").toUInt(&given);
    const quint32 seed = given ? fromEnvironment : QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    const auto failure = [seed](int kill, const QString &what) {
        return QStringLiteral("kill %1: %2 (seed %3: rerun with VM2_TEST_SEED=%3)")
            .arg(kill)
            .arg(what)
            .arg(seed);
    };

    // Every child saves into a store of its own, which holds game 0 to begin with: a
    // lock file that a kill leaves behind would make the next child wait for it.
    QTemporaryDir dir;
    const auto storeFor = [&dir](int kill) {
        const QString path = dir.filePath(QStringLiteral("store%1.ini").arg(kill));
        platform::QSettingsStore store(path);
        save::SaveGame(game(0), store);
        return path;
    };
    int seen[2] = {0, 0};
    for (int first = 0; first < kKills; first += kAtOnce) {
        const int count = std::min(kAtOnce, kKills - first);
        // Each child is killed wherever it is as soon as it has finished its number of
        // saves, so that no child saves on while the others start.
        std::vector<std::unique_ptr<QProcess>> children;
        QStringList paths;
        std::vector<int> wanted, done(static_cast<std::size_t>(count), 0);
        int running = count;
        for (int i = 0; i < count; ++i) {
            wanted.push_back(random.bounded(1, 4));
            children.push_back(std::make_unique<QProcess>());
            QProcess *child = children.back().get();
            const auto n = static_cast<std::size_t>(i);
            connect(child, &QProcess::readyReadStandardOutput, this, [&, child, n] {
                done[n] += static_cast<int>(child->readAllStandardOutput().size());
                if (done[n] >= wanted[n])
                    child->kill();
            });
            connect(child, &QProcess::finished, this, [&running] { --running; });
            paths.push_back(storeFor(first + i));
            child->start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--save-loop"), paths.back()});
            QVERIFY2(child->waitForStarted(), qPrintable(failure(first + i, child->errorString())));
        }
        QTRY_VERIFY_WITH_TIMEOUT(running == 0, 120000);
        for (int i = 0; i < count; ++i) {
            const auto n = static_cast<std::size_t>(i);
            QVERIFY2(done[n] >= wanted[n],
                     qPrintable(failure(first + i,
                                        QString::fromLatin1(children[n]->readAllStandardError()))));
        }
        for (int i = 0; i < count; ++i) {
            platform::QSettingsStore store(paths[i]);
            engine::GameState loaded;
            save::LoadGame(loaded, store);
            const int k = which(loaded);
            QVERIFY2(k >= 0, qPrintable(failure(first + i, QStringLiteral("left a mixed store"))));
            ++seen[k];
        }
    }
    // Both games were caught on disk at some kill.
    QVERIFY2(seen[0] > 0 && seen[1] > 0,
             qPrintable(QStringLiteral("only one game was caught (seed %1)").arg(seed)));
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
