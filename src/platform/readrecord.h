#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace vm2::platform {

// Which message lines the player has already seen, by script file and line: the
// record that lets a replay skip what was read. It belongs to the player, not to a
// game: it lives in a file of its own beside the settings store, outside the saved
// game, and no game state depends on it.
//
// The file is plain UTF-8 text: a header line, one line per script (the script's
// name, a tab, its read line numbers in ascending order separated by commas) and an
// end line. A missing, unreadable or damaged file reads as nothing read. Every
// write replaces the whole file at once, so an interrupted write leaves the previous
// record whole.
class ReadRecord
{
public:
    // A record kept in memory only (the tests' and the headless player's).
    ReadRecord() = default;
    // The record kept in the file at `path`, read from it now.
    explicit ReadRecord(QString path);

    // The record file beside a settings store kept at `storeLocation` (the store's
    // file); where the store is no file (the Windows registry), the per-user
    // application data folder.
    static QString pathBeside(const QString &storeLocation);
    static constexpr const char *kFileName = "VM2-read.txt";

    const QString &path() const { return m_path; }
    // Whether the file existed but could not be read as a record (it then reads as
    // empty, and the next write replaces it).
    bool wasDamaged() const { return m_damaged; }

    bool isRead(const QString &script, int line) const;
    // Notes the line as read and, when it is new, writes the file. Returns false when
    // the line was new and the file could not be written (the line stays recorded
    // for this session).
    bool markRead(const QString &script, int line);
    int size() const { return m_count; }

    // The file's text for the lines recorded, and its reading back (false on damage).
    QByteArray serialize() const;
    static bool parse(const QByteArray &bytes, QHash<QString, QSet<int>> &lines);

private:
    bool write() const;

    QString m_path;
    QHash<QString, QSet<int>> m_lines;
    int m_count = 0;
    bool m_damaged = false;
};

} // namespace vm2::platform
