#include "aboutbox.h"
#include "clicklabel.h"
#include "datafolder.h"
#include "mainwindow.h"
#include "nameentrydialog.h"
#include "platform/settingsstore.h"
#include "save/savedgame.h"
#include "session.h"
#include "stageview.h"
#include "titlewindow.h"
#include "windowdriver.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace vm2;
using app::MainWindow;
using app::TitleWindow;

namespace {

const QString kHome = QStringLiteral("自宅");

// A small story: home asks a question and raises heroine 2's affection; the hill
// has one message; the school plays heroine 2's ending.
void writeStory(test::DataFolder &data)
{
    data.standardPictures();
    data.script(QStringLiteral("ibent1-0.da2"), {"11", "34おはよう、@3。", "40101", "学校へ行く",
                                                 "家にいる", "72400", "911", "E4行ってきます"});
    data.script(QStringLiteral("ibent3-0.da2"), {"13", "34静かな裏山だ。"});
    data.script(QStringLiteral("ibent2-0.da2"), {"12", "32ここは学園よ。", "B2"});
    data.script(QStringLiteral("ibent9-2.da2"), {"32おめでとう！"});
    data.script(QStringLiteral("ibent9-5.da2"), {"32残念……"});
    data.script(QStringLiteral("ibent9-8.da2"), {"34ボーナスイベント"});
}

// One program run: a data folder, a settings store in a temporary INI file and the
// session, with the desktop's link handler and the error box replaced by records.
struct Run {
    Run()
    {
        writeStory(data);
        store = std::make_unique<platform::QSettingsStore>(storeDir.filePath("vm2.ini"));
        session = std::make_unique<app::Session>(*store, data.path());
        session->setUrlOpener([this](const QUrl &url) { opened << url; });
        session->setErrorReporter([this](const QString &message) { errors << message; });
        finished = std::make_unique<QSignalSpy>(session.get(), &app::Session::finished);
    }

    engine::GameState &state() { return session->game().state(); }
    MainWindow *main() { return session->mainWindow(); }
    TitleWindow *title() { return session->titleWindow(); }

