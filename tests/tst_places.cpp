// The place buttons and whole games played headless: place moves, the "End" test,
// SAVE and LOAD.
#include "datafolder.h"
#include "player.h"

#include "places/places.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace vm2;
using namespace vm2::test;

namespace {
QStringList playGame(const QString &data, play::Options::Mode mode, const QString &inputs,
                     int *status = nullptr, const QString &store = QString())
{
    play::Options options;
    options.mode = mode;
    options.dataFolder = data;
    options.names = {QStringLiteral("桐原"), QStringLiteral("蒼真"), QStringLiteral("ソウマ")};
    options.inputs = inputs.split(u' ', Qt::SkipEmptyParts);
    options.storeFile = store;
    QString text;
    QTextStream out(&text);
    const int result = play::play(options, out).status;
    if (status)
        *status = result;
    return text.split(u'\n', Qt::SkipEmptyParts);
}

QString row(const QString &code)
{
    engine::PlaceButtons buttons;
    places::SetPlaceButtons(code, buttons);
    QStringList shown;
    for (const auto &b : buttons)
        if (b.visible)
            shown << b.tag + u':' + b.caption;
    return shown.join(u' ');
}
} // namespace

class TestPlaces : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rows_data();
    void rows();
    void rowLeavesOtherButtons();
    void moves();
    void endTest_data();
    void endTest();
    void badPlaceInput();
    void saveAndLoadAcrossRuns();
    void failedSaveIsNotReportedAsDone_data();
    void failedSaveIsNotReportedAsDone();
    void snapshots();
};

void TestPlaces::rows_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("buttons");
    // The rows of the town's places are the place table itself, and moves() plays
    // through two of them; these are the codes that show no row.
    QTest::newRow("B") << "B"
                       << "";
    QTest::newRow("9") << "9"
                       << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("lower-case a") << "a"
                                  << "";
}

void TestPlaces::rows()
{
    QFETCH(QString, code);
    QFETCH(QString, buttons);
    QCOMPARE(row(code), buttons);
}

void TestPlaces::rowLeavesOtherButtons()
{
    engine::PlaceButtons buttons;
    places::SetPlaceButtons(QStringLiteral("2"), buttons);
    places::SetPlaceButtons(QStringLiteral("5"), buttons);
    // Only button 0 is rewritten; the caller hides the others first.
    QCOMPARE(buttons[0].caption, QStringLiteral("生徒会室を出る"));
    QVERIFY(buttons[4].visible);
    QCOMPARE(buttons[4].caption, QStringLiteral("大通り"));
}

void TestPlaces::moves()
{
    DataFolder data;
    data.standardPictures();
    data.script(QStringLiteral("ibent1-0.da2"), {"E4home"});
    data.script(QStringLiteral("ibentA-0.da2"), {"34street", "9A1"});
    data.script(QStringLiteral("ibentA-1.da2"), {"E4street again", "A"});
    data.script(QStringLiteral("ibentB-0.da2"), {"E4live"});
    int status = -1;
    const QStringList t =
        playGame(data.path(), play::Options::Mode::NewGame, "p8 n p1 p8 n p8", &status);
    const QStringList expected{
        "place 自宅", "run 1 0", "talk 000000 home",
        "buttons 2:アース学園 3:裏山 4:アース病院 8:大通り",
        // 大通り: label from the caption, code A, its counter 8
        "place 大通り", "hide", "stage dat1/backA.da1", "run A 0", "talk 000000 street", "wait",
        "count 8 1", "talk 000000 ",
        "buttons 1:自宅 2:アース学園 4:アース病院 3:裏山 9:ライブハウス", "place 自宅", "hide",
        "stage dat1/back1.da1", "run 1 0", "talk 000000 home", "talk 000000 ",
        "buttons 2:アース学園 3:裏山 4:アース病院 8:大通り",
        // the next day leaves the hero at home, whatever place was entered
        "place 大通り", "hide", "stage dat1/backA.da1", "run A 1", "talk 000000 street again",
        "stage dat1/back1.da1", "place 自宅", "talk 000000 翌日になりました", "wait", "run 1 0",
        "talk 000000 home", "talk 000000 ", "buttons 2:アース学園 3:裏山 4:アース病院 8:大通り",
        "place 大通り", "hide", "stage dat1/backA.da1", "run A 1", "talk 000000 street again",
        "stage dat1/back1.da1", "place 自宅", "talk 000000 翌日になりました", "wait",
        "stop out of input at dat2/ibentA-1.da2:2"};
    QCOMPARE(t, expected);
    QCOMPARE(status, 3);
}

