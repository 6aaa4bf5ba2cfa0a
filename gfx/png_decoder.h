// A small PNG decoder for the engine's own pictures: 8-bit RGB and RGBA,
// not interlaced, every filter type. Decoding through GDI+ loads and starts
// the system's imaging components on first use, which under Wine costs more
// than the whole rest of the window's first paint; these pictures do not
// need them. Anything outside that set is reported as Unsupported so the
// caller can hand the bytes to GDI+ instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelmora {

enum class PngStatus {
    Ok,
    NotPng,       // no PNG signature
    BadChunk,     // a chunk runs past the end, fails its CRC, or IHDR is missing or malformed
    Unsupported,  // a valid PNG of a kind this decoder leaves to GDI+
    BadData,      // the image data does not inflate to exactly the rows the header promises
};

const char* pngStatusName(PngStatus status);

enum class PngLayout {
    Rgb,   // written as B, G, R
    Rgba,  // written as B, G, R, A (straight alpha)
};

struct PngHeader {
    int width = 0;
    int height = 0;
    PngLayout layout = PngLayout::Rgb;
    // From pHYs when it gives pixels per metre; 96 otherwise.
    float dpiX = 96.0f;
    float dpiY = 96.0f;
};

// Reads and checks the chunks up to IEND; Ok only for a picture
// decodePngPixels can decode.
PngStatus readPngHeader(const std::uint8_t* bytes, std::size_t size, PngHeader& header);

// Decodes the rows top-down into `target`, `stride` bytes apart, in the
// layout of `header` (which readPngHeader filled from the same bytes). On
// failure the rows already written are left as they are.
PngStatus decodePngPixels(const std::uint8_t* bytes, std::size_t size, const PngHeader& header, std::uint8_t* target,
                          int stride);

}  // namespace pelmora
