// The status bar: how a style change and an item's meter value are kept,
// where an item's parts lie, the pixels of one painted item, and the skin
// object's operations on a real skinned window with a bar.
#include "skin/window/status_bar.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/gdip_graphics.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/window/window_geometry.h"
#include "skin/window/window_render.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

using test::blue;
using test::green;
using test::red;

bool closeTo(std::uint32_t a, std::uint32_t b, int tolerance = 3) {
    return std::abs(red(a) - red(b)) <= tolerance && std::abs(green(a) - green(b)) <= tolerance &&
           std::abs(blue(a) - blue(b)) <= tolerance;
}

std::uint32_t rgbOf(COLORREF c) {
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Never white, black, red or green, and different at every pixel of a row.
std::uint32_t pictureAt(int x, int y) {
    return 0xFF000000u | (static_cast<std::uint32_t>(60 + x % 120) << 16) |
           (static_cast<std::uint32_t>(70 + y % 100) << 8) | 0x90u;
}

std::uint32_t greenAt(int, int) {
    return 0xFF00C000u;
}

// GCC 12 at -O3 takes the optional face of the table's fifth row for
// uninitialised on the path that unwinds a half-built table; every row is
// fully built before the loop reads it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
TEST(StatusBarStyleTest, ChangeReplacesWhatIsGivenAndKeepsTheRest) {
    const StatusBarStyle defaults;
    struct Case {
        const char* what;
        StatusBarStyleChange change;
        StatusBarStyle expected;
    } cases[] = {
        {"nothing given", {}, defaults},
        {"text colour", {0x00112233, {}, {}, {}, {}, {}}, {0x00112233, L"宋体", 9, false, 0, 0}},
        {"an alpha byte in a colour is dropped",
         {0xFF112233, {}, {}, {}, 0xAA445566, {}},
         {0x00112233, L"宋体", 9, false, 0x00445566, 0}},
        {"face, size and bold", {{}, L"黑体", 12, true, {}, {}}, {0x00FFFFFF, L"黑体", 12, true, 0, 0}},
        {"an empty face and a size of 0 would draw nothing: kept", {{}, L"", 0, {}, {}, {}}, defaults},
        {"fill", {{}, {}, {}, {}, 0x00203040, 128}, {0x00FFFFFF, L"宋体", 9, false, 0x00203040, 128}},
        {"fill alpha clamped high", {{}, {}, {}, {}, {}, 300}, {0x00FFFFFF, L"宋体", 9, false, 0, 255}},
        {"fill alpha clamped low", {{}, {}, {}, {}, {}, -5}, defaults},
    };
    for (const Case& c : cases) {
        const StatusBarStyle got = changedStatusBarStyle(defaults, c.change);
        EXPECT_EQ(got.textColour, c.expected.textColour) << c.what;
        EXPECT_EQ(got.fontFace, c.expected.fontFace) << c.what;
        EXPECT_EQ(got.fontSize, c.expected.fontSize) << c.what;
        EXPECT_EQ(got.bold, c.expected.bold) << c.what;
        EXPECT_EQ(got.fillColour, c.expected.fillColour) << c.what;
        EXPECT_EQ(got.fillAlpha, c.expected.fillAlpha) << c.what;
    }
}
#pragma GCC diagnostic pop

TEST(StatusBarStyleTest, MeterValueKeptWithinNoneAndFull) {
    const std::pair<int, int> cases[] = {
        {-1, kNoStatusMeter}, {-40, kNoStatusMeter}, {0, 0}, {37, 37}, {100, 100}, {250, 100}};
    for (auto [given, kept] : cases) EXPECT_EQ(statusMeterValue(given), kept) << given;
}

void expectRect(const RectF& got, const RectF& expected, const char* what) {
    EXPECT_FLOAT_EQ(got.x, expected.x) << what;
    EXPECT_FLOAT_EQ(got.y, expected.y) << what;
    EXPECT_FLOAT_EQ(got.width, expected.width) << what;
    EXPECT_FLOAT_EQ(got.height, expected.height) << what;
}

TEST(StatusItemLayoutTest, ImageTextAndMeterPlaces) {
    const RECT item{10, 100, 210, 120};  // 200 x 20
    struct Case {
        const char* what;
        SizeI image;
        int meter;
        RectF imageRect, text, meterRect, meterFill;
    } cases[] = {
        {"text alone fills the padded item", {}, kNoStatusMeter, {}, {12, 100, 196, 20}, {}, {}},
        {"a small image keeps its size, centred",
         {16, 12},
         kNoStatusMeter,
         {12, 104, 16, 12},
         {31, 100, 177, 20},
         {},
         {}},
        {"a tall image is scaled down to the room",
         {32, 64},
         kNoStatusMeter,
         {12, 102, 8, 16},
         {23, 100, 185, 20},
         {},
         {}},
        {"a meter at the right, its done part inside",
         {},
         50,
         {},
         {12, 100, 133, 20},
         {148, 106.5f, 60, 7},
         {149, 107.5f, 29, 5}},
        {"a meter at 0 shows its outline only", {}, 0, {}, {12, 100, 133, 20}, {148, 106.5f, 60, 7}, {}},
        {"a full meter", {}, 100, {}, {12, 100, 133, 20}, {148, 106.5f, 60, 7}, {149, 107.5f, 58, 5}},
    };
    for (const Case& c : cases) {
        const StatusItemLayout got = statusItemLayout(item, c.image, c.meter);
        expectRect(got.image, c.imageRect, c.what);
        expectRect(got.text, c.text, c.what);
        expectRect(got.meter, c.meterRect, c.what);
        expectRect(got.meterFill, c.meterFill, c.what);
    }
}

TEST(StatusItemLayoutTest, NarrowItemGivesTheMeterHalfItsRoom) {
    const StatusItemLayout got = statusItemLayout(RECT{0, 0, 44, 20}, {}, 100);
    expectRect(got.meter, {22, 6.5f, 20, 7}, "meter");
    expectRect(got.text, {2, 0, 17, 20}, "text");
}

// A 500 x 300 window's bar (border 3, height 22, items 100 wide and the rest)
// and its first item with an 8 x 8 image and a meter at 50, at each scale;
// worked out by hand from the 96-DPI numbers, half rounding away from zero.
TEST(StatusBarAtDpiTest, BarItemsAndPartsScaled) {
    struct Case {
        UINT dpi;
        SizeI client;
        RECT bar;
        int firstRight;
        RectF image, text, meter, meterFill;
        float line;
    } cases[] = {
        {96,
         {500, 300},
         {3, 274, 497, 296},
         103,
         {5, 281, 8, 8},
         {16, 274, 34, 22},
         {53, 281.5f, 48, 7},
         {54, 282.5f, 23, 5},
         1},
        {120,
         {625, 375},
         {4, 342, 621, 370},
         129,
         {7, 352, 8, 8},
         {19, 342, 43.5f, 28},
         {66.5f, 351.5f, 59.5f, 9},
         {67.5f, 352.5f, 28, 7},
         1},
        {144,
         {750, 450},
         {5, 410, 745, 443},
         155,
         {8, 422.5f, 8, 8},
         {21, 410, 54, 33},
         {80, 421, 72, 11},
         {82, 423, 34, 7},
         2},
        {192,
         {1000, 600},
         {6, 548, 994, 592},
         206,
         {10, 566, 8, 8},
         {24, 548, 76, 44},
         {106, 563, 96, 14},
         {108, 565, 46, 10},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const RECT bar = statusBarRect(c.client.width, c.client.height, 3, 22, c.dpi);
        EXPECT_EQ(bar.left, c.bar.left);
        EXPECT_EQ(bar.top, c.bar.top);
        EXPECT_EQ(bar.right, c.bar.right);
        EXPECT_EQ(bar.bottom, c.bar.bottom);
        const std::vector<RECT> items = statusItemRects(bar, {100, -1}, c.dpi);
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].right, c.firstRight);
        EXPECT_EQ(items[1].left, c.firstRight);
        EXPECT_EQ(items[1].right, bar.right);
        const StatusItemLayout got = statusItemLayout(items[0], {8, 8}, 50, c.dpi);
        expectRect(got.image, c.image, "image");
        expectRect(got.text, c.text, "text");
        expectRect(got.meter, c.meter, "meter");
        expectRect(got.meterFill, c.meterFill, "meter fill");
        EXPECT_FLOAT_EQ(got.line, c.line);
    }
}

