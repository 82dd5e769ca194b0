#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace vm2::stage {

// The three raster operations of the stage, applied bit by bit to the red, green
// and blue bytes of 32-bit RGB images (the alpha byte stays opaque):
//   Copy:   D = S
//   Erase:  D = S AND (NOT D)
//   Invert: D = S XOR D
// A masked placement is Erase with the mask, then Invert with the picture: where
// the mask is white the destination stays, where it is black the picture replaces it.
enum class RasterOp { Copy, Erase, Invert };

// Copies the rectangle `source` of `src` onto `dst` at `to` with `op`. Parts of the
// rectangle outside `src` read as white (an empty surface); parts outside `dst` are
// clipped. Both images must be Format_RGB32.
void bitBlt(QImage &dst, QPoint to, const QImage &src, const QRect &source, RasterOp op);
// A masked placement: Erase with the rectangle `mask` of `src`, then Invert with its
// rectangle `cell`, both at `to`.
void placeMasked(QImage &dst, QPoint to, const QImage &src, const QRect &mask, const QRect &cell);

} // namespace vm2::stage
