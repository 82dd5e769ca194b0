#include "stageview.h"

#include <QPainter>

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
    QFrame::paintEvent(event);
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), m_image);
}

} // namespace vm2::app
