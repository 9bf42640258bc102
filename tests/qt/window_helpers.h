#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <cmath>
#include <memory>

#include "model/game_state.h"
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

// A widget point that falls on the centre of logical picture pixel (x, y).
inline QPoint widgetPointFor(const PuzzleView& view, int x, int y) {
    const PictureLayout layout = view.pictureLayout();
    const double dpr = view.devicePixelRatioF();
    return QPoint(
        static_cast<int>(std::lround((layout.device.x() + (x + 0.5) * layout.scale) / dpr)),
        static_cast<int>(std::lround((layout.device.y() + (y + 0.5) * layout.scale) / dpr)));
}

inline QPoint widgetPointFor(const PuzzleView& view, QPoint logical) {
    return widgetPointFor(view, logical.x(), logical.y());
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
    for (int i = 1; i <= steps; ++i) {
        QTest::mouseMove(&view, widgetPointFor(view, from + (to - from) * i / steps));
    }
    QTest::mouseRelease(&view, Qt::LeftButton, {}, widgetPointFor(view, to));
}

// The whole screen, boxes and all, saved when KORVANE_TEST_SHOTS names a folder, for a person
// to look at (run under Xvfb with the xcb platform to see the real windows).
inline void keepScreenShot(const char* name) {
    const QString folder = qEnvironmentVariable("KORVANE_TEST_SHOTS");
    if (!folder.isEmpty() && QGuiApplication::primaryScreen()) {
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') +
                                                             QLatin1String(name));
    }
}

} // namespace korvane::qt::testing
