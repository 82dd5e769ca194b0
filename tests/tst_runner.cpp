// Event scripts played with scripted input; each row compares the whole transcript.
#include "datafolder.h"

#include <QTest>

using namespace vm2::test;

namespace {
// "== name" starts a script file; the lines after it are its lines.
void writeScripts(DataFolder &data, const QStringList &spec)
{
    QString name;
    QStringList lines;
    auto flush = [&] {
        if (!name.isEmpty())
            data.script(name, lines);
        lines.clear();
    };
    for (const QString &line : spec) {
        if (line.startsWith(QStringLiteral("== "))) {
            flush();
            name = line.mid(3);
        } else {
            lines << line;
        }
    }
    flush();
}
const QStringList kNames{QStringLiteral("桐原"), QStringLiteral("蒼真"), QStringLiteral("ソウマ")};
} // namespace

class TestRunner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void transcript_data();
    void transcript();
    void oddFiles_data();
    void oddFiles();
    void tenMegabyteLine();

private:
    void messages();
    void choices();
    void flagBranches();
    void state();
    void handOvers();
    void endings();
    void errors();
};

#define ROW(name) QTest::newRow(name)

void TestRunner::messages()
{
    ROW("empty script") << QStringList{"== ibent1-0.da2"} << "" << QStringList{"run 1 0"} << 0;
    ROW("speaker colours, placeholders, waits")
        << QStringList{"== ibent1-0.da2",
                       "31「@3、行こう」",
                       "32@1@2だ",
                       "33緑",
                       "34黒",
                       "E2紫",
                       "E1",
                       "3"}
        << "n n n n"
        << QStringList{"run 1 0",
                       "talk 0000FF 蒼真「ソウマ、行こう」",
                       "wait",
                       "talk FF0F7B 桐原蒼真だ",
                       "wait",
                       "talk 00C000 緑",
                       "wait",
                       "talk 000000 黒",
                       "wait",
                       "talk FF00FF 紫",
                       "talk 0000FF 蒼真",
                       "error dat2/ibent1-0.da2:7: Type mismatch: \"3\" has no speaker code at "
                       "position 2"}
        << 1;
    ROW("unknown speaker leaves the label but still waits")
        << QStringList{"== ibent1-0.da2", "34before", "35ignored", "E5ignored too", "34after"}
        << "n n n"
        << QStringList{"run 1 0", "talk 000000 before", "wait", "wait", "talk 000000 after", "wait"}
        << 0;
    ROW("lines that are no command")
        << QStringList{"== ibent1-0.da2", "", "0note", "8note", "fF", "メモ", " 34x", "G1", "E4ok"}
        << "" << QStringList{"run 1 0", "talk 000000 ok"} << 0;
    ROW("placeholder passes run in order")
        << QStringList{"== ibent1-0.da2", "E4@1|@2|@3|@@12"} << ""
        << QStringList{"run 1 0", "talk 000000 桐原|蒼真|ソウマ|@桐原2"} << 0;
    ROW("place labels, main flow and block")
        << QStringList{"== ibent1-0.da2", "FI", "FJ", "F2", "FC", "FM", "F", "610200", "FI", "FJ"}
        << "" << QStringList{"run 1 0",          "place ホール裏手", "place ライブハウス",
                             "place アース病院", "place 市立図書館", "place コンサートホール裏手",
                             "place ライブ"}
        << 0;
}

