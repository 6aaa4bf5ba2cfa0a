// Painting and hit-testing of a skinned up-down control: two rounded halves
// (top and bottom, or left and right), each with its arrow, the half under
// the pointer lit while hot and sunk while pressed.
#pragma once

#include <array>

#include "gfx/gdip_types.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {

class GdipGraphics;

// The first half (UpDownPart::FirstArrow) holds the up (left) arrow, the
// second the down (right) one; the enum is the record's.

// The half under a point in window coordinates: the upper (left) half of the
// height (width), split where the painter splits it, is the first.
UpDownPart upDownPartAt(SizeI size, bool horizontal, PointI pointer);

// The two halves as the painter outlines them (x, y, width, height, a 1-pixel
// stroke covering x..x + width at 96 DPI; a line of scaled(1) pixels lies
// half a pixel further in per extra pixel): the first from the top (left) edge
// up to the split, the second from the split to the far edge. Their corners
// have radius 3, scaled.
std::array<RectF, 2> upDownHalves(SizeI size, bool horizontal, UINT dpi = kBaseDpi);

struct UpDownPaint {
    SizeI size;
    bool horizontal = false;
    bool hot = false;
    bool pressed = false;
    UpDownPart activePart = UpDownPart::FirstArrow;  // the half under the pointer
    UINT dpi = kBaseDpi;                             // the window's
};

// Paints the control onto a surface of its window size that holds the
// background under it. Turns anti-aliasing and high-quality compositing on
// for the rest of the graphics' life.
void paintUpDown(GdipGraphics& graphics, const UpDownPaint& control, const ControlSettings& settings);

}  // namespace pelmora
