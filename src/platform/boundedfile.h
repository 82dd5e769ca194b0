#pragma once

#include <QByteArray>
#include <QString>

namespace vm2::platform {

// Reading a file that someone else may have put in its place: a link to a device,
// a FIFO or a file of gigabytes must neither hang the game nor fill its memory.
class BoundedFile
{
public:
    enum class Outcome {
        Read,       // a regular file within the cap: its bytes are in `bytes`
        Missing,    // nothing there (or a link that leads nowhere)
        NotRegular, // a FIFO, a device, a folder, a socket, or a link to one
        TooLarge,   // a regular file over the cap
        Failed,     // a regular file that could not be read
    };

    // What lies at `path`, without opening it: enough to decide before a library
    // (QSettings) opens the file on its own, which would block on a FIFO.
    static Outcome inspect(const QString &path, qint64 cap);

    // Reads the whole file when it is a regular file of at most `cap` bytes. The
    // file is opened without blocking and judged by what was opened, so that a file
    // swapped for a FIFO between a look and the read is still never waited on.
    static Outcome read(const QString &path, qint64 cap, QByteArray &bytes);

    // The cap for the small files of the player's own (the settings store, the read
    // record): far above anything the game writes.
    static constexpr qint64 kPlayerFileCap = 64 * 1024 * 1024;
};

} // namespace vm2::platform
