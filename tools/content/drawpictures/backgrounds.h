#pragma once

#include "sceneryparts.h"

namespace vm2::content {

// The painters of the backgrounds, each on a 400 × 400 picture.

// Outdoors.
void schoolScene(QPainter &p, Season season, bool rainy, bool festival);
void hill(QPainter &p);
void hillNight(QPainter &p, bool clouded);
void hospital(QPainter &p, bool inBloom);
void street(QPainter &p);
void streetInRain(QPainter &p);
void streetWithComet(QPainter &p);
void rooftop(QPainter &p);
void parkNight(QPainter &p);
void sea(QPainter &p);

// Indoors.
void bedroom(QPainter &p);
enum class WindowLight { Sunset, Night, Rain };
void council(QPainter &p, WindowLight light);
void base(QPainter &p);
void ward(QPainter &p);
void corridor(QPainter &p);
void livehouse(QPainter &p);
void library(QPainter &p);

} // namespace vm2::content
