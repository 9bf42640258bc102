#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ranges>
#include <tuple>

#include "app/settings.h"
#include "dialog_fixture.h"

namespace korvane::testing {
namespace {

using CommandTest = DialogTest;

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

// Each puzzle command builds its puzzle and stores its kind and level; the Type item marked
// after it (0: none). The cubes without a menu item leave the marks as they were; the sphere
// clears them. Training keeps the puzzle and its marks and stops the clock.
TEST_F(CommandTest, PuzzleCommandsBuildMarkAndStore) {
    startWith(2, 3);
    const auto marked = [&] {
        return std::ranges::count_if(std::views::iota(int{kCmdCubeLevel1}, kCmdPiracube + 1),
                                     [&](int item) { return platform.checked(item); });
    };
    const struct {
        int command, type, level, marked;
    } cases[] = {{kCmdCube2Extra + 2, kCube, 4, kCmdTetraLevel1 + 2},
                 {kCmdCube5Extra, kCube, 5, kCmdTetraLevel1 + 2},
                 {kCmdCubeLevel1, kCube, 1, kCmdCubeLevel1},
                 {kCmdCubeLevel4, kCube, 4, kCmdCubeLevel4},
                 {kCmdTetraLevel1 + 2, kTetrahedron, 3, kCmdTetraLevel1 + 2},
                 {kCmdTetraLevel4, kTetrahedron, 4, kCmdTetraLevel4},
                 {kCmdPiracube, kPiracube, 3, kCmdPiracube},
                 {kCmdSphere, kSphere, 2, 0},
                 {kCmdCube5Extra, kCube, 5, 0}};
    for (const auto& c : cases) {
        dialog.OnCommand(c.command);
        EXPECT_EQ(puzzle().puzzleType, c.type) << c.command;
        EXPECT_TRUE(c.type == kSphere || puzzle().size == c.level) << c.command;
        EXPECT_EQ(marked(), c.marked ? 1 : 0) << c.command;
        EXPECT_TRUE(!c.marked || platform.checked(c.marked)) << c.command;
        EXPECT_EQ(std::pair(configInt("Figura"), configInt("Nivel")), std::pair(c.type, c.level));
    }
    dialog.OnCommand(kCmdNewGame);
    dialog.OnCommand(kCmdTraining);
    EXPECT_EQ(puzzle().size, 5.0);
    EXPECT_TRUE(record().clockRunning == 0 && marked() == 0);
}

TEST_F(CommandTest, BackgroundAndPenCommandsDrawMarkAndStore) {
    start();
    for (int white : {1, 0}) {
        canvas.clear();
        dialog.OnCommand(white ? kCmdWhite : kCmdBlack);
        EXPECT_EQ(std::pair(dialog.view().bgColour, configInt("BkColor")), std::pair(white, white));
        EXPECT_TRUE(platform.checked(kCmdWhite) == white && platform.checked(kCmdBlack) != white);
        EXPECT_EQ(canvas.calls.front().brush, white ? kWhiteBrush : kBlackBrush); // the redraw
    }
    for (const auto& [command, pen, stored] :
         {std::tuple{kCmdPenThick, Pen::Thick, 1}, std::tuple{kCmdPenThin, Pen::Thin, 2},
          std::tuple{kCmdPenNone, Pen::Null, 0}}) {
        canvas.clear();
        dialog.OnCommand(command);
        EXPECT_EQ(configInt("PenW"), stored);
        EXPECT_EQ(canvas.calls.front().pen, pen); // the background rectangle's outline
        for (int item : {kCmdPenNone, kCmdPenThick, kCmdPenThin})
            EXPECT_EQ(platform.checked(item), item == command);
    }
}

// The colour aid: off unless stored as 1 (garbage is off); each option redraws, marks and stores;
// symbols add drawing on every kind without changing what the stickers themselves draw, and the
// palette changes sticker colours only.
TEST_F(CommandTest, ColourAidOptionsDrawMarkAndStore) {
    platform.ints[{"Config", "Symbols"}] = 7;
    platform.ints[{"Config", "Palette"}] = 1;
    start();
    EXPECT_FALSE(dialog.view().colourSymbols);
    EXPECT_TRUE(dialog.view().colourBlindPalette);
    EXPECT_TRUE(platform.checked(kCmdColourBlindPalette));
    dialog.OnCommand(kCmdColourBlindPalette);
    EXPECT_EQ(configInt("Palette"), 0);
    const auto redrawn = [&] {
        canvas.clear();
        dialog.redraw();
        return canvas.calls;
    };
    for (int command : {kCmdCubeLevel1 + 1, kCmdTetraLevel1 + 1, int{kCmdPiracube}}) {
        dialog.OnCommand(command);
        const std::vector<RecordingCanvas::Call> plain = redrawn();
        dialog.OnCommand(kCmdColourSymbols);
        EXPECT_TRUE(platform.checked(kCmdColourSymbols) && configInt("Symbols") == 1);
        const std::vector<RecordingCanvas::Call> marked = redrawn();
        EXPECT_GT(marked.size(), plain.size() + 10) << command;
        dialog.OnCommand(kCmdColourSymbols);
        EXPECT_EQ(configInt("Symbols"), 0);
        EXPECT_TRUE(redrawn() == plain) << command;
    }
}

TEST_F(CommandTest, DialogsHelpAndExit) {
    startWith(2, 3);
    dialog.OnCommand(kCmdHighscores);
    dialog.OnCommand(kCmdSphere);
    dialog.OnCommand(kCmdHighscores); // no table of its own: the first one
    EXPECT_EQ(platform.highscoreDialogs, (std::vector<int>{6, 0}));
    dialog.OnCommand(kCmdAbout);
    EXPECT_EQ(platform.aboutBoxes, 1);
    dialog.OnCommand(kCmdHelp);
    dialog.OnHelpRequest();
    ASSERT_EQ(platform.helpViewers.size(), 2u);
    EXPECT_EQ(platform.helpViewers[1].second, "Korvane.htm#MAIN_CONTENTS");

    const auto stored = platform.ints;
    dialog.OnCommand(kCmdExit);
    EXPECT_TRUE(platform.closed);
    dialog.OnDestroy();
    EXPECT_EQ(platform.ints, stored);
}

} // namespace
} // namespace korvane::testing
