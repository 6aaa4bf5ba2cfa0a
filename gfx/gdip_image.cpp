#include "gfx/gdip_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/gdip_graphics.h"
#include "gfx/gdip_internal.h"

namespace pelmora {

using gdip_detail::record;

// ---- GdipImage

GdipImage::~GdipImage() {
    destroy();
    stream_.release();
}

GdipImage::GdipImage(GdipImage&& other) noexcept : GdipObject(std::move(other)), stream_(std::move(other.stream_)) {}

GdipImage& GdipImage::operator=(GdipImage&& other) noexcept {
    if (this != &other) {
        moveFrom(other);
        stream_ = std::move(other.stream_);
    }
    return *this;
}

bool GdipImage::destroy() {
    if (!native()) return false;
    // The image first: GDI+ may still read from the stream until it is gone.
    bool ok = released(gp::GdipDisposeImage(native()));
    stream_.release();
    return ok;
}

GpStatus GdipImage::loadStreamNative(IStream* stream, bool useIcm, GpImage** made) {
    return useIcm ? gp::GdipLoadImageFromStreamICM(stream, made) : gp::GdipLoadImageFromStream(stream, made);
}

bool GdipImage::loadFromMemory(const void* bytes, std::size_t size, bool useIcm) {
    destroy();
    IStream* stream = stream_.fill(bytes, size);
    if (!stream) return record(Gdiplus::OutOfMemory);
    GpImage* made = nullptr;
    // The stream stays with the wrapper even when decoding fails; the next
    // load or the destructor releases it.
    return adopt(loadStreamNative(stream, useIcm, &made), made);
}

Bytes GdipImage::saveToMemory(std::wstring_view formatId) {
    CLSID encoder = encoderClsid(formatId);
    GdipMemoryStream target;
    IStream* stream = target.fill(nullptr, 0);
    if (!stream) return {};
    record(gp::GdipSaveImageToStream(native(), stream, &encoder, nullptr));
    // Whatever was written; nothing when the save was refused.
    return target.bytes();
}

unsigned GdipImage::width() {
    UINT value = 0;
    return record(gp::GdipGetImageWidth(native(), &value)) ? value : 0;
}
unsigned GdipImage::height() {
    UINT value = 0;
    return record(gp::GdipGetImageHeight(native(), &value)) ? value : 0;
}

// ---- GdipBitmap

GpStatus GdipBitmap::loadStreamNative(IStream* stream, bool useIcm, GpImage** made) {
    GpBitmap* bitmap = nullptr;
    GpStatus s =
        useIcm ? gp::GdipCreateBitmapFromStreamICM(stream, &bitmap) : gp::GdipCreateBitmapFromStream(stream, &bitmap);
    *made = bitmap;
    return s;
}

bool GdipBitmap::createFromScan0(int width, int height, int stride, Gdiplus::PixelFormat format, BYTE* scan0) {
    destroy();
    GpBitmap* made = nullptr;
    return adopt(gp::GdipCreateBitmapFromScan0(width, height, stride, format, scan0, &made), made);
}
bool GdipBitmap::create(int width, int height, Gdiplus::PixelFormat format) {
    return createFromScan0(width, height, 0, format, nullptr);
}
GdiBitmap GdipBitmap::toHbitmap(Argb background) {
    HBITMAP out = nullptr;
    return GdiBitmap(record(gp::GdipCreateHBITMAPFromBitmap(nativeBitmap(), &out, background)) ? out : nullptr);
}
Argb GdipBitmap::pixel(int x, int y) {
    Gdiplus::ARGB value = 0;
    return record(gp::GdipBitmapGetPixel(nativeBitmap(), x, y, &value)) ? value : 0;
}
bool GdipBitmap::setPixel(int x, int y, Argb colour) {
    return record(gp::GdipBitmapSetPixel(nativeBitmap(), x, y, colour));
}
bool GdipBitmap::setResolution(float dpiX, float dpiY) {
    return record(gp::GdipBitmapSetResolution(nativeBitmap(), dpiX, dpiY));
}
bool GdipBitmap::writePixels(Gdiplus::PixelFormat format, const std::function<bool(BYTE* scan0, int stride)>& fill) {
    const Gdiplus::Rect all(0, 0, static_cast<INT>(width()), static_cast<INT>(height()));
    Gdiplus::BitmapData data{};
    if (!record(gp::GdipBitmapLockBits(nativeBitmap(), &all, Gdiplus::ImageLockModeWrite, format, &data))) return false;
    const bool filled = fill(static_cast<BYTE*>(data.Scan0), data.Stride);
    return record(gp::GdipBitmapUnlockBits(nativeBitmap(), &data)) && filled;
}

}  // namespace pelmora
