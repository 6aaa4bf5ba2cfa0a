// Images and bitmaps from and to memory, files and GDI bitmaps; the memory
// stream under them.
#include <cstring>

#include "base/text.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_memory_stream.h"
#include "gfx/skin_images.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::BitmapCanvas;

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool startsWithPngSignature(const Bytes& bytes) {
    return bytes.size() > 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0;
}

struct Counts {
    long objects = gdipLiveObjects();
    long blocks = GdipMemoryStream::liveBlocks();
    long streams = GdipMemoryStream::liveStreams();
    bool operator==(const Counts& o) const {
        return objects == o.objects && blocks == o.blocks && streams == o.streams;
    }
};
std::ostream& operator<<(std::ostream& os, const Counts& c) {
    return os << "{objects " << c.objects << ", blocks " << c.blocks << ", streams " << c.streams << "}";
}

TEST(GdipImage, LoadsAGlyphFromMemoryAndDestroyLeavesNoBlock) {
    Counts before;
    GdipImage image;
    ASSERT_TRUE(loadSkinImage(image, SkinImage::CaptionCloseGlyph));
    EXPECT_EQ(image.width(), 38u);
    EXPECT_EQ(image.height(), 18u);
    HGLOBAL block = image.memoryStream().block();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(image.memoryStream().size(), SkinImageSet::bytes(SkinImage::CaptionCloseGlyph).size);
    EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.blocks + 1);

    EXPECT_TRUE(image.destroy());
    EXPECT_EQ(image.memoryStream().block(), nullptr);
    EXPECT_EQ(image.memoryStream().stream(), nullptr);
    EXPECT_EQ(Counts(), before);
}

TEST(GdipImage, RawFormatOfAPngAndSavingBackToMemory) {
    GdipImage image;
    ASSERT_TRUE(loadSkinImage(image, SkinImage::CheckBoxCheckedImage));
    EXPECT_EQ(image.rawFormat(), L"{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
    EXPECT_EQ(image.rawFormat(), kPngFormatId);
    // Without a format id the image is written in its own format.
    EXPECT_TRUE(startsWithPngSignature(image.saveToMemory()));
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

TEST(GdipImage, EncodersAreListedWithBracedIds) {
    auto encoders = imageEncoders();
    ASSERT_FALSE(encoders.empty());
    bool png = false;
    for (const ImageCodec& e : encoders) {
        EXPECT_EQ(e.clsid.size(), 38u);
        EXPECT_EQ(e.formatId.size(), 38u);
        if (e.formatId == kPngFormatId) png = e.mimeType == L"image/png";
    }
    EXPECT_TRUE(png);
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
        EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.blocks + 1);

        EXPECT_FALSE(image.loadFromMemory(nullptr, 0));
        EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.blocks + 1) << "the previous block was released";
        EXPECT_EQ(image.memoryStream().size(), 0u);

        ASSERT_TRUE(loadSkinImage(image, SkinImage::ArrowUpImage));
        EXPECT_EQ(image.width(), 7u);
        EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.blocks + 1);
    }
    EXPECT_EQ(Counts(), before);
}

TEST(GdipImage, LoadingAgainReplacesImageAndStream) {
    Counts before;
    GdipBitmap image;
    ASSERT_TRUE(loadSkinImage(image, SkinImage::CaptionCloseGlyph));
    ASSERT_TRUE(loadSkinImage(image, SkinImage::ArrowLeftImage));
    EXPECT_EQ(image.width(), 4u);
    EXPECT_EQ(gdipLiveObjects(), before.objects + 1);
    EXPECT_EQ(GdipMemoryStream::liveBlocks(), before.blocks + 1);
    image.destroy();
    EXPECT_EQ(Counts(), before);
}

TEST(GdipImage, MovingCarriesTheStreamAlong) {
    Counts before;
    GdipImage a;
    ASSERT_TRUE(loadSkinImage(a, SkinImage::CaptionHelpGlyph));
    HGLOBAL block = a.memoryStream().block();
    GdipImage b(std::move(a));
    EXPECT_EQ(a.memoryStream().block(), nullptr);
    EXPECT_EQ(b.memoryStream().block(), block);
    EXPECT_EQ(b.width(), 26u);
    b.destroy();
    EXPECT_EQ(Counts(), before);
}

TEST(GdipImage, SavesToAFileNamedInCodePage936) {
    testing::TempFolder folder(L"gfx");
    const std::wstring wideName = folder.path() + L"\\图标☆.png";  // ☆ exists in code page 936 too
    const std::string gbkName = gbkFromWide(wideName);
    ASSERT_EQ(wideFromGbk(gbkName), wideName);
    GdipImage glyph;
    ASSERT_TRUE(loadSkinImage(glyph, SkinImage::DialogCloseGlyph));
    ASSERT_TRUE(glyph.saveToFile(gbkName, kPngFormatId));
    ASSERT_TRUE(testing::fileExists(wideName));

    GdipImage back;
    ASSERT_TRUE(back.loadFromFile(wideName));
    EXPECT_EQ(back.width(), 38u);
    EXPECT_EQ(back.rawFormat(), kPngFormatId);
    back.destroy();
    GdipBitmap again;
    ASSERT_TRUE(again.loadFromFile(gbkName));
    EXPECT_EQ(again.pixel(18, 8), 0xFFFFFFFFu) << "the centre of the white X";
    again.destroy();

    EXPECT_FALSE(glyph.saveToFile(folder.path() + L"\\x.png", L"{00000000-0000-0000-0000-000000000000}"));
    EXPECT_FALSE(testing::fileExists(folder.path() + L"\\x.png"));
}

