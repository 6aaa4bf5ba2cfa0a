#include "skin/controls/button_paint.h"

#include <algorithm>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "gfx/skin_images.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kGrey = 0x00808080;
constexpr COLORREF kRadioDotColour = 0x00808000;
constexpr int kFaceRadius = 5;
constexpr int kCheckBoxSize = 13;

Argb argb(COLORREF colour, std::uint8_t alpha) {
    return argbFromColour(colour, alpha);
}

float widthOf(const RECT& r) {
    return static_cast<float>(r.right - r.left);
}
float heightOf(const RECT& r) {
    return static_cast<float>(r.bottom - r.top);
}

float px(int value96, UINT dpi) {
    return static_cast<float>(scaled(value96, dpi));
}

// n (at 96 DPI) in from every edge of r, for an outline stroked by the
// scaled 1-pixel pen: at 96 DPI (left + n, top + n) and n pixels in from the
// right and bottom edges of the face, which itself ends one pixel inside the
// rectangle; a wider pen lies half a pixel further in, so it still covers
// whole rows.
RectF insetFace(const RECT& r, int n, UINT dpi) {
    const float line = px(1, dpi), in = px(n, dpi) + (line - 1) / 2;
    return {r.left + in, r.top + in, widthOf(r) - 2 * px(n, dpi) - line, heightOf(r) - 2 * px(n, dpi) - line};
}

GdipPath roundedPath(const RectF& box, int radius) {
    GdipPath path;
    path.create();
    addRoundedRectangle(path, box.x, box.y, box.width, box.height, radius);
    return path;
}

GdipPath ellipsePath(const RectF& box) {
    GdipPath path;
    path.create();
    path.addEllipse(box.x, box.y, box.width, box.height);
    return path;
}

void fillSolid(GdipGraphics& graphics, const GdipPath& shape, Argb colour) {
    GdipSolidBrush brush;
    brush.create(colour);
    graphics.fillPath(brush, shape);
}

// A linear gradient from `from` to `to`, tiled beyond them as GDI+ does.
void fillGradient(GdipGraphics& graphics, const GdipPath& shape, PointF from, PointF to, Argb first, Argb second) {
    GdipLinearGradientBrush brush;
    brush.create(from, to, first, second);
    graphics.fillPath(brush, shape);
}

void fillVertical(GdipGraphics& graphics, const GdipPath& shape, const RectF& box, Argb top, Argb bottom) {
    fillGradient(graphics, shape, {box.x, box.y}, {box.x, box.y + box.height}, top, bottom);
}

void strokePath(GdipGraphics& graphics, const GdipPath& shape, Argb colour, float width = 1.0f) {
    GdipPen pen;
    pen.create(colour, width);
    graphics.drawPath(pen, shape);
}

// The disabled look every button kind but the image buttons shares: an opaque
// grey plate with square corners under a faint rounded outline.
void paintDisabledPlate(GdipGraphics& graphics, const RECT& r, UINT dpi) {
    GdipSolidBrush plate;
    plate.create(argbFromColour(kDisabledPlateColour));
    graphics.fillRectangle(plate, static_cast<float>(r.left), static_cast<float>(r.top), widthOf(r), heightOf(r));
    strokePath(graphics, roundedPath(insetFace(r, 0, dpi), scaled(kFaceRadius, dpi)), argb(kBlack, 80), px(1, dpi));
}

struct CaptionFormat {
    Gdiplus::StringAlignment align = Gdiplus::StringAlignmentCenter;
    bool trimmed = false;
};

