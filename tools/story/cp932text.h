#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vm2::story {

// A remark about one place of a file: line and column are 1-based (column 0 for
// the line as a whole, line 0 for the file as a whole).
struct Remark {
    enum Kind { Warning, Error };
    Kind kind = Warning;
    int line = 0;
    int column = 0;
    QString message;

    // "FILE:LINE:COLUMN: error: MESSAGE" (the column only when there is one).
    QString text(const QString &file) const;
};

struct Conversion {
    QByteArray bytes;
    std::vector<Remark> remarks;
    bool failed() const;
};

// Splits text bytes into lines as the game reads them: a line ends at CR LF, at a
// lone CR or at a lone LF; a last line without an end is a line too. `ends`, when
// given, receives each line's end ("\r\n", "\r", "\n" or empty).
std::vector<QByteArray> splitLines(const QByteArray &bytes, QStringList *ends = nullptr);

// A script source (UTF-8, any line ends, a byte-order mark dropped) as the game's
// script: code page 932 with CR LF after every line. The look-alikes that editors
// and input methods write for characters code page 932 has are written as that
// character, each with a warning; any other character without a code is an error.
Conversion encodeSource(const QByteArray &utf8);

// A game script (code page 932) as a UTF-8 source with LF line ends. Bytes that are
// not code page 932 are an error; every place where building the source again
// would write other bytes (a character with two codes, a lone CR or LF, a missing
// last line end, a byte-order mark) is a warning.
Conversion decodeScript(const QByteArray &cp932);

} // namespace vm2::story
