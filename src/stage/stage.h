#pragma once

#include "pictures.h"
#include "rasterops.h"

#include <QImage>
#include <QString>

namespace vm2::stage {

// A surface that the stage only reads, holding a picture: where the picture does not
// reach it is white. When the picture covers all that is read of the surface, the
// surface is the picture itself (QImage shares the pixels), so that a picture line
// copies no more than its composition needs; otherwise the picture is copied into
// the surface's own buffer.
class HeldSurface
{
public:
    HeldSurface(int w, int h);
    const QImage &image() const { return m_image; }
    void hold(const QImage &picture, const QRect &read);
    void clear();

private:
    QImage m_buffer;
    QImage m_image;
};

// The stage and its hidden surfaces, on plain images:
//   visible     the stage (pic_Main), 400 × 400
//   compositing the clean background (pic_Src), 400 × 400
//   overlay     the character or event picture with its mask (pic_Src2), 800 × 400
//   work        the composition buffer (pic_Work), 400 × 400; it trades places
//               with the stage after each composition
//   face        the current face strip (pic_Face), the size of the strip
// Each composition starts again from the compositing background, so the stage shows
// at most one character or one event picture over it.
class Stage
{
public:
    Stage();

    // Back to the state of a new main screen: the stage in its own colour, the hidden
    // surfaces white (the buffers are kept).
    void reset();

    const QImage &visible() const { return m_visible; }
    const QImage &compositing() const { return m_compositing.image(); }
    const QImage &face() const { return m_face; }

    // The background command: the picture goes onto the stage and becomes the
    // compositing background.
    void loadBackground(const QImage &picture);
    // A place move, a next day or a load: the picture goes onto the stage. It
    // refreshes the compositing background too, so that a character drawn after a
    // move stands on the new place and not on a picture of an earlier one.
    void loadStageOnly(const QImage &picture);

    // Draws character `code` with expression `expression` (cells 1 to 5 of the face
    // strip; any other number draws no face). `body` is the picture of the character
    // role, `faceStrip` the face strip, null for character "A" (pictureLayout()).
    void drawCharacter(const QString &code, int expression, const QImage &body,
                       const QImage *faceStrip);
    // An event picture (the event picture role) over the compositing background.
    void overlay(const QImage &picture);

private:
    void ownVisible();
    void showWork();

    QImage m_visible;
    HeldSurface m_compositing;
    HeldSurface m_overlay;
    QImage m_work;
    QImage m_face;
    QImage m_spare; // the stage's own buffer while it shows a background picture
};

} // namespace vm2::stage
