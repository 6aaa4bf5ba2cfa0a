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
constexpr int kListFontSize = 12;
constexpr int kTextInset = 3;
constexpr int kButtonRadius = 4;

RectF toF(const RectI& r) {
    return {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
            static_cast<float>(r.height)};
}

Argb accentOf(const ControlSettings& settings, int alpha) {
    return colourOfAlpha(settings.accentColour, alpha);
}

void paintDropButton(GdipGraphics& graphics, const ComboGeometry& g, bool hot, const ControlSettings& settings,
                     UINT dpi) {
    strokeRoundedRect(graphics, g.buttonOutline, g.buttonRadius, hot ? accentOf(settings, 200) : kRestLine,
                      g.frame.width);
    fillRoundedGradient(graphics, g.buttonFill, g.buttonRadius, accentOf(settings, hot ? 150 : 100),
                        accentOf(settings, 30), GradientDirection::TopToBottom);
    drawCentredSkinImage(graphics, SkinImage::ArrowDownImage, toF(g.button), dpi);
}

void paintListText(GdipGraphics& graphics, const ComboPaint& combo, const RectF& layout) {
    if (combo.text.empty()) return;
    GdipFont font;
    GdipSolidBrush brush;
    GdipStringFormat format;
    const float size = static_cast<float>(scaled(kListFontSize, combo.dpi));
    if (!font.createByName(std::wstring_view(kListFace), size, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel)) return;
    if (!brush.create(argbFromColour(combo.textColour)) || !format.create(Gdiplus::StringFormatFlagsNoWrap)) return;
    format.setLineAlign(Gdiplus::StringAlignmentCenter);
    format.setTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
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

int comboDropButtonWidth(ComboKind kind, UINT dpi) {
    switch (kind) {
        case ComboKind::DropDownList:
            return scaled(17, dpi);
        case ComboKind::DropDown:
            return scaled(18, dpi);
        case ComboKind::Simple:
            break;
    }
    return 0;
}

RectI comboDropButton(SizeI size, ComboKind kind, UINT dpi) {
    const int b = comboDropButtonWidth(kind, dpi);
    if (b == 0) return {};
    const int gap = scaled(2, dpi);
    return {size.width - b - gap, gap, b, size.height - 2 * gap};
}

ComboGeometry comboGeometry(SizeI size, ComboKind kind, UINT dpi) {
    ComboGeometry g;
    g.frame = frameStroke(size, 1, dpi);
    g.button = comboDropButton(size, kind, dpi);
    // The outline keeps the frame's line inside the cell, as the frame keeps
    // its own inside the window.
    const FrameStroke cell = frameStroke({g.button.width, g.button.height}, 1, dpi);
    g.buttonOutline = {g.button.x + cell.rect.x, g.button.y + cell.rect.y, cell.rect.width, cell.rect.height};
    g.buttonFill = insetRect(g.buttonOutline, cell.width);
    g.buttonRadius = scaled(kButtonRadius, dpi);
    const float inset = static_cast<float>(scaled(kTextInset, dpi));
    g.text = {inset, 0, static_cast<float>(g.button.x) - inset, static_cast<float>(size.height)};
    return g;
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
    const ComboGeometry g = comboGeometry(combo.size, combo.kind, combo.dpi);
    strokeRect(graphics, g.frame.rect, combo.hot || combo.focused ? accentOf(settings, 200) : kRestLine, g.frame.width);
    if (g.button.width > 0) paintDropButton(graphics, g, combo.hot, settings, combo.dpi);
    if (combo.kind == ComboKind::DropDownList) paintListText(graphics, combo, g.text);
}

}  // namespace pelmora