void TestRunner::choices()
{
    const QStringList script{"== ibent1-0.da2", "E4問い",  "40102",   "@2と帰る", "いいえ",
                             "E4one",           "E4two-a", "E4two-b", "E4after"};
    ROW("choice 1 plays block 1") << script << "1"
                                  << QStringList{"run 1 0",           "talk 000000 問い",
                                                 "option 1 @2と帰る", "option 2 いいえ",
                                                 "choose 1",          "talk 000000 one",
                                                 "talk 000000 after"}
                                  << 0;
    ROW("choice 2 plays block 2") << script << "2"
                                  << QStringList{"run 1 0",           "talk 000000 問い",
                                                 "option 1 @2と帰る", "option 2 いいえ",
                                                 "choose 2",          "talk 000000 two-a",
                                                 "talk 000000 two-b", "talk 000000 after"}
                                  << 0;
    ROW("empty blocks still ask") << QStringList{"== ibent1-0.da2", "40000", "a", "b", "E4after"}
                                  << "2"
                                  << QStringList{"run 1 0", "option 1 a", "option 2 b", "choose 2",
                                                 "talk 000000 after"}
                                  << 0;
    ROW("choice inside a block is played as plain lines")
        << QStringList{"== ibent1-0.da2", "40300", "x", "y", "40102", "E4cap1", "E4cap2", "E4after"}
        << "1"
        << QStringList{"run 1 0",          "option 1 x",       "option 2 y",       "choose 1",
                       "talk 000000 cap1", "talk 000000 cap2", "talk 000000 after"}
        << 0;
    ROW("wait inside a block") << QStringList{"== ibent1-0.da2", "40100", "x", "y", "34in block"}
                               << "1 n"
                               << QStringList{"run 1 0",  "option 1 x",           "option 2 y",
                                              "choose 1", "talk 000000 in block", "wait"}
                               << 0;
    ROW("block past the end")
        << QStringList{"== ibent1-0.da2", "E4x", "40102", "a", "b", "E4one"} << "2"
        << QStringList{"run 1 0",
                       "talk 000000 x",
                       "option 1 a",
                       "option 2 b",
                       "choose 2",
                       "error dat2/ibent1-0.da2:2: Input past end of file: the blocks of line 2 "
                       "reach 2 lines past the end of the file"}
        << 1;
    ROW("captions past the end")
        << QStringList{"== ibent1-0.da2", "40000", "only one"} << ""
        << QStringList{"run 1 0", "error dat2/ibent1-0.da2:1: Input past end of file: the choice "
                                  "on line 1 needs two caption lines"}
        << 1;
    ROW("wrong input at a choice") << QStringList{"== ibent1-0.da2", "40000", "a", "b"} << "n"
                                   << QStringList{"run 1 0", "option 1 a", "option 2 b",
                                                  "error input 1: expected 1 or 2 at a choice, got "
                                                  "\"n\" at dat2/ibent1-0.da2:1"}
                                   << 2;
    ROW("out of input") << QStringList{"== ibent1-0.da2", "34a", "34b"} << "n"
                        << QStringList{"run 1 0", "talk 000000 a",
                                       "wait",    "talk 000000 b",
                                       "wait",    "stop out of input at dat2/ibent1-0.da2:2"}
                        << 3;
}

void TestRunner::flagBranches()
{
    ROW("flag 0 plays block 1, any other value block 2")
        << QStringList{"== ibent1-0.da2", "630101", "E4zero", "E4set", "532",
                       "630101",          "E4zero", "E4set",  "E4end"}
        << ""
        << QStringList{"run 1 0", "talk 000000 zero", "flag 3 2", "talk 000000 set",
                       "talk 000000 end"}
        << 0;
    ROW("short second count reads the digit present")
        << QStringList{"== ibent1-0.da2", "53100101", "63001", "E4a", "E4b", "E4c"} << ""
        << QStringList{"run 1 0", "flag 3 1", "talk 000000 a", "talk 000000 b", "talk 000000 c"}
        << 0;
    ROW("empty branch takes one line") << QStringList{"== ibent1-0.da2", "63000", "E4next"} << ""
                                       << QStringList{"run 1 0", "talk 000000 next"} << 0;
    ROW("flag branch inside a block is a plain line")
        << QStringList{"== ibent1-0.da2", "610300", "610101", "E4a", "E4b", "E4c"} << ""
        << QStringList{"run 1 0", "talk 000000 a", "talk 000000 b", "talk 000000 c"} << 0;
    ROW("flag 0 is out of range") << QStringList{"== ibent1-0.da2", "60000"} << ""
                                  << QStringList{"run 1 0",
                                                 "error dat2/ibent1-0.da2:1: Subscript out "
                                                 "of range: \"60000\" names flag 0, not 1 to 9"}
                                  << 1;
}

