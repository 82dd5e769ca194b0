#pragma once

#include "player.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vm2::story {

// A walkthrough file: the inputs that play a story from the title screen to one
// ending (or the bonus event), as a player would give them.
//
//     # comments and blank lines are allowed
//     names: 桐原,蒼真,ソウマ        the hero's surname, given name and nickname
//     seen: 2 3 4 5                 happy endings already on record before the game
//     ending: happy 2               happy N, bad N (heroine 2 to 5) or bonus
//     inputs: p2 n n 1 n ...        the tokens of velmora2-play
struct Walkthrough {
    QString name; // the file's base name
    QString file; // "walkthroughs/NAME.txt", as failures name it
    QStringList names;
    QList<int> seen;
    QString ending; // "happy", "bad" or "bonus"
    int heroine = 0;
    int endingLine = 0;
    QStringList inputs;
    QList<int> inputLines; // the file's line of each input
    QString problem;       // a fault of the file itself, or empty
    int problemLine = 0;
};

Walkthrough readWalkthrough(const QString &path);

// What playing a walkthrough came to.
struct Verdict {
    QString why;  // why it failed, or empty when it reached its ending
    int line = 0; // the walkthrough's line that the failure concerns (0: the file)
    play::Played played;
};

// Plays `w` headless on the story in `dataFolder`.
Verdict playWalkthrough(const Walkthrough &w, const QString &dataFolder);

// velmora2-story test: every walkthroughs/*.txt of `source` played on the story in
// `dataFolder`, one "PASS name" or "FAIL name: why (walkthroughs/NAME.txt:LINE)" line
// each, then what they covered. With `coverageFile`, writes there what no walkthrough
// reached. Returns the exit status: 1 when one failed, there are none, or the
// coverage file cannot be written.
int testWalkthroughs(const QString &source, const QString &dataFolder, QTextStream &report,
                     const QString &coverageFile = QString());

} // namespace vm2::story
