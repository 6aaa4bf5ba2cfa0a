#include "skin/controls/key_colour.h"

#include <cmath>
#include <cstdint>

namespace pelmora {

bool copyExceptKeyColour(HDC target, const RectI& area, HDC source, PointI from, COLORREF key) {
    if (area.width <= 0 || area.height <= 0) return false;
    return ::TransparentBlt(target, area.x, area.y, area.width, area.height, source, from.x, from.y, area.width,
                            area.height, key) != 0;
}

namespace {

// How far a channel may stray from the mix of key and ink and still count as
// one (rounding in the rasteriser and gamma in its blending).
constexpr float kMixTolerance = 24.0f;
// Channels whose key and ink lie closer than this say nothing about the share.
constexpr int kTellingDistance = 32;

int channel(COLORREF c, int i) {
    return (c >> (8 * i)) & 0xFF;
}

// A 32-bit DIB section's pixels, as the DC holds it; rows run bottom-up when
// the height is positive.
struct DibPixels {
    std::uint32_t* bits = nullptr;
    int width = 0, height = 0;
    bool bottomUp = false;
    std::uint32_t& at(int x, int y) const {
        const int row = bottomUp ? height - 1 - y : y;
        return bits[static_cast<size_t>(row) * width + x];
    }
};

std::optional<DibPixels> pixelsOf(HDC dc) {
    DIBSECTION section{};
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || ::GetObjectW(bitmap, sizeof section, &section) != sizeof section) return std::nullopt;
    if (!section.dsBm.bmBits || section.dsBm.bmBitsPixel != 32) return std::nullopt;
    return DibPixels{static_cast<std::uint32_t*>(section.dsBm.bmBits), section.dsBm.bmWidth,
                     std::abs(section.dsBmih.biHeight), section.dsBmih.biHeight > 0};
}

COLORREF colourOf(std::uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

std::uint32_t pixelOf(COLORREF colour) {
    return 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

std::uint32_t mix(COLORREF ink, std::uint32_t below, float share) {
    auto one = [&](int i, int shift) {
        const float b = static_cast<float>((below >> shift) & 0xFF);
        return static_cast<std::uint32_t>(std::lround(share * channel(ink, i) + (1 - share) * b)) << shift;
    };
    return 0xFF000000u | one(0, 16) | one(1, 8) | one(2, 0);
}

}  // namespace

std::optional<float> inkCoverage(COLORREF pixel, COLORREF key, COLORREF ink) {
    float sum = 0;
    int telling = 0;
    for (int i = 0; i < 3; ++i) {
        const int span = channel(key, i) - channel(ink, i);
        if (std::abs(span) < kTellingDistance) continue;
        sum += static_cast<float>(channel(key, i) - channel(pixel, i)) / static_cast<float>(span);
        ++telling;
    }
    if (!telling) return std::nullopt;
    const float share = std::fmin(1.0f, std::fmax(0.0f, sum / static_cast<float>(telling)));
    for (int i = 0; i < 3; ++i) {
        const float expected = share * channel(ink, i) + (1 - share) * channel(key, i);
        if (std::fabs(expected - static_cast<float>(channel(pixel, i))) > kMixTolerance) return std::nullopt;
    }
    return share;
}

bool composeOverKey(HDC target, HDC source, SizeI size, COLORREF key, COLORREF ink) {
    const std::optional<DibPixels> below = pixelsOf(target), drawn = pixelsOf(source);
    if (!below || !drawn || below->width < size.width || below->height < size.height || drawn->width < size.width ||
        drawn->height < size.height)
        return copyExceptKeyColour(target, RectI{0, 0, size.width, size.height}, source, PointI{0, 0}, key);
    ::GdiFlush();
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const COLORREF pixel = colourOf(drawn->at(x, y));
            if (pixel == key) continue;
            std::uint32_t& out = below->at(x, y);
            const std::optional<float> share = inkCoverage(pixel, key, ink);
            out = share ? mix(ink, out, *share) : pixelOf(pixel);
        }
    return true;
}

}  // namespace pelmora
