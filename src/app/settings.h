#pragma once

namespace korvane {

// The stored choices the game starts from ("Config": "BkColor", "Figura", "Nivel").
struct StartupChoice {
    int bgColour = 0;
    int puzzleType = 3;
    int level = 2;
};

// Validate stored values: a "BkColor" other than 0 or 1 becomes 0; a kind other than 1..4, or a
// level outside its kind's range (cube 1..5, tetrahedron 1..4), falls back to the Piracube of
// level 2. Valid values pass unchanged (the Piracube and the sphere take any level; the build
// fixes the Piracube at 3 and the sphere keeps what it is given within 1..5, else 2).
StartupChoice validateStartupChoice(int storedBkColor, int storedFigura, int storedNivel);

} // namespace korvane
