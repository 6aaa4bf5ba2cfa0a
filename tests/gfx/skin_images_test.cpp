// The built-in glyphs: sizes, transparency, what they look like over a
// background, and that painting them leaves nothing behind.
#include "gfx/skin_images.h"

#include <cstdlib>
#include <string>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_memory_stream.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"
#include "tests/support/live_objects.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using test::Canvas;
using testing::alphaOf;
using testing::rgbOf;

struct Expected {
    SkinImage image;
    int width, height;
};
const Expected kExpected[] = {
    {SkinImage::CaptionHelpGlyph, 26, 18},     {SkinImage::CaptionMenuGlyph, 26, 18},
    {SkinImage::CaptionMinimizeGlyph, 26, 18}, {SkinImage::CaptionMaximizeGlyph, 26, 18},
    {SkinImage::CaptionRestoreGlyph, 26, 18},  {SkinImage::CaptionCloseGlyph, 38, 18},
    {SkinImage::DialogCloseGlyph, 38, 18},     {SkinImage::CheckBoxUncheckedImage, 13, 13},
    {SkinImage::CheckBoxCheckedImage, 13, 13}, {SkinImage::ArrowDownImage, 7, 4},
    {SkinImage::ArrowUpImage, 7, 4},           {SkinImage::ArrowLeftImage, 4, 7},
    {SkinImage::ArrowRightImage, 4, 7},
};

std::string nameOf(SkinImage image) {
    std::wstring w = SkinImageSet::name(image);
    return std::string(w.begin(), w.end());
}

// Every image is an 8-bit RGBA PNG file: signature, then IHDR with bit depth 8,
// colour type 6, no interlace.
TEST(SkinImages, AreRgbaPngFilesOfTheirSizeWithRealAlpha) {
    ASSERT_EQ(std::size(kExpected), SkinImageSet::kAll.size());
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(nameOf(e.image));
        SkinImageBytes bytes = SkinImageSet::bytes(e.image);
        ASSERT_GT(bytes.size, 33u);
        EXPECT_EQ(bytes.data[0], 0x89);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data) + 12, 4), "IHDR");
        EXPECT_EQ(bytes.data[24], 8) << "bit depth";
        EXPECT_EQ(bytes.data[25], 6) << "colour type";
        EXPECT_EQ(bytes.data[28], 0) << "interlace";
        EXPECT_EQ(SkinImageSet::size(e.image).width, e.width);
        EXPECT_EQ(SkinImageSet::size(e.image).height, e.height);

        GdipBitmap image;
        ASSERT_TRUE(image.loadFromMemory(bytes.data, bytes.size));
        ASSERT_EQ(image.width(), unsigned(e.width));
        ASSERT_EQ(image.height(), unsigned(e.height));
        EXPECT_TRUE(testing::pixelFormatOf(image) & PixelFormatAlpha);
        int transparent = 0, opaque = 0;
        for (int y = 0; y < e.height; ++y)
            for (int x = 0; x < e.width; ++x) {
                unsigned a = alphaOf(image.pixel(x, y));
                transparent += a == 0;
                opaque += a >= 0x80;
            }
        EXPECT_GT(opaque, 0);
        bool checkBox = e.image == SkinImage::CheckBoxCheckedImage || e.image == SkinImage::CheckBoxUncheckedImage;
        if (checkBox)
            EXPECT_EQ(transparent, 0) << "a check box face is solid";
        else
            EXPECT_GT(transparent, 0);
        EXPECT_EQ(SkinImageSet::copy(e.image).size(), bytes.size);
    }
}

// The art of a caption glyph sits in the middle of its cell: the box of its
// clearly visible pixels has margins that differ by at most the shadow's pixel.
TEST(SkinImages, CaptionGlyphsAreCentredInTheirCells) {
    for (SkinImage which : {SkinImage::CaptionHelpGlyph, SkinImage::CaptionMenuGlyph, SkinImage::CaptionMinimizeGlyph,
                            SkinImage::CaptionMaximizeGlyph, SkinImage::CaptionRestoreGlyph,
                            SkinImage::CaptionCloseGlyph, SkinImage::DialogCloseGlyph}) {
        SCOPED_TRACE(nameOf(which));
        GdipBitmap image;
        ASSERT_TRUE(testing::loadGlyph(image, which));
        int w = int(image.width()), h = int(image.height());
        int left = w, right = -1, top = h, bottom = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (alphaOf(image.pixel(x, y)) >= 0x80 && rgbOf(image.pixel(x, y)) != 0) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, left);
        EXPECT_LE(std::abs(left - (w - 1 - right)), 2) << left << ".." << right;
        if (which != SkinImage::CaptionMinimizeGlyph) {
            EXPECT_LE(std::abs(top - (h - 1 - bottom)), 2);
        }
        EXPECT_GT(left, 2);
        EXPECT_GT(top, 0);
    }
}

