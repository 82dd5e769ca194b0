#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

namespace vm2::content {

// Painting pieces that the backgrounds and the event pictures share.

QPen edge(const QColor &c, qreal w = 2);
// A filled rectangle with a darker edge (none when `pen` is 0).
void box(QPainter &p, const QRectF &r, const QColor &c, qreal pen = 2);
void cloud(QPainter &p, QPointF c, qreal s, const QColor &colour = QColor(255, 255, 255, 220));
// A window with panes, showing a sky from `sky1` (top) to `sky2`.
void window(QPainter &p, const QRectF &r, const QColor &sky1, const QColor &sky2,
            const QColor &frame, bool withCloud = true);
void floorBoards(QPainter &p, const QRectF &r, const QColor &c);
void sign(QPainter &p, const QRectF &r, const QColor &c, const QString &text, const QColor &ink);
void skyGradient(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom);
void stars(QPainter &p, const QRectF &r, int count, quint32 seed);
void tree(QPainter &p, QPointF foot, qreal size, const QColor &leaves);
void blossomTree(QPainter &p, QPointF foot, qreal size);
// Streaks of rain over the rectangle.
void rain(QPainter &p, const QRectF &r, int count, quint32 seed,
          const QColor &colour = QColor(200, 220, 255, 140));
// The comet: a bright head at `head` and a tail that fans out towards `tailEnd`.
void cometInSky(QPainter &p, QPointF head, QPointF tailEnd, qreal size);

// The leaves of the town's trees through the year.
enum class Season { Spring, Summer, Autumn };
QColor leavesOf(Season season);
// A tree as it looks in `season`: in blossom in spring.
void seasonTree(QPainter &p, QPointF foot, qreal size, Season season);

} // namespace vm2::content
