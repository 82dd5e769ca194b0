#include "fitlabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vm2::app {

FitLabel::FitLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

FitLabel::FitLabel(const QString &text, QWidget *parent) : FitLabel(parent)
{
    setText(text);
}

QSize FitLabel::textBox() const
{
    return contentsRect().size();
}

FittedText FitLabel::fitted() const
{
    const TextFit rule(font(), alignment(), wordWrap());
    return rule.fit(text(), textBox(), devicePixelRatioF());
}

void FitLabel::paintText(QPainter &painter) const
{
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    TextFit::draw(painter, fitted(), contentsRect().topLeft());
}

void FitLabel::fitSizeToText(int rightLimit)
{
    const QMargins frame = contentsMargins();
    QSize size = TextFit::textSize(font(), text(), devicePixelRatioF()).grownBy(frame);
    if (rightLimit > x())
        size.setWidth(qMin(size.width(), rightLimit - x()));
    resize(size);
}

void FitLabel::setCoveredBy(const QList<QWidget *> &widgets)
{
    for (QWidget *widget : widgets) {
        m_coveredBy << widget;
        widget->installEventFilter(this);
    }
    update();
}

int FitLabel::coveredFrom() const
{
    int top = height();
    for (const QPointer<QWidget> &widget : m_coveredBy) {
        if (widget && widget->isVisibleTo(parentWidget()))
            top = qMin(top, widget->mapTo(parentWidget(), QPoint()).y() - y());
    }
    return top;
}

bool FitLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide ||
        event->type() == QEvent::Move)
        update();
    return QLabel::eventFilter(watched, event);
}

void FitLabel::paintEvent(QPaintEvent *event)
{
    if (textFormat() != Qt::PlainText || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setClipRect(QRect(0, 0, width(), qMax(0, coveredFrom())).intersected(contentsRect()));
    paintText(painter);
}

FitButton::FitButton(const QString &text, QWidget *parent) : QPushButton(text, parent) {}

QRect FitButton::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

FittedText FitButton::fitted() const
{
    const TextFit rule(font(), Qt::AlignHCenter, false);
    return rule.fit(shownCaption(text()), captionRect().size(), devicePixelRatioF());
}

void FitButton::paintText(QPainter &painter) const
{
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    TextFit::draw(painter, fitted(), captionRect().topLeft());
}

void FitButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    painter.save();
    painter.setClipRect(rect());
    paintText(painter);
    painter.restore();
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

QString shownCaption(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

} // namespace vm2::app
