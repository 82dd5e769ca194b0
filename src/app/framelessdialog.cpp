#include "framelessdialog.h"

#include "layout.h"

#include <QKeyEvent>

namespace vm2::app {

FramelessDialog::FramelessDialog(Escape escape, QWidget *parent)
    : QDialog(parent, captionlessDialogFlags()), m_escape(escape)
{}

void FramelessDialog::keyPressEvent(QKeyEvent *event)
{
    if (m_escape == Escape::Ignored && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FramelessDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    paintDialogFrame(this);
}

void FramelessDialog::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace vm2::app
