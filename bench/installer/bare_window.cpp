// Baselines for the start-up benchmark: the smallest Win32 program that shows
// a 500 x 300 window with a title, built and run exactly like the installer.
// Built a second time with BARE_WINDOW_LOADED: the same window, but the
// program also imports every system DLL the installer imports and carries
// its payload, which shows what loading those alone costs.
#include <windows.h>

#ifdef BARE_WINDOW_LOADED
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <wingdi.h>

#include "payload/embedded_data.h"

extern "C" void* WINAPI GdipAlloc(size_t size);

// One function of each DLL, kept so the linker records the imports; none is called.
static const void* volatile imports[] = {
    reinterpret_cast<const void*>(&GdipAlloc),
    reinterpret_cast<const void*>(&CoTaskMemFree),
    reinterpret_cast<const void*>(&SHGetFolderPathW),
    reinterpret_cast<const void*>(&InitCommonControlsEx),
    reinterpret_cast<const void*>(&AlphaBlend),
    reinterpret_cast<const void*>(&RegCloseKey),
    reinterpret_cast<const void*>(&pelmora::payloadArchive),
};
#endif

static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef BARE_WINDOW_LOADED
    if (!imports[0]) return 2;
#endif
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"bare window", WS_POPUP | WS_VISIBLE, 262, 234, 500, 300, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
