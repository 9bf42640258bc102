#include "app/kept_game.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

#include "input/zoom.h"
#include "model/game_rules.h"
#include "model/puzzle_build.h"
#include "model/puzzle_kind.h"
#include "model/turns.h"

namespace korvane {

namespace {

constexpr char kFirstLine[] = "Korvane kept game 1";
// Far more moves than any game takes; a longer list is damage, not play.
constexpr std::size_t kMostMoves = 100000;
constexpr double kRotationTolerance = 1e-6;

using Matrix = double[3][3];

// The puzzle built afresh with the scramble and the moves played on it, or nothing when one
// of them is not a turn of this puzzle.
std::optional<Puzzle> replay(const KeptGame& game) {
    std::optional<Puzzle> puzzle(std::in_place);
    buildPuzzleState(*puzzle, game.puzzleType, game.level);
    for (const std::vector<Move>* list : {&game.scramble, &game.moves}) {
        for (const Move& move : *list) {
            if (!moveFits(*puzzle, move)) {
                return std::nullopt;
            }
            applyMove(*puzzle, move);
        }
    }
    return puzzle;
}

// FNV-1a over the colours of every sticker slot.
std::uint64_t stickerSum(const Puzzle& puzzle) {
    std::uint64_t sum = 14695981039346656037ull;
    for (const auto& row : puzzle.stickerColour) {
        for (const auto& cell : row) {
            for (int colour : cell) {
                sum = (sum ^ static_cast<std::uint64_t>(colour & 0xff)) * 1099511628211ull;
            }
        }
    }
    return sum;
}

// Three edges from corner 0 that span space, as the columns of a matrix: a tetrahedron's
// corners 1..3, a cube's neighbours 1, 2 and 4.
void cornerFrame(const Puzzle& puzzle, Matrix& m) {
    const int others[3] = {1, 2, puzzle.puzzleType == kTetrahedron ? 3 : 4};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            m[r][c] = puzzle.corner[others[c]][r] - puzzle.corner[0][r];
        }
    }
}

void invert(const Matrix& m, Matrix& inv) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            // The cofactor of (c, r), by cyclic indices.
            const int r1 = (c + 1) % 3;
            const int r2 = (c + 2) % 3;
            const int c1 = (r + 1) % 3;
            const int c2 = (r + 2) % 3;
            inv[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    }
}

void multiply(const Matrix& a, const Matrix& b, Matrix& out) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
        }
    }
}

bool isRotation(const Matrix& m) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const double dot = m[r][0] * m[c][0] + m[r][1] * m[c][1] + m[r][2] * m[c][2];
            if (!(std::fabs(dot - (r == c ? 1.0 : 0.0)) < kRotationTolerance)) {
                return false;
            }
        }
    }
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    return det > 0.0;
}

// The nearest true rotation of a matrix that is one within the stored digits, so the puzzle
// keeps its shape however often a game is kept and resumed.
void orthonormalise(Matrix& m) {
    const auto normalise = [](double* v) {
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        for (int i = 0; i < 3; ++i) {
            v[i] /= length;
        }
    };
    normalise(m[0]);
    const double along = m[1][0] * m[0][0] + m[1][1] * m[0][1] + m[1][2] * m[0][2];
    for (int i = 0; i < 3; ++i) {
        m[1][i] -= along * m[0][i];
    }
    normalise(m[1]);
    m[2][0] = m[0][1] * m[1][2] - m[0][2] * m[1][1];
    m[2][1] = m[0][2] * m[1][0] - m[0][0] * m[1][2];
    m[2][2] = m[0][0] * m[1][1] - m[0][1] * m[1][0];
}

void rotatePoint(const Matrix& m, double* p) {
    const double x = p[0];
    const double y = p[1];
    const double z = p[2];
    for (int r = 0; r < 3; ++r) {
        p[r] = m[r][0] * x + m[r][1] * y + m[r][2] * z;
    }
}

std::string movesText(const std::vector<Move>& moves) {
    std::string text;
    for (const Move& move : moves) {
        text += text.empty() ? "" : " ";
        text += moveText(move);
    }
    return text;
}

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The words of a line, split at single spaces.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        out.push_back(text.substr(0, space));
        text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
    }
    return out;
}

template <typename T> bool readNumber(std::string_view text, T& value, int base = 10) {
    const char* end = text.data() + text.size();
    std::from_chars_result result{};
    if constexpr (std::is_floating_point_v<T>) {
        result = std::from_chars(text.data(), end, value);
    } else {
        result = std::from_chars(text.data(), end, value, base);
    }
    return !text.empty() && result.ec == std::errc{} && result.ptr == end;
}

bool readMoves(std::string_view text, std::vector<Move>& moves) {
    for (std::string_view word : words(text)) {
        const std::optional<Move> move = parseMove(word);
        if (!move || moves.size() >= kMostMoves) {
            return false;
        }
        moves.push_back(*move);
    }
    return true;
}

