#include "walkthrough.h"

#include "engine/script.h"
#include "platform/settingsstore.h"
#include "player.h"
#include "storybuild.h"
#include "storyread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace vm2::story {

namespace {

// The transcript's line of an ending's closing words, as velmora2-play writes it.
QString closingLine(bool happy)
{
    const engine::ClosingWords &words = engine::closingWords(happy);
    const std::uint32_t c = words.colour;
    const std::uint32_t rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    QString text = words.text;
    text.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    const QString hex = QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("talk %1 %2").arg(hex, text);
}

QString endingName(bool happy, int heroine)
{
    return QStringLiteral("the %1 ending of heroine %2")
        .arg(happy ? QLatin1String("happy") : QLatin1String("bad"))
        .arg(heroine);
}

// The affection of `heroine` as the transcript last showed it before line `end`.
int affectionBefore(const QStringList &transcript, qsizetype end, int heroine)
{
    const QString prefix = QStringLiteral("love %1 ").arg(heroine);
    for (qsizetype i = end - 1; i >= 0; --i) {
        if (transcript.at(i).startsWith(prefix))
            return transcript.at(i).mid(prefix.size()).toInt();
    }
    return 0;
}

// The last message the transcript shows, for a failure that stops short.
QString lastTalk(const QStringList &transcript)
{
    for (qsizetype i = transcript.size() - 1; i >= 0; --i) {
        if (transcript.at(i).startsWith(QStringLiteral("talk ")))
            return transcript.at(i).mid(12);
    }
    return QString();
}

// The transcript line of a run of an event.
QString eventRun(const QString &place, int number)
{
    return QStringLiteral("run %1 %2").arg(place).arg(number);
}

QString judgeEnding(const Walkthrough &w, const QStringList &transcript)
{
    const bool happy = w.ending == QLatin1String("happy");
    const qsizetype wanted =
        transcript.indexOf(eventRun(engine::kEndingsPlace, engine::endingEvent(w.heroine, happy)));
    if (wanted < 0) {
        for (const QString &line : transcript) {
            if (line.startsWith(QStringLiteral("run %1 ").arg(engine::kEndingsPlace)))
                return QStringLiteral("%1 was not played; the ending event %2 was")
                    .arg(endingName(happy, w.heroine), line.mid(4));
        }
        return QStringLiteral("the inputs ended before %1; the last message was \"%2\"")
            .arg(endingName(happy, w.heroine), lastTalk(transcript));
    }
    if (!transcript.contains(closingLine(happy)))
        return QStringLiteral("the closing words of %1 were not shown")
            .arg(endingName(happy, w.heroine));
    return QString();
}

} // namespace

