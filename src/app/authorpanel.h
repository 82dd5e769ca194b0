#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimer;

namespace vm2::game {
class AuthorTools;
}

namespace vm2::app {

class MainWindow;
class Session;
class StoryMonitor;

// Author mode's panel, a tool window beside the main screen: the game state live,
// where play stands, the story's events and the checker's findings. Between events
// the author sets affection, flags and counters, starts any event or goes to any
// place; while an event runs the panel only shows. It reaches the game only
// through game::AuthorTools, from its handlers through Session::play.
class AuthorPanel : public QWidget
{
    Q_OBJECT
public:
    // `checker`: the velmora2-check program (StoryMonitor::defaultChecker()).
    AuthorPanel(Session &session, const QString &checker);
    ~AuthorPanel() override;

    game::AuthorTools &tools() const { return *m_tools; }
    // The steering controls are usable: the main screen has started and no event runs.
    bool canSteer() const;
    // Starts the event of the list's row, as a double click does.
    void startListedEvent(QListWidgetItem *item);

public Q_SLOTS:
    // Reads the state and the story again.
    void refresh();
    // Shows the panel again after the author closed it, where it was and with the
    // state as it is now, above the other windows (the main screen keeps the focus).
    void reopen();

Q_SIGNALS:
    // The checker's findings were shown (after each change of the story).
    void findingsShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildState();
    QWidget *buildLines();
    void addValueRows(QGridLayout *grid, int &row, const QString &title, int first, int last,
                      int perRow, const char *name, const QString &tip,
                      std::function<bool(int, int)> set, QSpinBox **boxes);
    QWidget *buildEvents();
    void mainWindowShown(MainWindow *window);
    void placeBeside(QWidget *window);
    void fillEvents();
    void storyChanged();
    void showFindings(const QString &text, int status);
    void steer(const std::function<bool()> &change, const QString &refused);
    void setValue(QSpinBox *box, int value);

    Session &m_session;
    std::unique_ptr<game::AuthorTools> m_tools;
    StoryMonitor *m_monitor = nullptr;
    QTimer *m_coalesce = nullptr;
    bool m_placed = false;
    QPointer<MainWindow> m_framing; // the first main screen, until the window system frames it
    bool m_refreshing = false;      // values shown, not set by the author

    QLabel *m_notice = nullptr;
    QLabel *m_place = nullptr;
    QLabel *m_names = nullptr;
    std::array<QSpinBox *, 4> m_love{};
    std::array<QLabel *, 4> m_ending{};
    std::array<QSpinBox *, 9> m_flags{};
    std::array<QSpinBox *, 10> m_counters{};
    QLabel *m_wait = nullptr;
    QPlainTextEdit *m_lines = nullptr;
    QListWidget *m_events = nullptr;
    QComboBox *m_code = nullptr;
    QSpinBox *m_number = nullptr;
    QPushButton *m_start = nullptr;
    QComboBox *m_goPlace = nullptr;
    QPushButton *m_go = nullptr;
    QPlainTextEdit *m_findings = nullptr;
    QList<QWidget *> m_steering;
};

} // namespace vm2::app
