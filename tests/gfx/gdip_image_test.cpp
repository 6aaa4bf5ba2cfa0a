// Images and bitmaps from and to memory and GDI bitmaps; the memory stream
// under them.
#include <cstring>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_memory_stream.h"
#include "gfx/skin_images.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool startsWithPngSignature(const Bytes& bytes) {
    return bytes.size() > 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0;
}

// What loading and saving images may leave behind; GDI objects are not theirs.
struct Counts {
    test::LiveObjects live;
    bool operator==(const Counts& o) const {
        return live.gdipObjects == o.live.gdipObjects && live.blocks == o.live.blocks && live.streams == o.live.streams;
    }
};
std::ostream& operator<<(std::ostream& os, const Counts& c) {
    return os << c.live;
}

TEST(GdipImage, LoadsAGlyphFromMemoryAndDestroyLeavesNoBlock) {
    Counts before;
    GdipImage image;
    ASSERT_TRUE(testing::loadGlyph(image, SkinImage::CaptionCloseGlyph));
    EXPECT_EQ(image.width(), 38u);
    EXPECT_EQ(image.height(), 18u);
    EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.live.blocks + 1);
    EXPECT_EQ(GdipMemoryStream::liveStreams(), before.live.streams + 1);

    EXPECT_TRUE(image.destroy());
    EXPECT_EQ(Counts(), before);
}

TEST(GdipImage, SaveToMemoryPicksTheEncoderByFormatText) {
    Counts before;
    {
        GdipBitmap pixel;
        ASSERT_TRUE(pixel.create(1, 1));
        ASSERT_TRUE(pixel.setPixel(0, 0, 0x80FF8000));
        Bytes png = pixel.saveToMemory(std::wstring_view(kPngFormatId));
        EXPECT_TRUE(startsWithPngSignature(png));

        // Decoded again, the one pixel is what was written.
        GdipBitmap back;
        ASSERT_TRUE(back.loadFromMemory(png));
        EXPECT_EQ(back.pixel(0, 0), 0x80FF8000u);

        Bytes bmp = pixel.saveToMemory(std::wstring_view(kBmpFormatId));
        ASSERT_GT(bmp.size(), 2u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');

        EXPECT_TRUE(pixel.saveToMemory(std::wstring_view(L"{00000000-1111-2222-3333-444444444444}")).empty());
        EXPECT_TRUE(pixel.saveToMemory(std::wstring_view(L"{b96b3caf-0728-11d3-9d7b-0000f81ef32e}")).empty())
            << "the comparison is exact";
        EXPECT_TRUE(pixel.saveToMemory(std::wstring_view(L"PNG")).empty());
    }
    EXPECT_EQ(Counts(), before) << "a save, failed or not, leaves no stream or block";
}

TEST(GdipImage, EncodersAreFoundByTheirFormatText) {
    const CLSID png = encoderClsid(kPngFormatId);
    const CLSID bmp = encoderClsid(kBmpFormatId);
    EXPECT_FALSE(IsEqualGUID(png, GUID{}));
    EXPECT_FALSE(IsEqualGUID(png, bmp));
    CLSID none = encoderClsid(L"{00000000-0000-0000-0000-000000000001}");
    EXPECT_TRUE(IsEqualGUID(none, GUID{}));
}

TEST(GdipImage, BytesThatAreNoImageLeaveTheWrapperEmptyUntilItsEnd) {
    Counts before;
    {
        const char junk[] = "certainly not an image";
        GdipImage image;
        EXPECT_FALSE(image.loadFromMemory(junk, sizeof junk));
        EXPECT_EQ(image.handle(), nullptr);
        EXPECT_FALSE(image.destroy());
        // The bytes stay with the wrapper until the next load or its end.
        EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.live.blocks + 1);

        EXPECT_FALSE(image.loadFromMemory(nullptr, 0));
        EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.live.blocks + 1) << "the previous block was released";

        ASSERT_TRUE(testing::loadGlyph(image, SkinImage::ArrowUpImage));
        EXPECT_EQ(image.width(), 7u);
        EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.live.blocks + 1);
    }
    EXPECT_EQ(Counts(), before);
}

TEST(GdipImage, LoadingAgainReplacesImageAndStream) {
    Counts before;
    GdipBitmap image;
    ASSERT_TRUE(testing::loadGlyph(image, SkinImage::CaptionCloseGlyph));
    ASSERT_TRUE(testing::loadGlyph(image, SkinImage::ArrowLeftImage));
    EXPECT_EQ(image.width(), 4u);
    EXPECT_EQ(gdipLiveObjects(), before.live.gdipObjects + 1);
    EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.live.blocks + 1);
    image.destroy();
    EXPECT_EQ(Counts(), before);
}

TEST(GdipImage, MovingCarriesTheStreamAlong) {
    Counts before;
    GdipImage a;
    ASSERT_TRUE(testing::loadGlyph(a, SkinImage::CaptionHelpGlyph));
    GdipImage b(std::move(a));
    EXPECT_EQ(a.handle(), nullptr);
    EXPECT_FALSE(a.destroy());
    EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.live.blocks + 1) << "the block went with the image";
    EXPECT_EQ(GdipMemoryStream::liveStreams(), before.live.streams + 1);
    EXPECT_EQ(b.width(), 26u);
    b.destroy();
    EXPECT_EQ(Counts(), before);
}

TEST(GdipBitmap, ToHbitmapDrawsOverTheBackground) {
    GdipBitmap source;
    ASSERT_TRUE(source.create(5, 3));
    ASSERT_TRUE(source.setPixel(4, 2, 0xFF00FF00));
    ASSERT_TRUE(source.setPixel(0, 0, 0x00000000));
    GdiBitmap gdi = source.toHbitmap(0xFF0000FF);
    ASSERT_TRUE(gdi);
    BITMAP info{};
    ASSERT_TRUE(::GetObjectW(gdi.get(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);

    MemoryDc dc(::CreateCompatibleDC(nullptr));
    const HGDIOBJ previous = ::SelectObject(dc.get(), gdi.get());
    EXPECT_EQ(::GetPixel(dc.get(), 4, 2), RGB(0, 0xFF, 0));
    EXPECT_EQ(::GetPixel(dc.get(), 0, 0), RGB(0, 0, 0xFF)) << "transparent pixels take the background";
    ::SelectObject(dc.get(), previous);

    GdipBitmap empty;
    EXPECT_FALSE(empty.toHbitmap());
}

}  // namespace
}  // namespace pelmora
