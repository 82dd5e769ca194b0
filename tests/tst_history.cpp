#include "clicklabel.h"
#include "datafolder.h"
#include "historyview.h"
#include "mainwindow.h"
#include "messagehistory.h"
#include "platform/readrecord.h"
#include "platform/settingsstore.h"
#include "platform/storyfiles.h"
#include "readingaids.h"
#include "readskip.h"
#include "session.h"
#include "stageview.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace vm2;
using app::HistoryEntry;
using app::MainWindow;

namespace {

constexpr std::uint32_t kBlue = 0xFF0000, kRose = 0x7B0FFF, kMagenta = 0xFF00FF, kGreen = 0xC000,
                        kBlack = 0;

// One program run on a story of the test's: a settings store in a temporary INI
// file and, when a path is given, the read record kept in that file.
struct Run {
    // `folder`, when given, holds the story instead of a folder of the run's own: a
    // restart plays the same story folder again.
    explicit Run(const std::function<void(test::DataFolder &)> &story,
                 const QString &recordPath = QString(), test::DataFolder *folder = nullptr)
        : data(folder ? *folder : own)
    {
        data.standardPictures();
        story(data);
        store = std::make_unique<platform::QSettingsStore>(storeDir.filePath("vm2.ini"));
        session = std::make_unique<app::Session>(*store, data.path());
        session->setErrorReporter([this](const QString &message) { errors << message; });
        if (!recordPath.isEmpty()) {
            record = std::make_unique<platform::ReadRecord>(recordPath);
            session->setReadRecord(*record);
        }
        engine::GameState &s = session->game().state();
        s.PName(1) = QStringLiteral("桐原");
        s.PName(2) = QStringLiteral("蒼真");
        s.PName(3) = QStringLiteral("ソウマ");
    }

    MainWindow *main() { return session->mainWindow(); }
    app::ReadingAids *aids() { return main()->readingAids(); }

    test::DataFolder own;
    test::DataFolder &data;
    QTemporaryDir storeDir;
    std::unique_ptr<platform::QSettingsStore> store;
    std::unique_ptr<platform::ReadRecord> record;
    std::unique_ptr<app::Session> session;
    QStringList errors;
};

// Plays the waits of every main screen the session shows: at each, `act` runs from
// inside the wait's own event loop, as a player's input would, with the window and
// the number of the wait (from 1). Notes when each wait began and whether the menu
// was disabled then.
struct Player {
    using Act = std::function<void(MainWindow *, int)>;
    Player(app::Session &session, Act act) : m_act(std::move(act))
    {
        clock.start();
        QObject::connect(&session, &app::Session::mainWindowShown, &session,
                         [this](MainWindow *window) { watch(window); });
    }
    void watch(MainWindow *window)
    {
        QObject::connect(
            window, &MainWindow::waitStarted, window,
            [this, window] {
                const int n = ++waits;
                began << clock.elapsed();
                texts << window->talkText();
                for (QPushButton *b : window->menuButtons())
                    menuEnabledInWait = menuEnabledInWait || b->isEnabled();
                QPointer<MainWindow> guarded(window);
                QTimer::singleShot(0, window, [this, guarded, n] {
                    if (guarded && guarded->isWaiting() && waits == n)
                        m_act(guarded, n);
                });
            },
            Qt::DirectConnection);
    }

