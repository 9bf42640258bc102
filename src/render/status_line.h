#pragma once

#include <cstdint>

#include "model/game_state.h"
#include "render/canvas.h"

namespace korvane {

// The status strip over the top of the back buffer with the elapsed seconds (right-aligned in
// 100, 3, 148, 24) and the move count (180, 3, 215, 24); 0 and 0 while no game runs. While the
// clock runs it sets clockNow = now and elapsedSeconds = now - startTime (never negative).
void composeStatusLine(GameRecord& record, Canvas& canvas, std::int64_t now);

} // namespace korvane
