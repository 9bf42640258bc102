#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/distance_table.h"

namespace korvane {

// A position as the colours of the stickers a kind uses, in the model's sticker order.
using Stickers = std::vector<std::uint8_t>;
// A sticker permutation: the sticker at i moves to perm[i].
using Perm = std::vector<std::uint8_t>;

// One coordinate of a position: what the pieces at some piece positions are (which piece, which
// way round, or both), numbered densely over every value the turns can reach from solved.
struct Coordinate {
    std::vector<int> groups; // the piece positions read, in order
    bool piece = false;      // which piece sits there
    bool ori = false;        // which of the position's stickers holds the piece's lowest colour
    std::vector<std::uint64_t> sortedKeys;
    std::vector<std::uint32_t> indexOfSorted;
    std::vector<std::uint32_t> move; // [index * moves + m]; index 0 is solved
    std::uint32_t size() const { return static_cast<std::uint32_t>(sortedKeys.size()); }
};

// Everything a table needs to read a puzzle, derived from the game's own turn functions: the
// sticker permutation of each move, the pieces (stickers that every move moves together), the
// whole-puzzle rotations, and the coordinates with their move tables.
struct PuzzleModel {
    explicit PuzzleModel(TableKind kind);

    TableKind kind;
    int puzzleType = 0;
    int level = 0;
    std::vector<int> cellFace, cellA, cellB; // the sticker cells read from stickerColour
    std::vector<Move> moves;                 // the game's moves of this puzzle
    std::vector<Perm> raw;                   // each move as the game's turn functions make it
    std::vector<Perm> step;                  // each move as the table's graph sees it
    std::vector<Perm> rotations;             // whole-puzzle turns, identity first
    std::vector<std::vector<int>> groups;    // piece positions: their sticker indices
    std::vector<int> reference;              // groups held at home to factor out orientation
    bool referenceOriented = false;          // ...in their home orientation too
    std::vector<Coordinate> coords;          // the first is outer, the rest make the inner part
    std::uint64_t innerSize = 1;
    std::vector<std::uint32_t> innerMove; // [inner * moves + m]

    int moveCount() const { return static_cast<int>(moves.size()); }
    std::uint64_t positions() const { return coords[0].size() * innerSize; }
    Stickers solved() const;
    Stickers read(const Puzzle& g) const;
    static Stickers apply(const Perm& p, const Stickers& s);
    // The position turned to the frame the table uses (the reference pieces at home); nothing
    // when no whole rotation brings it there.
    std::optional<Stickers> normalized(const Stickers& s) const;
    // The table index of a normalized position; nothing for colours no turns can make.
    std::optional<std::uint64_t> index(const Stickers& s) const;
    std::uint64_t neighbour(std::uint64_t x, int m) const {
        const std::uint64_t outer = x / innerSize;
        const std::uint64_t inner = x - outer * innerSize;
        return std::uint64_t{coords[0].move[outer * moves.size() + m]} * innerSize +
               innerMove[inner * moves.size() + m];
    }
    // The index with the last coordinate put back to solved.
    std::uint64_t atRest(std::uint64_t x) const {
        const std::uint64_t last = coords.size() > 1 ? coords.back().size() : 1;
        return x - x % last;
    }

private:
    bool atHome(const Stickers& s) const;
    std::vector<int> pieceGroups(std::size_t size, int tips) const;
    void listStickersAndMoves();
    void readMoves();
    void findPieces();
    void findRotations();
    void chooseFrame();
    void addCoordinates();
    void combineInner();
    void addCoordinate(std::vector<int> groups, bool piece, bool ori);
    std::optional<std::uint64_t> key(const Coordinate& c, const Stickers& s) const;
};

} // namespace korvane
