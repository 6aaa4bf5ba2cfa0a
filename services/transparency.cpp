#include "services/transparency.h"

#include "base/win32_util.h"

namespace pelmora {

int clampedAlpha(std::optional<int> alpha) {
    if (alpha && *alpha >= 0 && *alpha <= 255) return *alpha;
    return 255;
}

bool setWindowAlpha(HWND hwnd, std::optional<int> alpha) {
    // Layered windows exist from Windows 2000 on; look the function up so a
    // system without it gets a plain false instead of a failed start.
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    static const auto setLayered = systemProc<SetLayeredFn>(L"user32.dll", "SetLayeredWindowAttributes");
    if (!setLayered) return false;
    ::SetWindowLongW(hwnd, GWL_EXSTYLE, WS_EX_LAYERED);
    return setLayered(hwnd, 0, static_cast<BYTE>(clampedAlpha(alpha)), LWA_ALPHA) != FALSE;
}

}  // namespace pelmora
