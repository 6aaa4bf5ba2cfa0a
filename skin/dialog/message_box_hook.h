// Skinning the message boxes the program shows through the system's own
// functions: it never creates their dialogs itself, so a CBT hook on the
// calling thread sees the dialog (class "#32770") as it is activated. The
// hook handle is owned by one scope object and removed again as soon as the
// box has been activated, so no hook outlives the box it was made for.
#pragma once

#include <windows.h>

#include "base/unique_resource.h"

namespace pelmora {

// While this object lives, the next message box the calling thread activates
// is skinned (skinDialog, dialog_skin.h). Made right before the box is shown, e.g.
//     const SkinNextMessageBox skin;
//     ::MessageBoxExW(owner, text, caption, MB_OK, 0);
// Meant for one box at a time; scopes nest, and the innermost one is in charge.
class SkinNextMessageBox {
public:
    SkinNextMessageBox();
    ~SkinNextMessageBox();
    SkinNextMessageBox(const SkinNextMessageBox&) = delete;
    SkinNextMessageBox& operator=(const SkinNextMessageBox&) = delete;

    // The hook handle while it is installed; null once the box was activated
    // (or when the system refused the hook, and the box keeps its own look).
    HHOOK hook() const noexcept { return hook_.get(); }

private:
    friend void removeMessageBoxHook();
    SkinNextMessageBox* outer_ = nullptr;
    UniqueHook hook_;
};

// True while the calling thread has a message-box hook installed.
bool messageBoxHookInstalled();

// Removes the calling thread's hook now; nothing when none is installed. The
// skinned dialog calls it at its first WM_ACTIVATE.
void removeMessageBoxHook();

}  // namespace pelmora
