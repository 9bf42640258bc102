#pragma once

#include "model/game_state.h"

namespace korvane {

// The perspective of the cube and the Piracube: the eye sits on the view axis at z = +6; the
// image plane is 5 units in front of it and one unit there is 50 pixels at zoom 1 (the parallel
// projection uses the same 50 pixels a unit).
inline constexpr double kEyeZ = 6.0;
inline constexpr double kImagePlane = 5.0;
inline constexpr double kPixelsPerUnit = 50.0;

// The zoom's bounds: the zoom buttons never go past them, and no puzzle is shown beyond them.
inline constexpr double kZoomMin = 0.2;
inline constexpr double kZoomMax = 2.0;

// A double becomes a pixel by truncation toward zero.
int truncToPixel(double v);

// Cube and Piracube: eye at z = +6, image plane 5 units from it, 50 pixels a unit times zoom.
Point projectPerspective(const View& view, double x, double y, double z);
// Tetrahedron and sphere: z is ignored.
Point projectParallel(const View& view, double x, double y);

// A projected point before truncation, for midpoints taken between projected points.
struct PointF {
    double x = 0.0;
    double y = 0.0;
};
PointF projectParallelExact(const View& view, double x, double y);
// The face test of a kind: cube and Piracube nz > 0.15, tetrahedron nz > 0, sphere (facet
// centre z) >= 0.
bool faceVisible(int puzzleType, double nz);

// Face slots of the cube and the Piracube, by face (normal index 0..5).
struct CubeFaceSlot {
    int slot;       // 1..3
    int outline[4]; // corner indices Q0..Q3
    int sign;       // faceSign of the slot when this face is shown
};
extern const CubeFaceSlot kCubeFaceSlots[kFaces];

// Face slots of the tetrahedron, by slot 1..4 (index slot - 1).
struct TetraFaceSlot {
    int normal;     // faceNormal index
    int colourFace; // stickerColour face
    int outline[3]; // corner indices Q0..Q2
};
extern const TetraFaceSlot kTetraFaceSlots[kFaceSlots];

} // namespace korvane
