// The procedure of skinned dialogs: each case unpacks its message and calls a
// named handler on the dialog's record, looked up once; geometry and painting
// live in dialog_geometry and dialog_paint, the effects in dialog_effects.
#include <windowsx.h>

#include "base/unique_resource.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/dialog/dialog_effects.h"
#include "skin/dialog/dialog_geometry.h"
#include "skin/dialog/dialog_skin.h"
#include "skin/dialog/message_box_hook.h"

namespace pelmora {
namespace {

RECT windowRectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

LRESULT onPaint(SkinnedWindowRecord& record) {
    {
        const PaintScope paint(record.window);
        presentDialog(record);
    }
    // Once per dialog; a fade that cannot start must not leave it invisible.
    if (!record.dialog.fadeStarted) {
        record.dialog.fadeStarted = true;
        if (!startDialogFadeIn(record.window))
            ::SetLayeredWindowAttributes(record.window, 0, kDialogFinalAlpha, LWA_ALPHA);
    }
    return ::DefWindowProcW(record.window, WM_PAINT, 0, 0);
}

void onSize(SkinnedWindowRecord& record) {
    const RECT r = windowRectOf(record.window);
    setRoundedWindowRegion(record.window, r.right - r.left, r.bottom - r.top, record.frame.dpi);
    applyDialogCloseLayout(record);
    renderDialog(record);
}

LRESULT onHitTest(const SkinnedWindowRecord& record, LPARAM point) {
    return dialogHitTest({GET_X_LPARAM(point), GET_Y_LPARAM(point)}, windowRectOf(record.window),
                         record.caption.stripLeft, record.frame.dpi);
}

// The pointer over the frame: the close button lights up while it is under
// it. Leaving the window straight from the button reports no other hit code,
// so the system is asked for a non-client leave as well.
void onNonClientMouseMove(SkinnedWindowRecord& record, WPARAM hit) {
    const bool overClose = hit == HTCLOSE;
    if (overClose == record.dialog.closeHot) return;
    if (overClose) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, record.window, 0};
        ::TrackMouseEvent(&track);
    }
    showDialogCloseState(record, overClose);
}

void dropCloseHighlight(SkinnedWindowRecord& record) {
    if (record.dialog.closeHot) showDialogCloseState(record, false);
}

void onFocus(SkinnedWindowRecord& record) {
    stepDownDialogAlpha(record.window, record.dialog.fadeStarted);
}

}  // namespace

LRESULT CALLBACK dialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = reinterpret_cast<WNDPROC>(propValue(dialog, kPropPreviousProc));
    auto pass = [&] {
        return previous ? ::CallWindowProcW(previous, dialog, message, wParam, lParam)
                        : ::DefWindowProcW(dialog, message, wParam, lParam);
    };
    SkinnedWindowRecord* found = windowRecord(propIndex(dialog, kPropListIndex));
    if (!found || found->window != dialog) return pass();
    SkinnedWindowRecord& record = *found;

    switch (message) {
        case WM_NCDESTROY:
            // The record (images, control records) goes; the fade thread, if
            // still running, only meets a window that no longer exists.
            releaseSkinnedWindow(dialog);
            break;
        case WM_CHANGEUISTATE:
            if (LOWORD(wParam) == UIS_INITIALIZE) return 0;
            break;
        case WM_SETFOCUS:
            onFocus(record);
            break;
        case WM_ACTIVATE:
            removeMessageBoxHook();
            break;
        case WM_SIZE:
            onSize(record);
            break;
        case kDpiChangedMessage: {
            // The new DPI first: the resize below lays out and paints at it.
            record.frame.dpi = LOWORD(wParam);
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                           suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            onSize(record);
            presentDialog(record);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything; an erase would only flash
        case WM_PAINT:
            return onPaint(record);
        case WM_NCPAINT:
            // No system frame: the frame is part of the dialog's picture.
            presentDialog(record);
            return 0;
        case WM_NCACTIVATE:
            return 1;
        case WM_NCHITTEST:
            return onHitTest(record, lParam);
        case WM_NCLBUTTONDOWN:
            if (wParam == HTCLOSE) return 0;
            if (wParam == HTCAPTION) {
                record.dialog.dragRect = windowRectOf(dialog);
                record.dialog.dragging = true;
            }
            break;
        case WM_NCMOUSEMOVE:
            onNonClientMouseMove(record, wParam);
            if (wParam == HTCLOSE) return 0;
            break;
        case WM_NCMOUSELEAVE:
        case WM_MOUSEMOVE:
            dropCloseHighlight(record);
            break;
        case WM_NCLBUTTONUP:
            record.dialog.dragging = false;
            if (wParam == HTCLOSE) {
                ::SendMessageW(dialog, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        case WM_SETTEXT: {
            // The title is part of the picture.
            const LRESULT result = pass();
            if (renderDialog(record)) presentDialog(record);
            return result;
        }
        default:
            // Messages from a child go to the child's class (push buttons are
            // owner-drawn by the button painter on WM_DRAWITEM).
            if (isParentMessage(message))
                if (auto answer = answerForParent(message, wParam, lParam)) return *answer;
            break;
    }
    return pass();
}

}  // namespace pelmora
