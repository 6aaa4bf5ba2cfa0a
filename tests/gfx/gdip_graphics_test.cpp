// Graphics, text, paths and regions, seen through the pixels and points they
// produce.
#include <string>

#include "base/text.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "tests/gfx/gdip_test_support.h"

namespace pelmora {
namespace {

using testing::alphaOf;
using testing::BitmapCanvas;

constexpr Argb kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000;

struct TransformCase {
    const char* name;
    bool scale;  // else rotate by 90 degrees
    Gdiplus::MatrixOrder order;
    bool preTranslate;  // an existing translation by (100, 0) to compose with
    PointF in;
    PointF expected;
};

TEST(GdipGraphics, TransformsAboutAPointComposeOnTheChosenSide) {
    const TransformCase cases[] = {
        {"scale, append: centre stays", true, Gdiplus::MatrixOrderAppend, false, {10, 10}, {10, 10}},
        {"scale, append: one right of centre doubles", true, Gdiplus::MatrixOrderAppend, false, {11, 10}, {12, 10}},
        {"scale, prepend, fresh", true, Gdiplus::MatrixOrderPrepend, false, {11, 9}, {12, 8}},
        {"rotate, append", false, Gdiplus::MatrixOrderAppend, false, {11, 10}, {10, 11}},
        // After an existing translation: appended, the scale acts on the
        // translated point; prepended, on the point before translation.
        {"scale, append after translate", true, Gdiplus::MatrixOrderAppend, true, {-89, 10}, {12, 10}},
        {"scale, prepend before translate", true, Gdiplus::MatrixOrderPrepend, true, {11, 10}, {112, 10}},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.name);
        BitmapCanvas canvas(4, 4, 0);
        if (c.preTranslate) {
            ASSERT_TRUE(canvas.graphics.translateTransform(100, 0));
        }
        bool ok = c.scale ? canvas.graphics.scaleTransformAt(2, 2, {10, 10}, c.order)
                          : canvas.graphics.rotateTransformAt(90, {10, 10}, c.order);
        ASSERT_TRUE(ok);
        std::vector<PointF> points = {c.in};
        ASSERT_TRUE(
            canvas.graphics.transformPoints(Gdiplus::CoordinateSpaceDevice, Gdiplus::CoordinateSpaceWorld, points));
        EXPECT_NEAR(points[0].x, c.expected.x, 1e-3);
        EXPECT_NEAR(points[0].y, c.expected.y, 1e-3);
    }
}

TEST(GdipGraphics, TransformPointsWritesEveryPointBackInOrder) {
    BitmapCanvas canvas(4, 4, 0);
    ASSERT_TRUE(canvas.graphics.translateTransform(5, -3));
    std::vector<PointI> points = {{0, 0}, {1, 2}, {-4, 7}};
    ASSERT_TRUE(
        canvas.graphics.transformPointsI(Gdiplus::CoordinateSpaceDevice, Gdiplus::CoordinateSpaceWorld, points));
    EXPECT_EQ(points[0].x, 5);
    EXPECT_EQ(points[0].y, -3);
    EXPECT_EQ(points[1].x, 6);
    EXPECT_EQ(points[1].y, -1);
    EXPECT_EQ(points[2].x, 1);
    EXPECT_EQ(points[2].y, 4);
    std::vector<PointF> none;
    EXPECT_FALSE(canvas.graphics.transformPoints(Gdiplus::CoordinateSpaceDevice, Gdiplus::CoordinateSpaceWorld, none));
}

TEST(GdipGraphics, FillAndClipTouchOnlyTheirPixels) {
    BitmapCanvas canvas(20, 20, kBlack);
    GdipSolidBrush red;
    ASSERT_TRUE(red.create(kRed));
    ASSERT_TRUE(canvas.graphics.setClipRectI(0, 0, 10, 20));
    ASSERT_TRUE(canvas.graphics.fillRectangleF(red, {5, 5, 10, 10}));
    ASSERT_TRUE(canvas.graphics.resetClip());
    EXPECT_EQ(canvas.at(5, 5), kRed);
    EXPECT_EQ(canvas.at(9, 14), kRed);
    EXPECT_EQ(canvas.at(10, 10), kBlack) << "outside the clip";
    EXPECT_EQ(canvas.at(4, 4), kBlack);
    EXPECT_EQ(canvas.at(9, 15), kBlack);
}

TEST(GdipGraphics, DrawImageRectStretchesTheWholeImage) {
    GdipBitmap source;
    ASSERT_TRUE(source.create(2, 1));
    ASSERT_TRUE(source.setPixel(0, 0, kRed));
    ASSERT_TRUE(source.setPixel(1, 0, kWhite));
    BitmapCanvas canvas(20, 10, kBlack);
    ASSERT_TRUE(canvas.graphics.setInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor));
    ASSERT_TRUE(canvas.graphics.setPixelOffsetMode(Gdiplus::PixelOffsetModeHalf));
    ASSERT_TRUE(canvas.graphics.drawImageRect(source, 0, 0, 20, 10));
    EXPECT_EQ(canvas.at(2, 5), kRed);
    EXPECT_EQ(canvas.at(8, 9), kRed);
    EXPECT_EQ(canvas.at(12, 0), kWhite);
    EXPECT_EQ(canvas.at(19, 9), kWhite);
}