void drawCaption(GdipGraphics& graphics, const ButtonLook& look, const RectF& box, CaptionFormat how) {
    if (look.caption.empty()) return;
    GdipFont font;
    const float size = static_cast<float>(look.fontSize > 0 ? look.fontSize : scaled(12, look.dpi));
    if (look.fontFace.empty() || !font.createByName(look.fontFace, size, look.fontStyle, Gdiplus::UnitPixel))
        font.createDefault();
    GdipStringFormat format;
    format.create();
    format.setAlign(how.align);
    format.setLineAlign(Gdiplus::StringAlignmentCenter);
    if (how.trimmed) {
        format.setFlags(Gdiplus::StringFormatFlagsNoWrap);
        format.setTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    }
    GdipSolidBrush brush;
    brush.create(argbFromColour(look.textColour));
    graphics.drawString(look.caption, font, brush, box, &format);
}

// Decodes a picture the caller handed over; false (and nothing held) when the
// buffer is empty or is no image GDI+ can read.
bool loadPicture(GdipImage& picture, const ByteBuffer& bytes) {
    return !bytes.empty() && picture.loadFromMemory(bytes.data(), bytes.size());
}

// Natural size in pixels, whatever resolution the file claims.
void drawNaturalSize(GdipGraphics& graphics, GdipImage& picture, float x, float y) {
    graphics.drawImageRect(picture, x, y, static_cast<float>(picture.width()), static_cast<float>(picture.height()));
}

void paintPushButtonBody(GdipGraphics& graphics, const PushButtonGeometry& g, const GdipPath& face,
                         ButtonPaintState state, COLORREF accent) {
    const PointF top{g.bounds.x, g.bounds.y};
    const PointF bottom{g.bounds.x, g.bounds.y + g.bounds.height - g.line};
    fillSolid(graphics, face, argb(kWhite, 120));
    fillGradient(graphics, face, top, bottom, argb(kWhite, 0), argb(kGrey, 60));

    GdipPath gloss;
    gloss.create();
    addTopRoundedRectangle(gloss, g.gloss.x, g.gloss.y, g.gloss.width, g.gloss.height, static_cast<float>(g.radius));
    fillVertical(graphics, gloss, g.gloss, argb(kWhite, 50), argb(kWhite, 10));

    if (state.hot()) {
        fillGradient(graphics, face, top, bottom, argb(accent, 60), argb(accent, 10));
        strokePath(graphics, face, argb(accent, 255), g.line);
    } else if (state.focused()) {
        drawGlow(graphics, face, g.glow, kGlowColour, 120);
        strokePath(graphics, face, argb(kBlack, 70), g.line);
    } else {
        strokePath(graphics, face, argb(kBlack, 120), g.line);
    }

    if (state.pressed()) {
        const GdipPath inset = roundedPath(g.inset, g.radius);
        fillGradient(graphics, inset, top, {g.bounds.x, g.bounds.y + g.bounds.height - 2 * g.line}, argb(accent, 60),
                     argb(kWhite, 100));
    }
}

void paintImageButtonFace(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, UINT dpi) {
    const int faceRadius = scaled(kFaceRadius, dpi), smallRadius = scaled(2, dpi);
    const float line = px(1, dpi);
    if (state.disabled()) {
        const RectF box{r.left + px(2, dpi), r.top + px(2, dpi), widthOf(r) - px(6, dpi), heightOf(r) - px(6, dpi)};
        fillVertical(graphics, roundedPath(box, faceRadius), box, argb(kGrey, 50), argb(kWhite, 0));
    } else if (state.hot()) {
        const RectF box = insetFace(r, 0, dpi);
        fillVertical(graphics, roundedPath(box, smallRadius), box, argb(kWhite, 0), argb(kWhite, 40));
        // A bright line along the bottom edge, fading out towards both ends.
        const float y = r.bottom - line;
        GdipLinearGradientBrush shine;
        shine.create({static_cast<float>(r.left), y}, {static_cast<float>(r.right), y}, argb(kWhite, 10),
                     argb(kWhite, 255));
        shine.setLinearBlend(0.5f, 0.8f);
        GdipPen pen;
        pen.createFromBrush(shine, px(2, dpi));
        graphics.drawLine(pen, static_cast<float>(r.left), y, static_cast<float>(r.right), y);
    } else if (state.pressed() || state.focused()) {
        const RectF inner = insetFace(r, 2, dpi);
        fillVertical(graphics, roundedPath(inner, smallRadius), inner, argb(kWhite, 60), argb(kWhite, 50));
        strokePath(graphics, roundedPath(inner, faceRadius), argb(kBlack, 60), line);
        strokePath(graphics, roundedPath(insetFace(r, 1, dpi), faceRadius), argb(kWhite, 120), line);
    }
}

