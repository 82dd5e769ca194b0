#pragma once

#include <QImage>
#include <QString>

namespace vm2::platform {

// Stage pictures are at most 800 × 400 (a face strip 840 × 120). Larger ones are
// clipped, and absurd ones (wider or taller than this) refused before they are
// decoded: a header may claim any size, and each picture line would cost its decoding.
inline constexpr int kLargestPictureSide = 2048;

// Loads a picture file whatever its extension: the format (Windows bitmap, GIF,
// JPEG, PNG, ...) is recognised from the content. The result is 32-bit RGB.
// A missing file is a script error FileNotFound, an unreadable one InvalidPicture;
// `name` is how the error names the file. The file is read from the process's
// file source (the disk in the game).
QImage loadPicture(const QString &path, const QString &name);

} // namespace vm2::platform
