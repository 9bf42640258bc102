#include "app/puzzle_dialog.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include "app/commands.h"
#include "input/sticker_strokes.h"
#include "model/distance_table.h"
#include "model/game_rules.h"
#include "model/puzzle_build.h"
#include "model/rotation.h"
#include "model/turns.h"

namespace korvane {

namespace {

constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr double kKeySpinDegrees = 5.0;

// The cursor's outline: a dark band with a light line along it, seen on every colour and on
// both backgrounds.
constexpr double kOuterHalfWidth = 2.0;
constexpr double kInnerHalfWidth = 0.75;
constexpr Brush kOuterBrush{{0, 0, 0}};
constexpr Brush kInnerBrush{{255, 255, 255}};
constexpr Brush kFlashBrush{{255, 0, 255}}; // a stroke that named no turn
// A hint's release end: amber, so the two ends of its stroke tell apart.
constexpr Brush kHintReleaseBrush{{255, 176, 0}};

void drawBand(Canvas& canvas, Point a, Point b, double halfWidth) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0) {
        return;
    }
    const int nx = static_cast<int>(std::lround(-dy / length * halfWidth));
    const int ny = static_cast<int>(std::lround(dx / length * halfWidth));
    const int ex = static_cast<int>(std::lround(dx / length * halfWidth));
    const int ey = static_cast<int>(std::lround(dy / length * halfWidth));
    const Point band[4] = {{a.x - ex + nx, a.y - ey + ny},
                           {b.x + ex + nx, b.y + ey + ny},
                           {b.x + ex - nx, b.y + ey - ny},
                           {a.x - ex - nx, a.y - ey - ny}};
    canvas.polygon(band, 4);
}

void drawOutline(Canvas& canvas, const CursorSticker& s, Brush inner = kInnerBrush) {
    const Pen pen = canvas.selectPen(Pen::Null);
    const Brush brush = canvas.selectBrush(kOuterBrush);
    for (int i = 0; i < s.points; ++i) {
        drawBand(canvas, s.cell[i], s.cell[(i + 1) % s.points], kOuterHalfWidth);
    }
    canvas.selectBrush(inner);
    for (int i = 0; i < s.points; ++i) {
        drawBand(canvas, s.cell[i], s.cell[(i + 1) % s.points], kInnerHalfWidth);
    }
    canvas.selectBrush(brush);
    canvas.selectPen(pen);
}

Arrow arrowOf(PuzzleDialog::Key key) {
    switch (key) {
    case PuzzleDialog::Key::Up:
        return Arrow::Up;
    case PuzzleDialog::Key::Down:
        return Arrow::Down;
    case PuzzleDialog::Key::Left:
        return Arrow::Left;
    default:
        return Arrow::Right;
    }
}

} // namespace

// Keys wait behind a running turn like the stylus does.
void PuzzleDialog::OnKeyDown(Key key, bool shift, bool ctrl) {
    const int modifiers = (shift ? kShift : 0) | (ctrl ? kCtrl : 0);
    handleInput({PendingInput::Kind::Key, static_cast<int>(key), modifiers, {}});
}

void PuzzleDialog::runKey(Key key, bool shift, bool ctrl) {
    switch (key) {
    case Key::ZoomIn:
    case Key::ZoomOut:
        return zoomBy(key == Key::ZoomIn ? 1 : -1);
    case Key::Home:
        standardView();
        return redraw();
    default:
        break;
    }
    const Arrow arrow = arrowOf(key);
    if (!ctrl) {
        return moveCursor(arrow, shift);
    }
    // As the stylus spins it: upward about x, rightward about y.
    const double sign = arrow == Arrow::Up || arrow == Arrow::Right ? 1.0 : -1.0;
    if (arrow == Arrow::Up || arrow == Arrow::Down) {
        spinX(puzzle_, sign * kKeySpinDegrees);
    } else {
        spinY(puzzle_, sign * kKeySpinDegrees);
    }
    redraw();
}

void PuzzleDialog::OnKeyboardFocus(bool gained) {
    if (cursorShown_ == gained) {
        return;
    }
    if (gained) {
        showCursor();
    } else {
        cursorShown_ = false;
    }
    if (!busy()) {
        redraw();
    }
}

// The cursor appears on the sticker nearest the picture's middle.
void PuzzleDialog::showCursor() {
    cursorShown_ = true;
    cursorX_ = view_.centreX;
    cursorY_ = view_.centreY;
    cursorId_ = StickerHit{};
}

// The first arrow key only shows the cursor.
void PuzzleDialog::moveCursor(Arrow arrow, bool stroke) {
    if (!cursorShown_ || cursorStickers_.empty()) {
        showCursor();
        return redraw();
    }
    int current = findCursorSticker(cursorStickers_, cursorId_);
    if (current < 0) {
        return;
    }
    const int next = neighbourSticker(cursorStickers_, current, arrow);
    if (next == current) {
        return;
    }
    const CursorSticker to = cursorStickers_[next]; // a copy: the press redraws the list
    if (stroke) {
        // The same two ends a mouse stroke would have; the cursor stays where the stroke began.
        const Point from = cursorStickers_[current].press;
        keyStroke_ = true;
        OnLButtonDown(1, from.x, from.y);
        OnLButtonUp(0, to.press.x, to.press.y);
        keyStroke_ = false;
        return;
    }
    cursorId_ = to.id;
    cursorX_ = to.x;
    cursorY_ = to.y;
    redraw();
}

