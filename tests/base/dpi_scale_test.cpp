#include "base/dpi_scale.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(DpiScale, RoundsHalfAwayFromZeroAtEachScale) {
    struct Case {
        int value96;
        UINT dpi;
        int expected;
    };
    const Case cases[] = {
        {500, 96, 500},   {500, 120, 625}, {500, 144, 750},
        {500, 192, 1000}, {300, 144, 450}, {2, 120, 3},  // 2.5 rounds up
        {1, 144, 2},                                     // 1.5 rounds up
        {-1, 144, -2},                                   // -1.5 rounds away from zero, not up
        {5, 120, 6},                                     // 6.25 rounds down
        {7, 144, 11},                                    // 10.5
        {3, 0, 3},                                       // an unknown DPI is 96
        {0, 192, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, scaled(c.value96, c.dpi)) << c.value96 << " at " << c.dpi;
}

TEST(DpiScale, RectanglesThatTouchAt96StillTouch) {
    // Two neighbours 27 apart: scaling each edge rather than origin and width
    // keeps the shared edge shared at every DPI.
    for (UINT dpi : {96u, 120u, 144u, 168u, 192u}) {
        const RECT a = scaledRect({13, 1, 40, 19}, dpi), b = scaledRect({40, 1, 67, 19}, dpi);
        EXPECT_EQ(a.right, b.left) << dpi;
    }
    EXPECT_EQ(750, scaledSize({500, 300}, 144).cx);
    EXPECT_EQ(600, scaledSize({500, 300}, 192).cy);
}

TEST(DpiScale, PictureSizeAtEveryScale) {
    const struct {
        int pixels, pictureScale;
        UINT dpi;
        int drawn;
    } cases[] = {
        {500, 1, 96, 500},    {500, 1, 144, 750},  {500, 1, 120, 625}, {333, 1, 144, 500},   // 499.5 up
        {1000, 2, 192, 1000}, {1000, 2, 168, 875}, {1000, 2, 96, 500}, {1001, 2, 144, 751},  // 750.75
        {500, 1, 0, 500},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scaledPictureSize(c.pixels, c.pictureScale, c.dpi), c.drawn) << c.pixels << "@" << c.dpi;
    for (int v : {0, 1, 7, 13, 300, 500})
        for (UINT dpi : {96u, 120u, 144u, 192u}) EXPECT_EQ(scaledPictureSize(v, 1, dpi), scaled(v, dpi));
}

TEST(DpiScale, DoublePictureAboveOneAndAHalf) {
    const struct {
        UINT dpi;
        bool doublePicture;
    } cases[] = {{0, false},  {96, false}, {120, false}, {144, false},
                 {145, true}, {168, true}, {192, true},  {288, true}};
    for (const auto& c : cases) EXPECT_EQ(usesDoublePicture(c.dpi), c.doublePicture) << c.dpi;
}

TEST(DpiScale, WindowDpiIsTheScreensForAWindowOfThisProcess) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(systemDpi(), windowDpi(window));
    EXPECT_GE(systemDpi(), 96u);
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace pelmora
