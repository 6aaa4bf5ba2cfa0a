// Graphics, text and paths, seen through the pixels and points they
// produce.
#include <string>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_image_attributes.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"

namespace pelmora {
namespace {

using test::Canvas;
using testing::alphaOf;

constexpr Argb kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000;

TEST(GdipGraphics, FillAndClipTouchOnlyTheirPixels) {
    Canvas canvas(20, 20, kBlack);
    GdipSolidBrush red;
    ASSERT_TRUE(red.create(kRed));
    ASSERT_TRUE(canvas.bitmapGraphics().setClipRectI(0, 0, 10, 20));
    ASSERT_TRUE(canvas.bitmapGraphics().fillRectangleF(red, {5, 5, 10, 10}));
    ASSERT_TRUE(canvas.bitmapGraphics().resetClip());
    EXPECT_EQ(canvas.argb(5, 5), kRed);
    EXPECT_EQ(canvas.argb(9, 14), kRed);
    EXPECT_EQ(canvas.argb(10, 10), kBlack) << "outside the clip";
    EXPECT_EQ(canvas.argb(4, 4), kBlack);
    EXPECT_EQ(canvas.argb(9, 15), kBlack);
}

TEST(GdipGraphics, DrawImageRectStretchesTheWholeImage) {
    GdipBitmap source;
    ASSERT_TRUE(source.create(2, 1));
    ASSERT_TRUE(source.setPixel(0, 0, kRed));
    ASSERT_TRUE(source.setPixel(1, 0, kWhite));
    Canvas canvas(20, 10, kBlack);
    ASSERT_TRUE(canvas.bitmapGraphics().setInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor));
    ASSERT_TRUE(canvas.bitmapGraphics().setPixelOffsetMode(Gdiplus::PixelOffsetModeHalf));
    ASSERT_TRUE(canvas.bitmapGraphics().drawImageRect(source, 0, 0, 20, 10));
    EXPECT_EQ(canvas.argb(2, 5), kRed);
    EXPECT_EQ(canvas.argb(8, 9), kRed);
    EXPECT_EQ(canvas.argb(12, 0), kWhite);
    EXPECT_EQ(canvas.argb(19, 9), kWhite);
}

// A glyph-like picture (opaque black, nothing transparent in it) enlarged by
// 1.5 and 2: with the plain filter its last column and row fade into the
// transparent outside; drawn sharp they are as black as the inside.
TEST(GdipGraphics, ScaledSharpKeepsTheEdgesOfAnOpaquePicture) {
    GdipBitmap source;
    ASSERT_TRUE(source.create(8, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_TRUE(source.setPixel(x, y, kBlack));
    for (const float scale : {1.5f, 2.0f}) {
        const int w = static_cast<int>(8 * scale), h = static_cast<int>(6 * scale);
        Canvas plain(w + 2, h + 2, 0), sharp(w + 2, h + 2, 0);
        plain.bitmapGraphics().setInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        plain.bitmapGraphics().setPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        ASSERT_TRUE(plain.bitmapGraphics().drawImageRect(source, 1, 1, static_cast<float>(w), static_cast<float>(h)));
        ASSERT_TRUE(
            drawImageScaledSharp(sharp.bitmapGraphics(), source, {1, 1, static_cast<float>(w), static_cast<float>(h)}));
        EXPECT_LT(alphaOf(plain.argb(w, h / 2)), 0xF0u) << "the plain filter no longer fades the edge: " << scale;
        for (int y = 1; y <= h; ++y)
            for (int x = 1; x <= w; ++x) ASSERT_EQ(sharp.argb(x, y), kBlack) << x << "," << y << " at " << scale;
        EXPECT_EQ(sharp.argb(0, 1), 0u) << "drawn outside its rectangle";
        EXPECT_EQ(sharp.argb(w + 1, h), 0u) << "drawn outside its rectangle";
    }
}

// Non-zero pixels in a canvas cleared to transparent black.
int inkedPixels(Canvas& canvas, int width, int height) {
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) n += canvas.argb(x, y) != 0;
    return n;
}

TEST(GdipGraphics, DrawStringWithEmptyTextDrawsNothingAndSucceeds) {
    Canvas canvas(40, 20, 0);
    GdipFont font;
    GdipSolidBrush brush;
    ASSERT_TRUE(font.createByName(L"宋体", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    ASSERT_TRUE(brush.create(kWhite));
    EXPECT_TRUE(canvas.bitmapGraphics().drawString(std::wstring_view(), font, brush, {0, 0, 40, 20}));
    EXPECT_TRUE(canvas.bitmapGraphics().drawString(L"", font, brush, {0, 0, 40, 20}));
    EXPECT_EQ(inkedPixels(canvas, 40, 20), 0);
}

TEST(GdipGraphics, TextStopsAtTheFirstNul) {
    GdipFont font;
    ASSERT_TRUE(font.createByName(L"宋体", 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    Canvas canvas(10, 10, 0);
    RectF whole, cut;
    ASSERT_TRUE(
        canvas.bitmapGraphics().measureString(std::wstring_view(L"ab", 2), font, {0, 0, 500, 50}, nullptr, whole));
    ASSERT_TRUE(
        canvas.bitmapGraphics().measureString(std::wstring_view(L"ab\0cdef", 7), font, {0, 0, 500, 50}, nullptr, cut));
    EXPECT_FLOAT_EQ(whole.width, cut.width);
}

TEST(GdipFont, CreateByNameOfAMissingFaceFailsAndLeavesNothing) {
    long before = gdipLiveObjects();
    GdipFont font;
    EXPECT_FALSE(font.createByName(L"No Such Face 9z", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    EXPECT_EQ(gdipLastStatus(), Gdiplus::FontFamilyNotFound);
    EXPECT_EQ(font.handle(), nullptr);
    EXPECT_EQ(gdipLiveObjects(), before) << "the temporary family must be gone";

    // A font that existed is released when the next one cannot be made.
    ASSERT_TRUE(font.createByName(L"宋体", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    EXPECT_FALSE(font.createByName(L"No Such Face 9z", 12));
    EXPECT_EQ(gdipLastStatus(), Gdiplus::FontFamilyNotFound);
    EXPECT_EQ(font.handle(), nullptr);
    EXPECT_EQ(gdipLiveObjects(), before);
}

TEST(GdipFont, ReportsWhatItWasMadeWith) {
    long before = gdipLiveObjects();
    GdipFont font;
    ASSERT_TRUE(font.createByName(L"黑体", 11, Gdiplus::FontStyleBold, Gdiplus::UnitPixel));
    EXPECT_FLOAT_EQ(font.size(), 11);
    EXPECT_EQ(font.style(), Gdiplus::FontStyleBold);
    GdipFontFamily family;
    ASSERT_TRUE(font.family(family));
    EXPECT_FALSE(family.name().empty());
    EXPECT_EQ(gdipLiveObjects(), before + 2);

    GdipFont stock;
    EXPECT_TRUE(stock.createDefault());
    EXPECT_GT(stock.size(), 0);
}

TEST(GdipPath, StringOutlineNeedsNoFormatFromTheCaller) {
    GdipFontFamily family;
    ASSERT_TRUE(family.createFromName(L"黑体"));
    GdipPath path;
    ASSERT_TRUE(path.create());
    ASSERT_TRUE(path.addString(L"软件安装向导", family, Gdiplus::FontStyleRegular, 11, {25, 0, 500, 30}));
    EXPECT_GT(path.points().size(), 20u);
    RectF bounds = path.worldBounds();
    EXPECT_GE(bounds.x, 25);
    EXPECT_GT(bounds.width, 30);

    GdipStringFormat centred;
    ASSERT_TRUE(centred.create());
    ASSERT_TRUE(centred.setLineAlign(Gdiplus::StringAlignmentCenter));
    GdipPath again;
    ASSERT_TRUE(again.create());
    ASSERT_TRUE(again.addString(L"软件安装向导", family, Gdiplus::FontStyleRegular, 11, {25, 0, 500, 30}, &centred));
    EXPECT_GT(again.worldBounds().y, bounds.y) << "vertically centred text sits lower than top-aligned text";
}

TEST(GdipBrush, GradientsPaintTheirColoursWhereTheySay) {
    Canvas canvas(100, 10, kBlack);
    GdipLinearGradientBrush ramp;
    ASSERT_TRUE(ramp.create({0, 0}, {100, 0}, 0xFF0000FF, 0xFFFF0000));
    // The hover line: the second colour peaks at the focus, the first at both ends.
    ASSERT_TRUE(ramp.setLinearBlend(0.5f, 1.0f));
    ASSERT_TRUE(canvas.bitmapGraphics().fillRectangle(ramp, 0, 0, 100, 10));
    EXPECT_GT(canvas.argb(1, 5) & 0xFF, 0xF0u) << "blue at the start";
    EXPECT_GT((canvas.argb(50, 5) >> 16) & 0xFF, 0xF0u) << "red at the focus";
    EXPECT_LT(canvas.argb(50, 5) & 0xFF, 0x10u);
    EXPECT_GT(canvas.argb(98, 5) & 0xFF, 0xF0u) << "blue again at the end";

    GdipPath disc;
    ASSERT_TRUE(disc.create());
    ASSERT_TRUE(disc.addEllipse(0, 0, 40, 40));
    GdipPathGradientBrush glow;
    ASSERT_TRUE(glow.createFromPath(disc));
    ASSERT_TRUE(glow.setCentreColour(kWhite));
    int count = 1;
    ASSERT_TRUE(glow.setSurroundColours({0xFF008080}, &count));
    EXPECT_EQ(count, 1);
    Canvas dot(40, 40, kBlack);
    ASSERT_TRUE(dot.bitmapGraphics().fillPath(glow, disc));
    EXPECT_GT(dot.argb(20, 20) & 0xFF, 0xE0u);
    EXPECT_EQ(dot.argb(0, 0), kBlack);
}

TEST(GdipPen, BrushPenStrokesWhereTheLineGoes) {
    GdipLinearGradientBrush ramp;
    ASSERT_TRUE(ramp.create({0, 0}, {0, 20}, kRed, kRed));
    GdipPen pen;
    ASSERT_TRUE(pen.createFromBrush(ramp, 2));
    Canvas canvas(20, 20, kBlack);
    ASSERT_TRUE(canvas.bitmapGraphics().drawLine(pen, 10, 0, 10, 20));
    EXPECT_EQ(canvas.argb(10, 10), kRed);
    EXPECT_EQ(canvas.argb(5, 10), kBlack);
    GdipPen empty;
    EXPECT_FALSE(empty.setWidth(3));
    EXPECT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter);
}

}  // namespace
}  // namespace pelmora
