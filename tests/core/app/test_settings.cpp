#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "app/settings.h"

namespace korvane {
namespace {

// Stored "BkColor", "Figura" and "Nivel", then the background, kind and level the game starts
// with: the defaults, sound choices at the ends of their ranges, and out-of-range or garbage
// ones (the window's test reads texts that are no number through the real storage).
TEST(StoredSettings, AreUsedWhenSoundAndFallBackOtherwise) {
    constexpr int kCases[13][6] = {{0, 3, 2, 0, 3, 2},      {1, 3, 3, 1, 3, 3},
                                   {2, 1, 3, 0, 1, 3},      {-1, 1, 3, 0, 1, 3},
                                   {0, 1, 5, 0, 1, 5},      {0, 1, 6, 0, 3, 2},
                                   {1, 1, 0, 1, 3, 2},      {0, 2, 4, 0, 2, 4},
                                   {0, 2, 5, 0, 3, 2},      {0, 3, INT_MIN, 0, 3, INT_MIN},
                                   {0, 4, 6, 0, 4, 2},      {1, 0, 2, 1, 3, 2},
                                   {0, INT_MAX, 1, 0, 3, 2}};
    for (const auto& [bk, figura, nivel, bgColour, puzzleType, level] : kCases) {
        const StartupChoice s = validateStartupChoice(bk, figura, nivel);
        EXPECT_EQ(std::tuple(s.bgColour, s.puzzleType, s.level),
                  std::tuple(bgColour, puzzleType, level))
            << bk << " " << figura << " " << nivel;
    }
}

} // namespace
} // namespace korvane
