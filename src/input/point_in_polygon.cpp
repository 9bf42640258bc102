#include "input/point_in_polygon.h"

#include <cstdint>

namespace korvane {

// The crossing x is worked out in 64 bits: for every polygon whose 32-bit product fits (any
// picture the game can draw) this is the same truncating division, and a stray point far off the
// screen can no longer overflow it.
bool pointInPolygon(const Point* points, int count, int x, int y) {
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        const bool spans = (a.y <= y && y < b.y) || (b.y <= y && y < a.y);
        if (!spans) {
            continue;
        }
        const std::int64_t t =
            a.x + ((std::int64_t{b.x} - a.x) * (std::int64_t{y} - a.y)) / (std::int64_t{b.y} - a.y);
        if (x < t) {
            inside = !inside;
        }
    }
    return inside;
}

} // namespace korvane
