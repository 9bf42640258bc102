#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "input/keyboard_cursor.h"

namespace korvane {

// A stroke from one sticker of the picture to another and the turn the stroke rules make of it.
struct StickerStroke {
    StickerHit from; // pressed
    StickerHit to;   // released on
    Move move;
};

// The first stroke between two of the stickers (as cursorStickers lists them for g), pressed
// and released at their press points exactly as a mouse would, whose turn `wanted` accepts;
// every turn is asked about once. Nothing when no stroke the picture allows names such a turn.
std::optional<StickerStroke> findStickerStroke(const StylusTarget& g,
                                               const std::vector<CursorSticker>& stickers,
                                               const std::function<bool(const Move&)>& wanted);

} // namespace korvane
