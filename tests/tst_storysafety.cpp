// The author's tools never lose a file: velmora2-story writes only the folder it
// owns and puts a build in place all at once (a kill or a full disk leaves the old
// story or the new one), reads only regular files inside the story, and the
// checker's map and the player's snapshots never land on a stranger's file.
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kStory = QStringLiteral(VM2_PROGRAM_DIR "/velmora2-story");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void makeLink(const QString &target, const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY2(
        ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0,
        qPrintable(path));
}

void fifo(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QVERIFY2(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0, qPrintable(path));
}

int run(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int runStory(const QStringList &arguments, QString *output = nullptr)
{
    return run(kStory, arguments, output);
}

// Everything under `root`, links not followed: each path with its kind and its
// bytes (a link with its target), so that any change shows.
using Tree = std::map<QString, QByteArray>;

Tree treeOf(const QString &root)
{
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString relative = path.mid(root.size() + 1);
        struct stat st;
        ::lstat(QFile::encodeName(path).constData(), &st);
        if (S_ISLNK(st.st_mode))
            tree[relative] = "link " + QFile::encodeName(info.symLinkTarget());
        else if (S_ISDIR(st.st_mode))
            tree[relative] = "folder";
        else if (S_ISREG(st.st_mode))
            tree[relative] = "file " + readFile(path);
        else
            tree[relative] = "special";
    }
    return tree;
}

// The names in `before` whose entry differs in `after` or is gone.
QStringList changed(const Tree &before, const Tree &after)
{
    QStringList names;
    for (const auto &[name, entry] : before) {
        const auto it = after.find(name);
        if (it == after.end() || it->second != entry)
            names << name;
    }
    return names;
}

QStringList added(const Tree &before, const Tree &after)
{
    QStringList names;
    for (const auto &[name, entry] : after) {
        if (!before.count(name))
            names << name;
    }
    return names;
}

QByteArray png()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A small story's sources in `folder`.
void writeSources(const QString &folder)
{
    writeFile(folder + QStringLiteral("/dat2/ibent1-0.txt"), "11\n34おはよう。\n");
    writeFile(folder + QStringLiteral("/dat1/back1.da1"), png());
}

// A folder's permission bits, or -1 when it is not there.
int modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// The random moments of a kill drill: VM2_TEST_SEED repeats a run, VM2_DRILL_ROUNDS
// sets the number of kills.
struct Drill {
    explicit Drill(int defaultRounds)
    {
        bool given = false;
        const quint32 fromEnvironment = qEnvironmentVariable("VM2_TEST_SEED").toUInt(&given);
        seed = given ? fromEnvironment : QRandomGenerator::system()->generate();
        const int asked = qEnvironmentVariableIntValue("VM2_DRILL_ROUNDS");
        rounds = asked > 0 ? asked : defaultRounds;
        random.seed(seed);
    }
    int delay(qint64 longest) { return static_cast<int>(random.bounded(quint32(longest + 1))); }
    QString failure(int round, const QString &what) const
    {
        return QStringLiteral("kill %1: %2 (seed %3: rerun with VM2_TEST_SEED=%3)")
            .arg(round)
            .arg(what)
            .arg(seed);
    }

    quint32 seed = 0;
    int rounds = 0;
    QRandomGenerator random;
};

// Runs the story tool and kills it (SIGKILL) after `delay` ms unless it ended first.
// Whether it was killed; false with `error` set when it did not run or never ended.
bool killedAfter(const QStringList &arguments, int delay, QString *error)
{
    QProcess story;
    QSignalSpy finished(&story, &QProcess::finished);
    QTimer::singleShot(delay, Qt::PreciseTimer, &story, [&story] { story.kill(); });
    story.start(kStory, arguments);
    if (!story.waitForStarted()) {
        *error = story.errorString();
        return false;
    }
    if (!finished.wait(120000)) {
        *error = QStringLiteral("no end");
        return false;
    }
    return story.exitStatus() == QProcess::CrashExit;
}

// How a test fills a disk: "tmpfs" where a user and mount namespace may mount a
// small one on `disk`, else "prlimit" (a file-size limit), else nothing.
// VM2_FULL_DISK=prlimit tries the limit where both would do.
QString fullDiskWay(const QString &disk)
{
    if (qEnvironmentVariable("VM2_FULL_DISK") != QLatin1String("prlimit") &&
        run(QStringLiteral("unshare"),
            {QStringLiteral("-rm"), QStringLiteral("mount"), QStringLiteral("-t"),
             QStringLiteral("tmpfs"), QStringLiteral("tmpfs"), disk}) == 0)
        return QStringLiteral("tmpfs");
    if (!QStandardPaths::findExecutable(QStringLiteral("prlimit")).isEmpty())
        return QStringLiteral("prlimit");
    return QString();
}

