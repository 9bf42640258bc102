#include "model/move.h"

namespace korvane {

namespace {

// A small decimal number at text[pos], advancing pos; nothing when there is no digit or it is
// longer than two digits (no move needs more).
std::optional<int> readSmallNumber(std::string_view text, std::size_t& pos) {
    int value = 0;
    std::size_t digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 3) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0 || digits > 2) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string moveText(const Move& move) {
    const char sign = move.dir < 0 ? '-' : '+';
    switch (move.kind) {
    case Move::Kind::Axis:
        return "A" + std::to_string(move.axis) + "L" + std::to_string(move.layer) + sign;
    case Move::Kind::Corner:
        return "C" + std::to_string(move.axis) + sign;
    case Move::Kind::None:
        break;
    }
    return {};
}

std::optional<Move> parseMove(std::string_view text) {
    if (text.empty() || (text[0] != 'A' && text[0] != 'C')) {
        return std::nullopt;
    }
    std::size_t pos = 1;
    const std::optional<int> axis = readSmallNumber(text, pos);
    if (!axis) {
        return std::nullopt;
    }
    Move move = Move::cornerTurn(*axis, 0);
    if (text[0] == 'A') {
        if (pos >= text.size() || text[pos] != 'L') {
            return std::nullopt;
        }
        ++pos;
        const std::optional<int> layer = readSmallNumber(text, pos);
        if (!layer) {
            return std::nullopt;
        }
        move = Move::axisTurn(*axis, *layer, 0);
    }
    if (pos + 1 != text.size() || (text[pos] != '+' && text[pos] != '-')) {
        return std::nullopt;
    }
    move.dir = text[pos] == '+' ? 1 : -1;
    return move;
}

} // namespace korvane
