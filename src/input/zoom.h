#pragma once

#include "render/projection.h"

namespace korvane {

inline constexpr double kZoomStep = 0.02; // kZoomMin and kZoomMax: render/projection.h

// The zoom button under a press: -1 zoom out (y < 21, x < 21), +1 zoom in (y < 21,
// 22 <= x < 38), 0 none.
int zoomButtonAt(int x, int y);

// One step of the zoom repeat, bounded after the step to 0.2 .. 2.0.
double steppedZoom(double zoom, int zoomDir);

} // namespace korvane
