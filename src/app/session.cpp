#include "session.h"

#include "authorpanel.h"
#include "mainwindow.h"
#include "platform/programfolder.h"
#include "platform/scripterror.h"
#include "storymonitor.h"
#include "titlewindow.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace vm2::app {

Session::Session(platform::SettingsStore &store, QString dataFolder, QObject *parent)
    : QObject(parent), m_dataFolder(dataFolder), m_helpFolder(platform::programFolder()),
      m_game(m_feed, store, std::move(dataFolder)),
      m_openUrl([](const QUrl &url) { QDesktopServices::openUrl(url); }),
      m_reportError([this](const QString &message) {
          QMessageBox::critical(m_main, QStringLiteral("Velmora 2"), message);
      })
{}

Session::~Session()
{
    m_relay.setTarget(nullptr);
    delete m_main;
    delete m_title;
}

void Session::showTitle()
{
    m_history.clear();
    if (m_main) {
        m_main->deleteLater();
        m_main = nullptr;
        m_relay.setTarget(nullptr);
    }
    auto *title = new TitleWindow(*this);
    title->setAttribute(Qt::WA_DeleteOnClose);
    m_title = title;
    title->show();
}

void Session::showMain()
{
    if (m_main)
        m_main->deleteLater();
    auto *window = new MainWindow(*this);
    m_main = window;
    m_relay.setTarget(window);
    window->showRemembered();
    Q_EMIT mainWindowShown(window);
    QMetaObject::invokeMethod(window, &MainWindow::Form_Load, Qt::QueuedConnection);
}

void Session::play(const std::function<void()> &call)
{
    try {
        call();
    } catch (const engine::Aborted &) {
        finish(0);
    } catch (const platform::ScriptError &error) {
        m_reportError(error.message());
        finish(1);
    }
    Q_EMIT played();
}

void Session::openAuthorPanel(const QString &checker)
{
    if (m_authorPanel)
        return;
    m_authorPanel = std::make_unique<AuthorPanel>(
        *this, checker.isEmpty() ? StoryMonitor::defaultChecker() : checker);
}

void Session::finish(int status)
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_main)
        m_main->hide();
    if (m_title)
        m_title->hide();
    if (m_authorPanel)
        m_authorPanel->hide();
    Q_EMIT finished(status);
}

} // namespace vm2::app
