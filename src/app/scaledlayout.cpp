#include "scaledlayout.h"

#include <QEvent>
#include <QFrame>
#include <QWidget>
#include <QtMath>

namespace vm2::app {

ScaledLayout::ScaledLayout(QWidget *window, QSize base)
    : QObject(window), m_window(window), m_base(base)
{
    window->installEventFilter(this);
}

void ScaledLayout::captureChildren()
{
    for (QObject *child : m_window->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow())
            add(widget);
    }
}

void ScaledLayout::add(QWidget *widget)
{
    Place place{widget, widget->geometry(), widget->font(), -1};
    if (auto *frame = qobject_cast<QFrame *>(widget); frame && frame->frameShape() == QFrame::Box)
        place.lineWidth = frame->lineWidth();
    m_places << place;
}

qreal ScaledLayout::factorFor(QSize size) const
{
    return qMin(qreal(size.width()) / m_base.width(), qreal(size.height()) / m_base.height());
}

QRect ScaledLayout::map(const QRect &base) const
{
    // Both edges rounded on their own, so that controls that meet at factor 1 meet
    // at every factor.
    const int left = qRound(m_origin.x() + base.left() * m_factor);
    const int top = qRound(m_origin.y() + base.top() * m_factor);
    const int right = qRound(m_origin.x() + (base.left() + base.width()) * m_factor);
    const int bottom = qRound(m_origin.y() + (base.top() + base.height()) * m_factor);
    return QRect(left, top, right - left, bottom - top);
}

void ScaledLayout::apply()
{
    const QSize size = m_window->size();
    m_factor = factorFor(size);
    if (m_factor <= 0)
        return;
    m_origin = QPointF((size.width() - m_base.width() * m_factor) / 2,
                       (size.height() - m_base.height() * m_factor) / 2);
    for (const Place &place : std::as_const(m_places)) {
        if (!place.widget)
            continue;
        QFont font = place.font;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * m_factor);
        place.widget->setFont(font);
        if (place.lineWidth > 0)
            static_cast<QFrame *>(place.widget.data())
                ->setLineWidth(qMax(1, qRound(place.lineWidth * m_factor)));
        place.widget->setGeometry(map(place.rect));
    }
    Q_EMIT scaled(m_factor);
}

bool ScaledLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace vm2::app
