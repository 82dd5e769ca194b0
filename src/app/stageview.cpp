#include "stageview.h"

#include "layout.h"

#include <QPainter>
#include <QtMath>

namespace vm2::app {

StageView::StageView(QWidget *parent) : QFrame(parent)
{
    // The border is drawn here, so that it grows with the layout's factor.
    setFrameStyle(QFrame::NoFrame);
    setContentsMargins(2, 2, 2, 2);
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

void StageView::setScale(qreal factor)
{
    m_scale = factor;
    const int border = qMax(1, qRound(2 * factor));
    setContentsMargins(border, border, border, border);
    update();
}

void StageView::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    paintBevel(painter, rect(), palette(), true, contentsMargins().left() / 2.0);
    if (m_image.isNull())
        return;
    // The 400 × 400 picture is enlarged to the drawing area: pixel for pixel at a
    // whole factor of device pixels, so that it stays sharp, and smoothed otherwise.
    const QRect area = contentsRect();
    const qreal scale = area.width() * devicePixelRatioF() / qreal(m_image.width());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !qFuzzyCompare(scale, qRound(scale)));
    painter.setClipRect(area);
    if (qFuzzyCompare(m_scale, 1.0))
        painter.drawImage(area.topLeft(), m_image);
    else
        painter.drawImage(QRectF(area.topLeft(), QSizeF(m_image.size()) * m_scale), m_image);
}

} // namespace vm2::app
