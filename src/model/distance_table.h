#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// The puzzles small enough to know every position's distance to solved, in the game's own count
// (one turn of any layer or half is one move) and to exactly what isSolved accepts:
//  - Cube2: the cube of level 1. Any whole orientation of the solved cube passes isSolved, so a
//    position is read up to orientation (one corner held at home): 7! * 3^6 = 3,674,160. A turn of
//    the layer holding that corner is, up to orientation, the other layer's turn the opposite
//    way, so our count is the quarter-turn count with a fixed corner, move for move.
//  - Piracube: only the home orientation passes isSolved, so the orientation is part of the
//    position: 12 orientations (turns never swap the two sets of four corners, so only the
//    rotations of a tetrahedron are reachable) * 3,149,280 = 37,791,360.
//  - Tetrahedron3: the tetrahedron of level 2 (three layers per axis), read up to orientation
//    (the four axial centres held in place), tips included: 933,120 * 81 = 75,582,720. The tips
//    are not independent in our count: a base-layer turn is, up to orientation, the two upper
//    layers turned back, which twists the tip on the way; so one base turn is one move, not a
//    big turn plus a tip.
//  - PiracubeClasses: the Piracube up to whole orientation (one corner held). Not the game's
//    distance; it is the usual fixed-corner measure of this puzzle, used for the scramble
//    minimum and as a cross-check.
enum class TableKind : int { Cube2 = 0, Piracube = 1, Tetrahedron3 = 2, PiracubeClasses = 3 };
inline constexpr TableKind kTableKinds[] = {TableKind::Cube2, TableKind::Piracube,
                                            TableKind::Tetrahedron3, TableKind::PiracubeClasses};

// The table the game's distances of this puzzle come from, if any.
std::optional<TableKind> tableKindFor(int puzzleType, int level);

struct PuzzleModel; // how the table reads a position: stickers, moves, coordinates

// Every position of one puzzle, 2 bits each: its distance modulo 3 (3 = not reached). The exact
// distance is read by walking down to solved, one neighbour with the previous residue per move.
class DistanceTable {
public:
    // Breadth-first search from solved. Takes about a second; see docs/performance.md.
    static DistanceTable build(TableKind kind);
    // The same, giving up with nothing soon after `cancel` is set: it is looked at every
    // kCancelStride positions the search scans. `scanned`, when given, counts them.
    static constexpr std::uint64_t kCancelStride = 1 << 16;
    static std::optional<DistanceTable> build(TableKind kind, const std::atomic<bool>& cancel,
                                              std::atomic<std::uint64_t>* scanned = nullptr);

    DistanceTable(DistanceTable&&) noexcept;
    DistanceTable& operator=(DistanceTable&&) noexcept;
    ~DistanceTable();

    TableKind kind() const { return kind_; }
    std::uint64_t positions() const;
    // Positions at each distance 0, 1, ...; the last entry is the greatest distance.
    const std::vector<std::uint64_t>& histogram() const { return histogram_; }
    // The same, counting only positions whose last coordinate is at rest (the tetrahedron's
    // tips untwisted): their distance is that of the puzzle with the tips ignored.
    const std::vector<std::uint64_t>& restHistogram() const { return restHistogram_; }

    // The distance of a built puzzle of this table's kind and level to solved; -1 when the state
    // is not a position of this puzzle (another kind, or colours no turns can make).
    int distance(const Puzzle& g) const;
    // A move that brings the puzzle one move nearer to solved; none when solved or unreadable.
    std::optional<Move> bestMove(const Puzzle& g) const;

    // Pure image of the table: magic, format version, kind, counts, codes, checksum.
    std::vector<std::uint8_t> serialize() const;
    // The table an image holds, or nothing for an image that is damaged, truncated, of another
    // kind or of another format version.
    static std::optional<DistanceTable> deserialize(TableKind kind,
                                                    std::span<const std::uint8_t> bytes);

    // For the scramble minimum and the tests: the distance of a sticker reading of this puzzle.
    int distanceOfStickers(const std::vector<std::uint8_t>& stickers) const;
    // The distance of a table index (PuzzleModel::index); -1 when not reached.
    int distanceAtIndex(std::uint64_t x) const;
    const PuzzleModel& model() const { return *model_; }

private:
    class Search;
    explicit DistanceTable(TableKind kind);
    unsigned code(std::uint64_t x) const;
    int walk(std::uint64_t x, std::vector<std::uint8_t>* stickers) const;

    TableKind kind_;
    std::unique_ptr<PuzzleModel> model_;
    std::vector<std::uint8_t> codes_;
    std::vector<std::uint64_t> histogram_;
    std::vector<std::uint64_t> restHistogram_;
};

// The format version written into every image; an image of another version is rebuilt.
inline constexpr std::uint32_t kDistanceTableVersion = 1;

// True when a scrambled puzzle is nearer to solved than competitions accept, each minimum read in
// its own measure and mapped to ours:
//  - cube of level 1: fewer than 4 quarter turns, and our count is the quarter-turn count;
//  - Piracube: fewer than 7 in the fixed-corner measure, which ignores the whole orientation:
//    the least of our distances to the 12 orientations of solved (table: Piracube), or the
//    orientation-class distance itself (table: PiracubeClasses);
//  - tetrahedron of level 2: fewer than 6 with the tips ignored: our distance with the tips put
//    back, since base and middle turns both act as the usual big turns on the rest.
bool belowCompetitionMinimum(const DistanceTable& table, const Puzzle& scrambled);

} // namespace korvane
