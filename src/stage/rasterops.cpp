#include "rasterops.h"

#include <QPainter>

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

} // namespace

void bitBlt(QImage &dst, QPoint to, const QImage &src, const QRect &source, RasterOp op)
{
    Q_ASSERT(dst.format() == QImage::Format_RGB32 && src.format() == QImage::Format_RGB32);
    if (source.isEmpty())
        return;
    QImage padded;
    const QImage *from = &src;
    QRect rect = source;
    if (!src.rect().contains(source)) {
        // The part of the rectangle outside the source reads as an empty (white) surface.
        padded = QImage(source.size(), QImage::Format_RGB32);
        padded.fill(0xFFFFFFFFu);
        QPainter p(&padded);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), src, source);
        from = &padded;
        rect = padded.rect();
    }
    QPainter p(&dst);
    p.setCompositionMode(mode(op));
    p.drawImage(to, *from, rect);
}

} // namespace vm2::stage
