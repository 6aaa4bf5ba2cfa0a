#include "skin/controls/updown_paint.h"

#include "gfx/gdip_graphics.h"
#include "gfx/skin_images.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kBackground = 0xA0FFFFFF;  // white, alpha 160
constexpr Argb kRestLine = 0x64000000;    // black, alpha 100
constexpr int kRadius = 3;

int splitOf(SizeI size, bool horizontal) {
    return (horizontal ? size.width : size.height) / 2;
}

struct HalfColours {
    Argb from, to, line;
};

HalfColours coloursOf(const UpDownPaint& control, UpDownPart part, const ControlSettings& settings) {
    const COLORREF accent = settings.accentColour;
    const bool active = control.activePart == part;
    if (active && control.pressed) return {colourOfAlpha(accent, 100), whiteOfAlpha(150), colourOfAlpha(accent, 255)};
    if (active && control.hot) return {whiteOfAlpha(100), colourOfAlpha(accent, 150), colourOfAlpha(accent, 255)};
    return {whiteOfAlpha(part == UpDownPart::FirstArrow ? 60 : 20), colourOfAlpha(accent, 100), kRestLine};
}

}  // namespace

UpDownPart upDownPartAt(SizeI size, bool horizontal, PointI pointer) {
    const int along = horizontal ? pointer.x : pointer.y;
    return along < splitOf(size, horizontal) ? UpDownPart::FirstArrow : UpDownPart::SecondArrow;
}

std::array<RectF, 2> upDownHalves(SizeI size, bool horizontal, UINT dpi) {
    const float split = static_cast<float>(splitOf(size, horizontal));
    const float w = static_cast<float>(size.width), h = static_cast<float>(size.height);
    const float line = static_cast<float>(scaled(1, dpi)), in = (line - 1) / 2;
    if (horizontal) return {{{in, in, split - line, h - line}, {split + in, in, w - line - split, h - line}}};
    return {{{in, in, w - line, split - line}, {in, split + in, w - line, h - line - split}}};
}

void paintUpDown(GdipGraphics& graphics, const UpDownPaint& control, const ControlSettings& settings) {
    graphics.setSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.setCompositingQuality(Gdiplus::CompositingQualityHighQuality);
    const FrameStroke frame = frameStroke(control.size, 1, control.dpi);
    const int radius = scaled(kRadius, control.dpi);
    const float line = frame.width, in = (line - 1) / 2;
    fillRoundedRect(graphics, frame.rect, radius, kBackground);
    const GradientDirection along =
        control.horizontal ? GradientDirection::LeftToRight : GradientDirection::TopToBottom;
    const std::array<RectF, 2> halves = upDownHalves(control.size, control.horizontal, control.dpi);
    const std::array<SkinImage, 2> arrows =
        control.horizontal ? std::array<SkinImage, 2>{SkinImage::ArrowLeftImage, SkinImage::ArrowRightImage}
                           : std::array<SkinImage, 2>{SkinImage::ArrowUpImage, SkinImage::ArrowDownImage};
    for (int i = 0; i < 2; ++i) {
        const RectF& half = halves[static_cast<size_t>(i)];
        if (half.width <= 0 || half.height <= 0) continue;
        const HalfColours c = coloursOf(control, i == 0 ? UpDownPart::FirstArrow : UpDownPart::SecondArrow, settings);
        fillRoundedGradient(graphics, half, radius, c.from, c.to, along);
        strokeRoundedRect(graphics, half, radius, c.line, line);
        // Centred in the half's pixels, which reach a line past its outline.
        drawCentredSkinImage(graphics, arrows[static_cast<size_t>(i)],
                             RectF{half.x - in, half.y - in, half.width + line, half.height + line}, control.dpi);
    }
}

}  // namespace pelmora
