// velmora2-story: the conversion between UTF-8 sources and code page 932 scripts,
// the round trip of decode and build, the starter story, and the command line.
#include "cp932text.h"
#include "storybuild.h"
#include "walkthrough.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vm2::story;

namespace {

QStringList texts(const Conversion &c)
{
    QStringList list;
    for (const Remark &r : c.remarks)
        list << r.text(QStringLiteral("f"));
    return list;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int runStory(const QStringList &arguments, QString *output = nullptr)
{
    QProcess story;
    story.start(QStringLiteral(VM2_PROGRAM_DIR "/velmora2-story"), arguments);
    if (!story.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromUtf8(story.readAllStandardOutput() + story.readAllStandardError());
    return story.exitCode();
}

} // namespace

class TestStory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void demoRoundTrip();
    void oddScriptsRoundTrip();
    void buildStopsOnUnencodable();
    void starterStory();
    void walkthroughProblems_data();
    void walkthroughProblems();
    void commandLine_data();
    void commandLine();
    void gameDataOption_data();
    void gameDataOption();
    void watchRebuilds();
};

void TestStory::encode_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("remarks");
    QTest::newRow("lf") << QByteArray("11\n34あ\n") << QByteArray("11\r\n34\x82\xA0\r\n")
                        << QStringList();
    QTest::newRow("crlf, no last end")
        << QByteArray("11\r\n34") << QByteArray("11\r\n34\r\n") << QStringList();
    QTest::newRow("lone cr") << QByteArray("11\r\r34") << QByteArray("11\r\n\r\n34\r\n")
                             << QStringList();
    QTest::newRow("bom dropped") << QByteArray("\xEF\xBB\xBF"
                                               "11\n")
                                 << QByteArray("11\r\n") << QStringList();
    QTest::newRow("empty") << QByteArray() << QByteArray() << QStringList();
    QTest::newRow("wave dash")
        << QByteArray("34a\xE3\x80\x9C\n") << QByteArray("34a\x81\x60\r\n")
        << QStringList{"f:1:4: warning: U+301C WAVE DASH is not in code page 932: written as "
                       "\"～\" (U+FF5E)"};
    QTest::newRow("minus, em dash")
        << QByteArray("\n34\xE2\x88\x92\xE2\x80\x94\n") << QByteArray("\r\n34\x81\x7C\x81\x5C\r\n")
        << QStringList{"f:2:3: warning: U+2212 MINUS SIGN is not in code page 932: written as "
                       "\"－\" (U+FF0D)",
                       "f:2:4: warning: U+2014 EM DASH is not in code page 932: written as \"―\" "
                       "(U+2015)"};
    QTest::newRow("parallel, cent, pound, not")
        << QByteArray("\xE2\x80\x96\xC2\xA2\xC2\xA3\xC2\xAC")
        << QByteArray("\x81\x61\x81\x91\x81\x92\x81\xCA\r\n")
        << QStringList{"f:1:1: warning: U+2016 DOUBLE VERTICAL LINE is not in code page 932: "
                       "written as \"∥\" (U+2225)",
                       "f:1:2: warning: U+00A2 CENT SIGN is not in code page 932: written as "
                       "\"￠\" (U+FFE0)",
                       "f:1:3: warning: U+00A3 POUND SIGN is not in code page 932: written as "
                       "\"￡\" (U+FFE1)",
                       "f:1:4: warning: U+00AC NOT SIGN is not in code page 932: written as "
                       "\"￢\" (U+FFE2)"};
    QTest::newRow("emoji") << QByteArray("11\n34\xF0\x9F\x98\x80!\n") << QByteArray()
                           << QStringList{"f:2:3: error: U+1F600 \"😀\" has no code in code "
                                          "page 932"};
    QTest::newRow("hangul") << QByteArray("3\xEA\xB0\x80") << QByteArray()
                            << QStringList{"f:1:2: error: U+AC00 \"가\" has no code in code "
                                           "page 932"};
    QTest::newRow("not utf-8") << QByteArray("11\n34\x82\xA0\n") << QByteArray()
                               << QStringList{"f:2: error: not UTF-8 text: sources are written "
                                              "in UTF-8"};
}

