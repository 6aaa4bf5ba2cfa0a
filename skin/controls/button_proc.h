// The button family inside a window, beyond the procedure and the parent
// answers named in class_modules.h: the repaint used for hover and clicks, the
// owner-draw answer, and what the skin object's image-button operations need.
// The drawing itself is in button_paint.h.
#pragma once

#include <windows.h>

#include <string>

#include "skin/controls/button_paint.h"

namespace pelmora {

// Repaints a recorded button now on its screen DC in `state`, with the hot bit
// added when `hot`. Does nothing for a window that is not a recorded button.
void paintButtonState(HWND button, ButtonPaintState state, bool hot);

// WM_DRAWITEM of window record `windowIndex`: paints an owner-drawn push,
// image or state-image button into the item's DC. False (nothing drawn) for
// items that are not buttons, buttons without a record, and check and radio
// boxes, which paint themselves.
bool drawOwnerButton(int windowIndex, const DRAWITEMSTRUCT& item);

// What the skin object's image-button operations fill: the record of a push
// button, taken over first when the engine has not recorded it yet, with
// `tooltip` (when not empty) shown over it. Null when the button lies in no
// skinned window or is not a push button the engine can take.
ButtonSkinRecord* takeImageButton(HWND button, const std::wstring& tooltip);

// WM_COMMAND from `control` to its skinned window, for the classes whose
// content does not need the window's picture again: a recorded check box or
// radio button is drawn again at once, over whatever its native procedure
// painted while it handled the click or key that led to the command.
void refreshButtonAfterCommand(HWND control);

}  // namespace pelmora