// One item painted onto a picture, read back pixel by pixel.
class StatusItemPaintTest : public ::testing::Test {
protected:
    StatusItemPaintTest() : surface(120, 24) { surface.fill(pictureAt); }
    void paint(const StatusItem& item, const StatusBarStyle& style, bool separator) {
        GdipGraphics graphics;
        ASSERT_TRUE(graphics.fromHdc(surface.dc()));
        paintStatusItem(graphics, RECT{0, 2, 120, 22}, item, style, kAccent, separator);
        graphics.flush(Gdiplus::FlushIntentionSync);
    }
    std::uint32_t at(int x, int y) { return surface.argb(x, y) | 0xFF000000u; }

    static constexpr COLORREF kAccent = 0x000000FF;  // red
    test::Canvas surface;
};

TEST_F(StatusItemPaintTest, DefaultStyleLeavesThePictureAroundTheText) {
    paint({L"", -1, {}, kNoStatusMeter}, StatusBarStyle{}, false);
    for (int x : {0, 40, 119})
        for (int y : {0, 2, 12, 23}) EXPECT_TRUE(closeTo(at(x, y), pictureAt(x, y), 0)) << x << "," << y;
}

TEST_F(StatusItemPaintTest, FillImageMeterAndSeparator) {
    StatusBarStyle style;
    style.fillColour = 0x00000000;
    style.fillAlpha = 255;
    style.textColour = 0x00FFFFFF;
    const StatusItem item{L"", -1, test::makePng(8, 8, greenAt), 100};
    paint(item, style, true);
    EXPECT_TRUE(closeTo(at(40, 12), 0xFF000000)) << "fill";
    EXPECT_TRUE(closeTo(at(40, 0), pictureAt(40, 0), 0)) << "above the item";
    EXPECT_TRUE(closeTo(at(5, 12), 0xFF00C000)) << "image at the left, centred";
    const StatusItemLayout layout = statusItemLayout(RECT{0, 2, 120, 22}, {8, 8}, 100);
    const int meterMid = static_cast<int>(layout.meterFill.x + layout.meterFill.width / 2);
    EXPECT_TRUE(closeTo(at(meterMid, 12), rgbOf(kAccent), 30)) << "meter done part in the accent";
    EXPECT_GT(red(at(119, 12)), 40) << "separator at the right edge";
    EXPECT_TRUE(closeTo(at(119, 3), 0xFF000000)) << "separator leaves the item's ends";
}

