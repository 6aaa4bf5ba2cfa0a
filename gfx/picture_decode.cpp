#include "gfx/picture_decode.h"

#include <cstdint>

#include "gfx/png_decoder.h"

namespace pelmora {

bool decodePicture(GdipBitmap& target, const void* bytes, std::size_t size) {
    const auto* png = static_cast<const std::uint8_t*>(bytes);
    PngHeader header;
    if (readPngHeader(png, size, header) == PngStatus::Ok) {
        // GDI+ decodes an RGB PNG to 24 bits and an RGBA one to 32-bit ARGB;
        // the same formats keep drawing the same (an opaque picture is copied,
        // not blended).
        const Gdiplus::PixelFormat format =
            header.layout == PngLayout::Rgba ? PixelFormat32bppARGB : PixelFormat24bppRGB;
        const bool decoded =
            target.create(header.width, header.height, format) &&
            target.writePixels(format,
                               [&](BYTE* scan0, int stride) {
                                   return decodePngPixels(png, size, header, scan0, stride) == PngStatus::Ok;
                               }) &&
            target.setResolution(header.dpiX, header.dpiY);
        if (decoded) return true;
    }
    return target.loadFromMemory(bytes, size);
}

}  // namespace pelmora
