#pragma once

#include "model/game_state.h"

namespace korvane {

// The part of the back buffer the puzzle may cover: below the status strip and inside the window,
// in whole pixels (inclusive), less a margin for the widest outline drawn around a sticker; and
// the screen centre the projection draws the puzzle around.
struct PictureArea {
    int left;
    int top;
    int right;
    int bottom;
    double centreX;
    double centreY;
};
inline constexpr int kPictureMargin = 2;
inline constexpr PictureArea kPuzzlePicture{
    kPictureMargin, 24 + kPictureMargin, 239 - kPictureMargin, 319 - kPictureMargin, 120.0, 145.0};

// The farthest, in pixels at zoom 1, that a point at distance `radius` from the puzzle's centre
// can land from the screen centre in any orientation. Perspective (cube, Piracube): the edge of
// the sphere as seen from the eye, which lies off the image plane; parallel (tetrahedron,
// sphere): the radius itself.
double reachPerZoom(bool perspective, double radius);

// The largest zoom at which a reach of `reachPerZoom` pixels per unit zoom stays inside the area
// around its centre, never above the game's largest zoom 2.0.
double zoomLimitForReach(double reachPerZoom, const PictureArea& area);

// The largest zoom for a kind and level: every corner of the puzzle, in any orientation and at
// any point of a turn (turns are rotations about the centre too), projects inside the area. The
// geometry does not grow with the level; the level is taken so that a kind whose size did could
// say so here. Kinds the game does not know keep 2.0.
double zoomLimit(int puzzleType, int level, const PictureArea& area = kPuzzlePicture);

// The largest zoom for the puzzle g holds, around g's own screen centre.
double zoomLimit(const Puzzle& puzzle, const View& view);

} // namespace korvane
