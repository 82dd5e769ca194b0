#include "platform/readrecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using vm2::platform::ReadRecord;

namespace {

const QString kHome = QStringLiteral("dat2/ibent1-0.da2");
const QString kHill = QStringLiteral("dat2/ibent3-0.da2");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestReadRecord : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void inMemory();
    void survivesRestart();
    void fileFormat();
    void missingFileIsNothingRead();
    void damagedFileIsNothingRead_data();
    void damagedFileIsNothingRead();
    void damagedFileIsMovedAside();
    void unreadableFileIsNeverReplaced_data();
    void unreadableFileIsNeverReplaced();
    void anyNameSurvives();
    void keyPrefix();
    void writeReplacesWhole();
    void unwritableFolderKeepsSession();
    void pathBesideStore();
};

void TestReadRecord::inMemory()
{
    ReadRecord record;
    QVERIFY(!record.isRead(kHome, 2));
    QVERIFY(record.markRead(kHome, 2));
    QVERIFY(record.isRead(kHome, 2));
    QVERIFY(!record.isRead(kHome, 3));
    QVERIFY(!record.isRead(kHill, 2));
    QVERIFY(record.markRead(kHome, 2));
    QCOMPARE(record.size(), 1);
    // Between runs there is no script: nothing to record.
    QVERIFY(record.markRead(QString(), 4));
    QVERIFY(record.markRead(kHome, 0));
    QCOMPARE(record.size(), 1);
}

void TestReadRecord::survivesRestart()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    {
        ReadRecord record(path);
        QVERIFY(!record.wasDamaged());
        QCOMPARE(record.size(), 0);
        QVERIFY(record.markRead(kHome, 2));
        QVERIFY(record.markRead(kHome, 10));
        QVERIFY(record.markRead(kHill, 1));
        QVERIFY(QFile::exists(path));
    }
    ReadRecord again(path);
    QVERIFY(!again.wasDamaged());
    QCOMPARE(again.size(), 3);
    QVERIFY(again.isRead(kHome, 2));
    QVERIFY(again.isRead(kHome, 10));
    QVERIFY(again.isRead(kHill, 1));
    QVERIFY(!again.isRead(kHill, 2));
}

void TestReadRecord::fileFormat()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.txt"));
    ReadRecord record(path);
    record.markRead(kHill, 12);
    record.markRead(kHome, 10);
    record.markRead(kHome, 2);
    // Scripts in name order, lines in ascending order: the same record is the same file.
    QCOMPARE(readFile(path), QByteArray("VM2 read record 1\n"
                                        "dat2/ibent1-0.da2\t2,10\n"
                                        "dat2/ibent3-0.da2\t12\n"
                                        "end\n"));
}

void TestReadRecord::missingFileIsNothingRead()
{
    QTemporaryDir dir;
    ReadRecord record(dir.filePath(QStringLiteral("none/VM2-read.txt")));
    QVERIFY(!record.wasDamaged());
    QCOMPARE(record.size(), 0);
    // The folder is made with the first write.
    QVERIFY(record.markRead(kHome, 2));
    QVERIFY(ReadRecord(record.path()).isRead(kHome, 2));
}

void TestReadRecord::damagedFileIsNothingRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = "VM2 read record 1\ndat2/ibent1-0.da2\t2,3\nend\n";
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cut before the end line") << good.left(good.indexOf("end"));
    QTest::newRow("cut inside a line") << good.left(30);
    QTest::newRow("no final line end") << good.chopped(1);
    QTest::newRow("other header") << QByteArray(good).replace("record 1", "record 2");
    QTest::newRow("no tab") << QByteArray("VM2 read record 1\ndat2/ibent1-0.da2 2\nend\n");
    QTest::newRow("no name") << QByteArray("VM2 read record 1\n\t2\nend\n");
    QTest::newRow("letter") << QByteArray(good).replace("2,3", "2,x");
    QTest::newRow("empty number") << QByteArray(good).replace("2,3", "2,,3");
    QTest::newRow("zero") << QByteArray(good).replace("2,3", "0,3");
    QTest::newRow("negative") << QByteArray(good).replace("2,3", "-2,3");
    QTest::newRow("leading zero") << QByteArray(good).replace("2,3", "02,3");
    QTest::newRow("plus") << QByteArray(good).replace("2,3", "+2,3");
    QTest::newRow("too big") << QByteArray(good).replace("2,3", "99999999999");
    QTest::newRow("script twice") << QByteArray("VM2 read record 1\na\t1\na\t2\nend\n");
    QTest::newRow("not UTF-8") << QByteArray("VM2 read record 1\n\xff\xfe\t1\nend\n");
    QTest::newRow("CR LF") << QByteArray(good).replace("\n", "\r\n");
    QByteArray binary(256, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i);
    QTest::newRow("binary") << binary;
}

