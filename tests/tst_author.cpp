#include "authorpanel.h"
#include "clicklabel.h"
#include "datafolder.h"
#include "game/authortools.h"
#include "mainwindow.h"
#include "platform/settingsstore.h"
#include "session.h"
#include "sideplacement.h"
#include "stageview.h"
#include "windowdriver.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace vm2;
using app::AuthorPanel;
using app::MainWindow;

namespace {

// Home raises heroine 2, sets flag 1 and advances home's counter; the hill plays a
// branch on flag 3; the school has one message; 9-2 is an ending's page.
void writeStory(test::DataFolder &data)
{
    data.standardPictures();
    data.script(QStringLiteral("ibent1-0.da2"),
                {"11", "34おはよう。", "72120", "515", "913", "E4行ってきます"});
    data.script(QStringLiteral("ibent3-0.da2"), {"13", "630101", "34旗なし", "34旗あり"});
    data.script(QStringLiteral("ibent2-0.da2"), {"12", "32ここは学園よ。"});
    data.script(QStringLiteral("ibent9-2.da2"), {"32おめでとう！"});
}

// One program run with a new game on the main screen, in author mode or not. Every
// wait is answered with Space; `atWait`, when set, runs first inside each wait.
struct Run {
    explicit Run(bool author)
    {
        writeStory(data);
        store = std::make_unique<platform::QSettingsStore>(storeDir.filePath("vm2.ini"));
        session = std::make_unique<app::Session>(*store, data.path());
        session->setErrorReporter([this](const QString &message) { errors << message; });
        // Before the driver, so that atWait comes first in each wait.
        QObject::connect(session.get(), &app::Session::mainWindowShown, session.get(),
                         [this](MainWindow *window) {
                             QObject::connect(window, &MainWindow::waitStarted, window, [this] {
                                 QTimer::singleShot(0, session.get(), [this] {
                                     ++waits;
                                     if (atWait)
                                         atWait();
                                 });
                             });
                         });
        driver = std::make_unique<test::WindowDriver>(*session);
        if (author)
            session->openAuthorPanel(QStringLiteral(VM2_CHECK_EXE));
        session->game().newGame(QStringLiteral("桐原"), QStringLiteral("蒼真"),
                                QStringLiteral("ソウマ"));
        driver->add({"space"});
        session->showMain();
    }

    bool started() { return main() && main()->hasStarted(); }
    engine::GameState &state() { return session->game().state(); }
    MainWindow *main() { return session->mainWindow(); }
    AuthorPanel *panel() { return session->authorPanel(); }
    template <typename T> T *find(const char *name)
    {
        T *widget = panel()->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no %s in the author panel", name);
        return widget;
    }
    QListWidgetItem *listed(const QString &file)
    {
        const auto items = find<QListWidget>("events")->findItems(file, Qt::MatchExactly);
        return items.isEmpty() ? nullptr : items.first();
    }
    QStringList visiblePlaces()
    {
        QStringList captions;
        for (int i = 0; i < 5; ++i)
            if (main()->placeButton(i)->isVisible())
                captions << main()->placeButton(i)->text();
        return captions;
    }

    test::DataFolder data;
    QTemporaryDir storeDir;
    std::unique_ptr<platform::QSettingsStore> store;
    std::unique_ptr<app::Session> session;
    std::unique_ptr<test::WindowDriver> driver;
    std::function<void()> atWait;
    int waits = 0;
    QStringList errors;
};

const QStringList kHomeButtons{"アース学園", "裏山", "アース病院", "大通り"};

} // namespace

class TestAuthor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsState();
    void flagDecidesBranch_data();
    void flagDecidesBranch();
    void startsEvent_data();
    void startsEvent();
    void movesToPlace();
    void nothingChangesWhileRunning();
    void storyChanges();
    void noPanelWithoutAuthor();
    void panelComesBack_data();
    void panelComesBack();
    void placement_data();
    void placement();
};