    int waits = 0;
    QElapsedTimer clock;
    QList<qint64> began;
    QStringList texts;
    bool menuEnabledInWait = false;

private:
    Act m_act;
};

void space(MainWindow *w)
{
    QTest::keyClick(w->stage(), Qt::Key_Space);
}

// Answers the wait as a player would: the first answer of a choice, else Space.
void answerFirst(MainWindow *w)
{
    if (w->talkButton(1)->isVisible())
        QTest::mouseClick(w->talkButton(1), Qt::LeftButton);
    else
        space(w);
}

// What the wait shows: "choice", or the message.
QString waitShown(MainWindow *w)
{
    return w->talkButton(1)->isVisible() ? QStringLiteral("choice") : w->talkText();
}

void wheel(QWidget *widget, int delta)
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

app::HistoryList *historyList(MainWindow *w)
{
    app::HistoryView *view = w->readingAids()->historyView();
    return view ? view->list() : nullptr;
}

// Whether a pixel of `colour` is drawn inside `rect` of the list (list coordinates).
bool drawnIn(app::HistoryList *list, QRect rect, QColor colour)
{
    const QImage image = list->viewport()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    rect.translate(0, -list->scrollPosition());
    rect &= list->viewport()->rect();
    for (int y = int(rect.top() * ratio); y < int((rect.bottom() + 1) * ratio); ++y)
        for (int x = int(rect.left() * ratio); x < int((rect.right() + 1) * ratio); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

QColor rgb(std::uint32_t windowsColour)
{
    return QColor(int(windowsColour & 0xFF), int((windowsColour >> 8) & 0xFF),
                  int((windowsColour >> 16) & 0xFF));
}

// Home speaks in every colour, asks one question and offers the hill; the hill
// has one message.
void speakingStory(test::DataFolder &data)
{
    data.script(QStringLiteral("ibent1-0.da2"),
                {"11", "31「おはよう」", "32@3くん、おはよう！", "F2", "E2ねえ", "40101",
                 "学校へ行く", "家にいる", "72400", "911", "33緑の声", "34黒い声"});
    data.script(QStringLiteral("ibent3-0.da2"), {"13", "34静かな裏山だ。"});
}

// `count` messages at home, the last one waiting.
std::function<void(test::DataFolder &)> manyMessages(int count)
{
    return [count](test::DataFolder &data) {
        QStringList lines;
        for (int i = 1; i < count; ++i)
            lines << QStringLiteral("E4message %1").arg(i);
        lines << QStringLiteral("34message %1").arg(count);
        data.script(QStringLiteral("ibent1-0.da2"), lines);
        data.script(QStringLiteral("ibent3-0.da2"), {"34裏山"});
    };
}

// Three messages, a choice, two messages; the hill has two.
void readingStory(test::DataFolder &data)
{
    data.script(QStringLiteral("ibent1-0.da2"), {"34一", "34二", "34三", "40101", "はい", "いいえ",
                                                 "E4はい", "E4いいえ", "34四", "34五"});
    data.script(QStringLiteral("ibent3-0.da2"), {"34裏山一", "34裏山二"});
}

const QString kHill = QStringLiteral("裏山");

QPushButton *placeButton(MainWindow *w, const QString &caption)
{
    for (int i = 0; i < 5; ++i)
        if (w->placeButton(i)->isVisible() && w->placeButton(i)->text() == caption)
            return w->placeButton(i);
    return nullptr;
}

// Reads the whole reading story once (home and the hill), answering every wait.
// Holds Ctrl from the first wait of the run's main screen; at the first wait that
// does not end by itself, releases it and quits. Returns the messages stopped at.
QStringList stopsHoldingCtrl(Run &run)
{
    QStringList stops;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 1)
            QTest::keyPress(w->stage(), Qt::Key_Control);
        if (w->readingAids()->skip().isSkipping())
            return;
        stops << w->talkText();
        QTest::keyRelease(w->stage(), Qt::Key_Control);
        w->close();
    });
    run.session->showMain();
    if (!QTest::qWaitFor([&] { return run.session->isFinished(); }))
        stops << QStringLiteral("(still playing)");
    return stops;
}

void readEverything(const QString &recordPath, test::DataFolder &folder)
{
    Run run(readingStory, recordPath, &folder);
    Player player(*run.session, [](MainWindow *w, int) { answerFirst(w); });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QTest::mouseClick(placeButton(run.main(), kHill), Qt::LeftButton);
    QCOMPARE(player.waits, 8);
    QCOMPARE(run.record->size(), 7);
}

