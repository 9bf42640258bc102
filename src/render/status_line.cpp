#include "render/status_line.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace korvane {

namespace {

// Where the two numbers stand in the status strip, right-aligned: the seconds left of the
// hourglass, the moves left of the small cube.
struct TextPlace {
    int left;
    int top;
    int right;
    int bottom;
};
constexpr TextPlace kSecondsPlace{100, 3, 148, 24};
constexpr TextPlace kMovesPlace{180, 3, 215, 24};

void drawNumber(Canvas& canvas, int value, const TextPlace& place) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    canvas.drawTextRight(text, place.left, place.top, place.right, place.bottom);
}

} // namespace

void composeStatusLine(GameRecord& g, Canvas& canvas, std::int64_t now) {
    canvas.copyStatusStrip();
    if (g.clockRunning == 1) {
        g.clockNow = now;
        // A clock that stepped back must not show a game that took less than no time.
        const std::int64_t elapsed = std::clamp<std::int64_t>(now - g.startTime, 0, INT_MAX);
        g.elapsedSeconds = static_cast<int>(elapsed);
        drawNumber(canvas, g.elapsedSeconds, kSecondsPlace);
        drawNumber(canvas, g.moveCount, kMovesPlace);
    } else {
        drawNumber(canvas, 0, kMovesPlace);
        drawNumber(canvas, 0, kSecondsPlace);
    }
}

} // namespace korvane
