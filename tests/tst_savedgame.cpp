// The saved game in the settings store: keys, round trips, defaults, hand-edited
// values and interrupted saves. Every store here lies in a temporary folder.
#include "engine/gamestate.h"
#include "platform/settingsstore.h"
#include "save/savedgame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vm2;

class TestSavedGame : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void roundTrip();
    void keysAndFormat();
    void defaults();
    void storedNumbers_data();
    void storedNumbers();
    void garbageFile();
    void endingMarkers_data();
    void endingMarkers();
    void interruptedSaveKeepsOldValues();
    void unwritableStoreReportsFailure();
    void unfitFileIsLeftAlone_data();
    void unfitFileIsLeftAlone();
    void nativeStoreIsQtsOwn();

private:
    QString storePath() { return m_dir.filePath(QStringLiteral("store-%1.ini").arg(++m_n)); }
    QTemporaryDir m_dir;
    int m_n = 0;
};

namespace {
engine::GameState sample()
{
    engine::GameState s;
    s.PName(1) = QStringLiteral("桐原");
    s.PName(2) = QStringLiteral(" ");
    s.PName(3) = QStringLiteral("=;,\"[x]\\ \u3000");
    s.Loveval(2) = -3;
    s.Loveval(5) = 32767;
    s.Ibentcnt(0) = 7;
    s.Ibentcnt(10) = 4;
    s.Ibentcnt(8) = -32768;
    s.Ibentflag(9) = 5;
    s.PlaceCode = QStringLiteral("A");
    return s;
}
} // namespace

void TestSavedGame::initTestCase()
{
    // The native store of these tests is no player's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
}

void TestSavedGame::roundTrip()
{
    const QString path = storePath();
    {
        platform::QSettingsStore store(path);
        QVERIFY(save::SaveGame(sample(), store));
    }
    platform::QSettingsStore store(path);
    engine::GameState loaded;
    loaded.Ibentcnt(0) = 1;
    save::LoadGame(loaded, store);
    const engine::GameState want = sample();
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(loaded.PName(i), want.PName(i));
    for (int i = 2; i <= 5; ++i)
        QCOMPARE(loaded.Loveval(i), want.Loveval(i));
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(loaded.Ibentcnt(i), want.Ibentcnt(i));
    for (int i = 1; i <= 9; ++i)
        QCOMPARE(loaded.Ibentflag(i), want.Ibentflag(i));
    QCOMPARE(loaded.Ibentcnt(0), std::int16_t(1)); // counter 0 is not saved
    QCOMPARE(loaded.PlaceCode, QString());         // nor is the place
}

void TestSavedGame::keysAndFormat()
{
    platform::MemoryStore store;
    save::SaveGame(sample(), store);
    const auto &v = store.values();
    QCOMPARE(v.size(), 3 + 4 + 10 + 9);
    QCOMPARE(v.value(QStringLiteral("Loveval2")), QStringLiteral("-3"));
    QCOMPARE(v.value(QStringLiteral("Ibentcnt10")), QStringLiteral("4"));
    QCOMPARE(v.value(QStringLiteral("Ibentcnt8")), QStringLiteral("-32768"));
    QCOMPARE(v.value(QStringLiteral("Ibentflag1")), QStringLiteral("0"));
    QVERIFY(!v.contains(QStringLiteral("Ibentcnt0")));
    QVERIFY(!v.contains(QStringLiteral("Ibentcnt01")));
}

void TestSavedGame::defaults()
{
    platform::MemoryStore store;
    store.setValue(QStringLiteral("PName1"), QStringLiteral("山田"));
    store.setValue(QStringLiteral("PName3"), QStringLiteral("ヤマ"));
    engine::GameState s = sample();
    save::LoadGame(s, store);
    QCOMPARE(s.PName(1), QStringLiteral("山田"));
    QCOMPARE(s.PName(2), QStringLiteral("蒼真"));
    QCOMPARE(s.PName(3), QStringLiteral("ヤマ"));
    QCOMPARE(s.Loveval(2), std::int16_t(0));
    QCOMPARE(s.Ibentcnt(10), std::int16_t(0));

    // A store that does not exist at all reads as the defaults.
    platform::QSettingsStore none(m_dir.filePath(QStringLiteral("absent/store.ini")));
    save::LoadGame(s, none);
    QCOMPARE(s.PName(1), QStringLiteral("桐原"));
    QCOMPARE(s.PName(3), QStringLiteral("ソウマ"));
}

void TestSavedGame::storedNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "12" << 12;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("limits") << "-32768" << -32768;
    QTest::newRow("max") << "32767" << 32767;
    QTest::newRow("too large") << "32768" << 0;
    QTest::newRow("plus sign") << "+5" << 0;
    QTest::newRow("blank") << " 5" << 0;
    QTest::newRow("fraction") << "1.5" << 0;
    QTest::newRow("hex") << "0x10" << 0;
    QTest::newRow("leading zero") << "007" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("words") << "lots" << 0;
    QTest::newRow("fullwidth digits") << "１２" << 0;
}

void TestSavedGame::storedNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(save::readStoredNumber(text)), value);
}

