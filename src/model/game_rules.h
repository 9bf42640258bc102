#pragma once

#include "model/game_state.h"
#include "model/move.h"

namespace korvane {

// The pseudo-random generator of the scramble: the classic runtime rand() (0..32767) seeded by
// srand(), so a seed always gives the same scramble.
class RuntimeRandom {
public:
    void srand(unsigned seed) { state_ = seed; }
    int rand() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7fffu);
    }

private:
    unsigned state_ = 1;
};

inline constexpr int kScrambleTurns = 19;

// Draw the accepted scramble turns for a kind and level, with the rejection rules of each kind
// (no cube or tetrahedron turn straight after one on the same layer index with the other
// direction choice; no Piracube corner twice running). Returns the number written (19, or 0
// for the sphere and unknown kinds).
int planScramble(int puzzleType, int level, RuntimeRandom& rng, Move out[kScrambleTurns]);

// True when every face shows one colour (kinds without stickers pass).
bool isSolved(const Puzzle& puzzle);

// The highscore table of a puzzle: cube 1..4 -> 0..3, tetrahedron 1..4 -> 4..7, Piracube -> 8;
// -1 for puzzles without a table (the cube of level 5, the sphere).
int highscoreTable(int puzzleType, double size);

} // namespace korvane