// Each field's reading, by its name; false for a value that is not one.
using FieldReader = bool (*)(std::string_view, KeptGame&);
struct Field {
    const char* name;
    FieldReader read;
};
const Field kFields[] = {
    {"puzzle",
     [](std::string_view v, KeptGame& g) {
         const auto w = words(v);
         return w.size() == 2 && readNumber(w[0], g.puzzleType) && readNumber(w[1], g.level);
     }},
    {"scramble", [](std::string_view v, KeptGame& g) { return readMoves(v, g.scramble); }},
    {"moves", [](std::string_view v, KeptGame& g) { return readMoves(v, g.moves); }},
    {"undo",
     [](std::string_view v, KeptGame& g) {
         g.canUndo = v == "1";
         return v == "0" || v == "1";
     }},
    {"orientation",
     [](std::string_view v, KeptGame& g) {
         const auto w = words(v);
         bool ok = w.size() == 9;
         for (std::size_t i = 0; ok && i < 9; ++i) {
             ok = readNumber(w[i], g.orientation[i / 3][i % 3]);
         }
         return ok && isRotation(g.orientation);
     }},
    {"zoom",
     [](std::string_view v, KeptGame& g) {
         return readNumber(v, g.zoom) && g.zoom >= kZoomMin && g.zoom <= kZoomMax;
     }},
    {"elapsed",
     [](std::string_view v, KeptGame& g) {
         return readNumber(v, g.elapsedSeconds) && g.elapsedSeconds >= 0;
     }},
    {"stickers", [](std::string_view v,
                    KeptGame& g) { return v.size() == 16 && readNumber(v, g.stickerSum, 16); }},
};

// What the fields say together: a kind with timed games, a level its build keeps, a scramble
// as New Game draws it, undo only of a move that was made.
std::string checkGame(const KeptGame& g) {
    if (g.puzzleType != kCube && g.puzzleType != kTetrahedron && g.puzzleType != kPiracube) {
        return "no timed game is played on puzzle " + std::to_string(g.puzzleType);
    }
    if (buildLevel(g.puzzleType, g.level) != g.level) {
        return "level " + std::to_string(g.level) + " does not fit its puzzle";
    }
    if (g.scramble.size() != static_cast<std::size_t>(kScrambleTurns)) {
        return "the scramble is not " + std::to_string(kScrambleTurns) + " turns";
    }
    if (g.canUndo && g.moves.empty()) {
        return "undo without a move";
    }
    return {};
}

} // namespace

KeptGame keepGame(const Puzzle& puzzle, const GameRecord& record, const View& view,
                  int elapsedSeconds) {
    KeptGame game;
    game.puzzleType = puzzle.puzzleType;
    game.level = sizeLevel(puzzle);
    game.scramble = record.scramble;
    game.moves = record.moves;
    game.canUndo = record.undoState == 0 && !record.moves.empty();
    game.zoom = view.zoom;
    game.elapsedSeconds = elapsedSeconds;
    Puzzle standard;
    buildPuzzleState(standard, puzzle.puzzleType, game.level);
    Matrix now;
    Matrix before;
    Matrix inverse;
    cornerFrame(puzzle, now);
    cornerFrame(standard, before);
    invert(before, inverse);
    multiply(now, inverse, game.orientation);
    const std::optional<Puzzle> played = replay(game);
    game.stickerSum = played ? stickerSum(*played) : 0;
    return game;
}

std::string formatKeptGame(const KeptGame& g) {
    std::string orientation;
    for (const auto& row : g.orientation) {
        for (double v : row) {
            orientation += (orientation.empty() ? "" : " ") + numberText(v);
        }
    }
    char sum[17];
    std::snprintf(sum, sizeof sum, "%016llx", static_cast<unsigned long long>(g.stickerSum));
    return std::string(kFirstLine) + "\npuzzle " + std::to_string(g.puzzleType) + " " +
           std::to_string(g.level) + "\nscramble " + movesText(g.scramble) + "\nmoves " +
           movesText(g.moves) + "\nundo " + (g.canUndo ? "1" : "0") + "\norientation " +
           orientation + "\nzoom " + numberText(g.zoom) + "\nelapsed " +
           std::to_string(g.elapsedSeconds) + "\nstickers " + sum + "\n";
}

KeptGameReading parseKeptGame(std::string_view text) {
    std::size_t end = text.find('\n');
    if (text.substr(0, end) != kFirstLine) {
        return {std::nullopt, "not a kept game of this version"};
    }
    KeptGame game;
    std::map<std::string_view, int> seen;
    while (end != std::string_view::npos && end + 1 < text.size()) {
        text = text.substr(end + 1);
        end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        const std::size_t space = line.find(' ');
        const std::string_view name = line.substr(0, space);
        const std::string_view value =
            space == std::string_view::npos ? std::string_view{} : line.substr(space + 1);
        const Field* field = nullptr;
        for (const Field& f : kFields) {
            field = name == f.name ? &f : field;
        }
        if (field == nullptr || ++seen[name] > 1 || !field->read(value, game)) {
            return {std::nullopt, "damaged line \"" + std::string(line.substr(0, 40)) + "\""};
        }
    }
    if (seen.size() != std::size(kFields)) {
        return {std::nullopt, "fields are missing"};
    }
    std::string problem = checkGame(game);
    if (!problem.empty()) {
        return {std::nullopt, problem};
    }
    return {game, {}};
}

std::string restoreKeptGame(const KeptGame& game, Puzzle& puzzle, View& view) {
    std::optional<Puzzle> played = replay(game);
    if (!played) {
        return "a move does not fit the puzzle";
    }
    if (stickerSum(*played) != game.stickerSum) {
        return "the stickers differ from the kept ones";
    }
    Matrix rotation;
    std::copy(&game.orientation[0][0], &game.orientation[0][0] + 9, &rotation[0][0]);
    orthonormalise(rotation);
    for (auto& corner : played->corner) {
        rotatePoint(rotation, corner);
    }
    for (auto& normal : played->faceNormal) {
        rotatePoint(rotation, normal);
    }
    puzzle = *played;
    view.zoom = game.zoom;
    return {};
}

} // namespace korvane
