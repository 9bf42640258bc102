#include "input/sticker_strokes.h"

#include <map>

#include "model/puzzle_kind.h"

namespace korvane {

std::optional<StickerStroke> findStickerStroke(const StylusTarget& g,
                                               const std::vector<CursorSticker>& stickers,
                                               const std::function<bool(const Move&)>& wanted) {
    std::map<Move, bool> asked; // many strokes name the same turn
    for (const CursorSticker& from : stickers) {
        Gesture pressed = g.gesture;
        pressed.gestureState = from.id.slot;
        pressed.pressedRow = from.id.row;
        pressed.pressedCol = from.id.col;
        const StylusTarget stroke{g.puzzle, g.screen, pressed};
        for (const CursorSticker& to : stickers) {
            if (&to == &from) {
                continue;
            }
            const Move move = decodeStroke(stroke, to.press.x, to.press.y);
            if (!moveFits(g.puzzle, move)) {
                continue;
            }
            const auto [it, fresh] = asked.try_emplace(move, false);
            if (fresh) {
                it->second = wanted(move);
            }
            if (it->second) {
                return StickerStroke{from.id, to.id, move};
            }
        }
    }
    return std::nullopt;
}

} // namespace korvane
