#include "checker.h"
#include "datafolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace vm2;
using namespace vm2::test;

namespace {

const QString kRowScript = QStringLiteral("ibent2-0.da2");

// A story without faults: an event 0 for every place (the live house's choice
// reaches all eight endings), the bonus, and pictures of the right sizes for every character.
void cleanStory(DataFolder &data)
{
    data.standardPictures();
    const int faceSizes[][2] = {{140, 120}, {110, 110}, {120, 90}, {120, 100}, {110, 85}};
    for (int c = 1; c <= 5; ++c)
        data.picture(QStringLiteral("f%1.da1").arg(c), 6 * faceSizes[c - 1][0], faceSizes[c - 1][1],
                     Qt::white);
    for (const char *place : {"1", "2", "3", "4", "5", "6", "A"})
        data.script(QStringLiteral("ibent%1-0.da2").arg(QLatin1String(place)),
                    {QStringLiteral("11"), QStringLiteral("32こんにちは、@2くん。")});
    // A hand-over ends its block, so each ending needs a block of its own.
    data.script(QStringLiteral("ibent7-0.da2"),
                {QStringLiteral("40101"), QStringLiteral("一"), QStringLiteral("二"),
                 QStringLiteral("B4"), QStringLiteral("B5")});
    data.script(QStringLiteral("ibentB-0.da2"),
                {QStringLiteral("40101"), QStringLiteral("一"), QStringLiteral("二"),
                 QStringLiteral("B2"), QStringLiteral("B3")});
    for (int e = 0; e <= 8; ++e)
        data.script(QStringLiteral("ibent9-%1.da2").arg(e), {QStringLiteral("32Happy End.")});
}

// A character picture of 600 × 400 whose mask (x 300..599) is black over the body.
QImage characterPicture(QRgb body, QRgb mask, QRgb outside = 0xFFFFFFFF)
{
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    for (int y = 100; y < 300; ++y) {
        for (int x = 100; x < 200; ++x) {
            image.setPixel(x, y, body);
            image.setPixel(x + 300, y, mask);
        }
    }
    image.setPixel(10, 10, outside);
    return image;
}

// Pictures a row may ask for by name.
void rowPicture(DataFolder &data, const QString &which)
{
    if (which == QLatin1String("small background"))
        data.picture(QStringLiteral("backX.da1"), 300, 400, Qt::white);
    else if (which == QLatin1String("garbage")) {
        QFile file(data.path() + QStringLiteral("/dat1/backY.da1"));
        if (!file.open(QIODevice::WriteOnly) || file.write("no picture") != 10)
            qFatal("cannot write %s", qPrintable(file.fileName()));
    } else if (which == QLatin1String("wide face"))
        data.picture(QStringLiteral("f2.da1"), 840, 120, Qt::white);
    else if (which == QLatin1String("grey mask"))
        data.picture(QStringLiteral("chara1.da1"), characterPicture(0xFF102030, 0xFF808080));
    else if (which == QLatin1String("stray pixel"))
        data.picture(QStringLiteral("chara1.da1"),
                     characterPicture(0xFF102030, 0xFF000000, 0xFF00FF00));
    else if (which == QLatin1String("event picture")) {
        QImage image(800, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x)
                image.setPixel(x, y, 0xFF102030);
        }
        image.setPixel(799, 399, 0xFFFEFEFE);
        data.picture(QStringLiteral("ibent01.da1"), image);
    } else if (which == QLatin1String("png variant"))
        data.picture(QStringLiteral("chara2-1.da1"), characterPicture(0xFF102030, 0xFF000000),
                     "PNG");
}

QStringList findingsOf(const QString &folder)
{
    QStringList lines;
    for (const check::Finding &f : check::checkData(folder).findings.sorted()) {
        if (f.severity != check::Severity::Note)
            lines << f.text();
    }
    return lines;
}

} // namespace

class TestChecker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanStoryHasNoFinding();
    void faults_data();
    void faults();
    void findingsAgreeWithTheRunner_data();
    void findingsAgreeWithTheRunner();
    void counterPaths_data();
    void counterPaths();
    void missingRunIsOneWarning();
    void deadEnds_data();
    void deadEnds();
    void unreachableEndings_data();
    void unreachableEndings();
    void storyMap();
    void executable();
};

