#include "rasterops.h"

namespace vm2::stage {

namespace {
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kOpaque = 0xFF000000u;

inline QRgb apply(RasterOp op, QRgb d, QRgb s)
{
    switch (op) {
    case RasterOp::Copy:
        return s | kOpaque;
    case RasterOp::Erase:
        return (s & ~d) | kOpaque;
    case RasterOp::Invert:
        return (s ^ d) | kOpaque;
    }
    return d;
}
} // namespace

void bitBlt(QImage &dst, QPoint to, const QImage &src, const QRect &source, RasterOp op)
{
    Q_ASSERT(dst.format() == QImage::Format_RGB32 && src.format() == QImage::Format_RGB32);
    const QRect target = QRect(to, source.size()).intersected(dst.rect());
    if (target.isEmpty())
        return;
    const QPoint shift = source.topLeft() - to;
    const QRect srcRect = src.rect();
    for (int y = target.top(); y <= target.bottom(); ++y) {
        auto *d = reinterpret_cast<QRgb *>(dst.scanLine(y));
        const int sy = y + shift.y();
        const bool rowInside = sy >= srcRect.top() && sy <= srcRect.bottom();
        const auto *s = rowInside ? reinterpret_cast<const QRgb *>(src.constScanLine(sy)) : nullptr;
        for (int x = target.left(); x <= target.right(); ++x) {
            const int sx = x + shift.x();
            const QRgb sp = (s && sx >= 0 && sx < srcRect.width()) ? s[sx] : kWhite;
            d[x] = apply(op, d[x], sp);
        }
    }
}

} // namespace vm2::stage
