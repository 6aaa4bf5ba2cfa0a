#include "skin/controls/trackbar_paint.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_pen.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kFrameLine = 0x1E000000;    // black, alpha 30
constexpr Argb kFrameNear = 0xA0FFFFFF;    // white, alpha 160
constexpr Argb kFrameFar = 0x1E000000;     // black, alpha 30
constexpr Argb kChannelNear = 0x32000000;  // black, alpha 50
constexpr Argb kChannelFar = 0x1E000000;   // black, alpha 30
constexpr Argb kThumbFace = 0xFFFFFFFF;
constexpr Argb kThumbShadeNear = 0x00FFFFFF;  // white, alpha 0
constexpr Argb kThumbShadeFar = 0x5A000000;   // black, alpha 90
constexpr Argb kThumbLine = 0x32000000;       // black, alpha 50
constexpr Argb kSelectionLine = 0xA0FFFFFF;   // white, alpha 160

RectF toF(const RECT& r) {
    return {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right - r.left),
            static_cast<float>(r.bottom - r.top)};
}

void paintThumb(GdipGraphics& graphics, const TrackBarPaint& bar, const RectF& e) {
    GdipSolidBrush face;
    if (face.create(kThumbFace)) graphics.fillEllipse(face, e.x, e.y, e.width, e.height);
    const PointF end = bar.vertical ? PointF{e.x + e.width, e.y} : PointF{e.x, e.y + e.height};
    GdipLinearGradientBrush shade;
    if (shade.create({e.x, e.y}, end, kThumbShadeNear, kThumbShadeFar) &&
        shade.setWrapMode(Gdiplus::WrapModeTileFlipXY))
        graphics.fillEllipse(shade, e.x, e.y, e.width, e.height);
    GdipPen line;
    if (line.create(kThumbLine)) graphics.drawEllipse(line, e.x, e.y, e.width, e.height);
}

void outlineSelection(GdipGraphics& graphics, const TrackBarPaint& bar) {
    const RectI s = trackBarSelection(bar.channel, bar.thumb, bar.vertical, bar.rangeMin, bar.rangeMax,
                                      bar.selectionStart, bar.selectionEnd);
    if (s.width <= 0 || s.height <= 0) return;
    strokeRect(graphics,
               RectF{static_cast<float>(s.x), static_cast<float>(s.y), static_cast<float>(s.width - 1),
                     static_cast<float>(s.height - 1)},
               kSelectionLine);
}

}  // namespace

RECT trackBarChannel(const RECT& reported, bool vertical) {
    const bool lying = reported.right - reported.left > reported.bottom - reported.top;
    if (!vertical || !lying) return reported;
    return {reported.top, reported.left, reported.bottom, reported.right};
}

RectF trackBarThumbEllipse(const RECT& thumb, bool vertical, TickPlacement ticks) {
    const int width = thumb.right - thumb.left, height = thumb.bottom - thumb.top;
    const float d = static_cast<float>(std::min(width, height) - 1);
    if (d <= 0) return {};
    // Along the channel the circle is centred on the thumb; across it, the
    // free room is the thumb's long side less the circle.
    const float room = static_cast<float>(std::max(width, height) - 1) - d;
    float offset = room / 2;
    if (ticks == TickPlacement::TopOrLeft) offset = room;
    if (ticks == TickPlacement::BottomOrRight) offset = 0;
    if (vertical) {
        return {static_cast<float>(thumb.left) + offset, static_cast<float>(thumb.top) + (height - 1 - d) / 2, d, d};
    }
    return {static_cast<float>(thumb.left) + (width - 1 - d) / 2, static_cast<float>(thumb.top) + offset, d, d};
}

RectI trackBarSelection(const RECT& channel, const RECT& thumb, bool vertical, int rangeMin, int rangeMax,
                        int selectionStart, int selectionEnd) {
    const std::int64_t range = std::int64_t{rangeMax} - rangeMin;
    if (range <= 0) return {};
    if (selectionStart > selectionEnd) std::swap(selectionStart, selectionEnd);
    const int start = vertical ? channel.top : channel.left;
    const int length = vertical ? channel.bottom - channel.top : channel.right - channel.left;
    const int thumbLength = vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left;
    const int travel = std::max(0, length - thumbLength);
    auto pixelOf = [&](int position) {
        const std::int64_t clamped = std::clamp<std::int64_t>(std::int64_t{position} - rangeMin, 0, range);
        return start + thumbLength / 2 + static_cast<int>(clamped * travel / range);
    };
    const int from = pixelOf(selectionStart), to = pixelOf(selectionEnd);
    if (vertical) return {channel.left, from, channel.right - channel.left, to - from};
    return {from, channel.top, to - from, channel.bottom - channel.top};
}

void paintTrackBar(GdipGraphics& graphics, const TrackBarPaint& bar, const ControlSettings& settings) {
    const float w = static_cast<float>(bar.size.width), h = static_cast<float>(bar.size.height);
    const GradientDirection across = bar.vertical ? GradientDirection::LeftToRight : GradientDirection::TopToBottom;
    if (settings.trackBarFrameEnabled) {
        strokeRoundedRect(graphics, RectF{0, 0, w - 1, h - 1}, 5, kFrameLine);
        fillRoundedGradient(graphics, RectF{1, 1, w - 2, h - 2}, 3, kFrameNear, kFrameFar, across);
    }
    fillRoundedGradient(graphics, toF(bar.channel), 1, kChannelNear, kChannelFar, across);
    const RectF thumb = trackBarThumbEllipse(bar.thumb, bar.vertical, bar.ticks);
    const bool hasThumb = thumb.width > 0 && thumb.height > 0;
    if (hasThumb) paintThumb(graphics, bar, thumb);
    if (bar.selectionRange) outlineSelection(graphics, bar);
    GdipPen hot;
    if (hasThumb && bar.hot && hot.create(colourOfAlpha(settings.accentColour, 200)))
        graphics.drawEllipse(hot, thumb.x, thumb.y, thumb.width, thumb.height);
}

}  // namespace pelmora
