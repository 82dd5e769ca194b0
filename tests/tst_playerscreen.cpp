#include "aboutbox.h"
#include "automode.h"
#include "datafolder.h"
#include "historyview.h"
#include "mainwindow.h"
#include "modeindicator.h"
#include "noticeband.h"
#include "platform/settingsstore.h"
#include "playerkeys.h"
#include "readingaids.h"
#include "scaledlayout.h"
#include "session.h"
#include "stageview.h"
#include "windowdriver.h"
#include "windowprefs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <memory>

using namespace vm2;
using app::MainWindow;

namespace {

// Home narrates without a wait; the hill ends the day, so that home's narration
// plays again just before the place move clears the message.
void townStory(test::DataFolder &data)
{
    data.script(QStringLiteral("ibent1-0.da2"), {"11", "E4春。さて、どこへ行ってみよう？"});
    data.script(QStringLiteral("ibent3-0.da2"), {"13", "34静かな裏山だ。", "A1"});
    data.script(QStringLiteral("ibent2-0.da2"), {"12", "32ここは学園よ。"});
}

// Two messages, then a choice whose answers raise heroine 2 or heroine 3.
void choiceStory(test::DataFolder &data)
{
    data.script(QStringLiteral("ibent1-0.da2"),
                {"34一", "34二", "40101", "はい", "いいえ", "72400", "73400", "E4おわり"});
}

// One program run: the story, a settings store in a temporary INI file, the player's
// window file and the pictures folder under a temporary home.
struct Run {
    explicit Run(const std::function<void(test::DataFolder &)> &story)
    {
        data.standardPictures();
        story(data);
        store = std::make_unique<platform::QSettingsStore>(home.filePath("vm2.ini"));
        session = std::make_unique<app::Session>(*store, data.path());
        session->setUrlOpener([this](const QUrl &url) { opened << url; });
        session->setErrorReporter([this](const QString &message) { errors << message; });
        session->setPlayerFile(home.filePath(app::WindowPrefs::kFileName));
    }
    MainWindow *main() { return session->mainWindow(); }
    engine::GameState &state() { return session->game().state(); }

    QTemporaryDir home;
    test::DataFolder data;
    std::unique_ptr<platform::QSettingsStore> store;
    std::unique_ptr<app::Session> session;
    QList<QUrl> opened;
    QStringList errors;
};

// Runs `act` at every wait of every main screen, from inside the wait's own event
// loop, with the window and the wait's number (from 1).
struct Player {
    using Act = std::function<void(MainWindow *, int)>;
    Player(app::Session &session, Act act) : m_act(std::move(act))
    {
        QObject::connect(&session, &app::Session::mainWindowShown, &session,
                         [this](MainWindow *window) { watch(window); });
    }
    void watch(MainWindow *window)
    {
        QObject::connect(
            window, &MainWindow::waitStarted, window,
            [this, window] {
                const int n = ++waits;
                texts << (window->talkButton(1)->isVisible() ? QStringLiteral("choice")
                                                             : window->talkText());
                QPointer<MainWindow> guarded(window);
                QTimer::singleShot(0, window, [this, guarded, n] {
                    if (guarded && guarded->isWaiting() && waits == n)
                        m_act(guarded, n);
                });
            },
            Qt::DirectConnection);
    }
    int waits = 0;
    QStringList texts;

private:
    Act m_act;
};

// The town story's game on the main screen, every wait answered with Space.
struct TownGame : Run {
    TownGame()
        : Run(townStory),
          player(*session, [](MainWindow *w, int) { QTest::keyClick(w->stage(), Qt::Key_Space); })
    {}
    // Shows the main screen; whether its first event has started.
    bool start()
    {
        session->showMain();
        return QTest::qWaitFor([this] { return main() && main()->hasStarted(); });
    }
    Player player;
};

void wheel(QWidget *widget, int delta)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &event);
}

