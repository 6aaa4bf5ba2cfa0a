// What every control procedure shares: finding its record through the window
// properties (locate), handing unhandled messages to the procedure it replaced, and the
// hover-highlight protocol (one control per skinned window holds it).
#pragma once

#include <windows.h>

#include <type_traits>

#include "skin/controls/core/control_records.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {

// A control as its class module finds it: the window record its properties
// name (null when they name none) and, in that record's list of the class, the
// control's own record and its 1-based place (null and 0 when the control is
// not recorded there). The place is what the hover highlight is held by.
template <typename Record>
struct Located {
    SkinnedWindowRecord* window = nullptr;
    Record* record = nullptr;
    int index = 0;
    explicit operator bool() const { return record != nullptr; }
};

// The one way a class module finds its record. The slot named by the control's
// index property is taken when it holds this control; otherwise the list is
// searched by handle, because a list view's properties name its place among
// the list controls while its list-view record sits elsewhere.
template <typename Record>
Located<Record> locate(HWND control) {
    // The control layer names its window record and place through properties of its own.
    constexpr bool layer = std::is_same_v<Record, ControlLayerRecord>;
    Located<Record> found;
    found.window = windowRecord(keptPropIndex(control, kOwnerProperty<Record>));
    if (!found.window || !control) return found;
    auto& list = found.window->template controls<Record>();
    int index = keptPropIndex(control, layer ? kPropLayerIndex : kPropListIndex);
    Record* record = list.find(index);
    if (!record || record->window != control) {
        index = list.indexOf(control);
        record = list.find(index);
    }
    if (record) {
        found.record = record;
        found.index = index;
    }
    return found;
}

// Passes a message unchanged to the procedure kept in "Hw_hProc".
LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Asks for WM_MOUSELEAVE (on every mouse move, not only the first).
void requestMouseLeave(HWND control);

// The hover-highlight decision on a mouse move of the control at `index` of
// class `hotClass` (`editParent`: the parent of an edit, else null). Records the
// control as the one that last reported a move and returns true when it must
// repaint in its hot state, in which case it now holds the highlight. A control
// that already holds it returns false: moving within one control repaints once.
bool takeHoverHighlight(SkinnedWindowRecord& record, HotClass hotClass, int index, HWND editParent = nullptr);

// On WM_MOUSELEAVE (and a button's WM_LBUTTONUP): nobody holds the highlight,
// so the next mouse move paints the hot state again.
inline void dropHoverHighlight(SkinnedWindowRecord& record) {
    record.hotIndex = 0;
}

// Control procedure for a class whose painter does not paint yet: forwards every
// message, and invalidates itself when it moves (the window's picture behind it
// changed). The class painters follow the same outline with their own messages.
// Test seam, kept: control_install_test and skin_engine_test stand it in to check installers without painters.
LRESULT CALLBACK forwardingControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelmora
