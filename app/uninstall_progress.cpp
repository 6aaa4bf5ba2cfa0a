#include "app/uninstall_progress.h"

#include <commctrl.h>

#include "base/window_class.h"
#include "pelmora/skin.h"
#include "services/message_pump.h"

namespace pelmora {
namespace {

constexpr int kWidth = 360, kHeight = 130;
constexpr int kMargin = 20, kLineTop = 45, kLineHeight = 20, kBarTop = 80, kBarHeight = 18;

// The removal cannot stop halfway, so the engine's close button closes
// nothing; the window goes when the removal is over.
LRESULT CALLBACK progressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

UninstallProgress::UninstallProgress(const std::wstring& caption, const std::wstring& line, int files) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!registerWindowClass(instance, kUninstallProgressClass, progressProc, ::LoadIconW(instance, L"DEFAULT_ICON")))
        return;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, y = (::GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    // No frame of its own: the engine draws the caption and the outline, as
    // on the installer's window.
    window_ = ::CreateWindowExW(WS_EX_APPWINDOW, kUninstallProgressClass, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN,
                                x, y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!window_) return;
    skin::setControlSkinning(true);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HWND label = ::CreateWindowExW(0, L"STATIC", line.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kMargin,
                                   kLineTop, kWidth - 2 * kMargin, kLineHeight, window_, nullptr, instance, nullptr);
    bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | PBS_SMOOTH | WS_BORDER, kMargin,
                             kBarTop, kWidth - 2 * kMargin, kBarHeight, window_, nullptr, instance, nullptr);
    if (label) ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (bar_) ::SendMessageW(bar_, PBM_SETRANGE32, 0, files > 0 ? files : 1);
    skin::skinWindow(window_, {});
    // Light on the theme's dark picture, like the installer's own labels.
    if (label) skin::setControlTextColour(label, RGB(0xFF, 0xFF, 0xFF));
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
    processPendingMessages();
}

UninstallProgress::~UninstallProgress() {
    if (window_) ::DestroyWindow(window_);
}

void UninstallProgress::advance() {
    if (!bar_) return;
    ::SendMessageW(bar_, PBM_DELTAPOS, 1, 0);
    // The removal runs on this thread: without this the window would show
    // nothing but its first picture until the end.
    processPendingMessages();
}

}  // namespace pelmora
