// Shared by the graphics tests: GDI+ started once per test program, and small
// drawing surfaces whose pixels the tests read back.
#pragma once

#include <gtest/gtest.h>

#include "base/unique_resource.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_object.h"

namespace pelmora::testing {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NE(gdipStartup(), 0u); }
    void TearDown() override { gdipShutdown(); }
};

// A 32-bpp ARGB bitmap with a graphics on it, cleared to one colour.
struct BitmapCanvas {
    GdipBitmap bitmap;
    GdipGraphics graphics;
    BitmapCanvas(int width, int height, Argb background) {
        EXPECT_TRUE(bitmap.create(width, height));
        EXPECT_TRUE(graphics.fromImage(bitmap));
        EXPECT_TRUE(graphics.clear(background));
    }
    // Pixels are read after the graphics has flushed its work.
    Argb at(int x, int y) {
        graphics.flush(Gdiplus::FlushIntentionSync);
        return bitmap.pixel(x, y);
    }
};

// A memory DC over a top-down 32-bpp DIB section, as the painters' back
// buffers are.
class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<DWORD*>(bits);
        previous_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~DibCanvas() { ::SelectObject(dc_.get(), previous_); }
    HDC dc() const { return dc_.get(); }
    // 0x00RRGGBB of a pixel (the DIB carries no alpha worth reading).
    DWORD rgb(int x, int y) const {
        ::GdiFlush();
        return bits_[y * width_ + x] & 0x00FFFFFF;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    MemoryDc dc_;
    GdiBitmap bitmap_;
    DWORD* bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

inline unsigned alphaOf(Argb c) {
    return c >> 24;
}
inline Argb rgbOf(Argb c) {
    return c & 0x00FFFFFF;
}

}  // namespace pelmora::testing