TEST_F(StatusItemPaintTest, NoSeparatorAfterTheLastItemAndAnUnreadableImageLeavesNoGap) {
    StatusBarStyle style;
    style.fillAlpha = 255;
    const StatusItem item{L"", -1, ByteBuffer{1, 2, 3, 4}, kNoStatusMeter};
    paint(item, style, false);
    for (int x : {3, 60, 119}) EXPECT_TRUE(closeTo(at(x, 12), 0xFF000000)) << x;
}

TEST_F(StatusItemPaintTest, TextInTheTextColour) {
    StatusBarStyle style;
    style.fillAlpha = 255;
    style.textColour = 0x0000FF00;  // green
    paint({L"准备就绪 ■■■", -1, {}, kNoStatusMeter}, style, false);
    int greenPixels = 0;
    for (int y = 2; y < 22; ++y)
        for (int x = 0; x < 120; ++x) greenPixels += green(at(x, y)) > 200 && red(at(x, y)) < 60;
    EXPECT_GT(greenPixels, 30);
}

// The skin object's operations on a window that has a bar.
class StatusBarWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SkinTheme theme;
        theme.imageBytes = test::makePng(300, 200, pictureAt);
        theme.accent = 0x000000FF;
        skinEngine().setSkinTheme(theme);
        window = test::createHostWindow(140, 120, 300, 200);
        SkinWindowOptions options;
        options.statusBarHeight = 22;
        options.statusItems = {{L"准备", 100, {}, kNoStatusMeter}, {L"", -1, {}, kNoStatusMeter}};
        skinEngine().skinWindow(window, options);
        index = findWindowRecord(window);
        ASSERT_GT(index, 0);
        renderWindow(record(), nullptr, true);
    }
    void TearDown() override { ::DestroyWindow(window); }

    SkinnedWindowRecord& record() { return *windowRecord(index); }
    std::uint32_t composed(int x, int y) { return rgbOf(::GetPixel(record().image.composed.dc(), x, y)); }
    std::uint32_t onScreen(int x, int y) {
        WindowDc screen(window);
        return rgbOf(::GetPixel(screen.get(), x, y));
    }
    RECT item(int i) { return record().status.statusItemRects.at(static_cast<size_t>(i - 1)); }

    test::SkinState state;
    HWND window = nullptr;
    int index = 0;
};

