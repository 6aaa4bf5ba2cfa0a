// The engine's PNG decoder on small PNGs built in the test: every filter in
// both layouts, the resolution, and every damaged or unsupported file it
// must refuse rather than decode wrongly.
#include "gfx/png_decoder.h"

#include <gtest/gtest.h>

#include "tests/gfx/png_fixture.h"

namespace pelmora {
namespace {

using testing::encodePng;
using testing::gradientSamples;
using testing::PngBytes;
using testing::PngFixture;

PngFixture gradientFixture(int colourType, std::vector<int> filters) {
    PngFixture fixture;
    fixture.width = 9;
    fixture.height = 7;
    fixture.colourType = colourType;
    fixture.samples = gradientSamples(fixture.width, fixture.height, colourType == 6 ? 4 : 3);
    fixture.filters = std::move(filters);
    return fixture;
}

// The decoded rows, stride bytes apart, as the raw samples in B G R [A] order.
void expectPixels(const PngFixture& fixture, const std::vector<std::uint8_t>& decoded, int stride) {
    const int pixel = fixture.colourType == 6 ? 4 : 3;
    for (int y = 0; y < fixture.height; ++y)
        for (int x = 0; x < fixture.width; ++x) {
            const std::uint8_t* want = &fixture.samples[(y * fixture.width + x) * pixel];
            const std::uint8_t* got = &decoded[y * stride + x * pixel];
            SCOPED_TRACE(::testing::Message() << "pixel " << x << "," << y);
            ASSERT_EQ(got[0], want[2]);
            ASSERT_EQ(got[1], want[1]);
            ASSERT_EQ(got[2], want[0]);
            if (pixel == 4) {
                ASSERT_EQ(got[3], want[3]);
            }
        }
}

struct FilterCase {
    const char* name;
    int colourType;
    std::vector<int> filters;
    int idatPieces;
};

TEST(PngDecoder, DecodesEveryFilterInBothLayouts) {
    const FilterCase cases[] = {
        {"RGBA none", 6, {0}, 1},    {"RGBA sub", 6, {1}, 1},   {"RGBA up", 6, {2}, 1},
        {"RGBA average", 6, {3}, 1}, {"RGBA paeth", 6, {4}, 1}, {"RGBA mixed, split data", 6, {4, 0, 3, 1, 2}, 5},
        {"RGB none", 2, {0}, 1},     {"RGB paeth", 2, {4}, 1},  {"RGB mixed, split data", 2, {1, 2, 3, 4, 0}, 3},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        PngFixture fixture = gradientFixture(c.colourType, c.filters);
        fixture.idatPieces = c.idatPieces;
        const PngBytes png = encodePng(fixture);
        PngHeader header;
        ASSERT_EQ(readPngHeader(png.data(), png.size(), header), PngStatus::Ok);
        EXPECT_EQ(header.width, fixture.width);
        EXPECT_EQ(header.height, fixture.height);
        EXPECT_EQ(header.layout, c.colourType == 6 ? PngLayout::Rgba : PngLayout::Rgb);
        // A stride wider than the row, as GDI+ gives for 24-bit rows.
        const int stride = fixture.width * 4 + 8;
        std::vector<std::uint8_t> decoded(static_cast<std::size_t>(stride) * fixture.height, 0xCC);
        ASSERT_EQ(decodePngPixels(png.data(), png.size(), header, decoded.data(), stride), PngStatus::Ok);
        expectPixels(fixture, decoded, stride);
    }
}

TEST(PngDecoder, ResolutionComesFromPhysInPixelsPerMetreOnly) {
    auto phys = [](std::uint32_t x, std::uint32_t y, std::uint8_t unit) {
        PngBytes data;
        testing::putBigEndian32(data, x);
        testing::putBigEndian32(data, y);
        data.push_back(unit);
        return data;
    };
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, PngBytes>> chunks;
        float dpiX, dpiY;
    } cases[] = {
        {"no pHYs", {}, 96.0f, 96.0f},
        {"3780 x 5669 per metre", {{"pHYs", phys(3780, 5669, 1)}}, 96.012f, 143.99f},
        {"aspect ratio only", {{"pHYs", phys(2, 1, 0)}}, 96.0f, 96.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PngFixture fixture = gradientFixture(6, {0});
        fixture.before = c.chunks;
        const PngBytes png = encodePng(fixture);
        PngHeader header;
        ASSERT_EQ(readPngHeader(png.data(), png.size(), header), PngStatus::Ok);
        EXPECT_NEAR(header.dpiX, c.dpiX, 0.01f);
        EXPECT_NEAR(header.dpiY, c.dpiY, 0.01f);
    }
}

// Damage done to a good file: the header refuses it, or (for damage inside
// the image data) decoding does.
struct DamageCase {
    const char* name;
    PngBytes (*make)();
    PngStatus headerStatus;
    PngStatus decodeStatus;  // when the header passes
};

PngBytes good() {
    return encodePng(gradientFixture(6, {4}));
}
PngBytes changedFixture(void (*change)(PngFixture&)) {
    PngFixture fixture = gradientFixture(6, {4});
    change(fixture);
    return encodePng(fixture);
}

const DamageCase kDamage[] = {
    {"empty", [] { return PngBytes{}; }, PngStatus::NotPng, PngStatus::NotPng},
    {"no signature",
     [] {
         PngBytes b = good();
         b[1] = 'Q';
         return b;
     },
     PngStatus::NotPng, PngStatus::NotPng},
    {"cut inside IDAT",
     [] {
         PngBytes b = good();
         b.resize(b.size() - 30);
         return b;
     },
     PngStatus::BadChunk, PngStatus::BadChunk},
    {"no IEND",
     [] {
         PngBytes b = good();
         b.resize(b.size() - 12);
         return b;
     },
     PngStatus::BadChunk, PngStatus::BadChunk},
    {"bad CRC in IDAT",
     [] {
         PngBytes b = good();
         b[b.size() - 20] ^= 0x01;
         return b;
     },
     PngStatus::BadChunk, PngStatus::BadChunk},
    {"IHDR not first",
     [] {
         PngBytes b = good();
         b[12] = 'X';
         return b;
     },
     PngStatus::BadChunk, PngStatus::BadChunk},
    {"zero width",
     [] {
         return changedFixture([](PngFixture& s) {
             s.width = 0;
             s.samples.clear();
         });
     },
     PngStatus::BadChunk, PngStatus::BadChunk},
    {"16-bit samples", [] { return changedFixture([](PngFixture& s) { s.bitDepth = 16; }); }, PngStatus::Unsupported,
     PngStatus::Unsupported},
    {"interlaced", [] { return changedFixture([](PngFixture& s) { s.interlace = 1; }); }, PngStatus::Unsupported,
     PngStatus::Unsupported},
    {"palette",
     [] {
         return changedFixture([](PngFixture& s) {
             s.colourType = 3;
             s.samples.resize(7 * 9 * 3);
         });
     },
     PngStatus::Unsupported, PngStatus::Unsupported},
    {"transparent colour",
     [] {
         return changedFixture([](PngFixture& s) {
             s.colourType = 2;
             s.samples.resize(7 * 9 * 3);
             s.before = {{"tRNS", PngBytes(6, 0)}};
         });
     },
     PngStatus::Unsupported, PngStatus::Unsupported},
    {"unknown critical chunk",
     [] { return changedFixture([](PngFixture& s) {
              s.before = {{"ABCD", PngBytes(3, 1)}};
          }); },
     PngStatus::Unsupported, PngStatus::Unsupported},
    {"filter type 5", [] { return changedFixture([](PngFixture& s) {
                               s.filters = {0, 0, 5};
                           }); }, PngStatus::Ok,
     PngStatus::BadData},
    {"data past the last row", [] { return changedFixture([](PngFixture& s) { s.trailingData = PngBytes(10, 0); }); },
     PngStatus::Ok, PngStatus::BadData},
};

TEST(PngDecoder, RefusesDamagedAndUnsupportedFiles) {
    for (const DamageCase& c : kDamage) {
        SCOPED_TRACE(c.name);
        const PngBytes png = c.make();
        PngHeader header;
        const PngStatus status = readPngHeader(png.data(), png.size(), header);
        EXPECT_EQ(status, c.headerStatus) << pngStatusName(status);
        if (status != PngStatus::Ok) continue;
        std::vector<std::uint8_t> decoded(static_cast<std::size_t>(header.width) * 4 * header.height);
        const PngStatus decodedStatus =
            decodePngPixels(png.data(), png.size(), header, decoded.data(), header.width * 4);
        EXPECT_EQ(decodedStatus, c.decodeStatus) << pngStatusName(decodedStatus);
    }
}

// A header whose height promises more rows than the data holds.
TEST(PngDecoder, RefusesDataShorterThanTheHeaderPromises) {
    PngBytes png = good();
    // Height 7 -> 8 in IHDR, with the CRC fixed so only the data is wrong.
    png[8 + 8 + 7] = 8;
    const std::uint32_t crc = static_cast<std::uint32_t>(::crc32(0, png.data() + 12, 17));
    for (int i = 0; i < 4; ++i) png[8 + 8 + 13 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    PngHeader header;
    ASSERT_EQ(readPngHeader(png.data(), png.size(), header), PngStatus::Ok);
    ASSERT_EQ(header.height, 8);
    std::vector<std::uint8_t> decoded(static_cast<std::size_t>(header.width) * 4 * header.height);
    EXPECT_EQ(decodePngPixels(png.data(), png.size(), header, decoded.data(), header.width * 4), PngStatus::BadData);
}

}  // namespace
}  // namespace pelmora
