#include "skin/dialog/dialog_effects.h"

#include <shlwapi.h>

#include <atomic>

#include "base/unique_resource.h"

namespace pelmora {
namespace {

std::atomic<long> fadesFinished{0};

bool setAlpha(HWND window, int alpha) {
    return ::SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA) != FALSE;
}

}  // namespace

bool makeLayered(HWND window, bool clickThrough) {
    const LONG style = ::GetWindowLongW(window, GWL_EXSTYLE);
    ::SetLastError(0);
    // SetWindowLong returns the previous style, which may be 0: only the last
    // error tells a failure apart.
    return ::SetWindowLongW(window, GWL_EXSTYLE, layeredExStyle(style, clickThrough)) != 0 || ::GetLastError() == 0;
}

bool setRoundedWindowRegion(HWND window, int width, int height, UINT dpi) {
    const RoundedRegionShape shape = roundedRegionShape(width, height, dpi);
    GdiRegion region(
        ::CreateRoundRectRgn(shape.left, shape.top, shape.right, shape.bottom, shape.ellipse, shape.ellipse));
    if (!region || !::SetWindowRgn(window, region.get(), TRUE)) return false;
    region.release();  // the window owns it now
    return true;
}

DWORD WINAPI fadeInDialog(void* dialog) {
    HWND window = static_cast<HWND>(dialog);
    DWORD landed = 0;
    for (int step = 1; step <= kDialogFadeSteps; ++step) {
        ::Sleep(kDialogFadeInDelayMs);
        if (setAlpha(window, dialogFadeInAlpha(step))) ++landed;
    }
    ++fadesFinished;
    return landed;
}

bool startDialogFadeIn(HWND dialog) {
    return ::SHCreateThread(fadeInDialog, dialog, 0, nullptr) != FALSE;
}

long dialogFadesFinished() {
    return fadesFinished.load();
}

bool stepDownDialogAlpha(HWND dialog, bool fadeInStarted) {
    for (int step = 1; step <= kDialogFadeSteps; ++step) {
        setAlpha(dialog, dialogStepDownAlpha(step));
        ::Sleep(kDialogStepDownDelayMs);
    }
    return fadeInStarted && startDialogFadeIn(dialog);
}

}  // namespace pelmora