void TestAuthor::showsState()
{
    Run run(true);
    QString waitShown;
    run.atWait = [&] { waitShown = run.find<QLabel>("wait")->text(); };
    QTRY_VERIFY(run.started());
    QTRY_VERIFY(run.find<QSpinBox>("flag1")->isEnabled());
    QCOMPARE(waitShown, QStringLiteral("Waits at dat2/ibent1-0.da2:2"));
    QCOMPARE(run.find<QLabel>("wait")->text(), QStringLiteral("Between events"));
    QCOMPARE(run.find<QLabel>("placeCode")->text(), QStringLiteral("1 (自宅)"));
    QCOMPARE(run.find<QLabel>("names")->text(), QStringLiteral("桐原 蒼真 / ソウマ"));
    QCOMPARE(run.find<QSpinBox>("love2")->value(), 12);
    QCOMPARE(run.find<QLabel>("ending2")->text(), QStringLiteral("< 35 bad"));
    QCOMPARE(run.find<QSpinBox>("flag1")->value(), 5);
    QCOMPARE(run.find<QSpinBox>("counter1")->value(), 3);
    QCOMPARE(run.find<QSpinBox>("counter2")->value(), 0);
    const QStringList lines = run.find<QPlainTextEdit>("lines")->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines.last(), QStringLiteral("ibent1-0.da2:6  E4行ってきます"));

    // Set by the author: the state, and what the panel says of it.
    run.find<QSpinBox>("love2")->setValue(35);
    QCOMPARE(run.state().Loveval(2), 35);
    QTRY_COMPARE(run.find<QLabel>("ending2")->text(), QStringLiteral("≥ 35 happy"));
    run.find<QSpinBox>("counter10")->setValue(4);
    QCOMPARE(run.state().Ibentcnt(10), 4);
    QVERIFY(run.errors.isEmpty());
}

void TestAuthor::flagDecidesBranch_data()
{
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("shown");
    QTest::newRow("flag 3 clear") << 0 << QStringLiteral("旗なし");
    QTest::newRow("flag 3 set") << 2 << QStringLiteral("旗あり");
}

void TestAuthor::flagDecidesBranch()
{
    QFETCH(int, flag);
    QFETCH(QString, shown);
    Run run(true);
    QTRY_VERIFY(run.find<QSpinBox>("flag3")->isEnabled());
    run.state().Ibentflag(3) = 9; // whatever came before, the panel's value counts
    run.find<QSpinBox>("flag3")->setValue(flag == 0 ? 1 : 0); // a change either way
    run.find<QSpinBox>("flag3")->setValue(flag);
    QCOMPARE(run.state().Ibentflag(3), flag);
    QString talk;
    run.atWait = [&] { talk = run.main()->talkLabel()->text(); };
    run.driver->add({"space"});
    run.panel()->startListedEvent(run.listed(QStringLiteral("ibent3-0.da2")));
    QCOMPARE(talk, shown);
    QCOMPARE(run.waits, 2);
}

void TestAuthor::startsEvent_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("byList"); // else by place code, number and Start
    QTest::addColumn<QString>("talk");
    QTest::addColumn<QString>("placeCode");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("hill, listed") << "3-0" << true << "旗なし"
                                  << "3"
                                  << QStringList{"自宅", "アース学園", "アース病院", "秘密基地",
                                                 "大通り"};
    QTest::newRow("school, by number")
        << "2-0" << false << "ここは学園よ。"
        << "2" << QStringList{"自宅", "裏山", "アース病院", "生徒会室", "大通り"};
    // An ending's page has no place: the hero stays at home.
    QTest::newRow("ending page, listed") << "9-2" << true << "おめでとう！"
                                         << "1" << kHomeButtons;
    QTest::newRow("ending page, by number") << "9-2" << false << "おめでとう！"
                                            << "1" << kHomeButtons;
}

