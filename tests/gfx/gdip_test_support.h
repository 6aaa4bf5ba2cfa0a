// Shared by the graphics tests: GDI+ started once per test program, glyphs
// decoded by GDI+ alone, and what the tests read straight from GDI+.
#pragma once

#include <gtest/gtest.h>

#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_object.h"
#include "gfx/skin_images.h"

namespace pelmora::testing {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NE(gdipStartup(), 0u); }
    void TearDown() override { gdipShutdown(); }
};

// A glyph decoded by GDI+ itself, from the bytes linked into the program.
inline bool loadGlyph(GdipImage& image, SkinImage glyph) {
    const SkinImageBytes bytes = SkinImageSet::bytes(glyph);
    return image.loadFromMemory(bytes.data, bytes.size);
}

// Facts the engine never asks for, read straight from GDI+ to compare bitmaps.
inline Gdiplus::PixelFormat pixelFormatOf(const GdipImage& image) {
    Gdiplus::PixelFormat format = 0;
    gp::GdipGetImagePixelFormat(image.native(), &format);
    return format;
}
inline float horizontalDpiOf(const GdipImage& image) {
    REAL dpi = 0;
    gp::GdipGetImageHorizontalResolution(image.native(), &dpi);
    return dpi;
}
inline float verticalDpiOf(const GdipImage& image) {
    REAL dpi = 0;
    gp::GdipGetImageVerticalResolution(image.native(), &dpi);
    return dpi;
}

inline unsigned alphaOf(Argb c) {
    return c >> 24;
}
inline Argb rgbOf(Argb c) {
    return c & 0x00FFFFFF;
}

}  // namespace pelmora::testing
