#include "historyview.h"

#include "fitlabel.h"
#include "layout.h"
#include "textfit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QtMath>

namespace vm2::app {

namespace {

// Room around and between entries, in pixels.
constexpr int kPad = 8;
constexpr int kGap = 6;
// The answer's box: indented like a reply, padded like a button.
constexpr int kAnswerIndent = 24;
constexpr int kBoxPad = 4;
// The place label's box at the layout's size (1935 × 375 twips).
const QSize kPlaceBox(twips(1935), twips(375));

QFont messageFont(qreal scale = 1.0)
{
    return gameFont(11.25 * scale, true);
}
QFont answerFont(qreal scale = 1.0)
{
    return gameFont(9.75 * scale, false);
}
QFont placeFont(qreal scale = 1.0)
{
    return gameFont(14.25 * scale, true);
}

// Draws a laid-out text line by line, so that bold stays bold on a scaled screen
// (TextFit::drawLine).
void drawLayout(QPainter &painter, const QTextLayout &layout, QPointF topLeft)
{
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const QString text = layout.text().mid(line.textStart(), line.textLength());
        const QPointF origin = topLeft + QPointF(line.x(), line.y() + line.ascent());
        TextFit::drawLine(painter, layout.font(), origin.toPoint(), text);
    }
}

QString shownText(const HistoryEntry &entry)
{
    QString text =
        entry.kind == HistoryEntry::Answer ? QStringLiteral("→ ") + entry.text : entry.text;
    // A message's own line breaks (the endings' closing words have them).
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(u'\r', QChar::LineSeparator).replace(u'\n', QChar::LineSeparator);
    return text;
}

// Lays `layout` out in lines of `width`; returns its height.
int wrap(QTextLayout &layout, int width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return qCeil(y);
}

} // namespace

HistoryList::HistoryList(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("historyList"));
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFocusPolicy(Qt::StrongFocus);
    setBackground(viewport(), Qt::white);
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
}

HistoryList::~HistoryList() = default;

void HistoryList::setEntries(const std::deque<HistoryEntry> &entries)
{
    m_items.clear();
    m_items.reserve(entries.size());
    for (const HistoryEntry &entry : entries) {
        const QFont font = entry.kind == HistoryEntry::Message  ? messageFont(m_scale)
                           : entry.kind == HistoryEntry::Answer ? answerFont(m_scale)
                                                                : placeFont(m_scale);
        auto layout = entry.kind == HistoryEntry::Place
                          ? nullptr
                          : std::make_unique<QTextLayout>(shownText(entry), font);
        m_items.push_back({entry, std::move(layout), {}});
    }
    relayout();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void HistoryList::setScale(qreal scale)
{
    if (qFuzzyCompare(scale, m_scale))
        return;
    m_scale = scale;
    std::deque<HistoryEntry> entries;
    for (const Item &item : m_items)
        entries.push_back(item.entry);
    const bool newest = atNewest();
    setEntries(entries);
    if (!newest)
        verticalScrollBar()->setValue(0);
}

int HistoryList::scaled(int pixels) const
{
    return qRound(pixels * m_scale);
}

void HistoryList::relayout()
{
    const int pad = scaled(kPad), gap = scaled(kGap);
    const int indent = scaled(kAnswerIndent), boxPad = scaled(kBoxPad);
    const QSize placeBox = (QSizeF(kPlaceBox) * m_scale).toSize();
    const int width = viewport()->width() - 2 * pad;
    int y = pad;
    for (Item &item : m_items) {
        QTextLayout *layout = item.layout.get();
        switch (item.entry.kind) {
        case HistoryEntry::Message: {
            const int h = wrap(*layout, width);
            item.rect = QRect(pad, y, width, h);
            break;
        }
        case HistoryEntry::Answer: {
            const int inner = width - indent - 2 * boxPad;
            const int h = wrap(*layout, inner) + 2 * boxPad;
            item.rect = QRect(pad + indent, y, width - indent, h);
            break;
        }
        case HistoryEntry::Place:
            item.rect = QRect(pad, y + gap, width, placeBox.height() + gap);
            break;
        }
        y = item.rect.bottom() + 1 + gap;
    }
    m_height = y + pad - gap;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, qMax(0, m_height - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(QFontMetrics(messageFont(m_scale)).lineSpacing());
}

QRect HistoryList::entryRect(int index) const
{
    return m_items[std::size_t(index)].rect;
}

QColor HistoryList::entryColour(int index) const
{
    const HistoryEntry &e = entry(index);
    return e.kind == HistoryEntry::Message ? windowsColour(e.colour) : QColor(Qt::black);
}

bool HistoryList::atNewest() const
{
    return verticalScrollBar()->value() == verticalScrollBar()->maximum();
}

int HistoryList::scrollPosition() const
{
    return verticalScrollBar()->value();
}

void HistoryList::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const int top = verticalScrollBar()->value();
    const QRect visible = event->rect().translated(0, top);
    painter.translate(0, -top);
    for (const Item &item : m_items) {
        if (item.rect.bottom() < visible.top())
            continue;
        if (item.rect.top() > visible.bottom())
            break;
        paintItem(painter, item);
    }
}

void HistoryList::paintItem(QPainter &painter, const Item &item) const
{
    const QRect r = item.rect;
    switch (item.entry.kind) {
    case HistoryEntry::Message:
        painter.setPen(windowsColour(item.entry.colour));
        drawLayout(painter, *item.layout, r.topLeft());
        break;
    case HistoryEntry::Answer:
        // The choice button that was pressed, sunken.
        painter.fillRect(r, palette().button());
        paintLineBox(painter, r, palette().color(QPalette::Dark));
        painter.setPen(palette().color(QPalette::ButtonText));
        drawLayout(painter, *item.layout, r.topLeft() + QPoint(scaled(kBoxPad), scaled(kBoxPad)));
        break;
    case HistoryEntry::Place: {
        // A rule across the list with the place's name on it, in a box like the
        // place label's, where the name is fitted as the label fits it.
        QRect box(QPoint(), (QSizeF(kPlaceBox) * m_scale).toSize());
        box.moveCenter(QPoint(r.center().x(), r.top() + (r.height() - scaled(kGap)) / 2));
        painter.setPen(Qt::black);
        painter.drawLine(r.left(), box.center().y(), r.right(), box.center().y());
        painter.fillRect(box, Qt::white);
        paintLineBox(painter, box, Qt::black);
        const QRect inside = box.adjusted(1, 1, -1, -1);
        const TextFit fit(placeFont(m_scale), Qt::AlignHCenter, false);
        TextFit::draw(painter, fit.fit(item.entry.text, inside.size(), devicePixelRatioF()),
                      inside.topLeft());
        break;
    }
    }
}

void HistoryList::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool newest = atNewest();
    relayout();
    if (newest)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void HistoryList::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *bar = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Escape:
        Q_EMIT closeRequested();
        break;
    case Qt::Key_Up:
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        break; // Space and every other key do nothing here
    }
    event->accept();
}

