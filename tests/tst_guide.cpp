// The examples of the author's guide (docs/authoring.md), each run as the guide says.
//
// A script example is a fenced block whose info string is "story" and the file it
// stands for ("```story ibent2-0.txt"); a walkthrough is "```walkthrough NAME.txt".
// The "```console" blocks that follow them show a command ("$ velmora2-play ...",
// "$ velmora2-check", "$ velmora2-story build", "$ velmora2-story test") and what it
// prints. Each group of examples is placed into a small story of this test (a quiet
// event for every place, every ending and the bonus, pictures of every role), built
// as velmora2-story builds, and every command of the group is run on it and compared
// line for line. Findings and build remarks are compared for the example's own files
// only; an example shown without "$ velmora2-check" must check without an error or a
// warning. In story blocks "␠" stands for a blank at the end of a line.
#include "checker.h"
#include "cp932text.h"
#include "player.h"
#include "stage/stage.h"
#include "walkthrough.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace vm2;

namespace {

struct Console {
    int line = 0;
    QStringList command; // without the "$"
    QStringList expected;
};

struct Example {
    int line = 0;                          // of its first block in the guide
    std::map<QString, QByteArray> scripts; // ibent2-0.txt: UTF-8 source
    std::map<QString, QByteArray> walkthroughs;
    std::vector<Console> consoles;
};

// The quiet story around the examples: every place's first event, every ending, the
// bonus; every ending line noted, so that nothing in it is unreachable.
const std::map<QString, QByteArray> kFixture = {
    {"ibent1-0.txt", "11\n"},
    {"ibent2-0.txt", "34誰もいない。\n"},
    {"ibent3-0.txt", "34誰もいない。\n"},
    {"ibent4-0.txt", "34誰もいない。\n"},
    {"ibent5-0.txt", "34誰もいない。\n"},
    {"ibent6-0.txt", "40101\nはい\nいいえ\nB2\nB3\n"},
    {"ibent7-0.txt", "40101\nはい\nいいえ\nB4\nB5\n"},
    {"ibentA-0.txt", "34誰もいない。\n"},
    {"ibentB-0.txt", "34誰もいない。\n"},
    {"ibent9-0.txt", "34リオのハッピーエンド\n"},
    {"ibent9-1.txt", "34リオのバッドエンド\n"},
    {"ibent9-2.txt", "34詩織のハッピーエンド\n"},
    {"ibent9-3.txt", "34夏美のハッピーエンド\n"},
    {"ibent9-4.txt", "34雪乃のハッピーエンド\n"},
    {"ibent9-5.txt", "34詩織のバッドエンド\n"},
    {"ibent9-6.txt", "34夏美のバッドエンド\n"},
    {"ibent9-7.txt", "34雪乃のバッドエンド\n"},
    {"ibent9-8.txt", "34おまけ\n"},
};

// Splits a command line at blanks, keeping double-quoted parts together.
QStringList words(const QString &line)
{
    QStringList list;
    static const QRegularExpression word(QStringLiteral("\"([^\"]*)\"|(\\S+)"));
    for (const auto &m : word.globalMatch(line))
        list << (m.capturedStart(1) >= 0 ? m.captured(1) : m.captured(2));
    return list;
}

std::vector<Example> readGuide(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    std::vector<Example> examples;
    bool open = false; // the last example still takes story blocks
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).startsWith(QStringLiteral("```")))
            continue;
        const QStringList info = lines.at(i).mid(3).split(u' ', Qt::SkipEmptyParts);
        const int start = static_cast<int>(i + 1);
        QStringList body;
        for (++i; i < lines.size() && !lines.at(i).startsWith(QStringLiteral("```")); ++i)
            body << lines.at(i);
        const QString kind = info.value(0);
        if (kind == QLatin1String("story") || kind == QLatin1String("walkthrough")) {
            if (!open)
                examples.push_back({start, {}, {}, {}});
            open = true;
            QString text = body.join(u'\n') + u'\n';
            text.replace(QStringLiteral("␠"), QStringLiteral(" "));
            auto &files = kind == QLatin1String("story") ? examples.back().scripts
                                                         : examples.back().walkthroughs;
            files[info.value(1)] = text.toUtf8();
        } else if (kind == QLatin1String("console") && !examples.empty() && !body.isEmpty() &&
                   body.first().startsWith(QStringLiteral("$ "))) {
            open = false;
            examples.back().consoles.push_back({start, words(body.first().mid(2)), body.mid(1)});
        }
    }
    return examples;
}

