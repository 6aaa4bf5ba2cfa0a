// The DPI the painters draw a control at.
#pragma once

#include <windows.h>

#include "base/dpi_scale.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {

// Its skinned window's, as the window record keeps it (frame.dpi, which
// follows WM_DPICHANGED), so a window and its controls always change scale
// together. A control outside any skinned window (a combo box's dropped list)
// is asked of the system.
inline UINT controlDpi(HWND control) {
    const SkinnedWindowRecord* owner = windowRecord(findOwnerWindowRecord(control));
    return owner ? owner->frame.dpi : windowDpi(control);
}

}  // namespace pelmora
