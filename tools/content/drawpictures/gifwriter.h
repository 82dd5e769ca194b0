#pragma once

#include <QImage>
#include <QString>

namespace vm2::content {

// Writes `image` as a GIF87a file (one frame, 8-bit LZW). Qt reads GIF but cannot
// write it. At most 256 colours are kept: the most frequent ones, with every other
// colour drawn in its nearest kept colour; pure black and pure white are always
// kept exactly, so masks and the white around a picture survive unchanged.
bool writeGif(const QImage &image, const QString &path);

} // namespace vm2::content