void TestChecker::cleanStoryHasNoFinding()
{
    DataFolder data;
    cleanStory(data);
    QCOMPARE(findingsOf(data.path()), QStringList());
}

void TestChecker::faults_data()
{
    QTest::addColumn<QString>("file");        // the script written (default ibent2-0.da2)
    QTest::addColumn<QStringList>("lines");   // its lines
    QTest::addColumn<QByteArray>("raw");      // or its bytes
    QTest::addColumn<QStringList>("removed"); // scripts of the clean story taken away
    QTest::addColumn<QString>("picture");     // a picture put into dat1 (rowPicture)
    QTest::addColumn<QStringList>("expected");

    const QString f = QStringLiteral("dat2/ibent2-0.da2:");
    auto row = [&](const char *name, const QStringList &lines, const QStringList &expected,
                   const QString &picture = QString(), const QStringList &removed = {}) {
        QTest::newRow(name) << kRowScript << lines << QByteArray() << removed << picture
                            << expected;
    };
    auto one = [&](const char *name, const QString &line, const QString &finding) {
        row(name, {line}, {f + QStringLiteral("1: ") + finding});
    };

    // Every field of every line kind; a field that is missing or not a digit goes one
    // way whichever field it is, so not every field is shown both ways.
    one("1 picture missing", "1Z", "error: File not found: dat1/backZ.da1");
    row("1 picture too small", {"1X"},
        {f + "1: error: dat1/backX.da1 is 300 × 400 pixels, but a background is 400 × 400"},
        "small background");
    row("1 picture undecodable", {"1Y"},
        {f + "1: error: Invalid picture: dat1/backY.da1 (Unsupported image format)"}, "garbage");
    one("F unknown code", "FC",
        "warning: place-label code \"C\" is not known: the place label is left unchanged");
    one("C picture missing", "C99", "error: File not found: dat1/ibent99.da1");
    one("2 no character", "2", "error: Type mismatch: \"2\" has no character code at position 2");
    one("2 no expression", "21", "error: Type mismatch: \"21\" has no expression at position 3");
    one("2 expression not a digit", "21x0",
        "error: Type mismatch: \"21x0\" has 'x' at position 3 where its expression needs a digit");
    one("2 no variant", "213", "error: Type mismatch: \"213\" has no variant at position 4");
    one("3 too short", "3", "error: Type mismatch: \"3\" has no speaker code at position 2");
    one("3 unknown speaker", "35はい",
        "warning: speaker code \"5\" is not 1 to 4: the message is not shown, but the line still "
        "waits");
    one("E unknown speaker", "E0はい",
        "warning: speaker code \"0\" is not 1 to 4: the message is not shown");
    one("3 End", "34The End of it",
        "warning: the message contains \"End\": if it is the last of an event started by a place "
        "button, no place button is offered after it");
    one("4 no count a", "4", "error: Type mismatch: \"4\" has no block 1 count at position 2");
    one("4 count a not a digit", "4x0",
        "error: Type mismatch: \"4x0\" has 'x' at position 2 where its block 1 count needs a "
        "digit");
    one("4 no count b", "401", "error: Type mismatch: \"401\" has no block 2 count at position 4");
    row("4 both counts 00", {"40000", "a", "b"},
        {f + "1: warning: both blocks of the choice are empty: either answer goes on at the next "
             "line"});
    row("4 one caption", {"40000", "a"},
        {f + "1: warning: both blocks of the choice are empty: either answer goes on at the next "
             "line",
         f + "1: error: Input past end of file: the choice on line 1 needs two caption lines"});
    row("4 blocks past the end", {"40102", "a", "b", "31x"},
        {f + "1: error: Input past end of file: the blocks of line 1 reach 2 lines past the end of "
             "the file"});
    one("5 no flag", "5", "error: Type mismatch: \"5\" has no flag number at position 2");
    one("5 flag 0", "501", "error: Subscript out of range: \"501\" names flag 0, not 1 to 9");
    one("5 value not a digit", "51x",
        "error: Type mismatch: \"51x\" has 'x' at position 3 where its flag value needs a digit");
    one("6 no flag", "6", "error: Type mismatch: \"6\" has no flag number at position 2");
    one("6 flag 0", "600000", "error: Subscript out of range: \"600000\" names flag 0, not 1 to 9");
    one("6 no count a", "61", "error: Type mismatch: \"61\" has no block 1 count at position 3");
    one("6 no count b", "6100",
        "error: Type mismatch: \"6100\" has no block 2 count at position 5");
    row("6 blocks past the end", {"610101", "31x"},
        {f + "1: error: Input past end of file: the blocks of line 1 reach 1 lines past the end of "
             "the file"});
    one("7 no heroine", "7", "error: Type mismatch: \"7\" has no heroine number at position 2");
    one("7 heroine 1", "71050",
        "error: Subscript out of range: \"71050\" names heroine 1, not 2 to 5");
    one("7 no amount", "72", "error: Type mismatch: \"72\" has no amount at position 3");
    one("7 four characters", "7205",
        "error: Type mismatch: \"7205\" has no sign digit at position 5");
    one("7 sign not a digit", "7205+",
        "error: Type mismatch: \"7205+\" has '+' at position 5 where its sign digit needs a digit");
    one("9 no slot", "9", "error: Type mismatch: \"9\" has no counter slot at position 2");
    one("9 slot not a digit", "9C1",
        "error: Type mismatch: \"9C1\" has 'C' at position 2 where its counter slot needs a digit");
    one("9 slot A without increment", "9A",
        "error: Type mismatch: \"9A\" has 'A' at position 2 where its increment needs a digit");
    one("D no place", "D", "error: Type mismatch: \"D\" has no place code at position 2");
    one("D no event", "D2", "error: Type mismatch: \"D2\" has no event number at position 3");
    one("B no heroine", "B",
        "error: Type mismatch: \"B\" has 'B' at position 1 where its heroine number needs a digit");
    one("B heroine 6", "B6", "error: Subscript out of range: \"B6\" names heroine 6, not 2 to 5");
    row("field in a block", {"610100", "50"},
        {f + "2: error: Subscript out of range: \"50\" names flag 0, not 1 to 9"});
    row("caption is no command", {"40000", "50", "5x", "31"},
        {f + "1: warning: both blocks of the choice are empty: either answer goes on at the next "
             "line"});

    // Events that do not exist.
    one("D to a missing event", "D25",
        "error: File not found: dat2/ibent2-5.da2 (the event of the jump)");
    row("B to a missing ending", {"B2"},
        {f + "1: error: File not found: dat2/ibent9-2.da2 (the happy ending of heroine 2)",
         "dat2/ibentB-0.da2:4: error: File not found: dat2/ibent9-2.da2 (the happy ending of "
         "heroine 2)"},
        {}, {"ibent9-2.da2"});
    row("a faulty line after a hand-over is never read", {"D30", "5x1", "7305"},
        {f + "2: warning: the line is never played: the script ends at the hand-over on line 1"});
    row("a faulty line after a hand-over in its block", {"610300", "D30", "7305", "B9", "E4x"},
        {f + "3: warning: the line is never played: the block ends at the hand-over on line 2"});
    row("B to a missing bad ending", {"B5"},
        {f + "1: error: File not found: dat2/ibent9-1.da2 (the bad ending of heroine 5)",
         "dat2/ibent7-0.da2:5: error: File not found: dat2/ibent9-1.da2 (the bad ending of heroine "
         "5)"},
        {}, {"ibent9-1.da2"});
    row("A in the main flow without home event", {"A"},
        {"dat2/ibent1-0.da2:0: error: File not found: dat2/ibent1-0.da2 (the first event of every "
         "game)",
         f + "1: error: File not found: dat2/ibent1-0.da2 (the home event of the next day)"},
        {}, {"ibent1-0.da2"});
    row("A in a block, home counter past the events", {"911", "610100", "A"},
        {f + "1: warning: the event counter of 自宅 (place 1) can reach 1 through this line, but "
             "dat2/ibent1-1.da2 does not exist: its place button would then end the game",
         f + "3: error: File not found: dat2/ibent1-1.da2 (the home event of the next day when "
             "the home counter is 1)"});
    row("missing bonus", {"31"},
        {"dat2/ibent9-8.da2:0: error: File not found: dat2/ibent9-8.da2 (the bonus event)"}, {},
        {"ibent9-8.da2"});
    row("place without event 0", {"31"},
        {"dat2/ibent5-0.da2:0: warning: no such script, but the place button of 生徒会室 (place 5) "
         "plays it while the place's event counter is 0"},
        {}, {"ibent5-0.da2"});
    row("counter path to a missing event", {"921"},
        {f + "1: warning: the event counter of アース学園 (place 2) can reach 1 through this line, "
             "but dat2/ibent2-1.da2 does not exist: its place button would then end the game"});

    // Pictures.
    row("character and face missing", {"2610"},
        {f + "1: error: File not found: dat1/chara6.da1",
         f + "1: error: File not found: dat1/f6.da1"});
    row("variant missing", {"2A12"}, {f + "1: error: File not found: dat1/charaA-2.da1"});
    row("variant in PNG", {"2211"}, {}, "png variant");
    row("face of the wrong size", {"2210"},
        {f + "1: error: dat1/f2.da1 is 840 × 120 pixels, but the face strip of character 2 is 660 "
             "× 110"},
        "wide face");
    row("grey mask", {"2110"},
        {f + "1: warning: dat1/chara1.da1: the mask is neither black nor white at 400, 100 (20000 "
             "pixels): the masked placement mixes inverted colours there"},
        "grey mask");
    row("picture not white under a white mask", {"2110"},
        {f + "1: warning: dat1/chara1.da1: the picture is not white at 10, 10 where its mask is "
             "white (1 pixels): the masked placement shows inverted colours there"},
        "stray pixel");
    row("event picture not white under its mask", {"C01"},
        {f + "1: warning: dat1/ibent01.da1: the mask is neither black nor white at 799, 399 (1 "
             "pixels): the masked placement mixes inverted colours there",
         f + "1: warning: dat1/ibent01.da1: the picture is not white at 0, 0 where its mask is "
             "white "
             "(10000 pixels): the masked placement shows inverted colours there"},
        "event picture");

    // Lines that do nothing, and lines never played.
    row("4 in a block", {"610200", "40000", "a"},
        {f + "2: warning: a \"4\" line inside a block does nothing: it opens no blocks, and the "
             "lines after it are lines of this block"});
    row("6 in a block", {"610001", "610101"},
        {f + "2: warning: a \"6\" line inside a block does nothing: it opens no blocks, and the "
             "lines after it are lines of this block"});
    row("line after a jump", {"D30", "", "note", "32x"},
        {f + "4: warning: the line is never played: the script ends at the hand-over on line 1"});
    QTest::newRow("End in an ending")
        << QStringLiteral("ibent9-3.da2") << QStringList{"34The End"} << QByteArray()
        << QStringList() << QString() << QStringList();

    // Files.
    QTest::newRow("unreachable script")
        << QStringLiteral("ibent2-7.da2") << QStringList{"31"} << QByteArray() << QStringList()
        << QString()
        << QStringList{"dat2/ibent2-7.da2:0: warning: nothing plays this script: no jump, next "
                       "day, ending or place counter leads to it"};
    const QString badName = QStringLiteral(":0: error: the name does not follow the rule "
                                           "ibent<place>-<number>.da2 (a number without leading "
                                           "zeros): no event plays this file");
    for (const char *name : {"ibent2-01.da2", "Ibent2-1.da2", "ibent2-1.DA2", "ibent2-.da2",
                             "ibent22-1.da2", "ibent2-+1.da2", "ibent2-40000.da2", "notes.txt"})
        QTest::newRow(name) << QString::fromLatin1(name) << QStringList{"31"} << QByteArray()
                            << QStringList() << QString()
                            << QStringList{QStringLiteral("dat2/") + QLatin1String(name) + badName};
    QTest::newRow("invalid code page 932")
        << kRowScript << QStringList() << QByteArray("11\r\n32\x82\r\n32\xff\xfe\r\n")
        << QStringList() << QString()
        << QStringList{f + "2: error: the line is not valid code page 932 text (nor are 1 more "
                           "lines of the file)"};
    QTest::newRow("byte-order mark")
        << kRowScript << QStringList()
        << QByteArray("\xEF\xBB\xBF"
                      "11\r\n")
        << QStringList() << QString()
        << QStringList{f + "1: warning: the file starts with a UTF-8 byte-order mark: scripts are "
                           "code page 932 text"};
}

