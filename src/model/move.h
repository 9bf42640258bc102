#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// One turn of a puzzle, the single currency of strokes, the keyboard, the scramble, the move
// record, undo and redo, resume and replay. An axis turn turns one layer (0..N) about axis 1..4
// (the cube uses 1..3); a corner turn turns the Piracube's half at a corner (0..7). The
// direction is +1 or -1 as the turn functions take it; the inverse turns the other way.
struct Move {
    enum class Kind : unsigned char { None, Axis, Corner };

    Kind kind = Kind::None;
    int axis = 0;  // axis 1..4 for an axis turn, the corner 0..7 for a corner turn
    int layer = 0; // the turning layer of an axis turn; 0 for a corner turn
    int dir = 0;   // +1 or -1

    static constexpr Move axisTurn(int axis, int layer, int dir) {
        return Move{Kind::Axis, axis, layer, dir};
    }
    static constexpr Move cornerTurn(int corner, int dir) {
        return Move{Kind::Corner, corner, 0, dir};
    }
    constexpr bool isNone() const { return kind == Kind::None; }
    constexpr int corner() const { return axis; }
    constexpr Move inverse() const { return Move{kind, axis, layer, -dir}; }
    friend constexpr auto operator<=>(const Move&, const Move&) = default;
};

// The stored text of a move: "A<axis>L<layer><+|->" or "C<corner><+|->", e.g. "A2L0+", "C5-".
// Stable: kept games and the solve history store moves in this form.
std::string moveText(const Move& move);
// The move a text names, or nothing for a text that is not exactly one move in the form above.
std::optional<Move> parseMove(std::string_view text);

} // namespace korvane