// One input of the player's, by name.
void give(MainWindow *w, const QString &input)
{
    if (input == QLatin1String("space"))
        QTest::keyClick(w->stage(), Qt::Key_Space);
    else if (input == QLatin1String("return"))
        QTest::keyClick(w->stage(), Qt::Key_Return);
    else if (input == QLatin1String("enter"))
        QTest::keyClick(w->stage(), Qt::Key_Enter, Qt::KeypadModifier);
    else if (input == QLatin1String("click stage"))
        QTest::mouseClick(w->stage(), Qt::LeftButton);
    else if (input == QLatin1String("click panel"))
        QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("Label1")), Qt::LeftButton,
                          Qt::NoModifier, QPoint(20, 100));
    else if (input == QLatin1String("click message"))
        QTest::mouseClick(w->talkLabel(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    else if (input == QLatin1String("right click stage"))
        QTest::mouseClick(w->stage(), Qt::RightButton);
    else if (input == QLatin1String("wheel down"))
        wheel(w->stage(), -120);
    else if (input == QLatin1String("key 1"))
        QTest::keyClick(w->stage(), Qt::Key_1);
    else if (input == QLatin1String("key 2"))
        QTest::keyClick(w->stage(), Qt::Key_2);
    else if (input == QLatin1String("up return")) {
        QTest::keyClick(w->stage(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else if (input == QLatin1String("down return")) {
        QTest::keyClick(w->stage(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else if (input == QLatin1String("up space")) {
        QTest::keyClick(w->stage(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown input ") + input));
    }
}

// Whether the band shows `text` whole, over the stage and clear of every button.
bool bandShows(MainWindow *w, const QString &text)
{
    app::NoticeBand *band = w->noticeBand();
    if (!band->isVisible() || band->text() != text)
        return false;
    const QRect stage = w->stage()->geometry();
    if (!stage.contains(band->geometry()))
        return false;
    for (QPushButton *button : w->findChildren<QPushButton *>())
        if (button->isVisible() && button->geometry().intersects(band->geometry()))
            return false;
    return true;
}

} // namespace

class TestPlayerScreen : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void unreadMessagesShow();
    void advanceInputs_data();
    void advanceInputs();
    void choiceInputs_data();
    void choiceInputs();
    void placeKeys();
    void historyBetweenEvents();
    void historyScales();
    void autoMode();
    void aboutEscape();
    void screenshot();
    void noticeOverHistory_data();
    void noticeOverHistory();
    void fullScreen_data();
    void fullScreen();
    void windowKeys_data();
    void windowKeys();
    void rememberedSize();
    void tooLargeFits();
    void guide_data();
    void guide();
    void keysListedTwice();

private:
    QTemporaryDir m_home;
};

void TestPlayerScreen::initTestCase()
{
    // F12 writes into the pictures folder under HOME: a temporary one here.
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral(".config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_home.filePath(QStringLiteral(".local/share")).toLocal8Bit());
    qputenv("XDG_PICTURES_DIR", m_home.filePath(QStringLiteral("Pictures")).toLocal8Bit());
}

void TestPlayerScreen::unreadMessagesShow()
{
    Run run(townStory);
    bool bandDuringWait = true;
    Player player(*run.session, [&](MainWindow *w, int) {
        bandDuringWait = w->noticeBand()->isVisible();
        QTest::keyClick(w->stage(), Qt::Key_Space);
    });
    const QString narration = QStringLiteral("春。さて、どこへ行ってみよう？");
    run.session->game().newGame("a", "b", "c");
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    MainWindow *w = run.main();
    // After NEW: the opening narration, which the place buttons cover on the label.
    QVERIFY(w->placeButton(0)->isVisible());
    QCOMPARE(w->talkText(), narration);
    QVERIFY(bandShows(w, narration));
    QCOMPARE(w->noticeBand()->colour(), QColor(Qt::black));

    // SAVE says what happened, there too.
    QTest::mouseClick(w->menuButtons()[0], Qt::LeftButton);
    QVERIFY(bandShows(w, QStringLiteral("SAVEしました！")));

    // The hill ends the day: home's narration, cleared from the label by the move,
    // shows in the band.
    QTest::mouseClick(w->placeButton(1), Qt::LeftButton);
    QCOMPARE(player.waits, 2);
    QVERIFY(!bandDuringWait);
    QCOMPARE(w->talkText(), QString());
    QVERIFY(bandShows(w, narration));

    // A message the player had a wait for is not repeated.
    QTest::mouseClick(w->placeButton(0), Qt::LeftButton); // the school
    QVERIFY(!w->noticeBand()->isVisible());

    // LOAD: the home event's message.
    QTest::mouseClick(w->menuButtons()[1], Qt::LeftButton);
    QVERIFY(bandShows(w, narration));
    QVERIFY(run.errors.isEmpty());
}

void TestPlayerScreen::advanceInputs_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("advances"); // at a message; none answers a choice
    for (const char *input :
         {"space", "return", "enter", "click stage", "click panel", "click message", "wheel down"})
        QTest::newRow(input) << input << true;
    QTest::newRow("right click stage") << "right click stage" << false;
}

void TestPlayerScreen::advanceInputs()
{
    QFETCH(QString, input);
    QFETCH(bool, advances);
    Run run(choiceStory);
    bool advancedAtOnce = false, choiceStillWaits = false;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 1) {
            give(w, input);
            // The advance the wait ends on (the wait returns once this handler has).
            advancedAtOnce = run.state().NextFlag != 0;
            if (!advancedAtOnce)
                QTest::keyClick(w->stage(), Qt::Key_Space);
        } else if (n == 3) {
            give(w, input);
            choiceStillWaits = w->talkButton(1)->isVisible() && w->talkButton(2)->isVisible();
            QTest::mouseClick(w->talkButton(1), Qt::LeftButton);
        } else {
            QTest::keyClick(w->stage(), Qt::Key_Space);
        }
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QCOMPARE(player.texts, (QStringList{"一", "二", "choice"}));
    QCOMPARE(advancedAtOnce, advances);
    QVERIFY(choiceStillWaits);
    QCOMPARE(run.state().Loveval(2), 40);
}

void TestPlayerScreen::choiceInputs_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("answer"); // 2: heroine 2 raised (the first option), 3: the second
    QTest::newRow("key 1") << "key 1" << 2;
    QTest::newRow("key 2") << "key 2" << 3;
    QTest::newRow("up, Return") << "up return" << 3;
    QTest::newRow("up, down, Return") << "down return" << 2;
    QTest::newRow("up, Space") << "up space" << 3;
}

void TestPlayerScreen::choiceInputs()
{
    QFETCH(QString, input);
    QFETCH(int, answer);
    Run run(choiceStory);
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 3)
            give(w, input);
        else
            QTest::keyClick(w->stage(), Qt::Key_Space);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QCOMPARE(player.waits, 3);
    QCOMPARE(run.state().Loveval(answer), 40);
    QCOMPARE(run.state().Loveval(answer == 2 ? 3 : 2), 0);
    // Keys 1 and 2 between events press place buttons, not choices.
    QVERIFY(!run.main()->talkButton(1)->isVisible());
}

void TestPlayerScreen::placeKeys()
{
    TownGame run;
    QVERIFY(run.start());
    MainWindow *w = run.main();
    // Home offers four places; 5 presses none.
    QTest::keyClick(w->stage(), Qt::Key_5);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("自宅"));
    // 1 is the top one: the school.
    QTest::keyClick(w->stage(), Qt::Key_1);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("アース学園"));
    QCOMPARE(run.state().PlaceCode, QStringLiteral("2"));
    // At the school, 1 goes home.
    QTest::keyClick(w->stage(), Qt::Key_1);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("自宅"));
    QCOMPARE(run.player.waits, 1);
}

void TestPlayerScreen::historyBetweenEvents()
{
    TownGame run;
    QVERIFY(run.start());
    MainWindow *w = run.main();
    for (const char *open : {"pageup", "wheel"}) {
        if (QLatin1String(open) == QLatin1String("pageup"))
            QTest::keyClick(w->stage(), Qt::Key_PageUp);
        else
            wheel(w->stage(), 120);
        QVERIFY2(w->readingAids()->historyOpen(), open);
        app::HistoryList *list = w->readingAids()->historyView()->list();
        QVERIFY(list->count() > 0);
        // Keys for the place buttons do nothing under it.
        QTest::keyClick(list, Qt::Key_1);
        QCOMPARE(w->placeLabel()->text(), QStringLiteral("自宅"));
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!w->readingAids()->historyOpen());
    }
    QTest::keyClick(w->stage(), Qt::Key_1);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("アース学園"));
}

