#include "skin/dialog/dialog_paint.h"

#include <algorithm>

#include "base/dpi_scale.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "gfx/skin_images.h"
#include "skin/dialog/dialog_geometry.h"

namespace pelmora {
namespace {

constexpr wchar_t kTitleFace[] = L"黑体";
constexpr float kTitleLeft = 25, kTitleHeight = 30;
constexpr int kIconOffset = 5, kIconSize = 17;
constexpr int kOuterBorderRadius = 7, kInnerBorderRadius = 6;  // as the main window's border
constexpr int kHighlightRadius = 5;

float f(int value) {
    return static_cast<float>(value);
}

float s(int value96, UINT dpi) {
    return static_cast<float>(scaled(value96, dpi));
}

void fill(GdipGraphics& graphics, std::uint32_t argb, float x, float y, float width, float height) {
    GdipSolidBrush brush;
    brush.create(argb);
    graphics.fillRectangle(brush, x, y, width, height);
}

// The picture at the dialog's scale from the top-left corner (the one made
// at twice the size above 150 %), cut at the rectangle's edges without
// touching the caller's clip.
void drawBackground(GdipGraphics& graphics, const RECT& r, const DialogLook& look) {
    const bool large = look.background2x && look.background2xSize != 0 && usesDoublePicture(look.dpi);
    const std::uint8_t* bytes = large ? look.background2x : look.background;
    const std::size_t size = large ? look.background2xSize : look.backgroundSize;
    if (!bytes || size == 0) return;
    GdipImage image;
    if (!image.loadFromMemory(bytes, size)) return;
    const int pixelsWide = static_cast<int>(image.width()), pixelsHigh = static_cast<int>(image.height());
    const int drawnWide = scaledPictureSize(pixelsWide, large ? 2 : 1, look.dpi);
    const int drawnHigh = scaledPictureSize(pixelsHigh, large ? 2 : 1, look.dpi);
    if (drawnWide <= 0 || drawnHigh <= 0) return;
    const float width = std::min(f(drawnWide), f(r.right - r.left));
    const float height = std::min(f(drawnHigh), f(r.bottom - r.top));
    const bool resized = drawnWide != pixelsWide || drawnHigh != pixelsHigh;
    if (resized) graphics.setInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.drawImageRectRect(image, {f(r.left), f(r.top), width, height},
                               {0, 0, width * f(pixelsWide) / f(drawnWide), height * f(pixelsHigh) / f(drawnHigh)});
    if (resized) graphics.setInterpolationMode(Gdiplus::InterpolationModeDefault);
}

// Theme colour and picture, the veil of the theme colour, the white wash and
// the caption band's gradient.
void paintSurface(GdipGraphics& graphics, const RECT& r, const DialogLook& look) {
    const float x = f(r.left), y = f(r.top), width = f(r.right - r.left), height = f(r.bottom - r.top);
    fill(graphics, argbFromColour(look.themeColour), x, y, width, height);
    drawBackground(graphics, r, look);
    fill(graphics, argbFromColour(look.themeColour, kDialogVeilAlpha), x, y, width, height);
    fill(graphics, argbFromColour(0x00FFFFFF, kDialogWashAlpha), x, y, width, height);
    const float band = std::min(s(kDialogCaptionBandHeight, look.dpi), height);
    GdipLinearGradientBrush gradient;
    gradient.create({x, y}, {x, y + band}, kDialogBandTop, kDialogBandBottom);
    // Flipped tiling keeps GDI+ from wrapping the bottom colour into the first row.
    gradient.setWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.fillRectangle(gradient, x, y, width, band);
}

void paintBorder(GdipGraphics& graphics, const RECT& r, UINT dpi) {
    const float x = f(r.left), y = f(r.top), width = f(r.right - r.left), height = f(r.bottom - r.top);
    // As the main window's border: lines scaled(1) wide, moved inwards by half
    // the extra width so they stay inside.
    const float line = s(1, dpi), outerAt = (line - 1) / 2, innerAt = outerAt + line;
    GdipPath outer, inner;
    outer.create();
    inner.create();
    addRoundedRectangle(outer, x + outerAt, y + outerAt, width - 1 - 2 * outerAt, height - 1 - 2 * outerAt,
                        s(kOuterBorderRadius, dpi));
    addRoundedRectangle(inner, x + innerAt, y + innerAt, width - 1 - 2 * innerAt, height - 1 - 2 * innerAt,
                        s(kInnerBorderRadius, dpi));
    GdipPen black, white;
    black.create(kDialogOuterBorder, line);
    white.create(kDialogInnerBorder, line);
    graphics.drawPath(black, outer);
    graphics.drawPath(white, inner);
}

void paintTitle(GdipGraphics& graphics, const RECT& r, std::wstring_view title, UINT dpi) {
    if (title.empty()) return;
    GdipPath path;
    if (!path.create() || !addDialogTitlePath(path, title, r.right - r.left, dpi)) return;
    const Gdiplus::SmoothingMode previous = graphics.smoothingMode();
    graphics.setSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    GdipPen pen;
    pen.create(0xFFFFFFFF, scaledF(kDialogTitlePenWidth, dpi));
    pen.setLineJoin(Gdiplus::LineJoinRound);  // mitred joins spike out of the glyphs' sharp corners
    GdipSolidBrush white;
    white.create(0xFFFFFFFF);
    // The path is laid out at the origin and moved by the graphics: GDI+ on
    // Wine drops the vertical centring of a layout rectangle that does not
    // start at y = 0.
    graphics.translateTransform(f(r.left), f(r.top));
    graphics.drawPath(pen, path);
    graphics.fillPath(white, path);
    graphics.translateTransform(-f(r.left), -f(r.top));
    graphics.setSmoothingMode(previous);
}

}  // namespace

bool addDialogTitlePath(GdipPath& path, std::wstring_view title, int windowWidth, UINT dpi) {
    GdipFontFamily family;
    if (!family.createFromName(std::wstring_view(kTitleFace))) return false;
    GdipStringFormat format;
    if (!format.genericDefault()) return false;
    format.setFlags(format.flags() | Gdiplus::StringFormatFlagsNoWrap);
    format.setAlign(Gdiplus::StringAlignmentNear);
    format.setLineAlign(Gdiplus::StringAlignmentCenter);
    const RectF layout{scaledF(kTitleLeft, dpi), 0, f(windowWidth), scaledF(kTitleHeight, dpi)};
    return path.addString(title, family, Gdiplus::FontStyleRegular, scaledF(kDialogTitleEmSize, dpi), layout, &format);
}

void paintDialogCloseButton(GdipGraphics& graphics, const RECT& r, bool hot, UINT dpi) {
    const DialogCloseLayout layout = layoutDialogCloseButton(r.right - r.left, dpi);
    const float x = f(r.left), y = f(r.top);
    const RECT& h = layout.hot;
    if (hot) {
        GdipPath shape;
        shape.create();
        addRoundedRectangle(shape, x + f(h.left), y + f(h.top), f(h.right - h.left), f(h.bottom - h.top),
                            s(kHighlightRadius, dpi));
        GdipLinearGradientBrush brush;
        brush.create({0, y + f(h.top)}, {0, y + f(h.bottom)}, argbFromColour(kDialogCloseHighlight), 0x00FFFFFF);
        brush.setWrapMode(Gdiplus::WrapModeTileFlipXY);
        graphics.fillPath(brush, shape);
    }
    const SizeI glyph = SkinImageSet::size(SkinImage::DialogCloseGlyph);
    // Scaled with a high-quality filter once per composed picture, which the
    // paints then copy.
    const RectF place{x + f(layout.glyph.x), y + f(layout.glyph.y), s(glyph.width, dpi), s(glyph.height, dpi)};
    if (dpi != kBaseDpi)
        drawSkinImageScaled(graphics, SkinImage::DialogCloseGlyph, place);
    else
        drawSkinImageRect(graphics, SkinImage::DialogCloseGlyph, place);
}

void paintDialog(GdipGraphics& graphics, HDC dc, const RECT& r, const DialogLook& look) {
    paintSurface(graphics, r, look);
    paintBorder(graphics, r, look.dpi);
    if (look.icon) {
        // GDI draws the icon: everything GDI+ queued must land first, or it
        // would cover the icon when it is flushed.
        graphics.flush(Gdiplus::FlushIntentionSync);
        const int offset = scaled(kIconOffset, look.dpi), size = scaled(kIconSize, look.dpi);
        ::DrawIconEx(dc, r.left + offset, r.top + offset, look.icon, size, size, 0, nullptr, DI_NORMAL);
    }
    paintTitle(graphics, r, look.title, look.dpi);
    paintDialogCloseButton(graphics, r, look.closeHot, look.dpi);
    graphics.flush(Gdiplus::FlushIntentionSync);
}

}  // namespace pelmora
