#pragma once

#include "fitlabel.h"

namespace vm2::app {

// A label or image that reports clicks: the advance prompt, the title picture and
// the About box's links. A click is a press and a release of the left button over
// the label.
class ClickLabel : public FitLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace vm2::app
