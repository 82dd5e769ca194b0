#include "stage.h"

namespace vm2::stage {

namespace {
// The stage's own colour before the first background: the window's button face.
constexpr QRgb kStageEmpty = 0xFFF0F0F0u;

QImage surface(int w, int h, QRgb colour = 0xFFFFFFFFu)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
} // namespace

FaceRect faceRect(const QString &code)
{
    if (code.size() != 1)
        return {};
    switch (code.front().unicode()) {
    case u'1':
        return {130, 80, 140, 120};
    case u'2':
        return {130, 80, 110, 110};
    case u'3':
        return {140, 90, 120, 90};
    case u'4':
        return {140, 160, 120, 100};
    case u'5':
        return {140, 85, 110, 85};
    default:
        return {};
    }
}

Stage::Stage()
    : m_visible(surface(kStageSize, kStageSize, kStageEmpty)),
      m_compositing(surface(kStageSize, kStageSize)),
      m_overlay(surface(2 * kStageSize, kStageSize)), m_work(surface(kStageSize, kStageSize)),
      m_face(surface(140, 120))
{}

void Stage::reset()
{
    m_visible.fill(kStageEmpty);
    m_compositing.fill(0xFFFFFFFFu);
    m_overlay.fill(0xFFFFFFFFu);
    m_work.fill(0xFFFFFFFFu);
    m_face.fill(0xFFFFFFFFu);
}

void Stage::load(QImage &target, const QImage &picture)
{
    target.fill(0xFFFFFFFFu);
    bitBlt(target, {0, 0}, picture, picture.rect(), RasterOp::Copy);
}

void Stage::loadBackground(const QImage &picture)
{
    load(m_visible, picture);
    load(m_compositing, picture);
}

void Stage::loadStageOnly(const QImage &picture)
{
    loadBackground(picture);
}

void Stage::drawCharacter(const QString &code, int expression, const QImage &body,
                          const QImage *faceStrip)
{
    load(m_overlay, body);
    if (faceStrip)
        m_face = faceStrip->convertToFormat(QImage::Format_RGB32);

    const QRect whole(0, 0, kStageSize, kStageSize);
    bitBlt(m_work, {0, 0}, m_compositing, whole, RasterOp::Copy);
    bitBlt(m_work, {50, 0}, m_overlay, QRect(300, 0, 300, 400), RasterOp::Erase);
    bitBlt(m_work, {50, 0}, m_overlay, QRect(0, 0, 300, 400), RasterOp::Invert);

    const FaceRect f = faceRect(code);
    if (faceStrip && !f.isNull() && expression >= 1 && expression <= 5) {
        bitBlt(m_work, {f.x, f.y}, m_face, QRect(5 * f.w, 0, f.w, f.h), RasterOp::Erase);
        bitBlt(m_work, {f.x, f.y}, m_face, QRect((expression - 1) * f.w, 0, f.w, f.h),
               RasterOp::Invert);
    }
    bitBlt(m_visible, {0, 0}, m_work, whole, RasterOp::Copy);
}

void Stage::overlay(const QImage &picture)
{
    load(m_overlay, picture);
    const QRect whole(0, 0, kStageSize, kStageSize);
    bitBlt(m_work, {0, 0}, m_compositing, whole, RasterOp::Copy);
    bitBlt(m_work, {0, 0}, m_overlay, QRect(400, 0, 400, 400), RasterOp::Erase);
    bitBlt(m_work, {0, 0}, m_overlay, whole, RasterOp::Invert);
    bitBlt(m_visible, {0, 0}, m_work, whole, RasterOp::Copy);
}

} // namespace vm2::stage
