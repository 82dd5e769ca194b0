#include "checker.h"

#include "picturecheck.h"
#include "scriptcheck.h"
#include "storymap.h"

#include "engine/script.h"
#include "platform/filesource.h"

#include <QFileInfo>
#include <QSaveFile>

namespace vm2::check {

namespace {

// Where a write to `path` lands: links resolved, also for a file not there yet.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

QString placeName(const QString &code)
{
    const engine::Place *place = engine::placeByCode(code);
    return place ? place->nameText() : code;
}

} // namespace

std::vector<ScriptInfo> readScripts(const QString &dataFolder, Findings &findings, int *files)
{
    platform::FileSource &source = platform::fileSource();
    const QString scripts = dataFolder + QStringLiteral("/dat2");
    const bool haveScripts = source.hasFolder(scripts);
    if (!haveScripts)
        findings.error(QStringLiteral("dat2"), 0, QStringLiteral("the folder does not exist"));

    std::vector<ScriptInfo> infos;
    const QStringList names = haveScripts ? source.fileNames(scripts) : QStringList();
    if (files)
        *files = static_cast<int>(names.size());
    for (const QString &name : names) {
        EventId event;
        if (!engine::parseScriptFileName(name, &event.place, &event.number)) {
            findings.error(QStringLiteral("dat2/") + name, 0,
                           QStringLiteral("the name does not follow the rule "
                                          "ibent<place>-<number>.da2 (a number without leading "
                                          "zeros): no event plays this file"));
            continue;
        }
        infos.push_back(checkScript(dataFolder, event, findings));
    }
    return infos;
}

Result checkData(const QString &dataFolder, QTextStream *dot)
{
    Result result;
    Findings &findings = result.findings;
    std::vector<ScriptInfo> infos = readScripts(dataFolder, findings, &result.scripts);

    PictureCheck pictures(dataFolder);
    for (const ScriptInfo &s : infos) {
        for (const PictureUse &use : s.pictures)
            pictures.check(use, s.file, findings);
    }

    StoryMap map(std::move(infos));
    map.analyse(findings);
    // A place button loads the place's background before its event plays.
    for (const QString &code : map.placesReached()) {
        const QString file = engine::pictureFile(PictureRole::Background, code);
        pictures.check({file, PictureRole::Background, {}, 0}, file, findings, [&code] {
            return QStringLiteral(" (the place button of %1 loads it)").arg(placeName(code));
        });
    }
    if (dot)
        map.writeDot(*dot);
    return result;
}

int run(const Options &options, QTextStream &out, QTextStream &err)
{
    // The map is written whole or not at all, and never over the story it maps.
    QSaveFile graph;
    if (!options.graphFile.isEmpty()) {
        const QString target = resolvedTarget(options.graphFile);
        for (const char *folder : {"dat1", "dat2"}) {
            const QString story =
                QFileInfo(options.dataFolder + u'/' + QLatin1String(folder)).canonicalFilePath();
            if (!story.isEmpty() && target.startsWith(story + u'/')) {
                err << "velmora2-check: --graph " << options.graphFile << " lies in the story's "
                    << folder << ": write the story map outside dat1 and dat2\n";
                return 2;
            }
        }
        graph.setFileName(options.graphFile);
        if (!graph.open(QIODevice::WriteOnly)) {
            err << "velmora2-check: cannot write " << options.graphFile << ": "
                << graph.errorString() << '\n';
            return 2;
        }
    }
    QString map;
    QTextStream dot(&map);
    const Result result = checkData(options.dataFolder, graph.isOpen() ? &dot : nullptr);
    dot.flush();
    if (graph.isOpen()) {
        graph.write(map.toUtf8());
        if (!graph.commit()) {
            err << "velmora2-check: cannot write " << options.graphFile << ": "
                << graph.errorString() << '\n';
            return 2;
        }
    }
    for (const Finding &f : result.findings.sorted())
        out << f.text() << '\n';
    const int errors = result.findings.errors();
    const int warnings = result.findings.warnings();
    out << summary(errors, warnings, result.scripts) << '\n';
    out.flush();
    return errors > 0 || (options.werror && warnings > 0) ? 1 : 0;
}

} // namespace vm2::check
