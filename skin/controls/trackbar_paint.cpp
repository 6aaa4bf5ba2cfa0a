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

void paintThumb(GdipGraphics& graphics, const TrackBarPaint& bar, const RectF& e, float line) {
    GdipSolidBrush face;
    if (face.create(kThumbFace)) graphics.fillEllipse(face, e.x, e.y, e.width, e.height);
    const PointF end = bar.vertical ? PointF{e.x + e.width, e.y} : PointF{e.x, e.y + e.height};
    GdipLinearGradientBrush shade;
    if (shade.create({e.x, e.y}, end, kThumbShadeNear, kThumbShadeFar) &&
        shade.setWrapMode(Gdiplus::WrapModeTileFlipXY))
        graphics.fillEllipse(shade, e.x, e.y, e.width, e.height);
    GdipPen pen;
    if (pen.create(kThumbLine, line)) graphics.drawEllipse(pen, e.x, e.y, e.width, e.height);
}

void outlineSelection(GdipGraphics& graphics, const TrackBarPaint& bar) {
    const RectI s = trackBarSelection(bar.channel, bar.thumb, bar.vertical, bar.rangeMin, bar.rangeMax,
                                      bar.selectionStart, bar.selectionEnd);
    if (s.width <= 0 || s.height <= 0) return;
    const FrameStroke stroke = frameStroke({s.width, s.height}, 1, bar.dpi);
    strokeRect(graphics,
               RectF{static_cast<float>(s.x) + stroke.rect.x, static_cast<float>(s.y) + stroke.rect.y,
                     stroke.rect.width, stroke.rect.height},
               kSelectionLine, stroke.width);
}

}  // namespace

RECT trackBarChannel(const RECT& reported, bool vertical) {
    const bool lying = reported.right - reported.left > reported.bottom - reported.top;
    if (!vertical || !lying) return reported;
    return {reported.top, reported.left, reported.bottom, reported.right};
}

RectF trackBarThumbEllipse(const RECT& thumb, bool vertical, TickPlacement ticks, UINT dpi) {
    const int width = thumb.right - thumb.left, height = thumb.bottom - thumb.top;
    const int line = scaled(1, dpi);
    const float d = static_cast<float>(std::min(width, height) - line);
    if (d <= 0) return {};
    // Along the channel the circle is centred on the thumb; across it, the
    // free room is the thumb's long side less the circle.
    const float room = static_cast<float>(std::max(width, height) - line) - d;
    float offset = room / 2;
    if (ticks == TickPlacement::TopOrLeft) offset = room;
    if (ticks == TickPlacement::BottomOrRight) offset = 0;
    // A wider pen is centred half a pixel further in, so it covers whole pixels.
    const float left = static_cast<float>(thumb.left) + static_cast<float>(line - 1) / 2;
    const float top = static_cast<float>(thumb.top) + static_cast<float>(line - 1) / 2;
    if (vertical) return {left + offset, top + (height - line - d) / 2, d, d};
    return {left + (width - line - d) / 2, top + offset, d, d};
}

TrackBarFrame trackBarFrame(SizeI size, UINT dpi) {
    TrackBarFrame f;
    f.outline = frameStroke(size, 1, dpi);
    const float line = f.outline.width;
    f.fill = {line, line, static_cast<float>(size.width) - 2 * line, static_cast<float>(size.height) - 2 * line};
    f.outlineRadius = scaled(5, dpi);
    f.fillRadius = scaled(3, dpi);
    f.channelRadius = scaled(1, dpi);
    return f;
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
    const GradientDirection across = bar.vertical ? GradientDirection::LeftToRight : GradientDirection::TopToBottom;
    const TrackBarFrame f = trackBarFrame(bar.size, bar.dpi);
    if (settings.trackBarFrameEnabled) {
        strokeRoundedRect(graphics, f.outline.rect, f.outlineRadius, kFrameLine, f.outline.width);
        fillRoundedGradient(graphics, f.fill, f.fillRadius, kFrameNear, kFrameFar, across);
    }
    fillRoundedGradient(graphics, toF(bar.channel), f.channelRadius, kChannelNear, kChannelFar, across);
    const RectF thumb = trackBarThumbEllipse(bar.thumb, bar.vertical, bar.ticks, bar.dpi);
    const bool hasThumb = thumb.width > 0 && thumb.height > 0;
    if (hasThumb) paintThumb(graphics, bar, thumb, f.outline.width);
    if (bar.selectionRange) outlineSelection(graphics, bar);
    GdipPen hot;
    if (hasThumb && bar.hot && hot.create(colourOfAlpha(settings.accentColour, 200), f.outline.width))
        graphics.drawEllipse(hot, thumb.x, thumb.y, thumb.width, thumb.height);
}

}  // namespace pelmora