void TestStory::encode()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, script);
    QFETCH(QStringList, remarks);
    const Conversion c = encodeSource(source);
    QCOMPARE(texts(c), remarks);
    QCOMPARE(c.bytes, script);
}

void TestStory::decode_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QStringList>("remarks");
    QTest::newRow("crlf") << QByteArray("11\r\n34\x82\xA0\r\n") << QByteArray("11\n34あ\n")
                          << QStringList();
    QTest::newRow("lone lf, no last end")
        << QByteArray("11\n34") << QByteArray("11\n34\n")
        << QStringList{"f:1: warning: the line ends in a lone LF: build ends every line with CR LF",
                       "f:2: warning: the last line has no line end: build adds CR LF"};
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF"
                                       "11\r\n")
                         << QByteArray("11\n")
                         << QStringList{"f:1: warning: a UTF-8 byte-order mark, which the game "
                                        "skips: build does not write it back"};
    // NEC row 13 and the NEC-selected IBM extensions have a second code that build
    // does not write.
    QTest::newRow("nec duplicate")
        << QByteArray("34\x87\x90\r\n") << QByteArray("34≒\n")
        << QStringList{"f:1:3: warning: \"≒\" (U+2252) has two codes in code page 932: the "
                       "script has 8790, build writes 81E0"};
    QTest::newRow("ibm duplicate")
        << QByteArray("3\xED\x40\r\n") << QByteArray("3纊\n")
        << QStringList{"f:1:2: warning: \"纊\" (U+7E8A) has two codes in code page 932: the "
                       "script has ED40, build writes FA5C"};
    QTest::newRow("not cp932") << QByteArray("11\r\n34\x82\r\n") << QByteArray()
                               << QStringList{"f:2: error: not valid code page 932: the bytes "
                                              "333482"};
}

void TestStory::decode()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, source);
    QFETCH(QStringList, remarks);
    const Conversion c = decodeScript(script);
    QCOMPARE(texts(c), remarks);
    QCOMPARE(c.bytes, source);
}

// decode then build gives back every script of the demo story byte for byte.
void TestStory::demoRoundTrip()
{
    const QDir demo(QStringLiteral(VM2_PROGRAM_DIR "/dat2"));
    const QStringList scripts = demo.entryList({QStringLiteral("*.da2")}, QDir::Files);
    QVERIFY(scripts.size() >= 50);
    int identical = 0;
    for (const QString &name : scripts) {
        const QByteArray bytes = readFile(demo.filePath(name));
        const Conversion decoded = decodeScript(bytes);
        QVERIFY2(decoded.remarks.empty(), qPrintable(texts(decoded).join(u'\n')));
        const Conversion built = encodeSource(decoded.bytes);
        QVERIFY2(built.remarks.empty(), qPrintable(name));
        QVERIFY2(built.bytes == bytes, qPrintable(name));
        ++identical;
    }
    qInfo("%d of %lld scripts identical after decode and build", identical,
          static_cast<long long>(scripts.size()));
}

// Odd but valid scripts with CR LF line ends survive the commands themselves.
void TestStory::oddScriptsRoundTrip()
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QList<QByteArray> corpus = {
        QByteArray(),                                         // no lines
        QByteArray("\r\n\r\n\r\n"),                           // empty lines only
        QByteArray("11 \r\n34  \r\n   \r\n"),                 // trailing and lone blanks
        QByteArray("0note\r\n8\r\nfa\r\n\x82\xA0\r\n"),       // lines the game skips
        QByteArray("34\xB1\xB2\xB3\xDF\r\n"),                 // half-width katakana
        QByteArray("34\x81\x60\x81\x7C\x81\x61\x81\x5C\r\n"), // ～ － ∥ ―
        QByteArray("34\x87\x40\x87\x54\xFA\x40\xFA\x5C\r\n"), // ① Ⅰ ⅰ 纊
        QByteArray("34\\\x5C\x81\x5F~\r\n"),                  // backslash, yen sign, tilde
        QByteArray("3\r\n E\r\n\t34\r\n"),                    // short and indented lines
        QByteArray("34a\0b\r\n", 7),                          // a NUL byte
    };
    for (int i = 0; i < corpus.size(); ++i)
        writeFile(data + QStringLiteral("/dat2/ibent1-%1.da2").arg(i), corpus.at(i));
    const QString sources = dir.filePath(QStringLiteral("src"));
    const QString out = dir.filePath(QStringLiteral("out"));
    QString report;
    QCOMPARE(runStory({QStringLiteral("decode"), data, sources}, &report), 0);
    QVERIFY2(!report.contains(QStringLiteral("warning")), qPrintable(report));
    // The checker finds faults in such a story; the scripts are written all the same.
    runStory({QStringLiteral("build"), sources, out}, &report);
    for (int i = 0; i < corpus.size(); ++i) {
        const QString name = QStringLiteral("/dat2/ibent1-%1.da2").arg(i);
        QCOMPARE(readFile(out + name), corpus.at(i));
    }
}

