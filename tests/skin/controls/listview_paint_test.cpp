// The list view's header: item geometry and hit-testing, the hot item's
// accent gradient and bar, the pressed look of a button header, titles in
// their alignment, and the line under the header.
#include "skin/controls/listview_paint.h"

#include <gtest/gtest.h>

#include "tests/skin/controls/ink_box.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::blend;
using test::Canvas;
using test::closeTo;
using test::inkBox;

constexpr COLORREF kAccent = 0x000000FF;  // red

void expectRect(const RectF& got, const RectF& want, const char* what) {
    EXPECT_FLOAT_EQ(got.x, want.x) << what;
    EXPECT_FLOAT_EQ(got.y, want.y) << what;
    EXPECT_FLOAT_EQ(got.width, want.width) << what;
    EXPECT_FLOAT_EQ(got.height, want.height) << what;
}

TEST(HeaderGeometryTest, ItemFaceSeparatorBarAndTitle) {
    struct Case {
        const char* what;
        RectI item;
        bool pressed;
        RectF face, separator, bar, title;
    } cases[] = {
        {"first item", {0, 0, 100, 24}, false, {0, 0, 99, 23}, {99, 3, 1, 20}, {0, 21, 99, 2}, {6, 0, 87, 23}},
        {"second item", {100, 0, 60, 24}, false, {100, 0, 59, 23}, {159, 3, 1, 20}, {100, 21, 59, 2}, {106, 0, 47, 23}},
        {"pressed title moves", {0, 0, 100, 24}, true, {0, 0, 99, 23}, {99, 3, 1, 20}, {0, 21, 99, 2}, {7, 1, 87, 23}},
        {"too narrow for a title", {0, 0, 10, 24}, false, {0, 0, 9, 23}, {9, 3, 1, 20}, {0, 21, 9, 2}, {6, 0, 0, 23}},
        {"zero width", {40, 0, 0, 24}, false, {40, 0, 0, 23}, {40, 3, 0, 20}, {40, 21, 0, 2}, {46, 0, 0, 23}},
    };
    for (const Case& c : cases) {
        const HeaderItemLayout layout = headerItemLayout(c.item, c.pressed);
        expectRect(layout.face, c.face, c.what);
        expectRect(layout.separator, c.separator, c.what);
        expectRect(layout.accentBar, c.bar, c.what);
        expectRect(layout.title, c.title, c.what);
    }
}

std::vector<HeaderItem> threeItems() {
    return {{{0, 0, 100, 24}, L"名称", HDF_LEFT},
            {{100, 0, 80, 24}, L"大小", HDF_RIGHT},
            {{180, 0, 80, 24}, L"类型", HDF_CENTER}};
}

TEST(HeaderGeometryTest, HitTestTakesLeftAndTopEdgesOnly) {
    const std::vector<HeaderItem> items = threeItems();
    struct Case {
        PointI point;
        int item;
    } cases[] = {{{0, 0}, 0},   {{99, 23}, 0},  {{100, 10}, 1}, {{179, 5}, 1}, {{180, 5}, 2},
                 {{259, 5}, 2}, {{260, 5}, -1}, {{50, 24}, -1}, {{-1, 5}, -1}, {{50, -1}, -1}};
    for (const Case& c : cases) EXPECT_EQ(headerItemAt(items, c.point), c.item) << c.point.x << "," << c.point.y;
    EXPECT_EQ(headerItemAt({}, {5, 5}), -1);
}

TEST(HeaderGeometryTest, OnlyTheHotItemLightsAndOnlyAButtonHeaderPresses) {
    struct Case {
        int item, hot;
        bool pressed, buttons;
        HeaderItemLook look;
    } cases[] = {
        {0, -1, false, false, HeaderItemLook::Rest}, {0, 1, false, false, HeaderItemLook::Rest},
        {1, 1, false, false, HeaderItemLook::Hot},   {1, 1, true, false, HeaderItemLook::Hot},
        {1, 1, true, true, HeaderItemLook::Pressed}, {0, 1, true, true, HeaderItemLook::Rest},
        {-1, -1, true, true, HeaderItemLook::Rest},
    };
    for (const Case& c : cases)
        EXPECT_EQ(headerItemLook(c.item, c.hot, c.pressed, c.buttons), c.look)
            << c.item << " " << c.hot << " " << c.pressed << c.buttons;
}

constexpr SizeI kHeader{300, 24};

HeaderPaint header(int hot, bool pressed = false) {
    HeaderPaint paint;
    paint.size = kHeader;
    paint.items = threeItems();
    paint.hotItem = hot;
    paint.pressed = pressed;
    paint.buttons = true;
    paint.font = {L"宋体", 12, 0};
    paint.textColour = 0x00000000;
    return paint;
}

