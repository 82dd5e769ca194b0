#include "storybuild.h"

#include "checker.h"
#include "cp932text.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <map>

namespace vm2::story {

namespace {

// Writes `bytes` to `path` unless it already holds them, so that a build that
// changes nothing leaves every file's time alone.
bool writeIfChanged(const QString &path, const QByteArray &bytes)
{
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.size() == bytes.size() && old.readAll() == bytes)
        return true;
    old.close();
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readAll(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

// Makes `folder` hold exactly `files` (name to bytes); false on a write failure,
// named in `report`.
bool mirror(const QString &folder, const std::map<QString, QByteArray> &files, QTextStream &report)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        report << folder << ": error: cannot create the folder\n";
        return false;
    }
    for (const QString &name : dir.entryList(QDir::Files)) {
        if (!files.count(name))
            dir.remove(name);
    }
    for (const auto &[name, bytes] : files) {
        if (!writeIfChanged(dir.filePath(name), bytes)) {
            report << dir.filePath(name) << ": error: cannot write\n";
            return false;
        }
    }
    return true;
}

bool sameFolder(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

int build(const BuildOptions &options, QTextStream &report)
{
    const QDir source(options.source);
    const QString scripts = source.filePath(QStringLiteral("dat2"));
    const QString pictures =
        options.pictures.isEmpty() ? source.filePath(QStringLiteral("dat1")) : options.pictures;
    const QDir out(options.out);
    for (const QString &from : {scripts, pictures}) {
        for (const char *to : {"dat1", "dat2"}) {
            if (sameFolder(from, out.filePath(QLatin1String(to)))) {
                report << "velmora2-story: " << out.filePath(QLatin1String(to))
                       << " is a source folder: build into another folder\n";
                return BadArguments;
            }
        }
    }
    if (!QFileInfo(scripts).isDir()) {
        report << scripts << ": error: no such folder: a story's sources are "
               << "dat2/ibent<place>-<number>.txt\n";
        return Failed;
    }

    // Everything is converted in memory first: a build that fails writes nothing.
    QString log;
    QTextStream remarks(&log);
    int errors = 0;
    std::map<QString, QByteArray> dat2, dat1;
    const QDir sourceScripts(scripts);
    for (const QString &name : sourceScripts.entryList(QDir::Files, QDir::Name)) {
        if (!name.endsWith(QLatin1String(".txt")))
            remarks << "dat2/" << name << ": warning: not a script source (.txt): left out\n";
    }
    for (const QString &name :
         sourceScripts.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        bool ok = false;
        const QByteArray text = readAll(sourceScripts.filePath(name), &ok);
        const QString shown = QStringLiteral("dat2/") + name;
        if (!ok) {
            remarks << shown << ": error: cannot read\n";
            ++errors;
            continue;
        }
        const Conversion c = encodeSource(text);
        for (const Remark &r : c.remarks) {
            remarks << r.text(shown) << '\n';
            errors += r.kind == Remark::Error;
        }
        if (!c.failed())
            dat2[QFileInfo(name).completeBaseName() + QStringLiteral(".da2")] = c.bytes;
    }
    const QDir sourcePictures(pictures);
    for (const QString &name : sourcePictures.entryList(QDir::Files, QDir::Name)) {
        const QString path = sourcePictures.filePath(name);
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        if (reader.read().isNull()) {
            remarks << "dat1/" << name << ": error: not a picture that loads ("
                    << reader.errorString() << ")\n";
            ++errors;
            continue;
        }
        bool ok = false;
        dat1[name] = readAll(path, &ok);
    }
    remarks.flush();
    report << log;
    if (errors > 0) {
        report << "velmora2-story: " << errors << (errors == 1 ? " error" : " errors")
               << ": nothing written\n";
        return Failed;
    }
    if (!mirror(out.filePath(QStringLiteral("dat2")), dat2, report) ||
        !mirror(out.filePath(QStringLiteral("dat1")), dat1, report))
        return Failed;

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

int decode(const QString &data, const QString &out, QTextStream &report)
{
    const QDir scripts(QDir(data).filePath(QStringLiteral("dat2")));
    const QDir target(out);
    if (!scripts.exists()) {
        report << scripts.path() << ": error: no such folder\n";
        return Failed;
    }
    if (sameFolder(data, out)) {
        report << "velmora2-story: decode into another folder than the story's\n";
        return BadArguments;
    }
    int errors = 0;
    std::map<QString, QByteArray> dat2, dat1;
    for (const QString &name : scripts.entryList(QDir::Files, QDir::Name)) {
        const QString shown = QStringLiteral("dat2/") + name;
        if (!name.endsWith(QLatin1String(".da2"))) {
            report << shown << ": warning: not a script (.da2): left out\n";
            continue;
        }
        bool ok = false;
        const QByteArray bytes = readAll(scripts.filePath(name), &ok);
        const Conversion c = ok ? decodeScript(bytes) : Conversion{};
        if (!ok)
            report << shown << ": error: cannot read\n";
        for (const Remark &r : c.remarks)
            report << r.text(shown) << '\n';
        if (!ok || c.failed()) {
            ++errors;
            continue;
        }
        dat2[QFileInfo(name).completeBaseName() + QStringLiteral(".txt")] = c.bytes;
    }
    const QDir pictures(QDir(data).filePath(QStringLiteral("dat1")));
    for (const QString &name : pictures.entryList(QDir::Files, QDir::Name)) {
        bool ok = false;
        dat1[name] = readAll(pictures.filePath(name), &ok);
        if (!ok) {
            report << "dat1/" << name << ": error: cannot read\n";
            ++errors;
        }
    }
    if (!mirror(target.filePath(QStringLiteral("dat2")), dat2, report) ||
        !mirror(target.filePath(QStringLiteral("dat1")), dat1, report))
        return Failed;
    return errors > 0 ? Failed : Ok;
}

} // namespace vm2::story