// Runs the shell `script` with `arguments` as $1...; for a tmpfs in a user and mount
// namespace of its own, where the script mounts it.
int runScript(const QString &how, const QString &script, const QStringList &arguments,
              QString *output)
{
    QStringList shell = QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + arguments;
    if (how == QLatin1String("tmpfs"))
        return run(QStringLiteral("unshare"),
                   QStringList{QStringLiteral("-rm"), QStringLiteral("sh")} + shell, output);
    return run(QStringLiteral("sh"), shell, output);
}

QString fullDiskReason(const QString &how)
{
    return how == QLatin1String("tmpfs") ? QStringLiteral("No space left on device")
                                         : QStringLiteral("File too large");
}

} // namespace

class TestStorySafety : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void refusals_data();
    void refusals();
    void buildOwnsItsFolder();
    void decodeKeepsSources();
    void killDuringBuilds();
    void fullDisk();
    void killDuringNew();
    void newOnFullDisk_data();
    void newOnFullDisk();
    void newRemovesLeftStaging();
    void graphRefusals_data();
    void graphRefusals();
    void snapshotFolders_data();
    void snapshotFolders();
};

// Each row sets up folders under %T, runs the story tool, and expects its status and
// a line of its output; every file there before is unchanged after.
void TestStorySafety::refusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("writes"); // the refusal concerns one file; the rest is written

    const auto row = [](const char *name, const char *setup, QStringList arguments, int status,
                        const char *message, bool writes = false) {
        QTest::newRow(name) << QString::fromLatin1(setup) << arguments << status
                            << QString::fromUtf8(message) << writes;
    };
    const QString build = QStringLiteral("build");
    const QString decode = QStringLiteral("decode");
    row("foreign file in OUT", "notes", {build, "%T/ms", "%T/out"}, 1,
        "velmora2-story: %T/out/notes.txt was not written by velmora2-story: build into a new or "
        "empty folder, or move the file away");
    row("foreign picture in OUT/dat1", "psd", {build, "%T/ms", "%T/out"}, 1,
        "velmora2-story: %T/out/dat1/mydrawing.psd was not written by velmora2-story: build into "
        "a new or empty folder, or move the file away");
    row("OUT is SRC", "", {build, "%T/ms", "%T/ms"}, 1,
        "velmora2-story: %T/ms holds the story's sources %T/ms: build into another folder");
    row("OUT holds SRC", "", {build, "%T/ms", "%T"}, 1,
        "velmora2-story: %T holds the story's sources %T/ms: build into another folder");
    row("swapped arguments", "built", {build, "%T/ms/out", "%T/ms"}, 1,
        "velmora2-story: %T/ms holds the story's sources %T/ms/out: build into another folder");
    row("another story's sources", "other", {build, "%T/ms", "%T/b"}, 1,
        "velmora2-story: %T/b/dat2/ibent1-0.txt is a story source: build writes only into a new "
        "or empty folder, or one it wrote");
    row("walkthroughs in OUT", "walkthroughs", {build, "%T/ms", "%T/out"}, 1,
        "velmora2-story: %T/out/walkthroughs is a story source: build writes only into a new or "
        "empty folder, or one it wrote");
    row("OUT is a file", "file", {build, "%T/ms", "%T/notes.txt"}, 1,
        "velmora2-story: %T/notes.txt is not a folder: build into a new or empty folder");
    row("script in OUT links elsewhere", "linked script", {build, "%T/ms", "%T/out"}, 1,
        "velmora2-story: %T/out/dat2/ibent1-0.da2 is a link: build writes only into folders and "
        "files of its own, never through a link");
    row("OUT/dat1 links to a folder", "linked dat1", {build, "%T/ms", "%T/out"}, 1,
        "velmora2-story: %T/out/dat1 is a link: build writes only into folders and files of its "
        "own, never through a link");
    row("FIFO in OUT", "fifo in out", {build, "%T/ms", "%T/out"}, 1,
        "velmora2-story: %T/out/dat2/ibent1-0.da2 was not written by velmora2-story: build into "
        "a new or empty folder, or move the file away");
    row("source links out", "source link", {build, "%T/ms", "%T/out"}, 1,
        "dat2/ibent1-1.txt: error: a link that leads out of the story (to %T/secret.txt)");
    row("source is a FIFO", "source fifo", {build, "%T/ms", "%T/out"}, 1,
        "dat2/ibent1-1.txt: error: a FIFO, not a file");
    row("source is /dev/zero", "source zero", {build, "%T/ms", "%T/out"}, 1,
        "dat2/ibent1-1.txt: error: a link that leads out of the story (to /dev/zero)");
    row("picture is /dev/zero", "picture zero", {build, "%T/ms", "%T/out"}, 1,
        "dat1/back2.da1: error: a link that leads out of the story (to /dev/zero)");
    row("picture is a FIFO", "picture fifo", {build, "%T/ms", "%T/out"}, 1,
        "dat1/back2.da1: error: a FIFO, not a file");
    row("no scripts", "no scripts", {build, "%T/ms", "%T/out"}, 1,
        "dat2: error: no script sources (ibent<place>-<number>.txt) to build");
    row("walkthrough is a FIFO", "walkthrough fifo", {"test", "--data", "%T/nowhere", "%T/ms"}, 1,
        "FAIL a: %T/ms/walkthroughs/a.txt: a FIFO, not a file (walkthroughs/a.txt)");
    row("walkthrough is /dev/zero", "walkthrough zero", {"test", "--data", "%T/nowhere", "%T/ms"},
        1,
        "FAIL a: %T/ms/walkthroughs/a.txt: a link that leads out of the story (to /dev/zero) "
        "(walkthroughs/a.txt)");
    row("decode: foreign file in OUT", "decoded notes", {decode, "%T/data", "%T/src"}, 1,
        "velmora2-story: %T/src/dat2/notes.txt was not written by velmora2-story: decode into a "
        "new or empty folder, or move the file away");
    row("decode: swapped arguments", "built", {decode, "%T/ms/out", "%T/ms"}, 1,
        "velmora2-story: %T/ms holds the story %T/ms/out: decode into another folder");
    row("decode: a story's sources", "built", {decode, "%T/data", "%T/ms"}, 1,
        "velmora2-story: %T/ms/dat1/back1.da1 was not written by velmora2-story: decode into "
        "a new or empty folder, or move the file away");
    row("decode: script is a FIFO", "data fifo", {decode, "%T/data", "%T/src"}, 1,
        "dat2/ibent1-1.da2: error: a FIFO, not a file", true);
    row("decode: script is /dev/zero", "data zero", {decode, "%T/data", "%T/src"}, 1,
        "dat2/ibent1-1.da2: error: a link that leads out of the story (to /dev/zero)", true);
    row("decode: no scripts", "", {decode, "%T/ms", "%T/src"}, 1,
        "%T/ms/dat2: error: no scripts (*.da2) to decode: nothing written");
}

