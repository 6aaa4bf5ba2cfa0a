// The window effects of skinned dialogs: the fade-in on a worker thread, the
// step-down when the dialog takes the focus, the layered-window switch and
// the rounded window region. The alpha sequences are pure functions; the rest
// are thin calls the dialog's window procedure makes.
#pragma once

#include <windows.h>

#include "base/dpi_scale.h"

namespace pelmora {

constexpr int kDialogFadeSteps = 5;
constexpr DWORD kDialogFadeInDelayMs = 40;    // before each fade-in step
constexpr DWORD kDialogStepDownDelayMs = 30;  // after each step-down step
constexpr int kDialogFinalAlpha = 250;        // a faded-in dialog stays just short of opaque

// Alpha after fade-in step 1..5: 50, 100, 150, 200, 250.
constexpr int dialogFadeInAlpha(int step) {
    return 50 * step;
}
// Alpha after step-down step 1..5: 205, 155, 105, 55, 5.
constexpr int dialogStepDownAlpha(int step) {
    return 255 - 50 * step;
}

// Extended style with WS_EX_LAYERED added, and WS_EX_TRANSPARENT when
// clickThrough; every other bit is kept.
constexpr LONG layeredExStyle(LONG exStyle, bool clickThrough) {
    return exStyle | WS_EX_LAYERED | (clickThrough ? WS_EX_TRANSPARENT : 0);
}
// Applies layeredExStyle to the window. False when the style could not be set.
bool makeLayered(HWND window, bool clickThrough = false);

// Parameters of the rounded region of a width x height window:
// CreateRoundRectRgn(left, top, right, bottom, ellipse, ellipse).
struct RoundedRegionShape {
    int left, top, right, bottom, ellipse;
};
constexpr RoundedRegionShape roundedRegionShape(int width, int height, UINT dpi = kBaseDpi) {
    return {0, 0, width + 1, height + 1, scaled(5, dpi)};
}
// Gives the window that region (redrawn). The system owns the region once the
// window has it; a region the system refused is deleted here.
bool setRoundedWindowRegion(HWND window, int width, int height, UINT dpi = kBaseDpi);

// Thread body of the fade-in (data: the dialog's handle): five times, wait
// 40 ms and set the next alpha. Only the layered alpha is touched, which is
// safe from another thread; once the dialog is gone the remaining steps fail
// harmlessly. Returns how many steps landed.
DWORD WINAPI fadeInDialog(void* dialog);

// Starts fadeInDialog for the dialog on a new thread that nobody joins.
// False when no thread could be started (the dialog then keeps its alpha).
bool startDialogFadeIn(HWND dialog);

// How many fade-in threads have finished since the program started; lets a
// caller wait for threads it cannot join.
long dialogFadesFinished();

// What WM_SETFOCUS does to a dialog: alpha 205, 155, 105, 55, 5, each held
// 30 ms, on the calling thread. A dialog whose fade-in has already been
// started would otherwise stay at 5 for good (the fade runs once per dialog),
// so then a new fade-in brings it back to 250; before the first paint the
// coming fade-in does that. Returns whether a fade-in was started here.
bool stepDownDialogAlpha(HWND dialog, bool fadeInStarted);

}  // namespace pelmora
