#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace vm2::stage {

inline constexpr int kStageSize = 400;

// The roles a picture file plays on the stage. The role fixes the picture's size and
// how it is drawn: whole, or through the mask that stands beside its cells.
enum class PictureRole { Background, Character, Face, EventPicture };

// The layout of a picture of one role: its size, the cells that are drawn through
// the mask, the mask (null for a picture drawn whole) and where a cell goes on the
// stage. A face strip holds the five expressions, then the mask, each cell the size
// of the character's face rectangle; a character without one draws no face, and its
// face layout is empty (size and cells).
struct PictureLayout {
    QSize size;
    std::vector<QRect> cells;
    QRect mask;
    QPoint at;
};
PictureLayout pictureLayout(PictureRole role, const QString &characterCode = QString());

// Where a character's face goes on the stage, and the size of one face cell.
struct FaceRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool isNull() const { return w == 0 || h == 0; }
};
// The face table: character code "1" to "5" have a face; "A" and all others none.
FaceRect faceRect(const QString &characterCode);

} // namespace vm2::stage
