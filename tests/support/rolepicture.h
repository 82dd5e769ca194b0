#pragma once

#include "engine/script.h"
#include "stage/pictures.h"

#include <QColor>
#include <QDir>
#include <QImage>

namespace vm2::test {

// Writes a plain picture of `role` for `code` into the data folder, named as the
// engine names it and at the size the stage's role table gives it. Returns false
// when the file could not be written; a role without a picture (the face of a
// character that has none) writes nothing.
inline bool writeRolePicture(const QString &dataFolder, stage::PictureRole role,
                             const QString &code, QColor colour, const char *format = "BMP",
                             int variant = 0)
{
    const QSize size = stage::pictureLayout(role, code).size;
    if (size.isEmpty())
        return true;
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(QDir(dataFolder).filePath(engine::pictureFile(role, code, variant)), format);
}

} // namespace vm2::test