void TestReadRecord::damagedFileIsNothingRead()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    writeFile(path, bytes);
    ReadRecord record(path);
    QVERIFY(record.wasDamaged());
    QCOMPARE(record.size(), 0);
    QVERIFY(!record.isRead(kHome, 2));
    QVERIFY(!record.isRead(kHome, 3));
}

void TestReadRecord::damagedFileIsMovedAside()
{
    // A record that cannot be read may still hold every story's read lines: it is
    // kept beside the new one, never wiped.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    writeFile(path, "garbage");
    ReadRecord record(path);
    QVERIFY(record.wasDamaged());
    QVERIFY(record.markRead(kHill, 4));
    QCOMPARE(readFile(path + QStringLiteral(".damaged")), QByteArray("garbage"));
    ReadRecord again(path);
    QVERIFY(!again.wasDamaged());
    QCOMPARE(again.size(), 1);
    QVERIFY(again.isRead(kHill, 4));

    // With a damaged file already aside, the next one stays where it is.
    writeFile(path, "more garbage");
    ReadRecord third(path);
    QVERIFY(third.wasDamaged());
    QVERIFY(!third.markRead(kHome, 1));
    QVERIFY(third.isRead(kHome, 1));
    QCOMPARE(readFile(path), QByteArray("more garbage"));
    QCOMPARE(readFile(path + QStringLiteral(".damaged")), QByteArray("garbage"));
}

void TestReadRecord::unreadableFileIsNeverReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("folder") << "folder";
}

void TestReadRecord::unreadableFileIsNeverReplaced()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else
        QVERIFY(QDir().mkpath(path));
    // Neither waits for a writer nor reads without end.
    ReadRecord record(path);
    QVERIFY(record.wasDamaged());
    QVERIFY(!record.isKeptInFile());
    QCOMPARE(record.size(), 0);
    QVERIFY(!record.markRead(kHome, 2));
    QVERIFY(record.isRead(kHome, 2));
    const QFileInfo after(path);
    QCOMPARE(after.isSymLink(), kind == QLatin1String("zero"));
    QCOMPARE(after.isDir(), kind == QLatin1String("folder"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("VM2-read.txt")});
}

void TestReadRecord::anyNameSurvives()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    const QStringList names = {QStringLiteral("/a\nstory/dat2/x.da2"),
                               QStringLiteral("line\nbreak"),
                               QStringLiteral("tab\there"),
                               QStringLiteral("back\\slash\\n"),
                               QStringLiteral("cr\rhere"),
                               QStringLiteral("物語/dat2/ibent1-0.da2")};
    {
        ReadRecord record(path);
        for (const QString &name : names)
            QVERIFY(record.markRead(name, 3));
    }
    ReadRecord again(path);
    QVERIFY(!again.wasDamaged());
    QCOMPARE(again.size(), names.size());
    for (const QString &name : names)
        QVERIFY2(again.isRead(name, 3), qPrintable(name));
    QVERIFY(!again.isRead(QStringLiteral("back\\slash\n"), 3));
    // One line per script, whatever its name holds.
    QCOMPARE(readFile(path).count('\n'), names.size() + 2);
}

void TestReadRecord::keyPrefix()
{
    // The installed story's lines stay under its folder, as they always were.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    ReadRecord(path, QStringLiteral("/opt/story/")).markRead(kHome, 2);
    QCOMPARE(readFile(path),
             QByteArray("VM2 read record 1\n/opt/story/dat2/ibent1-0.da2\t2\nend\n"));
    QVERIFY(ReadRecord(path, QStringLiteral("/opt/story/")).isRead(kHome, 2));
    QVERIFY(!ReadRecord(path, QStringLiteral("/opt/other/")).isRead(kHome, 2));
}

void TestReadRecord::writeReplacesWhole()
{
    // A write goes to a new file that replaces the old one: no stray file stays
    // beside it, and the record is whole after every write.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    ReadRecord record(path);
    for (int line = 1; line <= 50; ++line) {
        QVERIFY(record.markRead(kHome, line));
        QHash<QString, QSet<int>> lines;
        QVERIFY(ReadRecord::parse(readFile(path), lines));
        QCOMPARE(lines.value(kHome).size(), line);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("VM2-read.txt")});
}

void TestReadRecord::unwritableFolderKeepsSession()
{
    QTemporaryDir dir;
    // A plain file where the folder should be: the record cannot be written.
    writeFile(dir.filePath(QStringLiteral("blocked")), "x");
    ReadRecord record(dir.filePath(QStringLiteral("blocked/VM2-read.txt")));
    QVERIFY(!record.wasDamaged());
    QVERIFY(!record.markRead(kHome, 2));
    QVERIFY(record.isRead(kHome, 2));
}

void TestReadRecord::pathBesideStore()
{
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("conf/VM2.conf"));
    QCOMPARE(ReadRecord::pathBeside(store), dir.filePath(QStringLiteral("conf/VM2-read.txt")));
}

QTEST_GUILESS_MAIN(TestReadRecord)
#include "tst_readrecord.moc"
