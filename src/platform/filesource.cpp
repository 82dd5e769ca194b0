#include "filesource.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vm2::platform {

namespace {
FileSource *g_source = nullptr;
} // namespace

std::unique_ptr<QIODevice> DiskSource::open(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}

std::optional<FileStamp> DiskSource::stamp(const QString &path)
{
#ifdef Q_OS_UNIX
    // Asked at every use of a kept script or picture: one system call, and no
    // conversion of the time into local time as QFileInfo's would make.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
#else
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000};
#endif
}

bool DiskSource::hasFolder(const QString &folder)
{
    return QFileInfo(folder).isDir();
}

QStringList DiskSource::fileNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

std::unique_ptr<QIODevice> MemorySource::open(const QString &path)
{
    const auto it = m_files.find(path);
    if (it == m_files.end() && !m_pictures.contains(path))
        return nullptr;
    auto buffer = std::make_unique<QBuffer>();
    if (it != m_files.end())
        buffer->setData(it->second);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

namespace {

// Calls `visit` with the name of each file of `paths` (a map by path) that lies in
// the folder `prefix` (which ends in a slash) itself.
template <typename Map, typename Visit>
void forEachInFolder(const Map &paths, const QString &prefix, Visit visit)
{
    for (auto it = paths.lower_bound(prefix); it != paths.end() && it->first.startsWith(prefix);
         ++it) {
        const QStringView name = QStringView(it->first).sliced(prefix.size());
        if (!name.contains(u'/'))
            visit(it->first, name);
    }
}

QString folderPrefix(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

bool MemorySource::hasFolder(const QString &folder)
{
    const QString prefix = folderPrefix(folder);
    bool found = false;
    auto seen = [&found](const QString &, QStringView) { found = true; };
    forEachInFolder(m_files, prefix, seen);
    forEachInFolder(m_pictures, prefix, seen);
    return found;
}

QStringList MemorySource::fileNames(const QString &folder)
{
    const QString prefix = folderPrefix(folder);
    QStringList names;
    forEachInFolder(m_files, prefix,
                    [&names](const QString &, QStringView name) { names << name.toString(); });
    // A path set both ways is one file.
    forEachInFolder(m_pictures, prefix, [&](const QString &path, QStringView name) {
        if (!m_files.contains(path))
            names << name.toString();
    });
    names.sort();
    return names;
}

const QImage *MemorySource::decodedPicture(const QString &path)
{
    if (m_files.contains(path))
        return nullptr;
    const auto it = m_pictures.find(path);
    return it == m_pictures.end() ? nullptr : &it->second;
}

void MemorySource::remove(const QString &path)
{
    m_files.erase(path);
    m_pictures.erase(path);
}

FileSource &fileSource()
{
    static DiskSource disk;
    return g_source ? *g_source : disk;
}

void setFileSource(FileSource *source)
{
    g_source = source;
}

} // namespace vm2::platform