TEST(GdipBitmap, GdiBitmapRoundTrip) {
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

    GdipBitmap back;
    ASSERT_TRUE(back.fromHbitmap(gdi.get()));
    EXPECT_EQ(back.width(), 5u);
    EXPECT_EQ(back.pixel(4, 2) & 0x00FFFFFF, 0x0000FF00u);
    EXPECT_EQ(back.pixel(0, 0) & 0x00FFFFFF, 0x000000FFu) << "transparent pixels take the background";

    GdipBitmap empty;
    EXPECT_FALSE(empty.toHbitmap());
}

TEST(GdipBitmap, RotatedSizeIsTheBoxOfTheRotatedImage) {
    struct Case {
        int width, height;
        float degrees;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {10, 4, 0, 10, 4},   {10, 4, 90, 4, 10},   {10, 4, 180, 10, 4},
        {10, 4, -90, 4, 10}, {11, 11, 45, 15, 15},  // diagonal of a 10 x 10 span is 14.14
        {1, 1, 30, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " by " << c.degrees);
        SizeI s = rotatedBoxSize(c.width, c.height, c.degrees);
        EXPECT_EQ(s.width, c.expectedWidth);
        EXPECT_EQ(s.height, c.expectedHeight);
    }
}

TEST(GdipBitmap, RotateTurnsTheImageAboutItsCentre) {
    Counts before;
    {
        GdipBitmap source;
        ASSERT_TRUE(source.create(20, 8));
        GdipGraphics g;
        ASSERT_TRUE(g.fromImage(source));
        ASSERT_TRUE(g.clear(0xFF000000));
        GdipSolidBrush red;
        ASSERT_TRUE(red.create(0xFFFF0000));
        ASSERT_TRUE(g.fillRectangleI(red, 1, 1, 3, 3));  // a mark near the top-left corner
        g.destroy();
        GdipBitmap turned;
        ASSERT_TRUE(source.rotate(turned, 90, std::nullopt, 0xFF00FF00, Gdiplus::InterpolationModeNearestNeighbor));
        EXPECT_EQ(turned.width(), 8u);
        EXPECT_EQ(turned.height(), 20u);
        EXPECT_EQ(turned.pixelFormat(), PixelFormat32bppARGB);
        // Turned clockwise, the mark ends near the top-right corner.
        EXPECT_EQ(turned.pixel(5, 2), 0xFFFF0000u);
        EXPECT_EQ(turned.pixel(2, 2), 0xFF000000u);
        EXPECT_EQ(turned.pixel(5, 17), 0xFF000000u);
        EXPECT_EQ(turned.pixel(4, 10), 0xFF000000u);
        EXPECT_EQ(gdipLiveObjects(), before.objects + 3) << "the source, its mark brush and the rotated copy";
    }
    EXPECT_EQ(Counts(), before);
}

// A two-frame 1 x 1 animation with delays of 7 and 250 hundredths of a second.
const unsigned char kTwoFrameGif[] = {
    'G',  'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,              // screen, 2-colour table
    0,    0,    0,   255, 255, 255,                                      // black, white
    0x21, 0xF9, 4,   0,   7,   0,   0, 0,                                // frame 1 delay 7
    0x2C, 0,    0,   0,   0,   1,   0, 1, 0, 0, 2,    2, 0x44, 0x01, 0,  // one black pixel
    0x21, 0xF9, 4,   0,   250, 0,   0, 0,                                // frame 2 delay 250
    0x2C, 0,    0,   0,   0,   1,   0, 1, 0, 0, 2,    2, 0x44, 0x01, 0, 0x3B,
};

TEST(GdipImage, FrameDelaysComeFromTheDelayProperty) {
    GdipImage gif;
    ASSERT_TRUE(gif.loadFromMemory(kTwoFrameGif, sizeof kTwoFrameGif));
    EXPECT_EQ(gif.frameCount(), 2u);
    std::vector<std::int32_t> delays;
    ASSERT_TRUE(gif.frameDelays(delays));
    ASSERT_EQ(delays.size(), 2u);
    EXPECT_EQ(delays[0], 7);
    EXPECT_EQ(delays[1], 250);
    EXPECT_TRUE(gif.selectActiveFrame(1));

    GdipImage png;
    ASSERT_TRUE(loadSkinImage(png, SkinImage::CaptionMenuGlyph));
    delays = {1, 2};
    EXPECT_FALSE(png.frameDelays(delays)) << "a still image has no delays";
    EXPECT_TRUE(delays.empty());
    EXPECT_EQ(png.frameCount(), 1u);
}

}  // namespace
}  // namespace pelmora