void TestPlayerScreen::historyScales()
{
    TownGame run;
    QVERIFY(run.start());
    MainWindow *w = run.main();
    auto firstEntryHeight = [w] {
        QTest::keyClick(w->stage(), Qt::Key_PageUp);
        app::HistoryView *view = w->readingAids()->historyView();
        const bool placed = view && view->geometry() == w->layoutRect();
        const int height = view && placed ? view->list()->entryRect(0).height() : -1;
        QTest::keyClick(view->list(), Qt::Key_Escape);
        return height;
    };
    const int atOne = firstEntryHeight();
    QVERIFY(atOne > 0);
    w->resize(1074 + 200, 1074); // factor 2, a margin at the sides
    QTRY_COMPARE(w->size(), QSize(1274, 1074));
    const int atTwo = firstEntryHeight();
    QVERIFY2(qAbs(atTwo - 2 * atOne) <= 4,
             qPrintable(QStringLiteral("%1 at 1x, %2 at 2x").arg(atOne).arg(atTwo)));
}

void TestPlayerScreen::autoMode()
{
    Run run(choiceStory);
    bool indicatorShown = false, offAtChoice = false, tagGone = false;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 1) {
            QTest::keyClick(w->stage(), Qt::Key_A);
            indicatorShown = w->modeIndicator()->isVisible() &&
                             w->modeIndicator()->text() == QLatin1String("AUTO") &&
                             w->autoMode()->isOn();
            // It answers the wait by itself: nothing else does here.
        } else if (n == 3) {
            offAtChoice = !w->autoMode()->isOn();
            tagGone = !w->modeIndicator()->isVisible();
            QTest::mouseClick(w->talkButton(1), Qt::LeftButton);
        }
    });
    run.session->showMain();
    QTRY_COMPARE_WITH_TIMEOUT(player.waits, 3,
                              2 * (app::AutoMode::pauseFor("一") + app::AutoMode::pauseFor("二")) +
                                  2000);
    QTRY_VERIFY(run.main()->hasStarted());
    QVERIFY(indicatorShown);
    QVERIFY(offAtChoice);
    QVERIFY(tagGone);
    QCOMPARE(run.state().Loveval(2), 40);
}

