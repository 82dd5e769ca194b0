#pragma once

#include "findings.h"
#include "scriptcheck.h"

#include <QString>
#include <functional>
#include <map>
#include <utility>

namespace vm2::check {

// Checks the pictures that scripts and place moves load: that each exists, decodes
// and has the size of its role, and that the masked ones (characters, faces, event
// pictures) are white wherever their mask is white and have a pure black-and-white
// mask. Each file is read once however many lines name it.
class PictureCheck
{
public:
    explicit PictureCheck(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

    // Reports the problems of the picture of `use` at `file`:`use.line`, each
    // message followed by what `context` gives, when it is given.
    void check(const PictureUse &use, const QString &file, Findings &findings,
               const std::function<QString()> &context = {});

private:
    struct Problem {
        Severity severity;
        QString message;
    };
    std::vector<Problem> examine(const PictureUse &use) const;

    QString m_dataFolder;
    std::map<std::pair<PictureRole, QString>, std::vector<Problem>> m_cache;
};

} // namespace vm2::check
