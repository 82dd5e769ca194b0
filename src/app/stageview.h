#pragma once

#include <QFrame>
#include <QImage>

namespace vm2::app {

// The visible stage: a picture box with a sunken two-pixel border around a drawing
// area of 400 × 400 pixels, showing the stage's picture at its top-left corner. On
// a scaled layout the border and the picture grow by the layout's factor.
class StageView : public QFrame
{
    Q_OBJECT
public:
    explicit StageView(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    // The layout's factor: the border is twice it, the picture fills the rest.
    void setScale(qreal factor);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    qreal m_scale = 1.0;
};

} // namespace vm2::app