void TestAuthor::startsEvent()
{
    QFETCH(QString, event);
    QFETCH(bool, byList);
    QFETCH(QString, talk);
    QFETCH(QString, placeCode);
    QFETCH(QStringList, buttons);
    Run run(true);
    QTRY_VERIFY(run.find<QPushButton>("startEvent")->isEnabled());
    QCOMPARE(run.visiblePlaces(), kHomeButtons);
    const QString place = event.section(u'-', 0, 0);
    const int number = event.section(u'-', 1).toInt();
    QString shown;
    bool buttonsHidden = false;
    run.atWait = [&] {
        shown = run.main()->talkLabel()->text();
        buttonsHidden = run.visiblePlaces().isEmpty();
    };
    run.driver->add({"space"});
    if (byList) {
        QListWidget *list = run.find<QListWidget>("events");
        QListWidgetItem *item = run.listed(QStringLiteral("ibent%1.da2").arg(event));
        QVERIFY(item);
        list->scrollToItem(item);
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
        run.find<QComboBox>("eventPlace")->setCurrentText(place);
        run.find<QSpinBox>("eventNumber")->setValue(number);
        QTest::mouseClick(run.find<QPushButton>("startEvent"), Qt::LeftButton);
    }
    QCOMPARE(run.waits, 2);
    QCOMPARE(shown, talk);
    QVERIFY(buttonsHidden);
    QCOMPARE(run.state().PlaceCode, placeCode);
    QCOMPARE(run.visiblePlaces(), buttons);
    for (QPushButton *b : run.main()->menuButtons())
        QVERIFY(b->isEnabled());
    QTRY_VERIFY(run.find<QPushButton>("startEvent")->isEnabled());
    QVERIFY(run.errors.isEmpty());
}

void TestAuthor::movesToPlace()
{
    Run run(true);
    QTRY_VERIFY(run.find<QPushButton>("goThere")->isEnabled());
    run.driver->add({"space"});
    auto *places = run.find<QComboBox>("goPlace");
    places->setCurrentIndex(places->findData(3));
    QTest::mouseClick(run.find<QPushButton>("goThere"), Qt::LeftButton);
    QCOMPARE(run.waits, 2);
    QCOMPARE(run.main()->placeLabel()->text(), QStringLiteral("裏山"));
    QCOMPARE(run.state().PlaceCode, QStringLiteral("3"));
    QCOMPARE(run.visiblePlaces().size(), 5);

    // A place whose next event is missing is no place to go: the run names the fault.
    QTRY_VERIFY(run.find<QPushButton>("goThere")->isEnabled());
    run.find<QSpinBox>("counter2")->setValue(7);
    places->setCurrentIndex(places->findData(2));
    QTest::mouseClick(run.find<QPushButton>("goThere"), Qt::LeftButton);
    QCOMPARE(run.errors.size(), 1);
    QVERIFY(run.errors.first().contains(QStringLiteral("ibent2-7.da2")));
}

void TestAuthor::nothingChangesWhileRunning()
{
    Run run(true);
    QTRY_VERIFY(run.find<QPushButton>("startEvent")->isEnabled());
    // At the hill's wait: every control of the panel that steers is disabled, and
    // the game layer refuses what a handler might still ask.
    QStringList enabled;
    bool refused = true;
    run.atWait = [&] {
        for (QWidget *w : run.panel()->findChildren<QWidget *>()) {
            if ((qobject_cast<QSpinBox *>(w) || qobject_cast<QPushButton *>(w) ||
                 qobject_cast<QListWidget *>(w) || qobject_cast<QComboBox *>(w)) &&
                w->isEnabled())
                enabled << w->objectName();
        }
        const engine::GameState &s = run.state();
        const int flag = s.Ibentflag(2), love = s.Loveval(3), count = s.Ibentcnt(4);
        game::AuthorTools &tools = run.panel()->tools();
        refused = !tools.setFlag(2, 7) && !tools.setAffection(3, 9) && !tools.setCounter(4, 1) &&
                  !tools.startEvent(QStringLiteral("2"), 0) && !tools.moveTo(2);
        run.find<QSpinBox>("flag2")->setValue(6);
        run.panel()->startListedEvent(run.listed(QStringLiteral("ibent2-0.da2")));
        refused = refused && s.Ibentflag(2) == flag && s.Loveval(3) == love &&
                  s.Ibentcnt(4) == count && s.PlaceCode == QStringLiteral("3");
        QVERIFY(run.find<QLabel>("wait")->text().startsWith(QStringLiteral("Waits at")));
    };
    run.driver->add({"space"});
    run.panel()->startListedEvent(run.listed(QStringLiteral("ibent3-0.da2")));
    QCOMPARE(run.waits, 2);
    QCOMPARE(enabled, QStringList());
    QVERIFY(refused);
    QCOMPARE(run.main()->placeLabel()->text(), QStringLiteral("自宅"));
    QVERIFY(run.errors.isEmpty());
}