void TestRunner::state()
{
    ROW("affection, flags, counters")
        << QStringList{"== ibent1-0.da2",
                       "73305",
                       "73051",
                       "73052",
                       "72991",
                       "52",
                       "5971",
                       "9A3",
                       "983",
                       "9B1",
                       "931",
                       "905"}
        << ""
        << QStringList{"run 1 0",  "love 3 30", "love 3 25", "love 3 30", "love 2 -99", "flag 2 2",
                       "flag 9 1", "count 8 3", "count 8 6", "count 9 1", "count 3 1",  "count 0 5"}
        << 0;
    ROW("affection overflow") << QStringList{"== ibent1-0.da2"} +
                                     QStringList(331, QStringLiteral("72990"))
                              << "" <<
        [] {
            QStringList t{"run 1 0"};
            for (int i = 1; i <= 330; ++i)
                t << QStringLiteral("love 2 %1").arg(99 * i);
            t << "error dat2/ibent1-0.da2:331: Overflow: 32670 + 99 leaves -32768 to 32767";
            return t;
        }() << 1;
    ROW("four-character affection line")
        << QStringList{"== ibent1-0.da2", "7305"} << ""
        << QStringList{"run 1 0", "error dat2/ibent1-0.da2:1: Type "
                                  "mismatch: \"7305\" has no sign "
                                  "digit at position 5"}
        << 1;
    ROW("heroine 6") << QStringList{"== ibent1-0.da2", "76010"} << ""
                     << QStringList{"run 1 0", "error dat2/ibent1-0.da2:1: Subscript out of range: "
                                               "\"76010\" names heroine 6, not 2 to 5"}
                     << 1;
    ROW("counter slot letter") << QStringList{"== ibent1-0.da2", "9C1"} << ""
                               << QStringList{"run 1 0",
                                              "error dat2/ibent1-0.da2:1: Type mismatch: "
                                              "\"9C1\" has 'C' at position 2 where its "
                                              "counter slot needs a digit"}
                               << 1;
    ROW("flag value from the last character")
        << QStringList{"== ibent1-0.da2", "51xx7"} << "" << QStringList{"run 1 0", "flag 1 7"} << 0;
}

void TestRunner::handOvers()
{
    ROW("jump ends the script, also after the jumped-to event")
        << QStringList{"== ibent1-0.da2", "E4a", "DA12", "E4never", "== ibentA-1.da2", "E4b"} << ""
        << QStringList{"run 1 0", "talk 000000 a", "run A 1", "talk 000000 b"} << 0;
    ROW("jump first in a block skips everything after it")
        << QStringList{"== ibent1-0.da2", "40300",   "x", "y", "D21", "E4no", "E4no", "E4no",
                       "== ibent2-1.da2", "E4jumped"}
        << "1" << QStringList{"run 1 0",  "option 1 x", "option 2 y",
                              "choose 1", "run 2 1",    "talk 000000 jumped"}
        << 0;
    ROW("next day in the main flow plays home event 0")
        << QStringList{"== ibent3-0.da2", "9A5", "A", "E4never", "== ibent1-0.da2", "E4home"} << "n"
        << QStringList{"run 3 0",
                       "count 8 5",
                       "stage dat1/back1.da1",
                       "place 自宅",
                       "talk 000000 翌日になりました",
                       "wait",
                       "run 1 0",
                       "talk 000000 home"}
        << 0;
    ROW("next day in a block plays the home counter's event")
        << QStringList{"== ibent3-0.da2", "913",     "610200",          "A",
                       "E4never",         "E4never", "== ibent1-3.da2", "E4day three"}
        << "n" << QStringList{"run 3 0",
                              "count 1 3",
                              "stage dat1/back1.da1",
                              "place 自宅",
                              "talk 000000 翌日になりました",
                              "wait",
                              "run 1 3",
                              "talk 000000 day three"}
        << 0;
    ROW("jump to a missing script names the jump line")
        << QStringList{"== ibent1-0.da2", "E4a", "D17"} << ""
        << QStringList{"run 1 0", "talk 000000 a", "run 1 7",
                       "error dat2/ibent1-0.da2:2: File not found: dat2/ibent1-7.da2"}
        << 1;
    ROW("missing first script") << QStringList{} << ""
                                << QStringList{"run 1 0", "error File not found: dat2/ibent1-0.da2"}
                                << 1;
    ROW("jump needs its event digit") << QStringList{"== ibent1-0.da2", "D1"} << ""
                                      << QStringList{"run 1 0", "error dat2/ibent1-0.da2:1: Type "
                                                                "mismatch: \"D1\" has no event "
                                                                "number at position 3"}
                                      << 1;
    ROW("jump to itself loops until input runs out")
        << QStringList{"== ibent1-0.da2", "34again", "D10"} << "n n"
        << QStringList{"run 1 0",
                       "talk 000000 again",
                       "wait",
                       "run 1 0",
                       "talk 000000 again",
                       "wait",
                       "run 1 0",
                       "talk 000000 again",
                       "wait",
                       "stop out of input at dat2/ibent1-0.da2:1"}
        << 3;
}