// Plain pictures of every role at their sizes: a grey body and face with their
// black masks, an event picture, and every background.
void drawPictures(const QString &folder)
{
    QDir().mkpath(folder);
    auto save = [&](const QImage &image, const QString &name) {
        if (!image.save(folder + u'/' + name, "BMP"))
            qFatal("cannot write %s", qPrintable(name));
    };
    auto fill = [](QImage &image, QRect r, QColor colour) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x)
                image.setPixel(x, y, colour.rgb());
        }
    };
    auto masked = [&](int w, int h, int cells, QRect shape) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int c = 0; c < cells - 1; ++c)
            fill(image, shape.translated(c * w / cells, 0), QColor(90 + 30 * c, 90, 120));
        fill(image, shape.translated((cells - 1) * w / cells, 0), Qt::black);
        return image;
    };
    for (const QChar c : QStringLiteral("123456789ABCDEF")) {
        QImage back(400, 400, QImage::Format_RGB32);
        back.fill(QColor(0x20, 0x40, 0x60));
        save(back, QStringLiteral("back%1.da1").arg(c));
    }
    for (const QString c : {"1", "2", "3", "4", "5", "A"}) {
        save(masked(600, 400, 2, QRect(60, 40, 180, 360)), QStringLiteral("chara%1.da1").arg(c));
        const stage::FaceRect face = stage::faceRect(c);
        if (!face.isNull())
            save(masked(6 * face.w, face.h, 6, QRect(5, 5, face.w - 10, face.h - 10)),
                 QStringLiteral("f%1.da1").arg(c));
    }
    save(masked(600, 400, 2, QRect(40, 60, 200, 340)), QStringLiteral("chara2-1.da1"));
    for (int i = 1; i <= 9; ++i)
        save(masked(800, 400, 2, QRect(40, 40, 320, 320)), QStringLiteral("ibent0%1.da1").arg(i));
}

} // namespace

class TestGuide : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void enoughExamples();
    void example_data();
    void example();
    void cleanupTestCase();

private:
    // With VM2_GUIDE_UPDATE set to a file name, the guide is written there with what
    // the commands print, for its author to compare and take over.
    std::map<int, QStringList> m_printed; // by the guide line of the console block
    QTemporaryDir m_pictures;
    std::vector<Example> m_examples;
};

void TestGuide::initTestCase()
{
    drawPictures(m_pictures.filePath(QStringLiteral("dat1")));
    m_examples = readGuide(QStringLiteral(VM2_GUIDE));
}

void TestGuide::enoughExamples()
{
    int scripts = 0;
    for (const Example &e : m_examples) {
        QVERIFY2(
            !e.consoles.empty(),
            qPrintable(QStringLiteral("line %1: an example without a console block").arg(e.line)));
        scripts += static_cast<int>(e.scripts.size());
    }
    qInfo("%d examples, %d script blocks", static_cast<int>(m_examples.size()), scripts);
    QVERIFY(m_examples.size() >= 25);
}

void TestGuide::example_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < m_examples.size(); ++i)
        QTest::newRow(qPrintable(QStringLiteral("line %1").arg(m_examples[i].line)))
            << static_cast<int>(i);
}