void TestPlayerScreen::aboutEscape()
{
    Run run(townStory);
    run.session->showTitle();
    QVERIFY(QTest::qWaitForWindowExposed(run.session->titleWindow()));
    bool closed = false;
    test::onNextModal([&](QWidget *dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        closed = !dialog->isVisible();
        if (!closed)
            static_cast<app::AboutBox *>(dialog)->okButton()->click();
    });
    QTest::mouseClick(run.session->titleWindow()->button(3), Qt::LeftButton);
    QVERIFY(closed);
}

void TestPlayerScreen::screenshot()
{
    TownGame run;
    QVERIFY(run.start());
    MainWindow *w = run.main();
    const QDir folder(m_home.filePath(QStringLiteral("Pictures/Velmora 2")));
    QVERIFY(!folder.exists());
    QTest::keyClick(w->stage(), Qt::Key_F12);
    QTest::keyClick(w->stage(), Qt::Key_F12);
    const QStringList shots = folder.entryList({QStringLiteral("*.png")}, QDir::Files);
    QCOMPARE(shots.size(), 2); // the second did not overwrite the first
    QImageReader reader(folder.filePath(shots[0]));
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.size(), w->size() * w->devicePixelRatio());
    QVERIFY(w->noticeBand()->isVisible());
    QVERIFY(w->noticeBand()->text().contains(QDir::toNativeSeparators(folder.path())));
    // F12 is no input of the game's: it neither moves nor advances.
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("自宅"));
}

void TestPlayerScreen::noticeOverHistory_data()
{
    QTest::addColumn<bool>("before");  // F12 before the history opens, else in it
    QTest::addColumn<int>("presses");  // of F12
    QTest::addColumn<bool>("saved");   // the screenshot is saved, else an error says why
    QTest::addColumn<bool>("resized"); // the window is resized while the history is open
    QTest::addColumn<int>("lines");    // the notices the band shows after the history
    QTest::newRow("in the history") << false << 1 << true << false << 1;
    // Two screenshots, two paths: neither notice is lost.
    QTest::newRow("in the history, twice") << false << 2 << true << false << 2;
    // The same error twice is said once.
    QTest::newRow("in the history, not saved twice") << false << 2 << false << false << 1;
    QTest::newRow("in the history, resized") << false << 1 << true << true << 1;
    QTest::newRow("before the history, resized") << true << 1 << true << true << 1;
}