// The face a state-image button gets when it has no picture of its own for
// the state: the normal picture is then stretched over it.
void paintStateImageFace(GdipGraphics& graphics, const RECT& r, StateImage which, COLORREF accent, UINT dpi) {
    const float line = px(1, dpi);
    switch (which) {
        case StateImage::Normal:
            return;
        case StateImage::Disabled: {
            const RectF box = insetFace(r, 2, dpi);
            const GdipPath shape = roundedPath(box, scaled(5, dpi));
            fillVertical(graphics, shape, box, argb(kWhite, 60), argb(kBlack, 100));
            strokePath(graphics, shape, argb(kBlack, 80), line);
            return;
        }
        case StateImage::Hover:
        case StateImage::Pressed: {
            const RectF box = insetFace(r, 3, dpi);
            const GdipPath shape = roundedPath(box, scaled(3, dpi));
            if (which == StateImage::Hover) {
                fillVertical(graphics, shape, box, argb(kWhite, 120), argb(accent, 100));
            } else {
                fillVertical(graphics, shape, box, argb(kBlack, 60), argb(kWhite, 100));
            }
            strokePath(graphics, shape, argb(accent, 250), line);
            return;
        }
    }
}

}  // namespace

PushButtonGeometry pushButtonGeometry(const RECT& r, UINT dpi) {
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = widthOf(r), h = heightOf(r);
    PushButtonGeometry g;
    g.line = px(1, dpi);
    const float in = (g.line - 1) / 2;
    g.bounds = {x, y, w, h};
    g.face = {x + in, y + in, w - g.line, h - g.line};
    g.gloss = {x + in, y + in, w - g.line, h / 2};
    g.inset = {x + px(2, dpi), y + px(2, dpi), w - px(4, dpi), h - px(4, dpi)};
    g.radius = scaled(kFaceRadius, dpi);
    g.glow = scaled(3, dpi);
    return g;
}

// The glyph and the radio circles sit on whole pixels: a 13-pixel glyph drawn
// half a pixel off would be smeared over two rows.
CheckBoxGeometry checkBoxGeometry(const RECT& r, UINT dpi) {
    const float x = static_cast<float>(r.left);
    const int side = scaled(kCheckBoxSize, dpi);
    const float box = static_cast<float>(side);
    const float boxTop = static_cast<float>(r.top + (r.bottom - r.top - side) / 2);
    CheckBoxGeometry g;
    g.box = {x, boxTop, box, box};
    g.caption = {x + px(17, dpi), static_cast<float>(r.top), widthOf(r) - px(19, dpi), heightOf(r)};
    g.hotFrom = {x + px(3, dpi), boxTop + px(1, dpi)};
    g.glow = scaled(2, dpi);
    return g;
}

RadioButtonGeometry radioButtonGeometry(const RECT& r, UINT dpi) {
    const float x = static_cast<float>(r.left);
    const int h = r.bottom - r.top;
    const int ring = scaled(12, dpi);
    const float ringTop = static_cast<float>(r.top + (h - ring) / 2);
    const float discTop = static_cast<float>(r.top + (h - scaled(11, dpi)) / 2 + scaled(1, dpi));
    RadioButtonGeometry g;
    g.ring = {x + px(2, dpi), ringTop, px(12, dpi), px(12, dpi)};
    g.disc = {x + px(3, dpi), discTop, px(9, dpi), px(9, dpi)};
    g.dot = {x + px(5, dpi), ringTop + px(3, dpi), px(6, dpi), px(6, dpi)};
    g.caption = {x + px(18, dpi), static_cast<float>(r.top), widthOf(r), heightOf(r)};
    g.shade = px(10, dpi);
    g.hotShade = px(11, dpi);
    g.line = px(1, dpi);
    g.glow = scaled(2, dpi);
    return g;
}