// The reading story in a folder of its own, and a read record in which a whole play
// of it (home, then the hill) has marked every line read.
struct AllRead {
    AllRead() { readEverything(recordPath, folder); }
    QTemporaryDir recordDir;
    const QString recordPath = recordDir.filePath(QStringLiteral("VM2-read.txt"));
    test::DataFolder folder;
};

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cutsLongEntries();
    void keepsLastMessages();
    void listsMessagesInOrder();
    void closesWithoutAdvancing_data();
    void closesWithoutAdvancing();
    void scrolls();
    void opensBetweenEvents();
    void emptyAfterTitleAndLoad();
    void skipsToFirstUnread();
    void skipStopsAtChoiceAndPlaceMove();
    void skipStopsOnRelease();
    void damagedRecordSkipsNothing();
    void anotherStorySkipsNothing();
};

void TestHistory::cutsLongEntries()
{
    app::MessageHistory history;
    history.addMessage(kBlack, QString(2000, u'あ'));
    history.addMessage(kBlack, QString(2001, u'い'));
    history.addAnswer(QString(5000, u'う'));
    QCOMPARE(history.entries()[0].text, QString(2000, u'あ'));
    QCOMPARE(history.entries()[1].text, QString(2000, u'い') + QChar(0x2026));
    QCOMPARE(history.entries()[2].text.size(), 2001);
    // A character outside the basic plane is never split.
    const QString wide = QString(1999, u'x') + QStringLiteral("\U0001F600") + u'y';
    QCOMPARE(app::MessageHistory::cut(wide), QString(1999, u'x') + QChar(0x2026));
}

void TestHistory::keepsLastMessages()
{
    app::MessageHistory history;
    history.addPlace(QStringLiteral("大通り"));
    for (int i = 1; i <= 310; ++i) {
        history.addMessage(kBlack, QString::number(i));
        if (i == 10)
            history.addAnswer(QStringLiteral("はい"));
    }
    QCOMPARE(history.messageCount(), 300);
    QCOMPARE(int(history.entries().size()), 300);
    QCOMPARE(history.entries().front().text, QStringLiteral("11"));
    QCOMPARE(history.entries().back().text, QStringLiteral("310"));
    history.clear();
    QVERIFY(history.isEmpty());
    QCOMPARE(history.messageCount(), 0);
}

