#pragma once

#include "model/game_state.h"

namespace korvane {

// The even-odd crossing test on integer pixels: an edge counts when y lies in the half-open span
// of its two ends; horizontal edges never count.
bool pointInPolygon(const Point* points, int count, int x, int y);

} // namespace korvane
