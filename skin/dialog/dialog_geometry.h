// The geometry of a skinned dialog as pure functions of its window size and a
// screen point: where the one close button sits, which pixels light up under
// the pointer, and what a point of the window is (close button, caption band
// or client). Nothing here touches a window, so tests feed in the numbers.
// The constants are at 96 DPI; `dpi` scales them (base/dpi_scale.h).
#pragma once

#include <windows.h>

#include "base/dpi_scale.h"

namespace pelmora {

// The top band that drags the dialog; the painted caption gradient is one
// pixel taller so it meets the client area without a seam.
constexpr int kDialogCaptionHeight = 25;
constexpr int kDialogCaptionBandHeight = 26;

// The close button's cell at the right end of the caption, and the size the
// window record keeps for the button itself.
constexpr int kDialogCloseCellWidth = 36;
constexpr int kDialogCloseCellHeight = 22;
constexpr int kDialogCloseButtonWidth = 36;
constexpr int kDialogCloseButtonHeight = 16;

// Where the dialog's close button lives, in window coordinates (the dialog is
// painted window-sized, so these are also its composed image's coordinates).
struct DialogCloseLayout {
    int stripLeft = 0;  // left edge of the caption strip: window width - 36
    int stripTop = 0;
    RECT cell{};    // (stripLeft, 0) to (width, 22): the button's rectangle
    RECT hot{};     // exactly the pixels the hit test calls HTCLOSE; the red highlight fills it
    POINT glyph{};  // top-left of the close glyph, so that its cross sits in the middle of `hot`
};

// Places the close button for a window of the given width. The hot area is
// always 30 x 17 pixels: both of its sides are measured from the right edge.
DialogCloseLayout layoutDialogCloseButton(int windowWidth, UINT dpi = kBaseDpi);

// What a screen point over the dialog is: HTCLOSE on the close button's columns
// between T + 4 and T + 20, HTCLIENT below the 25-pixel band, HTCAPTION in the
// rest of the band (so the whole band drags the dialog). `window` is the
// dialog's window rectangle on screen, `stripLeft` the layout's strip edge.
int dialogHitTest(POINT screen, const RECT& window, int stripLeft, UINT dpi = kBaseDpi);

}  // namespace pelmora
