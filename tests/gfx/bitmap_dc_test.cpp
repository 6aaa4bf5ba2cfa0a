// The owned memory DC of a window's composed image: it keeps the bitmap it was
// made with aside, deletes every bitmap it replaces, and puts the first one
// back before it deletes the last bitmap and the DC.
#include "gfx/bitmap_dc.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <utility>

namespace pelmora {
namespace {

GdiBitmap screenBitmap(int width, int height) {
    const WindowDc screen(nullptr);
    return GdiBitmap(::CreateCompatibleBitmap(screen.get(), width, height));
}

bool alive(HGDIOBJ object) {
    return ::GetObjectType(object) != 0;
}

TEST(BitmapDcTest, ReplacedBitmapsAreDeletedAndTheFirstComesBack) {
    BitmapDc surface;
    EXPECT_FALSE(surface);
    EXPECT_FALSE(surface.select(GdiBitmap()));
    EXPECT_EQ(surface.dc(), nullptr) << "no DC for nothing to hold";

    GdiBitmap first = screenBitmap(20, 10);
    const HBITMAP firstHandle = first.get();
    ASSERT_TRUE(surface.select(std::move(first)));
    const HDC dc = surface.dc();
    const HGDIOBJ stock = surface.firstBitmap();
    ASSERT_NE(stock, nullptr);
    EXPECT_NE(stock, firstHandle);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), firstHandle);
    EXPECT_EQ(surface.size().cx, 20);

    ASSERT_TRUE(surface.select(screenBitmap(30, 15)));
    EXPECT_FALSE(alive(firstHandle)) << "the replaced bitmap was kept";
    EXPECT_EQ(surface.firstBitmap(), stock) << "the DC's own first bitmap is remembered once";
    EXPECT_EQ(surface.dc(), dc);

    const HBITMAP last = surface.bitmap();
    surface.reset();
    EXPECT_FALSE(alive(last));
    EXPECT_FALSE(alive(dc));
    EXPECT_TRUE(alive(stock)) << "the stock bitmap must never be deleted";
    EXPECT_FALSE(surface);
}

TEST(BitmapDcTest, EnsureSizeKeepsALargeEnoughBitmap) {
    struct Case {
        int width, height;
        bool replaced;
        LONG resultWidth;
    } cases[] = {{40, 30, true, 40}, {40, 30, false, 40}, {20, 10, false, 40}, {41, 5, true, 41}, {10, 31, true, 10}};
    BitmapDc surface;
    const WindowDc screen(nullptr);
    HBITMAP before = nullptr;
    for (const Case& c : cases) {
        ASSERT_TRUE(surface.ensureSize(screen.get(), c.width, c.height)) << c.width << "x" << c.height;
        EXPECT_EQ(surface.bitmap() != before, c.replaced) << c.width << "x" << c.height;
        EXPECT_EQ(surface.size().cx, c.resultWidth) << c.width << "x" << c.height;
        if (c.replaced && before) {
            EXPECT_FALSE(alive(before)) << c.width << "x" << c.height;
        }
        before = surface.bitmap();
    }
}

TEST(BitmapDcTest, MovingHandsTheSurfaceOver) {
    BitmapDc from;
    ASSERT_TRUE(from.select(screenBitmap(8, 8)));
    const HBITMAP bitmap = from.bitmap();
    BitmapDc to(std::move(from));
    EXPECT_FALSE(from);
    EXPECT_EQ(to.bitmap(), bitmap);
    BitmapDc other;
    ASSERT_TRUE(other.select(screenBitmap(4, 4)));
    const HBITMAP otherBitmap = other.bitmap();
    other = std::move(to);
    EXPECT_FALSE(alive(otherBitmap)) << "what the target held is released";
    EXPECT_EQ(other.bitmap(), bitmap);
    EXPECT_TRUE(alive(bitmap));
}

}  // namespace
}  // namespace pelmora
