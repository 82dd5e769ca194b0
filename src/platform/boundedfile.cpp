#include "boundedfile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vm2::platform {

BoundedFile::Outcome BoundedFile::inspect(const QString &path, qint64 cap)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? Outcome::NotRegular : Outcome::Missing;
    if (!info.isFile())
        return Outcome::NotRegular;
#ifdef Q_OS_UNIX
    // QFileInfo calls a FIFO or a device a file too.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return Outcome::Failed;
    if (!S_ISREG(st.st_mode))
        return Outcome::NotRegular;
    if (st.st_size > cap)
        return Outcome::TooLarge;
#else
    if (info.size() > cap)
        return Outcome::TooLarge;
#endif
    return Outcome::Read;
}

BoundedFile::Outcome BoundedFile::read(const QString &path, qint64 cap, QByteArray &bytes)
{
    bytes.clear();
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QFileInfo(path).isSymLink() ? Outcome::NotRegular : Outcome::Missing;
        return inspect(path, cap) == Outcome::NotRegular ? Outcome::NotRegular : Outcome::Failed;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Outcome::NotRegular;
    }
    if (st.st_size > cap) {
        ::close(fd);
        return Outcome::TooLarge;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Outcome::Failed;
    }
#else
    if (const Outcome outcome = inspect(path, cap); outcome != Outcome::Read)
        return outcome;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::Failed;
#endif
    // A file that grows while it is read is read no further than one byte past what
    // it held, nor past the cap.
    bytes = file.read(std::min(file.size(), cap) + 1);
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        return Outcome::Failed;
    }
    if (bytes.size() > cap) {
        bytes.clear();
        return Outcome::TooLarge;
    }
    return Outcome::Read;
}

} // namespace vm2::platform
