// Messages a control sends the window it sits in (WM_CTLCOLOR*, WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM), and who answers them. The skinned window's
// procedure, and later the container procedure, hand them to the control's
// class, so a parent knows no class's policy itself; a class answers through
// the ParentAnswers of its ControlClass (skin/controls/class_procedures.h,
// where answerForParent hands each message to the owning class).
#pragma once

#include <windows.h>

#include <optional>

namespace pelmora {

// What one control class answers for its parent. Every member but `owns` may
// be null: the message then gets the shared answer below, or none.
struct ParentAnswers {
    // True for the windows this class answers for (by their window class).
    bool (*owns)(HWND control) = nullptr;
    // WM_CTLCOLOR*: the brush to return, or nothing to pass the message on.
    std::optional<LRESULT> (*controlColour)(UINT message, HDC dc, HWND control) = nullptr;
    // WM_COMMAND with a notification `code` from the control.
    void (*command)(HWND control, int code) = nullptr;
    // WM_NOTIFY from the control.
    void (*notify)(const NMHDR& header) = nullptr;
    // WM_DRAWITEM for the control: the result, or nothing to pass it on.
    std::optional<LRESULT> (*drawItem)(const DRAWITEMSTRUCT& item) = nullptr;
};

// True for the messages a control sends the window it sits in: WM_CTLCOLOREDIT,
// WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_COMMAND, WM_NOTIFY
// and WM_DRAWITEM. A skinned window, a dialog and a container hand exactly
// these to answerForParent (skin/controls/class_procedures.h).
bool isParentMessage(UINT message);

// The shared answers a class builds on. Both set the text colour from the
// control's "Kj_Ztys" and a transparent background mode.
//
// The window's picture under the control's client area as a pattern brush,
// kept with its bitmap by the window's record (control_colour.h) in place of
// the pair the control had; the stock null brush when there is no picture.
LRESULT answerControlColour(HWND control, HDC dc);
// The stock null brush: the control draws on what is already there. The
// control's pattern brush, if it had one, is freed.
LRESULT answerWithNullBrush(HWND control, HDC dc);
// By message: edits and statics get the picture, buttons the null brush, and
// list-box colours are passed on (a list box's class decides those).
std::optional<LRESULT> answerColourByMessage(UINT message, HDC dc, HWND control);

// Frees the brush and bitmap the control was last answered with and clears
// their properties: at the control's WM_DESTROY. Whatever a control without
// an engine procedure keeps goes at the next answer or with its window.
void releaseControlColours(HWND control);

}  // namespace pelmora
