#include "storymonitor.h"

#include "platform/programfolder.h"

#include <QDir>
#include <QStandardPaths>

namespace vm2::app {

StoryMonitor::StoryMonitor(QString dataFolder, QString checker, QObject *parent)
    : QObject(parent), m_folder(std::move(dataFolder)), m_checker(std::move(checker))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kCheckTimeoutMs);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_settle, &QTimer::timeout, this, &StoryMonitor::settled);
    connect(&m_timeout, &QTimer::timeout, &m_process, &QProcess::kill);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_process, &QProcess::readyRead, this, [this] {
        const QByteArray chunk = m_process.readAll();
        m_output += chunk.left(std::max<qint64>(0, kMaxOutput - m_output.size()));
    });
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        finished(status == QProcess::NormalExit ? code : -1);
    });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finished(-1);
    });
    watch();
}

StoryMonitor::~StoryMonitor()
{
    m_process.disconnect(this);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

QString StoryMonitor::defaultChecker()
{
    return QStandardPaths::findExecutable(QStringLiteral("velmora2-check"),
                                          {platform::programFolder()});
}

void StoryMonitor::watch()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    QStringList paths{m_folder};
    for (const char *sub : {"dat1", "dat2"}) {
        const QDir dir(QDir(m_folder).filePath(QLatin1String(sub)));
        if (!dir.exists())
            continue;
        paths << dir.path();
        // A file rewritten in place goes unnoticed by its folder; watches are few,
        // so a large story is watched by its folders alone (a build replaces them).
        const QStringList names = dir.entryList(QDir::Files);
        if (names.size() <= kMaxWatchedFiles) {
            for (const QString &name : names)
                paths << dir.filePath(name);
        }
    }
    m_watcher.addPaths(paths);
}

void StoryMonitor::settled()
{
    watch();
    Q_EMIT storyChanged();
    check();
}

void StoryMonitor::check()
{
    if (isChecking()) {
        m_again = true;
        return;
    }
    m_output.clear();
    if (m_checker.isEmpty()) {
        Q_EMIT findings(tr("velmora2-check was not found beside this program."), -1);
        return;
    }
    m_timeout.start();
    m_process.start(m_checker, {QStringLiteral("--data"), m_folder});
}

void StoryMonitor::finished(int status)
{
    m_timeout.stop();
    QString text = QString::fromUtf8(m_output);
    if (status < 0 && text.isEmpty())
        text = tr("velmora2-check could not run: %1").arg(m_process.errorString());
    Q_EMIT findings(text, status);
    if (m_again) {
        m_again = false;
        check();
    }
}

} // namespace vm2::app