void TestStorySafety::refusals()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(bool, writes);
    QTemporaryDir dir;
    const QString t = dir.path();
    const auto at = [&t](const char *relative) { return t + u'/' + QLatin1String(relative); };
    writeSources(at("ms"));
    writeFile(at("data/dat2/ibent1-0.da2"), "11\r\n34\x82\xA0\r\n");
    writeFile(at("secret.txt"), "the user's own file\n");
    if (setup == QLatin1String("notes")) {
        writeFile(at("out/dat2/ibent1-0.da2"), "11\r\n");
        writeFile(at("out/notes.txt"), "mine\n");
    } else if (setup == QLatin1String("psd")) {
        writeFile(at("out/dat1/mydrawing.psd"), "layers\n");
    } else if (setup == QLatin1String("built")) {
        writeFile(at("ms/out/dat2/ibent1-0.da2"), "11\r\n");
    } else if (setup == QLatin1String("other")) {
        writeSources(at("b"));
    } else if (setup == QLatin1String("walkthroughs")) {
        writeFile(at("out/walkthroughs/a.txt"), "ending: bad 2\n");
    } else if (setup == QLatin1String("file")) {
        writeFile(at("notes.txt"), "mine\n");
    } else if (setup == QLatin1String("linked script")) {
        makeLink(at("secret.txt"), at("out/dat2/ibent1-0.da2"));
    } else if (setup == QLatin1String("linked dat1")) {
        writeFile(at("drawings/mydrawing.psd"), "layers\n");
        makeLink(at("drawings"), at("out/dat1"));
    } else if (setup == QLatin1String("fifo in out")) {
        fifo(at("out/dat2/ibent1-0.da2"));
    } else if (setup == QLatin1String("walkthrough zero")) {
        makeLink(QStringLiteral("/dev/zero"), at("ms/walkthroughs/a.txt"));
    } else if (setup == QLatin1String("source link")) {
        makeLink(at("secret.txt"), at("ms/dat2/ibent1-1.txt"));
    } else if (setup == QLatin1String("source fifo")) {
        fifo(at("ms/dat2/ibent1-1.txt"));
    } else if (setup == QLatin1String("source zero")) {
        makeLink(QStringLiteral("/dev/zero"), at("ms/dat2/ibent1-1.txt"));
    } else if (setup == QLatin1String("picture zero")) {
        makeLink(QStringLiteral("/dev/zero"), at("ms/dat1/back2.da1"));
    } else if (setup == QLatin1String("picture fifo")) {
        fifo(at("ms/dat1/back2.da1"));
    } else if (setup == QLatin1String("no scripts")) {
        QVERIFY(QFile::remove(at("ms/dat2/ibent1-0.txt")));
    } else if (setup == QLatin1String("walkthrough fifo")) {
        fifo(at("ms/walkthroughs/a.txt"));
    } else if (setup == QLatin1String("decoded notes")) {
        writeFile(at("src/dat2/notes.txt"), "mine\n");
    } else if (setup == QLatin1String("data fifo")) {
        fifo(at("data/dat2/ibent1-1.da2"));
    } else if (setup == QLatin1String("data zero")) {
        makeLink(QStringLiteral("/dev/zero"), at("data/dat2/ibent1-1.da2"));
    } else {
        QVERIFY2(setup.isEmpty(), qPrintable(setup));
    }
    for (QString &argument : arguments)
        argument.replace(QLatin1String("%T"), t);
    message.replace(QLatin1String("%T"), t);

    const Tree before = treeOf(t);
    QString output;
    QCOMPARE(runStory(arguments, &output), status);
    QVERIFY2(output.split(u'\n').contains(message), qPrintable(output));
    const Tree after = treeOf(t);
    QCOMPARE(changed(before, after), QStringList());
    if (!writes)
        QCOMPARE(added(before, after), QStringList());
}

