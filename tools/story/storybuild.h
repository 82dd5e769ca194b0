#pragma once

#include <QString>
#include <QTextStream>

namespace vm2::story {

// Exit statuses of velmora2-story, as the checker's: 1 when an error was found (with
// --werror also a warning), 2 on a bad command line.
enum Status { Ok = 0, Failed = 1, BadArguments = 2 };

struct BuildOptions {
    QString source;   // holds dat2/ibent*.txt and dat1/
    QString out;      // receives dat2/ and dat1/
    QString pictures; // the story's dat1 when not source/dat1 (the demo draws its own)
    bool werror = false;
    bool quiet = false; // findings and the summary only on failure
};

// velmora2-story build: the UTF-8 sources into out/dat2 in code page 932, the
// pictures (after checking that they load) into out/dat1, then the checker on out.
// Reports go to `out`; returns the exit status. Writes nothing outside out/dat1 and
// out/dat2, and nothing at all when a source cannot be encoded.
int build(const BuildOptions &options, QTextStream &report);

// velmora2-story decode: a story's dat2 into UTF-8 sources in out/dat2, its dat1
// copied to out/dat1.
int decode(const QString &data, const QString &out, QTextStream &report);

} // namespace vm2::story
