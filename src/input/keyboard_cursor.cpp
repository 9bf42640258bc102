#include "input/keyboard_cursor.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "input/point_in_polygon.h"
#include "input/sticker_scan.h"

namespace korvane {

namespace {

// A step aside counts this many steps ahead: the cursor keeps to the row or column it moves
// along while it can, and still finds the next face when nothing lies straight ahead.
constexpr double kAsideWeight = 2.0;

// Where each edge of a cell leads on its face, in the order the redraw lays out the corners: a
// cube cell's to row - 1, column - 1, row + 1, column + 1; an upright triangle's (even column)
// to both neighbours in its row and then the row before, an inverted one's to the row after and
// then both neighbours in its row.
struct GridStep {
    int row;
    int col;
};
constexpr GridStep kCubeEdgeSteps[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
constexpr GridStep kUprightEdgeSteps[3] = {{0, -1}, {0, 1}, {-1, 1}};
constexpr GridStep kInvertedEdgeSteps[3] = {{1, -1}, {0, -1}, {0, 1}};

GridStep edgeStep(const CursorSticker& s, int e) {
    if (s.points == 4) {
        return kCubeEdgeSteps[e];
    }
    return s.id.col % 2 == 0 ? kUprightEdgeSteps[e] : kInvertedEdgeSteps[e];
}

// How far apart, in pixels, two faces may draw the ends of the edge they share.
constexpr int kEdgeSlack = 2;

struct Direction {
    double dx;
    double dy;
};
// Screen y grows downwards.
Direction directionOf(Arrow arrow) {
    switch (arrow) {
    case Arrow::Up:
        return {0, -1};
    case Arrow::Down:
        return {0, 1};
    case Arrow::Left:
        return {-1, 0};
    case Arrow::Right:
        break;
    }
    return {1, 0};
}

bool sameSticker(StickerHit a, StickerHit b) {
    return a.slot == b.slot && a.row == b.row && a.col == b.col;
}

// Pixels of the cell by distance from its middle, nearest first.
std::vector<Point> cellPixels(const Point* cell, int points, double mx, double my) {
    int left = cell[0].x, right = cell[0].x, top = cell[0].y, bottom = cell[0].y;
    for (int i = 1; i < points; ++i) {
        left = std::min(left, cell[i].x);
        right = std::max(right, cell[i].x);
        top = std::min(top, cell[i].y);
        bottom = std::max(bottom, cell[i].y);
    }
    std::vector<Point> pixels;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (pointInPolygon(cell, points, x, y)) {
                pixels.push_back({x, y});
            }
        }
    }
    const auto distance = [mx, my](Point p) { return std::hypot(p.x - mx, p.y - my); };
    std::stable_sort(pixels.begin(), pixels.end(),
                     [&](Point a, Point b) { return distance(a) < distance(b); });
    return pixels;
}

// The sticker slots of a face slot the press scan visits, in its order.
std::vector<StickerHit> slotCells(const StylusTarget& g, int slot) {
    std::vector<StickerHit> cells;
    if (g.puzzle.puzzleType == kPiracube) {
        for (StickerHit h : {StickerHit{slot, 1, 0}, {slot, 1, 1}, {slot, 2, 0}, {slot, 2, 1}}) {
            cells.push_back(h);
        }
        return cells;
    }
    const int n = gridLevel(g, g.puzzle.puzzleType);
    for (int row = 0; row <= n; ++row) {
        const int lastCol = g.puzzle.puzzleType == kTetrahedron ? 2 * n - 2 * row : n;
        for (int col = 0; col <= lastCol; ++col) {
            cells.push_back({slot, row, col});
        }
    }
    return cells;
}

// The cube's redraw marks the slots it left out with (-1, -1) outlines; the other kinds name
// their faces in the slot (see slotOnScreen).
bool slotDrawn(const StylusTarget& g, int slot) {
    if (g.puzzle.puzzleType == kCube && g.screen.faceOutline[slot - 1][0] == Point{-1, -1}) {
        return false;
    }
    return slotOnScreen(g, g.puzzle.puzzleType, slot);
}

int faceSlots(int puzzleType) {
    switch (puzzleType) {
    case kCube:
    case kPiracube:
        return 3;
    case kTetrahedron:
        return 4;
    default:
        return 0;
    }
}

// The nearest sticker whose middle lies ahead, counting a step aside twice a step ahead;
// `current` when there is none.
int nearestAhead(const std::vector<CursorSticker>& stickers, int current, Arrow arrow) {
    const Direction d = directionOf(arrow);
    const CursorSticker& from = stickers[current];
    int best = current;
    double bestCost = 0.0;
    for (int i = 0; i < static_cast<int>(stickers.size()); ++i) {
        const double ex = stickers[i].x - from.x;
        const double ey = stickers[i].y - from.y;
        const double ahead = ex * d.dx + ey * d.dy;
        if (i == current || ahead <= 0.0) {
            continue;
        }
        const double cost = ahead + kAsideWeight * std::fabs(ex * d.dy - ey * d.dx);
        if (best == current || cost < bestCost) {
            best = i;
            bestCost = cost;
        }
    }
    return best;
}

// How far the nearest corner of s lies from p, in whole pixels along the farther axis.
int cornerDistance(const CursorSticker& s, Point p) {
    int best = std::numeric_limits<int>::max();
    for (int i = 0; i < s.points; ++i) {
        best = std::min(best, std::max(std::abs(s.cell[i].x - p.x), std::abs(s.cell[i].y - p.y)));
    }
    return best;
}

// At the edge of a face: the sticker of another face across edge e of the current one, the one
// with corners nearest both its ends, within a pixel or two, as each face interpolates the
// shared edge from its own outline. -1 when there is none.
int acrossFaceEdge(const std::vector<CursorSticker>& stickers, int current, int e) {
    const CursorSticker& from = stickers[current];
    const Point a = from.cell[e];
    const Point b = from.cell[(e + 1) % from.points];
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < static_cast<int>(stickers.size()); ++i) {
        if (i == current || a == b || stickers[i].id.slot == from.id.slot) {
            continue;
        }
        const int da = cornerDistance(stickers[i], a);
        const int db = cornerDistance(stickers[i], b);
        if (da <= kEdgeSlack && db <= kEdgeSlack && (best < 0 || da + db < bestDistance)) {
            best = i;
            bestDistance = da + db;
        }
    }
    return best;
}

