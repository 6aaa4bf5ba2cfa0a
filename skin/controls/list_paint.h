// Painting of the list-type controls' border: list boxes, the drop-down list
// of a combo box, list views, tree views, IP-address and date-time controls.
// Like an edit's, the border lives in the non-client area around the native
// scroll bars; the client area is the control's own. Where the client lies
// inside the window is found with clientAreaInWindow (skin/controls/core/control_colour.h).
#pragma once

#include <windows.h>

#include "base/dpi_scale.h"
#include "gfx/gdip_types.h"
#include "skin/controls/combo_paint.h"
#include "skin/controls/core/control_settings.h"

namespace pelmora {

class GdipGraphics;

// The drop-down list of a combo box pops up outside any skinned window, so
// nothing of the picture lies behind it. Its frame area starts in the combo's
// key colour, and whatever stays in it shows the system's own paint.
constexpr COLORREF kComboListKeyColour = kComboKeyColour;

// Whether the control asked for a border: WS_BORDER, or an extended edge style
// (WS_EX_CLIENTEDGE, WS_EX_STATICEDGE, WS_EX_WINDOWEDGE, WS_EX_DLGMODALFRAME).
// Without one the skinned control gets only the background, no line.
bool hasListBorder(DWORD style, DWORD exStyle);

// A "ListBox" style that draws its own items (LBS_OWNERDRAWFIXED or
// LBS_OWNERDRAWVARIABLE). Such a list keeps its own erasing; only its frame is
// skinned. The class check is the caller's: other classes use these bits for
// other things.
bool isOwnerDrawnListBox(DWORD style);

struct ListFramePaint {
    SizeI window;  // the whole window rectangle
    RectI client;  // where the client lies in it (left alone)
    bool hot = false;
    bool focused = false;
    bool border = false;     // hasListBorder
    bool comboList = false;  // a combo box's drop-down list
    UINT dpi = kBaseDpi;     // the window's
};

// Paints everything of the window outside the client (scroll bars are drawn
// natively over it afterwards): a combo list's area is first cleared to the key
// colour; then white of the background alpha while translucent, else opaque
// white; then, with a border, a line around the window rectangle, 1 pixel at
// 96 DPI and scaled (frameStroke):
// the accent at alpha 180 while hot or focused, black at alpha 80 otherwise.
void paintListFrame(GdipGraphics& graphics, const ListFramePaint& frame, const ControlSettings& settings);

}  // namespace pelmora
