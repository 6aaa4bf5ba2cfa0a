// The font a control draws its text with, as face, size and GDI+ style.
#pragma once

#include <windows.h>

#include "skin/controls/core/control_records.h"

namespace pelmora {

// Asks the control for its font (WM_GETFONT) and reads face, size (truncated)
// and style through a GDI+ font made on the control's screen DC; a control that
// reports no font gives the DC's current font. The control's font stays
// untouched. Needs GDI+ running; empty when it is not.
ControlFont readControlFont(HWND control);

}  // namespace pelmora
