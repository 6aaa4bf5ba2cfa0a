// Taking a top-level window over, and releasing everything its record holds
// when the window goes.
#pragma once

#include <windows.h>

namespace pelmora {

// At WM_NCDESTROY: frees the record's GDI objects, takes the record out of the
// list (later windows move up and are renumbered) and stops its fade timer.
void releaseSkinnedWindow(HWND window);

}  // namespace pelmora
