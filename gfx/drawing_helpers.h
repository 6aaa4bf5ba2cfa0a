// Small helpers every painter shares: colour conversion for GDI+, the rounded
// rectangle figure, rectangles of one window relative to another, child-window
// clipping and invalidation, and the halves of a message parameter. Helpers
// that need the skin engine's window records live with the skin engine
// (skin/controls/core/control_background.h); these know nothing about them.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace pelmora {

class GdipPath;

// COLORREF 0x00BBGGRR to GDI+ 0xAARRGGBB; alpha 255 unless given.
constexpr std::uint32_t argbFromColour(COLORREF colour, std::optional<std::uint8_t> alpha = std::nullopt) {
    const std::uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    return (std::uint32_t{alpha.value_or(255)} << 24) | (r << 16) | (g << 8) | b;
}

// Low half without sign (0..65535); high half with its sign kept, so a negative
// y coordinate in a mouse message stays negative.
constexpr int loWord(std::uint32_t value) {
    return static_cast<int>(value & 0xFFFF);
}
constexpr int hiWord(std::uint32_t value) {
    return static_cast<int>(static_cast<std::int32_t>(value) >> 16);
}

// One corner of the rounded rectangle figure: the arc's bounding rectangle and
// its start angle; every corner sweeps 90 degrees.
struct CornerArc {
    float x, y, width, height, startAngle;
};

// The four corners of a rounded rectangle, clockwise from the top right. The
// radius is the side of a corner's bounding square (1..100, clamped); the
// bottom-right square is one pixel larger but still ends at (x + width, y + height).
std::array<CornerArc, 4> roundedRectangleArcs(float x, float y, float width, float height, int radius);

// Adds the figure above to a path as one closed figure; false when GDI+ refused.
bool addRoundedRectangle(GdipPath& path, float x, float y, float width, float height, int radius);

// Window rectangle of b relative to the top-left corner of a's window rectangle.
RECT rectRelativeTo(HWND a, HWND b);
// The window's rectangle relative to its root window.
RECT rectInRootWindow(HWND window);

// The window has WS_EX_TRANSPARENT: it lets the pointer and the paint through.
bool isClickThrough(HWND window);

// Invalidates (with erase) every visible direct child of the window.
void invalidateVisibleChildren(HWND window);

}  // namespace pelmora
