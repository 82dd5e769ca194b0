#include "windowdriver.h"

#include "clicklabel.h"
#include "mainwindow.h"
#include "session.h"
#include "stageview.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace vm2::test {

WindowDriver::WindowDriver(app::Session &session, const QStringList &inputs) : m_inputs(inputs)
{
    QObject::connect(&session, &app::Session::mainWindowShown, &session,
                     [this](app::MainWindow *window) { watch(window); });
    if (session.mainWindow())
        watch(session.mainWindow());
}

void WindowDriver::watch(app::MainWindow *window)
{
    QObject::connect(
        window, &app::MainWindow::waitStarted, window,
        [this, window] {
            ++m_waits;
            bool bad = false;
            for (QPushButton *b : window->menuButtons())
                bad = bad || b->isEnabled();
            for (int i = 0; i < 5; ++i)
                bad = bad || window->placeButton(i)->isVisible();
            if (bad)
                ++m_badWaits;
            // Answered from the wait's own event loop, as a player's input would be.
            QPointer<app::MainWindow> guarded(window);
            QTimer::singleShot(0, window, [this, guarded] { answer(guarded); });
        },
        Qt::DirectConnection);
}

void WindowDriver::answer(QPointer<app::MainWindow> window)
{
    if (!window)
        return;
    if (window->isWaiting())
        ++m_answeredInWait;
    if (m_inputs.isEmpty()) {
        m_ranOut = true;
        window->close();
        return;
    }
    const QString input = m_inputs.takeFirst();
    if (input == QLatin1String("space")) {
        QWidget *target = window->focusWidget() ? window->focusWidget() : window->stage();
        QTest::keyClick(target, Qt::Key_Space);
    } else if (input == QLatin1String("next")) {
        QTest::mouseClick(window->nextBox(), Qt::LeftButton);
    } else if (input == QLatin1String("1") || input == QLatin1String("2")) {
        QTest::mouseClick(window->talkButton(input.toInt()), Qt::LeftButton);
    } else if (input == QLatin1String("close")) {
        window->close();
    } else {
        qFatal("unknown driver input %s", qPrintable(input));
    }
}

void onNextModal(const std::function<void(QWidget *dialog)> &act)
{
    QTimer::singleShot(0, qApp, [act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            qFatal("no modal dialog opened");
        act(dialog);
    });
}

} // namespace vm2::test
