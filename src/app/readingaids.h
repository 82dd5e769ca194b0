#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace vm2::app {

class HistoryView;
class MainWindow;
class ReadSkip;
class Session;

// The main screen's reading aids, which come through input the game itself ignores:
// the wheel turned up or PageUp opens the message history over the screen, during a
// wait and between events alike; Ctrl held skips messages already read. The window tells it when
// its waits begin and end and when a place button is pressed; the rest it sees by itself.
class ReadingAids : public QObject
{
    Q_OBJECT
public:
    // `advance` answers the advance wait that runs, as the prompt would.
    ReadingAids(MainWindow &window, Session &session, std::function<void()> advance);
    ~ReadingAids() override;

    bool historyOpen() const;
    HistoryView *historyView() const;
    ReadSkip &skip() const { return *m_skip; }

    // Opens the history; closes it, and a wait goes on as it was.
    void openHistory();
    void closeHistory();

    void advanceWaitBegins();
    void advanceWaitEnds();
    void choiceWaitBegins();
    void placeButtonPressed();

Q_SIGNALS:
    void historyOpened();
    void historyClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inWindow(QObject *object) const;

    MainWindow &m_window;
    Session &m_session;
    ReadSkip *m_skip = nullptr;
    QPointer<HistoryView> m_view;
    QPointer<QWidget> m_focusBefore;
};

} // namespace vm2::app