void TestRunner::endings()
{
    const QStringList events{"== ibent9-3.da2", "E3happy three", "== ibent9-6.da2", "E3bad three",
                             "== ibent9-0.da2", "E4happy five",  "== ibent9-1.da2", "E4bad five"};
    ROW("35 points: happy ending and its record")
        << QStringList{"== ibent1-0.da2", "73350", "B3", "E4never"} + events << ""
        << QStringList{"run 1 0",
                       "love 3 35",
                       "run 9 3",
                       "talk 00C000 happy three",
                       "talk FF0F7B Happy End.\\r\\n\\r\\nThank you for your Playing!",
                       "store Endcnt3 1"}
        << 0;
    ROW("34 points: bad ending, no record")
        << QStringList{"== ibent1-0.da2", "73340", "610100", "B3", "E4never"} + events << ""
        << QStringList{"run 1 0", "love 3 34", "run 9 6", "talk 00C000 bad three",
                       "talk 000000 The End.\\r\\n\\r\\nCould you Try Again?"}
        << 0;
    ROW("heroine 5 uses events 0 and 1")
        << QStringList{"== ibent1-0.da2", "75400", "B5"} + events << ""
        << QStringList{"run 1 0",
                       "love 5 40",
                       "run 9 0",
                       "talk 000000 happy five",
                       "talk FF0F7B Happy End.\\r\\n\\r\\nThank you for your Playing!",
                       "store Endcnt5 1"}
        << 0;
    ROW("affection read before the ending event")
        << QStringList{"== ibent1-0.da2", "75350", "B5", "== ibent9-0.da2", "75991"} << ""
        << QStringList{"run 1 0",
                       "love 5 35",
                       "run 9 0",
                       "love 5 -64",
                       "talk FF0F7B Happy End.\\r\\n\\r\\nThank you for your Playing!",
                       "store Endcnt5 1"}
        << 0;
    ROW("ending inside an ending finishes innermost first")
        << QStringList{"== ibent1-0.da2", "72400",  "B2", "== ibent9-2.da2", "73350", "B3",
                       "== ibent9-3.da2", "E4inner"}
        << ""
        << QStringList{"run 1 0",
                       "love 2 40",
                       "run 9 2",
                       "love 3 35",
                       "run 9 3",
                       "talk 000000 inner",
                       "talk FF0F7B Happy End.\\r\\n\\r\\nThank you for your Playing!",
                       "store Endcnt3 1",
                       "talk FF0F7B Happy End.\\r\\n\\r\\nThank you for your Playing!",
                       "store Endcnt2 1"}
        << 0;
    ROW("missing ending event stores nothing")
        << QStringList{"== ibent1-0.da2", "72400", "B2"} << ""
        << QStringList{"run 1 0", "love 2 40", "run 9 2",
                       "error dat2/ibent1-0.da2:2: File not found: dat2/ibent9-2.da2"}
        << 1;
    ROW("error after the ending event stores nothing")
        << QStringList{"== ibent1-0.da2", "72400", "B2", "== ibent9-2.da2", "E4x", "5x"} << ""
        << QStringList{"run 1 0", "love 2 40", "run 9 2", "talk 000000 x",
                       "error dat2/ibent9-2.da2:2: Type mismatch: \"5x\" has 'x' at position 2 "
                       "where its flag number needs a digit"}
        << 1;
    ROW("heroine 1") << QStringList{"== ibent1-0.da2", "B1"} << ""
                     << QStringList{"run 1 0", "error dat2/ibent1-0.da2:1: Subscript out of range: "
                                               "\"B1\" names heroine 1, not 2 to 5"}
                     << 1;
}

