#include "gifwriter.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <vector>

namespace vm2::content {

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr * 3 + dg * dg * 4 + db * db * 2;
}

// The palette (at most 256 colours) and every pixel as an index into it.
void quantize(const QImage &image, QList<QRgb> &palette, std::vector<quint8> &indices)
{
    QHash<QRgb, int> frequency;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++frequency[line[x] | 0xFF000000];
    }
    std::vector<std::pair<int, QRgb>> byCount;
    for (auto it = frequency.cbegin(); it != frequency.cend(); ++it) {
        if (it.key() != kBlack && it.key() != kWhite)
            byCount.emplace_back(it.value(), it.key());
    }
    std::sort(byCount.begin(), byCount.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    palette = {kBlack, kWhite};
    for (const auto &entry : byCount) {
        if (palette.size() == 256)
            break;
        palette << entry.second;
    }
    QHash<QRgb, quint8> index;
    for (auto it = frequency.cbegin(); it != frequency.cend(); ++it) {
        int best = 0;
        for (int i = 0; i < palette.size(); ++i) {
            if (distance(palette.at(i), it.key()) < distance(palette.at(best), it.key()))
                best = i;
        }
        index.insert(it.key(), static_cast<quint8>(best));
    }
    indices.resize(static_cast<std::size_t>(image.width()) *
                   static_cast<std::size_t>(image.height()));
    std::size_t n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            indices[n++] = index.value(line[x] | 0xFF000000);
    }
}

// Variable-width LZW codes packed least significant bit first, in sub-blocks.
class CodeWriter
{
public:
    void put(int code, int width)
    {
        m_bits |= static_cast<quint32>(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            byte(static_cast<char>(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            byte(static_cast<char>(m_bits & 0xFF));
        flushBlock();
        m_out += '\0';
        return m_out;
    }

private:
    void byte(char b)
    {
        m_block += b;
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock()
    {
        if (m_block.isEmpty())
            return;
        m_out += static_cast<char>(m_block.size());
        m_out += m_block;
        m_block.clear();
    }
    quint32 m_bits = 0;
    int m_count = 0;
    QByteArray m_block;
    QByteArray m_out;
};

QByteArray lzw(const std::vector<quint8> &indices)
{
    constexpr int kClear = 256, kEnd = 257;
    CodeWriter out;
    QHash<quint32, int> table;
    int next = kEnd + 1;
    int width = 9;
    out.put(kClear, width);
    int prefix = -1;
    for (const quint8 k : indices) {
        if (prefix < 0) {
            prefix = k;
            continue;
        }
        const quint32 key = (static_cast<quint32>(prefix) << 8) | k;
        const auto found = table.constFind(key);
        if (found != table.constEnd()) {
            prefix = found.value();
            continue;
        }
        out.put(prefix, width);
        if (next < 4095) {
            table.insert(key, next++);
            if (next > (1 << width) && width < 12)
                ++width;
        } else {
            out.put(kClear, width);
            table.clear();
            next = kEnd + 1;
            width = 9;
        }
        prefix = k;
    }
    if (prefix >= 0)
        out.put(prefix, width);
    out.put(kEnd, width);
    return out.finish();
}

void word(QByteArray &out, int value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

} // namespace

bool writeGif(const QImage &source, const QString &path)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QList<QRgb> palette;
    std::vector<quint8> indices;
    quantize(image, palette, indices);

    QByteArray gif("GIF87a");
    word(gif, image.width());
    word(gif, image.height());
    gif += static_cast<char>(0xF7); // global colour table of 256 entries, 8 bits
    gif += '\0';
    gif += '\0';
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < palette.size() ? palette.at(i) : kBlack;
        gif += static_cast<char>(qRed(c));
        gif += static_cast<char>(qGreen(c));
        gif += static_cast<char>(qBlue(c));
    }
    gif += ',';
    word(gif, 0);
    word(gif, 0);
    word(gif, image.width());
    word(gif, image.height());
    gif += '\0';
    gif += static_cast<char>(8); // LZW minimum code size
    gif += lzw(indices);
    gif += ';';

    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(gif) == gif.size();
}

} // namespace vm2::content