// A build owns what it wrote and nothing else: the README's mystory/out inside the
// sources, rebuilt; a folder built before the manifest, taken over; a script
// removed from the sources, removed from OUT; a script edited in OUT, kept.
void TestStorySafety::buildOwnsItsFolder()
{
    QTemporaryDir dir;
    const QString story = dir.filePath(QStringLiteral("mystory"));
    const QString out = story + QStringLiteral("/out");
    QCOMPARE(runStory({QStringLiteral("new"), story}), 0);
    QString report;
    QCOMPARE(runStory({QStringLiteral("build"), story, out}, &report), 0);
    QVERIFY(QFileInfo(out + QStringLiteral("/velmora2-story.manifest")).isFile());
    const Tree first = treeOf(out);
    // Nothing changed: nothing is written.
    QCOMPARE(runStory({QStringLiteral("build"), story, out}, &report), 0);
    QCOMPARE(treeOf(out), first);

    // A source gone: its script goes too; a source edited: its script follows.
    QVERIFY(QFile::remove(story + QStringLiteral("/dat2/ibent6-0.txt")));
    QByteArray home = readFile(story + QStringLiteral("/dat2/ibent1-0.txt"));
    const qsizetype talk = home.indexOf("の部屋。");
    QVERIFY(talk >= 0);
    home.insert(talk, "ただいま。");
    writeFile(story + QStringLiteral("/dat2/ibent1-0.txt"), home);
    QCOMPARE(runStory({QStringLiteral("build"), story, out}, &report), 0);
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/dat2/ibent6-0.da2")));
    QVERIFY(readFile(out + QStringLiteral("/dat2/ibent1-0.da2"))
                .contains(QByteArray("\x82\xBD\x82\xBE\x82\xA2\x82\xDC")));
    // No staging folder stays behind.
    QCOMPARE(QDir(story).entryList({QStringLiteral(".out.vm2-staging-*")},
                                   QDir::AllEntries | QDir::Hidden),
             QStringList());

    // A script edited in OUT since the build is not overwritten.
    writeFile(out + QStringLiteral("/dat2/ibent2-0.da2"), "11\r\n");
    const Tree edited = treeOf(dir.path());
    QCOMPARE(runStory({QStringLiteral("build"), story, out}, &report), 1);
    QCOMPARE(report, QStringLiteral("velmora2-story: %1/dat2/ibent2-0.da2 was changed since "
                                    "velmora2-story wrote it: build would overwrite it; move it "
                                    "away first\n")
                         .arg(out));
    QCOMPARE(treeOf(dir.path()), edited);

    // A folder built before builds kept a manifest: taken over.
    const QString old = dir.filePath(QStringLiteral("old"));
    for (const QString &name : QDir(out + QStringLiteral("/dat2")).entryList(QDir::Files))
        writeFile(old + QStringLiteral("/dat2/") + name, "11\r\n");
    writeFile(old + QStringLiteral("/dat1/back1.da1"), "old");
    QCOMPARE(runStory({QStringLiteral("build"), story, old}, &report), 0);
    QVERIFY(QFileInfo(old + QStringLiteral("/velmora2-story.manifest")).isFile());
    QVERIFY(readFile(old + QStringLiteral("/dat2/ibent1-0.da2")).size() > 4);
}

