// The geometry of a skinned window as pure functions of sizes and points: the
// caption-button strip and its hit tests, the title rectangle, the edges that
// start a resize, and the status bar. Nothing here touches a window. The
// constants are at 96 DPI; every function that takes a `dpi` scales them with
// `scaled` (base/dpi_scale.h), and sizes and points passed in are pixels.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "base/dpi_scale.h"
#include "gfx/gdip_types.h"
#include "skin/window/caption_button.h"

namespace pelmora {

constexpr int kMinCaptionHeight = 25;
constexpr int kStripHeight = 22;
constexpr int kCaptionButtonHeight = 18;
constexpr int kCaptionButtonPitch = 27;
constexpr int kBorderWidth = 3;

// Caption heights below the smallest usable one are raised to it.
constexpr int storedCaptionHeight(int requested) {
    return requested < kMinCaptionHeight ? kMinCaptionHeight : requested;
}

// Image width of a standard button of that kind, at 96 DPI.
constexpr int captionButtonWidth(CaptionButtonKind kind) {
    return kind == CaptionButtonKind::Close ? 38 : 26;
}

// Buttons side by side with a one-pixel gap, plus a margin of three.
int captionStripWidth(const std::vector<CaptionButtonKind>& kinds, UINT dpi = kBaseDpi);
int captionStripLeft(int clientWidth, int stripWidth, UINT dpi = kBaseDpi);

// Hit rectangles, left to right. Close is 40 wide: it runs past its image to
// the client edge, where a pointer pushed into the corner still hits it.
std::vector<RectF> captionButtonRects(int stripLeft, int stripTop, const std::vector<CaptionButtonKind>& kinds,
                                      UINT dpi = kBaseDpi);

// The strip in pixels; `dpi` scales the margins of the hover and press bands.
struct StripRect {
    int left = 0, top = 0, width = 0, height = kStripHeight;
    UINT dpi = kBaseDpi;
};

// 1-based index of the first button whose rectangle strictly contains the
// point (its edges belong to no button); 0 for none or outside the strip.
int hitTestCaptionRects(const StripRect& strip, const std::vector<RectF>& rects, int x, int y);

// The band in which mouse moves keep the hover timer running.
bool inHoverStrip(const StripRect& strip, int x, int y);
// The band in which a press belongs to the caption buttons, not to a drag.
bool inPressStrip(const StripRect& strip, int x, int y);

// Title band beside the icon: x = border + 6, y = border + 5, 32 high.
RECT titleRect(int clientWidth, int stripWidth, int border, UINT dpi = kBaseDpi);

// A system resize from one of the eight edges: SC_SIZE + `sizeOffset`.
enum class ResizeEdge { Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
struct EdgeHit {
    ResizeEdge edge;
    int sizeOffset;
    LPCWSTR cursor;
};
// The first edge whose test the point passes, in the fixed order left, right,
// top, bottom, then the four corners; nothing when none does.
std::optional<EdgeHit> resizeEdgeAt(int x, int y, int clientRight, int clientBottom, int border, UINT dpi = kBaseDpi);

// What a left-button press on the client does.
enum class PressAction { None, CaptionDrag, Resize };
struct PressDecision {
    PressAction action = PressAction::None;
    std::optional<EdgeHit> edge;
};
struct PressContext {
    StripRect strip;
    int clientRight = 0, clientBottom = 0, border = 0, captionHeight = 0;
    bool captionActive = true, resizable = true;
    UINT dpi = kBaseDpi;
};
PressDecision decidePress(const PressContext& context, int x, int y);

// Status bar along the bottom, inside the border, and its items left to right.
// The border, the bar's height and the items' widths are the 96-DPI numbers
// the program gave (a negative width: up to the bar's end); `dpi` scales them.
RECT statusBarRect(int clientWidth, int clientHeight, int border, int height, UINT dpi = kBaseDpi);
std::vector<RECT> statusItemRects(const RECT& bar, const std::vector<int>& widths, UINT dpi = kBaseDpi);

}  // namespace pelmora