void TestPlayerScreen::noticeOverHistory()
{
    QFETCH(bool, before);
    QFETCH(int, presses);
    QFETCH(bool, saved);
    QFETCH(bool, resized);
    QFETCH(int, lines);
    // A file where the screenshots' folder would be: no screenshot can be saved.
    const QString folder = m_home.filePath(QStringLiteral("Pictures/Velmora 2"));
    const QString kept = folder + QStringLiteral(".kept");
    if (!saved) {
        QVERIFY(!QFileInfo::exists(folder) || QDir().rename(folder, kept));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    const auto restore = qScopeGuard([&] {
        if (!saved && QFile::remove(folder) && QFileInfo::exists(kept))
            QDir().rename(kept, folder);
    });
    const QString notice =
        saved ? QStringLiteral("保存しました") : QStringLiteral("保存できませんでした");

    TownGame run;
    QVERIFY(run.start());
    MainWindow *w = run.main();
    app::NoticeBand *band = w->noticeBand();
    for (int i = 0; before && i < presses; ++i)
        QTest::keyClick(w->stage(), Qt::Key_F12);
    QTest::keyClick(w->stage(), Qt::Key_PageUp);
    QVERIFY(w->readingAids()->historyOpen());
    app::HistoryView *view = w->readingAids()->historyView();
    for (int i = 0; !before && i < presses; ++i)
        QTest::keyClick(view->list(), Qt::Key_F12);
    if (resized) {
        w->resize(1074 + 200, 1074); // factor 2: every control is laid out again
        QTRY_COMPARE(view->geometry(), w->layoutRect());
    }
    // Nothing of the band lies over the history while it is open.
    QVERIFY(view->isVisible());
    QVERIFY2(!band->isVisible() || !band->geometry().intersects(view->geometry()),
             qPrintable(band->text()));
    // The notice waits, whole, with all of its time.
    QVERIFY(band->text().contains(notice));
    QVERIFY(band->noticeTimeLeft() > app::NoticeBand::kNoticeTime / 2);

    QTest::keyClick(view->list(), Qt::Key_Escape);
    QVERIFY(!w->readingAids()->historyOpen());
    QVERIFY(band->isVisible());
    QCOMPARE(band->text().count(notice), lines);
    QCOMPARE(band->text().count(u'\n'), lines - 1);
    QVERIFY(w->stage()->geometry().contains(band->geometry()));
    QVERIFY(band->noticeTimeLeft() > app::NoticeBand::kNoticeTime / 2);
    // The band is no input's: the place buttons still answer.
    QTest::keyClick(w->stage(), Qt::Key_1);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("アース学園"));
}

void TestPlayerScreen::fullScreen_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("F11") << int(Qt::Key_F11) << int(Qt::NoModifier);
    QTest::newRow("Alt+Enter") << int(Qt::Key_Return) << int(Qt::AltModifier);
}

