#include "layout.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

namespace vm2::app {

void styleLabel(QLabel *label, const QFont &font)
{
    label->setTextFormat(Qt::PlainText);
    const Qt::Alignment vertical = label->wordWrap() ? Qt::AlignTop : Qt::AlignVCenter;
    label->setAlignment((label->alignment() & ~Qt::AlignVertical_Mask) | vertical);
    label->setFont(font);
}

QColor windowsColour(std::uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

void useButtonFace(QWidget *widget)
{
    widget->setBackgroundRole(QPalette::Button);
    widget->setAutoFillBackground(true);
}

Qt::WindowFlags captionlessDialogFlags()
{
#ifdef Q_OS_MACOS
    // Tool windows hide whenever the application is inactive on macOS.
    return Qt::Dialog | Qt::FramelessWindowHint;
#else
    return Qt::Tool | Qt::FramelessWindowHint;
#endif
}

QWidget *makeFramedClient(QWidget *window, QSize clientSize)
{
    auto *client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    client->setGeometry(QRect(QPoint(kDialogFrame, kDialogFrame), clientSize));
    window->setFixedSize(clientSize + QSize(2 * kDialogFrame, 2 * kDialogFrame));
    return client;
}

void paintDialogFrame(QWidget *window)
{
    QPainter painter(window);
    paintBevel(painter, window->rect(), window->palette(), false);
}

namespace {

// The rectangle `r` in device pixels of the painter's device, and the painter set
// to draw in them; `ring`, a line width, in whole device pixels (at least one).
struct DevicePixels {
    DevicePixels(QPainter &painter, const QRect &r, qreal ring) : m_painter(painter)
    {
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        painter.save();
        painter.scale(1 / ratio, 1 / ratio);
        rect = QRect(QPoint(qRound(r.x() * ratio), qRound(r.y() * ratio)),
                     QPoint(qRound((r.x() + r.width()) * ratio) - 1,
                            qRound((r.y() + r.height()) * ratio) - 1));
        width = qMax(1, qRound(ring * ratio));
    }
    ~DevicePixels() { m_painter.restore(); }
    QRect rect;
    int width = 1;

private:
    QPainter &m_painter;
};

// One ring of `n` device pixels on the inside of `r`: top and left edges in one
// colour, bottom and right ones in another.
void paintRing(QPainter &painter, const QRect &r, int n, const QColor &topLeft,
               const QColor &bottomRight)
{
    const int x = r.x(), y = r.y(), w = r.width(), h = r.height();
    painter.fillRect(QRect(x, y + h - n, w, n), bottomRight);
    painter.fillRect(QRect(x + w - n, y, n, h), bottomRight);
    painter.fillRect(QRect(x, y, w - n, n), topLeft);
    painter.fillRect(QRect(x, y, n, h - n), topLeft);
}

} // namespace

void paintBevel(QPainter &painter, const QRect &r, const QPalette &palette, bool sunken, qreal ring)
{
    // Two rings: outer top-left, outer bottom-right, inner top-left, inner
    // bottom-right.
    const QColor outerTopLeft =
        sunken ? palette.color(QPalette::Dark) : palette.color(QPalette::Light);
    const QColor outerBottomRight =
        sunken ? palette.color(QPalette::Light) : palette.color(QPalette::Shadow);
    const QColor innerTopLeft =
        sunken ? palette.color(QPalette::Shadow) : palette.color(QPalette::Midlight);
    const QColor innerBottomRight =
        sunken ? palette.color(QPalette::Midlight) : palette.color(QPalette::Dark);
    const DevicePixels device(painter, r, ring);
    const int n = device.width;
    paintRing(painter, device.rect, n, outerTopLeft, outerBottomRight);
    paintRing(painter, device.rect.adjusted(n, n, -n, -n), n, innerTopLeft, innerBottomRight);
}

void paintLineBox(QPainter &painter, const QRect &r, const QColor &colour, qreal width)
{
    const DevicePixels device(painter, r, width);
    paintRing(painter, device.rect, device.width, colour, colour);
}

void GroupFrame::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    // An etched line: a shadow ring on the edges, a light ring one pixel inside it.
    QPainter painter(this);
    const int w = width(), h = height();
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.fillRect(QRect(1, 1, w - 1, 1), light);
    painter.fillRect(QRect(1, 1, 1, h - 1), light);
    painter.fillRect(QRect(1, h - 1, w - 1, 1), light);
    painter.fillRect(QRect(w - 1, 1, 1, h - 1), light);
    painter.fillRect(QRect(0, 0, w - 1, 1), dark);
    painter.fillRect(QRect(0, 0, 1, h - 1), dark);
    painter.fillRect(QRect(0, h - 2, w - 1, 1), dark);
    painter.fillRect(QRect(w - 2, 0, 1, h - 1), dark);
}

QMargins expectedFrame(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (frame != client)
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return QMargins();
    return QMargins(4, 4 + window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 4, 4);
}

QPoint placeOnScreen(QSize frame, const QRect &available)
{
    auto axis = [](int size, int start, int room) {
        if (size >= room)
            return start;
        return start + (room - size) / 2;
    };
    return QPoint(axis(frame.width(), available.x(), available.width()),
                  axis(frame.height(), available.y(), available.height()));
}

namespace {

void place(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        window->move(placeOnScreen(window->frameGeometry().size(), screen->availableGeometry()));
}

// Places the window again once it is shown, where the window system has put a
// frame (a title bar) around it: the frame counts in what must lie on screen.
class Replacer : public QObject
{
public:
    static constexpr const char *kName = "vm2-replacer";
    explicit Replacer(QWidget *window) : QObject(window), m_window(window)
    {
        setObjectName(QLatin1String(kName));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show) {
            QTimer::singleShot(0, m_window, [window = m_window] {
                if (window->frameGeometry().size() != window->size())
                    place(window);
            });
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

void centreOnScreen(QWidget *window)
{
    place(window);
    // Found by name: the class has no meta-object of its own, so a search by type would
    // take any child for it.
    if (!window->findChild<QObject *>(QLatin1String(Replacer::kName), Qt::FindDirectChildrenOnly)) {
        auto *replacer = new Replacer(window);
        window->installEventFilter(replacer);
    }
}

void chainTabOrder(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

} // namespace vm2::app