// Non-zero pixels in a canvas cleared to transparent black.
int inkedPixels(BitmapCanvas& canvas, int width, int height) {
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) n += canvas.at(x, y) != 0;
    return n;
}

TEST(GdipGraphics, DrawStringWithEmptyTextDrawsNothingAndSucceeds) {
    BitmapCanvas canvas(40, 20, 0);
    GdipFont font;
    GdipSolidBrush brush;
    ASSERT_TRUE(font.createByName(L"宋体", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    ASSERT_TRUE(brush.create(kWhite));
    EXPECT_TRUE(canvas.graphics.drawString(std::wstring_view(), font, brush, {0, 0, 40, 20}));
    EXPECT_TRUE(canvas.graphics.drawString(L"", font, brush, {0, 0, 40, 20}));
    EXPECT_TRUE(canvas.graphics.drawString(std::string_view(""), font, brush, {0, 0, 40, 20}));
    EXPECT_EQ(inkedPixels(canvas, 40, 20), 0);
}

// Code-page-936 bytes for text must give the same glyphs as the UTF-16 text,
// whatever the machine's ANSI code page is (the tests also run under an
// English locale).
TEST(GdipGraphics, Cp936TextDrawsTheSameAsItsUtf16Form) {
    const std::wstring wide = L"浏览开始安装";
    const std::string gbk = gbkFromWide(wide);
    ASSERT_EQ(gbk.size(), 12u);
    GdipFont font;
    GdipSolidBrush brush;
    ASSERT_TRUE(font.createByName(gbkFromWide(L"宋体"), 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    ASSERT_TRUE(brush.create(kWhite));
    BitmapCanvas fromWide(100, 20, 0), fromGbk(100, 20, 0);
    ASSERT_TRUE(fromWide.graphics.drawString(wide, font, brush, {0, 0, 100, 20}));
    ASSERT_TRUE(fromGbk.graphics.drawString(gbk, font, brush, {0, 0, 100, 20}));
    ASSERT_GT(inkedPixels(fromWide, 100, 20), 40);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(fromWide.at(x, y), fromGbk.at(x, y)) << x << "," << y;

    RectF wideBox, gbkBox;
    ASSERT_TRUE(fromWide.graphics.measureString(wide, font, {0, 0, 500, 50}, nullptr, wideBox));
    ASSERT_TRUE(fromWide.graphics.measureString(gbk, font, {0, 0, 500, 50}, nullptr, gbkBox));
    EXPECT_GT(wideBox.width, 6 * 10.0f);
    EXPECT_FLOAT_EQ(wideBox.width, gbkBox.width);
}

TEST(GdipGraphics, TextStopsAtTheFirstNul) {
    GdipFont font;
    ASSERT_TRUE(font.createByName(L"宋体", 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    BitmapCanvas canvas(10, 10, 0);
    RectF whole, cut;
    ASSERT_TRUE(canvas.graphics.measureString(std::wstring_view(L"ab", 2), font, {0, 0, 500, 50}, nullptr, whole));
    ASSERT_TRUE(canvas.graphics.measureString(std::wstring_view(L"ab\0cdef", 7), font, {0, 0, 500, 50}, nullptr, cut));
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
    EXPECT_FALSE(font.createByName(std::string_view("No Such Face 9z"), 12));
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
    EXPECT_EQ(font.unit(), Gdiplus::UnitPixel);
    GdipFontFamily family;
    ASSERT_TRUE(font.family(family));
    EXPECT_FALSE(family.name().empty());
    EXPECT_EQ(family.nameGbk(), gbkFromWide(family.name()));
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
    EXPECT_GT(path.pointCount(), 20);
    RectF bounds = path.worldBounds();
    EXPECT_GE(bounds.x, 25);
    EXPECT_GT(bounds.width, 30);

    GdipStringFormat centred;
    ASSERT_TRUE(centred.create());
    ASSERT_TRUE(centred.setLineAlign(Gdiplus::StringAlignmentCenter));
    GdipPath again;
    ASSERT_TRUE(again.create());
    ASSERT_TRUE(again.addString(gbkFromWide(L"软件安装向导"), family, Gdiplus::FontStyleRegular, 11, {25, 0, 500, 30},
                                &centred));
    EXPECT_GT(again.worldBounds().y, bounds.y) << "vertically centred text sits lower than top-aligned text";
}

TEST(GdipPath, RoundedRectangleByPercentage) {
    struct Case {
        int percent;
        PointF inside, outside;
    };
    // 100 x 50 at (10, 20); corner ellipses are percent of width and height.
    const Case cases[] = {
        {50, {60, 45}, {11, 21}},      // big corners cut the corner pixel
        {100, {60, 22}, {14, 24}},     // a full ellipse
        {250, {60, 22}, {14, 24}},     // clamped to 100
        {0, {10.5f, 20.5f}, {9, 20}},  // clamped to 1: nearly square
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        GdipPath path;
        ASSERT_TRUE(path.create());
        ASSERT_TRUE(path.addRoundedRectanglePercent(10, 20, 100, 50, c.percent));
        RectF bounds = path.worldBounds();
        EXPECT_NEAR(bounds.x, 10, 0.01);
        EXPECT_NEAR(bounds.y, 20, 0.01);
        EXPECT_NEAR(bounds.width, 100, 0.01);
        EXPECT_NEAR(bounds.height, 50, 0.01);
        EXPECT_TRUE(path.isVisible(c.inside.x, c.inside.y));
        EXPECT_FALSE(path.isVisible(c.outside.x, c.outside.y));
    }
}

TEST(GdipPath, PointListsArePackedInOrder) {
    GdipPath path;
    ASSERT_TRUE(path.create());
    std::vector<PointF> points = {{0, 0}, {10, 0}, {10, 5}};
    ASSERT_TRUE(path.addLines(points));
    std::vector<PointF> back = path.points();
    ASSERT_EQ(back.size(), 3u);
    EXPECT_FLOAT_EQ(back[1].x, 10);
    EXPECT_FLOAT_EQ(back[2].y, 5);
}

TEST(GdipGraphics, CharacterRangesComeBackAsOwnedRegions) {
    GdipFont font;
    ASSERT_TRUE(font.createByName(L"宋体", 14, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
    GdipStringFormat format;
    ASSERT_TRUE(format.create());
    ASSERT_TRUE(format.setMeasurableCharacterRanges({{0, 1}, {2, 2}}));
    EXPECT_EQ(format.measurableCharacterRangeCount(), 2);
    BitmapCanvas canvas(10, 10, 0);
    long before = gdipLiveObjects();
    {
        std::vector<GdipRegion> regions;
        ASSERT_TRUE(canvas.graphics.measureCharacterRanges(L"关闭窗口", font, {0, 0, 200, 30}, format, 2, regions));
        ASSERT_EQ(regions.size(), 2u);
        RectF first = regions[0].bounds(canvas.graphics);
        RectF second = regions[1].bounds(canvas.graphics);
        EXPECT_GT(first.width, 5);
        EXPECT_GT(second.x, first.x + first.width - 1);
        EXPECT_GT(second.width, first.width * 1.5f);
        EXPECT_EQ(gdipLiveObjects(), before + 2);
    }
    EXPECT_EQ(gdipLiveObjects(), before);
}

TEST(GdipBrush, GradientsPaintTheirColoursWhereTheySay) {
    BitmapCanvas canvas(100, 10, kBlack);
    GdipLinearGradientBrush ramp;
    ASSERT_TRUE(ramp.create({0, 0}, {100, 0}, 0xFF0000FF, 0xFFFF0000));
    ASSERT_TRUE(ramp.setPresetBlend({0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}, {0, 0.5f, 1}));
    ASSERT_TRUE(canvas.graphics.fillRectangle(ramp, 0, 0, 100, 10));
    EXPECT_GT(canvas.at(1, 5) & 0xFF, 0xF0u) << "white at the start";
    EXPECT_LT(canvas.at(50, 5) & 0xFF, 0x10u) << "black in the middle";
    EXPECT_GT(canvas.at(98, 5) & 0xFF, 0xF0u);
    EXPECT_FALSE(ramp.setPresetBlend({kRed, kRed, kRed}, {0, 1})) << "fewer positions than colours";

    GdipPath disc;
    ASSERT_TRUE(disc.create());
    ASSERT_TRUE(disc.addEllipse(0, 0, 40, 40));
    GdipPathGradientBrush glow;
    ASSERT_TRUE(glow.createFromPath(disc));
    ASSERT_TRUE(glow.setCentreColour(kWhite));
    int count = 1;
    ASSERT_TRUE(glow.setSurroundColours({0xFF008080}, &count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(glow.centreColour(), kWhite);
    BitmapCanvas dot(40, 40, kBlack);
    ASSERT_TRUE(dot.graphics.fillPath(glow, disc));
    EXPECT_GT(dot.at(20, 20) & 0xFF, 0xE0u);
    EXPECT_EQ(dot.at(0, 0), kBlack);
}

TEST(GdipPen, BrushPenStrokesAndTransformsAboutAPoint) {
    GdipLinearGradientBrush ramp;
    ASSERT_TRUE(ramp.create({0, 0}, {0, 20}, kRed, kRed));
    GdipPen pen;
    ASSERT_TRUE(pen.createFromBrush(ramp, 2));
    BitmapCanvas canvas(20, 20, kBlack);
    ASSERT_TRUE(canvas.graphics.drawLine(pen, 10, 0, 10, 20));
    EXPECT_EQ(canvas.at(10, 10), kRed);
    EXPECT_EQ(canvas.at(5, 10), kBlack);
    EXPECT_TRUE(pen.scaleTransformAt(2, 1, {5, 5}, Gdiplus::MatrixOrderAppend));
    EXPECT_TRUE(pen.rotateTransformAt(45, {5, 5}));
    GdipPen empty;
    EXPECT_FALSE(empty.rotateTransformAt(45, {5, 5}));
    EXPECT_EQ(gdipLastStatus(), Gdiplus::InvalidParameter);
}

TEST(GdipRegion, CombinesAndAnswersHitTests) {
    BitmapCanvas canvas(10, 10, 0);
    GdipRegion region;
    ASSERT_TRUE(region.createRect({0, 0, 10, 10}));
    ASSERT_TRUE(region.combineRect({5, 0, 5, 10}, Gdiplus::CombineModeExclude));
    EXPECT_TRUE(region.isVisible(2, 5));
    EXPECT_FALSE(region.isVisible(7, 5));
    RectF b = region.bounds(canvas.graphics);
    EXPECT_FLOAT_EQ(b.width, 5);
    GdiRegion gdi(region.hrgn(canvas.graphics));
    ASSERT_TRUE(gdi);
    EXPECT_TRUE(::PtInRegion(gdi.get(), 2, 5));
    EXPECT_FALSE(::PtInRegion(gdi.get(), 7, 5));
    ASSERT_TRUE(region.combineRect({0, 0, 10, 10}, Gdiplus::CombineModeExclude));
    EXPECT_TRUE(region.isEmpty(canvas.graphics));
}

}  // namespace
}  // namespace pelmora
