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
        fillRoundedGradient(graphics, layout.face, layout.faceRadius, colourOfAlpha(accent, kHeaderHotTopAlpha),
                            colourOfAlpha(accent, kHeaderHotBottomAlpha), GradientDirection::TopToBottom);
        fillRect(graphics, layout.accentBar, colourOfAlpha(accent, kHeaderHotBarAlpha));
    } else if (look == HeaderItemLook::Pressed) {
        fillRoundedGradient(graphics, layout.face, layout.faceRadius, colourOfAlpha(accent, kHeaderPressedTopAlpha),
                            colourOfAlpha(accent, kHeaderPressedBottomAlpha), GradientDirection::TopToBottom);
    }
    fillRect(graphics, layout.separator, kSeparator);
}

}  // namespace

HeaderItemLayout headerItemLayout(const RectI& item, bool pressed, UINT dpi) {
    HeaderItemLayout layout;
    const RectF r = toF(item);
    const float line = static_cast<float>(scaled(1, dpi));
    const float separatorInset = static_cast<float>(scaled(kHeaderSeparatorInset, dpi));
    const float textInset = static_cast<float>(scaled(kHeaderTextInset, dpi));
    const float faceWidth = std::max(0.0f, r.width - line), faceHeight = std::max(0.0f, r.height - line);
    layout.face = {r.x, r.y, faceWidth, faceHeight};
    layout.separator = {r.x + faceWidth, r.y + separatorInset, r.width > 0 ? std::min(line, r.width) : 0.0f,
                        std::max(0.0f, faceHeight - separatorInset)};
    const float bar = std::min<float>(static_cast<float>(scaled(kHeaderAccentBar, dpi)), faceHeight);
    layout.accentBar = {r.x, r.y + faceHeight - bar, faceWidth, bar};
    const float shift = pressed ? line : 0.0f;
    layout.title = {r.x + textInset + shift, r.y + shift, std::max(0.0f, faceWidth - 2 * textInset), faceHeight};
    layout.faceRadius = scaled(1, dpi);
    return layout;
}

RectF headerBottomLine(SizeI size, UINT dpi) {
    const float line = static_cast<float>(std::min(scaled(1, dpi), std::max(0, size.height)));
    return {0, static_cast<float>(size.height) - line, static_cast<float>(size.width), line};
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
        layouts.push_back(headerItemLayout(header.items[i].rect, look == HeaderItemLook::Pressed, header.dpi));
        paintItemFace(graphics, layouts.back(), look, settings);
    }
    fillRect(graphics, headerBottomLine(header.size, header.dpi), kBottomLine);

    GdipFont font;
    ControlFont wanted = header.font;
    if (wanted.size <= 0) wanted.size = scaled(kFallbackFontSize, header.dpi);
    if (!makeControlFont(font, wanted)) return;
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
