#include "stage.h"

#include <utility>

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

// Puts `picture` at the top left of `target`; what the picture does not cover turns
// white.
void load(QImage &target, const QImage &picture)
{
    if (!picture.rect().contains(target.rect()))
        target.fill(0xFFFFFFFFu);
    bitBlt(target, {0, 0}, picture, picture.rect(), RasterOp::Copy);
}

// What the stage reads of a surface that holds a picture of `role`.
QRect readOf(PictureRole role)
{
    return QRect(QPoint(0, 0), pictureLayout(role).size);
}

} // namespace

HeldSurface::HeldSurface(int w, int h) : m_buffer(surface(w, h)), m_image(m_buffer) {}

void HeldSurface::hold(const QImage &picture, const QRect &read)
{
    m_image = QImage(); // the buffer is shared no more, and is written in place
    if (picture.format() == QImage::Format_RGB32 && picture.rect().contains(read)) {
        m_image = picture;
        return;
    }
    load(m_buffer, picture);
    m_image = m_buffer;
}

void HeldSurface::clear()
{
    m_image = QImage();
    m_buffer.fill(0xFFFFFFFFu);
    m_image = m_buffer;
}

Stage::Stage()
    : m_visible(surface(kStageSize, kStageSize, kStageEmpty)),
      m_compositing(kStageSize, kStageSize), m_overlay(2 * kStageSize, kStageSize),
      m_work(surface(kStageSize, kStageSize)), m_face(surface(140, 120))
{}

void Stage::reset()
{
    ownVisible();
    m_visible.fill(kStageEmpty);
    m_compositing.clear();
    m_overlay.clear();
    m_work.fill(0xFFFFFFFFu);
    m_face.fill(0xFFFFFFFFu);
}

// The stage shows a background of its size as the picture itself; its own buffer
// waits in m_spare meanwhile.
void Stage::ownVisible()
{
    if (!m_spare.isNull())
        m_visible = std::exchange(m_spare, QImage());
}

void Stage::loadBackground(const QImage &picture)
{
    const QRect read = readOf(PictureRole::Background);
    m_compositing.hold(picture, read);
    // (The stage is shown as it is: only a picture of exactly its size will do.)
    if (picture.format() == QImage::Format_RGB32 && picture.size() == read.size()) {
        if (m_spare.isNull())
            m_spare = std::exchange(m_visible, picture);
        else
            m_visible = picture;
        return;
    }
    ownVisible();
    load(m_visible, picture);
}

// The composition becomes the stage; the old stage's buffer is the next work buffer,
// which each composition first overwrites whole.
void Stage::showWork()
{
    std::swap(m_visible, m_work);
    if (!m_spare.isNull())
        m_work = std::exchange(m_spare, QImage());
}

void Stage::loadStageOnly(const QImage &picture)
{
    loadBackground(picture);
}

void Stage::drawCharacter(const QString &code, int expression, const QImage &body,
                          const QImage *faceStrip)
{
    m_overlay.hold(body, readOf(PictureRole::Character));
    if (faceStrip)
        m_face = faceStrip->convertToFormat(QImage::Format_RGB32);

    const QRect whole(0, 0, kStageSize, kStageSize);
    bitBlt(m_work, {0, 0}, m_compositing.image(), whole, RasterOp::Copy);
    const PictureLayout figure = pictureLayout(PictureRole::Character);
    placeMasked(m_work, figure.at, m_overlay.image(), figure.mask, figure.cells[0]);

    const PictureLayout face = pictureLayout(PictureRole::Face, code);
    const auto cells = static_cast<int>(face.cells.size());
    if (faceStrip && expression >= 1 && expression <= cells) {
        placeMasked(m_work, face.at, m_face, face.mask,
                    face.cells[static_cast<std::size_t>(expression - 1)]);
    }
    showWork();
}

void Stage::overlay(const QImage &picture)
{
    m_overlay.hold(picture, readOf(PictureRole::EventPicture));
    const QRect whole(0, 0, kStageSize, kStageSize);
    bitBlt(m_work, {0, 0}, m_compositing.image(), whole, RasterOp::Copy);
    const PictureLayout event = pictureLayout(PictureRole::EventPicture);
    placeMasked(m_work, event.at, m_overlay.image(), event.mask, event.cells[0]);
    showWork();
}

} // namespace vm2::stage
