// Combo boxes. Until the combo painter arrives a combo box keeps its own
// procedure; the engine answers only what it asks of the window it sits in.
#include <windows.h>

#include "base/win32_util.h"
#include "skin/controls/class_modules.h"

namespace pelmora {
namespace {

bool isComboBox(HWND control) {
    return hasWindowClass(control, L"ComboBox");
}

// A new selection or the focus leaving redraws the box over the picture.
void comboCommand(HWND combo, int code) {
    if (code == CBN_SELCHANGE || code == CBN_KILLFOCUS) ::InvalidateRect(combo, nullptr, TRUE);
}

}  // namespace

const ParentAnswers kComboParentAnswers{isComboBox, nullptr, comboCommand, nullptr, nullptr};

}  // namespace pelmora
