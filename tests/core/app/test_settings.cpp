#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "app/settings.h"

namespace korvane {
namespace {

// Stored "BkColor", "Figura" and "Nivel", then the background, kind and level the game starts
// with.
struct Stored {
    int bk, figura, nivel, bgColour, puzzleType, level;
};

class StoredSettings : public ::testing::TestWithParam<Stored> {};

TEST_P(StoredSettings, AreUsedWhenSoundAndFallBackOtherwise) {
    const Stored& c = GetParam();
    const StartupChoice s = validateStartupChoice(c.bk, c.figura, c.nivel);
    EXPECT_EQ(std::tuple(s.bgColour, s.puzzleType, s.level),
              std::tuple(c.bgColour, c.puzzleType, c.level));
}

// The defaults, sound choices at the ends of their ranges, and out-of-range or garbage ones.
INSTANTIATE_TEST_SUITE_P(
    Cases, StoredSettings,
    ::testing::Values(Stored{0, 3, 2, 0, 3, 2}, Stored{1, 3, 3, 1, 3, 3}, Stored{2, 1, 3, 0, 1, 3},
                      Stored{-1, 1, 3, 0, 1, 3}, Stored{0, 1, 5, 0, 1, 5}, Stored{0, 1, 6, 0, 3, 2},
                      Stored{1, 1, 0, 1, 3, 2}, Stored{0, 2, 4, 0, 2, 4}, Stored{0, 2, 5, 0, 3, 2},
                      Stored{0, 3, INT_MIN, 0, 3, INT_MIN}, Stored{0, 4, 6, 0, 4, 2},
                      Stored{1, 0, 2, 1, 3, 2}, Stored{0, INT_MAX, 1, 0, 3, 2}));

} // namespace
} // namespace korvane
