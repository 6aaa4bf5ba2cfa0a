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

DialogCloseLayout layoutDialogCloseButton(int windowWidth, UINT dpi) {
    DialogCloseLayout layout;
    layout.stripLeft = windowWidth - scaled(kDialogCloseCellWidth, dpi);
    layout.stripTop = 0;
    layout.cell = {layout.stripLeft, 0, windowWidth, scaled(kDialogCloseCellHeight, dpi)};
    // The same strict and inclusive bounds as dialogHitTest, turned into a
    // half-open pixel rectangle, so the highlight shows exactly where a press closes.
    layout.hot = {layout.stripLeft + 1, scaled(kCloseTopAbove, dpi) + 1, windowWidth - scaled(kCloseRightMargin, dpi),
                  scaled(kCloseBottom, dpi) + 1};
    const int centreX = (layout.hot.left + layout.hot.right - 1) / 2;
    const int centreY = (layout.hot.top + layout.hot.bottom - 1) / 2;
    layout.glyph = {centreX - scaled(kCloseGlyphCrossCentre.x, dpi), centreY - scaled(kCloseGlyphCrossCentre.y, dpi)};
    return layout;
}

int dialogHitTest(POINT screen, const RECT& window, int stripLeft, UINT dpi) {
    const int x = screen.x, y = screen.y;
    if (x > window.left + stripLeft && x < window.right - scaled(kCloseRightMargin, dpi) &&
        y > window.top + scaled(kCloseTopAbove, dpi) && y <= window.top + scaled(kCloseBottom, dpi))
        return HTCLOSE;
    if (y > window.top + scaled(kDialogCaptionHeight, dpi)) return HTCLIENT;
    return HTCAPTION;
}

}  // namespace pelmora
