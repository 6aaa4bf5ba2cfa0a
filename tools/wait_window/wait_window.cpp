// wait_window TITLE [TIMEOUT_MS]: waits until a visible top-level window with
// that exact title exists, then exits 0; exits 1 on timeout. Lets scripts
// act on a window (take a screenshot) as soon as it is there.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Search {
    const wchar_t* title;
    bool found;
};

BOOL CALLBACK check(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    if (::IsWindowVisible(hwnd) &&
        ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied) &&
        std::wcscmp(text, search->title) == 0) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputws(L"usage: wait_window TITLE [TIMEOUT_MS]\n", stderr);
        return 2;
    }
    const DWORD timeout = argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 20000;
    const DWORD start = ::GetTickCount();
    for (;;) {
        Search search{argv[1], false};
        ::EnumWindows(check, reinterpret_cast<LPARAM>(&search));
        if (search.found) return 0;
        if (::GetTickCount() - start > timeout) return 1;
        ::Sleep(20);
    }
}
