// The edit's border in its three looks, opaque and translucent; where the
// client area lies with and without scroll bars; the translucent text-area
// background and the bitmap behind its pattern brush.
#include "skin/controls/edit_paint.h"

#include <gtest/gtest.h>

#include "gfx/back_buffer.h"
#include "skin/controls/core/control_colour.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::blend;
using test::Canvas;
using test::closeTo;
using test::picture;

constexpr COLORREF kAccent = 0x000000FF;  // red
constexpr std::uint32_t kAccentArgb180 = 0xB4FF0000;
constexpr std::uint32_t kBlack80 = 0x50000000;

TEST(EditBorderLookTest, PointerWinsOverFocus) {
    struct Case {
        bool hot, focused;
        EditBorderLook look;
    } cases[] = {
        {false, false, EditBorderLook::Rest},
        {false, true, EditBorderLook::Focused},
        {true, false, EditBorderLook::Hot},
        {true, true, EditBorderLook::Hot},
    };
    for (const Case& c : cases) EXPECT_EQ(editBorderLook(c.hot, c.focused), c.look) << c.hot << c.focused;
}

TEST(EditClientAreaTest, BorderIsSplitEvenlyAfterTheScrollBarsAreTakenOff) {
    struct Case {
        const char* what;
        SizeI window, client;
        int vScroll, hScroll;
        RectI expected;
    } cases[] = {
        {"client edge", {200, 24}, {196, 20}, 0, 0, {2, 2, 196, 20}},
        {"plain border", {100, 20}, {98, 18}, 0, 0, {1, 1, 98, 18}},
        {"no border", {80, 20}, {80, 20}, 0, 0, {0, 0, 80, 20}},
        {"vertical bar", {200, 100}, {179, 96}, 17, 0, {2, 2, 179, 96}},
        {"both bars", {200, 100}, {179, 79}, 17, 17, {2, 2, 179, 79}},
        {"horizontal bar", {150, 60}, {146, 39}, 0, 17, {2, 2, 146, 39}},
        {"odd border keeps the extra pixel on the far side", {101, 21}, {98, 18}, 0, 0, {1, 1, 98, 18}},
    };
    for (const Case& c : cases) {
        const RectI r = clientAreaInWindow(c.window, c.client, c.vScroll, c.hScroll);
        EXPECT_EQ(r.x, c.expected.x) << c.what;
        EXPECT_EQ(r.y, c.expected.y) << c.what;
        EXPECT_EQ(r.width, c.expected.width) << c.what;
        EXPECT_EQ(r.height, c.expected.height) << c.what;
    }
}

// A 60 x 24 edit with a 2-pixel border: the installer's folder box in small.
constexpr SizeI kWindow{60, 24};
constexpr RectI kClient{2, 2, 56, 20};

TEST(EditFrameTest, ThreeLooksOverThePictureWithAlphaZero) {
    // Columns across the left border at mid height: x = 0 is the outer line,
    // x = 1 the inner border pixel, x = 2 the first client pixel.
    struct Case {
        EditBorderLook look;
        std::uint32_t outer, inner;  // colour laid over the picture; 0 = the picture unchanged
    } cases[] = {
        {EditBorderLook::Rest, kBlack80, 0},
        {EditBorderLook::Focused, kAccentArgb180, 0},
        {EditBorderLook::Hot, kAccentArgb180, kAccentArgb180},
    };
    for (const Case& c : cases) {
        Canvas canvas(kWindow.width, kWindow.height, test::picture);
        paintEditFrame(canvas.graphics(), kWindow, kClient, c.look, test::installerSettings(kAccent));
        const int look = static_cast<int>(c.look);
        auto expectAt = [&](int x, int y, std::uint32_t over) {
            const std::uint32_t base = picture(x, y) & 0x00FFFFFF;
            const std::uint32_t want = over ? blend(base, over) : base;
            EXPECT_TRUE(closeTo(canvas.rgb(x, y), want)) << "look " << look << " at " << x << "," << y << ": "
                                                         << std::hex << canvas.rgb(x, y) << " want " << want;
        };
        // Left, top, right and bottom edges.
        expectAt(0, 12, c.outer);
        expectAt(1, 12, c.inner);
        expectAt(30, 0, c.outer);
        expectAt(30, 1, c.inner);
        expectAt(59, 12, c.outer);
        expectAt(58, 12, c.inner);
        expectAt(30, 23, c.outer);
        expectAt(30, 22, c.inner);
        // The client area is the edit's own: never touched, even by the 2-pixel line.
        for (int x : {2, 3, 30, 57}) expectAt(x, 12, 0);
        for (int y : {2, 21}) expectAt(30, y, 0);
    }
}

TEST(EditFrameTest, OpaqueBackgroundsFillTheBorderWhite) {
    Canvas canvas(kWindow.width, kWindow.height, test::picture);
    paintEditFrame(canvas.graphics(), kWindow, kClient, EditBorderLook::Rest, test::opaqueSettings(kAccent));
    EXPECT_TRUE(closeTo(canvas.rgb(1, 12), 0xFFFFFF));
    EXPECT_TRUE(closeTo(canvas.rgb(0, 12), blend(0xFFFFFF, kBlack80))) << std::hex << canvas.rgb(0, 12);
    EXPECT_EQ(canvas.rgb(10, 10), picture(10, 10) & 0x00FFFFFF);
}

