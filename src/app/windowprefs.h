#pragma once

#include <QSize>
#include <QString>

namespace vm2::app {

// The player's own window settings, in a small file beside the settings store
// (VM2-player.conf), never in a story's store: the main screen's size and whether it
// was full screen. A file that is missing, too large, no regular file or unreadable
// gives the defaults; the file is written whole or not at all.
struct WindowPrefs {
    static constexpr const char *kFileName = "VM2-player.conf";

    QSize size; // the main screen's client size when not full screen; empty: none
    bool fullScreen = false;

    // The file beside the settings store at `storeLocation` (the native store's
    // file: one for every story the player plays).
    static QString pathBeside(const QString &storeLocation);
    static WindowPrefs load(const QString &path);
    // Returns false when the file could not be written (the old one stays).
    bool save(const QString &path) const;
};

} // namespace vm2::app
