#pragma once

#include <QWidget>

namespace vm2::app {

// A small tag in the stage's top-right corner while auto mode or read-skip is on
// ("AUTO", "SKIP"), so that the player knows why the text moves on by itself. The
// window draws it; it is no part of the stage's picture.
class ModeIndicator : public QWidget
{
    Q_OBJECT
public:
    explicit ModeIndicator(QWidget *parent = nullptr);

    void setAuto(bool on);
    void setSkip(bool on);
    // What the tag says now (empty when hidden).
    QString text() const;
    // The stage's drawing area in the parent's coordinates, and the layout's factor.
    void setArea(const QRect &area, qreal factor);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    bool m_auto = false;
    bool m_skip = false;
    QRect m_area;
    qreal m_factor = 1.0;
};

} // namespace vm2::app