TEST(EditFrameTest, TranslucentAlphaLaysWhiteOverTheBorderOnly) {
    ControlSettings settings = test::installerSettings(kAccent);
    settings.backgroundAlpha = 160;
    Canvas canvas(kWindow.width, kWindow.height, test::picture);
    paintEditFrame(canvas.graphics(), kWindow, kClient, EditBorderLook::Rest, settings);
    EXPECT_TRUE(closeTo(canvas.rgb(1, 12), blend(picture(1, 12) & 0xFFFFFF, 0xA0FFFFFF)));
    EXPECT_EQ(canvas.rgb(10, 10), picture(10, 10) & 0x00FFFFFF);
}

TEST(EditFrameTest, ScrollBarAreaOutsideTheClientIsPaintedLikeTheBorder) {
    // The engine paints the whole non-client area; the scroll bar is drawn
    // natively afterwards, over it. What matters is that the client stays.
    const SizeI window{80, 60};
    const RectI client = clientAreaInWindow(window, {59, 56}, 17, 0);
    Canvas canvas(window.width, window.height, test::picture);
    paintEditFrame(canvas.graphics(), window, client, EditBorderLook::Focused, test::opaqueSettings(kAccent));
    EXPECT_EQ(canvas.rgb(client.x + client.width - 1, 30), picture(client.x + client.width - 1, 30) & 0xFFFFFF);
    EXPECT_TRUE(closeTo(canvas.rgb(client.x + client.width + 3, 30), 0xFFFFFF));
    EXPECT_TRUE(test::reddish(canvas.rgb(79, 30)));
}

std::uint32_t bitmapPixel(HBITMAP bitmap, int width, int height, int x, int y) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, height);
    return pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFF;
}

TEST(TranslucentBackgroundTest, BrushBitmapIsTheClientPartOfThePicture) {
    struct Case {
        int alpha;
        std::uint32_t over;
    } cases[] = {{0, 0}, {160, 0xA0FFFFFF}};
    for (const Case& c : cases) {
        Canvas canvas(kWindow.width, kWindow.height, test::picture);
        GdiBitmap bitmap = makeTranslucentBrushBitmap(canvas.dc(), kClient, c.alpha);
        ASSERT_TRUE(bitmap);
        BITMAP info{};
        ::GetObjectW(bitmap.get(), sizeof info, &info);
        EXPECT_EQ(info.bmWidth, kClient.width);
        EXPECT_EQ(info.bmHeight, kClient.height);
        for (auto [x, y] : {std::pair{0, 0}, {10, 5}, {55, 19}}) {
            const std::uint32_t base = picture(x + kClient.x, y + kClient.y) & 0xFFFFFF;
            const std::uint32_t got = bitmapPixel(bitmap.get(), kClient.width, kClient.height, x, y);
            EXPECT_TRUE(closeTo(got, c.over ? blend(base, c.over) : base))
                << "alpha " << c.alpha << " at " << x << "," << y << std::hex << ": " << got;
        }
    }
}

TEST(TranslucentBackgroundTest, EmptyClientGivesNoBitmap) {
    Canvas canvas(kWindow.width, kWindow.height, test::picture);
    EXPECT_FALSE(makeTranslucentBrushBitmap(canvas.dc(), RectI{2, 2, 0, 20}, 0));
}

TEST(TranslucentBackgroundTest, TextAreaBackgroundIsCopiedToTheTargetOrigin) {
    Canvas canvas(kWindow.width, kWindow.height, test::picture);
    Canvas target(kClient.width, kClient.height, test::grey);
    ASSERT_TRUE(paintEditBackground(canvas.dc(), kClient, 0, target.dc()));
    for (auto [x, y] : {std::pair{0, 0}, {20, 7}, {55, 19}})
        EXPECT_EQ(target.rgb(x, y), picture(x + kClient.x, y + kClient.y) & 0xFFFFFF) << x << "," << y;
}

TEST(EditPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    const test::LiveObjects before = test::LiveObjects::now();
    HBITMAP lastBitmap = nullptr;
    for (int i = 0; i < 10000; ++i) {
        Canvas canvas(kWindow.width, kWindow.height, test::picture);
        paintEditFrame(canvas.graphics(), kWindow, kClient, static_cast<EditBorderLook>(i % 3),
                       test::installerSettings(kAccent));
        GdiBitmap bitmap = makeTranslucentBrushBitmap(canvas.dc(), kClient, 0);
        ASSERT_TRUE(bitmap) << "paint " << i;
        lastBitmap = bitmap.get();
    }
    EXPECT_EQ(::GetObjectType(lastBitmap), 0u) << "the brush bitmap outlived its owner";
    EXPECT_TRUE(backBuffers().empty());
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
