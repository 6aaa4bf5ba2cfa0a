// The track bar: tick placement from the style, the channel of a vertical
// bar, the thumb ellipse, the selected stretch, and the looks the painter
// switches (frame, hot thumb, selection).
#include "skin/controls/trackbar_paint.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/controls/control_install.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::Canvas;
using test::reddish;

constexpr COLORREF kAccent = 0x000000FF;  // red

TEST(TickPlacementTest, FromTheStyleBits) {
    struct Case {
        DWORD style;
        TickPlacement placement;
    } cases[] = {
        {TBS_HORZ, TickPlacement::BottomOrRight},
        {TBS_BOTTOM | TBS_AUTOTICKS, TickPlacement::BottomOrRight},
        {TBS_TOP, TickPlacement::TopOrLeft},
        {TBS_VERT | TBS_LEFT, TickPlacement::TopOrLeft},
        {TBS_BOTH, TickPlacement::Both},
        {TBS_NOTICKS, TickPlacement::None},
        {TBS_NOTICKS | TBS_TOP | TBS_BOTH, TickPlacement::None},
        {TBS_TOP | TBS_BOTH, TickPlacement::TopOrLeft},
    };
    for (const Case& c : cases) EXPECT_EQ(tickPlacementOf(c.style), c.placement) << std::hex << c.style;
}

