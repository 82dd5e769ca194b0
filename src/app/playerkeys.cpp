#include "playerkeys.h"

#include "mainwindow.h"
#include "readingaids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>

namespace vm2::app {

PlayerKeys::PlayerKeys(MainWindow &window, const QList<QWidget *> &clickTargets)
    : QObject(&window), m_window(window)
{
    for (QWidget *target : clickTargets)
        m_clickTargets << target;
    qApp->installEventFilter(this);
}

PlayerKeys::~PlayerKeys()
{
    qApp->removeEventFilter(this);
}

bool PlayerKeys::inWindow(QObject *object) const
{
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->window() == &m_window;
}

namespace {

// A window key: the key, with exactly these modifiers, emits the signal.
struct WindowKey {
    int key;
    Qt::KeyboardModifiers modifiers;
    void (PlayerKeys::*signal)();
    bool overHistory; // also while the history is open
};

const WindowKey kWindowKeys[] = {
    {Qt::Key_F11, Qt::NoModifier, &PlayerKeys::fullScreenToggled, true},
    {Qt::Key_Return, Qt::AltModifier, &PlayerKeys::fullScreenToggled, true},
    {Qt::Key_Enter, Qt::AltModifier, &PlayerKeys::fullScreenToggled, true},
    {Qt::Key_F12, Qt::NoModifier, &PlayerKeys::screenshotAsked, true},
    {Qt::Key_F9, Qt::NoModifier, &PlayerKeys::authorPanelAsked, true},
    {Qt::Key_A, Qt::NoModifier, &PlayerKeys::autoToggled, false},
};

} // namespace

bool PlayerKeys::keyPress(QKeyEvent *event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    // Only the modifiers a player holds: the keypad's and a keyboard group's are none.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool historyOpen = m_window.readingAids()->historyOpen();
    for (const WindowKey &k : kWindowKeys) {
        if (k.key == key && k.modifiers == modifiers && (k.overHistory || !historyOpen)) {
            if (!event->isAutoRepeat())
                Q_EMIT(this->*k.signal)();
            return true;
        }
    }
    if (historyOpen)
        return false; // the history's own keys
    if (key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt && key != Qt::Key_Meta)
        Q_EMIT playerInput();
    if (modifiers != Qt::NoModifier)
        return false;

    if (m_window.awaitsChoice()) {
        if (key == Qt::Key_1 || key == Qt::Key_2) {
            m_window.talkButton(key == Qt::Key_1 ? 1 : 2)->click();
            return true;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            // The second option stands above the first.
            m_window.talkButton(key == Qt::Key_Up ? 2 : 1)->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (enter) {
            for (int i = 1; i <= 2; ++i) {
                if (m_window.talkButton(i)->hasFocus()) {
                    m_window.talkButton(i)->click();
                    return true;
                }
            }
            return true; // no option has the focus: Return picks none
        }
        return false;
    }
    if (enter) {
        // A button that has the focus between events is pressed, as Space presses it.
        auto *button = qobject_cast<QPushButton *>(QApplication::focusWidget());
        if (!m_window.isWaiting() && button && button->window() == &m_window &&
            button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
        Q_EMIT advanceAsked();
        return true;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_5 && !m_window.isWaiting() && m_window.hasStarted()) {
        int number = key - Qt::Key_1;
        for (int i = 0; i < 5; ++i) {
            QPushButton *button = m_window.placeButton(i);
            if (!button->isVisible())
                continue;
            if (number-- == 0) {
                button->click();
                break;
            }
        }
        return true;
    }
    return false;
}

bool PlayerKeys::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (inWindow(watched) && keyPress(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::Wheel: {
        if (!inWindow(watched) || m_window.readingAids()->historyOpen())
            break;
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const QPoint turn =
            wheel->angleDelta().isNull() ? wheel->pixelDelta() : wheel->angleDelta();
        if (turn.y() < 0 && m_window.awaitsAdvance()) {
            Q_EMIT playerInput();
            Q_EMIT advanceAsked();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        if (!inWindow(watched))
            break;
        Q_EMIT playerInput();
        const auto *mouse = static_cast<QMouseEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton && m_clickTargets.contains(widget) &&
            m_window.awaitsAdvance() && !m_window.readingAids()->historyOpen()) {
            m_pressed = widget;
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!m_pressed || widget != m_pressed)
            break;
        m_pressed = nullptr;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            widget->rect().contains(mouse->position().toPoint()))
            Q_EMIT advanceAsked();
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vm2::app