void TestStory::buildStopsOnUnencodable()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("src/dat2/ibent1-0.txt")), "11\n34〜と−\n");
    writeFile(dir.filePath(QStringLiteral("src/dat2/ibent1-1.txt")), "11\n34한\n");
    writeFile(dir.filePath(QStringLiteral("src/dat1/back1.da1")), "not a picture");
    writeFile(dir.filePath(QStringLiteral("src/dat2/ibent1-2.da2")), "11\r\n");
    QString report;
    const QString out = dir.filePath(QStringLiteral("out"));
    QCOMPARE(runStory({QStringLiteral("build"), dir.filePath(QStringLiteral("src")), out}, &report),
             1);
    QVERIFY2(report.contains(QStringLiteral("dat2/ibent1-0.txt:2:3: warning: U+301C WAVE DASH")),
             qPrintable(report));
    QVERIFY(report.contains(QStringLiteral("dat2/ibent1-0.txt:2:5: warning: U+2212 MINUS SIGN")));
    QVERIFY(report.contains(QStringLiteral(
        "dat2/ibent1-1.txt:2:3: error: U+D55C \"한\" has no code in code page 932")));
    QVERIFY(report.contains(QStringLiteral("dat1/back1.da1: error: not a picture that loads")));
    QVERIFY(report.contains(
        QStringLiteral("dat2/ibent1-2.da2: warning: not a script source (.txt): left out")));
    QVERIFY(report.contains(QStringLiteral("velmora2-story: 2 errors: nothing written")));
    QVERIFY(!QFileInfo::exists(out));
}

// The story that `new` writes builds, checks clean, and every walkthrough passes.
void TestStory::starterStory()
{
    QTemporaryDir dir;
    const QString story = dir.filePath(QStringLiteral("mystory"));
    QCOMPARE(runStory({QStringLiteral("new"), story}), 0);
    QString report;
    QCOMPARE(runStory({QStringLiteral("build"), QStringLiteral("--werror"), story,
                       story + QStringLiteral("/out")},
                      &report),
             0);
    QVERIFY2(report.contains(QStringLiteral("0 errors, 0 warnings")), qPrintable(report));
    QCOMPARE(runStory({QStringLiteral("test"), story}, &report), 0);
    QCOMPARE(report, QStringLiteral("PASS bonus\nPASS saki-bad\nPASS saki-happy\n"
                                    "covered: 6/13 scripts, 2/2 answers, 2/2 branches\n"));
    // What no walkthrough plays, at the sources' lines: the quiet places.
    const QString coverage = dir.filePath(QStringLiteral("coverage.txt"));
    QCOMPARE(
        runStory({QStringLiteral("test"), QStringLiteral("--data"), story + QStringLiteral("/out"),
                  QStringLiteral("--coverage"), coverage, story},
                 &report),
        0);
    QStringList expected;
    for (const char *place : {"3", "4", "5", "6", "7", "A", "B"})
        expected << QStringLiteral("%1/dat2/ibent%2-0.txt:1: not reached: no walkthrough plays "
                                   "this script")
                        .arg(story, QLatin1String(place));
    QCOMPARE(QString::fromUtf8(readFile(coverage)), expected.join(u'\n') + u'\n');
    // A report never goes over the story's sources.
    const QString source = story + QStringLiteral("/dat2/ibent2-0.txt");
    const QByteArray before = readFile(source);
    QCOMPARE(
        runStory({QStringLiteral("test"), QStringLiteral("--coverage"), source, story}, &report),
        1);
    QVERIFY2(report.contains(QStringLiteral("is in the story's sources")), qPrintable(report));
    QCOMPARE(readFile(source), before);
    // A second new into the same folder would overwrite the author's work.
    QCOMPARE(runStory({QStringLiteral("new"), story}, &report), 1);
}