void TestGuide::example()
{
    QFETCH(int, index);
    const Example &e = m_examples[static_cast<std::size_t>(index)];
    QTemporaryDir dir;
    const QString data = dir.path();
    QVERIFY(
        QFile::link(m_pictures.filePath(QStringLiteral("dat1")), data + QStringLiteral("/dat1")));
    QDir(data).mkpath(QStringLiteral("dat2"));

    // The example's files over the fixture's, built as velmora2-story builds them.
    std::map<QString, QByteArray> sources = kFixture;
    for (const auto &[name, text] : e.scripts)
        sources[name] = text;
    QStringList remarks;
    QStringList own; // the example's files, as findings name them
    for (const auto &[name, text] : sources) {
        const QString script = QFileInfo(name).completeBaseName() + QStringLiteral(".da2");
        const story::Conversion c = story::encodeSource(text);
        if (e.scripts.count(name)) {
            own << QStringLiteral("dat2/") + script;
            for (const story::Remark &r : c.remarks)
                remarks << r.text(QStringLiteral("dat2/") + name);
        }
        if (c.failed())
            continue;
        QFile out(data + QStringLiteral("/dat2/") + script);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(c.bytes);
    }
    QStringList findings;
    bool faults = false;
    for (const check::Finding &f : check::checkData(data).findings.sorted()) {
        if (!own.contains(f.file))
            continue;
        findings << f.text();
        faults = faults || f.severity != check::Severity::Note;
    }

    bool checked = false;
    for (const Console &c : e.consoles) {
        const QString where = QStringLiteral("guide line %1").arg(c.line);
        QStringList actual;
        const QString program = c.command.value(0);
        const QString sub = c.command.value(1);
        if (program == QLatin1String("velmora2-play")) {
            play::Options options;
            QString error;
            QVERIFY2(play::parseArguments(c.command.mid(1), options, error),
                     qPrintable(where + u' ' + error));
            options.dataFolder = data;
            QTemporaryDir store;
            if (!options.storeFile.isEmpty())
                options.storeFile = store.filePath(options.storeFile);
            QString text;
            QTextStream out(&text);
            play::play(options, out);
            out.flush();
            actual = text.split(u'\n', Qt::SkipEmptyParts);
        } else if (program == QLatin1String("velmora2-check")) {
            checked = true;
            actual = findings;
        } else if (program == QLatin1String("velmora2-story") && sub == QLatin1String("build")) {
            checked = true;
            actual = remarks;
            bool failed = false;
            for (const QString &r : remarks)
                failed = failed || r.contains(QStringLiteral(": error: "));
            if (!failed)
                actual += findings;
        } else if (program == QLatin1String("velmora2-story") && sub == QLatin1String("test")) {
            QTemporaryDir folder;
            QDir(folder.path()).mkpath(QStringLiteral("walkthroughs"));
            for (const auto &[name, text] : e.walkthroughs) {
                QFile w(folder.filePath(QStringLiteral("walkthroughs/") + name));
                QVERIFY(w.open(QIODevice::WriteOnly));
                w.write(text);
            }
            QString text;
            QTextStream out(&text);
            story::testWalkthroughs(folder.path(), data, out);
            out.flush();
            actual = text.split(u'\n', Qt::SkipEmptyParts);
        } else {
            QFAIL(qPrintable(where + QStringLiteral(": no such command to run: ") +
                             c.command.join(u' ')));
        }
        m_printed[c.line] = actual;
        if (actual != c.expected) {
            qWarning("%s: the guide shows\n%s\nbut the command prints\n%s", qPrintable(where),
                     qPrintable(c.expected.join(u'\n')), qPrintable(actual.join(u'\n')));
        }
        QCOMPARE(actual, c.expected);
    }
    if (!checked)
        QVERIFY2(!faults, qPrintable(findings.join(u'\n')));
}

void TestGuide::cleanupTestCase()
{
    const QString target = qEnvironmentVariable("VM2_GUIDE_UPDATE");
    if (target.isEmpty())
        return;
    QFile file(QStringLiteral(VM2_GUIDE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QStringList updated;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        updated << lines.at(i);
        const auto printed = m_printed.find(static_cast<int>(i + 1));
        if (printed == m_printed.end())
            continue;
        updated << lines.at(++i); // the command
        while (i + 1 < lines.size() && !lines.at(i + 1).startsWith(QStringLiteral("```")))
            ++i;
        updated << printed->second;
    }
    QFile out(target);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(updated.join(u'\n').toUtf8());
}

QTEST_GUILESS_MAIN(TestGuide)
#include "tst_guide.moc"
