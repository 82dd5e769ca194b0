#include "storyread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm2::story {

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device, not a file");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket, not a file");
    return QStringLiteral("not a regular file");
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

void StoryFolders::add(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty() && QFileInfo(canonical).isDir())
        m_roots << canonical;
}

bool StoryFolders::contains(const QString &canonicalPath) const
{
    for (const QString &root : m_roots) {
        if (canonicalPath.startsWith(root + u'/') || (root == u'/' && canonicalPath.size() > 1))
            return true;
    }
    return false;
}

bool readStoryFile(const QString &path, const StoryFolders &folders, QByteArray *bytes,
                   QString *why)
{
    bytes->clear();
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        *why = info.isSymLink() ? QStringLiteral("a link to nothing")
                                : QStringLiteral("cannot read: no such file");
        return false;
    }
    if (!folders.contains(canonical)) {
        *why = QStringLiteral("a link that leads out of the story (to %1)").arg(canonical);
        return false;
    }
    const QByteArray native = QFile::encodeName(canonical);
    struct stat st;
    if (::lstat(native.constData(), &st) != 0) {
        *why = QStringLiteral("cannot read: ") + systemError();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *why = kindOf(st.st_mode);
        return false;
    }
    // O_NONBLOCK and O_NOFOLLOW: a file swapped for a FIFO or a link since the look
    // above neither blocks the open nor leads elsewhere; fstat then judges the file
    // actually opened.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *why = QStringLiteral("cannot read: ") + systemError();
        return false;
    }
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && !S_ISREG(st.st_mode)) {
        *why = kindOf(st.st_mode);
        ok = false;
    } else if (ok && st.st_size > kMaxStoryFile) {
        *why = QStringLiteral("larger than %1 MB").arg(kMaxStoryFile >> 20);
        ok = false;
    }
    if (ok) {
        // Bounded even when the file grows while it is read.
        bytes->resize(static_cast<qsizetype>(st.st_size));
        qsizetype done = 0;
        for (;;) {
            if (done == bytes->size()) {
                if (bytes->size() > kMaxStoryFile)
                    break;
                bytes->resize(std::min<qsizetype>(bytes->size() + 65536, kMaxStoryFile + 1));
            }
            const ssize_t n =
                ::read(fd, bytes->data() + done, static_cast<size_t>(bytes->size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                *why = QStringLiteral("cannot read: ") + systemError();
                ok = false;
                break;
            }
            if (n == 0)
                break;
            done += n;
        }
        bytes->resize(done);
        if (ok && done > kMaxStoryFile) {
            *why = QStringLiteral("larger than %1 MB").arg(kMaxStoryFile >> 20);
            ok = false;
        }
    }
    ::close(fd);
    if (!ok)
        bytes->clear();
    return ok;
}

} // namespace vm2::story