void TestHistory::listsMessagesInOrder()
{
    Run run(speakingStory);
    QList<HistoryEntry> seen;
    QList<QColor> colours;
    bool allDrawn = true, openedAtNewest = false, stillWaiting = false, spaceIgnored = false,
         focusKept = false;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 3) {
            QTest::mouseClick(w->talkButton(1), Qt::LeftButton);
            return;
        }
        if (n == 6) {
            // At the hill, by PageUp: everything so far, oldest first.
            QTest::keyClick(w->stage(), Qt::Key_PageUp);
            app::HistoryList *list = historyList(w);
            if (!list)
                return;
            openedAtNewest = list->atNewest();
            for (int i = 0; i < list->count(); ++i) {
                seen << list->entry(i);
                colours << list->entryColour(i);
                list->verticalScrollBar()->setValue(list->entryRect(i).top());
                allDrawn = allDrawn && drawnIn(list, list->entryRect(i), list->entryColour(i));
            }
            // Space and the prompt do nothing while it is open.
            space(w);
            QTest::mouseClick(w->nextBox(), Qt::LeftButton);
            // Tab keeps the focus in the history.
            QTest::keyClick(list, Qt::Key_Tab);
            focusKept = list->hasFocus();
            spaceIgnored = run.session->game().state().NextFlag == 0;
            QTest::keyClick(list, Qt::Key_Escape);
            stillWaiting = w->isWaiting() && w->nextBox()->isVisible();
        }
        space(w);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QTest::mouseClick(run.main()->menuButtons()[0], Qt::LeftButton); // SAVE
    QCOMPARE(run.main()->talkText(), QStringLiteral("SAVEしました！"));
    QTest::mouseClick(placeButton(run.main(), kHill), Qt::LeftButton);
    QCOMPARE(player.waits, 6);

    const QList<std::pair<HistoryEntry::Kind, QString>> expected{
        {HistoryEntry::Message, QStringLiteral("蒼真「おはよう」")},
        {HistoryEntry::Message, QStringLiteral("ソウマくん、おはよう！")},
        {HistoryEntry::Message, QStringLiteral("ねえ")},
        {HistoryEntry::Answer, QStringLiteral("学校へ行く")},
        {HistoryEntry::Message, QStringLiteral("緑の声")},
        {HistoryEntry::Message, QStringLiteral("黒い声")},
        {HistoryEntry::Place, kHill},
        {HistoryEntry::Message, QStringLiteral("静かな裏山だ。")},
    };
    QCOMPARE(seen.size(), expected.size());
    for (qsizetype i = 0; i < seen.size(); ++i) {
        QCOMPARE(seen[i].kind, expected[i].first);
        QCOMPARE(seen[i].text, expected[i].second);
    }
    const QList<QColor> expectedColours{rgb(kBlue),  rgb(kRose),  rgb(kMagenta), Qt::black,
                                        rgb(kGreen), rgb(kBlack), Qt::black,     rgb(kBlack)};
    QCOMPARE(colours, expectedColours);
    QVERIFY(allDrawn);
    QVERIFY(openedAtNewest);
    QVERIFY(spaceIgnored);
    QVERIFY(focusKept);
    QVERIFY(stillWaiting);
    QVERIFY(!player.menuEnabledInWait);
    // The saved game holds nothing of the history.
    QFile ini(run.storeDir.filePath("vm2.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString saved = QString::fromUtf8(ini.readAll());
    QVERIFY(saved.contains(QStringLiteral("Loveval2")));
    QVERIFY(!saved.contains(QStringLiteral("黒い声")) && !saved.contains(QStringLiteral("ibent")));
}

void TestHistory::closesWithoutAdvancing_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::addColumn<int>("wait"); // 1: an advance wait, 2: the choice wait
    for (const char *open : {"wheel", "pageup"})
        for (const char *close : {"escape", "right click", "wheel down"})
            for (int wait : {1, 2})
                QTest::addRow("%s, %s, %s", open, close, wait == 1 ? "advance" : "choice")
                    << open << close << wait;
}

void TestHistory::closesWithoutAdvancing()
{
    QFETCH(QString, open);
    QFETCH(QString, close);
    QFETCH(int, wait);
    Run run([](test::DataFolder &data) {
        data.script(QStringLiteral("ibent1-0.da2"),
                    {"34はじめ", "40101", "はい", "いいえ", "E4はい", "E4いいえ", "34おわり"});
    });
    bool opened = false, closed = false, waiting = false, sameWait = false;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == wait) {
            if (open == QLatin1String("wheel"))
                wheel(w->stage(), 120);
            else
                QTest::keyClick(w->stage(), Qt::Key_PageUp);
            app::HistoryList *list = historyList(w);
            opened = list && list->isVisible();
            if (!list)
                return;
            if (close == QLatin1String("escape"))
                QTest::keyClick(list, Qt::Key_Escape);
            else if (close == QLatin1String("right click"))
                QTest::mouseClick(list->viewport(), Qt::RightButton);
            else
                wheel(list->viewport(), -120);
            closed = !w->readingAids()->historyOpen();
            QCoreApplication::processEvents();
            waiting = w->isWaiting() && run.session->game().state().NextFlag == 0 &&
                      run.session->game().state().TalkFlag == 0;
            sameWait = player.waits == n;
        }
        answerFirst(w);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QVERIFY(opened);
    QVERIFY(closed);
    QVERIFY(waiting);
    QVERIFY(sameWait);
    QCOMPARE(player.waits, 3);
    QCOMPARE(player.texts, (QStringList{"はじめ", "はじめ", "おわり"}));
}

