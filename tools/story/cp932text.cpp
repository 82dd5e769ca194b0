#include "cp932text.h"

#include "platform/scriptchannel.h"

#include <QStringDecoder>
#include <algorithm>

namespace vm2::story {

namespace {

// Characters that macOS, common input methods and editors write where the author
// meant a character of code page 932: the look-alike, its name, and the character.
struct LookAlike {
    char32_t from;
    const char *name;
    char16_t to;
};
constexpr LookAlike kLookAlikes[] = {
    {0x301C, "WAVE DASH", u'～'},
    {0x2212, "MINUS SIGN", u'－'},
    {0x2016, "DOUBLE VERTICAL LINE", u'∥'},
    {0x00A2, "CENT SIGN", u'￠'},
    {0x00A3, "POUND SIGN", u'￡'},
    {0x00AC, "NOT SIGN", u'￢'},
    {0x2014, "EM DASH", u'―'},
};

const LookAlike *lookAlike(char32_t c)
{
    for (const LookAlike &l : kLookAlikes) {
        if (l.from == c)
            return &l;
    }
    return nullptr;
}

QString codePoint(char32_t c)
{
    return QStringLiteral("U+") +
           QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

QString hexBytes(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex().toUpper());
}

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Encodes one source line; look-alikes become their code page 932 character.
void encodeLine(const QString &line, int number, Conversion &out)
{
    QString text;
    text.reserve(line.size());
    int column = 0;
    bool bad = false;
    for (qsizetype i = 0; i < line.size();) {
        const bool pair =
            line.at(i).isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate();
        const char32_t c =
            pair ? QChar::surrogateToUcs4(line.at(i), line.at(i + 1)) : line.at(i).unicode();
        const qsizetype n = pair ? 2 : 1;
        const QString ch = line.mid(i, n);
        i += n;
        ++column;
        if (const LookAlike *l = lookAlike(c)) {
            out.remarks.push_back(
                {Remark::Warning, number, column,
                 QStringLiteral("%1 %2 is not in code page 932: written as \"%3\" (%4)")
                     .arg(codePoint(c), QLatin1String(l->name), QString(QChar(l->to)),
                          codePoint(l->to))});
            text += QChar(l->to);
            continue;
        }
        bool valid = true;
        platform::encodeCp932(ch, &valid);
        if (!valid || c == 0xFFFD) {
            out.remarks.push_back(
                {Remark::Error, number, column,
                 QStringLiteral("%1 \"%2\" has no code in code page 932").arg(codePoint(c), ch)});
            bad = true;
            continue;
        }
        text += ch;
    }
    if (!bad)
        out.bytes += platform::encodeCp932(text);
    out.bytes += "\r\n";
}

} // namespace

QString Remark::text(const QString &file) const
{
    QString place = file;
    if (line > 0 || column > 0)
        place += u':' + QString::number(line);
    if (column > 0)
        place += u':' + QString::number(column);
    return QStringLiteral("%1: %2: %3")
        .arg(place, kind == Error ? QLatin1String("error") : QLatin1String("warning"), message);
}

bool Conversion::failed() const
{
    return std::any_of(remarks.begin(), remarks.end(),
                       [](const Remark &r) { return r.kind == Remark::Error; });
}

std::vector<QByteArray> splitLines(const QByteArray &bytes, QStringList *ends)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char b = bytes.at(i);
        if (b != '\r' && b != '\n')
            continue;
        lines.push_back(bytes.mid(start, i - start));
        const bool crlf = b == '\r' && i + 1 < size && bytes.at(i + 1) == '\n';
        if (ends)
            *ends << (crlf ? QStringLiteral("\r\n") : QString(QChar::fromLatin1(b)));
        if (crlf)
            ++i;
        start = i + 1;
    }
    if (start < size) {
        lines.push_back(bytes.mid(start));
        if (ends)
            *ends << QString();
    }
    return lines;
}

Conversion encodeSource(const QByteArray &utf8)
{
    Conversion out;
    QByteArray bytes = utf8;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const std::vector<QByteArray> lines = splitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString line = decoder(lines[i]);
        if (decoder.hasError()) {
            out.remarks.push_back({Remark::Error, number, 0,
                                   QStringLiteral("not UTF-8 text: sources are written in "
                                                  "UTF-8")});
            continue;
        }
        encodeLine(line, number, out);
    }
    if (out.failed())
        out.bytes.clear();
    return out;
}

Conversion decodeScript(const QByteArray &cp932)
{
    Conversion out;
    QByteArray bytes = cp932;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        out.remarks.push_back({Remark::Warning, 1, 0,
                               QStringLiteral("a UTF-8 byte-order mark, which the game skips: "
                                              "build does not write it back")});
    }
    QStringList ends;
    const std::vector<QByteArray> lines = splitLines(bytes, &ends);
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const QByteArray &raw = lines[i];
        bool valid = true;
        const QString line = platform::decodeCp932(raw, &valid);
        if (!valid) {
            out.remarks.push_back(
                {Remark::Error, number, 0,
                 QStringLiteral("not valid code page 932: the bytes %1").arg(hexBytes(raw))});
            continue;
        }
        // Where the character's code is not the one that build writes for it.
        qsizetype at = 0;
        int column = 0;
        for (const QChar ch : line) {
            ++column;
            const qsizetype n =
                at + 1 < raw.size() && isLeadByte(static_cast<unsigned char>(raw.at(at))) ? 2 : 1;
            const QByteArrayView original(raw.constData() + at, n);
            at += n;
            const QByteArray again = platform::encodeCp932(QStringView(&ch, 1));
            if (again != original)
                out.remarks.push_back(
                    {Remark::Warning, number, column,
                     QStringLiteral("\"%1\" (%2) has two codes in code page 932: the script has "
                                    "%3, build writes %4")
                         .arg(ch, codePoint(ch.unicode()), hexBytes(original), hexBytes(again))});
        }
        if (ends.at(static_cast<qsizetype>(i)) == QLatin1String("\r"))
            out.remarks.push_back({Remark::Warning, number, 0,
                                   QStringLiteral("the line ends in a lone CR: build ends every "
                                                  "line with CR LF")});
        else if (ends.at(static_cast<qsizetype>(i)) == QLatin1String("\n"))
            out.remarks.push_back({Remark::Warning, number, 0,
                                   QStringLiteral("the line ends in a lone LF: build ends every "
                                                  "line with CR LF")});
        else if (ends.at(static_cast<qsizetype>(i)).isEmpty())
            out.remarks.push_back({Remark::Warning, number, 0,
                                   QStringLiteral("the last line has no line end: build adds "
                                                  "CR LF")});
        text += line;
        text += u'\n';
    }
    out.bytes = out.failed() ? QByteArray() : text.toUtf8();
    return out;
}

} // namespace vm2::story
