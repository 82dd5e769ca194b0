#include "walkthrough.h"

#include "checker.h"
#include "coverage.h"
#include "engine/script.h"
#include "platform/settingsstore.h"
#include "player.h"
#include "storybuild.h"
#include "storyread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>

namespace vm2::story {

namespace {

QString endingName(bool happy, int heroine)
{
    return QStringLiteral("the %1 ending of heroine %2")
        .arg(happy ? QLatin1String("happy") : QLatin1String("bad"))
        .arg(heroine);
}

bool played(const vm2::play::Result &r, int heroine, bool happy)
{
    return std::any_of(r.endings.begin(), r.endings.end(), [&](const vm2::play::Ending &e) {
        return e.heroine == heroine && e.happy == happy;
    });
}

QString judgeEnding(const Walkthrough &w, const vm2::play::Result &r)
{
    const bool happy = w.ending == QLatin1String("happy");
    if (played(r, w.heroine, happy))
        return QString();
    if (!r.endings.empty())
        return QStringLiteral("%1 was not played; the ending event %2 %3 was")
            .arg(endingName(happy, w.heroine), engine::kEndingsPlace)
            .arg(engine::endingEvent(r.endings.front().heroine, r.endings.front().happy));
    return QStringLiteral("the inputs ended before %1; the last message was \"%2\"")
        .arg(endingName(happy, w.heroine), r.lastMessage);
}

// Whether `path` lies in one of the story's source folders, which a report must
// never overwrite.
bool inSources(const QString &path, const QString &source)
{
    const QFileInfo target(path);
    const QString folder = target.absoluteDir().canonicalPath().isEmpty()
                               ? target.absolutePath()
                               : target.absoluteDir().canonicalPath();
    for (const char *sub : {"dat1", "dat2", "walkthroughs"}) {
        const QDir dir(QDir(source).filePath(QLatin1String(sub)));
        for (const QString &d : {dir.absolutePath(), dir.canonicalPath()}) {
            if (!d.isEmpty() && (folder == d || folder.startsWith(d + u'/')))
                return true;
        }
    }
    return false;
}

bool writeCoverage(const Coverage &coverage, const QString &source, const QString &path,
                   QTextStream &report)
{
    if (inSources(path, source)) {
        report << "velmora2-story: " << path << " is in the story's sources: the coverage "
               << "is written elsewhere\n";
        return false;
    }
    QSaveFile file(path);
    QByteArray text;
    for (const QString &line : coverage.notReached(source))
        text += line.toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        report << "velmora2-story: cannot write " << path << ": " << file.errorString() << '\n';
        return false;
    }
    return true;
}

} // namespace

Walkthrough readWalkthrough(const QString &path)
{
    Walkthrough w;
    w.name = QFileInfo(path).completeBaseName();
    w.file = QStringLiteral("walkthroughs/") + QFileInfo(path).fileName();
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
        const int number = static_cast<int>(i + 1);
        auto fault = [&](const QString &text) {
            w.problem = text;
            w.problemLine = number;
        };
        if (key == QLatin1String("names")) {
            w.names = value.split(u',');
            if (w.names.size() != 3)
                fault(QStringLiteral("names: takes SURNAME,GIVEN,NICK"));
        } else if (key == QLatin1String("seen")) {
            for (const QString &s : value.split(blanks, Qt::SkipEmptyParts)) {
                const int heroine = s.toInt();
                if (heroine < 2 || heroine > 5)
                    fault(QStringLiteral("seen: takes heroine numbers 2 to 5"));
                w.seen << heroine;
            }
        } else if (key == QLatin1String("ending")) {
            const QStringList parts = value.split(blanks, Qt::SkipEmptyParts);
            w.ending = parts.value(0);
            w.heroine = parts.value(1).toInt();
            w.endingLine = number;
            const bool route =
                w.ending == QLatin1String("happy") || w.ending == QLatin1String("bad");
            if (!(route && parts.size() == 2 && w.heroine >= engine::kFirstHeroine &&
                  w.heroine <= engine::kLastHeroine) &&
                !(w.ending == QLatin1String("bonus") && parts.size() == 1))
                fault(QStringLiteral("ending: takes happy N, bad N (N from 2 to 5) or bonus"));
        } else if (key == QLatin1String("inputs")) {
            for (const QString &input : value.split(blanks, Qt::SkipEmptyParts)) {
                w.inputs << input;
                w.inputLines << number;
            }
        } else {
            fault(QStringLiteral("unknown key \"%1\" (names, seen, ending, inputs)").arg(key));
        }
    }
    if (w.problem.isEmpty() && w.ending.isEmpty())
        w.problem = QStringLiteral("no ending: line (happy N, bad N or bonus)");
    return w;
}

