#include "skin/controls/combo_paint.h"

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_string_format.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {
namespace {

constexpr Argb kRestLine = 0x50000000;  // black, alpha 80
constexpr wchar_t kListFace[] = L"宋体";
constexpr float kListFontSize = 12.0f;
constexpr int kTextInset = 3;

RectF toF(const RectI& r) {
    return {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
            static_cast<float>(r.height)};
}

Argb accentOf(const ControlSettings& settings, int alpha) {
    return colourOfAlpha(settings.accentColour, alpha);
}

void paintDropButton(GdipGraphics& graphics, const RectI& cell, bool hot, const ControlSettings& settings) {
    // The outline is one pixel narrower and shorter than the cell, so that a
    // 1-pixel stroke ends inside it.
    const RectF shape{static_cast<float>(cell.x), static_cast<float>(cell.y), static_cast<float>(cell.width - 1),
                      static_cast<float>(cell.height - 1)};
    strokeRoundedRect(graphics, shape, 4, hot ? accentOf(settings, 200) : kRestLine);
    fillRoundedGradient(graphics, insetRect(shape, 1), 4, accentOf(settings, hot ? 150 : 100), accentOf(settings, 30),
                        GradientDirection::TopToBottom);
    drawCentredSkinImage(graphics, SkinImage::ArrowDownImage, toF(cell));
}

void paintListText(GdipGraphics& graphics, const ComboPaint& combo, const RectI& button) {
    if (combo.text.empty()) return;
    GdipFont font;
    GdipSolidBrush brush;
    GdipStringFormat format;
    if (!font.createByName(std::wstring_view(kListFace), kListFontSize, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel))
        return;
    if (!brush.create(argbFromColour(combo.textColour)) || !format.create(Gdiplus::StringFormatFlagsNoWrap)) return;
    format.setLineAlign(Gdiplus::StringAlignmentCenter);
    format.setTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    const RectF layout{static_cast<float>(kTextInset), 0, static_cast<float>(button.x - kTextInset),
                       static_cast<float>(combo.size.height)};
    graphics.drawString(std::wstring_view(combo.text), font, brush, layout, &format);
}

}  // namespace

ComboKind comboKindOf(DWORD style) {
    switch (style & (CBS_SIMPLE | CBS_DROPDOWN)) {
        case CBS_SIMPLE:
            return ComboKind::Simple;
        case CBS_DROPDOWN:
            return ComboKind::DropDown;
        default:
            return ComboKind::DropDownList;
    }
}

int comboDropButtonWidth(ComboKind kind) {
    switch (kind) {
        case ComboKind::DropDownList:
            return 17;
        case ComboKind::DropDown:
            return 18;
        case ComboKind::Simple:
            break;
    }
    return 0;
}

RectI comboDropButton(SizeI size, ComboKind kind) {
    const int b = comboDropButtonWidth(kind);
    if (b == 0) return {};
    return {size.width - b - 2, 2, b, size.height - 4};
}

std::vector<RectI> comboKeyedAreas(ComboKind kind, const std::vector<ComboChild>& children) {
    std::vector<RectI> areas;
    for (const ComboChild& child : children)
        if (kind == ComboKind::Simple || child.isEdit) areas.push_back(child.rect);
    return areas;
}

void paintComboBox(GdipGraphics& graphics, const ComboPaint& combo, const ControlSettings& settings) {
    const float w = static_cast<float>(combo.size.width), h = static_cast<float>(combo.size.height);
    fillRect(graphics, RectF{0, 0, w, h},
             whiteOfAlpha(settings.translucentBackgrounds ? settings.backgroundAlpha : 255));
    for (const RectI& area : combo.keyedAreas) {
        graphics.setClipRectI(area.x, area.y, area.width, area.height);
        graphics.clear(argbFromColour(kComboKeyColour));
    }
    graphics.resetClip();
    strokeRect(graphics, RectF{0, 0, w - 1, h - 1}, combo.hot || combo.focused ? accentOf(settings, 200) : kRestLine);
    const RectI button = comboDropButton(combo.size, combo.kind);
    if (button.width > 0) paintDropButton(graphics, button, combo.hot, settings);
    if (combo.kind == ComboKind::DropDownList) paintListText(graphics, combo, button);
}

}  // namespace pelmora
