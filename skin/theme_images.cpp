#include "skin/theme_images.h"

#include <gdiplus.h>

#include "base/file_source.h"
#include "base/unique_resource.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_codecs.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/picture_decode.h"
#include "skin/state/engine_state.h"

namespace pelmora {
namespace {

bool loadBitmap(const ByteBuffer& bytes, GdipBitmap& bitmap, int& width, int& height) {
    if (bytes.empty() || !decodePicture(bitmap, bytes.data(), bytes.size())) return false;
    width = static_cast<int>(bitmap.width());
    height = static_cast<int>(bitmap.height());
    return width > 0 && height > 0;
}

void fillGradient(GdipGraphics& graphics, float x, float y, float width, float height, PointF from, PointF to,
                  Argb fromColour, Argb toColour) {
    GdipLinearGradientBrush brush;
    if (brush.create(from, to, fromColour, toColour)) graphics.fillRectangle(brush, x, y, width, height);
}

ByteBuffer pngBytesOf(GdipBitmap& bitmap) {
    const Bytes png = bitmap.saveToMemory(std::wstring_view(kPngFormatId));
    return ByteBuffer(png.begin(), png.end());
}

// Days from 1 January 1970 to the civil date (proleptic Gregorian).
long long daysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

}  // namespace

double dayCountOf(const SYSTEMTIME& t) {
    constexpr long long kEpochOffset = 25569;  // 1899-12-30 to 1970-01-01
    const long long days = daysFromCivil(t.wYear, t.wMonth, t.wDay) + kEpochOffset;
    const double seconds = t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
    return static_cast<double>(days) + seconds / 86400.0;
}

double currentDayCount() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return dayCountOf(now);
}

std::vector<POINT> averageSamplePositions(double dayCount, int width, int height) {
    std::vector<POINT> positions;
    positions.reserve(kAverageSamples);
    const auto day = static_cast<std::uint32_t>(static_cast<long long>(dayCount));
    for (std::uint32_t i = 1; i <= kAverageSamples; ++i) {
        POINT p{};
        p.x = CrtRandom(day + 3 * i).nextInRange(0, width - 1);
        p.y = CrtRandom(day + i).nextInRange(0, height - 1);
        positions.push_back(p);
    }
    return positions;
}

std::uint32_t averageImageColour(const ByteBuffer& image, double dayCount) {
    GdipBitmap bitmap;
    int width = 0, height = 0;
    if (!loadBitmap(image, bitmap, width, height)) return 0;
    std::uint64_t red = 0, green = 0, blue = 0;
    for (const POINT& p : averageSamplePositions(dayCount, width, height)) {
        const Argb pixel = bitmap.pixel(p.x, p.y);
        red += (pixel >> 16) & 0xFF;
        green += (pixel >> 8) & 0xFF;
        blue += pixel & 0xFF;
    }
    return 0xFF000000u | static_cast<std::uint32_t>(red / kAverageSamples) << 16 |
           static_cast<std::uint32_t>(green / kAverageSamples) << 8 |
           static_cast<std::uint32_t>(blue / kAverageSamples);
}

ByteBuffer fadeBackgroundEdge(const ByteBuffer& image, std::uint32_t colour, FadeSide side) {
    GdipBitmap source, faded;
    int width = 0, height = 0;
    if (!loadBitmap(image, source, width, height) || !faded.create(width, height, PixelFormat32bppARGB)) return {};
    {
        GdipGraphics graphics;
        if (!graphics.fromImage(faded)) return {};
        const float w = static_cast<float>(width), h = static_cast<float>(height);
        // Drawn to its pixel size: a picture that records another resolution must not be scaled.
        graphics.drawImageRect(source, 0, 0, w, h);
        const float band = static_cast<float>(static_cast<int>(width * 0.3));
        const Argb opaque = colour | 0xFF000000u, clear = colour & 0x00FFFFFFu;
        if (side == FadeSide::Left)
            fillGradient(graphics, 0, 0, band, h, {0, 0}, {band, 0}, opaque, 0x00FFFFFF);
        else
            fillGradient(graphics, w - band, 0, band, h, {w - band, 0}, {w, 0}, 0x00FFFFFF, opaque);
        fillGradient(graphics, 0, h - band, w, band, {0, h - band}, {0, h}, clear, opaque);
    }
    return pngBytesOf(faded);
}

ByteBuffer processedBackground(const ByteBuffer& image, std::uint32_t colour, int mode) {
    if (mode == static_cast<int>(BackgroundMode::LeftFaded)) return fadeBackgroundEdge(image, colour, FadeSide::Right);
    if (mode == static_cast<int>(BackgroundMode::RightFaded)) return fadeBackgroundEdge(image, colour, FadeSide::Left);
    return image;
}

ByteBuffer reencodeAsPng(const ByteBuffer& image) {
    GdipBitmap bitmap;
    int width = 0, height = 0;
    if (!loadBitmap(image, bitmap, width, height)) return {};
    return pngBytesOf(bitmap);
}

ByteBuffer readWholeFile(const std::wstring& path) {
    std::string bytes;
    if (!readWholeFile(path, FileSharing::Read, 0x7FFFFFFF, &bytes)) return {};
    return ByteBuffer(bytes.begin(), bytes.end());
}

}  // namespace pelmora
