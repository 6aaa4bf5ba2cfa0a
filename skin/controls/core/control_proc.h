// What every control procedure shares: finding its record through the window
// properties, handing unhandled messages to the procedure it replaced, and the
// hover-highlight protocol (one control per skinned window holds it).
#pragma once

#include <windows.h>

#include "skin/controls/core/control_records.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {

// The owning window record ("Hw_FuID") and the control's index in its class
// list ("Hw_lbID"); record is null when the properties name no window record.
struct ControlLocation {
    SkinnedWindowRecord* record = nullptr;
    int windowIndex = 0;
    int listIndex = 0;
};
ControlLocation locateControl(HWND control);

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
