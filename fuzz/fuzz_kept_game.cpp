// A kept game as the next start reads it: any bytes at all. Whatever they hold, reading never
// breaks; a game that reads and is laid onto a puzzle holds only colours of its faces, and kept
// again it reads back as the same game.
#include <cstdint>
#include <string_view>

#include "app/kept_game.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    using fuzz::require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const KeptGameReading reading = parseKeptGame(text);
    require(reading.game.has_value() != !reading.problem.empty(), "a game or a problem");
    if (!reading.game) {
        return 0;
    }
    Puzzle puzzle;
    View view;
    if (!restoreKeptGame(*reading.game, puzzle, view).empty()) {
        return 0;
    }
    for (const auto& row : puzzle.stickerColour) {
        for (const auto& cell : row) {
            for (int colour : cell) {
                require(colour >= 0 && colour < kFaces, "colours stay colours");
            }
        }
    }
    GameRecord record;
    record.scramble = reading.game->scramble;
    record.moves = reading.game->moves;
    record.undoState = reading.game->canUndo ? 0 : -1;
    const KeptGame again = keepGame(puzzle, record, view, reading.game->elapsedSeconds);
    const KeptGameReading reread = parseKeptGame(formatKeptGame(again));
    require(reread.game.has_value(), "a kept game reads back");
    require(reread.game->moves == reading.game->moves &&
                reread.game->stickerSum == reading.game->stickerSum,
            "the same game reads back");
    return 0;
}
