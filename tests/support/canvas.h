// The one drawing surface the tests paint into and read back: a top-down
// 32-bit DIB section selected into a memory DC, like the painters' back
// buffers. GDI draws through dc(); GDI+ draws either through the DC, as a
// painter does (graphics(), made with the canvas, so a leak count taken after
// the canvas was made does not see it), or through an ARGB bitmap over the
// same pixels, which keeps the alpha GDI+ writes (bitmapGraphics(), made on
// first use).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/unique_resource.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"

namespace pelmora::test {

class Canvas {
public:
    using Picture = std::uint32_t (*)(int x, int y);

    // Every pixel 0xAARRGGBB `fill` (transparent black unless given).
    Canvas(int width, int height, std::uint32_t fill = 0) : Canvas(width, height, nullptr, fill) {}
    Canvas(int width, int height, int fill) : Canvas(width, height, nullptr, static_cast<std::uint32_t>(fill)) {}
    // Every pixel what `picture` says for it.
    Canvas(int width, int height, Picture picture) : Canvas(width, height, picture, 0) {}
    ~Canvas() {
        // Graphics first: they hold the DC and the bits.
        graphics_.destroy();
        bitmapGraphics_.destroy();
        bitmap_.destroy();
        if (dc_) ::SelectObject(dc_.get(), previous_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

    // A graphics on the DC; without GDI+ running it is made once GDI+ is.
    GdipGraphics& graphics() {
        if (!graphics_.handle()) graphics_.fromHdc(dc_.get());
        return graphics_;
    }
    // A graphics on a 32-bpp ARGB bitmap that shares the canvas's pixels.
    GdipGraphics& bitmapGraphics() {
        if (!bitmapGraphics_.handle() &&
            bitmap_.createFromScan0(width_, height_, width_ * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(bits_)))
            bitmapGraphics_.fromImage(bitmap_);
        return bitmapGraphics_;
    }

    // The bitmap under bitmapGraphics().
    GdipBitmap& bitmap() {
        bitmapGraphics();
        return bitmap_;
    }

    // Sets every pixel again.
    void fill(std::uint32_t colour) {
        settle();
        for (int i = 0; i < width_ * height_; ++i) bits_[i] = colour;
    }
    void fill(Picture picture) {
        settle();
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) bits_[index(x, y)] = picture(x, y);
    }

    // 0xAARRGGBB after everything drawn so far has landed.
    std::uint32_t argb(int x, int y) const {
        settle();
        return bits_[index(x, y)];
    }
    // 0x00RRGGBB of the same.
    std::uint32_t rgb(int x, int y) const { return argb(x, y) & 0x00FFFFFF; }
    // Direct access to a pixel, for writing one.
    std::uint32_t& at(int x, int y) {
        settle();
        return bits_[index(x, y)];
    }

private:
    Canvas(int width, int height, Picture picture, std::uint32_t colour)
        : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dib_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        previous_ = ::SelectObject(dc_.get(), dib_.get());
        if (picture)
            fill(picture);
        else
            fill(colour);
        graphics_.fromHdc(dc_.get());
    }
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    // GDI+ and GDI may both still hold work for these pixels.
    void settle() const {
        if (graphics_.handle()) graphics_.flush(Gdiplus::FlushIntentionSync);
        if (bitmapGraphics_.handle()) bitmapGraphics_.flush(Gdiplus::FlushIntentionSync);
        ::GdiFlush();
    }

    int width_, height_;
    MemoryDc dc_;
    GdiBitmap dib_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    GdipBitmap bitmap_;
    // Flushed by the const pixel reads.
    mutable GdipGraphics bitmapGraphics_;
    mutable GdipGraphics graphics_;
};

}  // namespace pelmora::test
