// vm2-encode-scripts: turns the story's script sources (UTF-8 text, one file per
// event, named ibent<place>-<number>.txt) into the game's script files
// (ibent<place>-<number>.da2, code page 932, CR LF after every line).
//
// The game reads nothing but code page 932, so a character without a code there
// would reach the player as garbage; instead the build fails here, naming the file,
// the line and the character. Lines are kept one for one: blocks of choices and
// flag branches count physical lines, so nothing may be added or dropped.
#include "platform/scriptchannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <cstdio>

namespace {

void fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The 1-based column and the character of the first character of `line` that code
// page 932 cannot hold.
QString firstUnencodable(const QString &line, int &column)
{
    column = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        // Keep surrogate pairs together.
        const qsizetype n = (line.at(i).isHighSurrogate() && i + 1 < line.size()) ? 2 : 1;
        const QString ch = line.mid(i, n);
        ++column;
        bool valid = true;
        vm2::platform::encodeCp932(ch, &valid);
        if (!valid)
            return ch;
        i += n - 1;
    }
    return QString();
}

bool encodeFile(const QFileInfo &source, const QDir &output)
{
    QFile in(source.filePath());
    if (!in.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1: cannot read").arg(source.filePath()));
        return false;
    }
    const QByteArray raw = in.readAll();
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(raw);
    if (utf8.hasError()) {
        fail(QStringLiteral("%1: not UTF-8 text").arg(source.filePath()));
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast(); // the end of the last line, not an empty line

    QByteArray bytes;
    bool ok = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        bool valid = true;
        const QByteArray encoded = vm2::platform::encodeCp932(line, &valid);
        if (!valid) {
            int column = 0;
            const QString ch = firstUnencodable(line, column);
            fail(QStringLiteral("%1:%2:%3: error: U+%4 \"%5\" has no code in code page 932")
                     .arg(source.filePath())
                     .arg(i + 1)
                     .arg(column)
                     .arg(ch.isEmpty() ? 0 : ch.toUcs4().value(0), 4, 16, QLatin1Char('0'))
                     .arg(ch));
            ok = false;
            continue;
        }
        bytes += encoded;
        bytes += "\r\n";
    }
    if (!ok)
        return false;

    const QString target = output.filePath(source.completeBaseName() + QStringLiteral(".da2"));
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
        fail(QStringLiteral("%1: cannot write").arg(target));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        fail(QStringLiteral("usage: vm2-encode-scripts SOURCE_FOLDER DAT2_FOLDER"));
        return 2;
    }
    const QDir source(args.at(1));
    QDir output(args.at(2));
    if (!output.mkpath(QStringLiteral("."))) {
        fail(QStringLiteral("%1: cannot create").arg(output.path()));
        return 1;
    }
    const QFileInfoList sources =
        source.entryInfoList({QStringLiteral("ibent*.txt")}, QDir::Files, QDir::Name);
    if (sources.isEmpty()) {
        fail(QStringLiteral("%1: no script sources").arg(source.path()));
        return 1;
    }
    bool ok = true;
    QSet<QString> written;
    for (const QFileInfo &file : sources) {
        ok = encodeFile(file, output) && ok;
        written.insert(file.completeBaseName() + QStringLiteral(".da2"));
    }
    // A script whose source was removed must not stay playable.
    for (const QString &name : output.entryList({QStringLiteral("ibent*.da2")}, QDir::Files)) {
        if (!written.contains(name))
            output.remove(name);
    }
    return ok ? 0 : 1;
}
