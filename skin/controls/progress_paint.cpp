#include "skin/controls/progress_paint.h"

#include <algorithm>
#include <cstdint>

#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kFrame = 0x32000000;       // black, alpha 50
constexpr Argb kTroughNear = 0xA0FFFFFF;  // white, alpha 160
constexpr Argb kTroughFar = 0x1E000000;   // black, alpha 30
constexpr Argb kFillNear = 0x5AFFFFFF;    // white, alpha 90

}  // namespace

int progressFillLength(int extent, int low, int high, int position) {
    std::int64_t done = std::int64_t{position} - low;
    std::int64_t range = std::int64_t{high} - low;
    if (range == 0 || extent <= 0) return 0;
    if (range < 0) {  // a range given high to low still measures from low
        done = -done;
        range = -range;
    }
    if (done <= 0) return 0;
    if (done >= range) return extent;
    return static_cast<int>(done * extent / range);
}

ProgressGeometry progressGeometry(SizeI size, bool vertical, int low, int high, int position) {
    ProgressGeometry g;
    const int length = progressFillLength(vertical ? size.height : size.width, low, high, position);
    if (length <= 0) return g;
    g.filled = vertical ? RectI{0, size.height - length, size.width, length} : RectI{0, 0, length, size.height};
    const int thickness = vertical ? size.width : size.height;
    const float along = static_cast<float>(length - 3), across = static_cast<float>(thickness - 3);
    if (along <= 0 || across <= 0) return g;
    const float x = static_cast<float>(g.filled.x + 1), y = static_cast<float>(g.filled.y + 1);
    g.fill = vertical ? RectF{x, y, across, along} : RectF{x, y, along, across};
    return g;
}

void paintProgressBar(GdipGraphics& graphics, const ProgressPaint& bar, const ControlSettings& settings) {
    const float w = static_cast<float>(bar.size.width), h = static_cast<float>(bar.size.height);
    const GradientDirection across = bar.vertical ? GradientDirection::LeftToRight : GradientDirection::TopToBottom;
    strokeRoundedRect(graphics, RectF{0, 0, w - 1, h - 1}, 5, kFrame);
    fillRoundedGradient(graphics, RectF{1, 1, w - 2, h - 2}, 1, kTroughNear, kTroughFar, across);
    const ProgressGeometry g = progressGeometry(bar.size, bar.vertical, bar.low, bar.high, bar.position);
    if (g.fill.width <= 0 || g.fill.height <= 0) return;
    fillRoundedGradient(graphics, g.fill, 3, kFillNear, colourOfAlpha(settings.accentColour, 255), across);
    strokeRoundedRect(graphics, g.fill, 3, colourOfAlpha(settings.accentColour, 150));
}

}  // namespace pelmora
