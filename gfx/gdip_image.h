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
    virtual bool loadFromFile(std::wstring_view fileName, bool useIcm = false);
    bool loadFromFile(std::string_view gbkFileName, bool useIcm = false);
    // Copies the bytes into the wrapper's own stream and decodes from there.
    virtual bool loadFromMemory(const void* bytes, std::size_t size, bool useIcm = false);
    bool loadFromMemory(const Bytes& bytes, bool useIcm = false) {
        return loadFromMemory(bytes.data(), bytes.size(), useIcm);
    }

    bool clone(GdipImage& out) const;
    bool saveToFile(std::wstring_view fileName, std::wstring_view formatId = kBmpFormatId,
                    const std::vector<EncoderParameterValue>* parameters = nullptr);
    bool saveToFile(std::string_view gbkFileName, std::wstring_view formatId = kBmpFormatId,
                    const std::vector<EncoderParameterValue>* parameters = nullptr);
    // The encoded bytes; empty when the save failed. Without a format id the
    // image's own raw format is used.
    Bytes saveToMemory(std::optional<std::wstring_view> formatId = std::nullopt,
                       const std::vector<EncoderParameterValue>* parameters = nullptr);

    Gdiplus::ImageType type();
    unsigned width();
    unsigned height();
    float horizontalResolution();
    float verticalResolution();
    unsigned flags();
    // Braced text of the format the image was decoded from; empty on failure.
    std::wstring rawFormat();
    Gdiplus::PixelFormat pixelFormat();
    unsigned frameCount();
    bool selectActiveFrame(unsigned index);
    bool rotateFlip(Gdiplus::RotateFlipType how);
    // Bytes of property item id and its GDI+ type; false when it is missing.
    bool propertyItem(PROPID id, Bytes& value, WORD* type = nullptr);
    // The frame delays of an animation (property 0x5100), one per frame.
    bool frameDelays(std::vector<std::int32_t>& delays);

    const GdipMemoryStream& memoryStream() const noexcept { return stream_; }

protected:
    // Loads through GdipLoadImageFrom* here, GdipCreateBitmapFrom* in a bitmap.
    virtual GpStatus loadFileNative(const wchar_t* fileName, bool useIcm, GpImage** made);
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

    bool createFromScan0(int width, int height, int stride, Gdiplus::PixelFormat format, BYTE* scan0);
    // Pixels owned by GDI+.
    bool create(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    bool createFromGraphics(int width, int height, const GdipGraphics& graphics);
    bool fromHbitmap(HBITMAP bitmap, HPALETTE palette = nullptr);
    bool fromHicon(HICON icon);
    // A new GDI bitmap of the image over the background colour.
    GdiBitmap toHbitmap(Argb background = 0);
    bool cloneArea(const RectF& area, Gdiplus::PixelFormat format, GdipBitmap& out) const;
    Argb pixel(int x, int y);
    bool setPixel(int x, int y, Argb colour);
    bool setResolution(float dpiX, float dpiY);
    // Write access to every pixel in `format`: `fill` gets the first row and
    // the stride in bytes, and says whether it wrote them all.
    bool writePixels(Gdiplus::PixelFormat format, const std::function<bool(BYTE* scan0, int stride)>& fill);

    // Size of the box that holds the bitmap rotated by degrees.
    SizeI rotatedSize(float degrees);
    // A rotated 32-bpp ARGB copy into out, of the given size or rotatedSize,
    // over the background colour, drawn with the interpolation mode.
    bool rotate(GdipBitmap& out, float degrees, std::optional<SizeI> size = std::nullopt,
                std::optional<Argb> background = std::nullopt,
                std::optional<Gdiplus::InterpolationMode> interpolation = std::nullopt);

protected:
    GpStatus loadFileNative(const wchar_t* fileName, bool useIcm, GpImage** made) override;
    GpStatus loadStreamNative(IStream* stream, bool useIcm, GpImage** made) override;
};

// Geometry behind GdipBitmap::rotatedSize, for an image of width x height.
SizeI rotatedBoxSize(int width, int height, float degrees);

}  // namespace pelmora