    test::DataFolder data;
    QTemporaryDir storeDir;
    std::unique_ptr<platform::QSettingsStore> store;
    std::unique_ptr<app::Session> session;
    std::unique_ptr<QSignalSpy> finished;
    QList<QUrl> opened;
    QStringList errors;
};

// Clicks NEW on the title screen and answers the name entry with these names
// (or cancels it when `names` is empty).
void newGame(Run &run, const QStringList &names)
{
    test::onNextModal([names](QWidget *dialog) {
        auto *entry = qobject_cast<app::NameEntryDialog *>(dialog);
        QVERIFY(entry);
        if (names.isEmpty()) {
            QTest::mouseClick(entry->cancelButton(), Qt::LeftButton);
            return;
        }
        for (int i = 1; i <= 3; ++i)
            entry->field(i)->setText(names[i - 1]);
        QTest::mouseClick(entry->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(run.title()->button(1), Qt::LeftButton);
}

QStringList visiblePlaceCaptions(MainWindow *window)
{
    QStringList captions;
    for (int i = 0; i < 5; ++i)
        if (window->placeButton(i)->isVisible())
            captions << window->placeButton(i)->text();
    return captions;
}

} // namespace

class TestWindowFlow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newThenCancel();
    void wholeGame();
    void bonusCheck_data();
    void bonusCheck();
    void loadWithNothingSaved();
    void loadRewritesNames();
    void earlySpaceDoesNotSkip();
    void hugeMessage();
    void spaceFromAnyControl_data();
    void spaceFromAnyControl();
    void closeDuringWait_data();
    void closeDuringWait();
    void closeBetweenEvents();
    void scriptError();
    void aboutBox_data();
    void aboutBox();
    void aboutFromMain();
    void endButtons();
    void closeTitle();
};

void TestWindowFlow::newThenCancel()
{
    Run run;
    run.state().Loveval(2) = 7;
    run.state().Ibentcnt(3) = 2;
    run.state().Ibentflag(4) = 1;
    run.state().PName(1) = QStringLiteral("前");
    run.session->showTitle();
    newGame(run, {});
    QTRY_COMPARE(test::visibleWindows<TitleWindow>(), 1);
    QCOMPARE(test::visibleWindows<app::NameEntryDialog>(), 0);
    QVERIFY(!run.main());
    QCOMPARE(run.state().Loveval(2), 7);
    QCOMPARE(run.state().Ibentcnt(3), 2);
    QCOMPARE(run.state().Ibentflag(4), 1);
    QCOMPARE(run.state().PName(1), QStringLiteral("前"));
    QCOMPARE(run.finished->count(), 0);
}

void TestWindowFlow::wholeGame()
{
    Run run;
    // Leftovers of an earlier game in the same run: NEW clears them.
    run.state().Loveval(3) = 9;
    run.state().Ibentcnt(5) = 3;
    run.state().Ibentflag(9) = 1;
    run.state().BonusMode = 1;
    test::WindowDriver driver(*run.session, {"space", "1"});
    bool freshAtStart = false;
    connect(run.session.get(), &app::Session::mainWindowShown, this, [&] {
        const engine::GameState &s = run.state();
        freshAtStart =
            s.BonusMode == 0 && s.Loveval(3) == 0 && s.Ibentcnt(5) == 0 && s.Ibentflag(9) == 0;
    });
    run.session->showTitle();
    newGame(run, {QStringLiteral("桐原"), QStringLiteral("蒼真"), QStringLiteral("ソウマ")});
    QTRY_VERIFY(run.main() && run.main()->hasStarted());
    QVERIFY(freshAtStart);
    MainWindow *w = run.main();
    QCOMPARE(test::visibleWindows<TitleWindow>(), 0);
    QCOMPARE(w->nameLabel(1)->text(), QStringLiteral("桐原 蒼真"));
    QCOMPARE(w->nameLabel(2)->text(), QStringLiteral("ソウマ"));
    QCOMPARE(w->placeLabel()->text(), kHome);
    QCOMPARE(driver.waits(), 2);
    QCOMPARE(driver.answeredInWait(), 2);
    // The first caption stands on the lower button, and it was the one chosen.
    QCOMPARE(w->talkButton(1)->text(), QStringLiteral("学校へ行く"));
    QVERIFY(w->talkButton(1)->y() > w->talkButton(2)->y());
    QCOMPARE(run.state().Loveval(2), 40);
    QCOMPARE(run.state().Ibentcnt(1), 0);
    QCOMPARE(w->talkLabel()->text(), QStringLiteral("行ってきます"));
    QCOMPARE(visiblePlaceCaptions(w), (QStringList{"アース学園", "裏山", "アース病院", "大通り"}));
    QVERIFY(!w->talkButton(1)->isVisible() && !w->talkButton(2)->isVisible());
    for (QPushButton *b : w->menuButtons())
        QVERIFY(b->isEnabled());

    // SAVE: black confirmation, the state in the store.
    QTest::mouseClick(w->menuButtons()[0], Qt::LeftButton);
    QCOMPARE(w->talkLabel()->text(), QStringLiteral("SAVEしました！"));
    QCOMPARE(w->talkLabel()->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(run.store->value("PName1", {}), QStringLiteral("桐原"));
    QCOMPARE(run.store->value("Loveval2", {}), QStringLiteral("40"));

    // To the hill: an advance by the prompt, then the hill's buttons.
    driver.add({"next"});
    QTest::mouseClick(w->placeButton(1), Qt::LeftButton);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("裏山"));
    QCOMPARE(run.state().PlaceCode, QStringLiteral("3"));
    QCOMPARE(visiblePlaceCaptions(w),
             (QStringList{"自宅", "アース学園", "アース病院", "秘密基地", "大通り"}));
    QCOMPARE(driver.waits(), 3);

    // LOAD: home, its event again (this time the other answer), home's buttons only.
    run.state().Loveval(2) = 1;
    driver.add({"space", "2"});
    QTest::mouseClick(w->menuButtons()[1], Qt::LeftButton);
    QCOMPARE(run.state().Loveval(2), 40);
    QCOMPARE(run.state().Ibentcnt(1), 1);
    QCOMPARE(w->placeLabel()->text(), kHome);
    QCOMPARE(visiblePlaceCaptions(w), (QStringList{"アース学園", "裏山", "アース病院", "大通り"}));
    QVERIFY(!w->placeButton(4)->isVisible());

    // The school plays heroine 2's happy ending; no place follows it.
    driver.add({"space", "space"});
    QTest::mouseClick(w->placeButton(0), Qt::LeftButton);
    QVERIFY(w->talkLabel()->text().contains(QStringLiteral("Happy End.")));
    QCOMPARE(visiblePlaceCaptions(w), QStringList());
    QCOMPARE(run.store->value("Endcnt2", {}), QStringLiteral("1"));
    QCOMPARE(driver.waits(), 7);
    QCOMPARE(driver.answeredInWait(), 7);
    QCOMPARE(driver.badWaits(), 0);
    QVERIFY(!driver.ranOut());

    // TITLE: a fresh title screen; the game state lives on.
    QTest::mouseClick(w->menuButtons()[4], Qt::LeftButton);
    QTRY_VERIFY(!run.main());
    QCOMPARE(test::visibleWindows<MainWindow>(), 0);
    QCOMPARE(test::visibleWindows<TitleWindow>(), 1);
    QCOMPARE(run.state().Loveval(2), 40);
    QCOMPARE(run.finished->count(), 0);
}

void TestWindowFlow::bonusCheck_data()
{
    QTest::addColumn<QStringList>("markers"); // Endcnt2 to Endcnt5; empty: missing
    QTest::addColumn<bool>("bonus");
    QTest::newRow("none") << QStringList{"", "", "", ""} << false;
    QTest::newRow("three") << QStringList{"1", "1", "", "1"} << false;
    QTest::newRow("four") << QStringList{"1", "1", "1", "1"} << true;
    QTest::newRow("a two") << QStringList{"1", "2", "1", "1"} << false;
}

void TestWindowFlow::bonusCheck()
{
    QFETCH(QStringList, markers);
    QFETCH(bool, bonus);
    Run run;
    for (int i = 0; i < 4; ++i)
        if (!markers[i].isEmpty())
            run.store->setValue(QStringLiteral("Endcnt%1").arg(i + 2), markers[i]);
    run.store->sync();
    test::WindowDriver driver(*run.session, {"space"});
    run.session->showTitle();
    QVERIFY(QTest::qWaitForWindowExposed(run.title()));
    QTest::mouseClick(run.title()->picture(), Qt::LeftButton);
    if (!bonus) {
        QVERIFY(!run.main());
        QCOMPARE(test::visibleWindows<TitleWindow>(), 1);
        QCOMPARE(run.state().BonusMode, 0);
        return;
    }
    QVERIFY(run.main());
    QCOMPARE(run.state().BonusMode, 1);
    QTRY_VERIFY(run.main()->hasStarted());
    QCOMPARE(test::visibleWindows<TitleWindow>(), 0);
    QCOMPARE(driver.waits(), 1);
    QCOMPARE(run.main()->talkLabel()->text(), QStringLiteral("ボーナスイベント"));
    // Bonus mode shows neither names nor place buttons.
    QCOMPARE(run.main()->nameLabel(1)->text(), QString());
    QCOMPARE(visiblePlaceCaptions(run.main()), QStringList());
}

void TestWindowFlow::loadWithNothingSaved()
{
    Run run;
    run.state().BonusMode = 1;
    run.state().Loveval(4) = 3;
    test::WindowDriver driver(*run.session, {"space", "2"});
    run.session->showTitle();
    QTest::mouseClick(run.title()->button(2), Qt::LeftButton);
    QTRY_VERIFY(run.main() && run.main()->hasStarted());
    engine::GameState defaults;
    save::LoadGame(defaults, platform::MemoryStore());
    QCOMPARE(run.state().BonusMode, 0);
    QCOMPARE(run.state().Loveval(4), 0);
    QCOMPARE(run.main()->nameLabel(2)->text(), defaults.PName(3));
    QCOMPARE(run.main()->nameLabel(1)->text(), defaults.PName(1) + u' ' + defaults.PName(2));
}

void TestWindowFlow::loadRewritesNames()
{
    Run run;
    test::WindowDriver driver(*run.session, {"space", "2"});
    run.session->showTitle();
    newGame(run, {"Aoi", "Sora", "A"});
    QTRY_VERIFY(run.main() && run.main()->hasStarted());
    QTest::mouseClick(run.main()->menuButtons()[0], Qt::LeftButton); // SAVE
    QTest::mouseClick(run.main()->menuButtons()[4], Qt::LeftButton); // TITLE
    QTRY_VERIFY(run.title() && run.title()->isVisible());
    driver.add({"space", "2"});
    newGame(run, {"Beni", "Kai", "B"});
    QTRY_VERIFY(run.main() && run.main()->hasStarted());
    QCOMPARE(run.main()->nameLabel(1)->text(), QStringLiteral("Beni Kai"));
    driver.add({"space", "2"});
    QTest::mouseClick(run.main()->menuButtons()[1], Qt::LeftButton); // LOAD
    QCOMPARE(run.main()->nameLabel(1)->text(), QStringLiteral("Aoi Sora"));
    QCOMPARE(run.main()->nameLabel(2)->text(), QStringLiteral("A"));
    QCOMPARE(run.main()->talkLabel()->text(), QStringLiteral("行ってきます"));
}

void TestWindowFlow::earlySpaceDoesNotSkip()
{
    Run run;
    test::WindowDriver driver(*run.session, {"space", "1"});
    run.session->game().newGame("a", "b", "c");
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    // Space between events sets the flag, but the next wait clears it first.
    QTest::keyClick(run.main()->stage(), Qt::Key_Space);
    QCOMPARE(run.state().NextFlag, -1);
    driver.add({"space"});
    QTest::mouseClick(run.main()->placeButton(1), Qt::LeftButton);
    QCOMPARE(driver.waits(), 3);
    QCOMPARE(driver.answeredInWait(), 3);
    QCOMPARE(run.state().NextFlag, 0);
}

void TestWindowFlow::hugeMessage()
{
    // A message of a megabyte is drawn (cut to what the label can show), and the
    // wait it brings still answers the player. How fast: bench_windows.
    Run run;
    const QString huge(1 << 20, u'長');
    run.data.script(QStringLiteral("ibent1-0.da2"), {"34" + huge, "34あと"});
    test::WindowDriver driver(*run.session, {"space", "space"});
    QImage drawn;
    qsizetype shown = 0;
    connect(run.session.get(), &app::Session::mainWindowShown, this, [&](MainWindow *w) {
        connect(w, &MainWindow::waitStarted, this, [&, w] {
            if (!drawn.isNull())
                return;
            shown = w->talkLabel()->text().size();
            drawn = w->talkLabel()->grab().toImage();
        });
    });
    run.session->game().newGame("a", "b", "c");
    run.session->showMain();
    QTRY_VERIFY(run.main() && run.main()->hasStarted());
    QCOMPARE(driver.waits(), 2);
    QCOMPARE(driver.answeredInWait(), 2);
    QCOMPARE(shown, huge.size());
    QVERIFY(!drawn.isNull());
    auto *talk = qobject_cast<app::FitLabel *>(run.main()->talkLabel());
    QVERIFY(talk);
    QCOMPARE(talk->text(), QStringLiteral("あと"));
    talk->setText(huge);
    const app::FittedText fitted = talk->fitted();
    QVERIFY(fitted.elided);
    QVERIFY(fitted.fits);
}

void TestWindowFlow::spaceFromAnyControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("inputMethod"); // the blank committed by an input method
    QTest::newRow("stage") << "pic_Main" << false;
    QTest::newRow("SAVE") << "btn_Save" << false;
    QTest::newRow("HELP") << "btn_Help" << false;
    QTest::newRow("message") << "lbl_Talk" << false;
    QTest::newRow("window") << "form_Main" << false;
    QTest::newRow("stage, input method") << "pic_Main" << true;
}

void TestWindowFlow::spaceFromAnyControl()
{
    QFETCH(QString, control);
    QFETCH(bool, inputMethod);
    Run run;
    test::WindowDriver driver(*run.session, {"space", "1"});
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QWidget *target = control == QLatin1String("form_Main")
                          ? run.main()
                          : run.main()->findChild<QWidget *>(control);
    QVERIFY(target);
    target->setFocus();
    run.state().NextFlag = 0;
    if (inputMethod) {
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("\u3000"));
        QCoreApplication::sendEvent(target, &commit);
    } else {
        QTest::keyClick(target, Qt::Key_Space);
    }
    QCOMPARE(run.state().NextFlag, -1);
    // Keys the game gives no meaning do nothing.
    run.state().NextFlag = 0;
    QTest::keyClick(target, Qt::Key_B);
    QTest::keyClick(target, Qt::Key_Z);
    QCOMPARE(run.state().NextFlag, 0);
}

