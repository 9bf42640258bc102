#include "platform/qt/status_artwork.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <cmath>

namespace korvane::qt {

namespace {

// Arial's cell metrics in font units: a Windows font height of +14 is a cell (ascent + descent)
// of 14 pixels, which makes the em a little smaller than 14.
constexpr double kUnitsPerEm = 2048.0;
constexpr double kWinAscent = 1854.0;
constexpr double kWinDescent = 434.0;
constexpr double kCellHeight = 14.0;
constexpr int kStatusWeight = 800;

constexpr double kPixelSize = kCellHeight * kUnitsPerEm / (kWinAscent + kWinDescent);

QStringList statusFamilies() {
    QStringList families;
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(KORVANE_STATUS_FONT));
    if (id >= 0) {
        families << QFontDatabase::applicationFontFamilies(id);
    }
    // Without the installed file the desktop's own Arial-compatible faces stand in.
    families << QStringLiteral("Arimo") << QStringLiteral("Liberation Sans")
             << QStringLiteral("Arial");
    return families;
}

QFont makeStatusFont() {
    QFont font;
    font.setFamilies(statusFamilies());
    font.setWeight(static_cast<QFont::Weight>(kStatusWeight));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    // Point size on a 72-dpi basis would round; an image's logical dpi is 96, so set the
    // fractional pixel size through points at that resolution.
    font.setPointSizeF(kPixelSize * 72.0 / 96.0);
    return font;
}

} // namespace

QFont statusFont() {
    static const QFont font = makeStatusFont();
    return font;
}

double statusFontAscent() {
    return kPixelSize * kWinAscent / kUnitsPerEm;
}

QImage renderStatusStrip(double scale) {
    const int width = static_cast<int>(std::lround(240 * scale));
    const int height = static_cast<int>(std::lround(24 * scale));
    QImage strip(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    QSvgRenderer artwork(QStringLiteral(":/strip.svg"));
    artwork.render(&painter, QRectF(0, 0, 240, 23));
    return strip;
}

} // namespace korvane::qt
