#pragma once

#include "textfit.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace vm2::app {

// A label that draws its text by the fitting rule of textfit.h, whenever it
// paints: a text set at any time stays whole and inside the label. Its font stays
// the layout's font; only the drawing may use a smaller size of it. Lines are
// centred when the label's alignment says so; a wrapping label wraps at its width.
// A label with a picture draws it as any label does.
class FitLabel : public QLabel
{
    Q_OBJECT
public:
    explicit FitLabel(QWidget *parent = nullptr);
    explicit FitLabel(const QString &text, QWidget *parent = nullptr);

    // How the current text is drawn at the label's current size.
    FittedText fitted() const;
    // Draws the text (not the frame or background) in the label's coordinates, with
    // no clipping of its own.
    void paintText(QPainter &painter) const;

    // Auto-size: the label takes the size of its text in its font, keeping its
    // top-left corner. `rightLimit` (in the parent's coordinates) is where the next
    // control of its row begins: a face wider than the layout's does not push the
    // label into it; the fitting rule draws the text smaller instead.
    void fitSizeToText(int rightLimit = -1);

    // The label lies beneath `widgets` (buttons drawn over it): while one of them is
    // visible, nothing of the text is drawn from the top of the highest visible one
    // down, so that no part of a line shows between them.
    void setCoveredBy(const QList<QWidget *> &widgets);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSize textBox() const;
    int coveredFrom() const;

    QList<QPointer<QWidget>> m_coveredBy;
};

// A push button that draws its caption by the same rule inside its face.
class FitButton : public QPushButton
{
    Q_OBJECT
public:
    explicit FitButton(const QString &text, QWidget *parent = nullptr);

    FittedText fitted() const;
    // The caption's box in the button's coordinates.
    QRect captionRect() const;
    void paintText(QPainter &painter) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The text a button shows for its caption: "&&" is one ampersand, a single one
// marks no key.
QString shownCaption(const QString &caption);

} // namespace vm2::app
