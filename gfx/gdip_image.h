// GdipImage and GdipBitmap: images loaded from files or bytes in memory,
// drawn by the painters and saved back as PNG.
//
// An image loaded from memory keeps the stream it was read from (GDI+ may
// decode lazily and read it again) until destroy(), which disposes of the
// image first and then releases the stream and its block.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/unique_resource.h"
#include "gfx/gdip_codecs.h"
#include "gfx/gdip_memory_stream.h"
#include "gfx/gdip_object.h"

namespace pelmora {

class GdipGraphics;

class GdipImage : public GdipObject {
public:
    GdipImage() = default;
    ~GdipImage() override;
    GdipImage(GdipImage&& other) noexcept;
    GdipImage& operator=(GdipImage&& other) noexcept;
    GpImage* native() const noexcept { return static_cast<GpImage*>(handle()); }

    bool destroy() override;
    // Copies the bytes into the wrapper's own stream and decodes from there.
    virtual bool loadFromMemory(const void* bytes, std::size_t size, bool useIcm = false);
    bool loadFromMemory(const Bytes& bytes, bool useIcm = false) {
        return loadFromMemory(bytes.data(), bytes.size(), useIcm);
    }

    // The encoded bytes; empty when the save failed.
    Bytes saveToMemory(std::wstring_view formatId);

    unsigned width();
    unsigned height();

protected:
    virtual GpStatus loadStreamNative(IStream* stream, bool useIcm, GpImage** made);

private:
    GdipMemoryStream stream_;
};

class GdipBitmap : public GdipImage {
public:
    GdipBitmap() = default;
    GdipBitmap(GdipBitmap&& other) noexcept = default;
    GdipBitmap& operator=(GdipBitmap&& other) noexcept = default;
    GpBitmap* nativeBitmap() const noexcept { return static_cast<GpBitmap*>(handle()); }

    // Over pixels the caller owns and keeps until the bitmap is destroyed.
    bool createFromScan0(int width, int height, int stride, Gdiplus::PixelFormat format, BYTE* scan0);
    // Pixels owned by GDI+.
    bool create(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    // A new GDI bitmap of the image over the background colour.
    GdiBitmap toHbitmap(Argb background = 0);
    Argb pixel(int x, int y);
    bool setPixel(int x, int y, Argb colour);
    bool setResolution(float dpiX, float dpiY);
    // Write access to every pixel in `format`: `fill` gets the first row and
    // the stride in bytes, and says whether it wrote them all.
    bool writePixels(Gdiplus::PixelFormat format, const std::function<bool(BYTE* scan0, int stride)>& fill);

protected:
    GpStatus loadStreamNative(IStream* stream, bool useIcm, GpImage** made) override;
};

}  // namespace pelmora
