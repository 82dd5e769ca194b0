// velmora2-play as authors run it: the command line, the exit statuses, UTF-8 output.
#include "datafolder.h"

#include <QProcess>
#include <QTest>

using namespace vm2::test;

class TestPlayCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void run_data();
    void run();

private:
    DataFolder m_data;
};

void TestPlayCli::initTestCase()
{
    m_data.standardPictures();
    m_data.script(QStringLiteral("ibent1-0.da2"), {"31「@3」", "40000", "はい", "いいえ"});
    m_data.script(QStringLiteral("ibent2-0.da2"), {"5x"});
}

void TestPlayCli::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("event") << QStringList{"--names", "桐原,蒼真,ソウマ", "--inputs", "n  1", "1",
                                          "0"}
                           << 0 << "choose 1";
    QTest::newRow("state line")
        << QStringList{"--inputs", "n 2", "--state", "1", "0"} << 0
        << "state PlaceCode= Loveval=0,0,0,0 Ibentcnt=0,0,0,0,0,0,0,0,0,0,0 "
           "Ibentflag=0,0,0,0,0,0,0,0,0";
    QTest::newRow("script error") << QStringList{"2", "0"} << 1
                                  << "error dat2/ibent2-0.da2:1: Type mismatch: \"5x\" has 'x' at "
                                     "position 2 where its flag number needs a digit";
    QTest::newRow("wrong input")
        << QStringList{"--inputs", "1", "1", "0"} << 2
        << "error input 1: expected n at an advance wait, got \"1\" at dat2/ibent1-0.da2:1";
    QTest::newRow("out of input") << QStringList{"--inputs", "n", "1", "0"} << 3
                                  << "stop out of input at dat2/ibent1-0.da2:2";
    QTest::newRow("whole game") << QStringList{"--new", "a,b,c", "--inputs", "n 1"} << 0
                                << "buttons 2:アース学園 3:裏山 4:アース病院 8:大通り";
    QTest::newRow("values after equals signs") << QStringList{"--data=/nonexistent",
                                                              "--data=" + m_data.path(),
                                                              "--names=桐原,蒼真,ソウマ",
                                                              "--inputs=n  1",
                                                              "1",
                                                              "0"}
                                               << 0 << "choose 1";
    QTest::newRow("usage") << QStringList{"--bogus"} << 2 << "";
    QTest::newRow("missing event") << QStringList{"1"} << 2 << "";
    QTest::newRow("bonus not earned")
        << QStringList{"--bonus"} << 2
        << "error --bonus: the four happy endings have not all been seen";
}

void TestPlayCli::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, lastLine);
    QProcess player;
    player.start(QStringLiteral(VM2_PROGRAM_DIR "/velmora2-play"),
                 QStringList{"--data", m_data.path()} + arguments);
    QVERIFY(player.waitForFinished(30000));
    QCOMPARE(player.exitCode(), status);
    const QStringList lines =
        QString::fromUtf8(player.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(lines.size() - 1), lastLine);
    if (lastLine.isEmpty())
        QVERIFY(player.readAllStandardError().contains("usage"));
}

QTEST_GUILESS_MAIN(TestPlayCli)
#include "tst_playcli.moc"
