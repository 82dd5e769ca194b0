#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "filesource.h"

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

// Pictures kept decoded while their files stay as they were. A story draws the same
// character, face strip and background again and again, and decoding them (a GIF
// above all) costs far more than asking whether the file changed; a file that was
// written again is read again, so what the player sees is what the files hold.
class PictureCache
{
public:
    // As loadPicture().
    QImage load(const QString &path, const QString &name);

private:
    struct Entry {
        QString path;
        FileStamp stamp;
        QImage image;
    };
    // Enough for the pictures of a few scenes: at most 800 × 400 each, so a few
    // megabytes. The most recently used come last.
    static constexpr std::size_t kEntries = 12;
    std::vector<Entry> m_entries;
};

} // namespace vm2::platform
