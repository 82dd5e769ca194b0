#include "noticeband.h"

#include "fonts.h"
#include "textfit.h"

#include <QPainter>
#include <QtMath>

namespace vm2::app {

namespace {

// The panel lets the stage show through a little, as a caption over a picture does.
const QColor kPanel(255, 255, 255, 226);
const QColor kEdge(96, 96, 96, 200);

} // namespace

NoticeBand::NoticeBand(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("noticeBand"));
    // Clicks go through to the stage and the controls under the band.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    m_noticeTimer.setSingleShot(true);
    m_noticeTimer.setInterval(kNoticeTime);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] {
        m_notice.clear();
        refresh();
    });
    hide();
}

void NoticeBand::messageShown(const QString &text, const QColor &colour)
{
    if (text.isEmpty())
        return;
    m_unread = text;
    m_unreadColour = colour;
    refresh();
}

void NoticeBand::messageRead()
{
    m_unread.clear();
    refresh();
}

void NoticeBand::placeButtonsShown(bool shown)
{
    m_buttonsShown = shown;
    refresh();
}

void NoticeBand::moved()
{
    m_unread.clear();
    m_buttonsShown = false;
    refresh();
}

void NoticeBand::showNotice(const QString &text)
{
    if (m_covered) {
        // The same notice twice (F12 pressed again) says nothing new.
        if (!m_waiting.contains(text))
            m_waiting << text;
        return;
    }
    m_notice = text;
    m_noticeTimer.start(kNoticeTime);
    refresh();
}

void NoticeBand::setCovered(bool covered)
{
    if (covered == m_covered)
        return;
    m_covered = covered;
    if (covered) {
        m_noticeLeft = m_noticeTimer.isActive() ? qMax(1, m_noticeTimer.remainingTime()) : 0;
        m_noticeTimer.stop();
    } else if (!m_waiting.isEmpty()) {
        m_notice = m_waiting.join(QLatin1Char('\n'));
        m_waiting.clear();
        m_noticeTimer.start(kNoticeTime);
    } else if (m_noticeLeft > 0) {
        m_noticeTimer.start(m_noticeLeft);
    }
    if (!covered)
        m_noticeLeft = 0;
    refresh();
}

int NoticeBand::noticeTimeLeft() const
{
    if (m_covered)
        return m_waiting.isEmpty() ? m_noticeLeft : kNoticeTime;
    return m_noticeTimer.isActive() ? qMax(0, m_noticeTimer.remainingTime()) : 0;
}

QString NoticeBand::text() const
{
    if (!m_waiting.isEmpty())
        return m_waiting.join(QLatin1Char('\n'));
    if (!m_notice.isEmpty())
        return m_notice;
    return m_buttonsShown ? m_unread : QString();
}

QColor NoticeBand::colour() const
{
    return m_notice.isEmpty() && m_waiting.isEmpty() ? m_unreadColour : QColor(Qt::black);
}

void NoticeBand::setArea(const QRect &area, qreal pointSize)
{
    m_area = area;
    m_pointSize = pointSize;
    refresh();
}

void NoticeBand::refresh()
{
    const QString shown = text();
    if (shown.isEmpty() || m_area.isEmpty() || m_covered) {
        hide();
        return;
    }
    // As high as the wrapped text needs, up to half the stage; the fitting rule
    // draws a longer text smaller, or cut at its end.
    const int pad = qMax(4, qRound(m_area.width() / 60.0));
    const TextFit rule(gameFont(m_pointSize, true), Qt::AlignLeft, true);
    const FittedText whole =
        rule.fit(shown, QSize(m_area.width() - 2 * pad, m_area.height() / 2), devicePixelRatioF());
    const QFontMetrics metrics(whole.font);
    const int textHeight = qMax(whole.ink.isNull() ? 0 : whole.ink.bottom() + 1,
                                metrics.height() * int(whole.lines.size()));
    const int height = qMin(m_area.height() / 2, textHeight + 2 * pad);
    setGeometry(m_area.left(), m_area.bottom() + 1 - height, m_area.width(), height);
    show();
    raise();
    update();
}

void NoticeBand::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), kPanel);
    painter.fillRect(QRect(0, 0, width(), qMax(1, qRound(width() / 400.0))), kEdge);
    const int pad = qMax(4, qRound(width() / 60.0));
    const TextFit rule(gameFont(m_pointSize, true), Qt::AlignLeft, true);
    const FittedText fitted =
        rule.fit(text(), QSize(width() - 2 * pad, height() - 2 * pad), devicePixelRatioF());
    painter.setPen(colour());
    TextFit::draw(painter, fitted, QPoint(pad, pad));
}

} // namespace vm2::app
