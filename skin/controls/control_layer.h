// Windows that paint themselves natively while the engine replaces their plain
// background by the skinned window's picture (labels, toolbars and the like).
#pragma once

#include <windows.h>

namespace pelmora {

LRESULT CALLBACK controlLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelmora
