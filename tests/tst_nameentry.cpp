#include "nameentrydialog.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using vm2::app::NameEntryDialog;

// The name entry's OK rule (all three fields hold text) and Enter rule (Enter moves
// on like Tab while OK is disabled, and confirms once it is enabled).
class TestNameEntry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void okRule_data();
    void okRule();
    void okFollowsDeletion();
    void enterMovesOn_data();
    void enterMovesOn();
    void enterConfirms_data();
    void enterConfirms();
    void escapeCancels();
    void cancelButton();
    void okKeepsTextsAsTyped();
    void inputMethodText();
};

void TestNameEntry::okRule_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("nickname");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all empty") << ""
                               << ""
                               << "" << false;
    QTest::newRow("two of three") << "Kirihara"
                                  << "Soma"
                                  << "" << false;
    QTest::newRow("first missing") << ""
                                   << "Soma"
                                   << "So" << false;
    QTest::newRow("all three") << "Kirihara"
                               << "Soma"
                               << "So" << true;
    QTest::newRow("blanks count") << " "
                                  << " "
                                  << " " << true;
    QTest::newRow("one letter each") << "a"
                                     << "b"
                                     << "c" << true;
}

void TestNameEntry::okRule()
{
    QFETCH(QString, surname);
    QFETCH(QString, given);
    QFETCH(QString, nickname);
    QFETCH(bool, enabled);
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    QTest::keyClicks(entry.field(1), surname);
    QTest::keyClicks(entry.field(2), given);
    QTest::keyClicks(entry.field(3), nickname);
    QCOMPARE(entry.okButton()->isEnabled(), enabled);
}

void TestNameEntry::okFollowsDeletion()
{
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    QTest::keyClicks(entry.field(1), "a");
    QTest::keyClicks(entry.field(2), "b");
    QVERIFY(!entry.okButton()->isEnabled());
    QTest::keyClicks(entry.field(3), "c");
    QVERIFY(entry.okButton()->isEnabled());
    QTest::keyClick(entry.field(2), Qt::Key_Backspace);
    QVERIFY(!entry.okButton()->isEnabled());
}

void TestNameEntry::enterMovesOn_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("Text1") << 1 << "Text2";
    QTest::newRow("Text2") << 2 << "Text3";
    // OK is still disabled: Enter goes past it to CANCEL.
    QTest::newRow("Text3") << 3 << "Command2";
}

void TestNameEntry::enterMovesOn()
{
    QFETCH(int, from);
    QFETCH(QString, to);
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    QSignalSpy finished(&entry, &QDialog::finished);
    entry.field(from)->setFocus();
    QTest::keyClick(entry.field(from), Qt::Key_Return);
    QCOMPARE(entry.focusWidget()->objectName(), to);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(entry.field(from)->text(), QString());
}

void TestNameEntry::enterConfirms_data()
{
    QTest::addColumn<int>("field");
    QTest::newRow("Text1") << 1;
    QTest::newRow("Text2") << 2;
    QTest::newRow("Text3") << 3;
}

void TestNameEntry::enterConfirms()
{
    QFETCH(int, field);
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    QSignalSpy finished(&entry, &QDialog::finished);
    for (int i = 1; i <= 3; ++i)
        QTest::keyClicks(entry.field(i), "x");
    entry.field(field)->setFocus();
    QTest::keyClick(entry.field(field), Qt::Key_Return);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(entry.result(), int(QDialog::Accepted));
}

void TestNameEntry::escapeCancels()
{
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    QTest::keyClicks(entry.field(1), "abc");
    QTest::keyClick(entry.field(1), Qt::Key_Escape);
    QCOMPARE(entry.result(), int(QDialog::Rejected));
    QVERIFY(!entry.isVisible());
}

void TestNameEntry::cancelButton()
{
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    QTest::mouseClick(entry.cancelButton(), Qt::LeftButton);
    QCOMPARE(entry.result(), int(QDialog::Rejected));
}

void TestNameEntry::okKeepsTextsAsTyped()
{
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    const QString longName(5000, u'長');
    entry.field(1)->setText(QStringLiteral(" 桐原"));
    entry.field(2)->setText(longName);
    entry.field(3)->setText(QStringLiteral("ＳＯＵＭＡ "));
    QTest::mouseClick(entry.okButton(), Qt::LeftButton);
    QCOMPARE(entry.result(), int(QDialog::Accepted));
    QCOMPARE(entry.surname(), QStringLiteral(" 桐原"));
    QCOMPARE(entry.givenName(), longName);
    QCOMPARE(entry.nickname(), QStringLiteral("ＳＯＵＭＡ "));
}

void TestNameEntry::inputMethodText()
{
    // Japanese arrives from the input method as committed text.
    NameEntryDialog entry;
    entry.show();
    QVERIFY(QTest::qWaitForWindowExposed(&entry));
    for (int i = 1; i <= 3; ++i) {
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("そうま"));
        QCoreApplication::sendEvent(entry.field(i), &commit);
    }
    QCOMPARE(entry.nickname(), QStringLiteral("そうま"));
    QVERIFY(entry.okButton()->isEnabled());
}

QTEST_MAIN(TestNameEntry)
#include "tst_nameentry.moc"