void TestChecker::faults()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, raw);
    QFETCH(QStringList, removed);
    QFETCH(QString, picture);
    QFETCH(QStringList, expected);

    DataFolder data;
    cleanStory(data);
    for (const QString &name : removed)
        QVERIFY(QFile::remove(data.path() + QStringLiteral("/dat2/") + name));
    if (raw.isEmpty())
        data.script(file, lines);
    else
        data.rawScript(file, raw);
    if (!picture.isEmpty())
        rowPicture(data, picture);
    // One text, so that a failure shows every finding.
    QCOMPARE(findingsOf(data.path()).join(u'\n'), expected.join(u'\n'));
}

// Where the runner stops with a script error, the checker reports the same fault,
// file and line beforehand.
void TestChecker::findingsAgreeWithTheRunner_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("inputs");
    // The runner reports a choice or branch that runs past the end at the last line it
    // read; the checker at the line that opens it.
    QTest::addColumn<bool>("sameLine");
    for (const char *line : {"2", "21x0", "3", "4x0", "501", "6100", "71050", "7205", "9C1", "D2x",
                             "B6", "1Z", "C99", "2610", "D25"})
        QTest::newRow(line) << QStringList{QString::fromLatin1(line)} << QString() << true;
    QTest::newRow("choice past the end")
        << QStringList{"40102", "a", "b", "31x"} << QStringLiteral("1 n") << false;
    QTest::newRow("caption past the end") << QStringList{"40101", "a"} << QString() << false;
    QTest::newRow("block line") << QStringList{"610100", "50"} << QString() << true;
}

