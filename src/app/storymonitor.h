#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QProcess>
#include <QTimer>

namespace vm2::app {

// Watches a story folder while it is played in author mode and runs the checker on
// it: at start and each time its scripts or pictures change. A build may replace
// the files, dat1 and dat2, or the whole folder by a rename, and a replaced path
// drops out of a watch, so every change adds the paths again. Changes come in
// bursts (a build writes many files); they are taken together after a short pause.
class StoryMonitor : public QObject
{
    Q_OBJECT
public:
    // `checker`: the velmora2-check program to run (empty: none found).
    StoryMonitor(QString dataFolder, QString checker, QObject *parent = nullptr);
    ~StoryMonitor() override;

    // The checker beside this program, or an empty string.
    static QString defaultChecker();

    // Runs the checker now (again once it ends when one runs).
    void check();
    bool isChecking() const { return m_process.state() != QProcess::NotRunning; }

    // How long changes must rest before they count.
    static constexpr int kSettleMs = 250;
    // A checker that takes longer than this is stopped.
    static constexpr int kCheckTimeoutMs = 60000;
    // The files of a folder are watched one by one only up to this many.
    static constexpr qsizetype kMaxWatchedFiles = 1000;
    // Of the checker's output no more than this is kept.
    static constexpr qint64 kMaxOutput = 1 << 20;

Q_SIGNALS:
    // The story's files changed (after they settled).
    void storyChanged();
    // The checker's report: its output and its exit status (-1: it could not run).
    void findings(const QString &text, int status);

private:
    void watch();
    void settled();
    void finished(int status);

    QString m_folder;
    QString m_checker;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QTimer m_timeout;
    QProcess m_process;
    QByteArray m_output;
    bool m_again = false;
};

} // namespace vm2::app
