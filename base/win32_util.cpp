#include "base/win32_util.h"

namespace pelmora {

std::wstring windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring modulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return path.substr(0, length);
        if (path.size() >= 32768) return {};  // longer than any Windows path
        path.resize(path.size() * 2);
    }
}

std::wstring windowClassName(HWND window) {
    wchar_t name[257] = {};
    const int length = ::GetClassNameW(window, name, 257);
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

bool hasWindowClass(HWND window, const wchar_t* name) {
    return ::lstrcmpiW(windowClassName(window).c_str(), name) == 0;
}

DWORD windowStyle(HWND window) {
    return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}

RECT clientRect(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    return rect;
}

}  // namespace pelmora