// decode never deletes a source and never overwrites one edited since it wrote it;
// decoding again into its own earlier output works.
void TestStorySafety::decodeKeepsSources()
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString src = dir.filePath(QStringLiteral("src"));
    writeFile(data + QStringLiteral("/dat2/ibent1-0.da2"), "11\r\n34\x82\xA0\r\n");
    writeFile(data + QStringLiteral("/dat2/ibent1-1.da2"), "11\r\n34\x82\xA2\r\n");
    writeFile(data + QStringLiteral("/dat1/back1.da1"), png());
    QString report;
    QCOMPARE(runStory({QStringLiteral("decode"), data, src}, &report), 0);
    QCOMPARE(readFile(src + QStringLiteral("/dat2/ibent1-1.txt")), QByteArray("11\n34い\n"));
    QCOMPARE(runStory({QStringLiteral("decode"), data, src}, &report), 0);

    // A script that no longer decodes, and one gone: their sources stay.
    writeFile(data + QStringLiteral("/dat2/ibent1-1.da2"), "11\r\n34\x82\r\n");
    QVERIFY(QFile::remove(data + QStringLiteral("/dat1/back1.da1")));
    writeFile(data + QStringLiteral("/dat2/ibent1-2.da2"), "11\r\n");
    QCOMPARE(runStory({QStringLiteral("decode"), data, src}, &report), 1);
    QVERIFY2(report.contains(QStringLiteral("dat2/ibent1-1.da2:2: error: not valid code page 932")),
             qPrintable(report));
    QCOMPARE(readFile(src + QStringLiteral("/dat2/ibent1-1.txt")), QByteArray("11\n34い\n"));
    QCOMPARE(readFile(src + QStringLiteral("/dat1/back1.da1")), png());
    QCOMPARE(readFile(src + QStringLiteral("/dat2/ibent1-2.txt")), QByteArray("11\n"));

    // A source edited since: decode stops before writing anything.
    writeFile(src + QStringLiteral("/dat2/ibent1-0.txt"), "11\n34あ、編集した。\n");
    const Tree edited = treeOf(dir.path());
    QCOMPARE(runStory({QStringLiteral("decode"), data, src}, &report), 1);
    QCOMPARE(report, QStringLiteral("velmora2-story: %1/dat2/ibent1-0.txt was changed since "
                                    "velmora2-story wrote it: decode would overwrite it; move it "
                                    "away first\n")
                         .arg(src));
    QCOMPARE(treeOf(dir.path()), edited);
}

// Builds killed (SIGKILL) at random moments while they alternate between two
// stories: OUT is always one of the two, byte for byte. VM2_DRILL_ROUNDS sets the
// number of kills, VM2_TEST_SEED repeats a run.
void TestStorySafety::killDuringBuilds()
{
    Drill drill(12);
    const int rounds = drill.rounds;

    // Two versions of a story of 300 scripts and a picture, each file different
    // between them.
    QTemporaryDir dir;
    const QString sources[2] = {dir.filePath(QStringLiteral("a")),
                                dir.filePath(QStringLiteral("b"))};
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < 300; ++i) {
            QByteArray text = "11\n";
            for (int line = 0; line < 20; ++line)
                text +=
                    QStringLiteral("34版%1、場面%2の%3行目。\n").arg(k).arg(i).arg(line).toUtf8();
            writeFile(sources[k] + QStringLiteral("/dat2/ibent%1-%2.txt").arg(i % 9 + 1).arg(i / 9),
                      text);
        }
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(k ? Qt::blue : Qt::red);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        writeFile(sources[k] + QStringLiteral("/dat1/back1.da1"), bytes);
    }
    const QString out = dir.filePath(QStringLiteral("out"));
    Tree stories[2];
    QElapsedTimer clock;
    qint64 longest = 0;
    for (int k : {0, 1}) {
        clock.start();
        runStory({QStringLiteral("build"), sources[k], out});
        longest = std::max(longest, clock.elapsed());
        stories[k] = treeOf(out);
        QVERIFY(stories[k].size() > 300);
    }
    QVERIFY(stories[0] != stories[1]);

    int current = 1;
    int caught[2] = {0, 0};
    int killed = 0;
    for (int round = 0; round < rounds; ++round) {
        const int target = 1 - current;
        QString error;
        killed += killedAfter({QStringLiteral("build"), sources[target], out}, drill.delay(longest),
                              &error);
        QVERIFY2(error.isEmpty(), qPrintable(drill.failure(round, error)));
        const Tree now = treeOf(out);
        if (now == stories[0])
            current = 0;
        else if (now == stories[1])
            current = 1;
        else
            QFAIL(qPrintable(drill.failure(
                round, QStringLiteral("OUT is neither story: %1 entries").arg(now.size()))));
        ++caught[current];
    }
    qInfo("%d rounds, %d builds killed; OUT held story a %d times, story b %d times (%lld ms a "
          "build)",
          rounds, killed, caught[0], caught[1], longest);
    // The next build removes what the killed ones left beside OUT.
    runStory({QStringLiteral("build"), sources[1 - current], out});
    QCOMPARE(treeOf(out), stories[1 - current]);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"a", "b", "out"}));
}

