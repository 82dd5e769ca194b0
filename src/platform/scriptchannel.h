#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <memory>

namespace vm2::platform {

// Decodes one line of code page 932 bytes. Invalid byte sequences become U+FFFD;
// `valid` (when given) tells whether the bytes were all valid code page 932.
QString decodeCp932(QByteArrayView bytes, bool *valid = nullptr);
// Encodes text into code page 932; `valid` is false when a character has no code.
QByteArray encodeCp932(QStringView text, bool *valid = nullptr);

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
    // Throws ScriptError(FileNotFound) when the file cannot be opened.
    void open(const QString &path, const QString &name);
    void close();
    bool isOpen() const { return m_file != nullptr; }

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
    QString m_name;
    QByteArray m_buf;
    qsizetype m_pos = 0;
    bool m_fileDone = true;
    int m_line = 0;
    bool m_lastValid = true;
    bool m_bom = false;
};

} // namespace vm2::platform
