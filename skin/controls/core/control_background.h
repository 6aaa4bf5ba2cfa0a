// What a control painter draws on: a back buffer holding exactly what the
// skinned window shows behind the control, and the look-ups that find which
// skinned window, container or background provider the control lies in.
#pragma once

#include <windows.h>

#include "gfx/back_buffer.h"

namespace pelmora {

// A listed memory DC of r's size whose bitmap already holds the background
// under the control at its window position + (r.left, r.top), with the fill of
// the container it belongs to laid over it. 0 when the control lies in no
// skinned window and no provider. Hand it back with releaseControlBackground.
HDC prepareControlBackground(HWND control, const RECT& r);
// The same background drawn into `buffer`, a DC of r's size whose pixels are
// all 0 (transparent black), for a caller that keeps its buffer between paints.
// False, with the buffer left as it was, where prepareControlBackground gives 0.
bool fillControlBackground(HDC buffer, HWND control, const RECT& r);

// What prepareControlBackground hands out, owned: acquired at the top of a
// painter and given back when it goes. Empty (false) where the function gives 0.
class ControlBackground : public BackBuffer {
public:
    ControlBackground(HWND control, const RECT& r) : BackBuffer(prepareControlBackground(control, r)) {}
};

// Where a control lies. `inWindow` is true when nothing recorded lies between
// the control and its skinned window; otherwise the container or the provider
// found on the way up is named (fields left 0 where nothing was found).
struct ControlOwner {
    bool inWindow = false;
    int recordIndex = 0;
    int containerIndex = 0;
    HWND provider = nullptr;
};
ControlOwner locateControlOwner(HWND control, bool useProviders);

// The window's rectangle relative to its skinned window (zero for a skinned window itself).
RECT offsetInSkinnedWindow(HWND window);
// 1-based index in record `recordIndex`'s containers of the entry for `window`; 0 when none.
int findContainerIndex(int recordIndex, HWND window);
// Nearest ancestor container below `stop` that passes its fill to its children; 0 when none.
int findFillingContainer(int recordIndex, HWND window, HWND stop);
// The window's rectangle in its parent's client coordinates (zero for a skinned window).
RECT childRectInParentClient(HWND window);

// Removes the visible, not click-through direct children of `window` from the
// clip region of `dc` (a DC of the window's client area). Returns the DC.
HDC excludeChildrenFromClip(HWND window, HDC dc);

}  // namespace pelmora
