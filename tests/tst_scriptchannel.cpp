#include "platform/scriptchannel.h"
#include "platform/scripterror.h"

#include <QTemporaryFile>
#include <QTest>

using vm2::platform::ScriptChannel;

class TestScriptChannel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lines_data();
    void lines();
};

void TestScriptChannel::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
}

void TestScriptChannel::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(bytes);
    file.close();
    ScriptChannel channel;
    channel.open(file.fileName(), QStringLiteral("x"));
    QStringList got;
    while (!channel.atEnd())
        got << channel.readLine();
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestScriptChannel)
#include "tst_scriptchannel.moc"
