#include "outputfolder.h"

#include "storyread.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vm2::story {

const char OutputFolder::kManifestName[] = "velmora2-story.manifest";

namespace {

const QByteArray kHeader = QByteArrayLiteral(
    "velmora2-story manifest 1: the files that velmora2-story wrote here, with their "
    "SHA-256; it replaces or removes no other file\n");

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Only a story's two folders hold what velmora2-story writes, each file directly.
bool isOutputPath(const QString &relative)
{
    const QString name = relative.mid(5);
    return (relative.startsWith(QLatin1String("dat1/")) ||
            relative.startsWith(QLatin1String("dat2/"))) &&
           !name.isEmpty() && !name.contains(u'/') && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

// What a build wrote before it kept a manifest.
bool isBuiltFile(const QString &relative)
{
    return isOutputPath(relative) &&
           relative.endsWith(relative.startsWith(QLatin1String("dat1/")) ? QLatin1String(".da1")
                                                                         : QLatin1String(".da2"));
}

QByteArray manifestText(const std::map<QString, QByteArray> &files)
{
    QByteArray text = kHeader;
    for (const auto &[path, bytes] : files)
        text += hashOf(bytes) + ' ' + path.toUtf8().toPercentEncoding("/") + '\n';
    return text;
}

// The hashes by path of a manifest; false when it is not one of ours.
bool parseManifest(const QByteArray &text, std::map<QString, QByteArray> *hashes)
{
    if (!text.startsWith(kHeader) || !text.endsWith('\n'))
        return false;
    QByteArray body = text.mid(kHeader.size());
    if (body.isEmpty())
        return true;
    body.chop(1);
    for (const QByteArray &line : body.split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        const QString path =
            QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(blank + 1)));
        if (blank != 64 || !isOutputPath(path))
            return false;
        (*hashes)[path] = line.left(blank);
    }
    return true;
}

struct Entry {
    QString relative;
    mode_t mode;
};

// Everything under `root`, links not followed, sorted by path.
std::vector<Entry> listTree(const QString &root)
{
    std::vector<Entry> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        entries.push_back({path.mid(root.size() + 1), st.st_mode});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.relative < b.relative; });
    return entries;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Flushes the folder (with `everything`, every file and folder of its file system)
// to the disk. One syncfs for the whole staging folder instead of an fsync per file:
// on a busy disk each fsync waits for a journal commit of its own, which made a
// build of a few hundred scripts take seconds.
bool syncFolder(const QString &path, bool everything)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_DIRECTORY | O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = (everything ? ::syncfs(fd) : ::fsync(fd)) == 0;
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}

// Writes a new file whole; flushing to the disk is left to syncFolder.
bool writeNewFile(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return false;
        }
        done += n;
    }
    return ::close(fd) == 0;
}

bool processAlive(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

OutputFolder::OutputFolder(const QString &path, const QString &command)
    : m_path(path), m_command(command)
{
    m_listed = command != QLatin1String("new");
    m_folders = {QStringLiteral("dat1"), QStringLiteral("dat2")};
    if (!m_listed)
        m_folders << QStringLiteral("walkthroughs");
    const QFileInfo info(path);
    m_exists = info.exists() || info.isSymLink();
    m_real = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
}

bool OutputFolder::holds(const QString &folder) const
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return !canonical.isEmpty() &&
           (canonical == m_real || canonical.startsWith(m_real + u'/') || m_real == u'/');
}

QString OutputFolder::shown(const QString &relative) const
{
    return relative.isEmpty() ? m_path : QDir(m_path).filePath(relative);
}