void TestPlaces::endTest_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<bool>("buttons");
    QTest::newRow("End inside a word") << ""
                                       << "E4WeekEnd"
                                       << "p2" << false;
    QTest::newRow("lower-case end") << ""
                                    << "E4the end"
                                    << "p2" << true;
    QTest::newRow("ENDING") << ""
                            << "E4ENDING"
                            << "p2" << true;
    // The label holds what was set last, in a run or not: a move whose event writes
    // nothing finds the start-up's message, or the notice written after it.
    QTest::newRow("start-up message kept") << "E4WeekEnd"
                                           << ""
                                           << "p2" << false;
    QTest::newRow("SAVE notice over it") << "E4WeekEnd"
                                         << ""
                                         << "save p2" << true;
}

void TestPlaces::endTest()
{
    QFETCH(QString, home);
    QFETCH(QString, message);
    QFETCH(QString, inputs);
    QFETCH(bool, buttons);
    DataFolder data;
    data.standardPictures();
    data.script(QStringLiteral("ibent1-0.da2"), home.isEmpty() ? QStringList() : QStringList{home});
    data.script(QStringLiteral("ibent2-0.da2"),
                message.isEmpty() ? QStringList() : QStringList{message});
    const QStringList t = playGame(data.path(), play::Options::Mode::NewGame, inputs);
    QCOMPARE(t.last().startsWith(QStringLiteral("buttons 1:")), buttons);
}

void TestPlaces::badPlaceInput()
{
    DataFolder data;
    data.standardPictures();
    data.script(QStringLiteral("ibent1-0.da2"), {});
    data.script(QStringLiteral("ibent2-0.da2"), {"74400", "B4"});
    data.script(QStringLiteral("ibent9-4.da2"), {});
    int status = -1;
    QStringList t = playGame(data.path(), play::Options::Mode::NewGame, "p5", &status);
    QCOMPARE(t.last(), QStringLiteral("error input 1: no visible place button has Tag 5"));
    QCOMPARE(status, 2);
    // After an ending no place is offered.
    t = playGame(data.path(), play::Options::Mode::NewGame, "p2 p1", &status);
    QCOMPARE(t.at(t.size() - 3),
             QStringLiteral("talk FF0F7B Happy End.\\r\\n\\r\\nThank you for your Playing!"));
    QCOMPARE(t.last(), QStringLiteral("error input 2: no visible place button has Tag 1"));
    t = playGame(data.path(), play::Options::Mode::NewGame, "n", &status);
    QCOMPARE(
        t.last(),
        QStringLiteral("error input 1: expected p<TAG>, save or load between events, got \"n\""));
}