void TestChecker::findingsAgreeWithTheRunner()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, inputs);
    QFETCH(bool, sameLine);
    DataFolder data;
    cleanStory(data);
    data.script(kRowScript, lines);
    const QStringList findings = findingsOf(data.path());
    QVERIFY(!findings.isEmpty());
    const QStringList played = playEvent(data.path(), QStringLiteral("2"), 0, inputs);
    QVERIFY(!played.isEmpty());
    QString runner = played.last();
    QVERIFY2(runner.startsWith(QLatin1String("error ")), qPrintable(runner));
    runner.remove(0, 6);
    QString checker = findings.first();
    checker.replace(QLatin1String(": error: "), QLatin1String(": "));
    if (!sameLine) {
        // file:line: fault: detail; compare without the line
        runner.remove(QRegularExpression(QStringLiteral(":\\d+:")));
        checker.remove(QRegularExpression(QStringLiteral(":\\d+:")));
    }
    QVERIFY2(checker.startsWith(runner), qPrintable(checker + u'\n' + runner));
}

// An event that surely advances its own counter plays once, and so do its advances
// of other counters; so does block 1 of a flag branch that surely sets its flag,
// while no line clears the flag. Other advances may come again and again.
void TestChecker::counterPaths_data()
{
    QTest::addColumn<QStringList>("school");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("once") << QStringList{"921", "911"} << QStringList();
    QTest::newRow("once, own advance after a flag branch")
        << QStringList{"610000", "921", "911"} << QStringList();
    QTest::newRow("once, in a block that sets its flag")
        << QStringList{"40100", "a", "b", "921", "610200", "511", "911", "E4a"} << QStringList();
    QTest::newRow("again, in a block whose flag is cleared")
        << QStringList{"40100", "a", "b", "921", "610200", "511", "911", "510"}
        << QStringList{
               "dat2/ibent2-0.da2:7: warning: the event counter of 自宅 (place 1) can reach 2 "
               "through this line, but dat2/ibent1-2.da2 does not exist: its place button "
               "would then end the game"};
    QTest::newRow("again, in a block that hands over before its flag")
        << QStringList{"40100", "a", "b", "921", "610300", "911", "D30", "511"}
        << QStringList{
               "dat2/ibent2-0.da2:6: warning: the event counter of 自宅 (place 1) can reach 2 "
               "through this line, but dat2/ibent1-2.da2 does not exist: its place button "
               "would then end the game",
               "dat2/ibent2-0.da2:8: warning: the line is never played: the block ends at the "
               "hand-over on line 7"};
    QTest::newRow("the two answers of a choice never add up")
        << QStringList{"40101", "a", "b", "921", "921", "D11"} << QStringList{};
    QTest::newRow("own advance only in a block")
        << QStringList{"40100", "a", "b", "921", "911"}
        << QStringList{
               "dat2/ibent2-0.da2:5: warning: the event counter of 自宅 (place 1) can reach 2 "
               "through this line, but dat2/ibent1-2.da2 does not exist: its place button "
               "would then end the game"};
    QTest::newRow("own advance after a jump in a block")
        << QStringList{"40100", "a", "b", "D30", "921", "911"}
        << QStringList{
               "dat2/ibent2-0.da2:6: warning: the event counter of 自宅 (place 1) can reach 2 "
               "through this line, but dat2/ibent1-2.da2 does not exist: its place button "
               "would then end the game"};
}

