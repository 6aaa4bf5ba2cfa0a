// Builds small PNG files in memory for the decoder tests: each row with the
// filter the test picks, chunks the test adds, and ways to damage the result.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace pelmora::testing {

using PngBytes = std::vector<std::uint8_t>;

inline void putBigEndian32(PngBytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void appendChunk(PngBytes& out, const char* type, const PngBytes& data) {
    putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian32(out,
                   static_cast<std::uint32_t>(::crc32(0, out.data() + typeAt, static_cast<uInt>(data.size() + 4))));
}

inline int paethPredictor(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Filters one row of raw samples against the raw row above.
inline PngBytes filteredRow(int filter, const PngBytes& row, const PngBytes& above, int pixel) {
    PngBytes out{static_cast<std::uint8_t>(filter)};
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int a = i >= static_cast<std::size_t>(pixel) ? row[i - pixel] : 0;
        const int b = above[i];
        const int c = i >= static_cast<std::size_t>(pixel) ? above[i - pixel] : 0;
        int predicted = 0;
        switch (filter) {
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 3:
                predicted = (a + b) / 2;
                break;
            case 4:
                predicted = paethPredictor(a, b, c);
                break;
            default:
                break;
        }
        out.push_back(static_cast<std::uint8_t>(row[i] - predicted));
    }
    return out;
}

struct PngFixture {
    int width = 0, height = 0;
    int colourType = 6;  // 2 RGB, 6 RGBA
    int bitDepth = 8;
    int interlace = 0;
    std::vector<std::uint8_t> samples;                     // rows of raw samples, R G B [A]
    std::vector<int> filters;                              // per row; cycled
    std::vector<std::pair<std::string, PngBytes>> before;  // chunks between IHDR and IDAT
    int idatPieces = 1;                                    // the compressed data split over this many IDAT chunks
    PngBytes trailingData;                                 // raw bytes compressed after the last row
};

inline PngBytes encodePng(const PngFixture& fixture) {
    const int pixel = fixture.colourType == 6 ? 4 : 3;
    const std::size_t rowLength = static_cast<std::size_t>(fixture.width) * pixel;
    PngBytes raw, above(rowLength, 0);
    for (int y = 0; y < fixture.height; ++y) {
        PngBytes row(fixture.samples.begin() + y * rowLength, fixture.samples.begin() + (y + 1) * rowLength);
        const int filter = fixture.filters.empty() ? 0 : fixture.filters[y % fixture.filters.size()];
        const PngBytes f = filteredRow(filter, row, above, pixel);
        raw.insert(raw.end(), f.begin(), f.end());
        above = row;
    }
    raw.insert(raw.end(), fixture.trailingData.begin(), fixture.trailingData.end());
    uLongf packedSize = ::compressBound(static_cast<uLong>(raw.size()));
    PngBytes packed(packedSize);
    ::compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    PngBytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngBytes header;
    putBigEndian32(header, static_cast<std::uint32_t>(fixture.width));
    putBigEndian32(header, static_cast<std::uint32_t>(fixture.height));
    header.insert(header.end(),
                  {static_cast<std::uint8_t>(fixture.bitDepth), static_cast<std::uint8_t>(fixture.colourType), 0, 0,
                   static_cast<std::uint8_t>(fixture.interlace)});
    appendChunk(out, "IHDR", header);
    for (const auto& [type, data] : fixture.before) appendChunk(out, type.c_str(), data);
    const std::size_t piece = packed.size() / fixture.idatPieces + 1;
    for (std::size_t at = 0; at < packed.size(); at += piece)
        appendChunk(out, "IDAT", PngBytes(packed.begin() + at, packed.begin() + std::min(packed.size(), at + piece)));
    appendChunk(out, "IEND", {});
    return out;
}

// Samples that differ from pixel to pixel and row to row, with alpha that
// runs from clear to opaque, so every filter has something to predict.
inline std::vector<std::uint8_t> gradientSamples(int width, int height, int pixel) {
    std::vector<std::uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            samples.push_back(static_cast<std::uint8_t>(x * 37 + y * 11));
            samples.push_back(static_cast<std::uint8_t>(255 - x * 13 + y * 29));
            samples.push_back(static_cast<std::uint8_t>((x * y * 7) ^ 0x5A));
            if (pixel == 4) samples.push_back(static_cast<std::uint8_t>((x + y) * 255 / (width + height - 2)));
        }
    return samples;
}

}  // namespace pelmora::testing
