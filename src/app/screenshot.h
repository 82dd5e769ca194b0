#pragma once

#include <QString>

class QWidget;

namespace vm2::app {

// F12: the window as the player sees it, in device pixels, as a PNG in a
// "Velmora 2" folder of the player's pictures folder (made when missing). Each shot
// gets a name of its own: no earlier file is overwritten. Returns the file's path,
// or an empty string when it could not be written.
QString saveScreenshot(QWidget *window);
// The folder the shots go to.
QString screenshotFolder();

} // namespace vm2::app
