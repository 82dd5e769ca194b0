#include "pictureloader.h"

#include "filesource.h"
#include "scripterror.h"

#include <QImageReader>
#include <QPainter>
#include <algorithm>

namespace vm2::platform {

namespace {
constexpr int kLargestMegabytes = kLargestPictureSide * kLargestPictureSide * 4 / (1024 * 1024);
} // namespace

QImage loadPicture(const QString &path, const QString &name)
{
    FileSource &source = fileSource();
    if (const QImage *decoded = source.decodedPicture(path))
        return *decoded;
    const std::unique_ptr<QIODevice> file = source.open(path);
    if (!file)
        throw ScriptError(Fault::FileNotFound, name);
    QImageReader reader(file.get());
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    // Formats that tell no size before decoding have their decoding bounded too. The
    // limit is the whole process's: a lower one set elsewhere stays.
    if (const int limit = QImageReader::allocationLimit(); limit == 0 || limit > kLargestMegabytes)
        QImageReader::setAllocationLimit(kLargestMegabytes);
    auto tooLarge = [&](QSize size) {
        if (size.width() > kLargestPictureSide || size.height() > kLargestPictureSide)
            throw ScriptError(Fault::InvalidPicture, QStringLiteral("%1 is %2 × %3 pixels")
                                                         .arg(name)
                                                         .arg(size.width())
                                                         .arg(size.height()));
    };
    const QSize size = reader.size();
    if (size.isValid())
        tooLarge(size);
    QImage image = reader.read();
    if (image.isNull())
        throw ScriptError(Fault::InvalidPicture,
                          QStringLiteral("%1 (%2)").arg(name, reader.errorString()));
    // Formats that tell no size before decoding (GIF) are held to the same bound.
    tooLarge(image.size());
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    // Transparent pixels (a GIF's transparent colour, say) show the white of an empty
    // surface, as if the picture had not covered them.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    painter.end();
    return opaque;
}

QImage PictureCache::load(const QString &path, const QString &name)
{
    const std::optional<FileStamp> stamp = fileSource().stamp(path);
    if (!stamp)
        return loadPicture(path, name);
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry &e) { return e.path == path; });
    if (found != m_entries.end()) {
        if (found->stamp == *stamp) {
            std::rotate(found, found + 1, m_entries.end());
            return m_entries.back().image;
        }
        m_entries.erase(found);
    }
    QImage image = loadPicture(path, name);
    if (m_entries.size() == kEntries)
        m_entries.erase(m_entries.begin());
    m_entries.push_back({path, *stamp, image});
    return image;
}

} // namespace vm2::platform
