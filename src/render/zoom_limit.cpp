#include "render/zoom_limit.h"

#include <algorithm>
#include <cmath>

#include "render/projection.h"

namespace korvane {

namespace {

// The corners of the cube, the Piracube and the tetrahedron lie at (+-1, +-1, +-1); the sphere's
// farthest points are the facet centre marks at 1.05.
const double kCornerRadius = std::sqrt(3.0);
constexpr double kSphereRadius = 1.05;

// The reach must stay strictly below the room on the right and bottom sides; the bound keeps
// this much below it.
constexpr double kSafety = 1e-6;

} // namespace

double reachPerZoom(bool perspective, double radius) {
    if (!perspective) {
        return radius * kPixelsPerUnit;
    }
    // The tangent from the eye to the sphere makes sin(a) = r / 6 with the view axis.
    const double tangent = radius / std::sqrt(kEyeZ * kEyeZ - radius * radius);
    return tangent * kImagePlane * kPixelsPerUnit;
}

double zoomLimitForReach(double reach, const PictureArea& a) {
    // Pixels truncate toward zero and the area lies at positive coordinates, so a point c + d
    // lands on or before edge pixel e while c + d < e + 1, and c - d on or after e while
    // c - d >= e.
    const double room = std::min(
        {a.centreX - a.left, a.right + 1 - a.centreX, a.centreY - a.top, a.bottom + 1 - a.centreY});
    if (room <= 0.0) {
        return 0.0;
    }
    if (!(reach > 0.0)) {
        return kZoomMax;
    }
    return std::min(kZoomMax, room / reach - kSafety);
}

double zoomLimit(int puzzleType, int /*level*/, const PictureArea& area) {
    switch (puzzleType) {
    case kCube:
    case kPiracube:
        return zoomLimitForReach(reachPerZoom(true, kCornerRadius), area);
    case kTetrahedron:
        return zoomLimitForReach(reachPerZoom(false, kCornerRadius), area);
    case kSphere:
        return zoomLimitForReach(reachPerZoom(false, kSphereRadius), area);
    default:
        return kZoomMax;
    }
}

double zoomLimit(const Puzzle& puzzle, const View& view) {
    PictureArea area = kPuzzlePicture;
    area.centreX = view.centreX;
    area.centreY = view.centreY;
    return zoomLimit(puzzle.puzzleType, sizeLevel(puzzle), area);
}

} // namespace korvane
