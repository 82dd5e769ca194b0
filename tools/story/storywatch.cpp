#include "storywatch.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace vm2::story {

StoryWatch::StoryWatch(BuildOptions options, QTextStream &report, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_report(report)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_settle, &QTimer::timeout, this, &StoryWatch::settled);
}

QStringList StoryWatch::folders() const
{
    const QDir source(m_options.source);
    return {source.filePath(QStringLiteral("dat2")), m_options.pictures.isEmpty()
                                                         ? source.filePath(QStringLiteral("dat1"))
                                                         : m_options.pictures};
}

// What a build reads of the sources, in short: a change of it is a change to build.
QByteArray StoryWatch::sourceStamp() const
{
    QByteArray stamp;
    for (const QString &folder : folders()) {
        stamp += folder.toUtf8() + '\n';
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo &file : files) {
            stamp += file.fileName().toUtf8() + ' ' + QByteArray::number(file.size()) + ' ' +
                     QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + '\n';
        }
    }
    return stamp;
}

void StoryWatch::watch()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    QStringList paths;
    for (const QString &folder : folders()) {
        const QDir dir(folder);
        if (!dir.exists())
            continue;
        paths << folder;
        // Editors that write in place change no folder; watches are few, so a large
        // story is watched by its folders alone (editors that rename still show).
        const QStringList names = dir.entryList(QDir::Files);
        if (names.size() <= kMaxWatchedFiles) {
            for (const QString &name : names)
                paths << dir.filePath(name);
        }
    }
    if (!paths.isEmpty())
        m_watcher.addPaths(paths);
}

int StoryWatch::start()
{
    const int status = buildNow();
    m_report << "velmora2-story: watching " << folders().join(QStringLiteral(" and "))
             << " (Ctrl+C stops)\n";
    m_report.flush();
    return status;
}

void StoryWatch::settled()
{
    watch();
    if (sourceStamp() == m_built)
        return;
    buildNow();
}

int StoryWatch::buildNow()
{
    // Read before the build: a change made while it runs is built again after it.
    m_built = sourceStamp();
    watch();
    m_report << "velmora2-story: building at "
             << QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")) << '\n';
    QElapsedTimer timer;
    timer.start();
    // A game may be playing OUT: only a story that builds and checks clean replaces
    // it, so each build is tried in a scratch folder first.
    QTemporaryDir scratch;
    BuildOptions trial = m_options;
    trial.out = scratch.path();
    int status = scratch.isValid() ? build(trial, m_report) : Failed;
    if (!scratch.isValid())
        m_report << "velmora2-story: cannot create a scratch folder\n";
    if (status == Ok) {
        BuildOptions real = m_options;
        real.quiet = true;
        status = build(real, m_report);
    }
    if (status == Ok)
        m_report << "velmora2-story: built " << m_options.out << " in " << timer.elapsed()
                 << " ms\n";
    else
        m_report << "velmora2-story: the build failed: " << m_options.out
                 << " keeps the last good build\n";
    m_report.flush();
    Q_EMIT built(status);
    return status;
}

int watchBuild(const BuildOptions &options, QTextStream &report)
{
    StoryWatch watch(options, report);
    if (watch.start() == BadArguments)
        return BadArguments;
    return QCoreApplication::exec();
}

} // namespace vm2::story
