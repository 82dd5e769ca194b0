#include "platform/readrecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
    void damagedFileIsReplaced();
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

void TestReadRecord::damagedFileIsReplaced()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VM2-read.txt"));
    writeFile(path, "garbage");
    ReadRecord record(path);
    QVERIFY(record.wasDamaged());
    QVERIFY(record.markRead(kHill, 4));
    ReadRecord again(path);
    QVERIFY(!again.wasDamaged());
    QCOMPARE(again.size(), 1);
    QVERIFY(again.isRead(kHill, 4));
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
