// The up-down control: which half a point is in, the halves' geometry, and
// the looks of the halves at rest, under the pointer and pressed, with their
// arrows.
#include "skin/controls/updown_paint.h"

#include <gtest/gtest.h>

#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::Canvas;
using test::reddish;

constexpr COLORREF kAccent = 0x000000FF;  // red

TEST(UpDownPartAtTest, UpperOrLeftHalfIsTheFirst) {
    struct Case {
        SizeI size;
        bool horizontal;
        PointI pointer;
        UpDownPart part;
    } cases[] = {
        {{17, 22}, false, {8, 0}, UpDownPart::FirstArrow},   {{17, 22}, false, {8, 10}, UpDownPart::FirstArrow},
        {{17, 22}, false, {8, 11}, UpDownPart::SecondArrow}, {{17, 22}, false, {8, 21}, UpDownPart::SecondArrow},
        {{17, 21}, false, {8, 9}, UpDownPart::FirstArrow},   {{17, 21}, false, {8, 10}, UpDownPart::SecondArrow},
        {{34, 17}, true, {16, 8}, UpDownPart::FirstArrow},   {{34, 17}, true, {17, 8}, UpDownPart::SecondArrow},
        {{34, 17}, true, {0, 16}, UpDownPart::FirstArrow},   {{17, 22}, false, {16, -3}, UpDownPart::FirstArrow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(upDownPartAt(c.size, c.horizontal, c.pointer), c.part)
            << c.size.width << "x" << c.size.height << " at " << c.pointer.x << "," << c.pointer.y;
}

TEST(UpDownHalvesTest, HalvesMeetAtTheSplitTheHitTestUses) {
    const auto vertical = upDownHalves({17, 22}, false);
    EXPECT_FLOAT_EQ(vertical[0].y, 0);
    EXPECT_FLOAT_EQ(vertical[0].height, 10);  // rows 0..10
    EXPECT_FLOAT_EQ(vertical[1].y, 11);
    EXPECT_FLOAT_EQ(vertical[1].height, 10);  // rows 11..21
    EXPECT_FLOAT_EQ(vertical[1].width, 16);
    const auto horizontal = upDownHalves({35, 17}, true);
    EXPECT_FLOAT_EQ(horizontal[0].width, 16);  // columns 0..16
    EXPECT_FLOAT_EQ(horizontal[1].x, 17);
    EXPECT_FLOAT_EQ(horizontal[1].width, 17);  // columns 17..34
    EXPECT_FLOAT_EQ(horizontal[1].height, 16);
}

// Whether the outline of a half shows the accent: its outer side edge at the
// half's middle, where the rounded corners do not reach.
bool outlineLit(Canvas& canvas, bool horizontal, UpDownPart part) {
    if (horizontal) return reddish(canvas.rgb(part == UpDownPart::FirstArrow ? 8 : 25, 0));
    return reddish(canvas.rgb(0, part == UpDownPart::FirstArrow ? 5 : 16));
}

TEST(UpDownPaintTest, OnlyTheHalfUnderThePointerIsLit) {
    struct Case {
        bool horizontal, hot, pressed;
        UpDownPart active;
        bool firstLit, secondLit;
    } cases[] = {
        {false, false, false, UpDownPart::FirstArrow, false, false},
        {false, true, false, UpDownPart::FirstArrow, true, false},
        {false, true, false, UpDownPart::SecondArrow, false, true},
        {false, false, true, UpDownPart::SecondArrow, false, true},
        {true, true, false, UpDownPart::SecondArrow, false, true},
        {true, false, true, UpDownPart::FirstArrow, true, false},
    };
    for (const Case& c : cases) {
        const SizeI size = c.horizontal ? SizeI{34, 17} : SizeI{17, 22};
        Canvas canvas(size.width, size.height, test::grey);
        paintUpDown(canvas.graphics(), {size, c.horizontal, c.hot, c.pressed, c.active}, test::opaqueSettings(kAccent));
        EXPECT_EQ(outlineLit(canvas, c.horizontal, UpDownPart::FirstArrow), c.firstLit)
            << c.horizontal << c.hot << c.pressed << static_cast<int>(c.active);
        EXPECT_EQ(outlineLit(canvas, c.horizontal, UpDownPart::SecondArrow), c.secondLit)
            << c.horizontal << c.hot << c.pressed << static_cast<int>(c.active);
    }
}

TEST(UpDownPaintTest, PressedHalfReversesTheGradient) {
    // Hot: whitish at the top of the half, accent towards the bottom; pressed:
    // the other way round. Column 3 keeps clear of the arrow.
    const SizeI size{17, 44};
    Canvas hot(size.width, size.height, test::grey), pressed(size.width, size.height, test::grey);
    paintUpDown(hot.graphics(), {size, false, true, false, UpDownPart::SecondArrow}, test::opaqueSettings(kAccent));
    paintUpDown(pressed.graphics(), {size, false, false, true, UpDownPart::SecondArrow}, test::opaqueSettings(kAccent));
    const int top = 25, bottom = 40;
    EXPECT_GT(test::greenOf(hot.rgb(3, top)), test::greenOf(hot.rgb(3, bottom)) + 15);
    EXPECT_LT(test::greenOf(pressed.rgb(3, top)) + 15, test::greenOf(pressed.rgb(3, bottom)));
}

TEST(UpDownPaintTest, ArrowsAreCentredInTheirHalves) {
    auto dark = [](std::uint32_t c) { return test::redOf(c) < 90 && test::greenOf(c) < 90 && test::blueOf(c) < 90; };
    struct Case {
        bool horizontal;
        SizeI size;
        PointI firstArrow, secondArrow, between;
    } cases[] = {
        // 7 x 4 arrows in 17 x 11 halves: columns 5..11, rows 3..6 and 14..17
        // (the first half's centre lands on a half pixel).
        {false, {17, 22}, {8, 5}, {8, 15}, {8, 11}},
        // 4 x 7 arrows in 17 x 17 halves: columns 6..9 and 23..26, rows 5..11.
        {true, {34, 17}, {7, 8}, {25, 8}, {17, 8}},
    };
    for (const Case& c : cases) {
        Canvas canvas(c.size.width, c.size.height, test::grey);
        paintUpDown(canvas.graphics(), {c.size, c.horizontal, false, false, UpDownPart::FirstArrow},
                    test::opaqueSettings(kAccent));
        EXPECT_TRUE(dark(canvas.rgb(c.firstArrow.x, c.firstArrow.y))) << c.horizontal;
        EXPECT_TRUE(dark(canvas.rgb(c.secondArrow.x, c.secondArrow.y))) << c.horizontal;
        EXPECT_FALSE(dark(canvas.rgb(c.between.x, c.between.y))) << c.horizontal;
    }
}

TEST(UpDownPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        Canvas canvas(17, 22, test::picture);
        paintUpDown(
            canvas.graphics(),
            {{17, 22}, i % 4 == 0, i % 2 == 0, i % 3 == 0, i % 5 ? UpDownPart::FirstArrow : UpDownPart::SecondArrow},
            test::installerSettings(kAccent));
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
