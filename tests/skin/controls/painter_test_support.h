// Shared by the control painter tests: the pictures their canvases
// (tests/support/canvas.h) start from, colour checks with a tolerance, and
// the settings the painters are given. Leak tests compare test::LiveObjects.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gfx/gdip_types.h"
#include "skin/controls/core/control_settings.h"
#include "tests/support/canvas.h"
#include "tests/support/live_objects.h"

namespace pelmora::test {

// A picture with a different opaque colour at every pixel, so that a pixel
// that should show the window's picture can be told from one that was drawn on.
std::uint32_t picture(int x, int y);
// One plain mid grey, where a test looks for the painter's colours alone.
std::uint32_t grey(int x, int y);

// `colour` (ARGB) laid over the opaque `below` (RGB), as source-over blending gives it.
std::uint32_t blend(std::uint32_t below, std::uint32_t colour);
// Every channel within `tolerance`.
bool closeTo(std::uint32_t rgb, std::uint32_t expected, int tolerance = 3);

// Settings as the installer uses them: translucent with alpha 0, the given accent.
ControlSettings installerSettings(COLORREF accent = 0x000000FF);
// Settings with opaque backgrounds.
ControlSettings opaqueSettings(COLORREF accent = 0x000000FF);

inline int redOf(std::uint32_t rgb) {
    return (rgb >> 16) & 0xFF;
}
inline int greenOf(std::uint32_t rgb) {
    return (rgb >> 8) & 0xFF;
}
inline int blueOf(std::uint32_t rgb) {
    return rgb & 0xFF;
}
// Clearly red: the accent the tests use, over grey or white.
inline bool reddish(std::uint32_t rgb) {
    return redOf(rgb) > greenOf(rgb) + 40 && redOf(rgb) > blueOf(rgb) + 40;
}

}  // namespace pelmora::test