// A rebuild onto a full disk: exit 1, the file named, the old OUT whole.
void TestStorySafety::fullDisk()
{
    QTemporaryDir dir;
    const QString t = dir.path();
    writeFile(t + QStringLiteral("/small/dat2/ibent1-0.txt"), "11\n34小さい話。\n");
    writeFile(t + QStringLiteral("/big/dat2/ibent1-0.txt"), "11\n34大きい話。\n");
    writeFile(t + QStringLiteral("/big/dat2/ibent1-1.txt"), "11\n" + QByteArray(1 << 20, 'a'));
    QDir().mkpath(t + QStringLiteral("/small/dat1"));
    QDir().mkpath(t + QStringLiteral("/big/dat1"));
    QDir().mkpath(t + QStringLiteral("/disk"));
    const QString script = QStringLiteral(
        "set -e; T=\"$1\"; STORY=\"$2\"; OUT=\"$T/disk/out\"\n"
        "if [ \"$3\" = tmpfs ]; then mount -t tmpfs -o size=256k tmpfs \"$T/disk\"; fi\n"
        "\"$STORY\" build \"$T/small\" \"$OUT\" >/dev/null 2>&1 || true\n"
        "cp -a \"$OUT\" \"$T/before\"\n"
        "set +e\n"
        "if [ \"$3\" = tmpfs ]; then \"$STORY\" build \"$T/big\" \"$OUT\" >\"$T/report\" 2>&1\n"
        "else prlimit --fsize=65536 -- \"$STORY\" build \"$T/big\" \"$OUT\" >\"$T/report\" 2>&1; "
        "fi\n"
        "echo $? >\"$T/status\"\n"
        "cp -a \"$OUT\" \"$T/after\"\n"
        "ls -A \"$T/disk\" >\"$T/listing\"\n");
    const QString how = fullDiskWay(t + QStringLiteral("/disk"));
    if (how.isEmpty())
        QSKIP("neither a user and mount namespace (unshare -rm) nor prlimit: no full disk to try");
    QString output;
    QCOMPARE(runScript(how, script, {t, kStory, how}, &output), 0);
    QVERIFY2(output.isEmpty(), qPrintable(output));
    QCOMPARE(readFile(t + QStringLiteral("/status")), QByteArray("1\n"));
    const QString reason = fullDiskReason(how);
    QCOMPARE(QString::fromUtf8(readFile(t + QStringLiteral("/report"))),
             QStringLiteral("velmora2-story: cannot write %1/disk/out/dat2/ibent1-1.da2: %2: "
                            "%1/disk/out is unchanged\n")
                 .arg(t, reason));
    const Tree before = treeOf(t + QStringLiteral("/before"));
    QVERIFY(before.count(QStringLiteral("dat2/ibent1-0.da2")));
    QCOMPARE(treeOf(t + QStringLiteral("/after")), before);
    QCOMPARE(readFile(t + QStringLiteral("/listing")), QByteArray("out\n"));
    qInfo("full disk by %s", qPrintable(how));
}

// new killed (SIGKILL) at random moments, into a new folder and into an empty one
// by turns: the folder is always as it was, or the whole starter story byte for byte
// (that of a new run into a fresh folder), and the next run removes what the killed
// ones left beside it. VM2_DRILL_ROUNDS sets the number of kills, VM2_TEST_SEED
// repeats a run.
void TestStorySafety::killDuringNew()
{
    Drill drill(12);
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(runStory({QStringLiteral("new"), fresh}), 0);
    const qint64 longest = clock.elapsed();
    const Tree story = treeOf(fresh);
    QVERIFY(story.size() > 15);
    const QString target = dir.filePath(QStringLiteral("mystory"));
    const QStringList staging = {QStringLiteral(".mystory.vm2-staging-*")};
    int killed = 0, whole = 0, left = 0;
    for (int round = 0; round < drill.rounds; ++round) {
        const bool empty = round % 2 == 1;
        if (empty) {
            QVERIFY(QDir().mkdir(target));
            QVERIFY(::chmod(QFile::encodeName(target).constData(), 0750) == 0);
        }
        const int mode = modeOf(target);
        QString error;
        killed += killedAfter({QStringLiteral("new"), target}, drill.delay(longest), &error);
        QVERIFY2(error.isEmpty(), qPrintable(drill.failure(round, error)));
        left += !QDir(dir.path()).entryList(staging, QDir::AllEntries | QDir::Hidden).isEmpty();
        const QFileInfo info(target);
        const Tree now = treeOf(target);
        if (now == story) {
            ++whole;
            if (empty)
                QCOMPARE(modeOf(target), mode);
        } else if (!now.empty() || info.exists() != empty) {
            QFAIL(qPrintable(drill.failure(
                round, QStringLiteral("%1 is neither as it was nor the starter story: %2 entries")
                           .arg(target)
                           .arg(now.size()))));
        } else if (empty) {
            QVERIFY2(info.isDir() && modeOf(target) == mode,
                     qPrintable(drill.failure(round, QStringLiteral("the empty folder changed"))));
        }
        QVERIFY(!info.exists() || QDir(target).removeRecursively());
    }
    qInfo("%d rounds, %d runs of new killed, %d left a staging folder; the story was whole %d "
          "times (%lld ms a run)",
          drill.rounds, killed, left, whole, longest);
    QCOMPARE(runStory({QStringLiteral("new"), target}), 0);
    QCOMPARE(treeOf(target), story);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"fresh", "mystory"}));
}

// new onto a full disk: exit 1, the file named, the folder as it was (absent, or
// empty with its permissions) and nothing left beside it.
void TestStorySafety::newOnFullDisk_data()
{
    QTest::addColumn<bool>("empty");
    QTest::newRow("new folder") << false;
    QTest::newRow("empty folder") << true;
}