TEST(SkinImages, DialogCloseGlyphIsAnOutlinedWhiteXInItsBox) {
    GdipBitmap image;
    ASSERT_TRUE(testing::loadGlyph(image, SkinImage::DialogCloseGlyph));
    int white = 0, grey = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 38; ++x) {
            Argb p = image.pixel(x, y);
            bool inBox = x >= 13 && x <= 23 && y >= 3 && y <= 13;
            bool nearBox = x >= 12 && x <= 24 && y >= 2 && y <= 14;
            if (!inBox) {
                EXPECT_NE(p, 0xFFFFFFFFu) << x << "," << y;
            }
            if (!nearBox) {
                EXPECT_EQ(alphaOf(p), 0u) << x << "," << y;
            }
            EXPECT_TRUE(p == 0 || p == 0xFFFFFFFF || p == 0xFF5A5A5A) << "crisp pixels only, no shadow";
            white += p == 0xFFFFFFFF;
            grey += p == 0xFF5A5A5A;
        }
    EXPECT_EQ(image.pixel(18, 8), 0xFFFFFFFFu) << "centre";
    EXPECT_EQ(image.pixel(13, 3), 0xFFFFFFFFu) << "corner of the X";
    EXPECT_EQ(image.pixel(23, 13), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(18, 3), 0u) << "between the arms";
    EXPECT_EQ(image.pixel(12, 3), 0xFF5A5A5Au) << "the outline rings the white";
    EXPECT_EQ(image.pixel(16, 3), 0xFF5A5A5Au);
    EXPECT_GT(white, 20);
    EXPECT_GT(grey, 20);
}

TEST(SkinImages, CheckBoxesHaveTheirBorderColours) {
    struct Case {
        SkinImage image;
        Argb border;
    };
    for (const Case& c :
         {Case{SkinImage::CheckBoxUncheckedImage, 0xFF1C1C1E}, Case{SkinImage::CheckBoxCheckedImage, 0xFF185184}}) {
        SCOPED_TRACE(nameOf(c.image));
        GdipBitmap image;
        ASSERT_TRUE(testing::loadGlyph(image, c.image));
        for (int i = 0; i < 13; ++i) {
            EXPECT_EQ(image.pixel(i, 0), c.border);
            EXPECT_EQ(image.pixel(12, i), c.border);
        }
        Argb fill = image.pixel(2, 10);
        EXPECT_GT(fill & 0xFF, 0xD0u) << "off-white inside";
    }
    GdipBitmap checked, unchecked;
    ASSERT_TRUE(testing::loadGlyph(checked, SkinImage::CheckBoxCheckedImage));
    ASSERT_TRUE(testing::loadGlyph(unchecked, SkinImage::CheckBoxUncheckedImage));
    EXPECT_EQ(unchecked.pixel(5, 8), unchecked.pixel(6, 8) & 0xFFFFFFFF);
    EXPECT_LT((checked.pixel(5, 9) >> 8) & 0xFF, 0xA0u) << "the tick passes through the lower middle";
}

// Drawn over a dark background, only the triangle changes pixels: its rows
// narrow by one pixel on each side.
TEST(SkinImages, ArrowsShowOnlyTheirTriangleOverADarkBackground) {
    constexpr Argb kDark = 0xFF203040;
    struct Case {
        SkinImage image;
        bool (*inside)(int x, int y);
    };
    const Case cases[] = {
        {SkinImage::ArrowDownImage, [](int x, int y) { return y <= 3 && x >= y && x <= 6 - y; }},
        {SkinImage::ArrowUpImage, [](int x, int y) { return y <= 3 && x >= 3 - y && x <= 3 + y; }},
        {SkinImage::ArrowLeftImage, [](int x, int y) { return x <= 3 && y >= 3 - x && y <= 3 + x; }},
        {SkinImage::ArrowRightImage, [](int x, int y) { return x <= 3 && y >= x && y <= 6 - x; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf(c.image));
        Canvas canvas(20, 20, kDark);
        ASSERT_TRUE(drawSkinImage(canvas.bitmapGraphics(), c.image, 5, 6));
        SizeI size = SkinImageSet::size(c.image);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                int gx = x - 5, gy = y - 6;
                bool in = gx >= 0 && gy >= 0 && gx < size.width && gy < size.height && c.inside(gx, gy);
                ASSERT_EQ(canvas.argb(x, y), in ? 0xFF000000u : kDark) << x << "," << y;
            }
    }
}

// One check-box paint the way a painter does it: a graphics on the back
// buffer's DC, the face decoded, drawn and destroyed, the graphics destroyed.
bool paintCheckBoxOnce(HDC dc, bool checked) {
    GdipGraphics graphics;
    if (!graphics.fromHdc(dc)) return false;
    bool ok = drawSkinImage(graphics, checked ? SkinImage::CheckBoxCheckedImage : SkinImage::CheckBoxUncheckedImage, 0,
                            (20 - 13) / 2.0f);
    graphics.destroy();
    return ok;
}

