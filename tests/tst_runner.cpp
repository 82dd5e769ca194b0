#include "datafolder.h"

#include <QTest>

using namespace vm2::test;

class TestRunner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void smoke();
};

void TestRunner::smoke()
{
    DataFolder data;
    data.script(QStringLiteral("ibent1-0.da2"), {QStringLiteral("34hello")});
    int status = -1;
    const QStringList lines = playEvent(data.path(), QStringLiteral("1"), 0, QStringLiteral("n"), &status);
    QCOMPARE(status, 0);
    QCOMPARE(lines, (QStringList{"run 1 0", "talk 000000 hello", "wait"}));
}

QTEST_GUILESS_MAIN(TestRunner)
#include "tst_runner.moc"
