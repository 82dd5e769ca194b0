#pragma once

#include "storybuild.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace vm2::story {

// velmora2-story build --watch: builds the story, then again each time a source or
// a picture changes, until the program is stopped. Each build prints its findings;
// a build that fails, in a source or in the checker, leaves OUT as the last good
// build left it.
//
// Only the source folders are watched (dat2 and the pictures' folder), never SRC
// itself, so that an OUT or a build's staging folder inside SRC cannot start a
// build. Editors save by writing in place or by renaming a new file over the old
// one, and a renamed-over path drops out of a watch: every change adds all paths
// again. A change counts only once the files have rested a moment and differ from
// what the last build read (name, size and time of each file).
class StoryWatch : public QObject
{
    Q_OBJECT
public:
    StoryWatch(BuildOptions options, QTextStream &report, QObject *parent = nullptr);

    // How long the sources must rest after a change before the build starts.
    static constexpr int kSettleMs = 200;
    // The files of a folder are watched one by one only up to this many.
    static constexpr qsizetype kMaxWatchedFiles = 1000;

    // Builds once and watches from then on; returns that build's status.
    int start();

Q_SIGNALS:
    // A build has ended with this status (0 done).
    void built(int status);

private:
    QStringList folders() const;
    QByteArray sourceStamp() const;
    void watch();
    void settled();
    int buildNow();

    BuildOptions m_options;
    QTextStream &m_report;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QByteArray m_built; // the stamp of the sources the last build read
};

// Runs `build --watch`: never returns of itself (the program is stopped by a signal).
int watchBuild(const BuildOptions &options, QTextStream &report);

} // namespace vm2::story
