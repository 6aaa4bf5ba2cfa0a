// Pictures decoded by the engine's own decoder must be the bitmaps GDI+
// makes of the same bytes: size, pixel format, resolution and every pixel,
// for the built-in glyphs, the installer's artwork and built files; and what
// the decoder leaves alone still decodes, through GDI+.
#include "gfx/picture_decode.h"

#include "gfx/skin_images.h"
#include "payload/embedded_data.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/gfx/png_fixture.h"

namespace pelmora {
namespace {

using testing::encodePng;
using testing::gradientSamples;
using testing::PngBytes;
using testing::PngFixture;

void expectSameAsGdiplus(const std::uint8_t* bytes, std::size_t size) {
    GdipBitmap ours, theirs;
    ASSERT_TRUE(decodePicture(ours, bytes, size));
    ASSERT_TRUE(theirs.loadFromMemory(bytes, size));
    ASSERT_EQ(ours.width(), theirs.width());
    ASSERT_EQ(ours.height(), theirs.height());
    EXPECT_EQ(testing::pixelFormatOf(ours), testing::pixelFormatOf(theirs));
    EXPECT_NEAR(testing::horizontalDpiOf(ours), testing::horizontalDpiOf(theirs), 0.01f);
    EXPECT_NEAR(testing::verticalDpiOf(ours), testing::verticalDpiOf(theirs), 0.01f);
    for (unsigned y = 0; y < ours.height(); ++y)
        for (unsigned x = 0; x < ours.width(); ++x)
            ASSERT_EQ(ours.pixel(x, y), theirs.pixel(x, y)) << "pixel " << x << "," << y;
}

TEST(PictureDecode, GlyphsAndArtworkMatchGdiplus) {
    for (SkinImage image : SkinImageSet::kAll) {
        const std::wstring name = SkinImageSet::name(image);
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        const SkinImageBytes b = SkinImageSet::bytes(image);
        expectSameAsGdiplus(b.data, b.size);
    }
    // RGB with cHRM, iCCP and pHYs; RGBA with sRGB, gAMA and pHYs.
    for (ByteView art : {backgroundPng(), iconPng()}) expectSameAsGdiplus(art.data, art.size);
}

TEST(PictureDecode, BuiltFilesWithEveryFilterMatchGdiplus) {
    for (int colourType : {2, 6}) {
        SCOPED_TRACE(colourType);
        PngFixture fixture;
        fixture.width = 11;
        fixture.height = 10;
        fixture.colourType = colourType;
        fixture.samples = gradientSamples(fixture.width, fixture.height, colourType == 6 ? 4 : 3);
        fixture.filters = {0, 1, 2, 3, 4};
        const PngBytes png = encodePng(fixture);
        expectSameAsGdiplus(png.data(), png.size());
    }
}

TEST(PictureDecode, LeavesOtherPicturesAndVerdictsToGdiplus) {
    // Interlaced is valid PNG the decoder does not read: GDI+ still does.
    PngFixture interlaced;
    interlaced.width = 1;
    interlaced.height = 1;
    interlaced.colourType = 6;
    interlaced.interlace = 1;
    interlaced.samples = {10, 20, 30, 255};
    const PngBytes png = encodePng(interlaced);
    GdipBitmap bitmap;
    ASSERT_TRUE(decodePicture(bitmap, png.data(), png.size()));
    EXPECT_EQ(bitmap.pixel(0, 0), 0xFF0A141Eu);

    // Bytes that are no picture at all fail and hold nothing.
    const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    GdipBitmap refused;
    EXPECT_FALSE(decodePicture(refused, junk, sizeof junk));
    EXPECT_EQ(refused.native(), nullptr);
}

}  // namespace
}  // namespace pelmora
