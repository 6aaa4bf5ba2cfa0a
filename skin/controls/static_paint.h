// Painting of a skinned "Static" control. The engine draws text, bitmap and
// icon statics itself, over a surface that already holds the window's picture
// behind the control: text as anti-aliased GDI+ glyphs blended onto that
// picture (there is no grey box around them), images where the style places
// them. Every other static (frames, rectangles, owner-drawn, metafiles) keeps
// its native paint.
#pragma once

#include <windows.h>

#include <string_view>

#include "base/dpi_scale.h"
#include "gfx/gdip_types.h"
#include "skin/controls/control_text.h"
#include "skin/controls/core/control_records.h"

namespace pelmora {

class GdipGraphics;

// What a static shows (the record's StaticKind), from the SS_ type bits of its
// style.
StaticKind staticKindOf(DWORD style);

// How a text static lays out its text, from its style: SS_CENTER and SS_RIGHT
// align it across; SS_CENTERIMAGE centres one line down the control, as the
// system does; SS_LEFTNOWORDWRAP, SS_SIMPLE and the ellipsis styles keep it on
// one line; SS_NOPREFIX shows "&" as it is.
TextLayout staticTextLayoutOf(DWORD style);

// Where a bitmap or icon static puts its image. The system sizes such a static
// to its image unless told otherwise, so the natural size at the top-left is
// the default; SS_CENTERIMAGE centres it, SS_RIGHTJUST keeps it at the
// bottom-right corner, SS_REALSIZECONTROL stretches it over the control (in
// that order of precedence).
enum class StaticImagePlacement : int { TopLeft = 0, Centred = 1, BottomRight = 2, Stretched = 3 };
StaticImagePlacement staticImagePlacementOf(DWORD style);

// The image's rectangle in a control of `control` size. A centred image
// larger than the control overhangs it evenly (half the excess, truncated
// toward zero, on the left and top) and is clipped.
RectI staticImageRect(SizeI control, SizeI image, StaticImagePlacement placement);

struct StaticTextPaint {
    SizeI size;
    std::wstring_view text;
    ControlFont font;  // face-less: 宋体; size 0: 12 pixels at 96 DPI, scaled to `dpi`
    COLORREF textColour = 0;
    TextLayout layout;
    UINT dpi = kBaseDpi;  // the window's
};

// Draws the text over the picture in the surface; only glyph pixels change.
// Leaves the blending modes of useBlendedTextModes on the graphics.
void paintTextStatic(GdipGraphics& graphics, const StaticTextPaint& paint);

// Draws the bitmap into `target` (a surface of the control's size) where the
// placement puts it, stretched with halftoning when the sizes differ. False
// when there is no bitmap or it could not be drawn (a bitmap still selected
// into another DC, for one); the target is then left as it was.
bool paintBitmapStatic(HDC target, SizeI control, HBITMAP bitmap, StaticImagePlacement placement);

// The same for an icon, drawn with its mask so the picture shows around it.
bool paintIconStatic(HDC target, SizeI control, HICON icon, StaticImagePlacement placement);

// Sizes of the images a static shows; zero when the handle is not one.
SizeI bitmapSize(HBITMAP bitmap);
SizeI iconSize(HICON icon);

}  // namespace pelmora
