#include "storybuild.h"

#include "checker.h"
#include "cp932text.h"
#include "outputfolder.h"
#include "storyread.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <map>

namespace vm2::story {

namespace {

// The files of a story folder that are read: FIFOs, devices and dangling links are
// listed too, so that each is named as an error rather than passed over in silence.
QStringList filesIn(const QDir &folder)
{
    return folder.entryList(QDir::Files | QDir::System, QDir::Name);
}

void refuse(QTextStream &report, const QString &why)
{
    report << "velmora2-story: " << why << '\n';
}

enum class ScriptRead { LeftOut, Failed, Read };

// Reads the script file `name` of `folder` into `bytes` when its name ends in `suffix`
// (`kind` names such a file in the warning for one that does not); a file that
// cannot be read as a story's file is reported as an error.
ScriptRead readScript(const QDir &folder, const QString &name, QLatin1StringView suffix,
                      const char *kind, const StoryFolders &story, QTextStream &report,
                      QByteArray *bytes)
{
    const QString shown = QStringLiteral("dat2/") + name;
    if (!name.endsWith(suffix)) {
        report << shown << ": warning: not " << kind << " (" << suffix << "): left out\n";
        return ScriptRead::LeftOut;
    }
    QString why;
    if (!readStoryFile(folder.filePath(name), story, bytes, &why)) {
        report << shown << ": error: " << why << '\n';
        return ScriptRead::Failed;
    }
    return ScriptRead::Read;
}

} // namespace

int build(const BuildOptions &options, QTextStream &report)
{
    const QDir source(options.source);
    const QString scripts = source.filePath(QStringLiteral("dat2"));
    const QString pictures =
        options.pictures.isEmpty() ? source.filePath(QStringLiteral("dat1")) : options.pictures;
    OutputFolder out(options.out, QStringLiteral("build"));
    for (const QString &from : {options.source, scripts, pictures}) {
        if (out.holds(from)) {
            refuse(report, QStringLiteral("%1 holds the story's sources %2: build into another "
                                          "folder")
                               .arg(options.out, from));
            return Failed;
        }
    }
    if (!QFileInfo(scripts).isDir()) {
        report << scripts << ": error: no such folder: a story's sources are "
               << "dat2/ibent<place>-<number>.txt\n";
        return Failed;
    }
    QString refusal;
    if (!out.claim(&refusal)) {
        report << refusal << '\n';
        return Failed;
    }
    StoryFolders story;
    story.add(scripts);
    story.add(pictures);

    // Everything is converted in memory first: a build that fails writes nothing.
    QString log;
    QTextStream remarks(&log);
    int errors = 0;
    std::map<QString, QByteArray> files;
    const QDir sourceScripts(scripts);
    int sources = 0;
    for (const QString &name : filesIn(sourceScripts)) {
        const QString shown = QStringLiteral("dat2/") + name;
        QByteArray text;
        const ScriptRead read = readScript(sourceScripts, name, QLatin1StringView(".txt"),
                                           "a script source", story, remarks, &text);
        if (read == ScriptRead::LeftOut)
            continue;
        ++sources;
        if (read == ScriptRead::Failed) {
            ++errors;
            continue;
        }
        const Conversion c = encodeSource(text);
        for (const Remark &r : c.remarks) {
            remarks << r.text(shown) << '\n';
            errors += r.kind == Remark::Error;
        }
        if (!c.failed())
            files[QStringLiteral("dat2/") + QFileInfo(name).completeBaseName() +
                  QStringLiteral(".da2")] = c.bytes;
    }
    if (sources == 0) {
        remarks << "dat2: error: no script sources (ibent<place>-<number>.txt) to build\n";
        ++errors;
    }
    const QDir sourcePictures(pictures);
    for (const QString &name : filesIn(sourcePictures)) {
        QByteArray bytes;
        QString why;
        if (!readStoryFile(sourcePictures.filePath(name), story, &bytes, &why)) {
            remarks << "dat1/" << name << ": error: " << why << '\n';
            ++errors;
            continue;
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        if (reader.read().isNull()) {
            remarks << "dat1/" << name << ": error: not a picture that loads ("
                    << reader.errorString() << ")\n";
            ++errors;
            continue;
        }
        files[QStringLiteral("dat1/") + name] = bytes;
    }
    remarks.flush();
    report << log;
    if (errors > 0) {
        report << "velmora2-story: " << errors << (errors == 1 ? " error" : " errors")
               << ": nothing written\n";
        return Failed;
    }
    if (!out.publish(files, &refusal)) {
        report << refusal << '\n';
        return Failed;
    }

    check::Options check;
    check.dataFolder = options.out;
    check.werror = options.werror;
    QString findings;
    QTextStream checkOut(&findings);
    const int status = check::run(check, checkOut, report);
    checkOut.flush();
    if (!options.quiet || status != 0)
        report << findings;
    return status;
}

int decode(const QString &data, const QString &outPath, QTextStream &report)
{
    const QString scriptFolder = QDir(data).filePath(QStringLiteral("dat2"));
    const QString pictureFolder = QDir(data).filePath(QStringLiteral("dat1"));
    const QDir scripts(scriptFolder);
    if (!scripts.exists()) {
        report << scripts.path() << ": error: no such folder\n";
        return Failed;
    }
    OutputFolder out(outPath, QStringLiteral("decode"));
    if (out.holds(data)) {
        refuse(
            report,
            QStringLiteral("%1 holds the story %2: decode into another folder").arg(outPath, data));
        return Failed;
    }
    QString refusal;
    if (!out.claim(&refusal)) {
        report << refusal << '\n';
        return Failed;
    }
    StoryFolders story;
    story.add(scriptFolder);
    story.add(pictureFolder);

    int errors = 0;
    int found = 0;
    // A source decoded before stays, even when its script is gone or no longer
    // decodes: decode never deletes a source.
    std::map<QString, QByteArray> files = out.previous();
    for (const QString &name : filesIn(scripts)) {
        const QString shown = QStringLiteral("dat2/") + name;
        QByteArray bytes;
        const ScriptRead read =
            readScript(scripts, name, QLatin1StringView(".da2"), "a script", story, report, &bytes);
        if (read == ScriptRead::LeftOut)
            continue;
        ++found;
        if (read == ScriptRead::Failed) {
            ++errors;
            continue;
        }
        const Conversion c = decodeScript(bytes);
        for (const Remark &r : c.remarks)
            report << r.text(shown) << '\n';
        if (c.failed()) {
            ++errors;
            continue;
        }
        files[QStringLiteral("dat2/") + QFileInfo(name).completeBaseName() +
              QStringLiteral(".txt")] = c.bytes;
    }
    if (found == 0) {
        report << scripts.path() << ": error: no scripts (*.da2) to decode: nothing written\n";
        return Failed;
    }
    const QDir pictures(pictureFolder);
    for (const QString &name : filesIn(pictures)) {
        QByteArray bytes;
        QString why;
        if (!readStoryFile(pictures.filePath(name), story, &bytes, &why)) {
            report << "dat1/" << name << ": error: " << why << '\n';
            ++errors;
            continue;
        }
        files[QStringLiteral("dat1/") + name] = bytes;
    }
    if (!out.publish(files, &refusal)) {
        report << refusal << '\n';
        return Failed;
    }
    return errors > 0 ? Failed : Ok;
}

} // namespace vm2::story
