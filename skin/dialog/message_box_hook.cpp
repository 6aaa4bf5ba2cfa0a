#include "skin/dialog/message_box_hook.h"

#include "base/win32_util.h"

namespace pelmora {
namespace {

// The scope whose hook runs on this thread; hooks are per thread, and so is this.
thread_local SkinNextMessageBox* current = nullptr;

// Passes every notification on. When a dialog is activated the hook has done
// its work: the box is not skinned yet, and the hook goes at once.
LRESULT CALLBACK messageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK self = current ? current->hook() : nullptr;
    const LRESULT result = ::CallNextHookEx(self, code, wParam, lParam);
    if (code == HCBT_ACTIVATE && hasWindowClass(reinterpret_cast<HWND>(wParam), L"#32770")) removeMessageBoxHook();
    return result;
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
