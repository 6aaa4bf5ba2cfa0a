// Fuzzes the skin's PNG decoder: whatever the bytes, reading the header and
// decoding the rows stay inside the input and inside the rows they were given
// (the sanitizers watch both), and a header that reads Ok describes a picture
// the decoder can size.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gfx/png_decoder.h"

namespace {

// Mutated bytes almost never keep their chunk CRCs right, which would stop
// nearly every run at the first chunk. Half the runs give every whole chunk
// its right CRC first, so the runs reach the header, the inflation and the
// row filters.
void mendChunkCrcs(std::vector<std::uint8_t>& png) {
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = (std::uint32_t{png[at]} << 24) | (std::uint32_t{png[at + 1]} << 16) |
                                     (std::uint32_t{png[at + 2]} << 8) | png[at + 3];
        if (length > png.size() - at - 12) return;
        const uLong crc = crc32(0, png.data() + at + 4, static_cast<uInt>(length + 4));
        std::uint8_t* out = png.data() + at + 8 + length;
        out[0] = static_cast<std::uint8_t>(crc >> 24);
        out[1] = static_cast<std::uint8_t>(crc >> 16);
        out[2] = static_cast<std::uint8_t>(crc >> 8);
        out[3] = static_cast<std::uint8_t>(crc);
        at += 12 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* raw, std::size_t rawSize) {
    using namespace pelmora;
    if (rawSize == 0) return 0;
    // The first byte chooses whether the CRCs are mended; the rest is the file.
    std::vector<std::uint8_t> png(raw + 1, raw + rawSize);
    if (raw[0] & 1) mendChunkCrcs(png);
    const std::uint8_t* data = png.data();
    const std::size_t size = png.size();
    PngHeader header;
    if (readPngHeader(data, size, header) != PngStatus::Ok) return 0;
    if (header.width <= 0 || header.height <= 0) std::abort();
    const int pixel = header.layout == PngLayout::Rgba ? 4 : 3;
    // Keep each run small: a header may promise a large picture that the data
    // cannot fill; the decoder must still stop at the promised rows.
    const std::size_t bytes = static_cast<std::size_t>(header.width) * pixel * header.height;
    if (bytes > (64u << 20)) return 0;
    const int stride = (header.width * pixel + 3) & ~3;
    // Exactly the rows the header promises, so a write past them is a sanitizer report.
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * header.height);
    const PngStatus status = decodePngPixels(data, size, header, rows.data(), stride);
    if (status == PngStatus::NotPng) std::abort();  // the header just read said it is one
    return 0;
}
