// Text that the engine draws for a control straight onto the window's picture:
// a static's text, a group box's caption, a header item's title. The glyphs are
// anti-aliased and blended with what lies below, so there is no box of the
// control's own colour around them.
#pragma once

#include <windows.h>

#include <string_view>

#include "gfx/gdip_types.h"
#include "skin/controls/core/control_records.h"

namespace pelmora {

class GdipFont;
class GdipGraphics;

// The face a control gets when its font names none, and the size when it
// reports none (pixels).
constexpr wchar_t kFallbackFace[] = L"宋体";
constexpr int kFallbackFontSize = 12;

// The control's font in pixels: its own face, else 宋体, else the stock GUI
// font, so text is always drawn in something. False only when even that failed.
bool makeControlFont(GdipFont& font, const ControlFont& wanted);

enum class TextAlign { Near, Centre, Far };

// How a block of text is laid out in its rectangle.
struct TextLayout {
    TextAlign align = TextAlign::Near;      // across
    TextAlign lineAlign = TextAlign::Near;  // down
    bool wrap = true;                       // break lines at the rectangle's right edge
    bool ellipsis = false;                  // cut what does not fit with "…"
    bool hidePrefix = true;                 // "&" marks a mnemonic and is not drawn
};

// Sets the modes that make glyph edges blend with the picture below (smoothing
// AntiAlias, compositing quality GammaCorrected, interpolation
// HighQualityBicubic, pixel offset None, anti-aliased text). They stay on for
// the rest of the graphics' life, so painters draw their figures first.
void useBlendedTextModes(GdipGraphics& graphics);

// Draws the text in the colour (always opaque). Nothing for empty text or an
// empty rectangle.
bool drawControlText(GdipGraphics& graphics, std::wstring_view text, const GdipFont& font, COLORREF colour,
                     const RectF& box, const TextLayout& layout);

// The box the text takes in the font on one line (its width and height; x and
// y are 0). Empty for empty text or when GDI+ could not measure.
RectF measureControlText(GdipGraphics& graphics, std::wstring_view text, const GdipFont& font);

}  // namespace pelmora
