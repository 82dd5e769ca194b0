#include "stageview.h"

#include "layout.h"

#include <QPainter>
#include <QtMath>

namespace vm2::app {

StageView::StageView(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    // The stage takes the focus while the game waits; it must never hand key
    // presses to an input method, so that Space always reaches the screen.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void StageView::setImage(const QImage &image)
{
    m_image = image;
    update(contentsRect());
}

void StageView::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    paintBevel(painter, rect(), palette(), true);
    if (m_image.isNull())
        return;
    // On a scaled screen the 400 × 400 picture is enlarged: pixel for pixel at a
    // whole scale, so that it stays sharp, and smoothed between pixels otherwise.
    const qreal scale = devicePixelRatioF();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !qFuzzyCompare(scale, qRound(scale)));
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), m_image);
}

} // namespace vm2::app
