#pragma once

#include <QIcon>
#include <QPixmap>

// The game's own pictures, drawn by code when first asked for, so that the program
// carries them without any picture file.
namespace vm2::app::art {

inline constexpr QSize kTitleLogoSize{275, 104};
inline constexpr QSize kPortraitSize{150, 150};

// "Velmora 2" in light-blue script on a transparent ground, drawn for a screen of
// `ratio` device pixels per pixel (kTitleLogoSize pixels of the layout whatever it is).
QPixmap titleLogo(qreal ratio = 1.0);
// The hero's portrait on a light-blue ground.
QPixmap heroPortrait();
// The program icon, in 16 × 16 and 32 × 32 pixels.
QIcon programIcon();

} // namespace vm2::app::art