void TestChecker::counterPaths()
{
    QFETCH(QStringList, school);
    QFETCH(QStringList, expected);
    DataFolder data;
    cleanStory(data);
    data.script(kRowScript, school);
    data.script(QStringLiteral("ibent2-1.da2"), {QStringLiteral("31")});
    data.script(QStringLiteral("ibent1-1.da2"), {QStringLiteral("31")});
    QCOMPARE(findingsOf(data.path()).join(u'\n'), expected.join(u'\n'));
}

// A script numbered far past the others: every number before it that a counter steps
// through is missing, and one warning names the run.
void TestChecker::missingRunIsOneWarning()
{
    DataFolder data;
    cleanStory(data);
    data.script(kRowScript, {"40100", "a", "b", "921", "911"});
    data.script(QStringLiteral("ibent2-1.da2"), {QStringLiteral("31")});
    data.script(QStringLiteral("ibent1-4.da2"), {QStringLiteral("31")});
    QCOMPARE(findingsOf(data.path()).join(u'\n'),
             QStringList({"dat2/ibent2-0.da2:5: warning: the event counter of 自宅 (place 1) can "
                          "reach 1 to 3 through this line, but dat2/ibent1-1.da2 to "
                          "dat2/ibent1-3.da2 do not exist: its place button would then end the "
                          "game",
                          "dat2/ibent2-0.da2:5: warning: the event counter of 自宅 (place 1) can "
                          "reach 5 through this line, but dat2/ibent1-5.da2 does not exist: its "
                          "place button would then end the game"})
                 .join(u'\n'));
}

