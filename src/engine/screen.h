#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

namespace vm2::engine {

// What the stage just did, for whoever shows or records it.
struct StageChange {
    enum Kind { Background, StageOnly, Character, Overlay } kind;
    QString file;      // the picture file relative to the data folder, e.g. "dat1/back3.da1"
    QString character; // Character: the character code
    int expression = 0;
    int variant = 0;
};

// One place button: its caption, its Tag (the destination's place number as text)
// and whether it is shown.
struct PlaceButton {
    QString caption;
    QString tag;
    bool visible = false;
};
using PlaceButtons = std::array<PlaceButton, 5>;

// The main screen as the game sees it. The window implements it with widgets, the
// headless player with a transcript, the tests with recorders; the game's rules
// stay on this side of it. The calls only tell: the game never reads anything back
// from a screen, so what a screen shows cannot change how the game goes on.
class Screen
{
public:
    virtual ~Screen() = default;

    // The message label: its text colour (a Windows colour value 0x00BBGGRR) and its
    // text, which a new text replaces whole.
    virtual void setTalkColour(std::uint32_t colour) = 0;
    virtual void setTalkText(const QString &text) = 0;

    // The place label, as a script line or the next day sets it.
    virtual void setPlaceLabel(const QString &name) = 0;
    // A place button moved the hero: the place label shows the name of the place,
    // and the story goes on there.
    virtual void movedTo(const QString &placeName) = 0;
    // The name labels: the full name ("surname given") and the nickname.
    virtual void setNames(const QString &fullName, const QString &nickname) = 0;
    // An event begins to play, with everything it hands over to, and it has ended:
    // the six menu buttons are disabled in between. A run that stops on a script
    // error or a closed window does not end.
    virtual void eventStarted() = 0;
    virtual void eventEnded() = 0;
    // The place buttons after SetPlaceButtons, or after all were hidden.
    virtual void showPlaceButtons(const PlaceButtons &buttons) = 0;
    virtual void hidePlaceButtons() = 0;
    // The stage changed: `stage` is the visible 400 × 400 picture.
    virtual void showStage(const StageChange &change, const QImage &stage) = 0;

    // The advance wait: shows the advance prompt, gives the stage the focus and
    // returns once the player advances (a click on the prompt or the Space key);
    // an advance made before the wait began does not count.
    virtual void waitAdvance() = 0;
    // The choice wait: shows the two choice buttons with these captions and returns
    // the one the player pressed, 1 or 2 (the value of TalkNo).
    virtual int waitChoice(const QString &caption1, const QString &caption2) = 0;
};

// Notes what the engine does to the game state, for tools that print a transcript.
class Trace
{
public:
    virtual ~Trace() = default;
    virtual void run(const QString &place, int number)
    {
        Q_UNUSED(place)
        Q_UNUSED(number)
    }
    virtual void flag(int index, int value)
    {
        Q_UNUSED(index)
        Q_UNUSED(value)
    }
    virtual void love(int heroine, int value)
    {
        Q_UNUSED(heroine)
        Q_UNUSED(value)
    }
    virtual void count(int slot, int value)
    {
        Q_UNUSED(slot)
        Q_UNUSED(value)
    }
    // The choice or flag branch on line `line` of `script` plays its block 1 or 2.
    virtual void block(const QString &script, int line, int block)
    {
        Q_UNUSED(script)
        Q_UNUSED(line)
        Q_UNUSED(block)
    }
    // An ending line chose the happy or the bad ending of `heroine`, by her affection
    // now; its event plays next, and its closing words once the events end.
    virtual void ending(int heroine, bool happy)
    {
        Q_UNUSED(heroine)
        Q_UNUSED(happy)
    }
    // A line of `script` about to be executed, in the main flow or in a chosen block
    // (lines that are no command, and the lines of a block not taken, never come).
    virtual void line(const QString &script, int number, const QString &text)
    {
        Q_UNUSED(script)
        Q_UNUSED(number)
        Q_UNUSED(text)
    }
};

} // namespace vm2::engine

namespace vm2::engine {

// Thrown by a wait when the player ends the game while it waits (the window was
// closed): the engine lets it pass, writes nothing and leaves the game as it is.
struct Aborted {};

} // namespace vm2::engine
