#include "skin/controls/paint_shapes.h"

#include <algorithm>
#include <cstdint>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"

namespace pelmora {
namespace {

bool roundedPath(GdipPath& path, const RectF& rect, int radius) {
    return path.create() && addRoundedRectangle(path, rect.x, rect.y, rect.width, rect.height, radius);
}

// A fill of alpha 0 leaves every pixel as it was; skipping it saves a whole
// pass over the area (the installer's backgrounds are alpha 0).
bool invisible(Argb colour) {
    return (colour >> 24) == 0;
}

}  // namespace

Argb colourOfAlpha(COLORREF colour, int alpha) {
    return argbFromColour(colour, static_cast<std::uint8_t>(std::clamp(alpha, 0, 255)));
}

Argb whiteOfAlpha(int alpha) {
    return colourOfAlpha(0x00FFFFFF, alpha);
}

RectF insetRect(const RectF& rect, float by) {
    return {rect.x + by, rect.y + by, rect.width - 2 * by, rect.height - 2 * by};
}

bool fillRoundedRect(GdipGraphics& graphics, const RectF& rect, int radius, Argb colour) {
    if (invisible(colour)) return true;
    GdipPath path;
    GdipSolidBrush brush;
    return roundedPath(path, rect, radius) && brush.create(colour) && graphics.fillPath(brush, path);
}

bool fillRoundedGradient(GdipGraphics& graphics, const RectF& rect, int radius, Argb from, Argb to,
                         GradientDirection direction) {
    if (invisible(from) && invisible(to)) return true;
    const PointF start{rect.x, rect.y};
    const PointF end = direction == GradientDirection::TopToBottom ? PointF{rect.x, rect.y + rect.height}
                                                                   : PointF{rect.x + rect.width, rect.y};
    GdipPath path;
    GdipLinearGradientBrush brush;
    // Tiling would repeat the first colour on the edge row the end point
    // falls on; flipping keeps the far edge at the second colour.
    return roundedPath(path, rect, radius) && brush.create(start, end, from, to) &&
           brush.setWrapMode(Gdiplus::WrapModeTileFlipXY) && graphics.fillPath(brush, path);
}

bool strokeRoundedRect(GdipGraphics& graphics, const RectF& rect, int radius, Argb colour, float width) {
    GdipPath path;
    GdipPen pen;
    return roundedPath(path, rect, radius) && pen.create(colour, width) && graphics.drawPath(pen, path);
}

bool strokeRect(GdipGraphics& graphics, const RectF& rect, Argb colour, float width) {
    GdipPen pen;
    return pen.create(colour, width) && graphics.drawRectangle(pen, rect.x, rect.y, rect.width, rect.height);
}

bool fillRect(GdipGraphics& graphics, const RectF& rect, Argb colour) {
    if (invisible(colour)) return true;
    GdipSolidBrush brush;
    return brush.create(colour) && graphics.fillRectangleF(brush, rect);
}

bool drawCentredSkinImage(GdipGraphics& graphics, SkinImage image, const RectF& area, UINT dpi) {
    const SizeI size = SkinImageSet::size(image);
    if (dpi == 0 || dpi == kBaseDpi)
        return drawSkinImage(graphics, image, area.x + (area.width - static_cast<float>(size.width)) / 2,
                             area.y + (area.height - static_cast<float>(size.height)) / 2);
    const float width = static_cast<float>(scaled(size.width, dpi));
    const float height = static_cast<float>(scaled(size.height, dpi));
    // Whole pixels, as at 96 DPI where the glyphs are drawn 1:1: a glyph placed
    // half a pixel off would be smeared over two rows.
    const float x = area.x + static_cast<float>(static_cast<int>((area.width - width) / 2));
    const float y = area.y + static_cast<float>(static_cast<int>((area.height - height) / 2));
    return drawSkinImageScaled(graphics, image, RectF{x, y, width, height});
}

FrameStroke frameStroke(SizeI size, int line96, UINT dpi) {
    const int line = scaled(line96, dpi);
    const float in = static_cast<float>(line - 1) / 2;
    return {{in, in, static_cast<float>(size.width - line), static_cast<float>(size.height - line)},
            static_cast<float>(line)};
}

}  // namespace pelmora
