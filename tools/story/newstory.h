#pragma once

#include <QString>
#include <QTextStream>

namespace vm2::story {

// velmora2-story new: writes a small complete story into `folder` (which must not
// exist or be empty) to start from: the sources of home, the school with a choice
// and a flag branch, a quiet event for every other place, heroine 2's happy and bad
// endings and the bonus event; placeholder pictures of every role at their sizes,
// with their masks; and a walkthrough per ending and for the bonus.
int newStory(const QString &folder, QTextStream &report);

} // namespace vm2::story
