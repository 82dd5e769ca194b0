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
    const PictureLayout figure = pictureLayout(PictureRole::Character);
    bitBlt(m_work, figure.at, m_overlay, figure.mask, RasterOp::Erase);
    bitBlt(m_work, figure.at, m_overlay, figure.cells[0], RasterOp::Invert);

    const PictureLayout face = pictureLayout(PictureRole::Face, code);
    const auto cells = static_cast<int>(face.cells.size());
    if (faceStrip && expression >= 1 && expression <= cells) {
        bitBlt(m_work, face.at, m_face, face.mask, RasterOp::Erase);
        bitBlt(m_work, face.at, m_face, face.cells[static_cast<std::size_t>(expression - 1)],
               RasterOp::Invert);
    }
    bitBlt(m_visible, {0, 0}, m_work, whole, RasterOp::Copy);
}

void Stage::overlay(const QImage &picture)
{
    load(m_overlay, picture);
    const QRect whole(0, 0, kStageSize, kStageSize);
    bitBlt(m_work, {0, 0}, m_compositing, whole, RasterOp::Copy);
    const PictureLayout event = pictureLayout(PictureRole::EventPicture);
    bitBlt(m_work, event.at, m_overlay, event.mask, RasterOp::Erase);
    bitBlt(m_work, event.at, m_overlay, event.cells[0], RasterOp::Invert);
    bitBlt(m_visible, {0, 0}, m_work, whole, RasterOp::Copy);
}

} // namespace vm2::stage
