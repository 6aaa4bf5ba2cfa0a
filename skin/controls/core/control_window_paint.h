// How the engine's painters put a whole control on screen: the window's
// picture under the control's window rectangle, the control drawn over it
// through a GDI+ graphics, and the result copied in one piece, so the screen
// never shows a half-drawn control.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "gfx/gdip_types.h"
#include "skin/controls/core/cached_face.h"

namespace pelmora {

class GdipGraphics;

// Draws the control onto a surface of its window size.
using ControlDrawing = std::function<void(GdipGraphics& graphics, SizeI window)>;

// Where the result goes. A client-area DC (from BeginPaint, say) receives it
// shifted by the client's place in the window, so the same pixels land where
// they would through the window DC.
struct ControlTarget {
    HDC clientDc = nullptr;  // null: the window DC, border included
};

// False when the control lies in no skinned window or has no size; nothing is
// drawn then.
bool paintControlWindow(HWND control, ControlTarget target, const ControlDrawing& draw);

// The same through the control's kept face: `key` names everything `draw`
// reads besides the size, the picture under the control and the control
// settings (those are added here), so a repaint of an unchanged control is a copy.
bool paintControlWindow(HWND control, ControlTarget target, CachedFace& kept, FaceKey key, const ControlDrawing& draw);

// The same, copied through the window DC with TransparentBlt so that every
// pixel of `key` leaves the screen as it is.
bool paintControlWindowKeyed(HWND control, COLORREF key, const ControlDrawing& draw);
bool paintControlWindowKeyed(HWND control, COLORREF key, CachedFace& kept, FaceKey faceKey, const ControlDrawing& draw);

// The control's window size.
SizeI windowSizeOf(HWND control);

// The control's visible scroll bars, in screen coordinates.
std::vector<RECT> scrollBarRects(HWND control);

// Lets the system draw the control's scroll bars and nothing else of its
// non-client area (the engine paints the border there): WM_NCPAINT's default
// handling with a region made of the scroll bars alone. Without scroll bars
// the system draws nothing.
LRESULT paintNativeScrollBars(HWND control);

}  // namespace pelmora
