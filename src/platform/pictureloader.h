#pragma once

#include <QImage>
#include <QString>
#include <QThreadPool>
#include <memory>
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
//
// The pictures an event is about to draw can be decoded ahead on worker threads
// (decodeAhead()): an event's first pictures then decode side by side instead of
// one after the other while the event waits, and a picture drawn after a wait is
// mostly decoded already. What load() returns is the same either way: a picture
// decoded ahead is used only if its file is still the version that was decoded,
// and a picture that failed is decoded again by load(), which reports the error
// where the story draws it.
class PictureCache
{
public:
    PictureCache();
    // Waits for the decodings that have started.
    ~PictureCache();
    PictureCache(const PictureCache &) = delete;
    PictureCache &operator=(const PictureCache &) = delete;

    // As loadPicture().
    QImage load(const QString &path, const QString &name);

    struct Ahead {
        QString path;
        QString name;
    };
    // Starts decoding these pictures (the first ones first), at most kEntries, and
    // forgets those asked for before that were not loaded. Only pictures of a file
    // source that tells versions apart are decoded ahead: that source must serve
    // its files from any thread, as the disk does.
    void decodeAhead(const std::vector<Ahead> &pictures);
    // Waits until the workers have decoded what they have been asked for.
    void waitForDecodings() { m_workers.waitForDone(); }

private:
    struct Entry {
        QString path;
        FileStamp stamp;
        QImage image;
    };
    struct Decoding;
    void keep(const QString &path, const FileStamp &stamp, const QImage &image);
    const Entry *kept(const QString &path, const FileStamp &stamp);

    // Enough for the pictures of a few scenes: at most 800 × 400 each, so a few
    // megabytes. The most recently used come last.
    static constexpr std::size_t kEntries = 12;
    std::vector<Entry> m_entries;
    // The decodings asked for and not yet loaded, and those forgotten while they ran
    // (waited for before the cache goes).
    std::vector<std::shared_ptr<Decoding>> m_ahead;
    std::vector<std::shared_ptr<Decoding>> m_forgotten;
    // Our own workers: Qt splits the conversions of large images over its global
    // pool, which decodings queued there would hold up.
    QThreadPool m_workers;
};

} // namespace vm2::platform