// The sticker edge e leads to on the same face. A face seen nearly edge-on can hold slivers no
// press finds, which leave gaps in its rows and columns: past such a gap, the next sticker
// further along the row or column, so a stroke can still span it as the mouse's does. (A
// triangle's edge between rows leads along two lines at once, and goes no further.) -1 when
// there is none.
int alongGrid(const std::vector<CursorSticker>& stickers, int current, int e) {
    const CursorSticker& from = stickers[current];
    const GridStep step = edgeStep(from, e);
    const int reach = from.points == 3 && step.row != 0 ? 1 : 2 * kCells;
    for (int k = 1; k <= reach; ++k) {
        const StickerHit id{from.id.slot, from.id.row + k * step.row, from.id.col + k * step.col};
        const int i = findCursorSticker(stickers, id);
        if (i >= 0) {
            return i;
        }
    }
    return -1;
}

// A triangle's neighbours across its edges share its row or, across the edge between rows, both
// of its frame rows, which the strokes take as the first of them: so no stroke onto them turns
// the layers along its other frame row. The triangles of that line which share neither its row
// nor its first frame row lie on from the corner its edges leave free: a row further on for an
// upright triangle (even column), a row back for an inverted one, the same way up first. The
// nearest of them; or at the edge of the face, where none lies beyond, the nearest back along
// the line, which makes the stroke the other way, so both ways of every such turn can be named.
// -1 when the line holds no other.
int thirdWayNeighbour(const std::vector<CursorSticker>& stickers, int current) {
    const StickerHit t = stickers[current].id;
    const auto firstFrameRow = [](int row, int col) { return (col + 1) / 2 + row; };
    const int beyond = t.col % 2 == 0 ? 1 : -1;
    for (int way : {beyond, -beyond}) {
        for (int k = 1; k < kCells; ++k) {
            const int row = t.row + way * k;
            for (int col : {t.col, t.col ^ 1}) {
                const int i = findCursorSticker(stickers, {t.slot, row, col});
                if (i >= 0 && firstFrameRow(row, col) != firstFrameRow(t.row, t.col)) {
                    return i;
                }
            }
        }
    }
    return -1;
}

// How far, in radians, the way from a cell's middle through the middle of its edge e turns from
// the arrow's direction.
double edgeAngle(const CursorSticker& s, int e, Arrow arrow) {
    const Point a = s.cell[e];
    const Point b = s.cell[(e + 1) % s.points];
    const double ex = (a.x + b.x) / 2.0 - s.x;
    const double ey = (a.y + b.y) / 2.0 - s.y;
    const Direction d = directionOf(arrow);
    return std::fabs(std::atan2(ex * d.dy - ey * d.dx, ex * d.dx + ey * d.dy));
}

constexpr Arrow kArrows[4] = {Arrow::Right, Arrow::Down, Arrow::Left, Arrow::Up};

