#include "textfit.h"

#include <QCache>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>
#include <QtMath>

namespace vm2::app {

namespace {

constexpr qreal kStep = 0.25; // points
constexpr qreal kLowestFloor = 7.5;

int logicalDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

} // namespace

TextFit::TextFit(const QFont &font, Qt::Alignment alignment, bool wrap)
    : m_font(font), m_alignment(alignment & Qt::AlignHorizontal_Mask), m_wrap(wrap)
{}

qreal TextFit::floorSize(qreal pointSize)
{
    return qMin(pointSize, qMax(kLowestFloor, pointSize * 3 / 5));
}

QRect TextFit::ink(const QFont &font, const QString &line, qreal pixelRatio)
{
    if (line.trimmed().isEmpty())
        return QRect();
    static QCache<QString, QRect> cache(8192);
    const QString key =
        font.key() + QLatin1Char('\n') + QString::number(pixelRatio) + QLatin1Char('\n') + line;
    if (const QRect *known = cache.object(key))
        return *known;

    // The line is drawn on a transparent image with room on every side, as the
    // window draws it, and the pixels it touched are its ink.
    const int dpi = logicalDpi();
    const QFontMetricsF metrics(font);
    const int pad = qCeil(metrics.height()) + 4;
    const QSize size(qCeil(metrics.horizontalAdvance(line)) + 2 * pad,
                     qCeil(metrics.height()) + 2 * pad);
    QImage image(QSize(qCeil(size.width() * pixelRatio), qCeil(size.height() * pixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    const QPoint origin(pad, pad + qCeil(metrics.ascent()));
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        drawLine(painter, font, origin, line);
    }
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            left = qMin(left, x);
            right = qMax(right, x);
            top = qMin(top, y);
            bottom = qMax(bottom, y);
        }
    }
    QRect result;
    if (right >= 0) {
        // Device pixels to pixels, rounded outwards.
        result =
            QRect(QPoint(qFloor(left / pixelRatio), qFloor(top / pixelRatio)),
                  QPoint(qCeil((right + 1) / pixelRatio) - 1, qCeil((bottom + 1) / pixelRatio) - 1))
                .translated(-origin);
    }
    cache.insert(key, new QRect(result));
    return result;
}

QSize TextFit::textSize(const QFont &font, const QString &text, qreal pixelRatio)
{
    const QFontMetricsF metrics(font);
    const QRect lineBox =
        QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height())
            .toAlignedRect();
    return lineBox.united(ink(font, text, pixelRatio)).size();
}

QStringList TextFit::wrapLines(const QFont &font, const QString &text, int width) const
{
    QStringList lines;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            lines << QString();
    }
    return lines;
}

FittedText TextFit::place(const QFont &font, const QStringList &lines, QSize box, qreal ratio) const
{
    const QFontMetricsF metrics(font);
    FittedText fitted;
    fitted.font = font;
    fitted.lines = lines;
    // One line is centred on the box's height; wrapped lines start at the top.
    const qreal top = m_wrap ? 0 : (box.height() - metrics.height() * qreal(lines.size())) / 2;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qreal advance = metrics.horizontalAdvance(lines[i]);
        qreal x = 0;
        if (m_alignment & Qt::AlignHCenter)
            x = (box.width() - advance) / 2;
        else if (m_alignment & Qt::AlignRight)
            x = box.width() - advance;
        QPoint origin(qRound(x), qRound(top + metrics.ascent() + metrics.lineSpacing() * qreal(i)));
        QRect lineInk = ink(font, lines[i], ratio);
        if (!lineInk.isNull()) {
            // Moved sideways just enough to keep the ink in.
            lineInk.translate(origin);
            int dx = 0;
            if (lineInk.left() < 0)
                dx = -lineInk.left();
            else if (lineInk.right() >= box.width())
                dx = qMax(-lineInk.left(), box.width() - 1 - lineInk.right());
            origin.rx() += dx;
            fitted.ink |= lineInk.translated(dx, 0);
        }
        fitted.origins << origin;
    }
    // Moved up or down just enough to keep the ink in.
    int dy = 0;
    if (!fitted.ink.isNull()) {
        if (fitted.ink.top() < 0)
            dy = -fitted.ink.top();
        else if (fitted.ink.bottom() >= box.height())
            dy = qMax(-fitted.ink.top(), box.height() - 1 - fitted.ink.bottom());
    }
    for (QPoint &origin : fitted.origins)
        origin.ry() += dy;
    fitted.ink.translate(0, dy);
    fitted.fits = fitted.ink.isNull() || QRect(QPoint(), box).contains(fitted.ink);
    return fitted;
}