ImageButtonLayout imageButtonLayout(const RECT& r, int imageOption, bool hasImage, bool hasCaption, int fontSize,
                                    UINT dpi) {
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = widthOf(r), h = heightOf(r);
    ImageButtonLayout layout;
    layout.hasImage = hasImage;
    layout.caption = {x, y, w, h};
    layout.captionCentred = true;
    layout.captionTrimmed = false;
    if (!hasImage) return layout;
    if (imageOption != 0) {
        const float side = 0.8f * h;
        if (hasCaption) {
            layout.image = {x + px(3, dpi), y + (h - side) / 2, side, side};
            layout.caption = {x + side + px(5, dpi), y + px(2, dpi), w - side - px(7, dpi), h};
            layout.captionCentred = false;
        } else {
            layout.image = {x + (w - side) / 2, y + (h - side) / 2, side, side};
        }
        return layout;
    }
    const float side = std::max(0.0f, 0.8f * (h - static_cast<float>(fontSize) - px(2, dpi)));
    const float imageTop = y + 0.05f * h;
    layout.image = {x + (w - side) / 2, imageTop, side, side};
    layout.caption = {x, imageTop + side, w, y + h - (imageTop + side)};
    layout.captionTrimmed = true;
    return layout;
}

StateImage stateImageFor(ButtonPaintState state) {
    if (state.disabled()) return StateImage::Disabled;
    if (state.hot()) return StateImage::Hover;
    if (state.pressed()) return StateImage::Pressed;
    return StateImage::Normal;
}

const ByteBuffer& StateImages::pick(StateImage which) const {
    switch (which) {
        case StateImage::Hover:
            return hover;
        case StateImage::Pressed:
            return pressed;
        case StateImage::Disabled:
            return disabled;
        case StateImage::Normal:
            break;
    }
    return normal;
}

bool addTopRoundedRectangle(GdipPath& path, float x, float y, float width, float height, float r) {
    // A figure of its own, so it never joins a figure already in the path.
    bool ok = path.startFigure();
    ok = path.addLine(x, y + height, x, y + r) && ok;
    ok = path.addArc(x, y, r, r, 180.0f, 90.0f) && ok;
    ok = path.addLine(x + r, y, x + width - r, y) && ok;
    ok = path.addArc(x + width - r, y, r, r, 270.0f, 90.0f) && ok;
    ok = path.addLine(x + width, y + r, x + width, y + height) && ok;
    return ok;
}

bool drawGlow(GdipGraphics& graphics, const GdipPath& path, int count, COLORREF colour, std::uint8_t alpha) {
    GdipPen pen;
    if (!pen.create(argbFromColour(colour, alpha), 1.0f)) return false;
    bool ok = true;
    for (int width = 1; width <= count; ++width)
        ok = pen.setWidth(static_cast<float>(width)) && graphics.drawPath(pen, path) && ok;
    return ok;
}

void paintPushButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, const ButtonLook& look) {
    const PushButtonGeometry g = pushButtonGeometry(r, look.dpi);
    if (state.disabled()) {
        paintDisabledPlate(graphics, r, look.dpi);
    } else {
        const GdipPath face = roundedPath(g.face, g.radius);
        paintPushButtonBody(graphics, g, face, state, look.accentColour);
    }
    drawCaption(graphics, look, g.bounds, {});
}

