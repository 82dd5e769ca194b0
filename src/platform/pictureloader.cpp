#include "pictureloader.h"

#include "scripterror.h"

#include <QFileInfo>
#include <QImageReader>

namespace vm2::platform {

QImage loadPicture(const QString &path, const QString &name)
{
    if (!QFileInfo(path).isFile())
        throw ScriptError(Fault::FileNotFound, name);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    // Stage pictures are at most 800 × 400; refuse absurd sizes before decoding them.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > 8192 || size.height() > 8192))
        throw ScriptError(
            Fault::InvalidPicture,
            QStringLiteral("%1 is %2 × %3 pixels").arg(name).arg(size.width()).arg(size.height()));
    QImage image = reader.read();
    if (image.isNull())
        throw ScriptError(Fault::InvalidPicture,
                          QStringLiteral("%1 (%2)").arg(name, reader.errorString()));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace vm2::platform
