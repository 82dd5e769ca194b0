#pragma once

// The blocks of a choice ("4") and of a flag branch ("6"): a choice's two caption
// lines, then block 1 of countA whole lines and block 2 of countB. The runner plays
// them and the checker checks them through the same walk, so that each rule of
// blocks is written once: every line counts, whatever it holds; lines that run out
// are the fault of the "4" or "6" line; a hand-over ends the block and the script;
// "4" and "6" open nothing inside a block, so blocks never nest.

#include "script.h"

#include <array>

namespace vm2::engine {

// A line of a block as a walk meets it.
struct BlockLine {
    QString text;
    const KindInfo *kind = nullptr; // nullptr: the line is no command
    int number = 0;                 // its line in the script
    int block = 1;                  // 1 or 2
};

// Which blocks a walk plays: the one a choice or a flag selects (the runner skips
// the other), or both (the checker, which checks every line a player could get).
enum class BlocksPlayed { First, Second, Both };

// Reads the two caption lines of the choice on line `opening` from `reader` (which
// offers atEnd(), readLine() and lineNumber(), as a script channel does). When the
// file ends first, `pastEnd` gets the script error and the captions are not read.
template <typename Reader, typename PastEnd>
bool readCaptions(Reader &reader, int opening, std::array<QString, 2> &captions, PastEnd pastEnd)
{
    for (QString &caption : captions) {
        if (reader.atEnd()) {
            pastEnd(captionsPastEnd(opening));
            return false;
        }
        caption = reader.readLine();
    }
    return true;
}

// Goes through the blocks of the "4" or "6" on line `opening` (after a choice's
// captions). The lines of a block that is not played are read and passed over. Each
// line of a played block goes to `play(const BlockLine &)`, which returns whether the
// line handed over, or, when it does nothing in a block (no command, "4", "6"), to
// `inert(const BlockLine &)`. A hand-over ends the block: with one block played the
// walk stops at once and reads nothing more, since the script ends; with both, the
// lines left in that block go to `cut(const BlockLine &)` and block 2 follows. When
// the file ends first, `pastEnd` gets the script error (naming the lines missing from
// both blocks) and the walk stops. Returns whether a played line handed over.
template <typename Reader, typename Play, typename Inert, typename Cut, typename PastEnd>
bool walkBlocks(Reader &reader, int opening, int countA, int countB, BlocksPlayed played, Play play,
                Inert inert, Cut cut, PastEnd pastEnd)
{
    int left = countA + countB; // lines still to read, for the error
    bool handedOver = false;
    auto walk = [&](int block, int count, bool playing) {
        bool ended = false; // a hand-over in this block
        for (int i = 0; i < count; ++i, --left) {
            if (reader.atEnd()) {
                pastEnd(blocksPastEnd(opening, left));
                return false;
            }
            BlockLine line{reader.readLine(), nullptr, 0, block};
            line.number = reader.lineNumber();
            if (!playing)
                continue;
            line.kind = lineKind(line.text);
            if (ended) {
                cut(line);
            } else if (!line.kind || line.kind->opensBlocks) {
                inert(line);
            } else if (play(line) || line.kind->handsOver) {
                ended = handedOver = true;
                if (played != BlocksPlayed::Both)
                    return false;
            }
        }
        return true;
    };
    if (walk(1, countA, played != BlocksPlayed::Second))
        walk(2, countB, played != BlocksPlayed::First);
    return handedOver;
}

} // namespace vm2::engine