void TestStorySafety::newOnFullDisk()
{
    QFETCH(bool, empty);
    QTemporaryDir dir;
    const QString t = dir.path();
    QDir().mkpath(t + QStringLiteral("/disk"));
    const QString how = fullDiskWay(t + QStringLiteral("/disk"));
    if (how.isEmpty())
        QSKIP("neither a user and mount namespace (unshare -rm) nor prlimit: no full disk to try");
    const QString script = QStringLiteral(
        "set -e; T=\"$1\"; STORY=\"$2\"; DIR=\"$T/disk/mystory\"\n"
        "if [ \"$3\" = tmpfs ]; then mount -t tmpfs -o size=256k tmpfs \"$T/disk\"; fi\n"
        "if [ \"$4\" = empty ]; then mkdir \"$DIR\"; chmod 750 \"$DIR\"; fi\n"
        "set +e\n"
        "if [ \"$3\" = tmpfs ]; then \"$STORY\" new \"$DIR\" >\"$T/report\" 2>&1\n"
        "else prlimit --fsize=65536 -- \"$STORY\" new \"$DIR\" >\"$T/report\" 2>&1; fi\n"
        "echo $? >\"$T/status\"\n"
        "ls -A \"$T/disk\" >\"$T/listing\"\n"
        "if [ -d \"$DIR\" ]; then ls -A \"$DIR\" >\"$T/contents\"; stat -c %a \"$DIR\" "
        ">\"$T/mode\"; fi\n");
    QString output;
    QCOMPARE(runScript(how, script,
                       {t, kStory, how, empty ? QStringLiteral("empty") : QStringLiteral("new")},
                       &output),
             0);
    QVERIFY2(output.isEmpty(), qPrintable(output));
    QCOMPARE(readFile(t + QStringLiteral("/status")), QByteArray("1\n"));
    const QString report = QString::fromUtf8(readFile(t + QStringLiteral("/report")));
    const QString folder = t + QStringLiteral("/disk/mystory");
    const QRegularExpression expected(
        QStringLiteral("^velmora2-story: cannot write %1/[a-z0-9]+/[^/\\n]+: %2: %3\n$")
            .arg(QRegularExpression::escape(folder), fullDiskReason(how),
                 empty ? QRegularExpression::escape(folder) + QStringLiteral(" is unchanged")
                       : QStringLiteral("nothing written")));
    QVERIFY2(expected.match(report).hasMatch(), qPrintable(report));
    QCOMPARE(readFile(t + QStringLiteral("/listing")),
             empty ? QByteArray("mystory\n") : QByteArray());
    QCOMPARE(readFile(t + QStringLiteral("/contents")), QByteArray());
    QCOMPARE(readFile(t + QStringLiteral("/mode")), empty ? QByteArray("750\n") : QByteArray());
    qInfo("full disk by %s", qPrintable(how));
}

// A staging folder that a killed new left beside the folder is removed by the next
// new into it, when its process is gone and it holds only what new writes (parts
// of the starter story, the old empty folder); one of a live process, or one that
// holds anything else, stays. An empty folder keeps its permissions.
void TestStorySafety::newRemovesLeftStaging()
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    QCOMPARE(runStory({QStringLiteral("new"), fresh}), 0);
    const Tree story = treeOf(fresh);
    const auto deadProcess = [] {
        QProcess gone;
        gone.start(QStringLiteral("true"), QStringList());
        gone.waitForStarted();
        const qint64 pid = gone.processId();
        gone.waitForFinished();
        return pid;
    };
    const auto staging = [&dir](qint64 pid) {
        return dir.filePath(QStringLiteral(".mystory.vm2-staging-%1").arg(pid));
    };
    const QString home = QStringLiteral("/dat2/ibent1-0.txt");
    const QByteArray homeText = readFile(fresh + home);
    QVERIFY(homeText.size() > 10);
    const QString killed = staging(deadProcess());
    writeFile(killed + home, homeText.left(10));
    QVERIFY(QDir().mkpath(killed + QStringLiteral("/dat1")));
    QVERIFY(QDir().mkpath(killed + QStringLiteral("/walkthroughs")));
    const QString swappedOut = staging(deadProcess());
    QVERIFY(QDir().mkpath(swappedOut));
    const QString running = staging(QCoreApplication::applicationPid());
    writeFile(running + home, homeText);
    const QString edited = staging(deadProcess());
    writeFile(edited + home, homeText + "34書き足した。\n");
    const QString notes = staging(deadProcess());
    writeFile(notes + QStringLiteral("/notes.txt"), "mine\n");

    const QString target = dir.filePath(QStringLiteral("mystory"));
    QVERIFY(QDir().mkdir(target));
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0700) == 0);
    QCOMPARE(runStory({QStringLiteral("new"), target}), 0);
    QCOMPARE(treeOf(target), story);
    QCOMPARE(modeOf(target), 0700);
    QStringList kept = {QStringLiteral("fresh"), QStringLiteral("mystory"),
                        QFileInfo(running).fileName(), QFileInfo(edited).fileName(),
                        QFileInfo(notes).fileName()};
    kept.sort();
    QCOMPARE(QDir(dir.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
             kept);
    QCOMPARE(readFile(edited + home), homeText + "34書き足した。\n");
}

