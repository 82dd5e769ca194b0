#include "modeindicator.h"

#include "fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

namespace vm2::app {

ModeIndicator::ModeIndicator(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("modeIndicator"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void ModeIndicator::setAuto(bool on)
{
    m_auto = on;
    refresh();
}

void ModeIndicator::setSkip(bool on)
{
    m_skip = on;
    refresh();
}

QString ModeIndicator::text() const
{
    QStringList parts;
    if (m_auto)
        parts << QStringLiteral("AUTO");
    if (m_skip)
        parts << QStringLiteral("SKIP");
    return parts.join(QStringLiteral(" "));
}

void ModeIndicator::setArea(const QRect &area, qreal factor)
{
    m_area = area;
    m_factor = factor;
    refresh();
}

void ModeIndicator::refresh()
{
    if (text().isEmpty() || m_area.isEmpty()) {
        hide();
        return;
    }
    setFont(gameFont(9 * m_factor, true));
    const QFontMetrics metrics(font());
    const int pad = qMax(3, qRound(4 * m_factor));
    const QSize size(metrics.horizontalAdvance(text()) + 2 * pad, metrics.height() + pad);
    setGeometry(QRect(QPoint(m_area.right() + 1 - pad - size.width(), m_area.top() + pad), size));
    show();
    raise();
    update();
}

void ModeIndicator::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 150));
    painter.drawRoundedRect(rect(), height() / 3.0, height() / 3.0);
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace vm2::app
