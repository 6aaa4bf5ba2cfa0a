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

ProgressGeometry progressGeometry(SizeI size, bool vertical, int low, int high, int position, UINT dpi) {
    ProgressGeometry g;
    const int length = progressFillLength(vertical ? size.height : size.width, low, high, position);
    if (length <= 0) return g;
    g.filled = vertical ? RectI{0, size.height - length, size.width, length} : RectI{0, 0, length, size.height};
    const int thickness = vertical ? size.width : size.height;
    // Inset by a gap, and shortened by a gap on either side and the line: at
    // 96 DPI 1 + 1 + 1 = 3.
    const int gap = scaled(1, dpi), shorter = 2 * gap + scaled(1, dpi);
    const float along = static_cast<float>(length - shorter), across = static_cast<float>(thickness - shorter);
    if (along <= 0 || across <= 0) return g;
    const float in = static_cast<float>(gap) + static_cast<float>(scaled(1, dpi) - 1) / 2;
    const float x = static_cast<float>(g.filled.x) + in, y = static_cast<float>(g.filled.y) + in;
    g.fill = vertical ? RectF{x, y, across, along} : RectF{x, y, along, across};
    return g;
}

ProgressFrame progressFrame(SizeI size, UINT dpi) {
    ProgressFrame f;
    f.outline = frameStroke(size, 1, dpi);
    const float line = f.outline.width;
    f.trough = {line, line, static_cast<float>(size.width) - 2 * line, static_cast<float>(size.height) - 2 * line};
    f.outlineRadius = scaled(5, dpi);
    f.troughRadius = scaled(1, dpi);
    f.fillRadius = scaled(3, dpi);
    return f;
}

void paintProgressBar(GdipGraphics& graphics, const ProgressPaint& bar, const ControlSettings& settings) {
    const GradientDirection across = bar.vertical ? GradientDirection::LeftToRight : GradientDirection::TopToBottom;
    const ProgressFrame f = progressFrame(bar.size, bar.dpi);
    strokeRoundedRect(graphics, f.outline.rect, f.outlineRadius, kFrame, f.outline.width);
    fillRoundedGradient(graphics, f.trough, f.troughRadius, kTroughNear, kTroughFar, across);
    const ProgressGeometry g = progressGeometry(bar.size, bar.vertical, bar.low, bar.high, bar.position, bar.dpi);
    if (g.fill.width <= 0 || g.fill.height <= 0) return;
    fillRoundedGradient(graphics, g.fill, f.fillRadius, kFillNear, colourOfAlpha(settings.accentColour, 255), across);
    strokeRoundedRect(graphics, g.fill, f.fillRadius, colourOfAlpha(settings.accentColour, 150), f.outline.width);
}

}  // namespace pelmora
