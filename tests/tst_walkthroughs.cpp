// Plays the demo story from start to end with the walkthroughs in content/demo/walkthroughs/:
// every heroine's happy and bad ending, and the bonus event once all four happy
// endings are on record. Each walkthrough is the list of inputs of the headless
// player's whole-game mode, as a player would give them.
#include "player.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kHappyWords =
    QStringLiteral("talk FF0F7B Happy End.\\r\\n\\r\\nThank you for your Playing!");
const QString kBadWords = QStringLiteral("talk 000000 The End.\\r\\n\\r\\nCould you Try Again?");

// The happy and the bad ending event of each heroine, in place "9".
int endingEvent(int heroine, bool happy)
{
    if (heroine == 5)
        return happy ? 0 : 1;
    return happy ? heroine : heroine + 3;
}

struct Walkthrough {
    QStringList names;
    QString ending; // happy, bad or bonus
    int heroine = 0;
    QStringList inputs;
};

Walkthrough readWalkthrough(const QString &name)
{
    QFile file(QStringLiteral(VM2_WALKTHROUGH_DIR "/") + name + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read walkthrough %s", qPrintable(file.fileName()));
    Walkthrough w;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString value = line.section(u':', 1).trimmed();
        if (line.startsWith(QStringLiteral("names:"))) {
            w.names = value.split(u',');
        } else if (line.startsWith(QStringLiteral("ending:"))) {
            w.ending = value.section(u' ', 0, 0);
            w.heroine = value.section(u' ', 1, 1).toInt();
        } else if (line.startsWith(QStringLiteral("inputs:"))) {
            w.inputs = value.split(u' ', Qt::SkipEmptyParts);
        }
    }
    return w;
}

// Plays a walkthrough as a new game (or, for the bonus, from the title picture)
// with its settings store in `storeFile`; returns the transcript lines.
QStringList play(const Walkthrough &w, const QString &storeFile, int &status)
{
    vm2::play::Options options;
    options.mode = w.ending == QLatin1String("bonus") ? vm2::play::Options::Mode::Bonus
                                                      : vm2::play::Options::Mode::NewGame;
    options.dataFolder = QStringLiteral(VM2_PROGRAM_DIR);
    options.names = w.names;
    options.inputs = w.inputs;
    options.storeFile = storeFile;
    QString text;
    QTextStream out(&text);
    status = vm2::play::play(options, out);
    return text.split(u'\n', Qt::SkipEmptyParts);
}

QStringList errors(const QStringList &transcript)
{
    QStringList found;
    for (const QString &line : transcript) {
        if (line.startsWith(QStringLiteral("error")) || line.startsWith(QStringLiteral("stop")))
            found << line;
    }
    return found;
}

} // namespace

class TestWalkthroughs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void endings_data();
    void endings();
    void bonusAfterAllHappyEndings();
};

void TestWalkthroughs::endings_data()
{
    QTest::addColumn<QString>("name");
    for (const char *heroine : {"shiori", "natsumi", "yukino", "rio"}) {
        for (const char *ending : {"happy", "bad"}) {
            const QString name =
                QStringLiteral("%1-%2").arg(QLatin1String(heroine), QLatin1String(ending));
            QTest::newRow(qPrintable(name)) << name;
        }
    }
}

void TestWalkthroughs::endings()
{
    QFETCH(QString, name);
    const Walkthrough w = readWalkthrough(name);
    const bool happy = w.ending == QLatin1String("happy");
    QVERIFY(happy || w.ending == QLatin1String("bad"));
    QVERIFY(w.heroine >= 2 && w.heroine <= 5);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    int status = -1;
    const QStringList transcript = play(w, dir.filePath(QStringLiteral("store.ini")), status);
    QCOMPARE(errors(transcript), QStringList());
    QCOMPARE(status, int(vm2::play::Ok));

    // The ending event of this heroine ran, then the closing words stayed on screen.
    QVERIFY(transcript.contains(QStringLiteral("run 9 %1").arg(endingEvent(w.heroine, happy))));
    QVERIFY(!transcript.contains(QStringLiteral("run 9 %1").arg(endingEvent(w.heroine, !happy))));
    const QString words = happy ? kHappyWords : kBadWords;
    QVERIFY(transcript.contains(words));
    const QStringList records = transcript.filter(QStringLiteral("store Endcnt"));
    if (happy) {
        QCOMPARE(records, QStringList{QStringLiteral("store Endcnt%1 1").arg(w.heroine)});
        QCOMPARE(transcript.constLast(), records.constFirst());
    } else {
        QCOMPARE(records, QStringList());
        QCOMPARE(transcript.constLast(), words);
    }
    // The game is over: no place is offered after the ending.
    const qsizetype end = transcript.indexOf(words);
    QCOMPARE(transcript.mid(end).filter(QStringLiteral("buttons")), QStringList());
}

void TestWalkthroughs::bonusAfterAllHappyEndings()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString store = dir.filePath(QStringLiteral("store.ini"));
    int status = -1;
    for (const char *heroine : {"shiori", "natsumi", "yukino", "rio"}) {
        const QStringList transcript =
            play(readWalkthrough(QLatin1String(heroine) + QStringLiteral("-happy")), store, status);
        QCOMPARE(errors(transcript), QStringList());
        QVERIFY(transcript.contains(kHappyWords));
    }
    const QStringList transcript = play(readWalkthrough(QStringLiteral("bonus")), store, status);
    QCOMPARE(errors(transcript), QStringList());
    QCOMPARE(status, int(vm2::play::Ok));
    QCOMPARE(transcript.value(0), QStringLiteral("run 9 8"));
    QVERIFY(transcript.filter(QStringLiteral("overlay dat1/ibent")).size() == 1);
    QCOMPARE(transcript.filter(QRegularExpression(QStringLiteral("^run "))).size(), 1);
    QCOMPARE(transcript.constLast(), QStringLiteral("wait"));
}

QTEST_MAIN(TestWalkthroughs)
#include "tst_walkthroughs.moc"