TEST(SkinImages, AThousandPaintsLeaveNothingBehind) {
    Canvas buffer(60, 20);
    ASSERT_TRUE(paintCheckBoxOnce(buffer.dc(), true));  // first-use allocations happen outside the count
    test::LiveObjects before;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(paintCheckBoxOnce(buffer.dc(), i % 2 == 0));
        GdipGraphics graphics;
        ASSERT_TRUE(graphics.fromHdc(buffer.dc()));
        ASSERT_TRUE(drawSkinImageRect(graphics, SkinImage::CaptionCloseGlyph, {20, 0, 38, 18}));
    }
    test::LiveObjects after;
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    // The painting did happen: the last face is the unchecked one.
    EXPECT_EQ(buffer.rgb(0, 10), 0x1C1C1Eu);
}

// The counters see what a painter forgets.
TEST(SkinImages, ALeftOverImageIsCounted) {
    test::LiveObjects before;
    auto* forgotten = new GdipImage;
    ASSERT_TRUE(testing::loadGlyph(*forgotten, SkinImage::ArrowDownImage));
    test::LiveObjects during;
    EXPECT_EQ(during.gdipObjects, before.gdipObjects + 1);
    EXPECT_EQ(during.blocks, before.blocks + 1);
    EXPECT_EQ(during.streams, before.streams + 1);
    delete forgotten;
    test::LiveObjects after;
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
}

// Renders every glyph four times enlarged over a dark and a light background
// into <build>/glyphs.png, the contact sheet kept under docs/.
TEST(SkinImages, ContactSheet) {
    constexpr int kScale = 4, kCellW = 38 * kScale + 24, kCellH = 18 * kScale + 30, kColumns = 7;
    constexpr int kPanelH = 2 * kCellH;
    constexpr int kWidth = kColumns * kCellW, kHeight = 2 * kPanelH;
    Canvas sheet(kWidth, kHeight, 0xFF000000);
    GdipSolidBrush dark, light, darkText, lightText;
    ASSERT_TRUE(dark.create(0xFF2E3A46));
    ASSERT_TRUE(light.create(0xFFE9E6E0));
    ASSERT_TRUE(darkText.create(0xFFB8C4D0));
    ASSERT_TRUE(lightText.create(0xFF404040));
    GdipFont font;
    ASSERT_TRUE(font.createByName(L"Tahoma", 11, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel) ||
                font.createByName(L"宋体", 11, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    ASSERT_TRUE(sheet.bitmapGraphics().fillRectangle(dark, 0, 0, kWidth, kPanelH));
    ASSERT_TRUE(sheet.bitmapGraphics().fillRectangle(light, 0, kPanelH, kWidth, kPanelH));
    ASSERT_TRUE(sheet.bitmapGraphics().setInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor));
    ASSERT_TRUE(sheet.bitmapGraphics().setPixelOffsetMode(Gdiplus::PixelOffsetModeHalf));
    for (int panel = 0; panel < 2; ++panel) {
        for (std::size_t i = 0; i < SkinImageSet::kAll.size(); ++i) {
            SkinImage which = SkinImageSet::kAll[i];
            SizeI size = SkinImageSet::size(which);
            float cellX = float(int(i) % kColumns * kCellW),
                  cellY = float(panel * kPanelH + int(i) / kColumns * kCellH);
            float x = cellX + (kCellW - size.width * kScale) / 2, y = cellY + 8 + (18 - size.height) * kScale / 2;
            ASSERT_TRUE(drawSkinImageRect(sheet.bitmapGraphics(), which,
                                          {x, y, float(size.width * kScale), float(size.height * kScale)}));
            ASSERT_TRUE(sheet.bitmapGraphics().drawString(SkinImageSet::name(which), font, panel ? lightText : darkText,
                                                          {cellX + 4, cellY + kCellH - 20, kCellW - 8, 16}));
        }
    }
    const char* build = std::getenv("PELMORA_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    std::wstring path = L"Z:";
    for (const char* p = build; *p; ++p) path += *p == '/' ? L'\\' : wchar_t(*p);
    path += L"\\glyphs.png";
    sheet.bitmapGraphics().flush(Gdiplus::FlushIntentionSync);
    const Bytes png = sheet.bitmap().saveToMemory(kPngFormatId);
    ASSERT_FALSE(png.empty());
    {
        UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), png.data(), DWORD(png.size()), &written, nullptr));
        ASSERT_EQ(written, png.size());
    }
    std::string stored;
    testing::readFileBytes(path, &stored);
    GdipImage saved;
    ASSERT_TRUE(saved.loadFromMemory(stored.data(), stored.size()));
    EXPECT_EQ(saved.width(), unsigned(kWidth));
    EXPECT_EQ(saved.height(), unsigned(kHeight));
}

}  // namespace
}  // namespace pelmora