bool OutputFolder::claim(QString *error)
{
    const QString tool = QStringLiteral("velmora2-story: ");
    if (!m_exists)
        return true;
    if (!QFileInfo(m_real).isDir()) {
        *error = tool + QStringLiteral("%1 is not a folder: %2 into a new or empty folder")
                            .arg(m_path, m_command);
        return false;
    }
    const bool building = m_command == QLatin1String("build");
    const std::vector<Entry> entries = listTree(m_real);
    std::map<QString, QByteArray> hashes;
    bool listed = false;
    StoryFolders inside;
    inside.add(m_real);
    const auto foreign = [&](const QString &relative) {
        const bool source = relative.startsWith(QLatin1String("walkthroughs")) ||
                            (relative.startsWith(QLatin1String("dat2/")) &&
                             relative.endsWith(QLatin1String(".txt")));
        if (building && source && !listed)
            *error = tool + QStringLiteral("%1 is a story source: build writes only into a new "
                                           "or empty folder, or one it wrote")
                                .arg(shown(relative));
        else
            *error = tool + QStringLiteral("%1 was not written by velmora2-story: %2 into a new "
                                           "or empty folder, or move the file away")
                                .arg(shown(relative), m_command);
        return false;
    };
    for (const Entry &e : entries) {
        if (e.relative == QLatin1String(kManifestName) && S_ISREG(e.mode)) {
            QString why;
            listed = readStoryFile(QDir(m_real).filePath(e.relative), inside, &m_manifest, &why) &&
                     parseManifest(m_manifest, &hashes);
            if (!listed)
                return foreign(e.relative);
        }
    }
    m_whole = listed;
    for (const Entry &e : entries) {
        const QString &r = e.relative;
        if (r == QLatin1String(kManifestName) && S_ISREG(e.mode))
            continue;
        if (S_ISLNK(e.mode)) {
            *error = tool + QStringLiteral("%1 is a link: %2 writes only into folders and files "
                                           "of its own, never through a link")
                                .arg(shown(r), m_command);
            return false;
        }
        if (S_ISDIR(e.mode) && (r == QLatin1String("dat1") || r == QLatin1String("dat2")))
            continue;
        if (!S_ISREG(e.mode) || !(listed ? hashes.count(r) > 0 : building && isBuiltFile(r)))
            return foreign(r);
        QByteArray bytes;
        QString why;
        if (!readStoryFile(QDir(m_real).filePath(r), inside, &bytes, &why)) {
            *error = tool + QStringLiteral("%1: %2").arg(shown(r), why);
            return false;
        }
        if (listed && hashOf(bytes) != hashes[r]) {
            *error = tool + QStringLiteral("%1 was changed since velmora2-story wrote it: %2 "
                                           "would overwrite it; move it away first")
                                .arg(shown(r), m_command);
            return false;
        }
        m_previous[r] = bytes;
    }
    m_whole = m_whole && m_previous.size() == hashes.size();
    return true;
}

// A staging folder, or an old folder swapped out of the way, that a killed run
// left: only what velmora2-story writes, so that removing it loses nothing else.
// A file is ours when the folder's manifest lists it, when without a manifest it
// is what a build writes, or when it is the start of the file that this run
// writes under its path (new writes no manifest, and always the same story).
bool OutputFolder::isLeftByUs(const QString &folder,
                              const std::map<QString, QByteArray> &files) const
{
    std::map<QString, QByteArray> hashes;
    QByteArray manifest;
    QString why;
    StoryFolders inside;
    inside.add(folder);
    const QString manifestPath = folder + u'/' + QLatin1String(kManifestName);
    const bool listed = QFileInfo(manifestPath).isFile() &&
                        readStoryFile(manifestPath, inside, &manifest, &why) &&
                        parseManifest(manifest, &hashes);
    for (const Entry &e : listTree(folder)) {
        if (S_ISDIR(e.mode) && m_folders.contains(e.relative))
            continue;
        if (!S_ISREG(e.mode))
            return false;
        if (e.relative == QLatin1String(kManifestName))
            continue;
        if (listed ? hashes.count(e.relative) > 0 : isBuiltFile(e.relative))
            continue;
        const auto written = files.find(e.relative);
        QByteArray bytes;
        if (written == files.end() ||
            !readStoryFile(QDir(folder).filePath(e.relative), inside, &bytes, &why) ||
            !written->second.startsWith(bytes))
            return false;
    }
    return true;
}

