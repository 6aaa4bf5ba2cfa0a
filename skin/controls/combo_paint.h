// Painting of a skinned combo box. The engine paints the whole window except
// the areas of the children that paint themselves (the edit of a drop-down
// combo, the edit and list of a simple one): those are cleared to the key
// colour, and the copy to the screen leaves every key-coloured pixel alone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gfx/gdip_types.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/paint_shapes.h"

namespace pelmora {

class GdipGraphics;

// Magenta: no pixel the painter draws on purpose has this colour.
constexpr COLORREF kComboKeyColour = 0x00FF00FF;

enum class ComboKind { Simple, DropDown, DropDownList };
// From the CBS_ type bits of the style.
ComboKind comboKindOf(DWORD style);

// Width of the drop button at 96 DPI: 17 for a drop-down list, 18 for a
// drop-down combo, 0 for a simple combo, which has none; scaled to `dpi`.
int comboDropButtonWidth(ComboKind kind, UINT dpi = kBaseDpi);
// The drop button's cell (x, y, width, height) in a combo of `size`, 2 in from
// the top, right and bottom edges; empty for a simple combo.
RectI comboDropButton(SizeI size, ComboKind kind, UINT dpi = kBaseDpi);

// Where the rest of the combo is drawn: the outline along the window's edges,
// the drop button's rounded outline (radius 4, stroked one line in from the
// cell's right and bottom) and its fill one line inside that, and the box a
// drop-down list's text is written in (3 in from the left, up to the button).
struct ComboGeometry {
    FrameStroke frame;
    RectI button;
    RectF buttonOutline;
    RectF buttonFill;
    int buttonRadius = 4;
    RectF text;
};
ComboGeometry comboGeometry(SizeI size, ComboKind kind, UINT dpi = kBaseDpi);

// A child window of the combo, as the painter needs to know it.
struct ComboChild {
    RectI rect;  // relative to the combo's window rectangle
    bool isEdit = false;
};
// The children whose areas stay the children's own: all of them in a simple
// combo, the edit in any other.
std::vector<RectI> comboKeyedAreas(ComboKind kind, const std::vector<ComboChild>& children);

struct ComboPaint {
    SizeI size;
    ComboKind kind = ComboKind::DropDownList;
    bool hot = false;
    bool focused = false;
    std::vector<RectI> keyedAreas;  // cleared to the key colour
    std::wstring text;              // shown by a drop-down list only
    COLORREF textColour = 0;
    UINT dpi = kBaseDpi;  // the window's
};

// Paints the whole combo onto a surface of its window size that holds the
// background under it.
void paintComboBox(GdipGraphics& graphics, const ComboPaint& combo, const ControlSettings& settings);

}  // namespace pelmora
