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

namespace pelmora {
namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kGrey = 0x00808080;
constexpr COLORREF kRadioDotColour = 0x00808000;
constexpr int kFaceRadius = 5;
constexpr float kCheckBoxSize = 13.0f;

Argb argb(COLORREF colour, std::uint8_t alpha) {
    return argbFromColour(colour, alpha);
}

float widthOf(const RECT& r) {
    return static_cast<float>(r.right - r.left);
}
float heightOf(const RECT& r) {
    return static_cast<float>(r.bottom - r.top);
}

// (left + n, top + n) and n pixels in from the right and bottom edges of the
// face, which itself ends one pixel inside the rectangle.
RectF insetFace(const RECT& r, float n) {
    return {r.left + n, r.top + n, widthOf(r) - 1 - 2 * n, heightOf(r) - 1 - 2 * n};
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
void paintDisabledPlate(GdipGraphics& graphics, const RECT& r) {
    GdipSolidBrush plate;
    plate.create(argbFromColour(kDisabledPlateColour));
    graphics.fillRectangle(plate, static_cast<float>(r.left), static_cast<float>(r.top), widthOf(r), heightOf(r));
    strokePath(graphics, roundedPath(insetFace(r, 0), kFaceRadius), argb(kBlack, 80));
}

struct CaptionFormat {
    Gdiplus::StringAlignment align = Gdiplus::StringAlignmentCenter;
    bool trimmed = false;
};

void drawCaption(GdipGraphics& graphics, const ButtonLook& look, const RectF& box, CaptionFormat how) {
    if (look.caption.empty()) return;
    GdipFont font;
    const float size = static_cast<float>(look.fontSize > 0 ? look.fontSize : 12);
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
    const PointF bottom{g.bounds.x, g.bounds.y + g.bounds.height - 1};
    fillSolid(graphics, face, argb(kWhite, 120));
    fillGradient(graphics, face, top, bottom, argb(kWhite, 0), argb(kGrey, 60));

    GdipPath gloss;
    gloss.create();
    addTopRoundedRectangle(gloss, g.gloss.x, g.gloss.y, g.gloss.width, g.gloss.height, kFaceRadius);
    fillVertical(graphics, gloss, g.gloss, argb(kWhite, 50), argb(kWhite, 10));

    if (state.hot()) {
        fillGradient(graphics, face, top, bottom, argb(accent, 60), argb(accent, 10));
        strokePath(graphics, face, argb(accent, 255));
    } else if (state.focused()) {
        drawGlow(graphics, face, 3, kGlowColour, 120);
        strokePath(graphics, face, argb(kBlack, 70));
    } else {
        strokePath(graphics, face, argb(kBlack, 120));
    }

    if (state.pressed()) {
        const GdipPath inset = roundedPath(g.inset, kFaceRadius);
        fillGradient(graphics, inset, top, {g.bounds.x, g.bounds.y + g.bounds.height - 2}, argb(accent, 60),
                     argb(kWhite, 100));
    }
}

void paintImageButtonFace(GdipGraphics& graphics, const RECT& r, ButtonPaintState state) {
    if (state.disabled()) {
        const RectF box{r.left + 2.0f, r.top + 2.0f, widthOf(r) - 6, heightOf(r) - 6};
        fillVertical(graphics, roundedPath(box, kFaceRadius), box, argb(kGrey, 50), argb(kWhite, 0));
    } else if (state.hot()) {
        const RectF box = insetFace(r, 0);
        fillVertical(graphics, roundedPath(box, 2), box, argb(kWhite, 0), argb(kWhite, 40));
        // A bright line along the bottom edge, fading out towards both ends.
        const float y = r.bottom - 1.0f;
        GdipLinearGradientBrush shine;
        shine.create({static_cast<float>(r.left), y}, {static_cast<float>(r.right), y}, argb(kWhite, 10),
                     argb(kWhite, 255));
        shine.setLinearBlend(0.5f, 0.8f);
        GdipPen pen;
        pen.createFromBrush(shine, 2.0f);
        graphics.drawLine(pen, static_cast<float>(r.left), y, static_cast<float>(r.right), y);
    } else if (state.pressed() || state.focused()) {
        const RectF inner = insetFace(r, 2);
        fillVertical(graphics, roundedPath(inner, 2), inner, argb(kWhite, 60), argb(kWhite, 50));
        strokePath(graphics, roundedPath(insetFace(r, 2), kFaceRadius), argb(kBlack, 60));
        strokePath(graphics, roundedPath(insetFace(r, 1), kFaceRadius), argb(kWhite, 120));
    }
}

// The face a state-image button gets when it has no picture of its own for
// the state: the normal picture is then stretched over it.
void paintStateImageFace(GdipGraphics& graphics, const RECT& r, StateImage which, COLORREF accent) {
    switch (which) {
        case StateImage::Normal:
            return;
        case StateImage::Disabled: {
            const RectF box = insetFace(r, 2);
            const GdipPath shape = roundedPath(box, 5);
            fillVertical(graphics, shape, box, argb(kWhite, 60), argb(kBlack, 100));
            strokePath(graphics, shape, argb(kBlack, 80));
            return;
        }
        case StateImage::Hover:
        case StateImage::Pressed: {
            const RectF box = insetFace(r, 3);
            const GdipPath shape = roundedPath(box, 3);
            if (which == StateImage::Hover) {
                fillVertical(graphics, shape, box, argb(kWhite, 120), argb(accent, 100));
            } else {
                fillVertical(graphics, shape, box, argb(kBlack, 60), argb(kWhite, 100));
            }
            strokePath(graphics, shape, argb(accent, 250));
            return;
        }
    }
}

}  // namespace

PushButtonGeometry pushButtonGeometry(const RECT& r) {
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = widthOf(r), h = heightOf(r);
    return {{x, y, w, h}, {x, y, w - 1, h - 1}, {x, y, w - 1, h / 2}, {x + 2, y + 2, w - 4, h - 4}};
}

// The glyph and the radio circles sit on whole pixels: a 13-pixel glyph drawn
// half a pixel off would be smeared over two rows.
CheckBoxGeometry checkBoxGeometry(const RECT& r) {
    const float x = static_cast<float>(r.left);
    const float boxTop = static_cast<float>(r.top + (r.bottom - r.top - 13) / 2);
    return {{x, boxTop, kCheckBoxSize, kCheckBoxSize},
            {x + 17, static_cast<float>(r.top), widthOf(r) - 19, heightOf(r)}};
}

RadioButtonGeometry radioButtonGeometry(const RECT& r) {
    const float x = static_cast<float>(r.left);
    const int h = r.bottom - r.top;
    const float ringTop = static_cast<float>(r.top + (h - 12) / 2);
    const float discTop = static_cast<float>(r.top + (h - 11) / 2 + 1);
    return {{x + 2, ringTop, 12, 12},
            {x + 3, discTop, 9, 9},
            {x + 5, ringTop + 3, 6, 6},
            {x + 18, static_cast<float>(r.top), widthOf(r), heightOf(r)}};
}

ImageButtonLayout imageButtonLayout(const RECT& r, int imageOption, bool hasImage, bool hasCaption, int fontSize) {
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
            layout.image = {x + 3, y + (h - side) / 2, side, side};
            layout.caption = {x + side + 5, y + 2, w - side - 7, h};
            layout.captionCentred = false;
        } else {
            layout.image = {x + (w - side) / 2, y + (h - side) / 2, side, side};
        }
        return layout;
    }
    const float side = std::max(0.0f, 0.8f * (h - static_cast<float>(fontSize) - 2));
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
    const PushButtonGeometry g = pushButtonGeometry(r);
    if (state.disabled()) {
        paintDisabledPlate(graphics, r);
    } else {
        const GdipPath face = roundedPath(g.face, kFaceRadius);
        paintPushButtonBody(graphics, g, face, state, look.accentColour);
    }
    drawCaption(graphics, look, g.bounds, {});
}