void TestSavedGame::garbageFile()
{
    const QString path = storePath();
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x00\xFF[setting\nLoveval2=\x01\x02\nIbentcnt3=2\n[", 30));
    f.close();
    platform::QSettingsStore store(path);
    engine::GameState s;
    save::LoadGame(s, store);
    QCOMPARE(s.Loveval(2), std::int16_t(0));
}

void TestSavedGame::endingMarkers_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("seen");
    QTest::newRow("none") << QStringList{} << false;
    QTest::newRow("three of four") << QStringList{"1", "1", "1"} << false;
    QTest::newRow("all four") << QStringList{"1", "1", "1", "1"} << true;
    QTest::newRow("a 2") << QStringList{"1", "2", "1", "1"} << false;
    QTest::newRow("text") << QStringList{"1", "yes", "1", "1"} << false;
}

void TestSavedGame::endingMarkers()
{
    QFETCH(QStringList, values);
    QFETCH(bool, seen);
    platform::MemoryStore store;
    for (int i = 0; i < values.size(); ++i)
        store.setValue(QStringLiteral("Endcnt%1").arg(i + 2), values.at(i));
    QCOMPARE(save::allEndingsSeen(store), seen);
}

void TestSavedGame::interruptedSaveKeepsOldValues()
{
    const QString path = storePath();
    {
        platform::QSettingsStore store(path);
        QVERIFY(save::SaveGame(sample(), store));
    }
    // A process that dies half way through a save, before the store is synced.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        platform::QSettingsStore store(path);
        store.setValue(QStringLiteral("PName1"), QStringLiteral("新しい"));
        store.setValue(QStringLiteral("Loveval2"), QStringLiteral("99"));
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    platform::QSettingsStore store(path);
    engine::GameState s;
    save::LoadGame(s, store);
    QCOMPARE(s.PName(1), QStringLiteral("桐原"));
    QCOMPARE(s.Loveval(2), std::int16_t(-3));
    // The store is replaced whole: no half-written file is left beside it.
    QCOMPARE(QDir(m_dir.path())
                 .entryList({QStringLiteral("*.ini*")}, QDir::Files)
                 .filter(QFileInfo(path).fileName())
                 .size(),
             1);
}

void TestSavedGame::unwritableStoreReportsFailure()
{
    // A store inside a plain file's "folder" can never be written.
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    platform::QSettingsStore store(blocker + QStringLiteral("/store.ini"));
    QVERIFY(!save::SaveGame(sample(), store));
    QVERIFY(store.errorString().contains(QStringLiteral("could not be written")));
    // What was not written is not read back either: LOAD gives what the file holds.
    engine::GameState s;
    save::LoadGame(s, store);
    QCOMPARE(s.Loveval(2), std::int16_t(0));
    QCOMPARE(s.PName(3), QStringLiteral("ソウマ"));
    // Once the folder can be made, the next save is written.
    QVERIFY(QFile::remove(blocker));
    QVERIFY(QDir().mkpath(blocker));
    QVERIFY(save::SaveGame(sample(), store));
    save::LoadGame(s, platform::QSettingsStore(blocker + QStringLiteral("/store.ini")));
    QCOMPARE(s.Loveval(2), std::int16_t(-3));
}

void TestSavedGame::unfitFileIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::newRow("FIFO") << "fifo"
                          << "is not a regular file";
    QTest::newRow("link to /dev/zero") << "zero"
                                       << "is not a regular file";
    QTest::newRow("over 64 MB") << "large"
                                << "is too large";
    // QSettings would drop the line (or move the keys after it into another section)
    // when it rewrote the file.
    QTest::newRow("malformed line") << "malformed"
                                    << "holds a line that is no setting";
}

void TestSavedGame::unfitFileIsLeftAlone()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    const QString path = storePath();
    const QByteArray malformed = "[setting]\nPName1=A\nno equals sign\nLoveval2=3\n";
    if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("zero")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("large")) {
            f.write("[setting]\nPName1=A\n");
            QVERIFY(f.resize(65 * 1024 * 1024)); // sparse: no disk taken
        } else {
            f.write(malformed);
        }
    }
    const QFileInfo before(path);
    platform::QSettingsStore store(path); // would block on a FIFO, were it opened
    QVERIFY(store.isDamaged());
    engine::GameState s;
    save::LoadGame(s, store);
    QCOMPARE(s.PName(1),
             kind == QLatin1String("malformed") ? QStringLiteral("A") : QStringLiteral("桐原"));
    QVERIFY(!save::SaveGame(sample(), store));
    QVERIFY2(store.errorString().contains(error), qPrintable(store.errorString()));
    QVERIFY(store.errorString().contains(path));
    // Nor does the ending marker get in.
    store.setValue(QStringLiteral("Endcnt2"), QStringLiteral("1"));
    QVERIFY(!store.sync());
    QCOMPARE(store.value(QStringLiteral("Endcnt2"), QStringLiteral("0")), QStringLiteral("0"));

    const QFileInfo after(path);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.size(), before.size());
    if (kind == QLatin1String("malformed")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), malformed);
    }
    QCOMPARE(QDir(m_dir.path())
                 .entryList({QFileInfo(path).fileName() + u'*'}, QDir::AllEntries | QDir::System)
                 .size(),
             1);
}

void TestSavedGame::nativeStoreIsQtsOwn()
{
    // The installed story's store is where QSettings keeps application "VM2", so a
    // saved game from before stays found.
    const QString native = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("VM2"), QStringLiteral("VM2"))
                               .fileName();
    const QString ours = platform::QSettingsStore().location();
    QCOMPARE(ours, native);
    QCOMPARE(ours, m_dir.filePath(QStringLiteral("config/VM2/VM2.conf")));
}

QTEST_GUILESS_MAIN(TestSavedGame)
#include "tst_savedgame.moc"