Verdict playWalkthrough(const Walkthrough &w, const QString &dataFolder)
{
    if (!w.problem.isEmpty())
        return {w.problem, w.problemLine, {}};
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return {QStringLiteral("cannot create a scratch folder"), 0, {}};
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
    QString transcript;
    QTextStream out(&transcript);
    const vm2::play::Result r = vm2::play::play(options, out);
    Verdict v{QString(), 0, r.played};
    // The line of input `n` (1-based), or of the ending when no input is concerned.
    auto inputLine = [&](qsizetype n) {
        return n > 0 && n <= w.inputLines.size() ? w.inputLines.at(n - 1) : w.endingLine;
    };
    const qsizetype ended = r.overAfter >= 0 ? r.overAfter : r.inputsUsed;
    // The wrong ending explains more than the inputs that ran out in it.
    if (!bonus) {
        const bool happy = w.ending == QLatin1String("happy");
        const auto other =
            std::find_if(r.endings.begin(), r.endings.end(), [&](const vm2::play::Ending &e) {
                return e.heroine == w.heroine && e.happy != happy;
            });
        if (other != r.endings.end() && !played(r, w.heroine, happy)) {
            v.why = QStringLiteral("%1 played instead: her affection was %2 at the ending, "
                                   "and %3 or more gives the happy one")
                        .arg(endingName(!happy, w.heroine))
                        .arg(other->affection)
                        .arg(engine::kHappyThreshold);
            v.line = inputLine(ended);
            return v;
        }
    }
    if (r.overAfter >= 0 && r.inputsGiven > r.overAfter) {
        QString how = QStringLiteral("a message with \"End\"");
        if (bonus)
            how = QStringLiteral("the bonus event");
        else if (!r.endings.empty())
            how = QStringLiteral("%1 end of heroine %2")
                      .arg(r.endings.back().happy ? QLatin1String("happy") : QLatin1String("bad"))
                      .arg(r.endings.back().heroine);
        const qsizetype left = r.inputsGiven - r.overAfter;
        v.why = QStringLiteral("the game ended at input %1 (%2); %3 input%4 left over")
                    .arg(r.overAfter)
                    .arg(how)
                    .arg(left)
                    .arg(left == 1 ? QString() : QStringLiteral("s"));
        v.line = inputLine(r.overAfter + 1);
        return v;
    }
    v.line = inputLine(r.inputsUsed);
    if (r.status != vm2::play::Ok)
        v.why = (r.status == vm2::play::OutOfInput ? QStringLiteral("stop ")
                                                   : QStringLiteral("error ")) +
                r.message;
    else if (bonus)
        v.why =
            r.played.scripts.count(engine::scriptPath(engine::kEndingsPlace, engine::kBonusEvent))
                ? QString()
                : QStringLiteral("the bonus event (ibent9-8) was not played");
    else
        v.why = judgeEnding(w, r);
    return v;
}

int testWalkthroughs(const QString &source, const QString &dataFolder, QTextStream &report,
                     const QString &coverageFile)
{
    const QDir folder(QDir(source).filePath(QStringLiteral("walkthroughs")));
    const QStringList files =
        folder.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::System, QDir::Name);
    if (files.isEmpty()) {
        report << folder.path() << ": error: no walkthroughs (*.txt) to play\n";
        return Failed;
    }
    check::Findings unused;
    Coverage coverage(check::readScripts(dataFolder, unused));
    int failed = 0;
    for (const QString &file : files) {
        const Walkthrough w = readWalkthrough(folder.filePath(file));
        const Verdict v = playWalkthrough(w, dataFolder);
        coverage.add(v.played);
        if (v.why.isEmpty()) {
            report << "PASS " << w.name << '\n';
        } else {
            report << "FAIL " << w.name << ": " << v.why << " (" << w.file;
            if (v.line > 0)
                report << ':' << v.line;
            report << ")\n";
            ++failed;
        }
        report.flush();
    }
    report << coverage.summary() << '\n';
    if (!coverageFile.isEmpty() && !writeCoverage(coverage, source, coverageFile, report))
        return Failed;
    return failed > 0 ? Failed : Ok;
}

} // namespace vm2::story
