#include "pictures.h"

namespace vm2::stage {

namespace {
constexpr int kFaceCells = 5;
constexpr int kBodyWidth = 300;
} // namespace

FaceRect faceRect(const QString &code)
{
    if (code.size() != 1)
        return {};
    switch (code.front().unicode()) {
    case u'1':
        return {.x = 130, .y = 80, .w = 140, .h = 120};
    case u'2':
        return {.x = 130, .y = 80, .w = 110, .h = 110};
    case u'3':
        return {.x = 140, .y = 90, .w = 120, .h = 90};
    case u'4':
        return {.x = 140, .y = 160, .w = 120, .h = 100};
    case u'5':
        return {.x = 140, .y = 85, .w = 110, .h = 85};
    default:
        return {};
    }
}

PictureLayout pictureLayout(PictureRole role, const QString &characterCode)
{
    const int stage = kStageSize;
    switch (role) {
    case PictureRole::Background:
        return {{stage, stage}, {}, {}, {0, 0}};
    case PictureRole::Character:
        // The body stands in the middle of the stage.
        return {{2 * kBodyWidth, stage},
                {QRect(0, 0, kBodyWidth, stage)},
                QRect(kBodyWidth, 0, kBodyWidth, stage),
                {(stage - kBodyWidth) / 2, 0}};
    case PictureRole::EventPicture:
        return {
            {2 * stage, stage}, {QRect(0, 0, stage, stage)}, QRect(stage, 0, stage, stage), {0, 0}};
    case PictureRole::Face: {
        const FaceRect f = faceRect(characterCode);
        if (f.isNull())
            return {};
        PictureLayout layout{
            {(kFaceCells + 1) * f.w, f.h}, {}, QRect(kFaceCells * f.w, 0, f.w, f.h), {f.x, f.y}};
        for (int i = 0; i < kFaceCells; ++i)
            layout.cells.emplace_back(i * f.w, 0, f.w, f.h);
        return layout;
    }
    }
    return {};
}

} // namespace vm2::stage