void TestWindowFlow::closeDuringWait_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("advance wait") << QStringList{"close"};
    QTest::newRow("choice wait") << QStringList{"space", "close"};
}

void TestWindowFlow::closeDuringWait()
{
    QFETCH(QStringList, inputs);
    Run run;
    test::WindowDriver driver(*run.session, inputs);
    run.session->showTitle();
    newGame(run, {"a", "b", "c"});
    // The game ends within a second of the close, with status 0.
    QTRY_COMPARE_WITH_TIMEOUT(run.finished->count(), 1, 1000);
    QCOMPARE(run.finished->at(0).at(0).toInt(), 0);
    QCOMPARE(driver.waits(), int(inputs.size()));
    QVERIFY(!run.main() || !run.main()->isVisible());
    QCOMPARE(run.state().Loveval(2), 0);
    QVERIFY(!QFile::exists(run.storeDir.filePath("vm2.ini")));
    QVERIFY(run.errors.isEmpty());
}

void TestWindowFlow::closeBetweenEvents()
{
    Run run;
    test::WindowDriver driver(*run.session, {"space", "1"});
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QCOMPARE(run.finished->count(), 0);
    run.main()->close();
    QCOMPARE(run.finished->count(), 1);
    QCOMPARE(run.finished->at(0).at(0).toInt(), 0);
}

