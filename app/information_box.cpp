#include "app/information_box.h"

#include "base/win32_util.h"

namespace pelmora {

HHOOK cbtHook = nullptr;

namespace {

bool hookInstalled = false;

void removeHook() {
    if (hookInstalled) ::UnhookWindowsHookEx(cbtHook);
    hookInstalled = false;
}

// Passes every notification on. The box is not skinned yet; once it has been
// activated the hook has done its work and removes itself, so no hook
// outlives the box it was installed for.
LRESULT CALLBACK messageBoxHook(int code, WPARAM wp, LPARAM lp) {
    const HHOOK self = cbtHook;
    const LRESULT result = ::CallNextHookEx(self, code, wp, lp);
    if (code == HCBT_ACTIVATE && hasWindowClass(reinterpret_cast<HWND>(wp), L"#32770")) removeHook();
    return result;
}

}  // namespace

void installMessageBoxHook() {
    cbtHook = ::SetWindowsHookExW(WH_CBT, messageBoxHook, nullptr, ::GetCurrentThreadId());
    hookInstalled = cbtHook != nullptr;
}

bool messageBoxHookInstalled() { return hookInstalled; }

int showInformationBox(HWND owner, const std::wstring& text, const std::wstring& caption) {
    installMessageBoxHook();
    const int result = ::MessageBoxExW(owner, text.c_str(), caption.c_str(), MB_OK, 0);
    removeHook();  // a box that failed to appear was never activated
    return result - 1;
}

}  // namespace pelmora
