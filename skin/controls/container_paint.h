// Painting of a skinned group box: a thin rounded frame over the window's
// picture with the caption set into its top edge.
//
// Geometry. The frame is the same rounded figure the container's own fill
// takes (skin/controls/core/control_background.h): its top edge 5 pixels down, so that the
// caption's line of text sits across it, corner squares of 5 pixels, its
// bottom edge on the last row. A translucent fill therefore ends exactly at
// the line. The caption starts 8 pixels in from the left at the top, with 3
// pixels of space on each side where the frame line is left out; a caption
// wider than the box allows (8 pixels kept free on the right as well) is cut
// with an ellipsis, and a box too narrow for any of it shows the frame alone.
// Those are the numbers at 96 DPI; at another every one is scaled (base/
// dpi_scale.h) and the line is scaled(1) wide, moved in by half its extra
// width so it stays inside.
#pragma once

#include <windows.h>

#include <string_view>

#include "gfx/gdip_types.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/control_settings.h"

namespace pelmora {

class GdipGraphics;

constexpr int kGroupFrameTop = 5;
constexpr int kGroupFrameCorner = 5;
constexpr int kGroupCaptionLeft = 8;
constexpr int kGroupCaptionSpace = 3;

struct GroupBoxGeometry {
    RectF frame;    // the rounded outline (x, y, width, height as GDI+ strokes it)
    RectF gap;      // where the frame line is left out for the caption; empty without one
    RectF caption;  // the caption text's box; empty without one
    float lineWidth = 1.0f;
    int corner = kGroupFrameCorner;
};

// For a box of `size` whose caption measures `captionWidth` x `captionHeight`
// on one line (0 x 0 for no caption).
GroupBoxGeometry groupBoxGeometry(SizeI size, float captionWidth, float captionHeight, UINT dpi = 96);

struct GroupBoxPaint {
    SizeI size;
    std::wstring_view caption;
    ControlFont font;  // face-less: 宋体; size 0: 12 pixels
    COLORREF textColour = 0;
    UINT dpi = 96;  // its window's
};

// Paints the frame (black, alpha 80) and the caption onto a surface of the
// box's size that holds the picture (and any fill) behind it; the inside is
// left alone. Leaves the text-blending modes on the graphics.
void paintGroupBox(GdipGraphics& graphics, const GroupBoxPaint& box, const ControlSettings& settings);

}  // namespace pelmora
