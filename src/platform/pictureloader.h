#pragma once

#include <QImage>
#include <QString>

namespace vm2::platform {

// Loads a picture file whatever its extension: the format (Windows bitmap, GIF,
// JPEG, PNG, ...) is recognised from the content. The result is 32-bit RGB.
// A missing file is a script error FileNotFound, an unreadable one InvalidPicture;
// `name` is how the error names the file. The file is read from the process's
// file source (the disk in the game).
QImage loadPicture(const QString &path, const QString &name);

} // namespace vm2::platform
