#include "model/rotation.h"

#include <cmath>

#include "model/puzzle_kind.h"

namespace korvane {

namespace {

constexpr double kDegToRad = 0.017453292519943278;

// 4 x 4 matrices used at indices 1..4; points are row vectors.
using Matrix = double[5][5];

struct Angle {
    double cos;
    double sin;
};

Angle angleOf(double degrees) {
    return {std::cos(degrees * kDegToRad), std::sin(degrees * kDegToRad)};
}

// Identity over the used indices 1..4; row and column 0 stay zero.
void setIdentity(Matrix& m) {
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            m[i][j] = (i == j && i > 0) ? 1.0 : 0.0;
        }
    }
}

void copyMatrix(Matrix& to, const Matrix& from) {
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) {
            to[i][j] = from[i][j];
        }
    }
}

// c = a x b over indices 1..4.
void multiplyMatrices(const Matrix& a, const Matrix& b, Matrix& c) {
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) {
            double sum = 0.0;
            for (int k = 1; k <= 4; ++k) {
                sum += a[i][k] * b[k][j];
            }
            c[i][j] = sum;
        }
    }
}

// p as the row vector (x, y, z, 1) times m, keeping the first three columns.
void applyXform(const Matrix& m, double* p) {
    const double x = p[0];
    const double y = p[1];
    const double z = p[2];
    p[0] = m[1][1] * x + m[2][1] * y + m[3][1] * z;
    p[1] = m[1][2] * x + m[2][2] * y + m[3][2] * z;
    p[2] = m[1][3] * x + m[2][3] * y + m[3][3] * z;
}

void rotatePointX(Angle r, double* p) {
    Matrix m;
    setIdentity(m);
    m[2][2] = r.cos;
    m[2][3] = r.sin;
    m[3][2] = -r.sin;
    m[3][3] = r.cos;
    applyXform(m, p);
}

void rotatePointY(Angle r, double* p) {
    Matrix m;
    setIdentity(m);
    m[1][1] = r.cos;
    m[1][3] = -r.sin;
    m[3][1] = r.sin;
    m[3][3] = r.cos;
    applyXform(m, p);
}

// The axis of a move as the puzzle stands: the normal its axis runs along or its corner. It is
// read afresh for every point, as the points (the axis among them) turn one by one.
const double* moveAxis(const Puzzle& puzzle, const Move& move) {
    const PuzzleKind* kind = puzzleKind(puzzle.puzzleType);
    if (kind == nullptr || !moveFits(puzzle, move)) {
        return nullptr;
    }
    return move.kind == Move::Kind::Corner ? puzzle.corner[move.corner()]
                                           : puzzle.faceNormal[kind->axisNormal[move.axis]];
}

// Turn the axis into the xz plane (about x), onto +z (about y), rotate about +z, and undo the
// two alignments: the product of five matrices. A missing axis falls back to x.
void rotateAboutAxis(const double* axis, Angle r, double* p) {
    const double u = axis ? axis[0] : 0.0;
    const double v = axis ? axis[1] : 0.0;
    const double w = axis ? axis[2] : 0.0;
    if (v == 0.0 && w == 0.0) {
        rotatePointX(r, p);
        return;
    }
    const double d = std::sqrt(v * v + w * w);
    const double l = std::sqrt(u * u + d * d);
    const double c = r.cos;
    const double s = r.sin;
    // Each step: {row, column, value} entries over the identity.
    struct Entry {
        int i, j;
        double value;
    };
    const Entry steps[4][4] = {
        {{1, 1, d / l}, {1, 3, u / l}, {3, 1, -u / l}, {3, 3, d / l}},
        {{1, 1, c}, {1, 2, s}, {2, 1, -s}, {2, 2, c}},
        {{1, 1, d / l}, {1, 3, -u / l}, {3, 1, u / l}, {3, 3, d / l}},
        {{2, 2, w / d}, {2, 3, -v / d}, {3, 2, v / d}, {3, 3, w / d}},
    };
    Matrix product;
    setIdentity(product);
    product[2][2] = w / d;
    product[2][3] = v / d;
    product[3][2] = -v / d;
    product[3][3] = w / d;
    Matrix step;
    Matrix next = {};
    for (const auto& entries : steps) {
        setIdentity(step);
        for (const Entry& e : entries) {
            step[e.i][e.j] = e.value;
        }
        multiplyMatrices(product, step, next);
        copyMatrix(product, next);
    }
    applyXform(product, p);
}

// Every point a view spin or model rotation moves: the 8 corners and 6 normals, whatever the
// kind uses of them.
template <typename Rotate> void rotateCornersAndNormals(Puzzle& puzzle, Rotate rotate) {
    for (auto& c : puzzle.corner) {
        rotate(c);
    }
    for (auto& n : puzzle.faceNormal) {
        rotate(n);
    }
}

template <typename Rotate> void spin(Puzzle& puzzle, double angle, Rotate rotate) {
    const Angle r = angleOf(angle);
    const auto turn = [r, rotate](double* p) { rotate(r, p); };
    if (puzzle.puzzleType == kSphere) {
        for (auto& band : puzzle.spherePoint) {
            for (auto& facet : band) {
                for (auto& p : facet) {
                    turn(p);
                }
            }
        }
    } else {
        rotateCornersAndNormals(puzzle, turn);
    }
}

} // namespace

void spinX(Puzzle& puzzle, double angle) {
    spin(puzzle, angle, rotatePointX);
}

void spinY(Puzzle& puzzle, double angle) {
    spin(puzzle, angle, rotatePointY);
}

void rotateModel(Puzzle& puzzle, const Move& move, double angle) {
    const Angle r = angleOf(angle);
    rotateCornersAndNormals(puzzle,
                            [&](double* p) { rotateAboutAxis(moveAxis(puzzle, move), r, p); });
}

} // namespace korvane
