// Window classes of this program and the objects behind their windows: one
// registration and one window procedure for every class whose windows each
// belong to a C++ object.
#pragma once

#include <windows.h>

namespace pelmora {

// Registers a class of this module with the arrow cursor. True when the class
// is registered, by this call or an earlier one (a second window of the same
// kind registers again, and that is not a failure).
inline bool registerWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure, HICON icon = nullptr) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The class procedure for windows owned by a `T`: the object is the last
// argument of CreateWindowEx, kept in GWLP_USERDATA from WM_NCCREATE (the
// first message) and cleared after WM_NCDESTROY (the last), so no message
// reaches an object through a window that has gone. Messages before
// WM_NCCREATE, and those of a window whose object has let go (set the value
// to 0), go to DefWindowProc. `T` answers
//     LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
template <typename T>
LRESULT CALLBACK objectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->handleMessage(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return result;
}

}  // namespace pelmora
