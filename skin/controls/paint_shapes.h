// Figures the control painters share: a rounded rectangle filled with a brush,
// filled with a two-colour gradient across a direction, or stroked with a pen.
// Each call makes and destroys its own path, brush and pen, so a painter never
// keeps a GDI+ object beyond the line that uses it. Fills whose colours are
// all of alpha 0 draw nothing and return true at once.
#pragma once

#include <windows.h>

#include "base/dpi_scale.h"
#include "gfx/gdip_types.h"
#include "gfx/skin_images.h"

namespace pelmora {

class GdipGraphics;

// Direction a two-colour gradient runs in: from the rectangle's top edge to
// its bottom edge, or from its left edge to its right edge.
enum class GradientDirection { TopToBottom, LeftToRight };

// White of an alpha (clamped to 0..255), the fill painters lay over a
// translucent background.
Argb whiteOfAlpha(int alpha);
// The accent (or any COLORREF) with an alpha clamped to 0..255.
Argb colourOfAlpha(COLORREF colour, int alpha);

// The rectangle shrunk by `by` on every side.
RectF insetRect(const RectF& rect, float by);

bool fillRoundedRect(GdipGraphics& graphics, const RectF& rect, int radius, Argb colour);
bool fillRoundedGradient(GdipGraphics& graphics, const RectF& rect, int radius, Argb from, Argb to,
                         GradientDirection direction);
bool strokeRoundedRect(GdipGraphics& graphics, const RectF& rect, int radius, Argb colour, float width = 1.0f);
// A plain rectangle outline (x, y, width, height as GDI+ strokes it).
bool strokeRect(GdipGraphics& graphics, const RectF& rect, Argb colour, float width = 1.0f);
bool fillRect(GdipGraphics& graphics, const RectF& rect, Argb colour);

// Draws a glyph centred in the area (positions in floating point, as GDI+
// places images): at its natural size at 96 DPI, else at its size scaled to
// the DPI (drawSkinImageScaled) on whole pixels.
bool drawCentredSkinImage(GdipGraphics& graphics, SkinImage image, const RectF& area, UINT dpi = kBaseDpi);

// A frame line along the edges of an area of `size`: the rectangle a pen of
// `width` pixels strokes so that it covers exactly the outer `width` rows and
// columns (a 1-pixel pen on (0, 0, w - 1, h - 1); a 2-pixel pen half a pixel
// further in). `line96` is the line's width at 96 DPI.
struct FrameStroke {
    RectF rect;
    float width = 1.0f;
};
FrameStroke frameStroke(SizeI size, int line96, UINT dpi);

}  // namespace pelmora
