#pragma once

#include "rasterops.h"

#include <QImage>
#include <QString>

namespace vm2::stage {

// Where a character's face goes on the stage, and the size of one face cell.
struct FaceRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool isNull() const { return w == 0 || h == 0; }
};
// The face table: character code "1" to "5" have a face; "A" and all others none.
FaceRect faceRect(const QString &characterCode);

inline constexpr int kStageSize = 400;

// The stage and its hidden surfaces, on plain images:
//   visible     the stage (pic_Main), 400 × 400
//   compositing the clean background (pic_Src), 400 × 400
//   overlay     the character or event picture with its mask (pic_Src2), 800 × 400
//   work        the composition buffer (pic_Work), 400 × 400
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
    const QImage &compositing() const { return m_compositing; }
    const QImage &overlaySource() const { return m_overlay; }
    const QImage &work() const { return m_work; }
    const QImage &face() const { return m_face; }

    // The background command: the picture goes onto the stage and becomes the
    // compositing background.
    void loadBackground(const QImage &picture);
    // A place move, a next day or a load: the picture goes onto the stage. It
    // refreshes the compositing background too, so that a character drawn after a
    // move stands on the new place and not on a picture of an earlier one.
    void loadStageOnly(const QImage &picture);

    // Draws character `code` with expression `expression` (cells 1 to 5 of the face
    // strip; any other number draws no face). `body` is the 600 × 400 picture with
    // its mask at x 300; `faceStrip` is null for character "A".
    void drawCharacter(const QString &code, int expression, const QImage &body,
                       const QImage *faceStrip);
    // An event picture (800 × 400, mask at x 400) over the compositing background.
    void overlay(const QImage &picture);

private:
    static void load(QImage &surface, const QImage &picture);

    QImage m_visible;
    QImage m_compositing;
    QImage m_overlay;
    QImage m_work;
    QImage m_face;
};

} // namespace vm2::stage
