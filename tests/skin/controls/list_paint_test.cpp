// The list controls' frame: when a border is drawn, its looks, the background
// outside the client area, a combo list's key colour; and which list boxes
// keep their own erasing.
#include "skin/controls/list_paint.h"

#include <gtest/gtest.h>

#include "skin/controls/core/control_colour.h"
#include "skin/controls/edit_paint.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::blend;
using test::Canvas;
using test::closeTo;

constexpr COLORREF kAccent = 0x000000FF;  // red

TEST(ListBorderTest, BorderStyleOrAnyEdgeAsksForALine) {
    struct Case {
        DWORD style, exStyle;
        bool border;
    } cases[] = {
        {WS_CHILD | WS_BORDER, 0, true},
        {WS_CHILD, WS_EX_WINDOWEDGE, true},                                     // 0x100
        {WS_CHILD, WS_EX_CLIENTEDGE, true},                                     // 0x200
        {WS_CHILD, WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, true},                  // 0x300
        {WS_CHILD, WS_EX_DLGMODALFRAME, true},                                  // 0x1
        {WS_CHILD, WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, true},  // 0x188
        {WS_CHILD, WS_EX_STATICEDGE, true},
        {WS_CHILD | WS_CAPTION, 0, true},  // a caption includes the border bit
        {WS_CHILD, 0, false},
        {WS_CHILD | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY, 0, false},
        {WS_CHILD, WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_NOPARENTNOTIFY, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hasListBorder(c.style, c.exStyle), c.border) << std::hex << c.style << " " << c.exStyle;
}

TEST(ListBorderTest, OwnerDrawnListBoxesByTheirStyle) {
    struct Case {
        DWORD style;
        bool ownerDrawn;
    } cases[] = {
        {LBS_OWNERDRAWFIXED, true},
        {LBS_OWNERDRAWVARIABLE, true},
        {LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL, true},
        {LBS_STANDARD, false},
        {LBS_NOTIFY | LBS_HASSTRINGS | LBS_MULTIPLESEL | LBS_SORT, false},
        {0, false},
    };
    for (const Case& c : cases) EXPECT_EQ(isOwnerDrawnListBox(c.style), c.ownerDrawn) << std::hex << c.style;
}

// A 120 x 80 list box with a client edge (2 pixels) and a vertical scroll bar.
constexpr SizeI kWindow{120, 80};
const RectI kClient = clientAreaInWindow(kWindow, {99, 76}, 17, 0);

ListFramePaint frame(bool hot, bool focused, bool border = true) {
    ListFramePaint paint;
    paint.window = kWindow;
    paint.client = kClient;
    paint.hot = hot;
    paint.focused = focused;
    paint.border = border;
    return paint;
}

TEST(ListFrameTest, OneLineInTheLookOfHoverAndFocus) {
    struct Case {
        bool hot, focused;
        std::uint32_t line;
    } cases[] = {
        {false, false, 0x50000000},
        {true, false, 0xB4FF0000},
        {false, true, 0xB4FF0000},
        {true, true, 0xB4FF0000},
    };
    for (const Case& c : cases) {
        Canvas canvas(kWindow.width, kWindow.height, test::picture);
        paintListFrame(canvas.graphics(), frame(c.hot, c.focused), test::installerSettings(kAccent));
        for (auto [x, y] : {std::pair{0, 40}, {119, 40}, {60, 0}, {60, 79}}) {
            const std::uint32_t want = blend(test::picture(x, y) & 0xFFFFFF, c.line);
            EXPECT_TRUE(closeTo(canvas.rgb(x, y), want))
                << c.hot << c.focused << " at " << x << "," << y << std::hex << ": " << canvas.rgb(x, y);
        }
        // One pixel wide: the next pixel in shows the picture (alpha 0 fill).
        for (auto [x, y] : {std::pair{1, 40}, {118, 40}, {60, 1}, {60, 78}})
            EXPECT_EQ(canvas.rgb(x, y), test::picture(x, y) & 0xFFFFFF) << x << "," << y;
    }
}

TEST(ListFrameTest, ClientAreaIsNeverTouched) {
    for (bool translucent : {true, false}) {
        Canvas canvas(kWindow.width, kWindow.height, test::picture);
        ControlSettings settings = translucent ? test::installerSettings(kAccent) : test::opaqueSettings(kAccent);
        settings.backgroundAlpha = 160;
        paintListFrame(canvas.graphics(), frame(true, true), settings);
        for (auto [x, y] : {std::pair{kClient.x, kClient.y},
                            {50, 40},
                            {kClient.x + kClient.width - 1, kClient.y + kClient.height - 1}})
            EXPECT_EQ(canvas.rgb(x, y), test::picture(x, y) & 0xFFFFFF) << translucent << " " << x << "," << y;
        // The scroll bar's strip is outside the client: filled like the border.
        const int x = kClient.x + kClient.width + 5;
        const std::uint32_t fill = translucent ? blend(test::picture(x, 40) & 0xFFFFFF, 0xA0FFFFFF) : 0xFFFFFF;
        EXPECT_TRUE(closeTo(canvas.rgb(x, 40), fill)) << translucent << std::hex << " " << canvas.rgb(x, 40);
    }
}

TEST(ListFrameTest, NoBorderStyleGetsOnlyTheBackground) {
    Canvas canvas(kWindow.width, kWindow.height, test::picture);
    paintListFrame(canvas.graphics(), frame(true, true, false), test::opaqueSettings(kAccent));
    for (auto [x, y] : {std::pair{0, 40}, {119, 40}, {60, 0}, {60, 79}, {1, 40}})
        EXPECT_EQ(canvas.rgb(x, y), 0xFFFFFFu) << x << "," << y;
}

TEST(ListFrameTest, ComboListFrameStartsInTheKeyColour) {
    ListFramePaint paint = frame(false, false);
    paint.comboList = true;
    Canvas canvas(kWindow.width, kWindow.height, test::picture);
    paintListFrame(canvas.graphics(), paint, test::installerSettings(kAccent));
    EXPECT_EQ(kComboListKeyColour, 0x00FF00FFu);
    EXPECT_EQ(canvas.rgb(1, 40), 0xFF00FFu) << "with alpha 0 the frame area stays in the key colour";
    EXPECT_TRUE(closeTo(canvas.rgb(0, 40), blend(0xFF00FF, 0x50000000)));
    EXPECT_EQ(canvas.rgb(50, 40), test::picture(50, 40) & 0xFFFFFF) << "the list itself is left alone";
}

TEST(ListPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    Canvas canvas(kWindow.width, kWindow.height, test::picture);
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        ListFramePaint paint = frame(i % 2 == 0, i % 3 == 0, i % 5 != 0);
        paint.comboList = i % 7 == 0;
        paintListFrame(canvas.graphics(), paint, test::installerSettings(kAccent));
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
