#pragma once

#include "findings.h"
#include "scriptcheck.h"

#include <QString>
#include <QTextStream>

namespace vm2::check {

struct Options {
    QString dataFolder; // holds dat1 and dat2
    QString graphFile;  // the story map to write, or empty
    bool werror = false;
};

struct Result {
    Findings findings;
    int scripts = 0; // files in dat2
};

// Reads every script in dataFolder/dat2 as the checker does, reporting its faults to
// `findings`: what each script plays and where its choices and flag branches stand.
// `files` receives the number of files in dat2.
std::vector<ScriptInfo> readScripts(const QString &dataFolder, Findings &findings,
                                    int *files = nullptr);

// Checks every script in dataFolder/dat2 and every picture they (and the place
// buttons) load, as the engine would play them. With `dot`, also writes the story
// map there.
Result checkData(const QString &dataFolder, QTextStream *dot = nullptr);

// velmora2-check: the findings sorted, one a line, then the summary line; returns the
// exit status: 1 when an error was found (with werror also a warning), else 0.
int run(const Options &options, QTextStream &out, QTextStream &err);

} // namespace vm2::check
