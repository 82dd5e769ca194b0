// One store per story: the saved game, the seen endings and the read record of each
// story are its own, found again by the story folder's path; the installed story
// keeps the native store of application "VM2" as it always had. HOME and the
// configuration folder lie in a temporary folder.
#include "datafolder.h"
#include "game/game.h"
#include "platform/readrecord.h"
#include "platform/settingsstore.h"
#include "platform/storyfiles.h"
#include "recordingscreen.h"
#include "save/savedgame.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace vm2;
using platform::StoryFiles;

namespace {

const QString kHomeScript = QStringLiteral("dat2/ibent1-0.da2");

// A story whose home event ends heroine 2's route, and whose home line 1 is read.
void writeStory(test::DataFolder &folder, const QString &words)
{
    folder.standardPictures();
    folder.script(QStringLiteral("ibent1-0.da2"), {"30" + words, "B2"});
    folder.script(QStringLiteral("ibent9-2.da2"), {});
    folder.script(QStringLiteral("ibent9-5.da2"), {});
}

// Plays a new game of the story in `folder` with heroine 2 at `love` (a happy ending
// at 35), saves it and notes its first line read, as the program does.
bool playAndSave(const QString &folder, const QString &programFolder, const QString &surname,
                 short love)
{
    const StoryFiles files = StoryFiles::locate(folder, programFolder);
    const auto store = files.openStore();
    test::RecordingScreen screen;
    game::Game game(screen, *store, folder);
    game.newGame(surname, QStringLiteral("b"), QStringLiteral("c"));
    game.state().Loveval(2) = love;
    game.start();
    platform::ReadRecord(files.readRecordFile(), files.readKeyPrefix()).markRead(kHomeScript, 1);
    return game.save() && screen.talk == QStringLiteral("SAVEしました！");
}

struct Found {
    QString surname;
    bool bonus = false;
    bool read = false;
};

Found find(const QString &folder, const QString &programFolder)
{
    const StoryFiles files = StoryFiles::locate(folder, programFolder);
    const auto store = files.openStore();
    engine::GameState state;
    save::LoadGame(state, *store);
    Found found;
    found.surname = state.PName(1);
    found.bonus = store->value(QStringLiteral("Endcnt2"), QStringLiteral("0")) == "1";
    found.read =
        platform::ReadRecord(files.readRecordFile(), files.readKeyPrefix()).isRead(kHomeScript, 1);
    return found;
}

} // namespace

class TestStoryFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void installedStory_data();
    void installedStory();
    void storiesKeepTheirOwn();
    void unfitFilesReachTheTitle_data();
    void unfitFilesReachTheTitle();

private:
    QTemporaryDir m_home;
    test::DataFolder m_program;
};

void TestStoryFiles::initTestCase()
{
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    writeStory(m_program, QStringLiteral("demo"));
}

void TestStoryFiles::installedStory_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("installed");
    QTest::newRow("the program folder") << "program" << true;
    QTest::newRow("a link to the program folder") << "link" << true;
    // An installation links the program folder's dat1 and dat2 to the story's folder,
    // which the launcher names with --data.
    QTest::newRow("the folder the program's dat1 and dat2 lead to") << "installed" << true;
    QTest::newRow("another story") << "other" << false;
    QTest::newRow("only dat2 shared") << "dat2 only" << false;
}

void TestStoryFiles::installedStory()
{
    QFETCH(QString, layout);
    QFETCH(bool, installed);
    QTemporaryDir dir;
    QString program = m_program.path();
    QString story = program;
    test::DataFolder other;
    if (layout == QLatin1String("link")) {
        story = dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(program, story));
    } else if (layout == QLatin1String("installed") || layout == QLatin1String("dat2 only")) {
        program = dir.filePath(QStringLiteral("lib"));
        QVERIFY(QDir().mkpath(program));
        story = m_program.path();
        QVERIFY(QFile::link(story + QStringLiteral("/dat2"), program + QStringLiteral("/dat2")));
        const QString dat1 =
            layout == QLatin1String("installed") ? story : other.path(); // dat1 elsewhere
        QVERIFY(QFile::link(dat1 + QStringLiteral("/dat1"), program + QStringLiteral("/dat1")));
    } else if (layout == QLatin1String("other")) {
        story = other.path();
    }
    QCOMPARE(StoryFiles::isInstalledStory(story, program), installed);
    const StoryFiles files = StoryFiles::locate(story, program);
    const QString config = m_home.filePath(QStringLiteral(".config/VM2/"));
    if (installed) {
        QVERIFY(files.settingsFile().isEmpty());
        QCOMPARE(files.readRecordFile(), config + QStringLiteral("VM2-read.txt"));
        QCOMPARE(files.readKeyPrefix(), QFileInfo(story).canonicalFilePath() + u'/');
    } else {
        QVERIFY(files.settingsFile().startsWith(config + QStringLiteral("stories/")));
        QVERIFY(files.settingsFile().endsWith(QStringLiteral("/VM2.conf")));
        QCOMPARE(QFileInfo(files.readRecordFile()).absolutePath(),
                 QFileInfo(files.settingsFile()).absolutePath());
        QVERIFY(files.readKeyPrefix().isEmpty());
    }
}