void paintCheckBox(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, bool checked,
                   const ButtonLook& look) {
    const CheckBoxGeometry g = checkBoxGeometry(r);
    if (state.disabled()) {
        paintDisabledPlate(graphics, r);
    } else {
        drawSkinImageRect(graphics, SkinImage::CheckBoxUncheckedImage, g.box);
        if (checked) drawSkinImageRect(graphics, SkinImage::CheckBoxCheckedImage, g.box);
        if (state.hot()) {
            GdipPath box;
            box.create();
            box.addRectangle(g.box.x, g.box.y, g.box.width, g.box.height);
            const PointF from{g.box.x + 3, g.box.y + 1};
            fillGradient(graphics, box, from, {from.x + kCheckBoxSize, from.y + kCheckBoxSize},
                         argb(look.accentColour, 100), argb(kBlack, 0));
            drawGlow(graphics, box, 2, kGlowColour, 30);
        }
    }
    drawCaption(graphics, look, g.caption, {Gdiplus::StringAlignmentNear});
}

void paintRadioButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, bool checked,
                      const ButtonLook& look) {
    const RadioButtonGeometry g = radioButtonGeometry(r);
    const Gdiplus::SmoothingMode previousMode = graphics.smoothingMode();
    graphics.setSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    if (state.disabled()) paintDisabledPlate(graphics, r);

    strokePath(graphics, ellipsePath(g.ring), argb(kBlack, 200));
    const GdipPath disc = ellipsePath(g.disc);
    strokePath(graphics, disc, argb(kWhite, 255));
    fillSolid(graphics, disc, argb(kWhite, 255));
    const PointF discCorner{g.disc.x, g.disc.y};
    fillGradient(graphics, disc, discCorner, {discCorner.x + 10, discCorner.y + 10}, argb(kBlack, 100),
                 argb(kBlack, 0));
    if (state.hot()) {
        fillGradient(graphics, disc, discCorner, {discCorner.x + 11, discCorner.y + 11}, argb(look.accentColour, 100),
                     argb(kBlack, 0));
        drawGlow(graphics, disc, 2, kGlowColour, 30);
    }
    if (checked) {
        const GdipPath dot = ellipsePath(g.dot);
        strokePath(graphics, dot, argb(kBlack, 200));
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
    paintImageButtonFace(graphics, r, state);
    GdipImage picture;
    const bool hasImage = loadPicture(picture, image);
    const ImageButtonLayout layout = imageButtonLayout(r, imageOption, hasImage, !look.caption.empty(), look.fontSize);
    if (layout.hasImage && layout.image.width > 0)
        graphics.drawImageRect(picture, layout.image.x, layout.image.y, layout.image.width, layout.image.height);
    const auto align = layout.captionCentred ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear;
    drawCaption(graphics, look, layout.caption, {align, layout.captionTrimmed});
}

void paintStateImageButton(GdipGraphics& graphics, const RECT& r, ButtonPaintState state, const StateImages& images,
                           const ButtonLook& look) {
    const StateImage which = stateImageFor(state);
    const float x = r.left + 2.0f, y = r.top + 2.0f;
    GdipImage picture;
    if (loadPicture(picture, images.pick(which))) {
        drawNaturalSize(graphics, picture, x, y);
        return;
    }
    paintStateImageFace(graphics, r, which, look.accentColour);
    if (loadPicture(picture, images.normal)) graphics.drawImageRect(picture, x, y, widthOf(r), heightOf(r));
}

}  // namespace pelmora
