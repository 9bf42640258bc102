#include "input/zoom.h"

namespace korvane {

int zoomButtonAt(int x, int y) {
    if (y >= 21) {
        return 0;
    }
    if (x < 21) {
        return -1;
    }
    return x >= 22 && x < 38 ? +1 : 0;
}

// The bounds are applied after the step to the accumulated value, so a sweep from one bound
// to the other takes 90 steps and the last one lands on the bound exactly.
double steppedZoom(double zoom, int zoomDir) {
    if (zoomDir == +1) {
        zoom += kZoomStep;
        if (zoom >= kZoomMax) {
            zoom = kZoomMax;
        }
    } else if (zoomDir == -1) {
        zoom -= kZoomStep;
        if (zoom <= kZoomMin) {
            zoom = kZoomMin;
        }
    }
    return zoom;
}

} // namespace korvane
