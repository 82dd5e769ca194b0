#include "readingaids.h"

#include "historyview.h"
#include "mainwindow.h"
#include "readskip.h"
#include "scaledlayout.h"
#include "session.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

namespace vm2::app {

ReadingAids::ReadingAids(MainWindow &window, Session &session, std::function<void()> advance)
    : QObject(&window), m_window(window), m_session(session),
      m_skip(new ReadSkip(session.readRecord(), std::move(advance), this))
{
    qApp->installEventFilter(this);
}

ReadingAids::~ReadingAids()
{
    qApp->removeEventFilter(this);
}

bool ReadingAids::historyOpen() const
{
    return m_view != nullptr;
}

HistoryView *ReadingAids::historyView() const
{
    return m_view;
}

void ReadingAids::openHistory()
{
    if (m_view || !m_window.isVisible())
        return;
    m_skip->stop();
    m_focusBefore = QApplication::focusWidget();
    auto *view = new HistoryView(&m_window);
    connect(view, &HistoryView::closeRequested, this, &ReadingAids::closeHistory);
    m_view = view;
    view->setGeometry(m_window.layoutRect());
    view->setScale(m_window.scaledLayout()->factor());
    view->show(); // lays the list out at its size
    view->raise();
    view->setEntries(m_session.history().entries());
    view->setFocus();
    Q_EMIT historyOpened();
}

void ReadingAids::closeHistory()
{
    if (!m_view)
        return;
    HistoryView *view = m_view;
    m_view = nullptr;
    view->hide();
    view->deleteLater(); // it may be inside its own handler now
    if (m_focusBefore && m_focusBefore->isVisible())
        m_focusBefore->setFocus();
    Q_EMIT historyClosed();
}

void ReadingAids::advanceWaitBegins()
{
    // The record knows which story it serves: a script is known by its name.
    const engine::Engine &engine = m_session.game().engine();
    m_skip->advanceWaitBegins(engine.scriptName(), engine.lineNumber());
}

void ReadingAids::advanceWaitEnds()
{
    m_skip->advanceWaitEnds();
}

void ReadingAids::choiceWaitBegins()
{
    m_skip->stop();
}

void ReadingAids::placeButtonPressed()
{
    m_skip->stop();
}

bool ReadingAids::inWindow(QObject *object) const
{
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->window() == &m_window;
}

bool ReadingAids::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Wheel:
        if (!m_view && inWindow(watched)) {
            const auto *wheel = static_cast<QWheelEvent *>(event);
            const QPoint turn =
                wheel->angleDelta().isNull() ? wheel->pixelDelta() : wheel->angleDelta();
            if (turn.y() > 0) {
                openHistory();
                return true;
            }
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (!inWindow(watched))
            break;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Control && !key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress && !m_view)
                m_skip->ctrlPressed();
            else if (event->type() == QEvent::KeyRelease)
                m_skip->ctrlReleased();
        } else if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_PageUp && !m_view) {
            openHistory();
            return true;
        }
        break;
    }
    case QEvent::WindowDeactivate:
        // A release while another window has the keyboard never reaches this one.
        if (watched == &m_window)
            m_skip->ctrlReleased();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vm2::app