void HistoryList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        Q_EMIT closeRequested();
    event->accept();
}

void HistoryList::wheelEvent(QWheelEvent *event)
{
    const int turn = event->angleDelta().y() ? event->angleDelta().y() : event->pixelDelta().y();
    if (turn < 0 && atNewest())
        Q_EMIT closeRequested();
    else
        QAbstractScrollArea::wheelEvent(event);
    event->accept();
}

bool HistoryList::focusNextPrevChild(bool next)
{
    Q_UNUSED(next)
    return false;
}

HistoryView::HistoryView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("historyView"));
    setBackground(this, Qt::white);
    setContextMenuPolicy(Qt::PreventContextMenu);
    m_list = new HistoryList(this);
    // In the advance prompt's font and colour, fitted as the prompt is.
    m_hint = new FitLabel(QStringLiteral("Right Click or Esc to Return"), this);
    m_hint->setObjectName(QStringLiteral("historyHint"));
    m_hint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColour(m_hint, QColor(8, 99, 255));
    styleLabel(m_hint, gameFont(9, true));
    setFocusProxy(m_list);
    connect(m_list, &HistoryList::closeRequested, this, &HistoryView::closeRequested);
}

void HistoryView::setEntries(const std::deque<HistoryEntry> &entries)
{
    m_list->setEntries(entries);
}

void HistoryView::setScale(qreal scale)
{
    m_scale = scale;
    m_list->setScale(scale);
    styleLabel(m_hint, gameFont(9 * scale, true));
    resizeEvent(nullptr);
}

int HistoryView::borderInset() const
{
    // The border in whole device pixels (paintLineBox), and the list and the hint
    // wholly inside it, so that no child paints over a part of it.
    const qreal ratio = devicePixelRatioF();
    return qCeil(qMax(1, qRound(m_scale * ratio)) / ratio);
}

void HistoryView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        Q_EMIT closeRequested();
    event->accept();
}

void HistoryView::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The message panel's thin single-line border.
    QPainter painter(this);
    paintLineBox(painter, rect(), Qt::black, m_scale);
}

void HistoryView::resizeEvent(QResizeEvent *event)
{
    if (event)
        QWidget::resizeEvent(event);
    // The list inside a one-pixel border; the hint where the advance prompt stands.
    const int inset = borderInset();
    const int hintHeight = qRound((twips(180) + 4) * m_scale);
    m_list->setGeometry(inset, inset, width() - 2 * inset, height() - 2 * inset - hintHeight);
    m_hint->setGeometry(inset, height() - inset - hintHeight,
                        width() - 2 * inset - qRound(kPad * m_scale), hintHeight);
    update();
}

} // namespace vm2::app
