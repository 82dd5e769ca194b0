#include "historyview.h"

#include "fitlabel.h"
#include "layout.h"
#include "textfit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

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

QFont messageFont()
{
    return gameFont(11.25, true);
}
QFont answerFont()
{
    return gameFont(9.75, false);
}
QFont placeFont()
{
    return gameFont(14.25, true);
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
        const QFont font = entry.kind == HistoryEntry::Message  ? messageFont()
                           : entry.kind == HistoryEntry::Answer ? answerFont()
                                                                : placeFont();
        auto layout = entry.kind == HistoryEntry::Place
                          ? nullptr
                          : std::make_unique<QTextLayout>(shownText(entry), font);
        m_items.push_back({entry, std::move(layout), {}});
    }
    relayout();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void HistoryList::relayout()
{
    const int width = viewport()->width() - 2 * kPad;
    int y = kPad;
    for (Item &item : m_items) {
        QTextLayout *layout = item.layout.get();
        switch (item.entry.kind) {
        case HistoryEntry::Message: {
            const int h = wrap(*layout, width);
            item.rect = QRect(kPad, y, width, h);
            break;
        }
        case HistoryEntry::Answer: {
            const int inner = width - kAnswerIndent - 2 * kBoxPad;
            const int h = wrap(*layout, inner) + 2 * kBoxPad;
            item.rect = QRect(kPad + kAnswerIndent, y, width - kAnswerIndent, h);
            break;
        }
        case HistoryEntry::Place:
            item.rect = QRect(kPad, y + kGap, width, kPlaceBox.height() + kGap);
            break;
        }
        y = item.rect.bottom() + 1 + kGap;
    }
    m_height = y + kPad - kGap;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, qMax(0, m_height - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(QFontMetrics(messageFont()).lineSpacing());
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
        item.layout->draw(&painter, r.topLeft());
        break;
    case HistoryEntry::Answer:
        // The choice button that was pressed, sunken.
        painter.fillRect(r, palette().button());
        paintLineBox(painter, r, palette().color(QPalette::Dark));
        painter.setPen(palette().color(QPalette::ButtonText));
        item.layout->draw(&painter, r.topLeft() + QPoint(kBoxPad, kBoxPad));
        break;
    case HistoryEntry::Place: {
        // A rule across the list with the place's name on it, in a box like the
        // place label's, where the name is fitted as the label fits it.
        QRect box(QPoint(), kPlaceBox);
        box.moveCenter(QPoint(r.center().x(), r.top() + (r.height() - kGap) / 2));
        painter.setPen(Qt::black);
        painter.drawLine(r.left(), box.center().y(), r.right(), box.center().y());
        painter.fillRect(box, Qt::white);
        paintLineBox(painter, box, Qt::black);
        const QRect inside = box.adjusted(1, 1, -1, -1);
        const TextFit fit(placeFont(), Qt::AlignHCenter, false);
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
    paintLineBox(painter, rect(), Qt::black);
}

void HistoryView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The list inside a one-pixel border; the hint where the advance prompt stands.
    const int hintHeight = twips(180) + 4;
    m_list->setGeometry(1, 1, width() - 2, height() - 2 - hintHeight);
    m_hint->setGeometry(1, height() - 1 - hintHeight, width() - 2 - kPad, hintHeight);
    update();
}

} // namespace vm2::app
