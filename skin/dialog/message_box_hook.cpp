#include "skin/dialog/message_box_hook.h"

#include "base/win32_util.h"
#include "skin/controls/core/window_properties.h"
#include "skin/dialog/dialog_skin.h"

namespace pelmora {
namespace {

// The scope whose hook runs on this thread; hooks are per thread, and so is this.
thread_local SkinNextMessageBox* current = nullptr;

// Skins every dialog activated while the hook is installed, unless one of the
// engine's procedures already runs it, and passes every notification on. The
// skinned dialog removes the hook at its first WM_ACTIVATE, which follows
// this notification at once; a dialog left alone keeps the hook for the next
// one, and the scope removes it in any case.
LRESULT CALLBACK messageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (hasWindowClass(window, L"#32770") && !propValue(window, kPropPreviousProc)) skinDialog(window);
    }
    const HHOOK self = current ? current->hook() : nullptr;
    return ::CallNextHookEx(self, code, wParam, lParam);
}

}  // namespace

SkinNextMessageBox::SkinNextMessageBox()
    : outer_(current), hook_(::SetWindowsHookExW(WH_CBT, messageBoxHook, nullptr, ::GetCurrentThreadId())) {
    current = this;
}

SkinNextMessageBox::~SkinNextMessageBox() {
    // A box that never appeared was never activated: the hook goes here.
    hook_.reset();
    current = outer_;
}

bool messageBoxHookInstalled() {
    return current && current->hook() != nullptr;
}

void removeMessageBoxHook() {
    if (current) current->hook_.reset();
}

}  // namespace pelmora
