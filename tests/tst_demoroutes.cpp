// The demo story's routes end where the player's last answer sends them: for each
// heroine the happy and the bad walkthrough give the same inputs up to the final
// choice of the route, answer it differently, and each reaches the ending it names.
#include "player.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Route {
    QStringList names;
    QString ending; // happy or bad
    int heroine = 0;
    QStringList inputs;
};

Route readRoute(const QString &name)
{
    QFile file(QStringLiteral(VM2_WALKTHROUGH_DIR "/") + name + QStringLiteral(".txt"));
    Route r;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return r;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString value = line.section(u':', 1).trimmed();
        if (line.startsWith(QLatin1String("names:"))) {
            r.names = value.split(u',');
        } else if (line.startsWith(QLatin1String("ending:"))) {
            r.ending = value.section(u' ', 0, 0);
            r.heroine = value.section(u' ', 1, 1).toInt();
        } else if (line.startsWith(QLatin1String("inputs:"))) {
            r.inputs = value.split(u' ', Qt::SkipEmptyParts);
        }
    }
    return r;
}

// The position of the answer to the last choice among the inputs, or -1.
qsizetype lastAnswer(const QStringList &inputs)
{
    for (qsizetype i = inputs.size() - 1; i >= 0; --i) {
        if (inputs.at(i) == QLatin1String("1") || inputs.at(i) == QLatin1String("2"))
            return i;
    }
    return -1;
}

vm2::play::Result play(const Route &r, const QString &storeFile)
{
    vm2::play::Options options;
    options.mode = vm2::play::Options::Mode::NewGame;
    options.dataFolder = QStringLiteral(VM2_PROGRAM_DIR);
    options.names = r.names;
    options.inputs = r.inputs;
    options.storeFile = storeFile;
    QString text;
    QTextStream out(&text);
    return vm2::play::play(options, out);
}

} // namespace

class TestDemoRoutes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lastAnswerDecides_data();
    void lastAnswerDecides();
};

void TestDemoRoutes::lastAnswerDecides_data()
{
    QTest::addColumn<QString>("heroine");
    QTest::addColumn<int>("number");
    QTest::newRow("shiori") << QStringLiteral("shiori") << 2;
    QTest::newRow("natsumi") << QStringLiteral("natsumi") << 3;
    QTest::newRow("yukino") << QStringLiteral("yukino") << 4;
    QTest::newRow("rio") << QStringLiteral("rio") << 5;
}

void TestDemoRoutes::lastAnswerDecides()
{
    QFETCH(QString, heroine);
    QFETCH(int, number);
    const Route happy = readRoute(heroine + QStringLiteral("-happy"));
    const Route bad = readRoute(heroine + QStringLiteral("-bad"));
    QCOMPARE(happy.ending, QStringLiteral("happy"));
    QCOMPARE(bad.ending, QStringLiteral("bad"));
    QCOMPARE(happy.heroine, number);
    QCOMPARE(bad.heroine, number);
    QCOMPARE(bad.names, happy.names);

    // Everything before the last answer is the same; the last answer differs.
    const qsizetype last = lastAnswer(happy.inputs);
    QVERIFY(last > 0);
    QCOMPARE(lastAnswer(bad.inputs), last);
    QCOMPARE(bad.inputs.mid(0, last), happy.inputs.mid(0, last));
    QVERIFY(bad.inputs.at(last) != happy.inputs.at(last));

    for (const Route *r : {&happy, &bad}) {
        const bool isHappy = r == &happy;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const vm2::play::Result result = play(*r, dir.filePath(QStringLiteral("store.ini")));
        QCOMPARE(result.status, vm2::play::Ok);
        QCOMPARE(result.message, QString());
        // The game ends with the route's ending, after its last answer: the ending
        // follows the last choice.
        QCOMPARE(result.endings.size(), std::size_t(1));
        QCOMPARE(result.endings.front().heroine, number);
        QCOMPARE(result.endings.front().happy, isHappy);
        QVERIFY2(result.overAfter > last, qPrintable(r->ending));
    }
}

QTEST_MAIN(TestDemoRoutes)
#include "tst_demoroutes.moc"
