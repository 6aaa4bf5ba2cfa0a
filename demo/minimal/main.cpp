// The smallest program on the skin engine: a plain window with an edit box and
// a button that shows the edit's text in a message box. Everything the engine
// needs is in pelmora/skin.h; the rest is ordinary Win32.
#include <windows.h>

#include <string>

#include "base/window_class.h"
#include "pelmora/skin.h"

namespace {

constexpr wchar_t kTitle[] = L"最小的皮肤窗口";
constexpr int kEditId = 101;
constexpr int kButtonId = 102;

class MinimalWindow {
public:
    bool create(HINSTANCE instance) {
        if (!pelmora::registerWindowClass(instance, L"PelmoraMinimal", pelmora::objectWindowProc<MinimalWindow>))
            return false;
        // A popup without frame or caption: the engine draws both.
        HWND window = ::CreateWindowExW(0, L"PelmoraMinimal", kTitle, WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX, 200,
                                        200, 360, 160, nullptr, nullptr, instance, this);
        if (!window) return false;
        child(window, L"EDIT", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, L"你好", {20, 60, 230, 86}, kEditId);
        child(window, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, L"显示", {244, 58, 340, 88}, kButtonId);

        pelmora::skin::setControlSkinning(true);
        pelmora::skin::skinWindow(window, {});  // the engine's defaults
        pelmora::skin::Theme theme;
        theme.colour = RGB(0x2B, 0x3A, 0x55);
        pelmora::skin::setSkinTheme(theme);
        ::ShowWindow(window, SW_SHOW);
        return true;
    }

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
            showText(window);
            return 0;
        }
        if (message == WM_DESTROY) ::PostQuitMessage(0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

private:
    static void child(HWND parent, const wchar_t* className, DWORD style, const wchar_t* text, RECT r, int id) {
        HWND control = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                         r.right - r.left, r.bottom - r.top, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }

    static void showText(HWND window) {
        std::wstring text(::GetWindowTextLengthW(::GetDlgItem(window, kEditId)) + 1, L'\0');
        text.resize(::GetWindowTextW(::GetDlgItem(window, kEditId), text.data(), static_cast<int>(text.size())));
        const pelmora::skin::SkinNextMessageBox skinned;  // only the next box
        ::MessageBoxW(window, text.c_str(), kTitle, MB_OK);
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    pelmora::skin::startSkinModule();
    int exitCode = 1;
    {
        MinimalWindow window;
        if (window.create(instance)) {
            MSG msg;
            while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            exitCode = static_cast<int>(msg.wParam);
        }
    }
    pelmora::skin::endSkinModule();
    return exitCode;
}
