#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

namespace vm2::app {
class MainWindow;
class Session;
} // namespace vm2::app

namespace vm2::test {

// Answers the main screen's waits the way a player would, one input per wait:
//   "space"  the Space key, sent to the control that has the focus
//   "next"   a click on the advance prompt
//   "1", "2" a click on that choice button
//   "close"  the window closed by its frame
// Each answer is given from inside the wait's event loop. At every wait it notes
// whether the six menu buttons were disabled and the place buttons hidden. With no
// input left, it closes the window, so that a test never hangs.
class WindowDriver
{
public:
    WindowDriver(app::Session &session, const QStringList &inputs = {});

    void add(const QStringList &inputs) { m_inputs += inputs; }
    int waits() const { return m_waits; }
    // Answers given while the window was still inside its wait.
    int answeredInWait() const { return m_answeredInWait; }
    // Waits at which a menu button was enabled or a place button shown.
    int badWaits() const { return m_badWaits; }
    bool ranOut() const { return m_ranOut; }
    QStringList pending() const { return m_inputs; }

private:
    void watch(app::MainWindow *window);
    void answer(QPointer<app::MainWindow> window);

    QStringList m_inputs;
    int m_waits = 0;
    int m_answeredInWait = 0;
    int m_badWaits = 0;
    bool m_ranOut = false;
};

// Runs `act` on the modal dialog that the next action opens, from inside the
// dialog's own event loop.
void onNextModal(const std::function<void(QWidget *dialog)> &act);

// The visible top-level windows of type T.
template <typename T> int visibleWindows();

} // namespace vm2::test

#include <QApplication>
#include <QWidget>

template <typename T> int vm2::test::visibleWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<T *>(w) && w->isVisible())
            ++n;
    return n;
}
