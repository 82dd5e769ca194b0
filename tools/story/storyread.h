#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vm2::story {

// The most that is read of one file of a story (a script, a walkthrough, a
// picture): past it the file is an error, never gigabytes of memory.
constexpr qint64 kMaxStoryFile = 64 * 1024 * 1024;

// The folders a story's files may be read from, each with its links resolved: a
// file is read only when it lies inside one of them after its own links are
// resolved, so that a link that leads out of the story is never read.
class StoryFolders
{
public:
    // Adds `folder` (the story's dat1, dat2 or walkthroughs, which may be links
    // themselves); a folder that does not exist is left out.
    void add(const QString &folder);
    bool contains(const QString &canonicalPath) const;

private:
    QStringList m_roots;
};

// Reads the story file `path` into `bytes`. It must be a regular file inside
// `folders` after its links are resolved, and at most kMaxStoryFile bytes. Reading
// never waits: a FIFO or a device is refused before it is opened. On failure
// returns false and sets `why` to the reason, e.g. "a FIFO, not a file".
bool readStoryFile(const QString &path, const StoryFolders &folders, QByteArray *bytes,
                   QString *why);

} // namespace vm2::story
