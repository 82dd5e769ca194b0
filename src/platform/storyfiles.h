#pragma once

#include <QString>
#include <memory>

namespace vm2::platform {

class QSettingsStore;

// Where the player's files for a story live: the saved game with the seen-ending
// markers (the settings store), and the record of read messages.
//
// The story installed with the program (the program folder's own dat1 and dat2,
// which an installation links to the installed story) keeps the one native store
// of application "VM2" and the read record beside it, as ever. Every other story
// has its own store and read record in a folder of its own under the native
// store's folder: stories/ followed by the start of the SHA-256 of the story
// folder's canonical path, holding VM2.conf, VM2-read.txt and story.txt, which
// names the story folder for whoever looks. A story is found again by its path, so
// a story that moves starts afresh.
class StoryFiles
{
public:
    // The files for the story in `dataFolder`, played by the program in
    // `programFolder`.
    static StoryFiles locate(const QString &dataFolder, const QString &programFolder);

    // Whether `dataFolder` holds the story installed with the program in
    // `programFolder`: the same folder, or the folder its dat1 and dat2 lead to.
    static bool isInstalledStory(const QString &dataFolder, const QString &programFolder);

    bool isInstalledStory() const { return m_settingsFile.isEmpty(); }
    // The store's INI file; "" for the native store.
    const QString &settingsFile() const { return m_settingsFile; }
    const QString &readRecordFile() const { return m_readRecordFile; }
    // What the read record puts before each script's name: the story folder, in the
    // record that the installed story has always kept, and nothing in a story's own.
    const QString &readKeyPrefix() const { return m_readKeyPrefix; }

    // The story's settings store, opened now (a file that is no regular file or too
    // large is not opened: the store then reads as empty and is never written).
    std::unique_ptr<QSettingsStore> openStore() const;

    // Writes story.txt naming the story folder, where it is missing. False when it
    // could not be written (the game plays on without it).
    bool writeNote() const;

    static constexpr const char *kStoriesFolder = "stories";
    static constexpr const char *kStoreFileName = "VM2.conf";
    static constexpr const char *kNoteFileName = "story.txt";

private:
    QString m_storyFolder;
    QString m_settingsFile;
    QString m_readRecordFile;
    QString m_readKeyPrefix;
};

} // namespace vm2::platform
