#include "base/dpi_scale.h"

#include "base/unique_resource.h"
#include "base/win32_util.h"

namespace pelmora {

UINT systemDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT windowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = systemProc<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return dpi;
    }
    return systemDpi();
}

}  // namespace pelmora
