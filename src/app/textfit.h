#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QStringList>

class QPainter;

// How a text is placed in a box that the layout made for it: the rule that keeps
// every text whole and readable whatever the face's metrics.
//
// A text is drawn at its font's size where it fits. It fits when the ink of its
// glyphs (measured by drawing them, so synthetic bold and underlines count) lies
// inside the box: one line centred on the box's height as the layout places it,
// moved up or down just enough to keep its ink in; wrapped text from the top. A
// text that does not fit is drawn in a smaller size of the same font, a quarter
// point at a time, down to a floor of three fifths of its size (never below 7.5
// points: the longest place label, コンサートホール裏手, then fits its box in every
// face); a text that still does not fit is cut at its end with "…" (one longer
// than the box could ever show is cut before it is measured). The rule is
// applied whenever the text is drawn, so it holds at every change of text.
namespace vm2::app {

struct FittedText {
    QFont font;            // the size the text is drawn in
    QStringList lines;     // the lines drawn; the last one elided where cut
    QList<QPoint> origins; // the left end of each line's baseline, in box coordinates
    QRect ink;             // the ink of all lines, in box coordinates
    bool fits = false;     // the ink lies inside the box
    bool elided = false;   // the end of the text is cut
};

class TextFit
{
public:
    // `alignment`: the horizontal alignment of the lines; `wrap`: the text wraps at
    // the box's width, top-aligned, instead of being one line centred on the height.
    TextFit(const QFont &font, Qt::Alignment alignment, bool wrap);

    // Places `text` in a box of `box` pixels on a device of `pixelRatio` device
    // pixels per pixel.
    FittedText fit(const QString &text, QSize box, qreal pixelRatio) const;

    // The most characters that a box of `box` pixels can ever show of a text; fit()
    // cuts a longer text there before it measures anything.
    qsizetype visibleLimit(QSize box) const;

    // The smallest size a text of `pointSize` is drawn in.
    static qreal floorSize(qreal pointSize);
    // The ink of one line drawn with its baseline's left end at (0, 0).
    static QRect ink(const QFont &font, const QString &line, qreal pixelRatio);
    // The size a text takes in `font`: its line box (advance by line height)
    // together with its ink. An auto-size label is this size.
    static QSize textSize(const QFont &font, const QString &text, qreal pixelRatio);
    // Draws `fitted` with the box's top-left corner at `topLeft`.
    static void draw(QPainter &painter, const FittedText &fitted, QPoint topLeft = QPoint());
    // Draws one line in `font` with its baseline's left end at `origin`: bold stays
    // as bold at every device pixel ratio as at 1x.
    static void drawLine(QPainter &painter, const QFont &font, QPoint origin, const QString &line);
    // Whether `font` is bold drawn from a face's regular outlines (the face has no
    // bold of its own).
    static bool emboldened(const QFont &font);

private:
    FittedText place(const QFont &font, const QStringList &lines, QSize box, qreal ratio) const;
    QStringList wrapLines(const QFont &font, const QString &text, int width) const;
    FittedText elide(const QFont &font, const QString &text, QSize box, qreal ratio) const;

    QFont m_font;
    Qt::Alignment m_alignment;
    bool m_wrap;
};

} // namespace vm2::app
