#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

namespace vm2::story {

// A folder that velmora2-story writes (build's story, decode's sources, new's
// starter story). Build and decode own only what its manifest lists,
// OUT/velmora2-story.manifest with the SHA-256 of every file they wrote; they
// replace or remove nothing else, and never write through a link. New writes no
// manifest (the folder becomes its author's) and only a new or empty folder. The
// new contents are written into a staging folder beside it, .NAME.vm2-staging-PID
// in the same parent, flushed to disk, and swapped with the old folder in one
// step, so that a kill or a full disk leaves either the old folder or the new
// one, whole, at the same path.
class OutputFolder
{
public:
    // `path` as the user gave it (messages show it so); `command` is "build",
    // "decode" or "new". A build takes over a folder without a manifest that holds
    // nothing but what a build writes (dat2/*.da2, dat1/*.da1).
    OutputFolder(const QString &path, const QString &command);

    // The folder with its links resolved (or, when it does not exist yet, its
    // absolute path).
    QString realPath() const { return m_real; }
    // Whether the folder is `folder` or holds it.
    bool holds(const QString &folder) const;

    // Looks at what the folder holds, before anything is written. False, with one
    // line naming one file that it does not own in `error`, when it holds anything
    // else than the files of its manifest, unchanged.
    bool claim(QString *error);
    // The files it wrote before and that are still there, by path ("dat2/x.txt").
    const std::map<QString, QByteArray> &previous() const { return m_previous; }

    // Puts `files` (by path, "dat1/...", "dat2/...", for new also
    // "walkthroughs/...") in place of the folder's contents, all at once, the
    // folder's permissions kept. False with the reason in `error` (the file that
    // could not be written named) when the old contents stay.
    bool publish(const std::map<QString, QByteArray> &files, QString *error);

    static const char kManifestName[];

private:
    QString shown(const QString &relative) const;
    bool isLeftByUs(const QString &folder, const std::map<QString, QByteArray> &files) const;
    void removeLeftStaging(const std::map<QString, QByteArray> &files) const;

    QString m_path;
    QString m_command;
    QString m_real;
    bool m_exists = false;
    bool m_listed = true;  // keeps a manifest
    QStringList m_folders; // the folders it always holds
    QByteArray m_manifest; // as found, or empty
    bool m_whole = false;  // every file of the manifest is there
    std::map<QString, QByteArray> m_previous;
};

} // namespace vm2::story
