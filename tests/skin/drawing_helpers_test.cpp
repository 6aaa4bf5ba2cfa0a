// Colour conversion, message-parameter halves, the rounded-rectangle figure and
// the back-buffer registry.
#include "gfx/drawing_helpers.h"

#include <windows.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

#include "gfx/back_buffer.h"
#include "gfx/gdip_object.h"
#include "gfx/gdip_path.h"
#include "skin_test_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

TEST(ArgbFromColourTest, SwapsRedAndBlueAndSetsAlpha) {
    struct Case {
        COLORREF colour;
        std::optional<std::uint8_t> alpha;
        std::uint32_t argb;
    } cases[] = {
        {0x00DDCA22, 160, 0xA022CADD}, {0x000000FF, std::nullopt, 0xFFFF0000}, {0x00FF0000, std::nullopt, 0xFF0000FF},
        {0x00FFFFFF, 0, 0x00FFFFFF},   {0x00123456, 255, 0xFF563412},
    };
    for (const Case& c : cases) EXPECT_EQ(argbFromColour(c.colour, c.alpha), c.argb) << std::hex << c.colour;
}

TEST(MessageWordsTest, HighHalfKeepsItsSignLowHalfDoesNot) {
    struct Case {
        std::uint32_t value;
        int lo, hi;
    } cases[] = {
        {0xFFFE0010, 16, -2}, {0x0001FFFF, 65535, 1}, {0x80000000, 0, -32768}, {0x7FFF8000, 32768, 32767}, {0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(loWord(c.value), c.lo) << std::hex << c.value;
        EXPECT_EQ(hiWord(c.value), c.hi) << std::hex << c.value;
    }
}

TEST(RoundedRectangleTest, BottomRightCornerIsOnePixelLargerButEndsAtTheSameEdges) {
    const auto arcs = roundedRectangleArcs(0, 5, 200, 94, 5);
    const CornerArc expected[] = {
        {195, 5, 5, 5, 270},  // top right
        {194, 93, 6, 6, 0},   // bottom right
        {0, 94, 5, 5, 90},    // bottom left
        {0, 5, 5, 5, 180},    // top left
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(arcs[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(arcs[i].y, expected[i].y) << i;
        EXPECT_FLOAT_EQ(arcs[i].width, expected[i].width) << i;
        EXPECT_FLOAT_EQ(arcs[i].height, expected[i].height) << i;
        EXPECT_FLOAT_EQ(arcs[i].startAngle, expected[i].startAngle) << i;
    }
    EXPECT_FLOAT_EQ(arcs[1].x + arcs[1].width, 200);
    EXPECT_FLOAT_EQ(arcs[1].y + arcs[1].height, 99);
}

TEST(RoundedRectangleTest, RadiusIsClampedToOneToOneHundred) {
    struct Case {
        int radius;
        float side;
    } cases[] = {{0, 1}, {-7, 1}, {1, 1}, {100, 100}, {250, 100}};
    for (const Case& c : cases) {
        const auto arcs = roundedRectangleArcs(10, 20, 300, 300, c.radius);
        EXPECT_FLOAT_EQ(arcs[0].width, c.side) << c.radius;
        EXPECT_FLOAT_EQ(arcs[0].x, 310 - c.side) << c.radius;
        EXPECT_FLOAT_EQ(arcs[1].width, c.side + 1) << c.radius;
    }
}

TEST(RoundedRectangleTest, PathHoldsOneClosedFigureInsideTheRectangle) {
    using namespace Gdiplus::DllExports;
    GdipPath path;
    ASSERT_TRUE(path.create());
    EXPECT_TRUE(addRoundedRectangle(path, 0, 5, 200, 94, 5));
    Gdiplus::GpRectF bounds{};
    GdipGetPathWorldBounds(path.native(), &bounds, nullptr, nullptr);
    EXPECT_NEAR(bounds.X, 0, 0.01);
    EXPECT_NEAR(bounds.Y, 5, 0.01);
    EXPECT_NEAR(bounds.X + bounds.Width, 200, 0.01);
    EXPECT_NEAR(bounds.Y + bounds.Height, 99, 0.01);
    EXPECT_TRUE(path.isVisible(100, 50));
    EXPECT_FALSE(path.isVisible(0.2f, 5.2f));     // cut off by the top-left corner
    EXPECT_FALSE(path.isVisible(199.6f, 98.6f));  // and by the bottom-right one
    INT count = 0;
    GdipGetPointCount(path.native(), &count);
    std::vector<BYTE> types(static_cast<size_t>(count));
    GdipGetPathTypes(path.native(), types.data(), count);
    ASSERT_FALSE(types.empty());
    EXPECT_TRUE(types.back() & Gdiplus::PathPointTypeCloseSubpath);
    for (size_t i = 1; i < types.size(); ++i) EXPECT_NE(types[i] & Gdiplus::PathPointTypePathTypeMask, 0) << i;
}

TEST(BackBufferTest, ZeroSizedBufferIsListedAndStillReleased) {
    HDC dc = createBackBuffer(0, 0);
    ASSERT_NE(dc, nullptr);
    ASSERT_EQ(backBuffers().size(), 1u);
    EXPECT_EQ(backBuffers()[0].bitmap, nullptr);
    EXPECT_TRUE(releaseControlBackground(dc));
    EXPECT_TRUE(backBuffers().empty());
    EXPECT_EQ(::GetObjectType(dc), 0u);  // the DC is gone
}

TEST(BackBufferTest, StartsTransparentBlackAndIsReleasedOnce) {
    HDC dc = createBackBuffer(8, 4);
    ASSERT_NE(dc, nullptr);
    const HBITMAP bitmap = backBuffers().at(0).bitmap;
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(test::dibPixel(dc, x, 3), 0u) << x;
    EXPECT_TRUE(releaseControlBackground(dc));
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
    EXPECT_FALSE(releaseControlBackground(dc));
    EXPECT_FALSE(releaseControlBackground(nullptr));
}

TEST(BackBufferTest, NestedPaintsKeepTwoEntriesEachReleasedByItsOwner) {
    HDC outer = createBackBuffer(10, 10);
    HDC inner = createBackBuffer(20, 5);
    ASSERT_EQ(backBuffers().size(), 2u);
    EXPECT_EQ(backBuffers()[0].memoryDc, outer);
    EXPECT_EQ(backBuffers()[1].memoryDc, inner);
    EXPECT_TRUE(releaseControlBackground(inner));
    ASSERT_EQ(backBuffers().size(), 1u);
    EXPECT_EQ(backBuffers()[0].memoryDc, outer);
    EXPECT_TRUE(releaseControlBackground(outer));
    EXPECT_TRUE(backBuffers().empty());
}

TEST(BackBufferTest, RegisteringTheSameDcAgainUpdatesItsEntry) {
    HDC dc = createBackBuffer(4, 4);
    const BackBufferEntry first = backBuffers().at(0);
    registerBackBuffer(dc, nullptr, ::GetStockObject(BLACK_PEN));
    ASSERT_EQ(backBuffers().size(), 1u);
    EXPECT_EQ(backBuffers()[0].bitmap, nullptr);
    EXPECT_EQ(backBuffers()[0].previousObject, ::GetStockObject(BLACK_PEN));
    registerBackBuffer(dc, first.bitmap, first.previousObject);
    EXPECT_EQ(backBuffers().size(), 1u);
    EXPECT_TRUE(releaseControlBackground(dc));
    EXPECT_EQ(::GetObjectType(first.bitmap), 0u);
}

// The leak tests' GDI witness must see objects come and go, here as on Windows
// (under Wine the system's own count is a stub answering 0).
TEST(GdiObjectCountTest, SeesObjectsMadeAndDeleted) {
    const DWORD before = test::gdiObjectCount();
    ASSERT_GT(before, 0u) << "a process with a display connection holds stock objects";
    HBRUSH brushes[10];
    for (HBRUSH& brush : brushes) brush = ::CreateSolidBrush(RGB(1, 2, 3));
    HBITMAP bitmap = ::CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(test::gdiObjectCount(), before + 11);
    for (HBRUSH brush : brushes) ::DeleteObject(brush);
    ::DeleteObject(bitmap);
    EXPECT_EQ(test::gdiObjectCount(), before);
}

TEST(BackBufferTest, ManyCyclesLeaveNoGdiObjectBehind) {
    // Each handle is checked gone right after its release; the process count is
    // a second witness.
    const DWORD before = test::gdiObjectCount();
    const long gdipBefore = gdipLiveObjects();
    for (int i = 0; i < 500; ++i) {
        HDC outer = createBackBuffer(64, 24);
        HDC inner = createBackBuffer(i % 7, 3);
        const HBITMAP outerBitmap = backBuffers().at(0).bitmap;
        const HBITMAP innerBitmap = backBuffers().at(1).bitmap;
        ASSERT_TRUE(releaseControlBackground(inner));
        ASSERT_TRUE(releaseControlBackground(outer));
        // Checked right away, before a later buffer can be handed the same handle.
        ASSERT_EQ(::GetObjectType(outer), 0u);
        ASSERT_EQ(::GetObjectType(outerBitmap), 0u);
        if (innerBitmap) {
            ASSERT_EQ(::GetObjectType(innerBitmap), 0u);
        }
    }
    EXPECT_TRUE(backBuffers().empty());
    EXPECT_LE(test::gdiObjectCount(), before);
    EXPECT_EQ(gdipLiveObjects(), gdipBefore);
}

}  // namespace
}  // namespace pelmora
