// Taking a standard dialog (class "#32770", a message box above all) over:
// its record, rounded region, layered start at alpha 0, controls and window
// procedure; and the window-sized picture it shows. The procedure itself is
// dialog_proc.cpp.
#pragma once

#include <windows.h>

namespace pelmora {

struct SkinnedWindowRecord;

// Skins the dialog and returns its record's index. A window that already has
// a record or runs another procedure of the engine is left as it is (0).
int skinDialog(HWND dialog);

// The procedure every skinned dialog runs.
LRESULT CALLBACK dialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Stores the close button's place for the dialog's current width in the record.
void applyDialogCloseLayout(SkinnedWindowRecord& record);

// Paints the whole dialog into its composed image (made or resized to the
// window's size). False when no image could be made.
bool renderDialog(SkinnedWindowRecord& record);

// Copies the composed image to the window, frame included; `area` limits the
// copy (window coordinates), and visible children are left alone.
void presentDialog(const SkinnedWindowRecord& record, const RECT* area = nullptr);

// Repaints the close button in the given state, in the image and on screen.
void showDialogCloseState(SkinnedWindowRecord& record, bool hot);

}  // namespace pelmora
