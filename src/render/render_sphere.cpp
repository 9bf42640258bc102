#include "render/palette.h"
#include "render/projection.h"
#include "render/puzzle_drawing.h"

namespace korvane {

namespace {

constexpr int kBands = 4;
constexpr int kSectors = 8;
constexpr int kCentrePoint = 4;

PointF projectedCentre(const Puzzle& g, const View& view, int band, int sector) {
    const double* c = g.spherePoint[band][(sector + kSectors) % kSectors][kCentrePoint];
    return projectParallelExact(view, c[0], c[1]);
}

// Halfway between the centre marks of two neighbouring facets, before truncation.
Point centreMidpoint(const Puzzle& g, const View& view, int band, int sector, int neighbour) {
    const PointF p = projectedCentre(g, view, band, sector);
    const PointF q = projectedCentre(g, view, band, neighbour);
    return {truncToPixel((p.x + q.x) / 2.0), truncToPixel((p.y + q.y) / 2.0)};
}

Point projectedCorner(const Puzzle& g, const View& view, int band, int sector, int point) {
    const double* c = g.spherePoint[band][sector][point];
    return projectParallel(view, c[0], c[1]);
}

} // namespace

// Each facet bulges out to the centre marks of its neighbours in the band, so the ball looks
// round with only eight sectors. Facets are flat colours by sector, outlined with whatever pen
// the back buffer holds (the pen chosen in the settings).
void drawSphere(const Puzzle& g, const View& view, Canvas& canvas, ScreenRecords& /*records*/) {
    for (int i = 0; i < kBands; ++i) {
        for (int j = 0; j < kSectors; ++j) {
            if (!faceVisible(kSphere, g.spherePoint[i][j][kCentrePoint][2])) {
                continue;
            }
            canvas.selectBrush(Brush{flatBrushColour(j)});
            const Point facet[6] = {
                projectedCorner(g, view, i, j, 0),    projectedCorner(g, view, i, j, 1),
                centreMidpoint(g, view, i, j - 1, j), projectedCorner(g, view, i, j, 2),
                projectedCorner(g, view, i, j, 3),    centreMidpoint(g, view, i, j, j + 1)};
            canvas.polygon(facet, 6);
        }
    }
}

} // namespace korvane