void TestRunner::errors()
{
    ROW("missing background names the picture")
        << QStringList{"== ibent1-0.da2", "E4x", "1Z"} << ""
        << QStringList{"run 1 0", "talk 000000 x",
                       "error dat2/ibent1-0.da2:2: File not found: dat1/backZ.da1"}
        << 1;
    ROW("character needs expression and variant")
        << QStringList{"== ibent1-0.da2", "223"} << ""
        << QStringList{"run 1 0", "error dat2/ibent1-0.da2:1: Type mismatch: \"223\" has no "
                                  "variant at position 4"}
        << 1;
    ROW("percent signs in a faulty line stay as written")
        << QStringList{"== ibent1-0.da2", "7%1x"} << ""
        << QStringList{"run 1 0", "error dat2/ibent1-0.da2:1: Type mismatch: \"7%1x\" has '%' at "
                                  "position 2 where its heroine number needs a digit"}
        << 1;
    ROW("error line inside a block")
        << QStringList{"== ibent1-0.da2", "610200", "E4a", "9"} << ""
        << QStringList{"run 1 0", "talk 000000 a",
                       "error dat2/ibent1-0.da2:3: Type mismatch: \"9\" "
                       "has no counter slot at position 2"}
        << 1;
}

void TestRunner::transcript_data()
{
    QTest::addColumn<QStringList>("scripts");
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("status");
    messages();
    choices();
    flagBranches();
    state();
    handOvers();
    endings();
    errors();
}

void TestRunner::transcript()
{
    QFETCH(QStringList, scripts);
    QFETCH(QString, inputs);
    QFETCH(QStringList, expected);
    QFETCH(int, status);
    DataFolder data;
    data.standardPictures();
    writeScripts(data, scripts);
    QString start = QStringLiteral("1");
    if (!scripts.isEmpty() && scripts.first().startsWith(QStringLiteral("== ibent3")))
        start = QStringLiteral("3");
    int got = -1;
    const QStringList lines = playEvent(data.path(), start, 0, inputs, &got, kNames);
    QCOMPARE(lines, expected);
    QCOMPARE(got, status);
}

// Scripts edited by hand: line ends, marks and bytes the format does not expect must
// play as lines or end in a clear script error, never crash or hang.
void TestRunner::oddFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("lone LF") << QByteArray("E4a\nE4b\n")
                             << QStringList{"run 1 0", "talk 000000 a", "talk 000000 b"};
    QTest::newRow("no final line end")
        << QByteArray("E4a\r\nE4b") << QStringList{"run 1 0", "talk 000000 a", "talk 000000 b"};
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "E4a\r\n")
                                     << QStringList{"run 1 0", "talk 000000 a"};
    QTest::newRow("NUL in a message")
        << QByteArray("E4a\0b\r\n", 7)
        << QStringList{"run 1 0", QStringLiteral("talk 000000 a@b").replace(u'@', QChar(0))};
    QTest::newRow("NUL as a kind") << QByteArray("\0"
                                                 "E4\r\nE4c\r\n",
                                                 9)
                                   << QStringList{"run 1 0", "talk 000000 c"};
    QTest::newRow("invalid code page 932")
        << QByteArray("E4\x85\x40!\r\n") << QStringList{"run 1 0", "talk 000000 \uFFFD!"};
    QTest::newRow("block count of NULs")
        << QByteArray("4\0\0\0\0\r\n", 7)
        << QStringList{
               "run 1 0",
               QStringLiteral(
                   "error dat2/ibent1-0.da2:1: Type mismatch: \"4@@@@\" has '@' at position 2 "
                   "where its block 1 count needs a digit")
                   .replace(u'@', QChar(0))};
}

void TestRunner::oddFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    DataFolder data;
    data.rawScript(QStringLiteral("ibent1-0.da2"), bytes);
    QCOMPARE(playEvent(data.path(), QStringLiteral("1"), 0), expected);
}

void TestRunner::tenMegabyteLine()
{
    DataFolder data;
    QByteArray line = "34" + QByteArray(10 * 1024 * 1024, 'x') + "\r\nE4after\r\n";
    data.rawScript(QStringLiteral("ibent1-0.da2"), line);
    const QStringList t = playEvent(data.path(), QStringLiteral("1"), 0, QStringLiteral("n"));
    QCOMPARE(t.size(), 4);
    QCOMPARE(t.at(1).size(), 12 + 10 * 1024 * 1024);
    QCOMPARE(t.at(3), QStringLiteral("talk 000000 after"));
}

QTEST_GUILESS_MAIN(TestRunner)
#include "tst_runner.moc"
