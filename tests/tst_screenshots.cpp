#include "aboutbox.h"
#include "datafolder.h"
#include "historyview.h"
#include "mainwindow.h"
#include "nameentrydialog.h"
#include "platform/settingsstore.h"
#include "readingaids.h"
#include "session.h"
#include "stageview.h"
#include "titlewindow.h"
#include "windowdriver.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vm2;

// Writes each window, as the player sees it, to build/screenshots for review by eye.
class TestScreenshots : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void title();
    void nameEntry();
    void about();
    void mainScreen();
    void history();

private:
    void save(QWidget *window, const QString &name);
    QDir m_dir{QStringLiteral(VM2_SCREENSHOT_DIR)};
};

void TestScreenshots::initTestCase()
{
    QVERIFY(m_dir.mkpath(QStringLiteral(".")));
}

void TestScreenshots::save(QWidget *window, const QString &name)
{
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPixmap shot = window->grab();
    QCOMPARE(shot.size(), window->size() * shot.devicePixelRatio());
    // 1x shots as name.png, scaled ones as name@2x.png.
    const qreal scale = shot.devicePixelRatio();
    const QString suffix =
        qFuzzyCompare(scale, 1.0) ? QString() : QStringLiteral("@%1x").arg(scale);
    QVERIFY(shot.save(m_dir.filePath(name + suffix + QStringLiteral(".png"))));
}

void TestScreenshots::title()
{
    platform::MemoryStore store;
    app::Session session(store, QString());
    app::TitleWindow window(session);
    window.show();
    save(&window, QStringLiteral("form_Title"));
}

void TestScreenshots::nameEntry()
{
    app::NameEntryDialog entry;
    entry.show();
    entry.field(1)->setText(QStringLiteral("桐原"));
    entry.field(2)->setText(QStringLiteral("蒼真"));
    save(&entry, QStringLiteral("form_First"));
}

void TestScreenshots::about()
{
    app::AboutBox about{app::UrlOpener()};
    about.show();
    save(&about, QStringLiteral("form_About"));
}

void TestScreenshots::mainScreen()
{
    test::DataFolder data;
    data.standardPictures();
    QImage back(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            back.setPixel(x, y, qRgb(120 + x / 4, 160 + y / 5, 230));
    data.picture(QStringLiteral("back1.da1"), back);
    data.script(QStringLiteral("ibent1-0.da2"),
                {QStringLiteral("11"),
                 QStringLiteral("32おはよう、@3くん。今日もいい天気だね。学園まで一緒に行こうよ！"),
                 QStringLiteral("40000"), QStringLiteral("一緒に行く"),
                 QStringLiteral("先に行く")});
    platform::MemoryStore store;
    app::Session session(store, data.path());
    // A long name, as players type them: it must stay whole and readable.
    session.game().newGame(QStringLiteral("Kirihara"), QStringLiteral("Souma"),
                           QStringLiteral("ソウマ"));
    int shots = 0;
    QObject::connect(&session, &app::Session::mainWindowShown, this, [&](app::MainWindow *w) {
        connect(w, &app::MainWindow::waitStarted, this, [&, w] {
            QTimer::singleShot(0, w, [&, w] {
                save(w, shots == 0 ? QStringLiteral("form_Main-message")
                                   : QStringLiteral("form_Main-choice"));
                ++shots;
                if (w->talkButton(1)->isVisible())
                    QTest::mouseClick(w->talkButton(1), Qt::LeftButton);
                else
                    QTest::keyClick(w->stage(), Qt::Key_Space);
            });
        });
    });
    session.showMain();
    QTRY_VERIFY(session.mainWindow()->hasStarted());
    QCOMPARE(shots, 2);
    save(session.mainWindow(), QStringLiteral("form_Main-places"));
}

// The message history over the demo story's first school scene, opened at the
// message after the first question.
void TestScreenshots::history()
{
    const QString data = QStringLiteral(VM2_PROGRAM_DIR);
    if (!QFile::exists(data + QStringLiteral("/dat2/ibent2-0.da2")))
        QSKIP("the demo story is not built");
    platform::MemoryStore store;
    app::Session session(store, data);
    session.game().newGame(QStringLiteral("桐原"), QStringLiteral("蒼真"),
                           QStringLiteral("ソウマ"));
    int waits = 0;
    bool shot = false;
    QObject::connect(&session, &app::Session::mainWindowShown, this, [&](app::MainWindow *w) {
        connect(w, &app::MainWindow::waitStarted, this, [&, w] {
            QTimer::singleShot(0, w, [&, w] {
                if (++waits >= 10 && !shot) {
                    QTest::keyClick(w->stage(), Qt::Key_PageUp);
                    if (w->readingAids()->historyOpen()) {
                        save(w, QStringLiteral("form_Main-history"));
                        shot = true;
                        QTest::keyClick(w->readingAids()->historyView()->list(), Qt::Key_Escape);
                    }
                }
                if (w->talkButton(1)->isVisible())
                    QTest::mouseClick(w->talkButton(2), Qt::LeftButton);
                else
                    QTest::keyClick(w->stage(), Qt::Key_Space);
            });
        });
    });
    session.showMain();
    QTRY_VERIFY(session.mainWindow()->hasStarted());
    QPushButton *school = nullptr;
    for (int i = 0; i < 5; ++i)
        if (session.mainWindow()->placeButton(i)->text() == QStringLiteral("アース学園"))
            school = session.mainWindow()->placeButton(i);
    QVERIFY(school);
    QTest::mouseClick(school, Qt::LeftButton);
    QVERIFY(shot);
}

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
