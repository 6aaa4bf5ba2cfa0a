// Composing a skinned window: the picture, border, title, caption buttons and
// status items drawn into the record's composed image, then copied to the
// screen. Every step works on the one record it is given.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace pelmora {

class GdipGraphics;
struct SkinnedWindowRecord;

// Builds the composed image at the client size (and reshapes the window to its
// rounded outline); with `present` copies it to `dc`, or to the window's own
// DC when `dc` is null. Clears needsRender.
void renderWindow(SkinnedWindowRecord& record, HDC dc, bool present);
// Copies the whole composed image to `dc`.
void presentWindow(const SkinnedWindowRecord& record, HDC dc);

// Fills the window with its theme colour and picture (clipped to the rounded
// outline), with the optional gloss band over the caption.
void paintBackground(const SkinnedWindowRecord& record, GdipGraphics& graphics, int clientWidth, int clientHeight);
// The two-line rounded border: black outside, white inside, both translucent.
void paintBorder(GdipGraphics& graphics, int clientWidth, int clientHeight, UINT dpi);
// The icon and the outlined title, with `text` or the window's own text.
// Unless `keepBackground`, the title band is restored from the background
// snapshot first and shown on screen afterwards.
void paintTitle(SkinnedWindowRecord& record, bool keepBackground = false,
                std::optional<std::wstring> text = std::nullopt);

// Copies `rect` back from the background or status-bar snapshot into the composed image.
void restoreBackgroundRect(SkinnedWindowRecord& record, const RECT& rect);
void restoreStatusBarRect(SkinnedWindowRecord& record, const RECT& rect);

// Copies `rect` (client coordinates of `window`) of the window's composed
// image into `dc` at the same coordinates, for a child that shows what lies
// beneath it. False when the window has no composed image yet.
bool copyComposedImage(HWND window, HDC dc, const RECT& rect);

}  // namespace pelmora
