// The painter of a skinned dialog: the whole window-sized picture (theme
// colour and picture under a veil, the caption band, the two-line border, the
// icon, the outlined title and the close button) drawn from a rectangle and a
// state. It knows no window: the dialog's procedure decides the state (the
// title, whether the close button is hot) and hands over a graphics and the DC
// it was made on; tests do the same with a memory DC and read the pixels.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pelmora {

class GdipGraphics;
class GdipPath;

// What the dialog shows. The background is borrowed PNG bytes (none when
// empty); the icon is borrowed too and may be null.
struct DialogLook {
    std::wstring_view title;
    COLORREF themeColour = 0;
    const std::uint8_t* background = nullptr;
    std::size_t backgroundSize = 0;
    // The same picture at twice the size, drawn instead above 150 % (none when empty).
    const std::uint8_t* background2x = nullptr;
    std::size_t background2xSize = 0;
    HICON icon = nullptr;
    bool closeHot = false;
    UINT dpi = 96;  // every number below is at 96 DPI and drawn scaled to this
};

// The fixed parts of the look.
constexpr std::uint8_t kDialogVeilAlpha = 220;            // theme colour over the picture
constexpr std::uint8_t kDialogWashAlpha = 100;            // white over everything
constexpr std::uint32_t kDialogBandTop = 0x64FFFFFF;      // caption gradient: white, alpha 100
constexpr std::uint32_t kDialogBandBottom = 0x14000000;   // to black, alpha 20
constexpr std::uint32_t kDialogOuterBorder = 0x78000000;  // black, alpha 120
constexpr std::uint32_t kDialogInnerBorder = 0xB4FFFFFF;  // white, alpha 180
constexpr COLORREF kDialogCloseHighlight = 0x000000FF;    // red
constexpr float kDialogTitleEmSize = 11.0f;               // pixels: the path's em size is in world units
// The title path is stroked with a white pen of this width, then filled white.
// Filled alone, an 11-pixel face loses its thinnest strokes (they fall between
// pixel centres); the half-pixel pen keeps every stroke, while the gaps inside
// dense characters stay open, which a one-pixel pen starts to fill.
constexpr float kDialogTitlePenWidth = 0.5f;

// The title's outline in the dialog's own coordinates: `title` in "黑体" at 11
// pixels, left-aligned and vertically centred on one line in (25, 0, window
// width, 30). False when the face or the text could not be laid out (the
// title is then not drawn).
bool addDialogTitlePath(GdipPath& path, std::wstring_view title, int windowWidth, UINT dpi = 96);

// The close button of a dialog whose picture occupies r: the red rounded
// highlight fading to white when hot, then the glyph. It paints over what is
// there; a caller switching hot to normal repaints the picture first.
void paintDialogCloseButton(GdipGraphics& graphics, const RECT& r, bool hot, UINT dpi = 96);

// The whole picture into r (normally (0, 0, window width, window height)).
// `dc` is the device context the graphics draws on; the icon goes through it.
void paintDialog(GdipGraphics& graphics, HDC dc, const RECT& r, const DialogLook& look);

}  // namespace pelmora
