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

// Paints the border of an edit of `window` size onto a surface that holds the
// background under the whole window. Only the area outside `client` is
// touched: it is filled (white of the background alpha while backgrounds are
// translucent, opaque white otherwise) and then outlined in the given look.
void paintEditFrame(GdipGraphics& graphics, SizeI window, const RectI& client, EditBorderLook look,
                    const ControlSettings& settings);

// Lays white of `alpha` over the client part of `background` (a surface of
// the window's size holding what lies behind the edit) and copies that part
// into `target` at (0, 0). False when a copy failed.
bool paintEditBackground(HDC background, const RectI& client, int alpha, HDC target);

}  // namespace pelmora
