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

namespace pelmora {

class GdipGraphics;

// The three looks of the border. The pointer wins over the focus: a focused
// edit under the pointer shows the hot border.
enum class EditBorderLook { Rest, Focused, Hot };
EditBorderLook editBorderLook(bool hot, bool focused);

// Where the client area lies inside the window rectangle, in window
// coordinates. The border is what remains of the window beyond the client
// once the scroll bars' sizes are taken off; it is split evenly between the
// two sides, and the scroll bars sit right and below the client.
RectI editClientArea(SizeI window, SizeI client, int verticalScrollWidth, int horizontalScrollHeight);

// Paints the border of an edit of `window` size onto a surface that holds the
// background under the whole window. Only the area outside `client` is
// touched: it is filled (white of the background alpha while backgrounds are
// translucent, opaque white otherwise) and then outlined in the given look.
void paintEditFrame(GdipGraphics& graphics, SizeI window, const RectI& client, EditBorderLook look,
                    const ControlSettings& settings);

// Lays white of `alpha` over `area` of `surface`, through GDI+ so that it
// blends with the picture as the frame's fill does; nothing for alpha 0.
void layTranslucentWhite(HDC surface, const RectI& area, int alpha);

// Lays white of `alpha` over the client part of `background` (a surface of
// the window's size holding what lies behind the edit) and copies that part
// into `target` at (0, 0). False when a copy failed.
bool paintEditBackground(HDC background, const RectI& client, int alpha, HDC target);

// The same client part, with the same white laid over it, as a new bitmap of
// the client's size: what the pattern brush of the edit's translucent
// background is made from. Empty when the bitmap could not be made.
GdiBitmap makeTranslucentBrushBitmap(HDC background, const RectI& client, int alpha);

}  // namespace pelmora
