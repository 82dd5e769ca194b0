#include "readrecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace vm2::platform {

namespace {

const QByteArray kHeader = "VM2 read record 1";
const QByteArray kEnd = "end";
// Far above any story's size: a bigger file is no record of ours.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

} // namespace

ReadRecord::ReadRecord(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) {
        m_damaged = true;
        return;
    }
    QHash<QString, QSet<int>> lines;
    if (!parse(file.readAll(), lines)) {
        m_damaged = true;
        return;
    }
    m_lines = std::move(lines);
    for (const QSet<int> &set : std::as_const(m_lines))
        m_count += int(set.size());
}

QString ReadRecord::pathBeside(const QString &storeLocation)
{
    const QFileInfo store(storeLocation);
    QString folder;
#ifdef Q_OS_WIN
    // The native store there is the registry, whose "location" is a key, not a file.
    if (!storeLocation.startsWith(QLatin1String("\\HKEY")))
        folder = store.absolutePath();
#else
    if (store.isAbsolute())
        folder = store.absolutePath();
#endif
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(folder).filePath(QLatin1String(kFileName));
}

bool ReadRecord::isRead(const QString &script, int line) const
{
    const auto it = m_lines.constFind(script);
    return it != m_lines.cend() && it->contains(line);
}

bool ReadRecord::markRead(const QString &script, int line)
{
    if (script.isEmpty() || line <= 0)
        return true;
    QSet<int> &set = m_lines[script];
    if (set.contains(line))
        return true;
    set.insert(line);
    ++m_count;
    return m_path.isEmpty() || write();
}

QByteArray ReadRecord::serialize() const
{
    QStringList scripts = m_lines.keys();
    std::sort(scripts.begin(), scripts.end());
    QByteArray out = kHeader + '\n';
    for (const QString &script : std::as_const(scripts)) {
        QList<int> numbers = m_lines.value(script).values();
        if (numbers.isEmpty())
            continue;
        std::sort(numbers.begin(), numbers.end());
        out += script.toUtf8() + '\t';
        for (qsizetype i = 0; i < numbers.size(); ++i) {
            if (i > 0)
                out += ',';
            out += QByteArray::number(numbers[i]);
        }
        out += '\n';
    }
    out += kEnd + '\n';
    return out;
}

bool ReadRecord::parse(const QByteArray &bytes, QHash<QString, QSet<int>> &lines)
{
    if (!bytes.endsWith('\n'))
        return false;
    const QList<QByteArray> rows = bytes.chopped(1).split('\n');
    if (rows.size() < 2 || rows.first() != kHeader || rows.last() != kEnd)
        return false;
    for (qsizetype r = 1; r + 1 < rows.size(); ++r) {
        const QByteArray &row = rows[r];
        const qsizetype tab = row.indexOf('\t');
        if (tab <= 0)
            return false;
        const QString script = QString::fromUtf8(row.left(tab));
        if (script.toUtf8() != row.left(tab) || lines.contains(script))
            return false;
        QSet<int> &set = lines[script];
        for (const QByteArray &field : row.mid(tab + 1).split(',')) {
            bool ok = false;
            const int number = field.toInt(&ok);
            if (!ok || number <= 0 || field.startsWith('+') || field.startsWith('0'))
                return false;
            set.insert(number);
        }
    }
    return true;
}

bool ReadRecord::write() const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace vm2::platform
