#include <gtest/gtest.h>

#include <climits>

#include "app/settings.h"

namespace korvane {
namespace {

struct StoredCase {
    const char* name;
    int bk, figura, nivel;
    int bgColour, puzzleType, level;
};

class StoredSettings : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredSettings, AreUsedWhenSoundAndFallBackOtherwise) {
    const StoredCase& c = GetParam();
    const StartupChoice choice = validateStartupChoice(c.bk, c.figura, c.nivel);
    EXPECT_EQ(choice.bgColour, c.bgColour);
    EXPECT_EQ(choice.puzzleType, c.puzzleType);
    EXPECT_EQ(choice.level, c.level);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredSettings,
    ::testing::Values(
        // An empty store reads as the defaults.
        StoredCase{"defaults", 0, 3, 2, 0, 3, 2}, StoredCase{"white", 1, 3, 3, 1, 3, 3},
        StoredCase{"bk_two", 2, 1, 3, 0, 1, 3}, StoredCase{"bk_negative", -1, 1, 3, 0, 1, 3},
        StoredCase{"cube_1", 0, 1, 1, 0, 1, 1}, StoredCase{"cube_5", 0, 1, 5, 0, 1, 5},
        StoredCase{"cube_0", 1, 1, 0, 1, 3, 2}, StoredCase{"cube_6", 0, 1, 6, 0, 3, 2},
        StoredCase{"tetra_4", 0, 2, 4, 0, 2, 4}, StoredCase{"tetra_5", 0, 2, 5, 0, 3, 2},
        StoredCase{"tetra_negative", 0, 2, -3, 0, 3, 2},
        StoredCase{"piracube_any", 0, 3, 99, 0, 3, 99},
        StoredCase{"piracube_huge", 0, 3, INT_MIN, 0, 3, INT_MIN},
        StoredCase{"sphere_2", 0, 4, 2, 0, 4, 2}, StoredCase{"sphere_5", 0, 4, 5, 0, 4, 5},
        StoredCase{"sphere_too_big", 0, 4, 6, 0, 4, 2}, StoredCase{"sphere_zero", 0, 4, 0, 0, 4, 2},
        StoredCase{"kind_0", 1, 0, 2, 1, 3, 2}, StoredCase{"kind_5", 0, 5, 4, 0, 3, 2},
        StoredCase{"kind_max", 0, INT_MAX, 1, 0, 3, 2}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace korvane
