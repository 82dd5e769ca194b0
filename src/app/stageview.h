#pragma once

#include <QFrame>
#include <QImage>

namespace vm2::app {

// The visible stage: a picture box with a sunken two-pixel border around a drawing
// area of 400 × 400 pixels, showing the stage's picture at its top-left corner.
class StageView : public QFrame
{
    Q_OBJECT
public:
    explicit StageView(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

} // namespace vm2::app
