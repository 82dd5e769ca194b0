#include "platform/filesource.h"
#include "platform/scriptchannel.h"
#include "platform/scripterror.h"

#include <QTemporaryDir>
#include <QTest>

using vm2::platform::Fault;
using vm2::platform::ScriptCache;
using vm2::platform::ScriptChannel;
using vm2::platform::ScriptError;

class TestScriptChannel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lines_data();
    void lines();
    void cp932_data();
    void cp932();
    void chunkBoundaries();
    void longLine();
    void readPastEnd();
    void missingFile();
    void reopenClosesPrevious();
    void reopenAfterLongLine();
    void memorySource();
    void cacheReadsChangedFile();

private:
    QString write(const QByteArray &bytes);
    QStringList readAll(const QString &path, ScriptCache *cache = nullptr);
    QTemporaryDir m_dir;
    int m_files = 0;
};

QString TestScriptChannel::write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QString::number(++m_files));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
    return path;
}

QStringList TestScriptChannel::readAll(const QString &path, ScriptCache *cache)
{
    ScriptChannel channel;
    channel.open(path, QStringLiteral("test"), cache);
    QStringList got;
    while (!channel.atEnd())
        got << channel.readLine();
    return got;
}

void TestScriptChannel::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
    QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBF"
                                                           "31a\r\n")
                                             << QStringList{"31a"};
    QTest::newRow("nul bytes stay in the line") << QByteArray("3\0"
                                                              "1\r\n",
                                                              5)
                                                << QStringList{QString::fromLatin1("3\0"
                                                                                   "1",
                                                                                   3)};
    QTest::newRow("trailing blanks kept") << QByteArray("1 \r\n") << QStringList{"1 "};
}

void TestScriptChannel::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    const QString path = write(bytes);
    QCOMPARE(readAll(path), expected);
    // Kept lines read the same, when first read and when reused.
    ScriptCache cache;
    QCOMPARE(readAll(path, &cache), expected);
    QCOMPARE(readAll(path, &cache), expected);
}

void TestScriptChannel::cp932_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("valid");
    // ソ ends in 0x5C: the byte belongs to the character, it is no backslash.
    QTest::newRow("so with 5C trail") << QByteArray("\x83\x5C"
                                                    "1")
                                      << QStringLiteral("ソ1") << true;
    QTest::newRow("8160 is fullwidth tilde")
        << QByteArray("\x81\x60") << QStringLiteral("\uFF5E") << true;
    QTest::newRow("ascii backslash and tilde")
        << QByteArray("\\~") << QStringLiteral("\\~") << true;
    QTest::newRow("nec circled digit")
        << QByteArray("\x87\x40") << QStringLiteral("\u2460") << true;
    QTest::newRow("halfwidth katakana") << QByteArray("\xB1") << QStringLiteral("\uFF71") << true;
    QTest::newRow("lone lead byte") << QByteArray("a\x83") << QStringLiteral("a\u001A") << false;
    QTest::newRow("undefined byte") << QByteArray("\xA0") << QStringLiteral("\u001A") << false;
    QTest::newRow("unmapped pair") << QByteArray("\x85\x40x") << QStringLiteral("\uFFFDx") << false;
}

void TestScriptChannel::cp932()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(bool, valid);
    const QString path = write(bytes + "\r\n\x83\x5Cnext");
    ScriptCache cache;
    // Read from the file, then into the cache, then from the cache.
    for (ScriptCache *from : {static_cast<ScriptCache *>(nullptr), &cache, &cache}) {
        ScriptChannel channel;
        channel.open(path, QStringLiteral("test"), from);
        QCOMPARE(channel.readLine(), expected);
        QCOMPARE(channel.lastLineValid(), valid);
        // A broken character never swallows the line end or the next line, and the
        // next line is judged on its own.
        QCOMPARE(channel.readLine(), QStringLiteral("ソnext"));
        QVERIFY(channel.lastLineValid());
        QCOMPARE(channel.lineNumber(), 2);
        QVERIFY(channel.atEnd());
    }
}

void TestScriptChannel::chunkBoundaries()
{
    // Lines end exactly around the channel's 64 KiB read size, with CR LF split
    // across two reads and double-byte characters on both sides.
    for (int pad : {65533, 65534, 65535, 65536}) {
        QByteArray bytes(pad, 'x');
        bytes += "\r\n\x83\x5C\r\nlast";
        const QStringList got = readAll(write(bytes));
        QCOMPARE(got.size(), 3);
        QCOMPARE(got.at(0).size(), pad);
        QCOMPARE(got.at(1), QStringLiteral("ソ"));
        QCOMPARE(got.at(2), QStringLiteral("last"));
    }
}

void TestScriptChannel::longLine()
{
    QByteArray line(10 * 1024 * 1024, 'a');
    line[0] = '3';
    line[1] = '4';
    const QStringList got = readAll(write(line + "\r\n31b"));
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(0).size(), line.size());
    QCOMPARE(got.at(1), QStringLiteral("31b"));
}