// The orientation and zoom of a new puzzle; the stickers stay where they are.
void PuzzleDialog::standardView() {
    auto fresh = std::make_unique<Puzzle>();
    buildPuzzleState(*fresh, puzzle_.puzzleType, sizeLevel(puzzle_));
    std::memcpy(puzzle_.corner, fresh->corner, sizeof puzzle_.corner);
    std::memcpy(puzzle_.faceNormal, fresh->faceNormal, sizeof puzzle_.faceNormal);
    std::memcpy(puzzle_.spherePoint, fresh->spherePoint, sizeof puzzle_.spherePoint);
    const View standard;
    view_.zoom = standard.zoom;
    view_.centreX = standard.centreX;
    view_.centreY = standard.centreY;
}

// After a whole picture: a hint's two stickers are outlined, and the cursor finds its sticker
// again (or the nearest to where it stood) and is outlined over the picture. Nothing is drawn
// while it is hidden.
void PuzzleDialog::drawOverlay() {
    if (!cursorShown_ && !outlined_ && !hint_) {
        return;
    }
    cursorStickers_ = cursorStickers({puzzle_, screen_, gesture_});
    if (hint_) {
        for (const auto& [id, inner] :
             {std::pair(hint_->press, kInnerBrush), std::pair(hint_->release, kHintReleaseBrush)}) {
            const int at = findCursorSticker(cursorStickers_, id);
            if (at >= 0) {
                drawOutline(canvas_, cursorStickers_[at], inner);
            }
        }
    }
    if (outlined_) {
        const int pressed = findCursorSticker(cursorStickers_, *outlined_);
        if (pressed >= 0) {
            drawOutline(canvas_, cursorStickers_[pressed], flashing_ ? kFlashBrush : kInnerBrush);
        }
    }
    if (!cursorShown_) {
        return;
    }
    int at = findCursorSticker(cursorStickers_, cursorId_);
    if (at < 0) {
        at = nearestSticker(cursorStickers_, cursorX_, cursorY_);
    }
    if (at < 0) {
        return;
    }
    const CursorSticker& s = cursorStickers_[at];
    cursorId_ = s.id;
    cursorX_ = s.x;
    cursorY_ = s.y;
    drawOutline(canvas_, s);
}

// A held zoom button looks pressed: a dark frame inside it, over the status strip.
void PuzzleDialog::drawPressedButton() {
    if (gesture_.zoomDir == 0) {
        return;
    }
    const int left = gesture_.zoomDir < 0 ? 0 : 22;
    const int right = gesture_.zoomDir < 0 ? 21 : 38;
    const int bottom = 21;
    const Pen pen = canvas_.selectPen(Pen::Null);
    const Brush brush = canvas_.selectBrush(kOuterBrush);
    canvas_.rectangle(left, 0, right, 2);
    canvas_.rectangle(left, bottom - 2, right, bottom);
    canvas_.rectangle(left, 0, left + 2, bottom);
    canvas_.rectangle(right - 2, 0, right, bottom);
    canvas_.selectBrush(brush);
    canvas_.selectPen(pen);
}

// A press on a sticker outlines it until the release.
void PuzzleDialog::outlinePressed(StickerHit hit) {
    endFlash();
    outlined_ = hit;
    redraw();
}

void PuzzleDialog::flashPressed() {
    if (!outlined_) {
        return;
    }
    flashing_ = true;
    redraw();
    platform_.setTimer(kFlashTimer, kFlashMs);
}

void PuzzleDialog::endFlash() {
    platform_.killTimer(kFlashTimer);
    const bool shown = outlined_.has_value();
    flashing_ = false;
    outlined_.reset();
    if (shown && !running_) {
        redraw();
    }
}

bool PuzzleDialog::hintOffered() const {
    return practising() && !replay_ && !paused_ &&
           tableKindFor(puzzle_.puzzleType, sizeLevel(puzzle_)).has_value() && !isSolved(puzzle_);
}

// The stroke is looked for among the stickers the player sees now, as the stroke rules read
// them in this orientation: the first whose turn brings the puzzle one move nearer to solved.
void PuzzleDialog::showHint() {
    if (!hintOffered()) {
        return;
    }
    const DistanceTable* table = platform_.distanceTable(puzzle_.puzzleType, sizeLevel(puzzle_));
    if (table == nullptr) {
        platform_.messageBox("The hint for this puzzle is still being worked out. Ask again in a "
                             "moment.",
                             "Korvane");
        return;
    }
    const int distance = table->distance(puzzle_);
    if (distance <= 0) {
        return; // solved up to orientation, or colours the table cannot read
    }
    const StylusTarget target{puzzle_, screen_, gesture_};
    auto after = std::make_unique<Puzzle>();
    const std::optional<StickerStroke> stroke =
        findStickerStroke(target, cursorStickers(target), [&](const Move& move) {
            *after = puzzle_;
            applyMove(*after, move);
            return table->distance(*after) == distance - 1;
        });
    if (!stroke) {
        platform_.messageBox("No stroke on the stickers in view starts a shortest solution. Turn "
                             "the puzzle to show other faces and ask again.",
                             "Korvane");
        return;
    }
    hint_ = HintStroke{stroke->from, stroke->to};
    if (cursorShown_) {
        cursorId_ = stroke->from; // the keyboard starts from the sticker to press
    }
    redraw();
}

std::optional<CursorSticker> PuzzleDialog::cursorSticker() const {
    if (!cursorShown_) {
        return std::nullopt;
    }
    const int at = findCursorSticker(cursorStickers_, cursorId_);
    if (at < 0) {
        return std::nullopt;
    }
    return cursorStickers_[at];
}

} // namespace korvane
