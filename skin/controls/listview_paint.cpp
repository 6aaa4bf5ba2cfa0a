#include "skin/controls/listview_paint.h"

#include <algorithm>

#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/control_text.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kBottomLine = 0x50000000;  // black, alpha 80
constexpr Argb kSeparator = 0x28000000;   // black, alpha 40

RectF toF(const RectI& r) {
    return {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
            static_cast<float>(r.height)};
}

TextAlign titleAlignOf(int format) {
    switch (format & HDF_JUSTIFYMASK) {
        case HDF_RIGHT:
            return TextAlign::Far;
        case HDF_CENTER:
            return TextAlign::Centre;
        default:
            return TextAlign::Near;
    }
}

void paintItemFace(GdipGraphics& graphics, const HeaderItemLayout& layout, HeaderItemLook look,
                   const ControlSettings& settings) {
    const COLORREF accent = settings.accentColour;
    if (look == HeaderItemLook::Hot) {
        fillRoundedGradient(graphics, layout.face, 1, colourOfAlpha(accent, kHeaderHotTopAlpha),
                            colourOfAlpha(accent, kHeaderHotBottomAlpha), GradientDirection::TopToBottom);
        fillRect(graphics, layout.accentBar, colourOfAlpha(accent, kHeaderHotBarAlpha));
    } else if (look == HeaderItemLook::Pressed) {
        fillRoundedGradient(graphics, layout.face, 1, colourOfAlpha(accent, kHeaderPressedTopAlpha),
                            colourOfAlpha(accent, kHeaderPressedBottomAlpha), GradientDirection::TopToBottom);
    }
    fillRect(graphics, layout.separator, kSeparator);
}

}  // namespace

HeaderItemLayout headerItemLayout(const RectI& item, bool pressed) {
    HeaderItemLayout layout;
    const RectF r = toF(item);
    const float faceWidth = std::max(0.0f, r.width - 1), faceHeight = std::max(0.0f, r.height - 1);
    layout.face = {r.x, r.y, faceWidth, faceHeight};
    layout.separator = {r.x + faceWidth, r.y + kHeaderSeparatorInset, r.width > 0 ? 1.0f : 0.0f,
                        std::max(0.0f, faceHeight - kHeaderSeparatorInset)};
    const float bar = std::min<float>(kHeaderAccentBar, faceHeight);
    layout.accentBar = {r.x, r.y + faceHeight - bar, faceWidth, bar};
    const float shift = pressed ? 1.0f : 0.0f;
    layout.title = {r.x + kHeaderTextInset + shift, r.y + shift, std::max(0.0f, faceWidth - 2 * kHeaderTextInset),
                    faceHeight};
    return layout;
}

int headerItemAt(const std::vector<HeaderItem>& items, PointI point) {
    for (size_t i = 0; i < items.size(); ++i) {
        const RectI& r = items[i].rect;
        if (point.x >= r.x && point.x < r.x + r.width && point.y >= r.y && point.y < r.y + r.height)
            return static_cast<int>(i);
    }
    return -1;
}

HeaderItemLook headerItemLook(int item, int hotItem, bool pressed, bool buttons) {
    if (item < 0 || item != hotItem) return HeaderItemLook::Rest;
    return pressed && buttons ? HeaderItemLook::Pressed : HeaderItemLook::Hot;
}

void paintHeader(GdipGraphics& graphics, const HeaderPaint& header, const ControlSettings& settings) {
    const float w = static_cast<float>(header.size.width), h = static_cast<float>(header.size.height);
    if (w <= 0 || h <= 0) return;
    fillRect(graphics, RectF{0, 0, w, h},
             whiteOfAlpha(settings.translucentBackgrounds ? settings.backgroundAlpha : 255));
    std::vector<HeaderItemLayout> layouts;
    for (size_t i = 0; i < header.items.size(); ++i) {
        const HeaderItemLook look = headerItemLook(static_cast<int>(i), header.hotItem, header.pressed, header.buttons);
        layouts.push_back(headerItemLayout(header.items[i].rect, look == HeaderItemLook::Pressed));
        paintItemFace(graphics, layouts.back(), look, settings);
    }
    fillRect(graphics, RectF{0, h - 1, w, 1}, kBottomLine);

    GdipFont font;
    if (!makeControlFont(font, header.font)) return;
    useBlendedTextModes(graphics);
    for (size_t i = 0; i < header.items.size(); ++i) {
        TextLayout layout;
        layout.align = titleAlignOf(header.items[i].format);
        layout.lineAlign = TextAlign::Centre;
        layout.wrap = false;
        layout.ellipsis = true;
        drawControlText(graphics, header.items[i].text, font, header.textColour, layouts[i].title, layout);
    }
}

}  // namespace pelmora