constexpr int kNoGrid = -2; // not a cell of a grid: the arrows go by the picture alone
constexpr int kNoEdge = -1; // no edge of the sticker goes the arrow's way

// The edge of the sticker's cell the arrow crosses: each edge takes its own arrow, the arrows
// turned as little as possible from the ways through the edges (the worst of them, then all
// together), so every row and column of a face can be walked both ways however the face is
// seen. A triangle leaves one arrow free.
int edgeForArrow(const std::vector<CursorSticker>& stickers, int current, Arrow arrow) {
    const CursorSticker& s = stickers[current];
    if (!s.onGrid) {
        return kNoGrid;
    }
    // Every order of the four arrows; edge e takes order[e], and a triangle leaves order[3].
    int order[4] = {0, 1, 2, 3};
    int best[4] = {0, 1, 2, 3};
    double bestWorst = 1e9, bestTotal = 1e9;
    do {
        double worst = 0.0, total = 0.0;
        for (int e = 0; e < s.points; ++e) {
            const double angle = edgeAngle(s, e, kArrows[order[e]]);
            worst = std::max(worst, angle);
            total += angle;
        }
        if (worst < bestWorst - 1e-9 || (worst < bestWorst + 1e-9 && total < bestTotal - 1e-9)) {
            bestWorst = worst;
            bestTotal = total;
            std::copy(order, order + 4, best);
        }
    } while (std::next_permutation(order, order + 4));
    for (int e = 0; e < s.points; ++e) {
        if (kArrows[best[e]] == arrow) {
            return e;
        }
    }
    return kNoEdge;
}

} // namespace

bool findPressPoint(const Point* cell, int points, StickerHit id, const PressHitTest& hit,
                    Point& press) {
    double mx = 0.0, my = 0.0;
    for (int i = 0; i < points; ++i) {
        mx += cell[i].x;
        my += cell[i].y;
    }
    mx /= points;
    my /= points;
    const Point middle{static_cast<int>(std::lround(mx)), static_cast<int>(std::lround(my))};
    if (sameSticker(hit(middle), id)) {
        press = middle;
        return true;
    }
    for (Point p : cellPixels(cell, points, mx, my)) {
        if (sameSticker(hit(p), id)) {
            press = p;
            return true;
        }
    }
    return false;
}

int neighbourSticker(const std::vector<CursorSticker>& stickers, int current, Arrow arrow) {
    if (current < 0 || current >= static_cast<int>(stickers.size())) {
        return current;
    }
    const int edge = edgeForArrow(stickers, current, arrow);
    int next = -1;
    if (edge == kNoEdge) {
        next = thirdWayNeighbour(stickers, current);
    } else if (edge != kNoGrid) {
        next = alongGrid(stickers, current, edge);
        if (next < 0) {
            next = acrossFaceEdge(stickers, current, edge);
        }
    }
    // Off the edge of the face, or a sticker with no grid: on to what lies ahead, which across
    // an edge is the next face.
    return next >= 0 ? next : nearestAhead(stickers, current, arrow);
}

int findCursorSticker(const std::vector<CursorSticker>& stickers, StickerHit id) {
    for (int i = 0; i < static_cast<int>(stickers.size()); ++i) {
        if (sameSticker(stickers[i].id, id)) {
            return i;
        }
    }
    return -1;
}

int nearestSticker(const std::vector<CursorSticker>& stickers, double x, double y) {
    int best = -1;
    double bestDistance = 0.0;
    for (int i = 0; i < static_cast<int>(stickers.size()); ++i) {
        const double distance = std::hypot(stickers[i].x - x, stickers[i].y - y);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<CursorSticker> cursorStickers(const StylusTarget& g) {
    const int points = g.puzzle.puzzleType == kCube ? 4 : 3;
    const PressHitTest hit = [&g](Point p) { return hitTestPress(g, p.x, p.y); };
    std::vector<CursorSticker> stickers;
    for (int slot = 1; slot <= faceSlots(g.puzzle.puzzleType); ++slot) {
        if (!slotDrawn(g, slot)) {
            continue;
        }
        for (StickerHit id : slotCells(g, slot)) {
            CursorSticker s;
            s.id = id;
            s.points = points;
            s.onGrid = g.puzzle.puzzleType != kPiracube;
            const Point* cell = g.screen.stickerPoly[slot - 1][id.row][id.col].p;
            std::copy(cell, cell + points, s.cell);
            for (int i = 0; i < points; ++i) {
                s.x += cell[i].x / static_cast<double>(points);
                s.y += cell[i].y / static_cast<double>(points);
            }
            if (findPressPoint(cell, points, id, hit, s.press)) {
                stickers.push_back(s);
            }
        }
    }
    return stickers;
}

} // namespace korvane