void TestAuthor::storyChanges()
{
    Run run(true);
    QSignalSpy checked(run.panel(), &AuthorPanel::findingsShown);
    QTRY_VERIFY(checked.count() >= 1);
    QVERIFY(run.find<QPlainTextEdit>("findings")
                ->toPlainText()
                .startsWith(QStringLiteral("Checked at")));
    QVERIFY(!run.find<QLabel>("notice")->isVisible());
    // A new script with a fault: the panel says that the story changed, lists the
    // event and shows the checker's finding.
    checked.clear();
    run.data.script(QStringLiteral("ibent4-0.da2"), {"501"});
    QTRY_VERIFY_WITH_TIMEOUT(run.listed(QStringLiteral("ibent4-0.da2")), 10000);
    QVERIFY(run.find<QLabel>("notice")->text().contains(QStringLiteral("story changed")));
    QTRY_VERIFY_WITH_TIMEOUT(checked.count() >= 1 &&
                                 run.find<QPlainTextEdit>("findings")
                                     ->toPlainText()
                                     .contains(QStringLiteral("dat2/ibent4-0.da2:1: error")),
                             20000);
    // A script rewritten in place is a change too.
    run.data.script(QStringLiteral("ibent4-0.da2"), {"511"});
    QTRY_VERIFY_WITH_TIMEOUT(!run.find<QPlainTextEdit>("findings")
                                  ->toPlainText()
                                  .contains(QStringLiteral("ibent4-0.da2:1: error")),
                             20000);
}

void TestAuthor::noPanelWithoutAuthor()
{
    Run run(false);
    QTRY_VERIFY(run.started());
    QVERIFY(!run.panel());
    QCOMPARE(test::visibleWindows<AuthorPanel>(), 0);
    QCOMPARE(run.visiblePlaces(), kHomeButtons);
    // The author's key brings nothing up, and is no input of the game's.
    QTest::keyClick(run.main()->stage(), Qt::Key_F9);
    QCOMPARE(test::visibleWindows<AuthorPanel>(), 0);
    QCOMPARE(run.visiblePlaces(), kHomeButtons);
    QCOMPARE(run.main()->placeLabel()->text(), QStringLiteral("自宅"));
}

void TestAuthor::panelComesBack_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("back");
    QTest::newRow("F9") << int(Qt::NoModifier) << true;
    QTest::newRow("Shift+F9") << int(Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+F9") << int(Qt::ControlModifier) << false;
    QTest::newRow("Alt+F9") << int(Qt::AltModifier) << false;
    QTest::newRow("Meta+F9") << int(Qt::MetaModifier) << false;
}