void TestStoryFiles::storiesKeepTheirOwn()
{
    test::DataFolder first, second;
    writeStory(first, QStringLiteral("first"));
    writeStory(second, QStringLiteral("second"));
    // A folder name with a line break, which once broke the shared read record.
    QTemporaryDir dir;
    const QString odd = dir.filePath(QStringLiteral("new\nline\tstory"));
    QVERIFY(QDir().mkpath(odd));
    QVERIFY(QFile::link(first.path() + QStringLiteral("/dat1"), odd + QStringLiteral("/dat1")));
    QVERIFY(QFile::link(first.path() + QStringLiteral("/dat2"), odd + QStringLiteral("/dat2")));
    const QString program = m_program.path();

    // One after the other in one home: the first ends happily, the others do not.
    QVERIFY(playAndSave(program, program, QStringLiteral("demo"), 35));
    QVERIFY(playAndSave(first.path(), program, QStringLiteral("first"), 40));
    QVERIFY(playAndSave(second.path(), program, QStringLiteral("second"), 0));
    QVERIFY(playAndSave(odd, program, QStringLiteral("odd"), 0));

    // Found again, each its own (a restart opens everything afresh).
    QCOMPARE(find(program, program).surname, QStringLiteral("demo"));
    QCOMPARE(find(first.path(), program).surname, QStringLiteral("first"));
    QCOMPARE(find(second.path(), program).surname, QStringLiteral("second"));
    QCOMPARE(find(odd, program).surname, QStringLiteral("odd"));
    QVERIFY(find(program, program).bonus);
    QVERIFY(find(first.path(), program).bonus);
    QVERIFY(!find(second.path(), program).bonus);
    QVERIFY(!find(odd, program).bonus);
    for (const QString &folder : {program, first.path(), second.path(), odd})
        QVERIFY2(find(folder, program).read, qPrintable(folder));
    QVERIFY(!platform::ReadRecord(StoryFiles::locate(second.path(), program).readRecordFile())
                 .isRead(QStringLiteral("x"), 1));

    // The installed story's saved game is where it always was, under the same keys.
    QSettings native(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("VM2"),
                     QStringLiteral("VM2"));
    QCOMPARE(native.fileName(), m_home.filePath(QStringLiteral(".config/VM2/VM2.conf")));
    QCOMPARE(native.value(QStringLiteral("setting/PName1")).toString(), QStringLiteral("demo"));
    QCOMPARE(native.value(QStringLiteral("setting/Loveval2")).toString(), QStringLiteral("35"));
    QCOMPARE(native.value(QStringLiteral("setting/Endcnt2")).toString(), QStringLiteral("1"));
    QCOMPARE(native.childGroups(), QStringList{QStringLiteral("setting")});

    // Each other story's folder names its story.
    const StoryFiles oddFiles = StoryFiles::locate(odd, program);
    QVERIFY(oddFiles.writeNote());
    QFile note(QFileInfo(oddFiles.settingsFile()).absolutePath() + QStringLiteral("/story.txt"));
    QVERIFY(note.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(note.readAll()).contains(QFileInfo(odd).canonicalFilePath()));
}

void TestStoryFiles::unfitFilesReachTheTitle_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::newRow("settings file a FIFO") << "VM2.conf"
                                          << "fifo";
    QTest::newRow("settings file a link to /dev/zero") << "VM2.conf"
                                                       << "zero";
    QTest::newRow("read record a FIFO") << "VM2-read.txt"
                                        << "fifo";
    QTest::newRow("read record a link to /dev/zero") << "VM2-read.txt"
                                                     << "zero";
}

void TestStoryFiles::unfitFilesReachTheTitle()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    test::DataFolder story;
    writeStory(story, QStringLiteral("story"));
    const StoryFiles files = StoryFiles::locate(story.path(), m_program.path());
    const QString path = QFileInfo(files.settingsFile()).absolutePath() + u'/' + file;
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));

    // What the program does before the title: neither waits nor reads without end.
    const auto store = files.openStore();
    platform::ReadRecord record(files.readRecordFile(), files.readKeyPrefix());
    QCOMPARE(record.wasDamaged(), file == QLatin1String("VM2-read.txt"));
    test::RecordingScreen screen;
    game::Game game(screen, *store, story.path());
    QVERIFY(!game.bonusAvailable());
    game.newGame(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    game.start();
    // SAVE says whether it was written; the file is left as it was.
    const bool unfitStore = file == QLatin1String("VM2.conf");
    QCOMPARE(game.save(), !unfitStore);
    QCOMPARE(screen.talk, unfitStore ? QStringLiteral("SAVEできませんでした！")
                                     : QStringLiteral("SAVEしました！"));
    QCOMPARE(QFileInfo(path).isSymLink(), kind == QLatin1String("zero"));
    struct stat st;
    QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(S_ISFIFO(st.st_mode), kind == QLatin1String("fifo"));
    QVERIFY(QFile::remove(path));
}

QTEST_GUILESS_MAIN(TestStoryFiles)
#include "tst_storyfiles.moc"
