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
// end line; a backslash, tab, carriage return or line feed in a name is written as
// \\, \t, \r or \n, so that any folder name fits. A missing file reads as nothing
// read. Every write replaces the whole file at once, so an interrupted write leaves
// the previous record whole.
//
// A damaged file is never wiped: a regular file that is no record is moved aside
// (to the same name with ".damaged") before the first write, and anything that is no
// regular file (a FIFO, a device, a link to one) is never read nor replaced; the
// record then lives in memory for this session.
class ReadRecord
{
public:
    // A record kept in memory only (the tests' and the headless player's).
    ReadRecord() = default;
    // The record kept in the file at `path`, read from it now. `keyPrefix` goes
    // before every script name in the file: one file may serve several stories.
    explicit ReadRecord(QString path, QString keyPrefix = QString());

    // The record file beside a settings store kept at `storeLocation` (the store's
    // file); where the store is no file (the Windows registry), the per-user
    // application data folder.
    static QString pathBeside(const QString &storeLocation);
    static constexpr const char *kFileName = "VM2-read.txt";

    const QString &path() const { return m_path; }
    // Whether the file existed but could not be read as a record (it then reads as
    // empty, and is kept: see above).
    bool wasDamaged() const { return m_damaged; }
    // Whether the record is written to its file (false in memory, and for a file that
    // is no regular file).
    bool isKeptInFile() const { return !m_path.isEmpty() && !m_memoryOnly; }

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
    bool write();

    QString m_path;
    QString m_prefix;
    bool m_memoryOnly = false;
    bool m_moveAside = false;
    QHash<QString, QSet<int>> m_lines;
    int m_count = 0;
    bool m_damaged = false;
};

} // namespace vm2::platform
