#include "rasterops.h"

#include <QPainter>
#include <cstring>

namespace vm2::stage {

namespace {

// Qt's raster operations give exactly these bitwise results on 32-bit RGB images,
// the alpha byte included (the tests hold them to it).
QPainter::CompositionMode mode(RasterOp op)
{
    switch (op) {
    case RasterOp::Copy:
        return QPainter::CompositionMode_Source;
    case RasterOp::Erase:
        return QPainter::RasterOp_SourceAndNotDestination;
    case RasterOp::Invert:
        return QPainter::RasterOp_SourceXorDestination;
    }
    return QPainter::CompositionMode_Source;
}

// The source rectangle as an image and a rectangle within it: parts outside `src`
// read as an empty (white) surface.
const QImage &readable(const QImage &src, QRect &rect, QImage &padded)
{
    if (src.rect().contains(rect))
        return src;
    padded = QImage(rect.size(), QImage::Format_RGB32);
    padded.fill(0xFFFFFFFFu);
    QPainter p(&padded);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(0, 0), src, rect);
    rect = padded.rect();
    return padded;
}

void draw(QPainter &p, QPoint to, const QImage &src, const QRect &source, RasterOp op)
{
    if (source.isEmpty())
        return;
    QImage padded;
    QRect rect = source;
    const QImage &from = readable(src, rect, padded);
    p.setCompositionMode(mode(op));
    p.drawImage(to, from, rect);
}

// One row of a masked placement: the pixels lie within both images (placeMasked
// clips the rectangle to them first). The fuzzing build (clang) leaves the row
// uninstrumented, like the raster loops of Qt that it stands in for: a check and a
// traced comparison for each pixel made it ten times slower there. The sanitizer
// build of the tests still checks it.
#if defined(__clang__)
__attribute__((no_sanitize("coverage", "address", "undefined")))
#endif
void placeMaskedRow(quint32 *d, const quint32 *m, const quint32 *c, int width)
{
    // Four pixels at a time (SSE2 on x86-64, NEON on ARM): a character drawing is
    // 120,000 pixels, one pixel at a time most of the drawing's cost. The compiler
    // does not vectorise the plain loop at -O2, as the rows might overlap.
    using Pixels = quint32 __attribute__((vector_size(16)));
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        Pixels dv, mv, cv;
        std::memcpy(&dv, d + x, sizeof dv);
        std::memcpy(&mv, m + x, sizeof mv);
        std::memcpy(&cv, c + x, sizeof cv);
        dv = ((mv & ~dv) ^ cv) | 0xFF000000u;
        std::memcpy(d + x, &dv, sizeof dv);
    }
    for (; x < width; ++x)
        d[x] = ((m[x] & ~d[x]) ^ c[x]) | 0xFF000000u;
}

} // namespace

void bitBlt(QImage &dst, QPoint to, const QImage &src, const QRect &source, RasterOp op)
{
    Q_ASSERT(dst.format() == QImage::Format_RGB32 && src.format() == QImage::Format_RGB32);
    if (source.isEmpty())
        return;
    // A whole copy between images of one size is a copy of their bytes.
    if (op == RasterOp::Copy && to.isNull() && source == src.rect() && src.size() == dst.size() &&
        src.bytesPerLine() == dst.bytesPerLine()) {
        std::memcpy(dst.bits(), src.constBits(), static_cast<std::size_t>(dst.sizeInBytes()));
        return;
    }
    QPainter p(&dst);
    draw(p, to, src, source, op);
}

void placeMasked(QImage &dst, QPoint to, const QImage &src, const QRect &mask, const QRect &cell)
{
    Q_ASSERT(dst.format() == QImage::Format_RGB32 && src.format() == QImage::Format_RGB32);
    if (mask.isEmpty() && cell.isEmpty())
        return;
    // The usual case, a mask and a cell of one size inside the picture, is one pass:
    // D = ((M AND NOT D) XOR C), opaque. The two operations one after the other give
    // the same bits; the alpha byte in between does not reach the result.
    if (mask.size() == cell.size() && src.rect().contains(mask) && src.rect().contains(cell)) {
        const QRect area = QRect(to, mask.size()) & dst.rect();
        if (area.isEmpty())
            return;
        const QPoint skip = area.topLeft() - to;
        const int width = area.width();
        for (int y = 0; y < area.height(); ++y) {
            auto *d = reinterpret_cast<quint32 *>(dst.scanLine(area.top() + y)) + area.left();
            const auto *m =
                reinterpret_cast<const quint32 *>(src.constScanLine(mask.top() + skip.y() + y)) +
                mask.left() + skip.x();
            const auto *c =
                reinterpret_cast<const quint32 *>(src.constScanLine(cell.top() + skip.y() + y)) +
                cell.left() + skip.x();
            placeMaskedRow(d, m, c, width);
        }
        return;
    }
    QPainter p(&dst);
    draw(p, to, src, mask, RasterOp::Erase);
    draw(p, to, src, cell, RasterOp::Invert);
}

} // namespace vm2::stage