// Scripts written over the clean story, by name.
using Scripts = QList<QPair<QString, QStringList>>;

void TestChecker::deadEnds_data()
{
    QTest::addColumn<Scripts>("scripts");
    QTest::addColumn<QStringList>("expected");
    const QString stuck = QStringLiteral(
        ": warning: the event can end here with no jump, next day or ending, and %1 offers no "
        "place button: the player is left with no button to press");
    const QString liveHouse = stuck.arg(QStringLiteral("ライブハウス (place 9)"));
    auto jumpedTo = [&](const char *code, const char *from) {
        return stuck.arg(QStringLiteral("place code %1, to which the jump on %2 leads,")
                             .arg(QLatin1String(code), QLatin1String(from)));
    };
    const QString b0 = QStringLiteral("ibentB-0.da2");
    QTest::newRow("live house, message only")
        << Scripts{{b0, {"1B", "31"}}} << QStringList{"dat2/ibentB-0.da2:2" + liveHouse};
    QTest::newRow("live house, empty script")
        << Scripts{{b0, {}}} << QStringList{"dat2/ibentB-0.da2:0" + liveHouse};
    QTest::newRow("live house, next day") << Scripts{{b0, {"31", "A"}}} << QStringList();
    QTest::newRow("live house, jump back") << Scripts{{b0, {"31", "DA0"}}} << QStringList();
    QTest::newRow("live house, an ending") << Scripts{{b0, {"B2"}}} << QStringList();
    QTest::newRow("live house, one answer jumps, the other goes on")
        << Scripts{{b0, {"40100", "a", "b", "DA0", "E4x"}}}
        << QStringList{"dat2/ibentB-0.da2:5" + liveHouse};
    QTest::newRow("live house, both answers hand over")
        << Scripts{{b0, {"40101", "a", "b", "DA0", "A"}}} << QStringList();
    QTest::newRow("live house, a flag branch whose block 2 is empty")
        << Scripts{{b0, {"610100", "A"}}} << QStringList{"dat2/ibentB-0.da2:2" + liveHouse};
    QTest::newRow("a jump to the live house")
        << Scripts{{kRowScript, {"DB1"}}, {"ibentB-1.da2", {"32x"}}}
        << QStringList{"dat2/ibentB-1.da2:1" + liveHouse};
    QTest::newRow("a jump to an ending event")
        << Scripts{{kRowScript, {"31", "D95"}}, {"ibent9-5.da2", {"32x"}}}
        << QStringList{"dat2/ibent9-5.da2:1" + jumpedTo("9", "dat2/ibent2-0.da2:2")};
    QTest::newRow("a jump in a block to a code that names no place")
        << Scripts{{kRowScript, {"610100", "DC0"}}, {"ibentC-0.da2", {"32x", "33y"}}}
        << QStringList{"dat2/ibentC-0.da2:2" + jumpedTo("C", "dat2/ibent2-0.da2:2")};
    QTest::newRow("the same event played as an ending")
        << Scripts{{"ibent9-5.da2", {"32x"}}} << QStringList();
    QTest::newRow("a jump from the bonus")
        << Scripts{{"ibent9-8.da2", {"DB1"}}, {"ibentB-1.da2", {"32x"}}} << QStringList();
    QTest::newRow("a jump from an ending")
        << Scripts{{"ibent9-2.da2", {"DB1"}}, {"ibentB-1.da2", {"32x"}}} << QStringList();
}