void TestStory::walkthroughProblems_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("why");
    QTest::addColumn<int>("line"); // of the walkthrough, that the failure names
    QTest::newRow("wrong ending")
        << QByteArray("ending: happy 2\ninputs: p2 n n n 2 n n n\ninputs: p2 n n n")
        << "the bad ending of heroine 2 played instead: her affection was 5 at the ending, and "
           "35 or more gives the happy one"
        << 3;
    QTest::newRow("out of input") << QByteArray("ending: bad 2\ninputs: p2 n")
                                  << "stop out of input at dat2/ibent2-0.da2:6" << 2;
    QTest::newRow("inputs left over")
        << QByteArray("ending: bad 2\ninputs: p2 n n n 2 n n n\ninputs: p2 n n n\n\ninputs: n p1")
        << "the game ended at input 12 (bad end of heroine 2); 2 inputs left over" << 5;
    QTest::newRow("one input left over after the bonus")
        << QByteArray("seen: 2 3 4 5\nending: bonus\ninputs: n n")
        << "the game ended at input 1 (the bonus event); 1 input left over" << 3;
    QTest::newRow("a wrong input")
        << QByteArray("ending: bad 2\ninputs: p2\ninputs: n n n 3")
        << "error input 5: expected 1 or 2 at a choice, got \"3\" at dat2/ibent2-0.da2:10" << 3;
    QTest::newRow("short") << QByteArray("# only home\nending: bad 2\n")
                           << "the inputs ended before the bad ending of heroine 2; the last "
                              "message was \"蒼真の部屋。さて、今日はどこへ行こう？\""
                           << 2;
    QTest::newRow("bonus unseen") << QByteArray("ending: bonus\ninputs: n")
                                  << "error --bonus: the four happy endings have not all been "
                                     "seen"
                                  << 1;
    QTest::newRow("unknown key") << QByteArray("\nend: bad 2")
                                 << "unknown key \"end\" (names, seen, ending, inputs)" << 2;
    QTest::newRow("no ending") << QByteArray("inputs: n")
                               << "no ending: line (happy N, bad N or bonus)" << 0;
}

void TestStory::walkthroughProblems()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, why);
    QFETCH(int, line);
    static QTemporaryDir dir;
    static const QString story = dir.filePath(QStringLiteral("s"));
    if (!QFileInfo::exists(story)) {
        QCOMPARE(runStory({QStringLiteral("new"), story}), 0);
        QCOMPARE(runStory({QStringLiteral("build"), story, story + QStringLiteral("/out")}), 0);
    }
    const QString path = dir.filePath(QStringLiteral("w.txt"));
    writeFile(path, file);
    const Verdict verdict = playWalkthrough(readWalkthrough(path), story + QStringLiteral("/out"));
    QCOMPARE(verdict.why, why);
    QCOMPARE(verdict.line, line);
}

void TestStory::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "usage: velmora2-story new DIR";
    for (const char *command : {"new", "build", "decode", "test"})
        QTest::newRow(command) << QStringList{command, "--help"} << 0
                               << QStringLiteral("usage: velmora2-story %1").arg(command);
    QTest::newRow("none") << QStringList{} << 2 << "velmora2-story: a command is needed";
    QTest::newRow("unknown") << QStringList{"make"} << 2 << "velmora2-story: unknown command";
    QTest::newRow("one folder") << QStringList{"build", "a"} << 2
                                << "velmora2-story: two folders are needed";
    QTest::newRow("option") << QStringList{"test", "--werror", "a"} << 2
                            << "velmora2-story: unknown option --werror";
    QTest::newRow("no value") << QStringList{"build", "a", "b", "--dat1"} << 2
                              << "velmora2-story: --dat1 needs a folder";
}

