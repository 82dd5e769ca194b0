// The command lines: velmora2's option table (its own options, Qt's, nothing else),
// and --option=VALUE taken as --option VALUE by every command.
#include "datafolder.h"
#include "gameoptions.h"
#include "platform/commandline.h"

#include <QProcess>
#include <QTest>

using vm2::app::GameOptions;

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void gameOptions_data();
    void gameOptions();
    void splitOptionValues_data();
    void splitOptionValues();
    void gameProgram_data();
    void gameProgram();
    void equalsForm_data();
    void equalsForm();
};

void TestCommandLine::gameOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("data");
    const int play = int(GameOptions::Outcome::Play);
    const int help = int(GameOptions::Outcome::Help);
    const int bad = int(GameOptions::Outcome::BadArguments);
    QTest::newRow("nothing") << QStringList{} << play << "";
    QTest::newRow("--data DIR") << QStringList{"--data", "d"} << play << "d";
    QTest::newRow("--data=DIR") << QStringList{"--data=d"} << play << "d";
    QTest::newRow("the last --data counts")
        << QStringList{"--data", "a", "--data=b"} << play << "b";
    QTest::newRow("a folder named like an option") << QStringList{"--data", "--x"} << play << "--x";
    QTest::newRow("Qt's options") << QStringList{"-platform", "offscreen",        "-style",
                                                 "fusion",    "-reverse",         "-geometry",
                                                 "10x10+0+0", "--qwindowtitle=t", "-display",
                                                 ":1"}
                                  << play << "";
    QTest::newRow("--help") << QStringList{"--help"} << help << "";
    QTest::newRow("-h") << QStringList{"-h", "--data", "d"} << help << "d";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << bad << "";
    QTest::newRow("unknown short option") << QStringList{"-x"} << bad << "";
    QTest::newRow("an argument") << QStringList{"mystory"} << bad << "";
    QTest::newRow("--data without a folder") << QStringList{"--data"} << bad << "";
    QTest::newRow("--data= without a folder") << QStringList{"--data="} << bad << "";
    QTest::newRow("-platform without a name") << QStringList{"-platform"} << bad << "";
    QTest::newRow("a value for a flag") << QStringList{"--help=yes"} << bad << "";
    QTest::newRow("--author") << QStringList{"--data", "d", "--author"} << play << "d";
    QTest::newRow("a value for --author") << QStringList{"--author=yes"} << bad << "";
}

void TestCommandLine::gameOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, outcome);
    QFETCH(QString, data);
    GameOptions options;
    QString error;
    const auto got = GameOptions::parse(QStringList{"velmora2"} + arguments, options, error);
    QCOMPARE(int(got), outcome);
    QCOMPARE(error.isEmpty(), outcome != int(GameOptions::Outcome::BadArguments));
    if (outcome == int(GameOptions::Outcome::Play)) {
        QCOMPARE(options.dataFolder, data);
        QCOMPARE(options.author, arguments.contains(QStringLiteral("--author")));
    }
}

void TestCommandLine::splitOptionValues_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("split");
    QTest::newRow("as given") << QStringList{"--data", "d", "1", "0"}
                              << QStringList{"--data", "d", "1", "0"};
    QTest::newRow("equals") << QStringList{"--data=d", "--inputs=n 1"}
                            << QStringList{"--data", "d", "--inputs", "n 1"};
    QTest::newRow("empty value") << QStringList{"--data="} << QStringList{"--data", ""};
    QTest::newRow("equals in the value")
        << QStringList{"--data=a=b"} << QStringList{"--data", "a=b"};
    QTest::newRow("a value that looks like one")
        << QStringList{"--inputs", "--data=x"} << QStringList{"--inputs", "--data=x"};
    QTest::newRow("a flag is no valued option")
        << QStringList{"--state=1"} << QStringList{"--state=1"};
    QTest::newRow("a positional argument") << QStringList{"a=b"} << QStringList{"a=b"};
}

void TestCommandLine::splitOptionValues()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, split);
    QCOMPARE(vm2::platform::splitOptionValues(arguments, {"--data", "--inputs"}), split);
}

void TestCommandLine::gameProgram_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "usage: velmora2";
    QTest::newRow("an argument") << QStringList{"story"} << 2 << "unexpected argument story";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "usage: velmora2";
    QTest::newRow("--data= without dat2")
        << QStringList{"--data=/nonexistent"} << 2 << "/nonexistent holds no dat2 folder";
}

void TestCommandLine::gameProgram()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    // Before any window: with a platform that could open one, nothing opens.
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    game.setProcessEnvironment(env);
    game.start(QStringLiteral(VM2_PROGRAM_DIR "/velmora2"), arguments);
    QVERIFY(game.waitForFinished(30000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), status);
    const QString text =
        QString::fromUtf8(game.readAllStandardOutput() + game.readAllStandardError());
    QVERIFY2(text.contains(output), qPrintable(text));
}

void TestCommandLine::equalsForm_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("spaced");
    QTest::addColumn<QStringList>("joined");
    QTest::newRow("velmora2-check") << "velmora2-check" << QStringList{"--data", "/nonexistent"}
                                    << QStringList{"--data=/nonexistent"};
    QTest::newRow("velmora2-play")
        << "velmora2-play" << QStringList{"--data", "/nonexistent", "--inputs", "n", "1", "0"}
        << QStringList{"--data=/nonexistent", "--inputs=n", "1", "0"};
    QTest::newRow("velmora2-story test")
        << "velmora2-story" << QStringList{"test", "--data", "/nonexistent", "/nonexistent"}
        << QStringList{"test", "--data=/nonexistent", "/nonexistent"};
}

void TestCommandLine::equalsForm()
{
    QFETCH(QString, program);
    QFETCH(QStringList, spaced);
    QFETCH(QStringList, joined);
    auto run = [&](const QStringList &arguments) {
        QProcess p;
        p.start(QStringLiteral(VM2_PROGRAM_DIR "/") + program, arguments);
        p.waitForFinished(30000);
        return QStringList{QString::number(p.exitCode()),
                           QString::fromUtf8(p.readAllStandardOutput()),
                           QString::fromUtf8(p.readAllStandardError())};
    };
    const QStringList expected = run(spaced);
    // Both forms reach the command itself, which finds no story there.
    QVERIFY2(!expected[2].contains(QLatin1String("usage")), qPrintable(expected.join(u'\n')));
    QCOMPARE(run(joined), expected);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
