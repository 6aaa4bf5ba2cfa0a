#include "skin/controls/control_text.h"

#include <string>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_string_format.h"

namespace pelmora {
namespace {

Gdiplus::StringAlignment alignmentOf(TextAlign align) {
    switch (align) {
        case TextAlign::Centre:
            return Gdiplus::StringAlignmentCenter;
        case TextAlign::Far:
            return Gdiplus::StringAlignmentFar;
        case TextAlign::Near:
            break;
    }
    return Gdiplus::StringAlignmentNear;
}

bool makeFormat(GdipStringFormat& format, const TextLayout& layout) {
    if (!format.create(layout.wrap ? 0 : Gdiplus::StringFormatFlagsNoWrap)) return false;
    format.setAlign(alignmentOf(layout.align));
    format.setLineAlign(alignmentOf(layout.lineAlign));
    format.setHotkeyPrefix(layout.hidePrefix ? Gdiplus::HotkeyPrefixHide : Gdiplus::HotkeyPrefixNone);
    format.setTrimming(layout.ellipsis ? Gdiplus::StringTrimmingEllipsisCharacter : Gdiplus::StringTrimmingNone);
    return true;
}

// CR LF as a single LF. Both systems' GDI+ break a line at LF; Wine's draws a
// CR as a glyph of its own (a box), and texts here break lines with CR LF as
// the system's controls expect.
std::wstring withPlainLineBreaks(std::wstring_view text) {
    std::wstring plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')) plain += text[i];
    return plain;
}

}  // namespace

bool makeControlFont(GdipFont& font, const ControlFont& wanted) {
    const float size = static_cast<float>(wanted.size > 0 ? wanted.size : kFallbackFontSize);
    if (!wanted.face.empty() &&
        font.createByName(std::wstring_view(wanted.face), size, wanted.style, Gdiplus::UnitPixel))
        return true;
    if (font.createByName(std::wstring_view(kFallbackFace), size, wanted.style, Gdiplus::UnitPixel)) return true;
    return font.createDefault();
}

void useBlendedTextModes(GdipGraphics& graphics) {
    graphics.setSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.setCompositingQuality(Gdiplus::CompositingQualityGammaCorrected);
    graphics.setInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.setPixelOffsetMode(Gdiplus::PixelOffsetModeNone);
    // ClearType would colour the edges for one screen's sub-pixels; plain
    // grey-scale anti-aliasing blends with any picture.
    graphics.setTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
}

bool drawControlText(GdipGraphics& graphics, std::wstring_view text, const GdipFont& font, COLORREF colour,
                     const RectF& box, const TextLayout& layout) {
    if (text.empty() || box.width <= 0 || box.height <= 0) return false;
    GdipStringFormat format;
    GdipSolidBrush brush;
    return makeFormat(format, layout) && brush.create(argbFromColour(colour)) &&
           graphics.drawString(withPlainLineBreaks(text), font, brush, box, &format);
}

RectF measureControlText(GdipGraphics& graphics, std::wstring_view text, const GdipFont& font) {
    if (text.empty()) return {};
    GdipStringFormat format;
    if (!makeFormat(format, TextLayout{TextAlign::Near, TextAlign::Near, false, false, true})) return {};
    RectF bounds;
    if (!graphics.measureString(withPlainLineBreaks(text), font, RectF{0, 0, 100000.0f, 100000.0f}, &format, bounds))
        return {};
    return {0, 0, bounds.width, bounds.height};
}

}  // namespace pelmora
