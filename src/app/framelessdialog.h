#pragma once

#include <QDialog>

namespace vm2::app {

// The frame of the title screen, the name entry and the About box: a fixed dialog
// without a title bar, which draws its own thin frame and is centred when shown.
// `Escape` says whether the Escape key may close it (only where a cancel button is).
class FramelessDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Escape { Ignored, Closes };
    explicit FramelessDialog(Escape escape, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    Escape m_escape;
};

} // namespace vm2::app
