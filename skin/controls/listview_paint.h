// Painting of a skinned list view's header ("SysHeader32"): the items are
// drawn over the window's picture instead of the system's grey buttons, and
// the item under the pointer takes the accent.
//
// Geometry of one item of rectangle (x, y, w, h) in the header, in pixels at
// 96 DPI (every length is scaled to the window's DPI, a 1-pixel line to a
// line of scaled(1)):
// - face: (x, y, w - 1, h - 1), everything but the item's last column and the
//   header's bottom line; the hot and pressed gradients fill it;
// - separator: the item's last column from y + 3 to the bottom line, black at
//   alpha 40, so neighbouring titles stay apart;
// - accent bar: the face's bottom 2 rows, accent at alpha 120 while hot;
// - title: the face less 6 pixels on the left and right, one line, vertically
//   centred, aligned as the item's HDF_LEFT / HDF_CENTER / HDF_RIGHT says, cut
//   with an ellipsis; while pressed it moves one pixel right and down.
// Across the whole header the last row is a black line at alpha 80, which
// parts the titles from the list below.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>
#include <vector>

#include "base/dpi_scale.h"
#include "gfx/gdip_types.h"
#include "skin/controls/core/control_records.h"
#include "skin/controls/core/control_settings.h"

namespace pelmora {

class GdipGraphics;

constexpr int kHeaderTextInset = 6;
constexpr int kHeaderSeparatorInset = 3;
constexpr int kHeaderAccentBar = 2;

// The accent alphas of an item's face: hot from 60 at the top to 10 at the
// bottom over a bar of 120; pressed (a header with HDS_BUTTONS held down)
// from 120 to 60.
constexpr int kHeaderHotTopAlpha = 60;
constexpr int kHeaderHotBottomAlpha = 10;
constexpr int kHeaderHotBarAlpha = 120;
constexpr int kHeaderPressedTopAlpha = 120;
constexpr int kHeaderPressedBottomAlpha = 60;

struct HeaderItem {
    RectI rect;  // in header coordinates, as HDM_GETITEMRECT gives it
    std::wstring text;
    int format = HDF_LEFT;  // HDF_ bits; the justification ones are read
};

struct HeaderItemLayout {
    RectF face;
    RectF separator;
    RectF accentBar;
    RectF title;
    int faceRadius = 1;  // of the hot and pressed gradients
};
HeaderItemLayout headerItemLayout(const RectI& item, bool pressed, UINT dpi = kBaseDpi);

// The line along the header's bottom: its last row, scaled(1) rows at other DPIs.
RectF headerBottomLine(SizeI size, UINT dpi = kBaseDpi);

// Index of the item whose rectangle holds the point (left and top edges
// inside, right and bottom outside); -1 for none.
int headerItemAt(const std::vector<HeaderItem>& items, PointI point);

enum class HeaderItemLook { Rest, Hot, Pressed };
// Pressed only for a header with buttons; a pressed item counts as hot too.
HeaderItemLook headerItemLook(int item, int hotItem, bool pressed, bool buttons);

struct HeaderPaint {
    SizeI size;
    std::vector<HeaderItem> items;
    int hotItem = -1;      // under the pointer; -1 for none
    bool pressed = false;  // the left button is held on the hot item
    bool buttons = false;  // HDS_BUTTONS: items are pressed like buttons
    ControlFont font;      // face-less: 宋体; size 0: 12 pixels
    COLORREF textColour = 0;
    UINT dpi = kBaseDpi;  // the window's; a face-less size 0 font is 12 pixels scaled to it
};

// Paints the whole header onto a surface of its size that holds the picture
// behind it: white of the background alpha (opaque white while backgrounds are
// not translucent, matching the list below), the items, the bottom line.
// Leaves the text-blending modes on the graphics.
void paintHeader(GdipGraphics& graphics, const HeaderPaint& header, const ControlSettings& settings);

}  // namespace pelmora