void TestPlaces::saveAndLoadAcrossRuns()
{
    DataFolder data;
    data.standardPictures();
    data.script(QStringLiteral("ibent1-0.da2"), {"E4home @1"});
    data.script(QStringLiteral("ibent2-0.da2"), {"72051", "921", "951"});
    data.script(QStringLiteral("ibent2-1.da2"), {"E4second visit"});
    QTemporaryDir dir;
    const QString store = dir.filePath(QStringLiteral("store.ini"));
    int status = -1;
    QStringList t = playGame(data.path(), play::Options::Mode::NewGame, "p2 save", &status, store);
    QCOMPARE(t.last(), QStringLiteral("talk 000000 SAVEしました！"));
    QCOMPARE(status, 0);
    QVERIFY(t.contains(QStringLiteral("store Loveval2 -5")));
    QVERIFY(t.contains(QStringLiteral("store Ibentcnt10 0")));
    QVERIFY(t.contains(QStringLiteral("store PName3 ソウマ")));

    // A later run loads it: names and values come back, the game resumes at home.
    t = playGame(data.path(), play::Options::Mode::LoadGame, "p2 load", &status, store);
    QCOMPARE(status, 0);
    const QStringList expected{
        "place 自宅", "run 1 0", "talk 000000 home 桐原",
        "buttons 2:アース学園 3:裏山 4:アース病院 8:大通り",
        // the saved counter of place 2 plays its second event
        "place アース学園", "hide", "stage dat1/back2.da1", "run 2 1", "talk 000000 second visit",
        "talk 000000 ", "buttons 1:自宅 3:裏山 4:アース病院 5:生徒会室 8:大通り", "hide",
        "stage dat1/back1.da1", "place 自宅", "talk 000000 LOADしました！", "run 1 0",
        "talk 000000 home 桐原", "buttons 2:アース学園 3:裏山 4:アース病院 8:大通り"};
    QCOMPARE(t, expected);
}

void TestPlaces::failedSaveIsNotReportedAsDone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("its folder a plain file") << "blocked";
    QTest::newRow("a FIFO") << "fifo";
    // QSettings would rewrite it without the line, and more.
    QTest::newRow("a line that is no setting") << "malformed";
}

void TestPlaces::failedSaveIsNotReportedAsDone()
{
    QFETCH(QString, kind);
    DataFolder data;
    data.standardPictures();
    data.script(QStringLiteral("ibent1-0.da2"), {});
    QTemporaryDir dir;
    QString store = dir.filePath(QStringLiteral("store.ini"));
    const QByteArray malformed = "[setting]\nPName1=A\nno equals sign\n";
    if (kind == QLatin1String("blocked")) {
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        store = blocker.fileName() + QStringLiteral("/store.ini");
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(store).constData(), 0600), 0);
    } else {
        QFile file(store);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(malformed);
    }
    const QStringList t =
        playGame(data.path(), play::Options::Mode::NewGame, "save", nullptr, store);
    QCOMPARE(t.last(), QStringLiteral("talk 000000 SAVEできませんでした！"));
    if (kind == QLatin1String("malformed")) {
        QFile file(store);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), malformed);
    }
}

void TestPlaces::snapshots()
{
    DataFolder data;
    data.picture(QStringLiteral("back1.da1"), 400, 400, QColor(10, 20, 30));
    data.picture(QStringLiteral("back2.da1"), 400, 400, QColor(200, 100, 50));
    data.script(QStringLiteral("ibent1-0.da2"), {"11", "34a"});
    data.script(QStringLiteral("ibent2-0.da2"), {"40000", "x", "y"});
    QTemporaryDir dir;
    play::Options options;
    options.mode = play::Options::Mode::NewGame;
    options.dataFolder = data.path();
    options.inputs = {QStringLiteral("n"), QStringLiteral("p2"), QStringLiteral("1")};
    options.snapshotFolder = dir.filePath(QStringLiteral("shots"));
    QString text;
    QTextStream out(&text);
    QCOMPARE(play::play(options, out).status, play::Ok);
    const QImage first(options.snapshotFolder + QStringLiteral("/wait-001.png"));
    const QImage second(options.snapshotFolder + QStringLiteral("/wait-002.png"));
    const QImage last(options.snapshotFolder + QStringLiteral("/final.png"));
    QCOMPARE(first.size(), QSize(400, 400));
    QCOMPARE(first.pixel(5, 5), qRgb(10, 20, 30));
    QCOMPARE(second.pixel(5, 5), qRgb(200, 100, 50));
    QCOMPARE(last.pixel(399, 399), qRgb(200, 100, 50));
    QVERIFY(!QFile::exists(options.snapshotFolder + QStringLiteral("/wait-003.png")));
}

QTEST_GUILESS_MAIN(TestPlaces)
#include "tst_places.moc"
