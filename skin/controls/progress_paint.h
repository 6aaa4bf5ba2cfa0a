// Painting of a skinned progress bar: a rounded frame, a soft trough and a
// rounded accent fill for the done part. The geometry is pure so that the
// fill's size can be checked for any range and position.
#pragma once

#include "gfx/gdip_types.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {

class GdipGraphics;

// Pixels of `extent` that stand for `position` in the range low..high: the
// share (position - low) / (high - low) of the extent, truncated toward zero
// and kept within 0..extent. An empty range (high == low) fills nothing.
int progressFillLength(int extent, int low, int high, int position);

struct ProgressGeometry {
    RectI filled;  // the done part of the bar; empty when nothing is done
    RectF fill;    // the rounded accent shape drawn for it; empty when too small to draw
};

// A horizontal bar fills from the left, a vertical one from the bottom up.
// The rounded fill lies one pixel inside the done part and is three pixels
// shorter and thinner than it, so that its 1-pixel outline stays inside (at
// 96 DPI; the inset, the shortening and the line are scaled to `dpi`).
ProgressGeometry progressGeometry(SizeI size, bool vertical, int low, int high, int position, UINT dpi = kBaseDpi);

// The bar's frame: a rounded outline (radius 5) along the window's edges and
// the trough (radius 1) inside it; the fill's outline has radius 3 and the
// frame's line width. Radii at 96 DPI, scaled.
struct ProgressFrame {
    FrameStroke outline;
    int outlineRadius = 5;
    RectF trough;
    int troughRadius = 1;
    int fillRadius = 3;
};
ProgressFrame progressFrame(SizeI size, UINT dpi = kBaseDpi);

struct ProgressPaint {
    SizeI size;
    bool vertical = false;
    int low = 0;
    int high = 100;
    int position = 0;
    UINT dpi = kBaseDpi;  // the window's
};

// Paints the bar onto a surface of its window size that holds the background
// under it.
void paintProgressBar(GdipGraphics& graphics, const ProgressPaint& bar, const ControlSettings& settings);

}  // namespace pelmora
