#include "render/projection.h"

#include "render/puzzle_drawing.h"

namespace korvane {

const CubeFaceSlot kCubeFaceSlots[kFaces] = {
    {1, {0, 1, 3, 2}, +1}, // +z
    {1, {4, 5, 7, 6}, -1}, // -z
    {2, {0, 1, 5, 4}, -1}, // +y
    {2, {2, 3, 7, 6}, +1}, // -y
    {3, {1, 3, 7, 5}, +1}, // +x
    {3, {0, 2, 6, 4}, -1}, // -x
};

const TetraFaceSlot kTetraFaceSlots[kFaceSlots] = {
    {2, 1, {3, 0, 2}},
    {3, 3, {2, 1, 3}},
    {1, 0, {3, 1, 0}},
    {0, 2, {0, 1, 2}},
};

int truncToPixel(double v) {
    return static_cast<int>(v);
}

Point projectPerspective(const View& g, double x, double y, double z) {
    const double d = z - kEyeZ;
    const double px = ((x * kImagePlane) / d) * g.zoom * kPixelsPerUnit;
    const double py = ((y * kImagePlane) / d) * g.zoom * kPixelsPerUnit;
    return {truncToPixel(g.centreX - px), truncToPixel(g.centreY - py)};
}

PointF projectParallelExact(const View& g, double x, double y) {
    return {(x * g.zoom) * kPixelsPerUnit + g.centreX, (y * g.zoom) * kPixelsPerUnit + g.centreY};
}

Point projectParallel(const View& g, double x, double y) {
    const PointF p = projectParallelExact(g, x, y);
    return {truncToPixel(p.x), truncToPixel(p.y)};
}

bool faceVisible(int puzzleType, double nz) {
    const KindDrawing* kind = kindDrawing(puzzleType);
    return kind != nullptr &&
           (nz > kind->faceThreshold || (kind->faceAtThreshold && nz == kind->faceThreshold));
}

} // namespace korvane
