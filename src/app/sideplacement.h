#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vm2::app {

// Where a tool window (the author panel) goes beside the main screen on a screen
// whose available area is given, in frames: title bars and borders included.
// Both frames stay inside the area, their title bars on screen: the panel goes
// right of the main screen, else left of it, else both are moved so that they
// fit side by side; where even that does not fit they overlap, the main screen at
// the area's left edge and the panel at its right edge. The panel is as tall as
// the main screen's frame where it wants less, and never larger than the area.
struct SidePlacement {
    QPoint main; // the main screen's frame's top-left corner
    QRect panel; // the panel's frame

    // `gap`: the room kept between the two frames where they stand side by side.
    static SidePlacement beside(const QRect &available, const QRect &mainFrame, QSize panelFrame,
                                int gap);
};

} // namespace vm2::app
