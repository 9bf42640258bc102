#include "app/settings.h"

#include <climits>

#include "model/game_state.h"

namespace korvane {

namespace {

constexpr int kRejected = 0;

// The stored "Nivel" each kind 1..4 can be built with: a level in low..high passes; one outside
// becomes `otherwise`, or, where that is kRejected, sends the whole choice back to its defaults.
// The Piracube's build always makes level 3, so any stored level will do for it.
struct StoredLevels {
    int low;
    int high;
    int otherwise;
};
constexpr StoredLevels kStoredLevels[4] = {
    {1, 5, kRejected},             // cube
    {1, 4, kRejected},             // tetrahedron
    {INT_MIN, INT_MAX, kRejected}, // Piracube
    {1, 5, 2},                     // sphere
};

} // namespace

StartupChoice validateStartupChoice(int storedBkColor, int storedFigura, int storedNivel) {
    StartupChoice choice;
    if (storedBkColor == 0 || storedBkColor == 1) {
        choice.bgColour = storedBkColor;
    }
    if (storedFigura < kCube || storedFigura > kSphere) {
        return choice;
    }
    const StoredLevels& levels = kStoredLevels[storedFigura - 1];
    int level = storedNivel;
    if (level < levels.low || level > levels.high) {
        if (levels.otherwise == kRejected) {
            return choice;
        }
        level = levels.otherwise;
    }
    choice.puzzleType = storedFigura;
    choice.level = level;
    return choice;
}

} // namespace korvane