TEST(TrackBarChannelTest, VerticalChannelReportedLyingIsStoodUp) {
    struct Case {
        RECT reported;
        bool vertical;
        RECT expected;
    } cases[] = {
        {{8, 10, 192, 14}, false, {8, 10, 192, 14}},
        {{8, 10, 192, 14}, true, {10, 8, 14, 192}},
        {{10, 8, 14, 192}, true, {10, 8, 14, 192}},
    };
    for (const Case& c : cases) {
        const RECT r = trackBarChannel(c.reported, c.vertical);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

TEST(TrackBarThumbTest, CircleOfTheNarrowSideAwayFromTheTicks) {
    const RECT lying{10, 5, 21, 26};    // 11 x 21, horizontal bar
    const RECT upright{5, 10, 26, 21};  // 21 x 11, vertical bar
    struct Case {
        RECT thumb;
        bool vertical;
        TickPlacement ticks;
        RectF ellipse;
    } cases[] = {
        {lying, false, TickPlacement::BottomOrRight, {10, 5, 10, 10}},
        {lying, false, TickPlacement::TopOrLeft, {10, 15, 10, 10}},
        {lying, false, TickPlacement::Both, {10, 10, 10, 10}},
        {lying, false, TickPlacement::None, {10, 10, 10, 10}},
        {upright, true, TickPlacement::BottomOrRight, {5, 10, 10, 10}},
        {upright, true, TickPlacement::TopOrLeft, {15, 10, 10, 10}},
        {RECT{0, 0, 1, 20}, false, TickPlacement::None, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const RectF e = trackBarThumbEllipse(c.thumb, c.vertical, c.ticks);
        const int ticks = static_cast<int>(c.ticks);
        EXPECT_FLOAT_EQ(e.x, c.ellipse.x) << ticks << c.vertical;
        EXPECT_FLOAT_EQ(e.y, c.ellipse.y) << ticks << c.vertical;
        EXPECT_FLOAT_EQ(e.width, c.ellipse.width) << ticks << c.vertical;
        EXPECT_FLOAT_EQ(e.height, c.ellipse.height) << ticks << c.vertical;
        // Always inside the thumb the control reports.
        EXPECT_GE(e.x, c.thumb.left);
        EXPECT_GE(e.y, c.thumb.top);
        EXPECT_LE(e.x + e.width, c.thumb.right);
        EXPECT_LE(e.y + e.height, c.thumb.bottom);
    }
}

TEST(TrackBarSelectionTest, PositionsMapWhereTheThumbCentreWouldBe) {
    const RECT channel{8, 10, 192, 14};  // 184 long
    const RECT thumb{0, 0, 11, 21};      // 11 long: the centre travels 173 pixels from 8 + 5
    struct Case {
        int min, max, start, end;
        RectI expected;
    } cases[] = {
        {0, 100, 20, 60, {13 + 34, 10, 103 - 34, 4}},
        {0, 100, 60, 20, {13 + 34, 10, 103 - 34, 4}},
        {0, 100, 0, 100, {13, 10, 173, 4}},
        {0, 100, -50, 500, {13, 10, 173, 4}},
        {100, 200, 150, 200, {13 + 86, 10, 173 - 86, 4}},
        {5, 5, 5, 5, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const RectI s = trackBarSelection(channel, thumb, false, c.min, c.max, c.start, c.end);
        EXPECT_EQ(s.x, c.expected.x) << c.start << ".." << c.end;
        EXPECT_EQ(s.y, c.expected.y);
        EXPECT_EQ(s.width, c.expected.width) << c.start << ".." << c.end;
        EXPECT_EQ(s.height, c.expected.height);
    }
    const RectI vertical = trackBarSelection({10, 8, 14, 192}, {0, 0, 21, 11}, true, 0, 100, 0, 100);
    EXPECT_EQ(vertical.x, 10);
    EXPECT_EQ(vertical.y, 13);
    EXPECT_EQ(vertical.width, 4);
    EXPECT_EQ(vertical.height, 173);
}

TrackBarPaint horizontalBar() {
    TrackBarPaint bar;
    bar.size = {200, 30};
    bar.channel = {8, 8, 192, 12};
    bar.thumb = {95, 2, 106, 23};
    bar.ticks = TickPlacement::BottomOrRight;
    return bar;
}

TEST(TrackBarPaintTest, HotThumbIsOutlinedInTheAccent) {
    for (bool hot : {false, true}) {
        Canvas canvas(200, 30, test::grey);
        TrackBarPaint bar = horizontalBar();
        bar.hot = hot;
        paintTrackBar(canvas.graphics(), bar, test::opaqueSettings(kAccent));
        // The circle (95, 2, 10, 10): its left outline at mid height.
        int red = 0;
        for (int y = 4; y <= 10; ++y) red += reddish(canvas.rgb(95, y));
        EXPECT_EQ(red > 0, hot) << "hot " << hot;
        EXPECT_FALSE(reddish(canvas.rgb(100, 7))) << "the face inside is never the accent";
    }
}

TEST(TrackBarPaintTest, FrameIsDrawnOnlyWhileEnabled) {
    for (bool frame : {false, true}) {
        Canvas canvas(200, 30, test::grey);
        ControlSettings settings = test::opaqueSettings(kAccent);
        settings.trackBarFrameEnabled = frame;
        paintTrackBar(canvas.graphics(), horizontalBar(), settings);
        // Well away from channel and thumb: the frame's inside fill.
        EXPECT_EQ(canvas.rgb(40, 20) != 0x808080u, frame) << std::hex << canvas.rgb(40, 20);
    }
}

TEST(TrackBarPaintTest, SelectionIsOutlinedInWhiteOverTheChannel) {
    Canvas plain(200, 30, test::grey), selected(200, 30, test::grey);
    TrackBarPaint bar = horizontalBar();
    ControlSettings settings = test::opaqueSettings(kAccent);
    settings.trackBarFrameEnabled = false;
    paintTrackBar(plain.graphics(), bar, settings);
    bar.selectionRange = true;
    bar.selectionStart = 10;
    bar.selectionEnd = 40;
    paintTrackBar(selected.graphics(), bar, settings);
    // The stretch runs from 8 + 5 + 17 to 8 + 5 + 69 on the channel's top row.
    const std::uint32_t inside = selected.rgb(50, 8), before = plain.rgb(50, 8);
    EXPECT_GT(test::greenOf(inside), test::greenOf(before) + 40) << std::hex << inside << " " << before;
    EXPECT_EQ(selected.rgb(150, 8), plain.rgb(150, 8)) << "beyond the selection nothing changes";
}

TEST(TrackBarPaintTest, VerticalBarShadesAcrossItsWidth) {
    Canvas canvas(30, 200, test::grey);
    TrackBarPaint bar;
    bar.size = {30, 200};
    bar.vertical = true;
    bar.channel = {8, 8, 12, 192};
    bar.thumb = {2, 95, 23, 106};
    paintTrackBar(canvas.graphics(), bar, test::opaqueSettings(kAccent));
    // The frame's fill goes from whitish on the left to darker on the right,
    // and does not change down a column.
    EXPECT_GT(test::greenOf(canvas.rgb(3, 40)), test::greenOf(canvas.rgb(26, 40)) + 20);
    EXPECT_EQ(canvas.rgb(3, 40), canvas.rgb(3, 160));
}

TEST(TrackBarPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        Canvas canvas(200, 30, test::picture);
        TrackBarPaint bar = horizontalBar();
        bar.hot = i % 2 == 0;
        bar.selectionRange = i % 3 == 0;
        bar.selectionEnd = 50;
        paintTrackBar(canvas.graphics(), bar, test::installerSettings(kAccent));
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
