#include "filesource.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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
    const auto it = m_files.constFind(path);
    if (it == m_files.cend() && !m_pictures.contains(path))
        return nullptr;
    auto buffer = std::make_unique<QBuffer>();
    if (it != m_files.cend())
        buffer->setData(*it);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

bool MemorySource::hasFolder(const QString &folder)
{
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    auto inFolder = [&](const QString &path) {
        return path.startsWith(prefix) && path.indexOf(u'/', prefix.size()) < 0;
    };
    return std::any_of(m_files.keyBegin(), m_files.keyEnd(), inFolder) ||
           std::any_of(m_pictures.keyBegin(), m_pictures.keyEnd(), inFolder);
}

QStringList MemorySource::fileNames(const QString &folder)
{
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    QStringList names;
    auto add = [&](const QString &path) {
        if (path.startsWith(prefix) && !path.mid(prefix.size()).contains(u'/'))
            names << path.mid(prefix.size());
    };
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        add(it.key());
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it)
        add(it.key());
    names.sort();
    names.removeDuplicates();
    return names;
}

const QImage *MemorySource::decodedPicture(const QString &path)
{
    if (m_files.contains(path))
        return nullptr;
    const auto it = m_pictures.constFind(path);
    return it == m_pictures.cend() ? nullptr : &*it;
}

void MemorySource::remove(const QString &path)
{
    m_files.remove(path);
    m_pictures.remove(path);
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
