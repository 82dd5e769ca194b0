#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <map>
#include <memory>
#include <optional>

namespace vm2::platform {

// One version of a file: a file that is written again changes its time of change, and
// mostly its size.
struct FileStamp {
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch (as finely as the system tells)
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

// Where the data files (scripts and pictures) are read from. The game reads the
// files on disk; the fuzz targets serve them from memory, so that nothing in their
// loop touches the disk and pictures are decoded once per process.
class FileSource
{
public:
    virtual ~FileSource() = default;
    // The file at `path` opened for reading, or nullptr when there is no such file.
    virtual std::unique_ptr<QIODevice> open(const QString &path) = 0;
    virtual bool hasFolder(const QString &folder) = 0;
    // The names of the files in `folder`, sorted by name.
    virtual QStringList fileNames(const QString &folder) = 0;
    // The picture at `path` when the source keeps it decoded, else nullptr: the
    // caller then decodes what open() gives.
    virtual const QImage *decodedPicture(const QString &) { return nullptr; }
    // What tells one version of the file at `path` from another (its size and time
    // of change), or nothing when the source cannot tell or there is no such file:
    // a picture decoded from it is then not kept for reuse.
    virtual std::optional<FileStamp> stamp(const QString &) { return std::nullopt; }
};

// The files on disk.
class DiskSource : public FileSource
{
public:
    std::unique_ptr<QIODevice> open(const QString &path) override;
    bool hasFolder(const QString &folder) override;
    QStringList fileNames(const QString &folder) override;
    std::optional<FileStamp> stamp(const QString &path) override;
};

// Files kept in memory, by path. A path that is not set does not exist.
class MemorySource : public FileSource
{
public:
    std::unique_ptr<QIODevice> open(const QString &path) override;
    // A folder exists when a file is kept in it.
    bool hasFolder(const QString &folder) override;
    QStringList fileNames(const QString &folder) override;
    const QImage *decodedPicture(const QString &path) override;

    void setFile(const QString &path, const QByteArray &bytes)
    {
        m_files.insert_or_assign(path, bytes);
    }
    // A picture file that reads as `picture` without being decoded.
    void setPicture(const QString &path, const QImage &picture)
    {
        m_pictures.insert_or_assign(path, picture);
    }
    void remove(const QString &path);
    void clearFiles() { m_files.clear(); }

private:
    // By path, so that a folder's files lie side by side.
    std::map<QString, QByteArray> m_files;
    std::map<QString, QImage> m_pictures;
};

// The source that scripts and pictures are read from: the disk, unless another
// source was installed.
FileSource &fileSource();
// Installs `source` for the whole process (nullptr: the disk again). The caller
// keeps it alive while it is installed.
void setFileSource(FileSource *source);

} // namespace vm2::platform
