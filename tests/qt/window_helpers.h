#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSettings>
#include <QString>
#include <QTest>
#include <cmath>
#include <memory>

#include "model/game_state.h"
#include "model/rotation.h"
#include "platform/qt/main_window.h"
#include "platform/qt/puzzle_view.h"

namespace korvane::qt::testing {

// The game's own settings file in the test's private configuration folder.
inline QSettings gameSettings() {
    return QSettings(QStringLiteral("Helmfirth"), QStringLiteral("Korvane"));
}

inline void clearGameSettings() {
    QSettings settings = gameSettings();
    settings.clear();
    settings.sync();
}

// A widget point that falls on the centre of logical picture pixel (x, y).
inline QPoint widgetPointFor(const PuzzleView& view, int x, int y) {
    const PictureLayout layout = view.pictureLayout();
    const double dpr = view.devicePixelRatioF();
    return QPoint(
        static_cast<int>(std::lround((layout.device.x() + (x + 0.5) * layout.scale) / dpr)),
        static_cast<int>(std::lround((layout.device.y() + (y + 0.5) * layout.scale) / dpr)));
}

// What the view shows at logical picture pixel (x, y), read from a fresh paint of the view.
inline QColor shownAt(const QImage& shot, const PuzzleView& view, int x, int y) {
    const PictureLayout layout = view.pictureLayout();
    return shot.pixelColor(layout.device.x() + static_cast<int>((x + 0.5) * layout.scale),
                           layout.device.y() + static_cast<int>((y + 0.5) * layout.scale));
}

inline QImage paintView(PuzzleView& view) {
    return view.grab().toImage();
}

// The centre of the first sticker triangle or quadrilateral the last full redraw stored.
inline bool firstStickerCentre(const GameState& g, int points, QPoint& centre) {
    for (int slot = 0; slot < kFaceSlots; ++slot) {
        for (int row = 0; row < kCells; ++row) {
            for (int col = 0; col < kCells; ++col) {
                const StickerScreen& s = g.stickerPoly[slot][row][col];
                long sx = 0;
                long sy = 0;
                for (int i = 0; i < points; ++i) {
                    sx += s.p[i].x;
                    sy += s.p[i].y;
                }
                const QPoint c(static_cast<int>(sx / points), static_cast<int>(sy / points));
                // A real sticker lies inside the picture and is more than a point.
                if (s.p[0] != s.p[1] && c.x() > 0 && c.y() > 24 && c.x() < 240 && c.y() < 320) {
                    centre = c;
                    return true;
                }
            }
        }
    }
    return false;
}

inline QPoint widgetPointFor(const PuzzleView& view, QPoint logical) {
    return widgetPointFor(view, logical.x(), logical.y());
}

// A left-button drag from one logical picture pixel to another in `steps` equal moves.
inline void dragLogical(PuzzleView& view, QPoint from, QPoint to, int steps) {
    QTest::mousePress(&view, Qt::LeftButton, {}, widgetPointFor(view, from));
    for (int i = 1; i <= steps; ++i) {
        QTest::mouseMove(&view, widgetPointFor(view, from + (to - from) * i / steps));
    }
    QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, to));
}

// The state a spin of `degrees` about the view x axis, in `steps` equal parts, leaves.
inline std::unique_ptr<GameState> spunAboutX(const GameState& g, int degrees, int steps) {
    auto spun = std::make_unique<GameState>(g);
    for (int i = 0; i < steps; ++i) {
        spinX(*spun, static_cast<double>(degrees) / steps);
    }
    return spun;
}

inline bool sameCorners(const GameState& a, const GameState& b) {
    for (int c = 0; c < kCorners; ++c) {
        for (int k = 0; k < 3; ++k) {
            if (std::abs(a.corner[c][k] - b.corner[c][k]) > 1e-9) {
                return false;
            }
        }
    }
    return true;
}

} // namespace korvane::qt::testing
