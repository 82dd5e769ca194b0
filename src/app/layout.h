#pragma once

#include <QFont>
#include <QList>
#include <QRect>
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

// The face of every text: "ＭＳ Ｐゴシック" where the system has it, otherwise a
// proportional Japanese sans-serif face at the same point sizes.
QString gameFontFamily();
QFont gameFont(qreal pointSize, bool bold, bool underline = false);

// A label as the layout tables draw it: plain text in `font`, at the table's size.
// The tables' sizes are those of a face whose line is one em high and whose kana
// are narrow: with a taller line, one line is centred on the label, so that only
// the room above and below the glyphs is cut; a text wider than the label (set
// before) is condensed until it fits.
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

// Centres a top-level window on the screen it will show on.
void centreOnScreen(QWidget *window);

// Chains the focus order through `widgets`, first to last.
void chainTabOrder(const QList<QWidget *> &widgets);

} // namespace vm2::app