void TestScriptChannel::readPastEnd()
{
    ScriptChannel channel;
    channel.open(write("only\r\n"), QStringLiteral("dat2/x.da2"));
    QCOMPARE(channel.readLine(), QStringLiteral("only"));
    QVERIFY(channel.atEnd());
    try {
        channel.readLine();
        QFAIL("reading past the end must fail");
    } catch (const ScriptError &e) {
        QCOMPARE(e.fault(), Fault::InputPastEnd);
    }
}

void TestScriptChannel::missingFile()
{
    ScriptChannel channel;
    try {
        channel.open(m_dir.filePath(QStringLiteral("absent")), QStringLiteral("dat2/absent.da2"));
        QFAIL("opening a missing file must fail");
    } catch (const ScriptError &e) {
        QCOMPARE(e.fault(), Fault::FileNotFound);
        QCOMPARE(e.message(), QStringLiteral("File not found: dat2/absent.da2"));
    }
    QVERIFY(channel.atEnd());
}

void TestScriptChannel::reopenClosesPrevious()
{
    ScriptChannel channel;
    channel.open(write("a\r\nb\r\n"), QStringLiteral("first"));
    QCOMPARE(channel.readLine(), QStringLiteral("a"));
    channel.open(write("c\r\n"), QStringLiteral("second"));
    QCOMPARE(channel.lineNumber(), 0);
    QCOMPARE(channel.readLine(), QStringLiteral("c"));
    QVERIFY(channel.atEnd());
}

void TestScriptChannel::reopenAfterLongLine()
{
    // The read buffer is kept or dropped between scripts; either way nothing of the
    // previous script shows.
    ScriptChannel channel;
    for (int size : {10, 70000, 300000}) {
        channel.open(write(QByteArray(size, 'y') + "\r\nrest"), QStringLiteral("long"));
        QCOMPARE(channel.readLine().size(), size);
        channel.open(write("z\n"), QStringLiteral("short"));
        QCOMPARE(channel.readLine(), QStringLiteral("z"));
        QVERIFY(channel.atEnd());
    }
}

void TestScriptChannel::memorySource()
{
    vm2::platform::MemorySource files;
    files.setFile(QStringLiteral("/m/dat2/ibent1-0.da2"), QByteArray("31\x82\xa0\r\nD10"));
    files.setFile(QStringLiteral("/m/dat2/ibent1-1.da2"), QByteArray());
    files.setFile(QStringLiteral("/m/dat2/sub/x.da2"), QByteArray("x"));
    // Decoded pictures are files too, and a path set both ways is one file.
    files.setPicture(QStringLiteral("/m/dat2/a.da1"), QImage(1, 1, QImage::Format_RGB32));
    files.setPicture(QStringLiteral("/m/dat2/ibent1-1.da2"), QImage(1, 1, QImage::Format_RGB32));
    vm2::platform::setFileSource(&files);
    ScriptChannel channel;
    channel.open(QStringLiteral("/m/dat2/ibent1-0.da2"), QStringLiteral("dat2/ibent1-0.da2"));
    const QString first = channel.readLine();
    const QString second = channel.readLine();
    const bool end = channel.atEnd();
    bool missing = false;
    try {
        channel.open(QStringLiteral("/m/dat2/ibent2-0.da2"), QStringLiteral("dat2/ibent2-0.da2"));
    } catch (const ScriptError &e) {
        missing = e.fault() == Fault::FileNotFound;
    }
    const QStringList names = files.fileNames(QStringLiteral("/m/dat2"));
    vm2::platform::setFileSource(nullptr);
    QCOMPARE(first, QStringLiteral("31あ"));
    QCOMPARE(second, QStringLiteral("D10"));
    QVERIFY(end);
    QVERIFY(missing);
    QCOMPARE(names, QStringList({QStringLiteral("a.da1"), QStringLiteral("ibent1-0.da2"),
                                 QStringLiteral("ibent1-1.da2")}));
    QVERIFY(files.hasFolder(QStringLiteral("/m/dat2")));
    QVERIFY(!files.hasFolder(QStringLiteral("/m/dat1")));
    QVERIFY(!files.hasFolder(QStringLiteral("/m/dat"))); // a prefix of a folder's name
    QVERIFY(!files.hasFolder(QStringLiteral("/m")));     // files in folders below only
}

void TestScriptChannel::cacheReadsChangedFile()
{
    ScriptCache cache;
    const QString path = write("a\r\nb\r\n");
    QCOMPARE(readAll(path, &cache), QStringList({"a", "b"}));
    auto rewrite = [&](const QByteArray &bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    };
    // Another size.
    rewrite("c\r\n");
    QCOMPARE(readAll(path, &cache), QStringList({"c"}));
    // The same size, written at another time.
    rewrite("d\r\n");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(10),
                              QFileDevice::FileModificationTime));
    }
    QCOMPARE(readAll(path, &cache), QStringList({"d"}));
    // A file that is gone is missing, as without the cache.
    QVERIFY(QFile::remove(path));
    QVERIFY_THROWS_EXCEPTION(ScriptError, readAll(path, &cache));
}

QTEST_GUILESS_MAIN(TestScriptChannel)
#include "tst_scriptchannel.moc"
