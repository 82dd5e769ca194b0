#pragma once

#include <QFont>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>

class QWidget;

namespace vm2::app {

// The main screen at any window size: every control keeps its place of the layout
// table, scaled by one factor for the whole window (the aspect kept, the margin left
// to the window's background), and its text grows by point size. At the table's
// own size every control keeps its rectangle exactly.
class ScaledLayout : public QObject
{
    Q_OBJECT
public:
    // `base`: the client area the layout table was drawn for.
    ScaledLayout(QWidget *window, QSize base);

    // Takes the current geometry and font of every child of the window as its place
    // at factor 1. Controls made later join with add().
    void captureChildren();
    void add(QWidget *widget);

    QSize base() const { return m_base; }
    qreal factor() const { return m_factor; }
    // A rectangle of the layout table (pixels at factor 1) in the window now.
    QRect map(const QRect &base) const;
    // The factor at which a client area of `size` shows the layout.
    qreal factorFor(QSize size) const;
    // Lays the controls out for the window's size now.
    void apply();

Q_SIGNALS:
    // The controls have been laid out at `factor`.
    void scaled(qreal factor);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Place {
        QPointer<QWidget> widget;
        QRect rect;
        QFont font;
        int lineWidth = -1; // a frame's line width at factor 1, -1 where none
    };

    QWidget *m_window;
    QSize m_base;
    qreal m_factor = 1.0;
    QPointF m_origin;
    QList<Place> m_places;
};

} // namespace vm2::app
