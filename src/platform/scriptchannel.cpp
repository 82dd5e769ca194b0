#include "scriptchannel.h"

#include "filesource.h"
#include "scripterror.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace vm2::platform {

namespace {

// Microsoft's code page 932 (Shift JIS with the NEC and IBM extensions), as the
// platform's converter knows it: 0x8160 is U+FF5E, 0x5C is U+005C.
constexpr const char *kCp932 = "windows-31j";
constexpr qsizetype kChunk = 64 * 1024;
constexpr qsizetype kKeptBuffer = 4 * kChunk;

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A converter whose error count can be cleared: resetState() leaves it in place for
// the converters that Qt 6.4 takes from ICU (code page 932 is one), and a stateless
// converter keeps no other state between lines.
class Cp932Decoder : public QStringDecoder
{
public:
    Cp932Decoder() : QStringDecoder(kCp932, QStringConverter::Flag::Stateless) {}
    void clearError() { state.invalidChars = 0; }
};

} // namespace

QString decodeCp932(QByteArrayView bytes, bool *valid)
{
    // Code page 932 agrees with ASCII below 0x80, and most script lines are
    // commands in ASCII: skip the converter for them.
    if (isAscii(bytes)) {
        if (valid)
            *valid = true;
        return QString::fromLatin1(bytes);
    }
    // A line end follows every line, so that a double-byte character cut short at
    // the end of the line is decoded as a substitute instead of being dropped.
    thread_local QByteArray terminated;
    terminated.resize(0); // keeps the capacity for the next line
    terminated.append(bytes.data(), bytes.size()).append('\n');
    // Making a converter costs more than decoding most lines: each thread keeps one.
    thread_local Cp932Decoder decoder;
    QString text = decoder(terminated);
    text.chop(1);
    const bool ok = !decoder.hasError();
    decoder.clearError();
    if (valid)
        *valid = ok;
    return text;
}

QByteArray encodeCp932(QStringView text, bool *valid)
{
    QStringEncoder encoder(kCp932, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    if (valid)
        *valid = !encoder.hasError();
    return bytes;
}

std::shared_ptr<const ScriptCache::Script> ScriptCache::lines(const QString &path,
                                                              const QString &name)
{
    const std::optional<FileStamp> stamp = fileSource().stamp(path);
    if (!stamp || stamp->size > kLargestKept)
        return nullptr;
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry &e) { return e.path == path; });
    if (found != m_entries.end()) {
        if (found->stamp == *stamp) {
            std::rotate(found, found + 1, m_entries.end());
            return m_entries.back().script;
        }
        m_entries.erase(found);
    }
    // Read with the stamp taken before: a change while reading makes the next use
    // read the file again.
    auto script = std::make_shared<Script>();
    ScriptChannel channel;
    channel.open(path, name);
    script->bom = channel.startsWithBom();
    while (!channel.atEnd()) {
        script->lines.push_back(channel.readLine());
        script->valid.push_back(channel.lastLineValid());
    }
    if (m_entries.size() == kEntries)
        m_entries.erase(m_entries.begin());
    m_entries.push_back({path, *stamp, script});
    return script;
}

void ScriptChannel::open(const QString &path, const QString &name, ScriptCache *cache)
{
    close();
    m_name = name;
    if (cache) {
        m_script = cache->lines(path, name);
        if (m_script) {
            m_bom = m_script->bom;
            return;
        }
    }
    m_file = fileSource().open(path);
    if (!m_file)
        throw ScriptError(Fault::FileNotFound, name);
    m_fileDone = false;
    fill();
    m_bom = m_buf.startsWith("\xEF\xBB\xBF");
    if (m_bom)
        m_pos = 3;
}

void ScriptChannel::close()
{
    m_file.reset();
    m_script.reset();
    // The buffer is kept for the next script (a run opens one per hand-over), unless
    // a long line made it large.
    if (m_buf.capacity() > kKeptBuffer)
        m_buf.clear();
    else
        m_buf.resize(0);
    m_pos = 0;
    m_fileDone = true;
    m_line = 0;
    m_lastValid = true;
    m_bom = false;
}

bool ScriptChannel::fill()
{
    if (m_fileDone)
        return false;
    if (m_pos > 0) {
        m_buf.remove(0, m_pos);
        m_pos = 0;
    }
    // A chunk is no larger than what is left of the file (and one byte more, so
    // that the read meets the end): most scripts are a few kilobytes.
    qint64 chunk = kChunk;
    if (!m_file->isSequential())
        chunk = std::clamp<qint64>(m_file->size() - m_file->pos() + 1, 1, kChunk);
    const qsizetype kept = m_buf.size();
    m_buf.resize(kept + chunk);
    const qint64 got = m_file->read(m_buf.data() + kept, chunk);
    m_buf.resize(kept + std::max<qint64>(got, 0));
    if (got <= 0) {
        m_fileDone = true;
        return false;
    }
    return true;
}

bool ScriptChannel::atEnd()
{
    if (m_script)
        return m_line >= static_cast<int>(m_script->lines.size());
    if (!m_file)
        return true;
    while (m_pos >= m_buf.size()) {
        if (!fill())
            return true;
    }
    return false;
}

QString ScriptChannel::readLine()
{
    if (atEnd())
        throw ScriptError(Fault::InputPastEnd, m_name);
    if (m_script) {
        const auto at = static_cast<std::size_t>(m_line++);
        m_lastValid = m_script->valid[at];
        return m_script->lines[at];
    }

    auto isEnd = [](char c) { return c == '\r' || c == '\n'; };
    qsizetype scanned = 0; // bytes after m_pos already known to hold no line end
    for (;;) {
        const auto begin = m_buf.cbegin();
        const auto hit = std::find_if(begin + m_pos + scanned, m_buf.cend(), isEnd);
        if (hit == m_buf.cend()) {
            scanned = m_buf.size() - m_pos;
            if (fill())
                continue;
            // The last line of a file without a line end.
            QString line = decodeCp932(QByteArrayView(m_buf).sliced(m_pos), &m_lastValid);
            m_pos = m_buf.size();
            ++m_line;
            return line;
        }
        const qsizetype end = hit - begin;
        // A CR may be the first half of a CR LF that the next chunk completes.
        if (*hit == '\r' && end + 1 == m_buf.size() && !m_fileDone) {
            scanned = end - m_pos;
            fill();
            continue;
        }
        QString line = decodeCp932(QByteArrayView(m_buf).sliced(m_pos, end - m_pos), &m_lastValid);
        m_pos = end + 1;
        if (*hit == '\r' && m_pos < m_buf.size() && m_buf.at(m_pos) == '\n')
            ++m_pos;
        ++m_line;
        return line;
    }
}

} // namespace vm2::platform
