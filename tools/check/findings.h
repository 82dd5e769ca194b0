#pragma once

#include <QString>
#include <vector>

namespace vm2::check {

// A note says what a line does, for the author; it is no fault and counts nowhere.
enum class Severity { Warning, Error, Note };

// One finding, reported as "dat2/ibentA-3.da2:12: error: ...". The file is relative
// to the data folder, with forward slashes; line 0 stands for the file as a whole
// (a bad name, a script nothing reaches, a picture that no script line names).
struct Finding {
    QString file;
    int line = 0;
    Severity severity = Severity::Error;
    QString message;

    QString text() const;
};

// The findings of one check, in the order they were made until sorted().
class Findings
{
public:
    void error(const QString &file, int line, const QString &message);
    void warning(const QString &file, int line, const QString &message);
    void note(const QString &file, int line, const QString &message);
    void add(Finding finding) { m_list.push_back(std::move(finding)); }

    int errors() const;
    int warnings() const;
    bool empty() const { return m_list.empty(); }
    const std::vector<Finding> &list() const { return m_list; }

    // By file (numbers in names compared as numbers, so ibent1-2 comes before
    // ibent1-10), then by line; findings equal in all parts once.
    std::vector<Finding> sorted() const;

private:
    std::vector<Finding> m_list;
};

// "velmora2-check: 2 errors, 1 warning in 37 scripts"
QString summary(int errors, int warnings, int scripts);

} // namespace vm2::check