void TestHistory::scrolls()
{
    Run run(manyMessages(60));
    int top = -1, afterWheelUp = -1, afterHome = -1, afterPageDown = -1;
    bool openAfterWheelDown = false, closedAtNewest = false;
    Player player(*run.session, [&](MainWindow *w, int) {
        wheel(w->stage(), 120);
        app::HistoryList *list = historyList(w);
        if (!list)
            return;
        top = list->scrollPosition();
        wheel(list->viewport(), 120);
        afterWheelUp = list->scrollPosition();
        // Turned down while older entries are shown, the wheel scrolls.
        wheel(list->viewport(), -120);
        openAfterWheelDown = w->readingAids()->historyOpen() && list->atNewest();
        QTest::keyClick(list, Qt::Key_Home);
        afterHome = list->scrollPosition();
        QTest::keyClick(list, Qt::Key_PageDown);
        afterPageDown = list->scrollPosition();
        QTest::keyClick(list, Qt::Key_End);
        wheel(list->viewport(), -120);
        closedAtNewest = !w->readingAids()->historyOpen();
        space(w);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QCOMPARE(player.waits, 1);
    QVERIFY(top > 0);
    QVERIFY(afterWheelUp < top);
    QVERIFY(openAfterWheelDown);
    QCOMPARE(afterHome, 0);
    QVERIFY(afterPageDown > 0);
    QVERIFY(closedAtNewest);
}

void TestHistory::opensBetweenEvents()
{
    Run run(speakingStory);
    Player player(*run.session, [](MainWindow *w, int) { answerFirst(w); });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QTest::keyClick(run.main()->stage(), Qt::Key_PageUp);
    QVERIFY(run.aids()->historyOpen());
    // Everything the event said, after it ended too.
    QCOMPARE(run.aids()->historyView()->list()->count(),
             int(run.session->history().entries().size()));
    QVERIFY(run.aids()->historyView()->list()->count() > 0);
    QTest::keyClick(run.aids()->historyView()->list(), Qt::Key_Escape);
    QVERIFY(!run.aids()->historyOpen());
}

void TestHistory::emptyAfterTitleAndLoad()
{
    Run run(speakingStory);
    QList<int> sizes;
    Player player(*run.session, [&](MainWindow *w, int) {
        sizes << int(run.session->history().entries().size());
        answerFirst(w);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QCOMPARE(int(run.session->history().entries().size()), 6);

    // LOAD: the notice stays out, and the history starts with the home event again.
    QTest::mouseClick(run.main()->menuButtons()[1], Qt::LeftButton);
    QCOMPARE(sizes.size(), 10);
    QCOMPARE(sizes.at(5), 1);
    QCOMPARE(run.session->history().entries().front().text, QStringLiteral("蒼真「おはよう」"));
    QCOMPARE(int(run.session->history().entries().size()), 6);

    // TITLE: nothing left; the next main screen starts empty.
    QTest::mouseClick(run.main()->menuButtons()[4], Qt::LeftButton);
    QVERIFY(run.session->history().isEmpty());
    run.session->showMain();
    QTRY_VERIFY(run.main() && run.main()->hasStarted());
    QCOMPARE(sizes.size(), 15);
    QCOMPARE(sizes.at(10), 1);
}

void TestHistory::skipsToFirstUnread()
{
    QTemporaryDir recordDir;
    const QString recordPath = recordDir.filePath(QStringLiteral("VM2-read.txt"));
    test::DataFolder folder;
    {
        // The first session reads two messages, then the player quits.
        Run run(readingStory, recordPath, &folder);
        Player player(*run.session, [](MainWindow *w, int n) {
            if (n == 1)
                space(w);
            else
                w->close();
        });
        run.session->showMain();
        QTRY_VERIFY(run.session->isFinished());
        QCOMPARE(run.record->size(), 2);
    }
    // After a restart, Ctrl held at the first message runs through both and stops
    // at the third, which was never shown.
    Run run(readingStory, recordPath, &folder);
    bool stoppedAtUnread = false;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 1)
            QTest::keyPress(w->stage(), Qt::Key_Control);
        if (w->readingAids()->skip().isSkipping())
            return; // the wait ends by itself
        if (n == 3) {
            stoppedAtUnread = w->talkText() == QStringLiteral("三");
            QTest::keyRelease(w->stage(), Qt::Key_Control);
        }
        answerFirst(w);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QVERIFY(stoppedAtUnread);
    QCOMPARE(player.texts.mid(0, 3), (QStringList{"一", "二", "三"}));
    // Each read message stayed about 60 ms, and the menu stayed disabled.
    for (int i = 1; i < 3; ++i)
        QVERIFY2(player.began[i] - player.began[i - 1] >= app::ReadSkip::kDelay - 5,
                 qPrintable(QString::number(player.began[i] - player.began[i - 1])));
    QVERIFY(!player.menuEnabledInWait);
    QCOMPARE(run.record->size(), 5);
}

void TestHistory::skipStopsAtChoiceAndPlaceMove()
{
    AllRead read;
    Run run(readingStory, read.recordPath, &read.folder);
    QStringList stops;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 1 || n == 6)
            QTest::keyPress(w->stage(), Qt::Key_Control);
        if (w->readingAids()->skip().isSkipping())
            return;
        stops << waitShown(w);
        // Ctrl stays held through the choice and the place move.
        answerFirst(w);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QTest::mouseClick(placeButton(run.main(), kHill), Qt::LeftButton);
    QTest::keyRelease(run.main()->stage(), Qt::Key_Control);
    // Home: one, two, three skipped; the choice; four read by hand (skipping had
    // stopped); Ctrl pressed again at five skips it. Hill: its first message waits
    // for the player although it was read and Ctrl is still down.
    QCOMPARE(player.waits, 8);
    QCOMPARE(stops, (QStringList{"choice", "四", "裏山一", "裏山二"}));
    QVERIFY(!player.menuEnabledInWait);
}

void TestHistory::skipStopsOnRelease()
{
    AllRead read;
    Run run(readingStory, read.recordPath, &read.folder);
    QStringList stops;
    Player player(*run.session, [&](MainWindow *w, int n) {
        if (n == 1)
            QTest::keyPress(w->stage(), Qt::Key_Control);
        if (n == 2) // released before the read message's time is up
            QTest::keyRelease(w->stage(), Qt::Key_Control);
        if (w->readingAids()->skip().isSkipping())
            return;
        stops << waitShown(w);
        answerFirst(w);
    });
    run.session->showMain();
    QTRY_VERIFY(run.main()->hasStarted());
    QCOMPARE(stops, (QStringList{"二", "三", "choice", "四", "五"}));
}

void TestHistory::damagedRecordSkipsNothing()
{
    AllRead read;
    {
        // A record cut in half, as by a write that did not finish.
        QFile file(read.recordPath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() / 2));
    }
    Run run(readingStory, read.recordPath, &read.folder);
    QVERIFY(run.record->wasDamaged());
    QCOMPARE(stopsHoldingCtrl(run), QStringList{"一"});
    // The record written since holds what this session read.
    QCOMPARE(platform::ReadRecord(read.recordPath).size(), 1);
}

void TestHistory::anotherStorySkipsNothing()
{
    // Every line of one story read; the same script names in another story's folder
    // (--data) are still unread there: each story keeps a read record of its own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    test::DataFolder program;
    AllRead read;
    const QString readFile =
        platform::StoryFiles::locate(read.folder.path(), program.path()).readRecordFile();
    QVERIFY(QDir().mkpath(QFileInfo(readFile).absolutePath()));
    QVERIFY(QFile::copy(read.recordPath, readFile));
    test::DataFolder other;
    const QString otherFile =
        platform::StoryFiles::locate(other.path(), program.path()).readRecordFile();
    QVERIFY(otherFile != readFile);
    Run run(readingStory, otherFile, &other);
    QCOMPARE(stopsHoldingCtrl(run), QStringList{"一"});
    QCOMPARE(platform::ReadRecord(readFile).size(), 7);
    QCOMPARE(platform::ReadRecord(otherFile).size(), 1);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
