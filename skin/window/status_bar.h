// The status bar along the bottom of a skinned window: the style its items are
// drawn in, where an item's image, text and meter sit, and the painter of one
// item. Nothing here touches a window: the engine hands in a graphics on the
// composed image and the item's rectangle.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/dpi_scale.h"
#include "gfx/gdip_types.h"
#include "skin/window/caption_button.h"

namespace pelmora {

class GdipGraphics;

// How every item of a bar is drawn. The fill lies over the window's picture;
// at alpha 0 (the default) the bar is the picture itself.
struct StatusBarStyle {
    COLORREF textColour = 0x00FFFFFF;
    std::wstring fontFace = L"宋体";
    int fontSize = 9;  // points
    bool bold = false;
    COLORREF fillColour = 0x00000000;
    int fillAlpha = 0;
};

// The six values setStatusBarStyle takes, each left alone when omitted.
struct StatusBarStyleChange {
    std::optional<COLORREF> textColour;
    std::optional<std::wstring> fontFace;
    std::optional<int> fontSize;
    std::optional<bool> bold;
    std::optional<COLORREF> fillColour;
    std::optional<int> fillAlpha;
};

// What a change leaves of a style. A face that is empty or a size below 1
// would draw nothing readable, so they keep the current value; the alpha is
// clamped to 0..255.
StatusBarStyle changedStatusBarStyle(const StatusBarStyle& style, const StatusBarStyleChange& change);

// An item's meter value as it is kept: below 0 means no meter, above 100 is full.
int statusMeterValue(int value);

// Where the parts of an item lie inside its rectangle: the image at the left,
// vertically centred and scaled down (never up) to the item's height less the
// padding; the text after it; the meter, when the item has one, at the right.
// Padding 2, gap 3, meter at most 60 x 7 with a 1-pixel frame: numbers at 96
// DPI, scaled to `dpi` (the item's rectangle is in pixels; a picture keeps
// its own size unless it is too tall).
struct StatusItemLayout {
    RectF image;  // empty without an image
    RectF text;
    RectF meter;      // the meter's outline; empty without a meter
    RectF meterFill;  // the done part inside the outline; empty at 0
    float line = 1;   // the meter frame's and the separator's width
};
StatusItemLayout statusItemLayout(const RECT& item, SizeI imageSize, int meterValue, UINT dpi = kBaseDpi);

// Paints one item onto a surface that already holds the bar's background at
// the item's place. `separator`: a thin line at the item's right edge, drawn
// between items and left off after the last one. The style's point size is
// taken at `dpi`.
void paintStatusItem(GdipGraphics& graphics, const RECT& item, const StatusItem& content, const StatusBarStyle& style,
                     COLORREF accent, bool separator, UINT dpi = kBaseDpi);

}  // namespace pelmora
