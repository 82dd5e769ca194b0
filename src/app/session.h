#pragma once

#include "aboutbox.h"
#include "game/game.h"
#include "historyfeed.h"
#include "mainwindow.h"
#include "messagehistory.h"
#include "platform/readrecord.h"
#include "screenrelay.h"
#include "titlewindow.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace vm2::platform {
class SettingsStore;
}

namespace vm2::app {

class AuthorPanel;

// The running program: the one game (its state lives as long as the process) and
// the windows, created afresh each time they are shown. Every call from a window
// into the game goes through play(), which turns the two ways a game can stop
// (the player closed the window while it waited, a script error) into the end of
// the program.
class Session : public QObject
{
    Q_OBJECT
public:
    using ErrorReporter = std::function<void(const QString &message)>;

    // `dataFolder` holds the story's dat1 and dat2: the program folder, or a story
    // folder named at start.
    Session(platform::SettingsStore &store, QString dataFolder, QObject *parent = nullptr);
    ~Session() override;

    game::Game &game() { return m_game; }
    // What was said since the main screen opened or the game was loaded, and what
    // fills it.
    MessageHistory &history() { return m_history; }
    HistoryFeed &historyFeed() { return m_feed; }
    // The messages the player has read, in any game (in memory unless one is set).
    platform::ReadRecord &readRecord() { return *m_readRecord; }
    void setReadRecord(platform::ReadRecord &record) { m_readRecord = &record; }
    const QString &dataFolder() const { return m_dataFolder; }
    // The folder of the player's guide: always the program's own, never a story
    // folder, whose files HELP must not hand to the desktop's opener.
    const QString &helpFolder() const { return m_helpFolder; }
    void setHelpFolder(QString folder) { m_helpFolder = std::move(folder); }
    // The player's own window settings (WindowPrefs); none are kept without one.
    const QString &playerFile() const { return m_playerFile; }
    void setPlayerFile(QString path) { m_playerFile = std::move(path); }

    // A fresh title screen, shown non-modally.
    void showTitle();
    // A fresh main screen, shown at once; its start-up (Form_Load) follows from the
    // event loop, so that no earlier handler stays on the stack while it plays.
    void showMain();
    TitleWindow *titleWindow() const { return m_title; }
    MainWindow *mainWindow() const { return m_main; }

    // Calls into the game from a window's handler. A wait ended by closing the
    // window ends the program with status 0; a script error is reported with its
    // fault, file and line and ends the program with status 1.
    void play(const std::function<void()> &call);
    // Ends the program: every window goes away and finished() is emitted once.
    void finish(int status);
    bool isFinished() const { return m_finished; }

    // How links and the help file are opened (the desktop's handlers by default),
    // and how a script error is shown (a message box by default).
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    const UrlOpener &urlOpener() const { return m_openUrl; }
    void setErrorReporter(ErrorReporter reporter) { m_reportError = std::move(reporter); }

    // Author mode: the author panel beside the main screen, for the session's life
    // (it shows itself with the first main screen).
    // `checker` is the velmora2-check program it runs (by default the one beside
    // this program).
    void openAuthorPanel(const QString &checker = QString());
    AuthorPanel *authorPanel() const { return m_authorPanel.get(); }

Q_SIGNALS:
    void finished(int status);
    void mainWindowShown(vm2::app::MainWindow *window);
    // A call of play() has returned.
    void played();

private:
    QString m_dataFolder;
    QString m_helpFolder;
    QString m_playerFile;
    ScreenRelay m_relay;
    MessageHistory m_history;
    HistoryFeed m_feed{m_relay, m_history};
    platform::ReadRecord m_memoryRecord;
    platform::ReadRecord *m_readRecord = &m_memoryRecord;
    game::Game m_game;
    QPointer<TitleWindow> m_title;
    QPointer<MainWindow> m_main;
    UrlOpener m_openUrl;
    ErrorReporter m_reportError;
    bool m_finished = false;
    std::unique_ptr<AuthorPanel> m_authorPanel;
};

} // namespace vm2::app
