// Composing a skinned window: the picture, border, title, caption buttons and
// status items drawn into the record's memory DC, then copied to the screen.
#pragma once

#include <windows.h>

namespace pelmora {

class GdipGraphics;
struct SkinnedWindowRecord;

// Fills the window with its theme colour and picture (clipped to the rounded
// outline), with the optional gloss band over the caption.
void paintBackground(const SkinnedWindowRecord& record, GdipGraphics& graphics, int clientWidth, int clientHeight);
// The two-line rounded border: black outside, white inside, both translucent.
void paintBorder(GdipGraphics& graphics, int clientWidth, int clientHeight);

// Copies `rect` (client coordinates of `window`) of the window's composed
// image into `dc` at the same coordinates, for a child that shows what lies
// beneath it. False when the window has no composed image yet.
bool copyComposedImage(HWND window, HDC dc, const RECT& rect);

}  // namespace pelmora