void TestWindowFlow::scriptError()
{
    Run run;
    run.data.script(QStringLiteral("ibent1-0.da2"), {"34ok", "7X"});
    test::WindowDriver driver(*run.session, {"space"});
    run.session->showMain();
    QTRY_COMPARE(run.finished->count(), 1);
    QCOMPARE(run.finished->at(0).at(0).toInt(), 1);
    QCOMPARE(run.errors.size(), 1);
    QVERIFY2(run.errors[0].startsWith(QStringLiteral("dat2/ibent1-0.da2:2:")),
             qPrintable(run.errors[0]));
}

void TestWindowFlow::aboutBox_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("url"); // empty: the click opens nothing
    QTest::newRow("mail") << "Label4(0)"
                          << "mailto:" + app::AboutBox::kMailAddress;
    QTest::newRow("home page") << "Label4(1)" << app::AboutBox::kHomePage;
    QTest::newRow("support board") << "Label4(3)" << app::AboutBox::kSupportBoard;
    QTest::newRow("made by") << "Label1(0)"
                             << "";
    QTest::newRow("HP") << "Label1(1)"
                        << "";
}

void TestWindowFlow::aboutBox()
{
    QFETCH(QString, label);
    QFETCH(QString, url);
    Run run;
    run.session->showTitle();
    bool checked = false;
    test::onNextModal([&](QWidget *dialog) {
        auto *about = qobject_cast<app::AboutBox *>(dialog);
        QVERIFY(about);
        QTest::mouseClick(about->findChild<QLabel *>(label), Qt::LeftButton);
        // OK holds the focus: Enter presses it (Escape closes it too: tst_playerscreen).
        QTest::keyClick(about->okButton(), Qt::Key_Return);
        QVERIFY(!about->isVisible());
        checked = true;
    });
    QTest::mouseClick(run.title()->button(3), Qt::LeftButton);
    QVERIFY(checked);
    QCOMPARE(run.opened, url.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(url)});
    QVERIFY(run.title()->isVisible());
}