TEST_F(StatusBarWindowTest, BarLiesAlongTheBottomWithTheGivenItems) {
    EXPECT_EQ(record().status.statusBarRect.top, 200 - 3 - 22 - 1);
    ASSERT_EQ(record().status.statusItemRects.size(), 2u);
    EXPECT_EQ(item(1).right - item(1).left, 100);
    EXPECT_EQ(item(2).right, 300 - 3);
}

TEST_F(StatusBarWindowTest, UpdateItemShowsTheMeterOnScreenAndKeepsItsText) {
    const RECT r = item(2);
    ASSERT_TRUE(skinEngine().updateStatusItem(window, 2, std::nullopt, std::nullopt, 60));
    const StatusItemLayout layout = statusItemLayout(r, {}, 60);
    const int x = static_cast<int>(layout.meterFill.x) + 2, y = (r.top + r.bottom) / 2;
    EXPECT_TRUE(closeTo(composed(x, y), 0xFFFF0000, 30));
    EXPECT_TRUE(closeTo(onScreen(x, y), composed(x, y), 0)) << "copied to the screen";
    EXPECT_EQ(record().status.statusItems[1].meterValue, 60);

    ASSERT_TRUE(skinEngine().updateStatusItem(window, 1, L"完成"));
    EXPECT_EQ(record().status.statusItems[0].text, L"完成");
    EXPECT_EQ(record().status.statusItems[1].meterValue, 60) << "another item keeps its meter";

    ASSERT_TRUE(skinEngine().updateStatusItem(window, 2, std::nullopt, std::nullopt, -1));
    EXPECT_TRUE(closeTo(composed(x, y), pictureAt(x, y), 2)) << "meter taken away";
}

TEST_F(StatusBarWindowTest, ImageGivenAndTakenAway) {
    const RECT r = item(2);
    const int x = r.left + 5, y = (r.top + r.bottom) / 2;
    ASSERT_TRUE(skinEngine().updateStatusItem(window, 2, std::nullopt, test::makePng(10, 10, greenAt)));
    EXPECT_TRUE(closeTo(composed(x, y), 0xFF00C000));
    ASSERT_TRUE(skinEngine().updateStatusItem(window, 2, std::nullopt, ByteBuffer{}));
    EXPECT_TRUE(closeTo(composed(x, y), pictureAt(x, y), 2));
}

TEST_F(StatusBarWindowTest, StyleFillRepaintsEveryItem) {
    StatusBarStyleChange change;
    change.fillColour = 0x00000000;
    change.fillAlpha = 255;
    ASSERT_TRUE(skinEngine().setStatusBarStyle(window, change));
    for (int i : {1, 2}) {
        const RECT r = item(i);
        const int x = r.right - 20, y = r.top + 2;
        EXPECT_TRUE(closeTo(composed(x, y), 0xFF000000)) << i;
        EXPECT_TRUE(closeTo(onScreen(x, y), 0xFF000000)) << i;
    }
    EXPECT_EQ(record().status.statusStyle.fillAlpha, 255);
    EXPECT_EQ(record().status.statusStyle.fontFace, L"宋体") << "omitted values stay";
}

TEST_F(StatusBarWindowTest, BadTargetsChangeNothing) {
    EXPECT_FALSE(skinEngine().updateStatusItem(window, 0, L"x"));
    EXPECT_FALSE(skinEngine().updateStatusItem(window, 3, L"x"));
    EXPECT_EQ(record().status.statusItems[0].text, L"准备");
    EXPECT_FALSE(skinEngine().updateStatusItem(nullptr, 1, L"x"));

    HWND plain = test::createHostWindow(10, 10, 200, 150);
    skinEngine().skinWindow(plain, SkinWindowOptions{});
    EXPECT_FALSE(skinEngine().updateStatusItem(plain, 1, L"x")) << "no bar";
    EXPECT_FALSE(skinEngine().setStatusBarStyle(plain, StatusBarStyleChange{}));
    ::DestroyWindow(plain);
}

}  // namespace
}  // namespace pelmora
