#pragma once

#include "fonts.h"

#include <QFont>
#include <QList>
#include <QMargins>
#include <QRect>
#include <QWidget>
#include <Qt>
#include <cstdint>

class QLabel;
class QPainter;
class QWidget;

// The windows are laid out in twips, as their layout tables give them: 15 twips
// make one pixel at 96 dots per inch. Qt's high-DPI scaling enlarges the pixels on
// denser screens, so the conversion itself is fixed.
namespace vm2::app {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest pixel.
constexpr int twips(int value)
{
    return (value + (value >= 0 ? kTwipsPerPixel / 2 : -kTwipsPerPixel / 2)) / kTwipsPerPixel;
}
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// A label as the layout tables draw it: plain text in `font`, one line centred on
// the label's height, or wrapped lines from its top. How a text that the label
// cannot hold at that size is drawn is the fitting rule of textfit.h.
void styleLabel(QLabel *label, const QFont &font);

// A Windows colour value 0x00BBGGRR, as the game gives its text colours.
QColor windowsColour(std::uint32_t value);
// The text colour of a widget (a label or a button).
void setTextColour(QWidget *widget, const QColor &colour);
// A filled background for a widget that the tables give a colour.
void setBackground(QWidget *widget, const QColor &colour);
// The window system's button face, the tables' default background.
void useButtonFace(QWidget *widget);

// Window flags of the title screen, the name entry and the About box: a fixed
// dialog frame with no title bar, no close box and no taskbar entry.
Qt::WindowFlags captionlessDialogFlags();
// The width of the dialog frame that those windows draw themselves, per side.
inline constexpr int kDialogFrame = 3;
// A client area of `clientSize` pixels inside a dialog frame: sizes `window` to
// fit both and returns the widget on which the controls stand.
QWidget *makeFramedClient(QWidget *window, QSize clientSize);
// Draws the raised dialog frame around the window's client area.
void paintDialogFrame(QWidget *window);
// A 3D border of two rings on the inside of `rect`, raised or sunken, each ring
// `ring` pixels wide. The rings are drawn in whole device pixels, the same number
// on every side, so that a border stays even at a fractional screen scale.
void paintBevel(QPainter &painter, const QRect &rect, const QPalette &palette, bool sunken,
                qreal ring = 1);
// A single-line border of `width` pixels on the inside of `rect`, in whole device
// pixels as paintBevel() draws its rings.
void paintLineBox(QPainter &painter, const QRect &rect, const QColor &colour, qreal width = 1);

// The group box of the About box: a thin etched border on the edges of its
// rectangle and its background colour inside.
class GroupFrame : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Where a top-level window whose frame is `frame` large goes on a screen whose
// available area is `available`: centred; moved in where the centred place would
// cut it; on an area smaller than the window, its top-left corner (and so its title
// bar) at the area's top-left corner, on each side where the area is too small.
QPoint placeOnScreen(QSize frame, const QRect &available);
// The frame the window system puts around a top-level window: its own once the
// window is framed; until then, on X11, a title bar of the style's height and thin
// borders, so that what is placed before the frame is known keeps room for it.
QMargins expectedFrame(const QWidget *window);
// Places a top-level window so on the screen it shows on, now and again once its
// frame (title bar) is known.
void centreOnScreen(QWidget *window);

// Chains the focus order through `widgets`, first to last.
void chainTabOrder(const QList<QWidget *> &widgets);

} // namespace vm2::app