void TestAuthor::panelComesBack()
{
    QFETCH(int, modifiers);
    QFETCH(bool, back);
    Run run(true);
    QTRY_VERIFY(run.started());
    QTRY_VERIFY(run.panel()->isVisible());
    const QRect was = run.panel()->frameGeometry();
    run.panel()->close(); // the close button of its frame
    QVERIFY(!run.panel()->isVisible());
    // Changed while the panel is away, behind the game's back: the panel shows it
    // when it comes back.
    run.state().Loveval(3) = 40;
    QTest::keyClick(run.main()->stage(), Qt::Key_F9, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(run.panel()->isVisible(), back);
    QCOMPARE(test::visibleWindows<AuthorPanel>(), back ? 1 : 0);
    QCOMPARE(run.main()->placeLabel()->text(), QStringLiteral("自宅"));
    if (!back)
        return;
    QCOMPARE(run.panel()->frameGeometry(), was);
    QCOMPARE(run.find<QSpinBox>("love3")->value(), 40);
    QCOMPARE(run.find<QLabel>("ending3")->text(), QStringLiteral("≥ 35 happy"));
    // Again while it shows: it stays as it is.
    QTest::keyClick(run.main()->stage(), Qt::Key_F9);
    QVERIFY(run.panel()->isVisible());
    QCOMPARE(run.panel()->frameGeometry(), was);
    QVERIFY(run.errors.isEmpty());
}

void TestAuthor::placement_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("mainFrame");
    QTest::addColumn<QSize>("panelFrame"); // as the panel would like it
    QTest::addColumn<QPoint>("main");
    QTest::addColumn<QRect>("panel");
    const QRect hd(0, 0, 1920, 1040);    // 1920 × 1080 less a taskbar
    const QRect hdAtTwo(0, 0, 960, 540); // 1920 × 1080 at a screen scale of 2
    // Gap 8 between the frames.
    QTest::newRow("room on the right") << hd << QRect(100, 100, 560, 600) << QSize(400, 500)
                                       << QPoint(100, 100) << QRect(668, 100, 400, 600);
    QTest::newRow("room on the left only") << hd << QRect(1400, 100, 500, 600) << QSize(400, 700)
                                           << QPoint(1400, 100) << QRect(992, 100, 400, 700);
    QTest::newRow("taller than the area below the main screen")
        << hd << QRect(100, 600, 560, 300) << QSize(400, 700) << QPoint(100, 600)
        << QRect(668, 340, 400, 700);
    QTest::newRow("scale 2: both moved to fit")
        << hdAtTwo << QRect(207, 0, 545, 540) << QSize(300, 400) << QPoint(53, 0)
        << QRect(606, 0, 300, 540);
    QTest::newRow("scale 2: no room, they overlap")
        << hdAtTwo << QRect(207, 0, 545, 540) << QSize(450, 600) << QPoint(0, 0)
        << QRect(510, 0, 450, 540);
    QTest::newRow("main title bar above the area")
        << hd << QRect(100, -20, 560, 600) << QSize(400, 500) << QPoint(100, 0)
        << QRect(668, 0, 400, 600);
    QTest::newRow("main beyond the area's foot and right edge")
        << hd << QRect(1700, 700, 560, 600) << QSize(400, 500) << QPoint(1360, 440)
        << QRect(952, 440, 400, 600);
    QTest::newRow("second screen below a top bar")
        << QRect(1920, 30, 1280, 994) << QRect(1950, 30, 545, 580) << QSize(400, 300)
        << QPoint(1950, 30) << QRect(2503, 30, 400, 580);
    QTest::newRow("main screen left of the area")
        << QRect(1920, 30, 1280, 994) << QRect(1000, 100, 545, 580) << QSize(400, 300)
        << QPoint(1920, 100) << QRect(2473, 100, 400, 580);
    QTest::newRow("panel larger than the area")
        << QRect(0, 0, 800, 500) << QRect(0, 0, 400, 300) << QSize(900, 700) << QPoint(0, 0)
        << QRect(0, 0, 800, 500);
}

void TestAuthor::placement()
{
    QFETCH(QRect, available);
    QFETCH(QRect, mainFrame);
    QFETCH(QSize, panelFrame);
    QFETCH(QPoint, main);
    QFETCH(QRect, panel);
    const auto placed = app::SidePlacement::beside(available, mainFrame, panelFrame, 8);
    QCOMPARE(placed.main, main);
    QCOMPARE(placed.panel, panel);
    // Both frames, title bars included, on the area.
    QVERIFY(available.contains(QRect(placed.main, mainFrame.size())));
    QVERIFY(available.contains(placed.panel));
}

QTEST_MAIN(TestAuthor)
#include "tst_author.moc"
