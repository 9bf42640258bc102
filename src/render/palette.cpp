#include "render/palette.h"

#include <algorithm>

#include "render/projection.h"
#include "render/puzzle_drawing.h"

namespace korvane {

namespace {

constexpr int kBrightest = 255;
constexpr int kFadeOffset = 100;

// How one channel of a sticker colour follows the face brightness B: zero, a factor times B
// (truncated), F = max(B - 100, 0), or B / 8 in whole numbers.
struct Channel {
    enum Kind { Zero, Scaled, Fade, Eighth } kind;
    double factor = 1.0;
};

constexpr double kFiveSixths = 0.8333333333333334;
constexpr double kTwoFifths = 0.4;
constexpr double kTenElevenths = 0.9090909090909091;
constexpr double kTenThirteenths = 0.7692307692307692;

// The shaded sticker colours by cube colour number 0..5, as (red, green, blue) channels.
// Always: every number a cube, Piracube or tetrahedron stores has a row.
constexpr Channel kPalette[6][3] = {
    {{Channel::Scaled, kFiveSixths},
     {Channel::Scaled, kFiveSixths},
     {Channel::Scaled, kFiveSixths}},
    {{Channel::Scaled, 1.0}, {Channel::Scaled, kTwoFifths}, {Channel::Zero}},
    {{Channel::Scaled, kTenElevenths}, {Channel::Zero}, {Channel::Zero}},
    {{Channel::Scaled, kFiveSixths}, {Channel::Scaled, kFiveSixths}, {Channel::Zero}},
    {{Channel::Zero}, {Channel::Fade}, {Channel::Scaled, 1.0}},
    {{Channel::Eighth}, {Channel::Scaled, kTenThirteenths}, {Channel::Eighth}},
};

// The flat brushes by number 0..12; 8 and 9 hold no brush and read as black.
constexpr Rgb kFlatBrushes[13] = {
    {255, 0, 255}, {255, 128, 0}, {255, 0, 0},     {240, 240, 0}, {0, 0, 255},
    {0, 255, 0},   {0, 255, 255}, {204, 85, 170},  {0, 0, 0},     {0, 0, 0},
    {85, 85, 85},  {0, 0, 0},     {255, 255, 255},
};

// A number no puzzle stores is drawn in the flat grey, unshaded.
constexpr int kGreyBrush = 10;

int channelValue(const Channel& c, int brightness) {
    switch (c.kind) {
    case Channel::Scaled:
        return truncToPixel(brightness * c.factor);
    case Channel::Fade:
        return std::max(brightness - kFadeOffset, 0);
    case Channel::Eighth:
        return brightness / 8;
    case Channel::Zero:
        break;
    }
    return 0;
}

} // namespace

int faceBrightness(int puzzleType, double nz) {
    const KindDrawing* kind = kindDrawing(puzzleType);
    const double scaled = kind != nullptr ? nz * kind->shadeScale : nz;
    return std::min(truncToPixel(scaled * 250.0 + 80.0), kBrightest);
}

Rgb stickerRgb(int puzzleType, int colourNumber, int brightness) {
    int row = colourNumber;
    const KindDrawing* kind = kindDrawing(puzzleType);
    if (kind != nullptr && kind->paletteRows != nullptr) {
        row = colourNumber >= 0 && colourNumber < kind->paletteColours
                  ? kind->paletteRows[colourNumber]
                  : -1;
    }
    if (row < 0 || row >= 6) {
        return flatBrushColour(kGreyBrush);
    }
    const Channel* c = kPalette[row];
    return {channelValue(c[0], brightness), channelValue(c[1], brightness),
            channelValue(c[2], brightness)};
}

Rgb flatBrushColour(int number) {
    if (number < 0 || number >= 13) {
        return {0, 0, 0};
    }
    return kFlatBrushes[number];
}

Brush backgroundBrush(int bgColour) {
    return bgColour == 1 ? kWhiteBrush : kBlackBrush;
}

} // namespace korvane