// The story map is written whole, and never into the story it maps.
void TestStorySafety::graphRefusals_data()
{
    QTest::addColumn<QString>("graph");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("a script") << "%T/dat2/ibent1-0.da2" << 2
                              << "velmora2-check: --graph %T/dat2/ibent1-0.da2 lies in the "
                                 "story's dat2: write the story map outside dat1 and dat2";
    QTest::newRow("a new file in dat1")
        << "%T/dat1/map.dot" << 2
        << "velmora2-check: --graph %T/dat1/map.dot lies in the story's dat1: write the story map "
           "outside dat1 and dat2";
    QTest::newRow("a link to a script")
        << "%T/link.dot" << 2
        << "velmora2-check: --graph %T/link.dot lies in the story's dat2: write the story map "
           "outside dat1 and dat2";
    QTest::newRow("beside the story") << "%T/map.dot" << 1 << "";
}

void TestStorySafety::graphRefusals()
{
    QFETCH(QString, graph);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString t = dir.path();
    writeFile(t + QStringLiteral("/dat2/ibent1-0.da2"), "11\r\n34\x82\xA0\r\n");
    QDir().mkpath(t + QStringLiteral("/dat1"));
    makeLink(t + QStringLiteral("/dat2/ibent1-0.da2"), t + QStringLiteral("/link.dot"));
    graph.replace(QLatin1String("%T"), t);
    message.replace(QLatin1String("%T"), t);
    const Tree before = treeOf(t);
    QProcess check;
    check.start(QStringLiteral(VM2_PROGRAM_DIR "/velmora2-check"),
                {QStringLiteral("--data"), t, QStringLiteral("--graph"), graph});
    QVERIFY(check.waitForFinished(60000));
    QCOMPARE(check.exitCode(), status);
    const QString errors = QString::fromUtf8(check.readAllStandardError());
    if (message.isEmpty()) {
        QVERIFY2(readFile(graph).contains("digraph story {"), qPrintable(errors));
        QCOMPARE(added(before, treeOf(t)), QStringList{QStringLiteral("map.dot")});
    } else {
        QCOMPARE(errors, message + u'\n');
        QCOMPARE(treeOf(t), before);
    }
}

// --snapshots writes into a folder of its own: a new or empty one, or one it marked.
void TestStorySafety::snapshotFolders_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString refused = QStringLiteral(
        "velmora2-play: --snapshots %T/shots holds %T/shots/%1, which velmora2-play did not "
        "write: give a new or empty folder, or one that holds its snapshots");
    QTest::newRow("new") << "" << 3 << "";
    QTest::newRow("empty") << "empty" << 3 << "";
    QTest::newRow("its own, with older snapshots") << "marked" << 3 << "";
    QTest::newRow("another file") << "notes" << 2 << refused.arg(QStringLiteral("notes.txt"));
    QTest::newRow("snapshots it did not mark")
        << "unmarked" << 2 << refused.arg(QStringLiteral("wait-009.png"));
    QTest::newRow("another file among its own")
        << "marked notes" << 2 << refused.arg(QStringLiteral("notes.txt"));
    QTest::newRow("a file") << "file" << 2 << "velmora2-play: --snapshots %T/shots is not a folder";
}

void TestStorySafety::snapshotFolders()
{
    QFETCH(QString, setup);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString t = dir.path();
    const QString shots = t + QStringLiteral("/shots");
    const QString marker = shots + QStringLiteral("/.velmora2-play-snapshots");
    if (setup == QLatin1String("empty"))
        QDir().mkpath(shots);
    if (setup.startsWith(QLatin1String("marked")))
        writeFile(marker, "");
    if (setup == QLatin1String("marked") || setup == QLatin1String("unmarked"))
        writeFile(shots + QStringLiteral("/wait-009.png"), png());
    if (setup.endsWith(QLatin1String("notes")))
        writeFile(shots + QStringLiteral("/notes.txt"), "mine\n");
    if (setup == QLatin1String("file"))
        writeFile(shots, "mine\n");
    message.replace(QLatin1String("%T"), t);
    const Tree before = treeOf(t);
    QString output;
    QCOMPARE(run(QStringLiteral(VM2_PROGRAM_DIR "/velmora2-play"),
                 {QStringLiteral("--data"), QStringLiteral(VM2_PROGRAM_DIR),
                  QStringLiteral("--snapshots"), shots, QStringLiteral("2"), QStringLiteral("0")},
                 &output),
             status);
    if (!message.isEmpty()) {
        QCOMPARE(output.section(u'\n', 0, 0), message);
        QCOMPARE(treeOf(t), before);
        return;
    }
    QVERIFY(QFileInfo(marker).isFile());
    QVERIFY(QFileInfo(shots + QStringLiteral("/final.png")).isFile());
    QVERIFY(QFileInfo(shots + QStringLiteral("/wait-001.png")).isFile());
    QVERIFY(!QFileInfo::exists(shots + QStringLiteral("/wait-009.png")));
}

QTEST_GUILESS_MAIN(TestStorySafety)
#include "tst_storysafety.moc"
