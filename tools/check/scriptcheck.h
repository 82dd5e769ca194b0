#pragma once

#include "findings.h"

#include "engine/gamestate.h"
#include "stage/pictures.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace vm2::check {

// An event: place code and event number.
struct EventId {
    QString place;
    int number = 0;

    QString file() const; // "dat2/ibentA-3.da2"
    friend bool operator<(const EventId &a, const EventId &b)
    {
        return a.place != b.place ? a.place < b.place : a.number < b.number;
    }
    friend bool operator==(const EventId &a, const EventId &b) = default;
};

using stage::PictureRole;

struct PictureUse {
    QString file; // "dat1/chara2-1.da1"
    PictureRole role;
    QString character; // the code the line names: a face's character
    int line = 0;
};

// An event counter advance "9": slot and increment.
struct Advance {
    int slot = 0;
    int amount = 0;
    int line = 0;
    bool certain = false; // in the main flow, before any line that may hand over
    // In block 1 of a flag branch on this flag, which the block surely sets non-zero:
    // unless a line clears the flag again, the block plays once in a game.
    int guardFlag = 0;
    // In a block of the choice or flag branch on line `branch` (0: the main flow);
    // the two blocks of one branch never both play.
    int branch = 0;
    int block = 0;
};

// A line that ends the script and plays another event.
struct HandOver {
    enum Type { Jump, NextDay, Ending } type = Jump;
    int line = 0;
    bool inBlock = false;
    EventId target;  // a jump's event
    int heroine = 0; // an ending's heroine
    // In a block of the choice or flag branch on line `branch` (0: the main flow).
    int branch = 0;
    int block = 0;
};

// A choice or a flag branch of the main flow: the two blocks a player may get.
struct Branch {
    int line = 0;
    int flag = 0;         // a flag branch's flag; 0 for a choice
    QStringList captions; // a choice's two answers
};

// What the story map needs to know of one script.
struct ScriptInfo {
    QString file; // "dat2/ibentA-3.da2"
    EventId event;
    QString firstMessage;
    std::vector<Advance> advances;
    std::vector<HandOver> handOvers;
    std::vector<PictureUse> pictures;
    std::vector<Branch> branches;
    std::array<bool, engine::kLastFlag + 1> clearsFlag{}; // a "5" line sets the flag to 0
    int lines = 0;                     // the script ends after this line
};

// Reads the script dat2/`name` of the data folder and checks every line as the
// runner and the command executor would play it: code page 932, the fields of each
// line kind through the engine's own parser, blocks that reach past the end, and
// the codes that do nothing (speakers, place labels, "4" and "6" inside a block).
// Events and pictures that the lines name are returned, to be checked as a whole.
ScriptInfo checkScript(const QString &dataFolder, const EventId &event, Findings &findings);

} // namespace vm2::check
