#include "app/settings.h"

#include "model/puzzle_kind.h"

namespace korvane {

StartupChoice validateStartupChoice(int storedBkColor, int storedFigura, int storedNivel) {
    StartupChoice choice;
    if (storedBkColor == 0 || storedBkColor == 1) {
        choice.bgColour = storedBkColor;
    }
    const PuzzleKind* kind = puzzleKind(storedFigura);
    if (kind == nullptr) {
        return choice;
    }
    int level = storedNivel;
    if (level < kind->storedLow || level > kind->storedHigh) {
        if (kind->storedOtherwise == 0) {
            return choice;
        }
        level = kind->storedOtherwise;
    }
    choice.puzzleType = storedFigura;
    choice.level = level;
    return choice;
}

} // namespace korvane