qsizetype TextFit::visibleLimit(QSize box) const
{
    QFont smallest = m_font;
    if (m_font.pointSizeF() > 0)
        smallest.setPointSizeF(floorSize(m_font.pointSizeF()));
    const qreal spacing = qMax<qreal>(1, QFontMetricsF(smallest).lineSpacing());
    const qsizetype lines = m_wrap ? qsizetype(qMax(0, box.height()) / spacing) + 1 : 1;
    // A character that shows takes a pixel of a line at least; a line break takes a
    // line.
    return (qsizetype(qMax(0, box.width())) + 1) * lines + 1;
}

FittedText TextFit::fit(const QString &text, QSize box, qreal pixelRatio) const
{
    const qreal size = m_font.pointSizeF();
    const qreal lowest = size > 0 ? floorSize(size) : size;
    QFont font = m_font;
    // Measuring costs time in the length of the text (a megabyte would hold the
    // window for minutes), and nothing past what the box can ever show is drawn: a
    // longer text is cut first, and can only be drawn smallest, elided.
    if (const qsizetype limit = visibleLimit(box); text.size() > limit) {
        QString shown = text.left(limit);
        if (shown.back().isHighSurrogate())
            shown.chop(1);
        if (size > 0)
            font.setPointSizeF(lowest);
        return elide(font, shown, box, pixelRatio);
    }
    for (qreal points = size;; points -= kStep) {
        if (size > 0)
            font.setPointSizeF(qMax(points, lowest));
        const QStringList lines = m_wrap ? wrapLines(font, text, box.width()) : QStringList{text};
        FittedText fitted = place(font, lines, box, pixelRatio);
        if (fitted.fits || size <= 0)
            return fitted;
        if (points <= lowest)
            break;
    }
    return elide(font, text, box, pixelRatio);
}

FittedText TextFit::elide(const QFont &font, const QString &text, QSize box, qreal ratio) const
{
    const QFontMetricsF metrics(font);
    QStringList kept = m_wrap ? wrapLines(font, text, box.width()) : QStringList{text};
    // Lines past the foot of the box are never kept: start from as many as its
    // height holds.
    const qsizetype most = qsizetype(box.height() / qMax<qreal>(1, metrics.lineSpacing())) + 2;
    if (kept.size() > most)
        kept.erase(kept.begin() + most, kept.end());
    // Whole lines while they fit the height, then the rest of the text in the
    // last one, cut at its end (no more of it than one line could ever show).
    while (!kept.isEmpty()) {
        const QString rest = kept.takeLast();
        const qsizetype start = kept.join(QString()).size();
        const QString remainder =
            m_wrap ? QString(text).remove(QLatin1Char('\n')).mid(start, box.width() + 2) : rest;
        for (int width = box.width(); width > 0; --width) {
            const QString cut = metrics.elidedText(remainder, Qt::ElideRight, width);
            FittedText fitted = place(font, kept + QStringList{cut}, box, ratio);
            if (fitted.fits) {
                fitted.elided = true;
                return fitted;
            }
            if (fitted.ink.height() > box.height())
                break; // too many lines: one fewer
        }
    }
    // Not even one line fits the box's height: the whole text, centred.
    return place(font, m_wrap ? wrapLines(font, text, box.width()) : QStringList{text}, box, ratio);
}

void TextFit::draw(QPainter &painter, const FittedText &fitted, QPoint topLeft)
{
    painter.setFont(fitted.font);
    for (qsizetype i = 0; i < fitted.lines.size(); ++i)
        drawLine(painter, fitted.font, topLeft + fitted.origins[i], fitted.lines[i]);
}

bool TextFit::emboldened(const QFont &font)
{
    if (!font.bold())
        return false;
    static QHash<QString, bool> known;
    const QString family = QFontInfo(font).family();
    auto it = known.find(family);
    if (it == known.end()) {
        bool boldFace = false;
        for (const QString &style : QFontDatabase::styles(family))
            boldFace = boldFace || QFontDatabase::weight(family, style) >= QFont::DemiBold;
        it = known.insert(family, !boldFace);
    }
    return *it;
}

void TextFit::drawLine(QPainter &painter, const QFont &font, QPoint origin, const QString &line)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (!emboldened(font) || qFuzzyCompare(ratio, 1.0) || font.pointSizeF() <= 0) {
        painter.setFont(font);
        painter.drawText(origin, line);
        return;
    }
    // Qt scales a glyph drawn at a device pixel ratio from the glyph of the font's own
    // pixel size, and emboldens a face without a bold face of its own (IPAPGothic) by
    // that smaller size: at 2x such bold looks regular. Drawn in device pixels at the
    // device's size, the glyph is emboldened in proportion, as at 1x.
    QFont native = font;
    native.setPointSizeF(font.pointSizeF() * ratio);
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    painter.setFont(native);
    painter.drawText(QPointF(origin) * ratio, line);
    painter.restore();
}

} // namespace vm2::app