void TestStory::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, firstLine);
    QString output;
    QCOMPARE(runStory(arguments, &output), status);
    QVERIFY2(output.section(u'\n', 0, 0).startsWith(firstLine), qPrintable(output));
}

// The game's one option names the story folder to play; a folder without dat2 ends
// the game before any window opens.
void TestStory::gameDataOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("help") << QStringList{"--help"} << 0
                          << "usage: velmora2 [--data DIR] [--author]";
    QTest::newRow("no dat2") << QStringList{"--data", "/nonexistent"} << 2
                             << "velmora2: /nonexistent holds no dat2 folder: a story folder "
                                "holds dat1 and dat2 (build one with velmora2-story build SRC "
                                "OUT)";
    QTest::newRow("no folder") << QStringList{"--data"} << 2 << "velmora2: --data needs a folder";
}

void TestStory::gameDataOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, firstLine);
    QProcess game;
    game.start(QStringLiteral(VM2_PROGRAM_DIR "/velmora2"), arguments);
    QVERIFY(game.waitForFinished(30000));
    QCOMPARE(game.exitCode(), status);
    const QString output =
        QString::fromUtf8(game.readAllStandardOutput() + game.readAllStandardError());
    QCOMPARE(output.section(u'\n', 0, 0), firstLine);
}

// build --watch: an edited source is built again within a bounded time; a source
// with an error, in its characters or found by the checker, is reported and leaves
// the last good build in place. OUT lies inside SRC, where its writes must not start
// builds of their own.
void TestStory::watchRebuilds()
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("story"));
    QCOMPARE(runStory({QStringLiteral("new"), src}), 0);
    const QString out = src + QStringLiteral("/out");
    const QString source = src + QStringLiteral("/dat2/ibent1-0.txt");
    const QString built = out + QStringLiteral("/dat2/ibent1-0.da2");

    QProcess watch;
    watch.setProcessChannelMode(QProcess::MergedChannels);
    QString output;
    connect(&watch, &QProcess::readyRead, this,
            [&] { output += QString::fromUtf8(watch.readAll()); });
    watch.start(QStringLiteral(VM2_PROGRAM_DIR "/velmora2-story"),
                {QStringLiteral("build"), QStringLiteral("--watch"), src, out});
    QVERIFY(watch.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(output.contains(QStringLiteral("velmora2-story: watching")), 30000);
    QVERIFY2(output.contains(QStringLiteral("velmora2-story: built")), qPrintable(output));
    const QByteArray first = readFile(built);
    QVERIFY(!first.isEmpty());

    writeFile(source, readFile(source) + "E4WATCHED\n");
    QTRY_VERIFY_WITH_TIMEOUT(readFile(built).contains("E4WATCHED\r\n"), 30000);
    const QByteArray good = readFile(built);

    writeFile(source, "11\n34한\n");
    QTRY_VERIFY_WITH_TIMEOUT(output.contains(QStringLiteral("the build failed")), 30000);
    QCOMPARE(output.count(QStringLiteral("velmora2-story: building at")), 3);
    QVERIFY2(output.contains(QStringLiteral(
                 "dat2/ibent1-0.txt:2:3: error: U+D55C \"한\" has no code in code page 932")),
             qPrintable(output));
    QCOMPARE(readFile(built), good);
    // A script that encodes but that the checker finds at fault keeps it too.
    output.clear();
    writeFile(source, "11\n501\n");
    QTRY_VERIFY_WITH_TIMEOUT(output.contains(QStringLiteral("the build failed")), 30000);
    QVERIFY2(output.contains(QStringLiteral("dat2/ibent1-0.da2:2: error")), qPrintable(output));
    QCOMPARE(readFile(built), good);
    // One build for the one change: the writes into OUT start none.
    QCOMPARE(output.count(QStringLiteral("velmora2-story: building at")), 1);
    watch.kill();
    QVERIFY(watch.waitForFinished());
}

QTEST_GUILESS_MAIN(TestStory)
#include "tst_story.moc"
