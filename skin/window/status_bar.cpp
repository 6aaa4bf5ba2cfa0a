#include "skin/window/status_bar.h"

#include <algorithm>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "skin/controls/paint_shapes.h"
#include "skin/controls/progress_paint.h"

namespace pelmora {
namespace {

constexpr int kPadding = 2;
constexpr int kImageGap = 3;
constexpr int kMeterMaxWidth = 60;
constexpr int kMeterHeight = 7;
constexpr int kSeparatorInset = 3;
constexpr int kSeparatorAlpha = 80;
constexpr int kMeterFrameAlpha = 140;
constexpr int kMeterFillAlpha = 230;

bool isEmpty(const RectF& r) {
    return r.width <= 0 || r.height <= 0;
}

float px(int value96, UINT dpi) {
    return static_cast<float>(scaled(value96, dpi));
}

void drawItemText(GdipGraphics& graphics, const std::wstring& text, const RectF& area, const StatusBarStyle& style,
                  UINT dpi) {
    if (text.empty() || isEmpty(area)) return;
    GdipFont font;
    const int fontStyle = style.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    // Points would follow the DC's DPI, which is the system's, not the
    // window's; at another DPI the size is turned into the window's pixels.
    const bool base = dpi == 0 || dpi == kBaseDpi;
    const float size = base ? static_cast<float>(style.fontSize) : scaledF(style.fontSize * 96.0f / 72.0f, dpi);
    if (!font.createByName(std::wstring_view(style.fontFace), size, fontStyle,
                           base ? Gdiplus::UnitPoint : Gdiplus::UnitPixel) &&
        !font.createDefault())
        return;
    GdipStringFormat format;
    GdipSolidBrush brush;
    if (!format.genericDefault() || !brush.create(argbFromColour(style.textColour))) return;
    format.setLineAlign(Gdiplus::StringAlignmentCenter);
    format.setFlags(Gdiplus::StringFormatFlagsNoWrap);
    format.setTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    graphics.drawString(text, font, brush, area, &format);
}

void drawItemImage(GdipGraphics& graphics, GdipImage& image, const RectF& area) {
    if (isEmpty(area)) return;
    graphics.drawImageRect(image, area.x, area.y, area.width, area.height);
}

}  // namespace

StatusBarStyle changedStatusBarStyle(const StatusBarStyle& style, const StatusBarStyleChange& change) {
    StatusBarStyle changed = style;
    if (change.textColour) changed.textColour = *change.textColour & 0x00FFFFFF;
    if (change.fontFace && !change.fontFace->empty()) changed.fontFace = *change.fontFace;
    if (change.fontSize && *change.fontSize >= 1) changed.fontSize = *change.fontSize;
    if (change.bold) changed.bold = *change.bold;
    if (change.fillColour) changed.fillColour = *change.fillColour & 0x00FFFFFF;
    if (change.fillAlpha) changed.fillAlpha = std::clamp(*change.fillAlpha, 0, 255);
    return changed;
}

int statusMeterValue(int value) {
    if (value < 0) return kNoStatusMeter;
    return std::min(value, 100);
}

StatusItemLayout statusItemLayout(const RECT& item, SizeI imageSize, int meterValue, UINT dpi) {
    StatusItemLayout layout;
    const float padding = px(kPadding, dpi), gap = px(kImageGap, dpi), line = px(1, dpi);
    layout.line = line;
    const float left = static_cast<float>(item.left) + padding, right = static_cast<float>(item.right) - padding;
    const float top = static_cast<float>(item.top), height = static_cast<float>(item.bottom - item.top);
    float textLeft = left, textRight = right;

    if (imageSize.width > 0 && imageSize.height > 0) {
        const float room = std::max(0.0f, height - 2 * padding);
        const float scale = std::min(1.0f, room / static_cast<float>(imageSize.height));
        const float w = static_cast<float>(imageSize.width) * scale, h = static_cast<float>(imageSize.height) * scale;
        layout.image = {left, top + (height - h) / 2, w, h};
        textLeft = left + w + gap;
    }
    if (meterValue >= 0) {
        const float w = std::min(px(kMeterMaxWidth, dpi), (right - left) / 2);
        const float h = std::min(px(kMeterHeight, dpi), height - 2 * padding);
        if (w > 2 * line && h > 2 * line) {
            layout.meter = {right - w, top + (height - h) / 2, w, h};
            textRight = layout.meter.x - gap;
            const int done = progressFillLength(static_cast<int>(w - 2 * line), 0, 100, meterValue);
            if (done > 0)
                layout.meterFill = {layout.meter.x + line, layout.meter.y + line, static_cast<float>(done),
                                    h - 2 * line};
        }
    }
    layout.text = {textLeft, top, std::max(0.0f, textRight - textLeft), height};
    return layout;
}

void paintStatusItem(GdipGraphics& graphics, const RECT& item, const StatusItem& content, const StatusBarStyle& style,
                     COLORREF accent, bool separator, UINT dpi) {
    const RectF whole{static_cast<float>(item.left), static_cast<float>(item.top),
                      static_cast<float>(item.right - item.left), static_cast<float>(item.bottom - item.top)};
    fillRect(graphics, whole, colourOfAlpha(style.fillColour, style.fillAlpha));

    GdipImage image;
    SizeI imageSize;
    // An image GDI+ cannot read is kept with the item but leaves no gap.
    if (!content.image.empty() && image.loadFromMemory(content.image.data(), content.image.size()))
        imageSize = {static_cast<int>(image.width()), static_cast<int>(image.height())};
    const StatusItemLayout layout = statusItemLayout(item, imageSize, content.meterValue, dpi);
    const float line = layout.line, in = (line - 1) / 2;

    if (imageSize.width > 0) drawItemImage(graphics, image, layout.image);
    drawItemText(graphics, content.text, layout.text, style, dpi);
    if (!isEmpty(layout.meter)) {
        strokeRect(graphics,
                   {layout.meter.x + in, layout.meter.y + in, layout.meter.width - line, layout.meter.height - line},
                   colourOfAlpha(style.textColour, kMeterFrameAlpha), line);
        fillRect(graphics, layout.meterFill, colourOfAlpha(accent, kMeterFillAlpha));
    }
    if (separator) {
        GdipPen pen;
        const float x = whole.x + whole.width - line + in;
        const float inset = px(kSeparatorInset, dpi);
        if (pen.create(colourOfAlpha(style.textColour, kSeparatorAlpha), line))
            graphics.drawLine(pen, x, whole.y + inset, x, whole.y + whole.height - inset - line);
    }
}

}  // namespace pelmora
