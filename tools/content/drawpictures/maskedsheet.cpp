#include "maskedsheet.h"

namespace vm2::content {

namespace {

// Below this coverage an edge pixel counts as background: it would only add a
// fringe of outline colour.
constexpr int kAlphaThreshold = 48;

bool covered(QRgb pixel)
{
    return qAlpha(pixel) >= kAlphaThreshold;
}

QRgb opaque(QRgb premultiplied)
{
    return qUnpremultiply(premultiplied) | 0xFF000000;
}

} // namespace

QImage pictureWithMask(const QImage &drawing)
{
    const QImage src = drawing.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = src.width();
    QImage out(2 * w, src.height(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const bool inside = covered(in[x]);
            line[x] = inside ? opaque(in[x]) : 0xFFFFFFFF;
            line[w + x] = inside ? 0xFF000000 : 0xFFFFFFFF;
        }
    }
    return out;
}

QImage faceStrip(const QList<QImage> &drawings, const QRect &face)
{
    const int w = face.width(), h = face.height();
    QImage out(6 * w, h, QImage::Format_RGB32);
    out.fill(Qt::white);
    QList<QImage> cells;
    for (const QImage &d : drawings)
        cells << d.convertToFormat(QImage::Format_ARGB32_Premultiplied).copy(face);
    if (cells.isEmpty())
        return out;
    // Where an expression differs from the first one, grown by a margin so that the
    // soft edges of eyes, brows and blush come along whole.
    constexpr int kMargin = 3;
    QList<bool> differs(w * h, false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb first = cells.first().pixel(x, y);
            for (const QImage &c : cells)
                differs[y * w + x] = differs[y * w + x] || c.pixel(x, y) != first;
        }
    }
    auto near = [&](int x, int y) {
        for (int dy = -kMargin; dy <= kMargin; ++dy) {
            for (int dx = -kMargin; dx <= kMargin; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < w && ny < h && differs[ny * w + nx])
                    return true;
            }
        }
        return false;
    };
    for (int y = 0; y < h; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            bool everywhere = true;
            for (const QImage &c : cells)
                everywhere = everywhere && qAlpha(c.pixel(x, y)) == 255;
            if (!everywhere || !near(x, y))
                continue;
            line[5 * w + x] = 0xFF000000;
            for (int e = 0; e < 5 && e < cells.size(); ++e)
                line[e * w + x] =
                    opaque(reinterpret_cast<const QRgb *>(cells.at(e).constScanLine(y))[x]);
        }
    }
    return out;
}

QString checkMaskedPicture(const QImage &source, int cells)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    if (image.width() % cells != 0)
        return QStringLiteral("width %1 is not %2 cells").arg(image.width()).arg(cells);
    const int w = image.width() / cells;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb mask = line[(cells - 1) * w + x] & 0xFFFFFF;
            if (mask != 0 && mask != 0xFFFFFF)
                return QStringLiteral("mask pixel (%1, %2) is neither black nor white")
                    .arg(x)
                    .arg(y);
            if (mask == 0)
                continue;
            for (int c = 0; c + 1 < cells; ++c) {
                if ((line[c * w + x] & 0xFFFFFF) != 0xFFFFFF)
                    return QStringLiteral(
                               "cell %1 is not white at (%2, %3) where the mask is white")
                        .arg(c + 1)
                        .arg(x)
                        .arg(y);
            }
        }
    }
    return QString();
}

} // namespace vm2::content