void paintCheckBox(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, bool checked,
                   const ButtonLook& look) {
    const CheckBoxGeometry g = checkBoxGeometry(r, look.dpi);
    if (state.disabled()) {
        paintDisabledPlate(graphics, r, look.dpi);
    } else {
        // At 96 DPI the glyphs are drawn 1:1, as they always were.
        const bool scaledGlyphs = look.dpi != kBaseDpi && look.dpi != 0;
        const auto drawGlyph = scaledGlyphs ? drawSkinImageScaled : drawSkinImageRect;
        drawGlyph(graphics, SkinImage::CheckBoxUncheckedImage, g.box);
        if (checked) drawGlyph(graphics, SkinImage::CheckBoxCheckedImage, g.box);
        if (state.hot()) {
            GdipPath box;
            box.create();
            box.addRectangle(g.box.x, g.box.y, g.box.width, g.box.height);
            const PointF from = g.hotFrom;
            fillGradient(graphics, box, from, {from.x + g.box.width, from.y + g.box.height},
                         argb(look.accentColour, 100), argb(kBlack, 0));
            drawGlow(graphics, box, g.glow, kGlowColour, 30);
        }
    }
    drawCaption(graphics, look, g.caption, {Gdiplus::StringAlignmentNear});
}

void paintRadioButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, bool checked,
                      const ButtonLook& look) {
    const RadioButtonGeometry g = radioButtonGeometry(r, look.dpi);
    const Gdiplus::SmoothingMode previousMode = graphics.smoothingMode();
    graphics.setSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    if (state.disabled()) paintDisabledPlate(graphics, r, look.dpi);

    strokePath(graphics, ellipsePath(g.ring), argb(kBlack, 200), g.line);
    const GdipPath disc = ellipsePath(g.disc);
    strokePath(graphics, disc, argb(kWhite, 255), g.line);
    fillSolid(graphics, disc, argb(kWhite, 255));
    const PointF discCorner{g.disc.x, g.disc.y};
    fillGradient(graphics, disc, discCorner, {discCorner.x + g.shade, discCorner.y + g.shade}, argb(kBlack, 100),
                 argb(kBlack, 0));
    if (state.hot()) {
        fillGradient(graphics, disc, discCorner, {discCorner.x + g.hotShade, discCorner.y + g.hotShade},
                     argb(look.accentColour, 100), argb(kBlack, 0));
        drawGlow(graphics, disc, g.glow, kGlowColour, 30);
    }
    if (checked) {
        const GdipPath dot = ellipsePath(g.dot);
        strokePath(graphics, dot, argb(kBlack, 200), g.line);
        GdipPathGradientBrush shine;
        shine.createFromPath(dot);
        shine.setCentreColour(argb(kWhite, 100));
        shine.setSurroundColours({argb(kRadioDotColour, 255)});
        graphics.fillPath(shine, dot);
    }
    drawCaption(graphics, look, g.caption, {Gdiplus::StringAlignmentNear});
    graphics.setSmoothingMode(previousMode);
}

void paintImageButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, const ByteBuffer& image,
                      int imageOption, const ButtonLook& look) {
    paintImageButtonFace(graphics, r, state, look.dpi);
    GdipImage picture;
    const bool hasImage = loadPicture(picture, image);
    const ImageButtonLayout layout =
        imageButtonLayout(r, imageOption, hasImage, !look.caption.empty(), look.fontSize, look.dpi);
    if (layout.hasImage && layout.image.width > 0)
        graphics.drawImageRect(picture, layout.image.x, layout.image.y, layout.image.width, layout.image.height);
    const auto align = layout.captionCentred ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear;
    drawCaption(graphics, look, layout.caption, {align, layout.captionTrimmed});
}

void paintStateImageButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, const StateImages& images,
                           const ButtonLook& look) {
    const StateImage which = stateImageFor(state);
    const float x = r.left + px(2, look.dpi), y = r.top + px(2, look.dpi);
    GdipImage picture;
    if (loadPicture(picture, images.pick(which))) {
        drawNaturalSize(graphics, picture, x, y);
        return;
    }
    paintStateImageFace(graphics, r, which, look.accentColour, look.dpi);
    if (loadPicture(picture, images.normal)) graphics.drawImageRect(picture, x, y, widthOf(r), heightOf(r));
}

}  // namespace pelmora
