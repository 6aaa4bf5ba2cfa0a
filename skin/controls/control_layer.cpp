#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/back_buffer.h"
#include "gfx/drawing_helpers.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {
namespace {

// Classes that draw into the DC they are handed with WM_PAINT.
bool paintsIntoGivenDc(HWND window) {
    static const wchar_t* const kClasses[] = {L"SysMonthCal32",      L"SysTabControl32", L"ToolbarWindow32",
                                              L"msctls_statusbar32", L"Button",          L"msctls_trackbar32"};
    for (const wchar_t* name : kClasses)
        if (hasWindowClass(window, name)) return true;
    return false;
}

const ControlLayerRecord* layerRecordOf(HWND window) {
    return locate<ControlLayerRecord>(window).record;
}

LRESULT callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(propValue(window, kPropLayerPreviousProc));
    return previous ? ::CallWindowProcW(previous, window, message, wParam, lParam)
                    : ::DefWindowProcW(window, message, wParam, lParam);
}

COLORREF keyColourOf(HWND window) {
    const ControlLayerRecord* record = layerRecordOf(window);
    return record ? record->keyColour : ::GetSysColor(COLOR_BTNFACE);
}

// The control draws into a memory DC laid over the picture, under a white
// veil of the configured strength; its own background colour is keyed out.
LRESULT paintIntoBuffer(HWND window, WPARAM wParam, LPARAM lParam) {
    const PaintScope paint(window);
    const RECT rc = clientRect(window);
    const int width = rc.right, height = rc.bottom;
    const ControlBackground background(window, rc);
    if (!background) return callPrevious(window, WM_PAINT, wParam, lParam);
    const BackBuffer drawn(width, height);
    {
        RECT all{0, 0, width, height};
        GdiBrush key(::CreateSolidBrush(keyColourOf(window)));
        ::FillRect(drawn.dc(), &all, key.get());
    }
    const LRESULT result = callPrevious(window, WM_PAINT, reinterpret_cast<WPARAM>(drawn.dc()), lParam);
    const BLENDFUNCTION veil{AC_SRC_OVER, 0, static_cast<BYTE>(controlSettings().backgroundAlpha), 0};
    const BackBuffer white(1, 1);
    ::SetPixel(white.dc(), 0, 0, RGB(255, 255, 255));
    ::AlphaBlend(background.dc(), 0, 0, width, height, white.dc(), 0, 0, 1, 1, veil);
    ::TransparentBlt(background.dc(), 0, 0, width, height, drawn.dc(), 0, 0, width, height, keyColourOf(window));
    ::BitBlt(paint.dc(), 0, 0, width, height, background.dc(), 0, 0, SRCCOPY);
    return result;
}

// The control paints on screen as it always does; then every pixel it left in
// its key colour is replaced by the picture behind it.
LRESULT paintOverScreen(HWND window, LPARAM lParam) {
    RECT update{};
    ::GetUpdateRect(window, &update, FALSE);
    if (::IsRectEmpty(&update)) ::GetClientRect(window, &update);
    const int width = update.right - update.left, height = update.bottom - update.top;
    const ControlBackground background(window, update);
    if (!background) return callPrevious(window, WM_PAINT, 0, lParam);
    const COLORREF key = keyColourOf(window);
    WindowDc screen(window);
    {
        // What the screen held before is stale; starting from the key colour
        // leaves only what the control itself draws in this paint.
        GdiBrush brush(::CreateSolidBrush(key));
        ::FillRect(screen.get(), &update, brush.get());
    }
    const LRESULT result = callPrevious(window, WM_PAINT, reinterpret_cast<WPARAM>(background.dc()), lParam);
    ::TransparentBlt(background.dc(), 0, 0, width, height, screen.get(), update.left, update.top, width, height, key);
    ::BitBlt(screen.get(), update.left, update.top, width, height, background.dc(), 0, 0, SRCCOPY);
    invalidateVisibleChildren(window);
    return result;
}

}  // namespace

LRESULT CALLBACK controlLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const ControlSettings& settings = controlSettings();
    switch (message) {
        case WM_MOVE:
            if (settings.translucentBackgrounds) ::InvalidateRect(window, nullptr, FALSE);
            break;
        case WM_ERASEBKGND:
            if (!settings.translucentBackgrounds) break;
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_PAINT:
            if (!settings.controlSkinningEnabled) break;
            return paintsIntoGivenDc(window) ? paintIntoBuffer(window, wParam, lParam)
                                             : paintOverScreen(window, lParam);
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
            break;
        default:
            if (hasWindowClass(window, L"RichEdit20A") || hasWindowClass(window, L"RichEdit20W"))
                ::InvalidateRect(window, nullptr, FALSE);
            break;
    }
    return callPrevious(window, message, wParam, lParam);
}

// Answers nothing for its parent: the window's shared answers serve it.
const ControlClass kControlLayerClass(ControlProcedure::ControlLayer, controlLayerProc);

}  // namespace pelmora
