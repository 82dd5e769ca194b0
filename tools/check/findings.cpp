#include "findings.h"

#include <algorithm>

namespace vm2::check {

namespace {

// Compares names with runs of digits taken as numbers.
int naturalCompare(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            // Without leading zeros the longer run is the larger number.
            const QStringView na = QStringView(a).mid(i, ei - i);
            const QStringView nb = QStringView(b).mid(j, ej - j);
            if (na.size() != nb.size())
                return na.size() < nb.size() ? -1 : 1;
            if (const int c = na.compare(nb))
                return c;
            i = ei;
            j = ej;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

QString counted(int n, const char *one, const char *many)
{
    return QString::number(n) + u' ' + QLatin1String(n == 1 ? one : many);
}

} // namespace

QString Finding::text() const
{
    return QStringLiteral("%1:%2: %3: %4")
        .arg(file)
        .arg(line)
        .arg(severity == Severity::Error     ? QLatin1String("error")
             : severity == Severity::Warning ? QLatin1String("warning")
                                             : QLatin1String("note"),
             message);
}

void Findings::error(const QString &file, int line, const QString &message)
{
    m_list.push_back({file, line, Severity::Error, message});
}

void Findings::warning(const QString &file, int line, const QString &message)
{
    m_list.push_back({file, line, Severity::Warning, message});
}

void Findings::note(const QString &file, int line, const QString &message)
{
    m_list.push_back({file, line, Severity::Note, message});
}

int Findings::errors() const
{
    return static_cast<int>(std::count_if(m_list.begin(), m_list.end(), [](const Finding &f) {
        return f.severity == Severity::Error;
    }));
}

int Findings::warnings() const
{
    return static_cast<int>(std::count_if(m_list.begin(), m_list.end(), [](const Finding &f) {
        return f.severity == Severity::Warning;
    }));
}

std::vector<Finding> Findings::sorted() const
{
    std::vector<Finding> list = m_list;
    std::stable_sort(list.begin(), list.end(), [](const Finding &a, const Finding &b) {
        if (const int c = naturalCompare(a.file, b.file))
            return c < 0;
        return a.line < b.line;
    });
    // A picture named twice on one line, say, gives one finding.
    std::vector<Finding> unique;
    unique.reserve(list.size());
    std::size_t group = 0; // first finding in `unique` of the current file and line
    for (Finding &f : list) {
        if (group < unique.size() && (unique[group].file != f.file || unique[group].line != f.line))
            group = unique.size();
        const bool seen = std::any_of(
            unique.begin() + static_cast<std::ptrdiff_t>(group), unique.end(),
            [&f](const Finding &u) { return u.severity == f.severity && u.message == f.message; });
        if (!seen)
            unique.push_back(std::move(f));
    }
    list = std::move(unique);
    return list;
}

QString summary(int errors, int warnings, int scripts)
{
    return QStringLiteral("velmora2-check: %1, %2 in %3")
        .arg(counted(errors, "error", "errors"), counted(warnings, "warning", "warnings"),
             counted(scripts, "script", "scripts"));
}

} // namespace vm2::check