void TestPlayerScreen::fullScreen()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    TownGame run;
    QVERIFY(run.start());
    MainWindow *w = run.main();
    const QSize before = w->size();
    QTest::keyClick(w->stage(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(w->isFullScreen());
    QTRY_COMPARE(w->size(), w->screen()->geometry().size());
    QVERIFY(w->scaledLayout()->factor() > 1.0);
    QTest::keyClick(w->stage(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(!w->isFullScreen());
    QTRY_COMPARE(w->size(), before);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("自宅"));
}

void TestPlayerScreen::windowKeys_data()
{
    // Each window key with every set of modifiers: only the set it names counts;
    // with Ctrl, Alt or Meta a function key belongs to the desktop.
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("signal"); // none: the key is no window key
    struct Key {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers extra; // sent with every set: the keypad's
        Qt::KeyboardModifiers named;
        const char *signal;
    };
    const Key keys[] = {
        {"F9", Qt::Key_F9, {}, Qt::NoModifier, "authorPanelAsked"},
        {"F11", Qt::Key_F11, {}, Qt::NoModifier, "fullScreenToggled"},
        {"F12", Qt::Key_F12, {}, Qt::NoModifier, "screenshotAsked"},
        {"Return", Qt::Key_Return, {}, Qt::AltModifier, "fullScreenToggled"},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, Qt::AltModifier, "fullScreenToggled"},
        {"A", Qt::Key_A, {}, Qt::NoModifier, "autoToggled"},
    };
    const std::pair<const char *, Qt::KeyboardModifiers> sets[] = {
        {"", Qt::NoModifier},
        {"Shift+", Qt::ShiftModifier},
        {"Ctrl+", Qt::ControlModifier},
        {"Alt+", Qt::AltModifier},
        {"Meta+", Qt::MetaModifier},
        {"Ctrl+Alt+", Qt::ControlModifier | Qt::AltModifier},
        {"Shift+Alt+", Qt::ShiftModifier | Qt::AltModifier},
        {"Ctrl+Shift+", Qt::ControlModifier | Qt::ShiftModifier},
    };
    for (const Key &k : keys) {
        for (const auto &[prefix, modifiers] : sets) {
            // Return alone would press a button or advance: no window key's business.
            if (k.key == Qt::Key_Return && modifiers == Qt::NoModifier)
                continue;
            QTest::addRow("%s%s", prefix, k.name)
                << int(k.key) << int(modifiers | k.extra)
                << (modifiers == k.named ? QString::fromLatin1(k.signal) : QString());
        }
    }
}

void TestPlayerScreen::windowKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, signal);
    TownGame run;
    QVERIFY(run.start());
    MainWindow *w = run.main();
    auto *keys = w->findChild<app::PlayerKeys *>();
    QVERIFY(keys);
    QMap<QString, std::shared_ptr<QSignalSpy>> spies{
        {QStringLiteral("authorPanelAsked"),
         std::make_shared<QSignalSpy>(keys, &app::PlayerKeys::authorPanelAsked)},
        {QStringLiteral("fullScreenToggled"),
         std::make_shared<QSignalSpy>(keys, &app::PlayerKeys::fullScreenToggled)},
        {QStringLiteral("screenshotAsked"),
         std::make_shared<QSignalSpy>(keys, &app::PlayerKeys::screenshotAsked)},
        {QStringLiteral("autoToggled"),
         std::make_shared<QSignalSpy>(keys, &app::PlayerKeys::autoToggled)},
    };
    const QDir shots(m_home.filePath(QStringLiteral("Pictures/Velmora 2")));
    const qsizetype shotsBefore = shots.entryList({QStringLiteral("*.png")}, QDir::Files).size();
    QTest::keyClick(w->stage(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    for (auto it = spies.cbegin(); it != spies.cend(); ++it)
        QVERIFY2(it.value()->count() == (it.key() == signal ? 1 : 0), qPrintable(it.key()));
    QCOMPARE(w->isFullScreen(), signal == QLatin1String("fullScreenToggled"));
    QCOMPARE(shots.entryList({QStringLiteral("*.png")}, QDir::Files).size() - shotsBefore,
             signal == QLatin1String("screenshotAsked") ? 1 : 0);
    QCOMPARE(w->placeLabel()->text(), QStringLiteral("自宅"));
}

void TestPlayerScreen::rememberedSize()
{
    TownGame run;
    QVERIFY(run.start());
    run.main()->resize(700, 650);
    QTRY_COMPARE(run.main()->size(), QSize(700, 650));
    QTest::mouseClick(run.main()->menuButtons()[4], Qt::LeftButton); // TITLE
    QTRY_VERIFY(!run.main());
    const app::WindowPrefs prefs = app::WindowPrefs::load(run.session->playerFile());
    QCOMPARE(prefs.size, QSize(700, 650));
    QVERIFY(!prefs.fullScreen);
    // Never in the story's store.
    QCOMPARE(run.store->value(QStringLiteral("size"), QString()), QString());

    run.session->showMain();
    QTRY_VERIFY(run.main() && run.main()->hasStarted());
    QCOMPARE(run.main()->size(), QSize(700, 650));

    // A damaged file gives the default size.
    QFile file(run.session->playerFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("size=abc\nfullscreen=maybe\n");
    file.close();
    QCOMPARE(app::WindowPrefs::load(file.fileName()).size, QSize());
}

void TestPlayerScreen::tooLargeFits()
{
    Run run(townStory);
    app::WindowPrefs huge;
    huge.size = QSize(9000, 9000);
    QVERIFY(huge.save(run.session->playerFile()));
    Player player(*run.session,
                  [](MainWindow *w, int) { QTest::keyClick(w->stage(), Qt::Key_Space); });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    MainWindow *w = run.main();
    const QRect area = w->screen()->availableGeometry();
    QTRY_VERIFY(area.contains(w->frameGeometry()));
    // The largest factor that fits, the aspect kept.
    QCOMPARE(w->width(), w->height());
    QVERIFY(w->height() >= area.height() - (w->frameGeometry().height() - w->height()) - 1);
}

void TestPlayerScreen::guide_data()
{
    QTest::addColumn<QString>("file"); // written into the program folder
    QTest::addColumn<bool>("opens");
    QTest::newRow("absent") << "" << false;
    QTest::newRow("present") << "vm2-guide.html" << true;
    QTest::newRow("other case") << "VM2-GUIDE.HTML" << false;
    // A story folder may come from anywhere: its files are never handed to the opener.
    QTest::newRow("in the story folder") << "story/vm2-guide.html" << false;
}

void TestPlayerScreen::guide()
{
    QFETCH(QString, file);
    QFETCH(bool, opens);
    Run run(townStory);
    QTemporaryDir program;
    run.session->setHelpFolder(program.path());
    if (!file.isEmpty()) {
        const QString folder =
            file.startsWith(QLatin1String("story/")) ? run.data.path() : program.path();
        QFile f(folder + u'/' + QFileInfo(file).fileName());
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    Player player(*run.session,
                  [](MainWindow *w, int) { QTest::keyClick(w->stage(), Qt::Key_Space); });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QTest::mouseClick(run.main()->menuButtons()[2], Qt::LeftButton);
    QCOMPARE(run.opened.size(), opens ? 1 : 0);
    if (opens) {
        QCOMPARE(run.opened[0],
                 QUrl::fromLocalFile(program.path() + QStringLiteral("/vm2-guide.html")));
    } else {
        // The player learns that it is missing.
        QVERIFY(run.main()->noticeBand()->isVisible());
        QVERIFY(run.main()->noticeBand()->text().contains(QStringLiteral("見つかりません")));
    }
    QVERIFY(run.errors.isEmpty());
}

void TestPlayerScreen::keysListedTwice()
{
    // The README's list of keys and the guide's English one name the same keys.
    auto keys = [](const QString &path, const QString &start, const QString &end) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QStringList{QStringLiteral("unreadable ") + path};
        const QString text = QString::fromUtf8(file.readAll());
        const qsizetype from = text.indexOf(start);
        const QString table = text.mid(from, text.indexOf(end, from) - from);
        QStringList found;
        static const QRegularExpression key(QStringLiteral(
            "\\b(Space|Return|Enter|Escape|PageUp|Ctrl|Alt\\+Enter|F11|F12|A|1|2|5|Up|Down|"
            "wheel (?:up|turned down))\\b"));
        for (auto it = key.globalMatch(table); it.hasNext();) {
            const QString name = it.next().captured(1);
            if (!found.contains(name))
                found << name;
        }
        found.sort();
        return found;
    };
    const QString root = QStringLiteral(VM2_SOURCE_DIR);
    const QStringList readme = keys(root + QStringLiteral("/README.md"),
                                    QStringLiteral("| key or mouse |"), QStringLiteral("\n\n"));
    const QStringList guide = keys(root + QStringLiteral("/packaging/guide/vm2-guide.html"),
                                   QStringLiteral("id=\"keys-en\""), QStringLiteral("</table>"));
    QVERIFY(readme.size() >= 12);
    QCOMPARE(guide, readme);
}

QTEST_MAIN(TestPlayerScreen)
#include "tst_playerscreen.moc"
