#include "readrecord.h"

#include "boundedfile.h"

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

QByteArray escaped(const QByteArray &name)
{
    QByteArray out;
    out.reserve(name.size());
    for (const char c : name) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool unescaped(const QByteArray &field, QByteArray &name)
{
    name.clear();
    name.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\r')
            return false;
        if (c != '\\') {
            name += c;
            continue;
        }
        if (++i == field.size())
            return false;
        switch (field[i]) {
        case '\\':
            name += '\\';
            break;
        case 't':
            name += '\t';
            break;
        case 'r':
            name += '\r';
            break;
        case 'n':
            name += '\n';
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

ReadRecord::ReadRecord(QString path, QString keyPrefix)
    : m_path(std::move(path)), m_prefix(std::move(keyPrefix))
{
    QByteArray bytes;
    switch (BoundedFile::read(m_path, BoundedFile::kPlayerFileCap, bytes)) {
    case BoundedFile::Outcome::Missing:
        return;
    case BoundedFile::Outcome::Read:
        break;
    case BoundedFile::Outcome::TooLarge:
        m_damaged = true;
        m_moveAside = true;
        return;
    case BoundedFile::Outcome::NotRegular:
    case BoundedFile::Outcome::Failed:
        // Nothing we could read, so nothing we may replace: what it holds may be
        // every story's read lines.
        m_damaged = true;
        m_memoryOnly = true;
        return;
    }
    QHash<QString, QSet<int>> lines;
    if (!parse(bytes, lines)) {
        m_damaged = true;
        m_moveAside = true;
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
    const auto it = m_lines.constFind(m_prefix + script);
    return it != m_lines.cend() && it->contains(line);
}

bool ReadRecord::markRead(const QString &script, int line)
{
    if (script.isEmpty() || line <= 0)
        return true;
    QSet<int> &set = m_lines[m_prefix + script];
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
        out += escaped(script.toUtf8()) + '\t';
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
        QByteArray name;
        if (!unescaped(row.left(tab), name))
            return false;
        const QString script = QString::fromUtf8(name);
        if (script.toUtf8() != name || lines.contains(script))
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

bool ReadRecord::write()
{
    if (m_memoryOnly)
        return false;
    if (m_moveAside) {
        // A rename moves a link, never the file it leads to.
        const QString aside = m_path + QStringLiteral(".damaged");
        if (QFileInfo::exists(aside) || !QFile::rename(m_path, aside)) {
            m_memoryOnly = true;
            return false;
        }
        m_moveAside = false;
    }
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