// Where play can leave the player with no place button and no ending.
void TestChecker::deadEnds()
{
    QFETCH(Scripts, scripts);
    QFETCH(QStringList, expected);
    DataFolder data;
    cleanStory(data);
    for (const auto &[name, lines] : scripts)
        data.script(name, lines);
    QCOMPARE(findingsOf(data.path()).join(u'\n'), expected.join(u'\n'));
}

void TestChecker::unreachableEndings_data()
{
    QTest::addColumn<Scripts>("scripts");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QStringList>("expected");
    const QString bonus = QStringLiteral(
        "dat2/ibent9-8.da2:0: note: the title picture never plays the bonus: it takes the happy "
        "endings of all four heroines, and play reaches no ending line of %1");
    auto never = [](int event, const char *which, int heroine) {
        return QStringLiteral("dat2/ibent9-%1.da2:0: note: the %2 ending of heroine %3 never "
                              "plays: no line that play can reach is an ending line B%3")
            .arg(event)
            .arg(QLatin1String(which))
            .arg(heroine);
    };
    const QString seven = QStringLiteral("ibent7-0.da2");
    QTest::newRow("every heroine's ending line") << Scripts() << QStringList() << QStringList();
    QTest::newRow("no ending line of heroine 5")
        << Scripts{{seven, {"40101", "一", "二", "B4", "A"}}} << QStringList()
        << QStringList{never(0, "happy", 5), never(1, "bad", 5), bonus.arg("heroine 5")};
    QTest::newRow("heroine 5's endings not written either")
        << Scripts{{seven, {"40101", "一", "二", "B4", "A"}}}
        << QStringList{"ibent9-0.da2", "ibent9-1.da2"} << QStringList{bonus.arg("heroine 5")};
    QTest::newRow("ending lines only where play cannot reach")
        << Scripts{{seven, {"A"}}, {"ibentB-0.da2", {"A", "B2"}}} << QStringList()
        << QStringList{never(0, "happy", 5),
                       never(1, "bad", 5),
                       never(2, "happy", 2),
                       never(3, "happy", 3),
                       never(4, "happy", 4),
                       never(5, "bad", 2),
                       never(6, "bad", 3),
                       never(7, "bad", 4),
                       bonus.arg("heroines 2, 3, 4 and 5"),
                       "dat2/ibentB-0.da2:2: warning: the line is never played: the script ends "
                       "at the hand-over on line 1"};
}

// What no play can reach: a bonus that cannot open, endings that never play.
void TestChecker::unreachableEndings()
{
    QFETCH(Scripts, scripts);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, expected);
    DataFolder data;
    cleanStory(data);
    for (const auto &[name, lines] : scripts)
        data.script(name, lines);
    for (const QString &name : removed)
        QVERIFY(QFile::remove(data.path() + QStringLiteral("/dat2/") + name));
    QStringList found;
    for (const check::Finding &f : check::checkData(data.path()).findings.sorted()) {
        if (!f.message.startsWith(QLatin1String("the ending of heroine")))
            found << f.text();
    }
    QCOMPARE(found.join(u'\n'), expected.join(u'\n'));
}

