#pragma once

#include <QFont>
#include <QImage>

namespace korvane::qt {

// The status font: Arimo Bold (metric-compatible with Arial), weight 800, unhinted, at the size
// of a Windows font of cell height 14 (ascent + descent), so the counters look the same on every
// desktop. The font file is loaded once, on first use.
QFont statusFont();
// Where the font's baseline lies below the top of a text rectangle, in logical pixels.
double statusFontAscent();

// The status strip (240 x 23 artwork) for the top 240 x 24 logical pixels, rendered at the given
// device pixels per logical pixel (the image holds device pixels): row 23 is black, a rule under
// the strip. The artwork is always antialiased, also for exact-pixel tests.
QImage renderStatusStrip(double scale);

} // namespace korvane::qt
