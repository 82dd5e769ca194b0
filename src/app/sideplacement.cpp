#include "sideplacement.h"

#include <algorithm>

namespace vm2::app {

namespace {

// The start of a span of `size` moved into [start, start + room): its start, and
// so the title bar, stays inside where the span is larger than the room.
int within(int at, int size, int start, int room)
{
    return std::max(start, std::min(at, start + room - size));
}

} // namespace

SidePlacement SidePlacement::beside(const QRect &available, const QRect &mainFrame,
                                    QSize panelFrame, int gap)
{
    const QRect &a = available;
    const QSize panel(std::min(panelFrame.width(), a.width()),
                      std::min(std::max(panelFrame.height(), mainFrame.height()), a.height()));
    QPoint main(within(mainFrame.x(), mainFrame.width(), a.x(), a.width()),
                within(mainFrame.y(), mainFrame.height(), a.y(), a.height()));
    const int outer = panel.width() + gap;
    const int mainRight = main.x() + mainFrame.width(); // one past the main screen's frame
    int x = 0;
    if (mainRight + outer <= a.x() + a.width()) {
        x = mainRight + gap;
    } else if (main.x() - outer >= a.x()) {
        x = main.x() - outer;
    } else if (mainFrame.width() + outer <= a.width()) {
        main.setX(a.x() + (a.width() - mainFrame.width() - outer) / 2);
        x = main.x() + mainFrame.width() + gap;
    } else {
        main.setX(a.x());
        x = a.x() + a.width() - panel.width();
    }
    const int y = within(main.y(), panel.height(), a.y(), a.height());
    return {main, QRect(QPoint(x, y), panel)};
}

} // namespace vm2::app
