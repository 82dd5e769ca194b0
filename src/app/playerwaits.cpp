#include "playerwaits.h"

#include "engine/screen.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

namespace vm2::app {

namespace {

// The key code a key-down handler sees: the character code for Space, digits and
// letters, 0 for keys the game never asks about.
int keyCode(const QKeyEvent *event)
{
    const int key = event->key();
    return key >= Qt::Key_Space && key <= Qt::Key_Z ? key : 0;
}

} // namespace

PlayerWaits::PlayerWaits(QWidget *window, QWidget *focus, std::function<void()> onAdvance)
    : QObject(window), m_window(window), m_focus(focus), m_onAdvance(std::move(onAdvance))
{
    qApp->installEventFilter(this);
}

PlayerWaits::~PlayerWaits()
{
    qApp->removeEventFilter(this);
}

void PlayerWaits::waitAdvance()
{
    sleep(Awaited::Advance);
}

int PlayerWaits::waitChoice()
{
    return sleep(Awaited::Choice);
}

int PlayerWaits::sleep(Awaited awaited)
{
    QEventLoop loop;
    m_loop = &loop;
    m_awaited = awaited;
    m_answer = 0;
    Q_EMIT waitStarted();
    while (m_answer == 0 && !m_aborted) {
        if (awaited == Awaited::Advance)
            m_focus->setFocus();
        loop.exec();
    }
    m_loop = nullptr;
    m_awaited = Awaited::Nothing;
    if (m_aborted)
        throw engine::Aborted();
    return m_answer;
}

void PlayerWaits::advance()
{
    if (m_onAdvance)
        m_onAdvance();
    if (m_awaited != Awaited::Advance)
        return;
    m_answer = 1;
    m_loop->quit();
}

void PlayerWaits::choose(int index)
{
    if (m_awaited != Awaited::Choice)
        return;
    m_answer = index;
    m_loop->quit();
}

void PlayerWaits::abort()
{
    m_aborted = true;
    if (m_loop)
        m_loop->quit();
}

bool PlayerWaits::eventFilter(QObject *watched, QEvent *event)
{
    // Every key press of the screen reaches the key-down handler first; the control
    // still gets it afterwards.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == m_window) {
            if (event->type() == QEvent::KeyPress) {
                const auto *key = static_cast<QKeyEvent *>(event);
                Q_EMIT keyDown(keyCode(key), int(key->modifiers()));
            } else {
                // An input method that took the key anyway delivers a committed blank.
                const QString text = static_cast<QInputMethodEvent *>(event)->commitString();
                if (text == QStringLiteral(" ") || text == QStringLiteral("\u3000"))
                    Q_EMIT keyDown(32, 0);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vm2::app
