#include "model/rotation.h"

#include <cmath>

namespace korvane {

namespace {

using Matrix = double[5][5];

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

// p as the row vector (x, y, z, 1) times xformMatrix, keeping the first three columns.
void applyXform(const GameState& g, double* p) {
    const auto& m = g.xformMatrix;
    const double x = p[0];
    const double y = p[1];
    const double z = p[2];
    p[0] = m[1][1] * x + m[2][1] * y + m[3][1] * z;
    p[1] = m[1][2] * x + m[2][2] * y + m[3][2] * z;
    p[2] = m[1][3] * x + m[2][3] * y + m[3][3] * z;
}

// The turn axis of the current turn: cube axes 1..3 are the normals of faces 0, 2, 4 (z, y, x
// in the puzzle's own frame), tetrahedron axes 1..4 the normals 2, 3, 1, 0, the Piracube turns
// about its corner. A kind or axis without one gives the zero vector, which falls back to x.
void turnAxisVector(const GameState& g, double axis[3]) {
    static constexpr int kCubeNormal[4] = {-1, 0, 2, 4};
    static constexpr int kTetraNormal[5] = {-1, 2, 3, 1, 0};
    const double* v = nullptr;
    const int t = g.turnAxis;
    if (g.puzzleType == kCube && t >= 1 && t <= 3) {
        v = g.faceNormal[kCubeNormal[t]];
    } else if (g.puzzleType == kTetrahedron && t >= 1 && t <= 4) {
        v = g.faceNormal[kTetraNormal[t]];
    } else if (g.puzzleType == kPiracube && t >= 0 && t < kCorners) {
        v = g.corner[t];
    }
    for (int i = 0; i < 3; ++i) {
        axis[i] = v ? v[i] : 0.0;
    }
}

void setAngle(GameState& g, double angle) {
    g.rotCos = std::cos(angle * g.degToRad);
    g.rotSin = std::sin(angle * g.degToRad);
}

// Every point a view spin or model rotation moves: the 8 corners and 6 normals, whatever the
// kind uses of them.
template <typename Rotate> void rotateCornersAndNormals(GameState& g, Rotate rotate) {
    for (auto& c : g.corner) {
        rotate(g, c);
    }
    for (auto& n : g.faceNormal) {
        rotate(g, n);
    }
}

template <typename Rotate> void spin(GameState& g, double angle, Rotate rotate) {
    setAngle(g, angle);
    if (g.puzzleType == kSphere) {
        for (auto& band : g.spherePoint) {
            for (auto& facet : band) {
                for (auto& p : facet) {
                    rotate(g, p);
                }
            }
        }
    } else {
        rotateCornersAndNormals(g, rotate);
    }
}

} // namespace

// The product is formed in a local matrix first: GCC 12 at -O3 miscompiled the loop that wrote
// matC in place while it read matA and matB of the same object.
void multiplyMatrices(GameState& g) {
    double product[5][5] = {};
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) {
            double sum = 0.0;
            for (int k = 1; k <= 4; ++k) {
                sum += g.matA[i][k] * g.matB[k][j];
            }
            product[i][j] = sum;
        }
    }
    copyMatrix(g.matC, product);
}

void rotatePointX(GameState& g, double* p) {
    setIdentity(g.xformMatrix);
    g.xformMatrix[2][2] = g.rotCos;
    g.xformMatrix[2][3] = g.rotSin;
    g.xformMatrix[3][2] = -g.rotSin;
    g.xformMatrix[3][3] = g.rotCos;
    applyXform(g, p);
}

void rotatePointY(GameState& g, double* p) {
    setIdentity(g.xformMatrix);
    g.xformMatrix[1][1] = g.rotCos;
    g.xformMatrix[1][3] = -g.rotSin;
    g.xformMatrix[3][1] = g.rotSin;
    g.xformMatrix[3][3] = g.rotCos;
    applyXform(g, p);
}

// Turn the axis into the xz plane (about x), onto +z (about y), rotate about +z, and undo the
// two alignments: the product of five matrices, built up in matA.
void rotateAboutAxis(GameState& g, double* p) {
    double axis[3];
    turnAxisVector(g, axis);
    const double u = axis[0];
    const double v = axis[1];
    const double w = axis[2];
    if (v == 0.0 && w == 0.0) {
        rotatePointX(g, p);
        return;
    }
    const double d = std::sqrt(v * v + w * w);
    const double l = std::sqrt(u * u + d * d);
    const double c = g.rotCos;
    const double s = g.rotSin;
    // Each step: {row, column, value} entries over the identity of matB.
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
    setIdentity(g.matA);
    g.matA[2][2] = w / d;
    g.matA[2][3] = v / d;
    g.matA[3][2] = -v / d;
    g.matA[3][3] = w / d;
    for (int k = 0; k < 4; ++k) {
        setIdentity(g.matB);
        for (const Entry& e : steps[k]) {
            g.matB[e.i][e.j] = e.value;
        }
        multiplyMatrices(g);
        copyMatrix(k < 3 ? g.matA : g.xformMatrix, g.matC);
    }
    applyXform(g, p);
}

void spinX(GameState& g, double angle) {
    spin(g, angle, rotatePointX);
}

void spinY(GameState& g, double angle) {
    spin(g, angle, rotatePointY);
}

void rotateModel(GameState& g, double angle) {
    setAngle(g, angle);
    rotateCornersAndNormals(g, rotateAboutAxis);
}

} // namespace korvane
