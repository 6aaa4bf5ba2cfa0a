#include "skin/controls/core/control_proc.h"

#include "skin/controls/core/window_properties.h"

namespace pelmora {

LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    // Every message of every skinned control passes here: the kept value, not a
    // window-server round trip each time.
    const auto previous = reinterpret_cast<WNDPROC>(keptPropValue(control, kPropPreviousProc));
    if (!previous) return ::DefWindowProcW(control, message, wParam, lParam);
    return ::CallWindowProcW(previous, control, message, wParam, lParam);
}

void requestMouseLeave(HWND control) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = control;
    track.dwHoverTime = 0;
    ::TrackMouseEvent(&track);
}

bool takeHoverHighlight(SkinnedWindowRecord& record, HotClass hotClass, int index, HWND editParent) {
    record.pointerIndex = index;
    const bool holds = record.hotIndex == record.pointerIndex && record.hotClass == hotClass &&
                       (hotClass != HotClass::Edit || record.hotEditParent == editParent);
    if (holds) return false;
    record.hotIndex = record.pointerIndex;
    record.hotClass = hotClass;
    if (hotClass == HotClass::Edit) record.hotEditParent = editParent;
    return true;
}

LRESULT CALLBACK forwardingControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOVE) {
        const LRESULT result = callPreviousProc(control, message, wParam, lParam);
        ::InvalidateRect(control, nullptr, TRUE);
        return result;
    }
    return callPreviousProc(control, message, wParam, lParam);
}

}  // namespace pelmora
