// Edit boxes. Until the edit painter arrives an edit keeps its own procedure;
// the engine answers only what the edit asks of the window it sits in.
#include <windows.h>

#include "base/win32_util.h"
#include "skin/controls/class_modules.h"

namespace pelmora {
namespace {

bool isEdit(HWND control) {
    return hasWindowClass(control, L"Edit");
}

std::optional<LRESULT> editColour(UINT message, HDC dc, HWND edit) {
    // The edit of a combo box is answered by the combo box.
    if (message == WM_CTLCOLOREDIT && hasWindowClass(::GetParent(edit), L"ComboBox")) return std::nullopt;
    return answerColourByMessage(message, dc, edit);
}

// Scrolled or changed text is drawn over the picture again.
void editCommand(HWND edit, int code) {
    if (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE)
        ::InvalidateRect(edit, nullptr, TRUE);
}

}  // namespace

const ParentAnswers kEditParentAnswers{isEdit, editColour, editCommand, nullptr, nullptr};

}  // namespace pelmora
