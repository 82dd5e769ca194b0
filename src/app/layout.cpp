#include "layout.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <qdrawutil.h>

namespace vm2::app {

QString gameFontFamily()
{
    static const QString family = [] {
        const QString preferred = QStringLiteral("ＭＳ Ｐゴシック");
        if (QFontDatabase::families().contains(preferred))
            return preferred;
        return QStringLiteral("Noto Sans CJK JP");
    }();
    return family;
}

QFont gameFont(qreal pointSize, bool bold, bool underline)
{
    QFont font(gameFontFamily());
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(underline);
    return font;
}

void styleLabel(QLabel *label, const QFont &font)
{
    label->setTextFormat(Qt::PlainText);
    // One line is centred on the label's height: where the face's line is taller
    // than the label, the unused room above and below the glyphs is what is cut.
    const Qt::Alignment vertical = label->wordWrap() ? Qt::AlignTop : Qt::AlignVCenter;
    label->setAlignment((label->alignment() & ~Qt::AlignVertical_Mask) | vertical);
    QFont fitted = font;
    if (!label->wordWrap()) {
        // A face with wider letters than the layout's is condensed to the label's
        // width, so that neighbouring labels never overlap.
        const int room = label->width() - 2 * label->frameWidth();
        for (int stretch = 100; stretch > 50; stretch -= 2) {
            fitted.setStretch(stretch);
            if (QFontMetrics(fitted).horizontalAdvance(label->text()) <= room)
                break;
        }
        if (fitted.stretch() == 100)
            fitted = font;
    }
    label->setFont(fitted);
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
    qDrawWinPanel(&painter, window->rect(), window->palette(), false);
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame(QPoint(), window->frameGeometry().size());
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void chainTabOrder(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

} // namespace vm2::app