TEST(HeaderPaintTest, HotItemTakesTheAccentGradientAndBar) {
    // Column 103 lies inside the second item and left of its right-aligned
    // title. From top to bottom on a grey ground: alpha 60 at the top,
    // falling towards 10, then the bar at 120, then the line under the header.
    const int x = 103;
    const std::uint32_t grey = 0x808080;
    Canvas canvas(kHeader.width, kHeader.height, test::grey);
    paintHeader(canvas.graphics(), header(1), test::installerSettings(kAccent));
    EXPECT_TRUE(closeTo(canvas.rgb(x, 0), blend(grey, 0x3CFF0000), 4)) << std::hex << canvas.rgb(x, 0);
    const int top = test::redOf(canvas.rgb(x, 1)) - 0x80, low = test::redOf(canvas.rgb(x, 19)) - 0x80;
    EXPECT_GT(top, low + 15) << "the gradient does not fade downwards";
    EXPECT_GT(low, 0) << "the gradient ends above alpha 0";
    EXPECT_LT(low, 20) << "the gradient does not reach alpha 10";
    for (int y : {21, 22}) EXPECT_TRUE(closeTo(canvas.rgb(x, y), blend(grey, 0x78FF0000), 4)) << y;
    EXPECT_TRUE(closeTo(canvas.rgb(x, 23), blend(grey, 0x50000000))) << "line under the header";
    EXPECT_TRUE(closeTo(canvas.rgb(179, 12), blend(grey, 0x28000000), 20)) << "separator over the hot face";

    // Over the picture, the other items show it unchanged (alpha 0 background).
    Canvas picture(kHeader.width, kHeader.height, test::picture);
    paintHeader(picture.graphics(), header(1), test::installerSettings(kAccent));
    for (auto [px, py] : {std::pair{60, 2}, {60, 21}, {270, 2}, {282, 12}})
        EXPECT_EQ(picture.rgb(px, py), test::picture(px, py) & 0xFFFFFF) << px << "," << py;
}

TEST(HeaderPaintTest, PressedButtonItemIsDeeper) {
    Canvas canvas(kHeader.width, kHeader.height, test::grey);
    paintHeader(canvas.graphics(), header(1, true), test::installerSettings(kAccent));
    EXPECT_TRUE(closeTo(canvas.rgb(103, 0), blend(0x808080, 0x78FF0000), 4)) << std::hex << canvas.rgb(103, 0);
    // Still alpha 60 or more near the bottom, where the hot face is nearly clear.
    EXPECT_GT(test::redOf(canvas.rgb(103, 20)), test::redOf(blend(0x808080, 0x3CFF0000)) - 4);
}

TEST(HeaderPaintTest, SeparatorsAndTheLineUnderTheHeader) {
    Canvas canvas(kHeader.width, kHeader.height, test::grey);
    paintHeader(canvas.graphics(), header(-1), test::opaqueSettings(kAccent));
    const std::uint32_t white = 0xFFFFFF;
    EXPECT_EQ(canvas.rgb(50, 1), white) << "opaque backgrounds make the header white";
    EXPECT_TRUE(closeTo(canvas.rgb(99, 12), blend(white, 0x28000000)));
    EXPECT_TRUE(closeTo(canvas.rgb(179, 12), blend(white, 0x28000000)));
    EXPECT_EQ(canvas.rgb(99, 1), white) << "the separator starts 3 pixels down";
    EXPECT_TRUE(closeTo(canvas.rgb(290, 23), blend(white, 0x50000000))) << "the line runs past the last item";
}

TEST(HeaderPaintTest, TitlesFollowTheirItemsAlignment) {
    Canvas canvas(kHeader.width, kHeader.height, test::grey);
    HeaderPaint paint = header(-1);
    paint.textColour = 0x000000FF;  // red titles on the grey/white header
    ControlSettings settings = test::installerSettings(0x00FF0000);
    paintHeader(canvas.graphics(), paint, settings);
    for (size_t i = 0; i < paint.items.size(); ++i) {
        const RectI& r = paint.items[i].rect;
        const test::InkBox ink = inkBox(canvas, test::reddish, r.x, 0, r.x + r.width, kHeader.height);
        ASSERT_GT(ink.width(), 10) << "item " << i;
        const int leftSpace = ink.left - r.x, rightSpace = r.x + r.width - 1 - ink.right;
        switch (paint.items[i].format & HDF_JUSTIFYMASK) {
            case HDF_LEFT:
                EXPECT_NEAR(leftSpace, kHeaderTextInset, 3) << i;
                break;
            case HDF_RIGHT:
                EXPECT_NEAR(rightSpace, kHeaderTextInset + 1, 4) << i;
                break;
            default:
                EXPECT_NEAR(leftSpace, rightSpace, 3) << i;
        }
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 11.0, 2.0) << "title " << i << " not centred down";
    }
}

TEST(ListViewPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    // Small and with one-character titles: every look and every object the
    // painter makes, at the least cost per paint (GDI+ text is slow under Wine).
    HeaderPaint paint = header(-1);
    paint.size = {80, 20};
    paint.items = {{{0, 0, 40, 20}, L"名", HDF_LEFT}, {{40, 0, 40, 20}, L"大", HDF_CENTER}};
    Canvas canvas(paint.size.width, paint.size.height, test::picture);
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        paint.hotItem = i % 3 - 1;
        paint.pressed = i % 2 == 0;
        // A graphics per paint, as the header procedure makes one: each paint
        // starts from the default modes.
        GdipGraphics graphics;
        ASSERT_TRUE(graphics.fromHdc(canvas.dc()));
        paintHeader(graphics, paint, {});
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
