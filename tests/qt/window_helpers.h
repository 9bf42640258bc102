#pragma once

#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTest>
#include <cmath>
#include <memory>

#include "platform/qt/main_window.h"
#include "platform/qt/puzzle_view.h"

namespace korvane::qt::testing {

// The game's own settings file in the test's private configuration folder.
inline QSettings gameSettings() {
    return QSettings(QStringLiteral("Helmfirth"), QStringLiteral("Korvane"));
}

// The settings, and what the last window kept (its place, a game in play), so each test
// starts as a first start does.
inline void clearGameSettings() {
    gameSettings().clear(); // and written as the settings object ends
    QFile::remove(MainWindow::geometryFile());
    QFile::remove(QtPlatform::keptGameFile());
    QFile::remove(QtPlatform::keptGameOwnerFile());
}

// The main window, started from the stored settings and on screen (null if it never shows).
inline std::unique_ptr<MainWindow> startWindow() {
    auto window = std::make_unique<MainWindow>();
    window->start();
    return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
}

inline bool resizeView(MainWindow& window, QSize view) {
    window.resize(window.size() - window.view().size() + view);
    return QTest::qWaitFor([&] { return window.view().size() == view; });
}

// A widget point that falls on the centre of a logical picture pixel.
inline QPoint widgetPointFor(const PuzzleView& view, QPoint logical) {
    const PictureLayout layout = view.pictureLayout();
    const double dpr = view.devicePixelRatioF();
    const auto at = [&](int device, int p) {
        return static_cast<int>(std::lround((device + (p + 0.5) * layout.scale) / dpr));
    };
    return {at(layout.device.x(), logical.x()), at(layout.device.y(), logical.y())};
}

// What a paint of the view shows at logical picture pixel (x, y).
inline QColor shownAt(const QImage& shot, const PuzzleView& view, int x, int y) {
    const PictureLayout layout = view.pictureLayout();
    return shot.pixelColor(layout.device.x() + static_cast<int>((x + 0.5) * layout.scale),
                           layout.device.y() + static_cast<int>((y + 0.5) * layout.scale));
}

// A left-button drag from one logical picture pixel to another in `steps` equal moves.
inline void dragLogical(PuzzleView& view, QPoint from, QPoint to, int steps) {
    QTest::mousePress(&view, Qt::LeftButton, {}, widgetPointFor(view, from));
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(&view, widgetPointFor(view, from + (to - from) * i / steps));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, to));
}

} // namespace korvane::qt::testing
