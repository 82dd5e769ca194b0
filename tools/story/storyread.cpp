#include "storyread.h"

#include "platform/boundedfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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
    // The kind is told before anything opens the file, so that a FIFO or a device
    // is named as what it is.
    struct stat st;
    if (::lstat(QFile::encodeName(canonical).constData(), &st) != 0) {
        *why = QStringLiteral("cannot read: ") + systemError();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *why = kindOf(st.st_mode);
        return false;
    }
    switch (platform::BoundedFile::read(canonical, kMaxStoryFile, *bytes)) {
    case platform::BoundedFile::Outcome::Read:
        return true;
    case platform::BoundedFile::Outcome::Missing:
        *why = QStringLiteral("cannot read: no such file");
        break;
    case platform::BoundedFile::Outcome::NotRegular:
        *why = QStringLiteral("not a regular file");
        break;
    case platform::BoundedFile::Outcome::TooLarge:
        *why = QStringLiteral("larger than %1 MB").arg(kMaxStoryFile >> 20);
        break;
    case platform::BoundedFile::Outcome::Failed:
        *why = QStringLiteral("cannot read");
        break;
    }
    bytes->clear();
    return false;
}

} // namespace vm2::story
