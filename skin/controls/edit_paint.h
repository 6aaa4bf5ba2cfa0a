// Painting of a skinned edit box: the border the engine draws in the
// non-client area, and the translucent text-area background that lets the
// window's picture show through the text. Everything here works on sizes,
// rectangles and device contexts; finding them for a live edit is the
// edit procedure's business.
#pragma once

#include <windows.h>

#include "base/unique_resource.h"
#include "gfx/gdip_types.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {

class GdipGraphics;

// The three looks of the border. The pointer wins over the focus: a focused
// edit under the pointer shows the hot border.
enum class EditBorderLook { Rest, Focused, Hot };
EditBorderLook editBorderLook(bool hot, bool focused);

// The border's outline in a window of `size`: at rest and focused a line of 1
// (at 96 DPI) along the window's edges; hot a line of 2 whose pen is centred
// on the first line in (a 2-pixel pen on (1, 1, w - 2, h - 2) at 96 DPI).
FrameStroke editFrameStroke(SizeI size, EditBorderLook look, UINT dpi = kBaseDpi);

// Paints the border of an edit of `window` size onto a surface that holds the
// background under the whole window. Only the area outside `client` is
// touched: it is filled (white of the background alpha while backgrounds are
// translucent, opaque white otherwise) and then outlined in the given look.
void paintEditFrame(GdipGraphics& graphics, SizeI window, const RectI& client, EditBorderLook look,
                    const ControlSettings& settings, UINT dpi = kBaseDpi);

// Lays white of `alpha` over the client part of `background` (a surface of
// the window's size holding what lies behind the edit) and copies that part
// into `target` at (0, 0). False when a copy failed.
bool paintEditBackground(HDC background, const RectI& client, int alpha, HDC target);

}  // namespace pelmora
