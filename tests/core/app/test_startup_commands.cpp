#include <gtest/gtest.h>

#include "app/commands.h"
#include "dialog_fixture.h"

namespace korvane::testing {
namespace {

using CommandTest = DialogTest;

int markedTypeItems(const FakePlatform& platform) {
    int marked = 0;
    for (int item = kCmdCubeLevel1; item <= kCmdPiracube; ++item) {
        marked += platform.checked(item) ? 1 : 0;
    }
    return marked;
}

TEST_F(CommandTest, TypeCommandsBuildMarkAndStore) {
    start();
    struct Case {
        int command, type;
        double size;
        int nivel;
    };
    const Case cases[] = {{32788, 1, 1.0, 1},
                          {32791, 1, 4.0, 4},
                          {32794, 2, 3.0, 3},
                          {32795, 2, 4.0, 4},
                          {32796, 3, 3.0, 3}};
    for (const Case& c : cases) {
        dialog.OnCommand(c.command);
        EXPECT_EQ(puzzle().puzzleType, c.type);
        EXPECT_EQ(puzzle().size, c.size);
        EXPECT_EQ(markedTypeItems(platform), 1);
        EXPECT_TRUE(platform.checked(c.command));
        EXPECT_EQ(configInt("Figura"), c.type);
        EXPECT_EQ(configInt("Nivel"), c.nivel);
    }
}

TEST_F(CommandTest, CommandsWithoutMenuItemsKeepOrClearTheMarks) {
    startWith(2, 3);
    dialog.OnCommand(32776); // the cube of level 4, marks unchanged
    EXPECT_EQ(puzzle().puzzleType, kCube);
    EXPECT_EQ(puzzle().size, 4.0);
    EXPECT_TRUE(platform.checked(32794));
    dialog.OnCommand(32777); // level 5: no table, restored at the next start
    EXPECT_EQ(puzzle().size, 5.0);
    EXPECT_EQ(configInt("Nivel"), 5);
    dialog.OnCommand(kCmdNewGame);
    dialog.OnCommand(kCmdTraining); // the same puzzle solved, the clock stopped, marks kept
    EXPECT_EQ(puzzle().size, 5.0);
    EXPECT_EQ(record().clockRunning, 0);
    EXPECT_TRUE(platform.checked(32794));
    dialog.OnCommand(kCmdSphere);
    EXPECT_EQ(puzzle().puzzleType, kSphere);
    EXPECT_EQ(markedTypeItems(platform), 0);
    EXPECT_EQ(configInt("Figura"), 4);
    EXPECT_EQ(configInt("Nivel"), 2);
}

TEST_F(CommandTest, BackgroundAndPenCommandsDrawMarkAndStore) {
    start();
    dialog.OnCommand(kCmdWhite);
    EXPECT_EQ(dialog.view().bgColour, 1);
    EXPECT_TRUE(platform.checked(kCmdWhite));
    EXPECT_FALSE(platform.checked(kCmdBlack));
    EXPECT_EQ(configInt("BkColor"), 1);
    EXPECT_EQ(canvas.calls.front().brush, kWhiteBrush); // the redraw cleared to white
    dialog.OnCommand(kCmdBlack);
    EXPECT_EQ(configInt("BkColor"), 0);
    EXPECT_TRUE(platform.checked(kCmdBlack));

    const struct {
        int command;
        Pen pen;
        int stored;
    } pens[] = {{32786, Pen::Thick, 1}, {32806, Pen::Thin, 2}, {32785, Pen::Null, 0}};
    for (const auto& p : pens) {
        canvas.clear();
        dialog.OnCommand(p.command);
        EXPECT_EQ(configInt("PenW"), p.stored);
        EXPECT_EQ(canvas.calls.front().pen, p.pen); // the background rectangle's outline
        for (int item : {32785, 32786, 32806}) {
            EXPECT_EQ(platform.checked(item), item == p.command);
        }
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
    for (int type : {kCube, kTetrahedron, kPiracube}) {
        dialog.OnCommand(type == kCube ? kCmdCubeLevel1 + 1
                                       : (type == kTetrahedron ? kCmdTetraLevel1 + 1 : kCmdPiracube));
        canvas.clear();
        dialog.redraw();
        const std::vector<testing::RecordingCanvas::Call> plain = canvas.calls;
        dialog.OnCommand(kCmdColourSymbols);
        EXPECT_TRUE(platform.checked(kCmdColourSymbols));
        EXPECT_EQ(configInt("Symbols"), 1);
        canvas.clear();
        dialog.redraw();
        EXPECT_GT(canvas.calls.size(), plain.size() + 10) << type;
        dialog.OnCommand(kCmdColourSymbols);
        EXPECT_EQ(configInt("Symbols"), 0);
        canvas.clear();
        dialog.redraw();
        EXPECT_EQ(canvas.calls.size(), plain.size()) << type;
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
    EXPECT_FALSE(platform.timerRunning(kClockTimer));
}

} // namespace
} // namespace korvane::testing