void TestWindowFlow::aboutFromMain()
{
    Run run;
    test::WindowDriver driver(*run.session, {"space", "1"});
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    bool shown = false;
    test::onNextModal([&](QWidget *dialog) {
        shown = qobject_cast<app::AboutBox *>(dialog) != nullptr;
        QTest::keyClick(static_cast<app::AboutBox *>(dialog)->okButton(), Qt::Key_Space);
    });
    QTest::mouseClick(run.main()->menuButtons()[3], Qt::LeftButton);
    QVERIFY(shown);
    QVERIFY(run.main()->isVisible());
}

void TestWindowFlow::endButtons()
{
    Run title;
    title.session->showTitle();
    QTest::mouseClick(title.title()->button(4), Qt::LeftButton);
    QCOMPARE(title.finished->count(), 1);
    QCOMPARE(title.finished->at(0).at(0).toInt(), 0);
    QVERIFY(!title.title()->isVisible());

    Run main;
    test::WindowDriver driver(*main.session, {"space", "1"});
    main.session->showMain();
    QTRY_VERIFY(main.main()->hasStarted());
    QTest::mouseClick(main.main()->menuButtons()[5], Qt::LeftButton);
    QCOMPARE(main.finished->count(), 1);
    QCOMPARE(main.finished->at(0).at(0).toInt(), 0);
    QVERIFY(!main.main()->isVisible());
    QVERIFY(!QFile::exists(main.storeDir.filePath("vm2.ini")));
}

void TestWindowFlow::closeTitle()
{
    Run run;
    run.session->showTitle();
    QVERIFY(QTest::qWaitForWindowExposed(run.title()));
    QTest::keyClick(run.title()->button(1), Qt::Key_Escape);
    QVERIFY(run.title()->isVisible());
    QCOMPARE(run.finished->count(), 0);
    run.title()->close();
    QCOMPARE(run.finished->count(), 1);
    QCOMPARE(run.finished->at(0).at(0).toInt(), 0);
}

QTEST_MAIN(TestWindowFlow)
#include "tst_windowflow.moc"
