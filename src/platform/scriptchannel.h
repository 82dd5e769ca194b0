#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <memory>
#include <vector>

#include "filesource.h"

namespace vm2::platform {

// Decodes one line of code page 932 bytes. Invalid byte sequences become U+FFFD;
// `valid` (when given) tells whether the bytes were all valid code page 932.
QString decodeCp932(QByteArrayView bytes, bool *valid = nullptr);
// Encodes text into code page 932; `valid` is false when a character has no code.
QByteArray encodeCp932(QStringView text, bool *valid = nullptr);

// The lines of scripts kept decoded while their files stay as they were. A run
// opens a script at every hand-over, and a story hands over between the same few
// scripts again and again: opening, reading and decoding the file costs far more
// than asking whether it changed. A file that was written again is read again at
// its next use, so what runs is what the file holds.
class ScriptCache
{
public:
    struct Script {
        std::vector<QString> lines;
        std::vector<bool> valid; // per line: whether its bytes were valid code page 932
        bool bom = false;
    };

    // The decoded lines of the file at `path` as it is now, or nullptr when the
    // file source cannot tell its versions apart or the file is large (it is then
    // read line by line) or missing (opening it then fails as usual).
    std::shared_ptr<const Script> lines(const QString &path, const QString &name);

private:
    struct Entry {
        QString path;
        FileStamp stamp;
        std::shared_ptr<const Script> script;
    };
    // Scripts are a few kilobytes each; larger files are read line by line.
    static constexpr qint64 kLargestKept = 256 * 1024;
    // Enough for the scripts a run hands over between. The most recently used come last.
    static constexpr std::size_t kEntries = 16;
    std::vector<Entry> m_entries;
};

// The script channel: sequential line input from one file in code page 932, read
// from the process's file source (the disk in the game).
// A line ends at CR LF, at a lone CR or at a lone LF; the end is not part of the
// line, and a last line without an end is a line too. A UTF-8 byte-order mark at
// the start of the file is skipped. Lines are read in chunks, so a script of any
// size costs memory for its longest line only.
class ScriptChannel
{
public:
    // Closes what is open, then opens `path`; `name` is how errors name the file.
    // Throws ScriptError(FileNotFound) when the file cannot be opened. With a
    // `cache`, the lines come from it while the file is unchanged.
    void open(const QString &path, const QString &name, ScriptCache *cache = nullptr);
    void close();
    bool isOpen() const { return m_file != nullptr || m_script != nullptr; }

    bool atEnd();
    // Throws ScriptError(InputPastEnd) when the file has no further line.
    QString readLine();

    // 1-based number of the line that readLine() returned last (0 before any).
    int lineNumber() const { return m_line; }
    const QString &name() const { return m_name; }
    // Whether the bytes of the line that readLine() returned last were valid code page 932.
    bool lastLineValid() const { return m_lastValid; }
    // Whether the open file starts with a UTF-8 byte-order mark (which is skipped).
    bool startsWithBom() const { return m_bom; }

private:
    bool fill();

    std::unique_ptr<QIODevice> m_file;
    // The lines of a script served from a cache, instead of the file.
    std::shared_ptr<const ScriptCache::Script> m_script;
    QString m_name;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    bool m_fileDone = true;
    int m_line = 0;
    bool m_lastValid = true;
    bool m_bom = false;
};

} // namespace vm2::platform