Walkthrough readWalkthrough(const QString &path)
{
    Walkthrough w;
    w.name = QFileInfo(path).completeBaseName();
    for (int i = engine::kFirstName; i <= engine::kLastName; ++i)
        w.names << engine::defaultName(i);
    // Read only from its own folder, whole, and at most kMaxStoryFile bytes.
    StoryFolders folder;
    folder.add(QFileInfo(path).absolutePath());
    QByteArray bytes;
    QString why;
    if (!readStoryFile(path, folder, &bytes, &why)) {
        w.problem = QStringLiteral("%1: %2").arg(path, why);
        return w;
    }
    const QStringList lines =
        QString::fromUtf8(bytes).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (qsizetype i = 0; i < lines.size() && w.problem.isEmpty(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString key = line.section(u':', 0, 0).trimmed();
        const QString value = line.section(u':', 1).trimmed();
        const QString at = QStringLiteral("line %1: ").arg(i + 1);
        if (key == QLatin1String("names")) {
            w.names = value.split(u',');
            if (w.names.size() != 3)
                w.problem = at + QStringLiteral("names: takes SURNAME,GIVEN,NICK");
        } else if (key == QLatin1String("seen")) {
            for (const QString &s : value.split(blanks, Qt::SkipEmptyParts)) {
                const int heroine = s.toInt();
                if (heroine < 2 || heroine > 5)
                    w.problem = at + QStringLiteral("seen: takes heroine numbers 2 to 5");
                w.seen << heroine;
            }
        } else if (key == QLatin1String("ending")) {
            const QStringList parts = value.split(blanks, Qt::SkipEmptyParts);
            w.ending = parts.value(0);
            w.heroine = parts.value(1).toInt();
            const bool route =
                w.ending == QLatin1String("happy") || w.ending == QLatin1String("bad");
            if (!(route && parts.size() == 2 && w.heroine >= engine::kFirstHeroine &&
                  w.heroine <= engine::kLastHeroine) &&
                !(w.ending == QLatin1String("bonus") && parts.size() == 1))
                w.problem = at + QStringLiteral("ending: takes happy N, bad N (N from 2 to 5) "
                                                "or bonus");
        } else if (key == QLatin1String("inputs")) {
            w.inputs += value.split(blanks, Qt::SkipEmptyParts);
        } else {
            w.problem =
                at + QStringLiteral("unknown key \"%1\" (names, seen, ending, inputs)").arg(key);
        }
    }
    if (w.problem.isEmpty() && w.ending.isEmpty())
        w.problem = QStringLiteral("no ending: line (happy N, bad N or bonus)");
    return w;
}

QString playWalkthrough(const Walkthrough &w, const QString &dataFolder)
{
    if (!w.problem.isEmpty())
        return w.problem;
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return QStringLiteral("cannot create a scratch folder");
    vm2::play::Options options;
    options.dataFolder = dataFolder;
    options.names = w.names;
    options.inputs = w.inputs;
    options.storeFile = scratch.filePath(QStringLiteral("store.ini"));
    {
        platform::QSettingsStore store(options.storeFile);
        for (const int heroine : w.seen)
            store.setValue(engine::seenEndingKey(heroine), QStringLiteral("1"));
        store.sync();
    }
    const bool bonus = w.ending == QLatin1String("bonus");
    options.mode = bonus ? vm2::play::Options::Mode::Bonus : vm2::play::Options::Mode::NewGame;
    QString text;
    QTextStream out(&text);
    const int status = vm2::play::play(options, out);
    out.flush();
    const QStringList transcript = text.split(u'\n', Qt::SkipEmptyParts);
    // The wrong ending explains more than the inputs that ran out in it.
    if (!bonus) {
        const bool happy = w.ending == QLatin1String("happy");
        const qsizetype other = transcript.indexOf(
            eventRun(engine::kEndingsPlace, engine::endingEvent(w.heroine, !happy)));
        if (other >= 0 && !transcript.contains(eventRun(engine::kEndingsPlace,
                                                        engine::endingEvent(w.heroine, happy))))
            return QStringLiteral("%1 played instead: her affection was %2 at the ending, "
                                  "and %3 or more gives the happy one")
                .arg(endingName(!happy, w.heroine))
                .arg(affectionBefore(transcript, other, w.heroine))
                .arg(engine::kHappyThreshold);
    }
    if (status != vm2::play::Ok) {
        for (qsizetype i = transcript.size() - 1; i >= 0; --i) {
            const QString &line = transcript.at(i);
            if (line.startsWith(QStringLiteral("error ")) ||
                line.startsWith(QStringLiteral("stop ")))
                return line;
        }
        return QStringLiteral("the player ended with status %1").arg(status);
    }
    if (bonus)
        return transcript.value(0) == eventRun(engine::kEndingsPlace, engine::kBonusEvent)
                   ? QString()
                   : QStringLiteral("the bonus event (ibent9-8) was not played");
    return judgeEnding(w, transcript);
}

int testWalkthroughs(const QString &source, const QString &dataFolder, QTextStream &report)
{
    const QDir folder(QDir(source).filePath(QStringLiteral("walkthroughs")));
    const QStringList files =
        folder.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::System, QDir::Name);
    if (files.isEmpty()) {
        report << folder.path() << ": error: no walkthroughs (*.txt) to play\n";
        return Failed;
    }
    int failed = 0;
    for (const QString &file : files) {
        const Walkthrough w = readWalkthrough(folder.filePath(file));
        const QString why = playWalkthrough(w, dataFolder);
        if (why.isEmpty()) {
            report << "PASS " << w.name << '\n';
        } else {
            report << "FAIL " << w.name << ": " << why << '\n';
            ++failed;
        }
        report.flush();
    }
    return failed > 0 ? Failed : Ok;
}

} // namespace vm2::story
