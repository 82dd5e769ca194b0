// The demo story's routes end where the whole route sends them, not the last answer
// alone: for each heroine a walkthrough that was kind all along and cold at the end
// and one that was cold all along and kind at the end both reach her bad ending,
// and her bad walkthrough already parts from the happy one before the last choice.
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

struct Played {
    vm2::play::Result result;
    QList<int> changes; // per choice: how the heroine's affection moved
};

Played play(const Route &r, int heroine, const QString &storeFile)
{
    vm2::play::Options options;
    options.mode = vm2::play::Options::Mode::NewGame;
    options.dataFolder = QStringLiteral(VM2_PROGRAM_DIR);
    options.names = r.names;
    options.inputs = r.inputs;
    options.storeFile = storeFile;
    QString text;
    QTextStream out(&text);
    Played p;
    p.result = vm2::play::play(options, out);
    out.flush();
    // How each answer moved her affection: the transcript's value changes between
    // one choice and the next.
    const QStringList transcript = text.split(u'\n', Qt::SkipEmptyParts);
    const QString love = QStringLiteral("love %1 ").arg(heroine);
    int value = 0;
    bool inChoice = false;
    int atChoice = 0;
    for (const QString &line : transcript) {
        if (line.startsWith(QLatin1String("choose "))) {
            if (inChoice)
                p.changes << value - atChoice;
            inChoice = true;
            atChoice = value;
        } else if (line.startsWith(love)) {
            value = line.mid(love.size()).toInt();
        } else if (line.startsWith(QLatin1String("run 9 "))) {
            break;
        }
    }
    if (inChoice)
        p.changes << value - atChoice;
    return p;
}

} // namespace

class TestDemoRoutes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void affectionDecides_data();
    void affectionDecides();
};

void TestDemoRoutes::affectionDecides_data()
{
    QTest::addColumn<QString>("heroine");
    QTest::addColumn<int>("number");
    QTest::newRow("shiori") << QStringLiteral("shiori") << 2;
    QTest::newRow("natsumi") << QStringLiteral("natsumi") << 3;
    QTest::newRow("yukino") << QStringLiteral("yukino") << 4;
    QTest::newRow("rio") << QStringLiteral("rio") << 5;
}

void TestDemoRoutes::affectionDecides()
{
    QFETCH(QString, heroine);
    QFETCH(int, number);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto run = [&](const QString &name, bool happy) {
        const Route r = readRoute(heroine + u'-' + name);
        [&] {
            QCOMPARE(r.ending, happy ? QStringLiteral("happy") : QStringLiteral("bad"));
            QCOMPARE(r.heroine, number);
        }();
        const Played p = play(r, number, dir.filePath(name + QStringLiteral(".ini")));
        [&] {
            QCOMPARE(p.result.status, vm2::play::Ok);
            QCOMPARE(p.result.message, QString());
            QCOMPARE(p.result.endings.size(), std::size_t(1));
            QCOMPARE(p.result.endings.front().heroine, number);
            QCOMPARE(p.result.endings.front().happy, happy);
        }();
        return std::make_pair(r, p);
    };
    const auto [happyRoute, happy] = run(QStringLiteral("happy"), true);
    const auto [badRoute, bad] = run(QStringLiteral("bad"), false);
    const auto [kindRoute, kindThenCold] = run(QStringLiteral("kind-cold-last"), false);
    const auto [coldRoute, coldThenKind] = run(QStringLiteral("cold-kind-last"), false);
    if (QTest::currentTestFailed())
        return;

    // The bad walkthrough answers differently before the last choice, not only there.
    const qsizetype last = lastAnswer(happyRoute.inputs);
    QVERIFY(last > 0);
    QVERIFY(bad.changes.size() >= 2);
    QVERIFY(bad.changes.mid(0, bad.changes.size() - 1) !=
            happy.changes.mid(0, happy.changes.size() - 1));

    // Kind at every choice, cold at the last one: still the bad ending.
    const QList<int> &k = kindThenCold.changes;
    QVERIFY(k.size() >= 8);
    for (qsizetype i = 0; i + 1 < k.size(); ++i)
        QVERIFY2(k.at(i) > 0, qPrintable(QStringLiteral("choice %1").arg(i + 1)));
    QVERIFY(k.last() < 0);

    // Cold at every choice, kind at the last one: the last answer alone does not win.
    const QList<int> &c = coldThenKind.changes;
    QCOMPARE(c.size(), k.size());
    for (qsizetype i = 0; i + 1 < c.size(); ++i)
        QVERIFY2(c.at(i) < 0, qPrintable(QStringLiteral("choice %1").arg(i + 1)));
    QVERIFY(c.last() > 0);
}

QTEST_MAIN(TestDemoRoutes)
#include "tst_demoroutes.moc"
