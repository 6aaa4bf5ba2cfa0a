// Shared by the control painter tests: a back buffer made the way the painters
// receive one, filled with a known picture, with a GDI+ graphics on it and
// pixel reads; colour checks with a tolerance; and the counters a leak test
// compares.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gfx/gdip_graphics.h"
#include "gfx/gdip_types.h"
#include "skin/controls/core/control_settings.h"

namespace pelmora::test {

// A picture with a different opaque colour at every pixel, so that a pixel
// that should show the window's picture can be told from one that was drawn on.
std::uint32_t picture(int x, int y);
// One plain mid grey, where a test looks for the painter's colours alone.
std::uint32_t grey(int x, int y);

// A listed back buffer of the given size holding `background`, and a graphics
// on its DC.
class PainterCanvas {
public:
    PainterCanvas(int width, int height, std::uint32_t (*background)(int x, int y) = picture);
    ~PainterCanvas();
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    HDC dc() const { return dc_; }
    GdipGraphics& graphics() { return graphics_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00RRGGBB after everything drawn so far has landed.
    std::uint32_t rgb(int x, int y);

private:
    size_t index(int x, int y) const;

    int width_, height_;
    HDC dc_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    bool bottomUp_ = false;
    GdipGraphics graphics_;
};

// `colour` (ARGB) laid over the opaque `below` (RGB), as source-over blending gives it.
std::uint32_t blend(std::uint32_t below, std::uint32_t colour);
// Every channel within `tolerance`.
bool closeTo(std::uint32_t rgb, std::uint32_t expected, int tolerance = 3);

// What a painting loop may leave behind: GDI objects (where the system counts
// them), GDI+ objects owned by wrappers, global blocks and streams.
struct LeakCounters {
    DWORD gdiObjects = 0;
    long gdipObjects = 0;
    long blocks = 0;
    long streams = 0;
    static LeakCounters now();
};

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