void OutputFolder::removeLeftStaging(const std::map<QString, QByteArray> &files) const
{
    const QFileInfo real(m_real);
    const QDir parent = real.dir();
    const QRegularExpression name(QStringLiteral("^\\.%1\\.vm2-staging-(\\d+)$")
                                      .arg(QRegularExpression::escape(real.fileName())));
    for (const QString &entry :
         parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QRegularExpressionMatch m = name.match(entry);
        if (!m.hasMatch() || processAlive(m.captured(1).toLongLong()))
            continue;
        const QString folder = parent.filePath(entry);
        if (isLeftByUs(folder, files))
            QDir(folder).removeRecursively();
    }
}

bool OutputFolder::publish(const std::map<QString, QByteArray> &files, QString *error)
{
    const QString tool = QStringLiteral("velmora2-story: ");
    const QByteArray manifest = manifestText(files);
    // Nothing changed: every file keeps its time.
    if (m_listed && m_whole && manifest == m_manifest)
        return true;
    const QFileInfo real(m_real);
    if (!QDir().mkpath(real.path())) {
        *error = tool + QStringLiteral("cannot create the folder %1").arg(real.path());
        return false;
    }
    removeLeftStaging(files);
    const QString staging = real.dir().filePath(
        QStringLiteral(".%1.vm2-staging-%2").arg(real.fileName()).arg(::getpid()));
    const auto fail = [&](const QString &what) {
        *error = tool + what + QStringLiteral(": ") + systemError() +
                 (m_exists ? QStringLiteral(": %1 is unchanged").arg(m_path)
                           : QStringLiteral(": nothing written"));
        QDir(staging).removeRecursively();
        return false;
    };
    if (QFileInfo::exists(staging) &&
        !(isLeftByUs(staging, files) && QDir(staging).removeRecursively())) {
        errno = EEXIST;
        return fail(QStringLiteral("cannot create %1").arg(staging));
    }
    // The manifest first: a staging folder that a kill leaves is known as ours by it
    // (new's by its files, which are always the same).
    if (::mkdir(QFile::encodeName(staging).constData(), 0777) != 0)
        return fail(QStringLiteral("cannot create %1").arg(staging));
    if (m_listed && !writeNewFile(staging + u'/' + QLatin1String(kManifestName), manifest))
        return fail(QStringLiteral("cannot write %1").arg(shown(QLatin1String(kManifestName))));
    for (const QString &sub : m_folders) {
        if (::mkdir(QFile::encodeName(staging + u'/' + sub).constData(), 0777) != 0)
            return fail(QStringLiteral("cannot create %1").arg(shown(sub)));
    }
    for (const auto &[path, bytes] : files) {
        if (!writeNewFile(staging + u'/' + path, bytes))
            return fail(QStringLiteral("cannot write %1").arg(shown(path)));
    }
    const QByteArray from = QFile::encodeName(staging);
    const QByteArray to = QFile::encodeName(m_real);
    const bool swap = m_exists;
    // The folder stays as open to others as its user made it.
    struct stat old;
    if (swap &&
        (::stat(to.constData(), &old) != 0 || ::chmod(from.constData(), old.st_mode & 07777) != 0))
        return fail(QStringLiteral("cannot keep the permissions of %1").arg(m_path));
    // On the disk before the swap, so that a crash after it finds the new files whole.
    if (!syncFolder(staging, true))
        return fail(QStringLiteral("cannot write %1").arg(m_path));
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(),
                    swap ? RENAME_EXCHANGE : RENAME_NOREPLACE) != 0)
        return fail(QStringLiteral("cannot put %1 in place").arg(m_path));
    syncFolder(real.path(), false);
    // The old contents, now under the staging name; a kill before they are gone
    // leaves them for the next run to remove. Whatever landed in the old folder
    // since it was looked at stays there, under that name.
    if (swap && isLeftByUs(staging, files))
        QDir(staging).removeRecursively();
    return true;
}

} // namespace vm2::story
