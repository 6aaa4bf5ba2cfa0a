// List boxes, tree views and the other list-type controls. Until the list
// painter arrives they keep their own procedures; the engine answers only what
// they ask of the window they sit in.
// The common-controls header needs the Windows types first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "base/win32_util.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {
namespace {

bool isListBox(HWND control) {
    return hasWindowClass(control, L"ListBox");
}

bool isListControl(HWND control) {
    return isListBox(control) || hasWindowClass(control, WC_TREEVIEWW);
}

// A list box the engine records paints its own background; any other one
// draws on what lies under it.
std::optional<LRESULT> listColour(UINT message, HDC dc, HWND list) {
    if (message != WM_CTLCOLORLISTBOX) return answerColourByMessage(message, dc, list);
    const SkinnedWindowRecord* record = windowRecord(findOwnerWindowRecord(list));
    if (!isListBox(list) || (record && record->lists.indexOf(list))) return std::nullopt;
    return answerWithNullBrush(list, dc);
}

// A new selection, or a cancelled one, redraws the list over the picture.
void listCommand(HWND list, int code) {
    if (isListBox(list) && (code == LBN_SELCHANGE || code == LBN_SELCANCEL)) ::InvalidateRect(list, nullptr, TRUE);
}

// A tree view that opens or closes an item repaints the rows that moved.
void treeNotify(const NMHDR& header) {
    if (header.code == TVN_ITEMEXPANDINGA || header.code == TVN_ITEMEXPANDEDA)
        ::InvalidateRect(header.hwndFrom, nullptr, TRUE);
}

}  // namespace

const ParentAnswers kListParentAnswers{isListControl, listColour, listCommand, treeNotify, nullptr};

}  // namespace pelmora
