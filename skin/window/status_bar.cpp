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

constexpr float kPadding = 2;
constexpr float kImageGap = 3;
constexpr float kMeterMaxWidth = 60;
constexpr float kMeterHeight = 7;
constexpr int kSeparatorAlpha = 80;
constexpr int kMeterFrameAlpha = 140;
constexpr int kMeterFillAlpha = 230;

bool isEmpty(const RectF& r) {
    return r.width <= 0 || r.height <= 0;
}

void drawItemText(GdipGraphics& graphics, const std::wstring& text, const RectF& area, const StatusBarStyle& style) {
    if (text.empty() || isEmpty(area)) return;
    GdipFont font;
    const int fontStyle = style.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    if (!font.createByName(std::wstring_view(style.fontFace), static_cast<float>(style.fontSize), fontStyle,
                           Gdiplus::UnitPoint) &&
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

StatusItemLayout statusItemLayout(const RECT& item, SizeI imageSize, int meterValue) {
    StatusItemLayout layout;
    const float left = static_cast<float>(item.left) + kPadding, right = static_cast<float>(item.right) - kPadding;
    const float top = static_cast<float>(item.top), height = static_cast<float>(item.bottom - item.top);
    float textLeft = left, textRight = right;

    if (imageSize.width > 0 && imageSize.height > 0) {
        const float room = std::max(0.0f, height - 2 * kPadding);
        const float scale = std::min(1.0f, room / static_cast<float>(imageSize.height));
        const float w = static_cast<float>(imageSize.width) * scale, h = static_cast<float>(imageSize.height) * scale;
        layout.image = {left, top + (height - h) / 2, w, h};
        textLeft = left + w + kImageGap;
    }
    if (meterValue >= 0) {
        const float w = std::min(kMeterMaxWidth, (right - left) / 2);
        const float h = std::min(kMeterHeight, height - 2 * kPadding);
        if (w > 2 && h > 2) {
            layout.meter = {right - w, top + (height - h) / 2, w, h};
            textRight = layout.meter.x - kImageGap;
            const int done = progressFillLength(static_cast<int>(w) - 2, 0, 100, meterValue);
            if (done > 0) layout.meterFill = {layout.meter.x + 1, layout.meter.y + 1, static_cast<float>(done), h - 2};
        }
    }
    layout.text = {textLeft, top, std::max(0.0f, textRight - textLeft), height};
    return layout;
}

void paintStatusItem(GdipGraphics& graphics, const RECT& item, const StatusItem& content, const StatusBarStyle& style,
                     COLORREF accent, bool separator) {
    const RectF whole{static_cast<float>(item.left), static_cast<float>(item.top),
                      static_cast<float>(item.right - item.left), static_cast<float>(item.bottom - item.top)};
    fillRect(graphics, whole, colourOfAlpha(style.fillColour, style.fillAlpha));

    GdipImage image;
    SizeI imageSize;
    // An image GDI+ cannot read is kept with the item but leaves no gap.
    if (!content.image.empty() && image.loadFromMemory(content.image.data(), content.image.size()))
        imageSize = {static_cast<int>(image.width()), static_cast<int>(image.height())};
    const StatusItemLayout layout = statusItemLayout(item, imageSize, content.meterValue);

    if (imageSize.width > 0) drawItemImage(graphics, image, layout.image);
    drawItemText(graphics, content.text, layout.text, style);
    if (!isEmpty(layout.meter)) {
        strokeRect(graphics, {layout.meter.x, layout.meter.y, layout.meter.width - 1, layout.meter.height - 1},
                   colourOfAlpha(style.textColour, kMeterFrameAlpha));
        fillRect(graphics, layout.meterFill, colourOfAlpha(accent, kMeterFillAlpha));
    }
    if (separator) {
        GdipPen pen;
        const float x = whole.x + whole.width - 1;
        if (pen.create(colourOfAlpha(style.textColour, kSeparatorAlpha)))
            graphics.drawLine(pen, x, whole.y + 3, x, whole.y + whole.height - 4);
    }
}

}  // namespace pelmora