void TestChecker::storyMap()
{
    DataFolder data;
    cleanStory(data);
    data.script(kRowScript, {QStringLiteral("32\"学園\"へようこそ"), QStringLiteral("921"),
                             QStringLiteral("D31")});
    data.script(QStringLiteral("ibent2-1.da2"), {QStringLiteral("A")});
    data.script(QStringLiteral("ibent3-1.da2"), {QStringLiteral("31x")});
    QString dot;
    QTextStream out(&dot);
    const check::Result result = check::checkData(data.path(), &out);
    out.flush();
    QCOMPARE(result.findings.errors() + result.findings.warnings(), 0);
    QVERIFY(dot.startsWith(QLatin1String("// The story map")));
    const QStringList expected{
        "  subgraph cluster_1 {\n    label=\"アース学園 (2)\";\n",
        "    \"2-0\" [label=\"ibent2-0\\n\\\"学園\\\"へようこそ\"];\n",
        "  \"2-0\" -> \"3-1\" [label=\"jump\"];\n",
        "  \"2-1\" -> \"1-0\" [label=\"next day\"];\n",
        "  \"2-0\" -> \"2-1\" [label=\"+1\", style=dashed, color=blue, fontcolor=blue];\n",
        "  \"B-0\" -> \"9-2\" [label=\"happy end\"];\n",
        "  \"B-0\" -> \"9-5\" [label=\"bad end\"];\n",
    };
    for (const QString &part : expected)
        QVERIFY2(dot.contains(part), qPrintable(part + u'\n' + dot));
}

void TestChecker::executable()
{
    DataFolder data;
    cleanStory(data);
    data.script(kRowScript, {QStringLiteral("501"), QStringLiteral("FZ")});
    const QString graph = data.path() + QStringLiteral("/story.dot");
    QProcess check;
    check.start(QStringLiteral(VM2_CHECK_EXE),
                {QStringLiteral("--data"), data.path(), QStringLiteral("--graph"), graph});
    QVERIFY(check.waitForFinished());
    QCOMPARE(check.exitStatus(), QProcess::NormalExit);
    QCOMPARE(check.exitCode(), 1);
    QStringList out =
        QString::fromUtf8(check.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    // Each ending line is noted with the two events it leads to.
    const QStringList notes = out.filter(QStringLiteral(": note: "));
    QVERIFY(notes.contains(QStringLiteral(
        "dat2/ibentB-0.da2:4: note: the ending of heroine 2: dat2/ibent9-2.da2 (happy) when her "
        "affection is 35 or more here, else dat2/ibent9-5.da2 (bad)")));
    for (const QString &note : notes)
        out.removeAll(note);
    QCOMPARE(out.size(), 3);
    QVERIFY(
        out.at(0).startsWith(QLatin1String("dat2/ibent2-0.da2:1: error: Subscript out of range")));
    QVERIFY(out.at(1).startsWith(QLatin1String("dat2/ibent2-0.da2:2: warning: place-label code")));
    QCOMPARE(out.at(2), QStringLiteral("velmora2-check: 1 error, 1 warning in 18 scripts"));
    QVERIFY(QFile::exists(graph));

    // Only a warning: status 0, or 1 with --werror.
    data.script(kRowScript, {QStringLiteral("FZ")});
    check.start(QStringLiteral(VM2_CHECK_EXE), {QStringLiteral("--data"), data.path()});
    QVERIFY(check.waitForFinished());
    QCOMPARE(check.exitCode(), 0);
    check.start(QStringLiteral(VM2_CHECK_EXE),
                {QStringLiteral("--data"), data.path(), QStringLiteral("--werror")});
    QVERIFY(check.waitForFinished());
    QCOMPARE(check.exitCode(), 1);
    QVERIFY(check.readAllStandardOutput().endsWith(
        "velmora2-check: 0 errors, 1 warning in 18 scripts\n"));
}

QTEST_GUILESS_MAIN(TestChecker)
#include "tst_checker.moc"
