#include "skin/dialog/dialog_geometry.h"

namespace pelmora {
namespace {

// The dialog close glyph is a 38 x 18 cell whose cross is drawn around this
// pixel (columns 13-23, rows 3-13).
constexpr POINT kCloseGlyphCrossCentre = {18, 8};

// The hit test's close band, as margins from the window's edges.
constexpr int kCloseRightMargin = 5;  // x < R - 5
constexpr int kCloseTopAbove = 3;     // y > T + 3
constexpr int kCloseBottom = 20;      // y <= T + 20

}  // namespace

DialogCloseLayout layoutDialogCloseButton(int windowWidth) {
    DialogCloseLayout layout;
    layout.stripLeft = windowWidth - kDialogCloseCellWidth;
    layout.stripTop = 0;
    layout.cell = {layout.stripLeft, 0, windowWidth, kDialogCloseCellHeight};
    // The same strict and inclusive bounds as dialogHitTest, turned into a
    // half-open pixel rectangle, so the highlight shows exactly where a press closes.
    layout.hot = {layout.stripLeft + 1, kCloseTopAbove + 1, windowWidth - kCloseRightMargin, kCloseBottom + 1};
    const int centreX = (layout.hot.left + layout.hot.right - 1) / 2;
    const int centreY = (layout.hot.top + layout.hot.bottom - 1) / 2;
    layout.glyph = {centreX - kCloseGlyphCrossCentre.x, centreY - kCloseGlyphCrossCentre.y};
    return layout;
}

int dialogHitTest(POINT screen, const RECT& window, int stripLeft) {
    const int x = screen.x, y = screen.y;
    if (x > window.left + stripLeft && x < window.right - kCloseRightMargin && y > window.top + kCloseTopAbove &&
        y <= window.top + kCloseBottom)
        return HTCLOSE;
    if (y > window.top + kDialogCaptionHeight) return HTCLIENT;
    return HTCAPTION;
}

}  // namespace pelmora
