// The progress bar: the share of the bar that is filled for any range and
// position, and the pixels of the installer's bar at 0, 40 and 100 %, a
// vertical bar and a range that does not start at 0.
#include "skin/controls/progress_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::Canvas;
using test::reddish;

constexpr COLORREF kAccent = 0x000000FF;  // red

TEST(ProgressFillLengthTest, ShareOfTheRangeAboveItsLowEndClampedToTheBar) {
    struct Case {
        const char* what;
        int extent, low, high, position, length;
    } cases[] = {
        {"nothing done", 500, 0, 100, 0, 0},
        {"installer at 40 %", 500, 0, 100, 40, 200},
        {"installer at 100 %", 500, 0, 100, 100, 500},
        {"truncated toward zero", 500, 0, 300, 120, 200},
        {"truncated, not rounded", 100, 0, 3, 2, 66},
        {"range from 50: the low end fills nothing", 200, 50, 150, 50, 0},
        {"range from 50: half way", 200, 50, 150, 100, 100},
        {"range from 50: the high end fills the bar", 200, 50, 150, 150, 200},
        {"past the high end stays in the bar", 200, 50, 150, 400, 200},
        {"below the low end fills nothing", 200, 50, 150, -10, 0},
        {"empty range", 200, 7, 7, 7, 0},
        {"empty range, position elsewhere", 200, 7, 7, 100, 0},
        {"negative range", 300, -100, 200, 50, 150},
        {"range given high to low", 100, 100, 0, 25, 75},
        {"whole int range without overflow", 1000, INT_MIN, INT_MAX, 0, 500},
        {"no extent", 0, 0, 100, 50, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(progressFillLength(c.extent, c.low, c.high, c.position), c.length) << c.what;
}

TEST(ProgressGeometryTest, FilledPartAndRoundedFill) {
    struct Case {
        const char* what;
        SizeI size;
        bool vertical;
        int position;
        RectI filled;
        RectF fill;
    } cases[] = {
        {"installer at 40 %", {500, 6}, false, 40, {0, 0, 200, 6}, {1, 1, 197, 3}},
        {"installer at 100 %", {500, 6}, false, 100, {0, 0, 500, 6}, {1, 1, 497, 3}},
        {"installer at 0 %", {500, 6}, false, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"vertical grows from the bottom", {6, 100}, true, 40, {0, 60, 6, 40}, {1, 61, 3, 37}},
        {"too short for the rounded fill", {500, 6}, false, 1, {0, 0, 5, 6}, {1, 1, 2, 3}},
        {"one pixel done, nothing drawable", {100, 6}, false, 1, {0, 0, 1, 6}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const ProgressGeometry g = progressGeometry(c.size, c.vertical, 0, 100, c.position);
        EXPECT_EQ(g.filled.x, c.filled.x) << c.what;
        EXPECT_EQ(g.filled.y, c.filled.y) << c.what;
        EXPECT_EQ(g.filled.width, c.filled.width) << c.what;
        EXPECT_EQ(g.filled.height, c.filled.height) << c.what;
        EXPECT_FLOAT_EQ(g.fill.x, c.fill.x) << c.what;
        EXPECT_FLOAT_EQ(g.fill.y, c.fill.y) << c.what;
        EXPECT_FLOAT_EQ(g.fill.width, c.fill.width) << c.what;
        EXPECT_FLOAT_EQ(g.fill.height, c.fill.height) << c.what;
    }
}

// Paints a bar over plain grey and reports the box of pixels where the accent
// shows: the extent of the rounded fill with its outline.
struct Painted {
    int left = -1, top = -1, right = -1, bottom = -1;  // -1 when no accent shows
};
Painted paintBar(SizeI size, bool vertical, int low, int high, int position) {
    Canvas canvas(size.width, size.height, test::grey);
    paintProgressBar(canvas.graphics(), {size, vertical, low, high, position}, test::installerSettings(kAccent));
    Painted p;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            if (!reddish(canvas.rgb(x, y))) continue;
            if (p.left < 0 || x < p.left) p.left = x;
            if (p.top < 0 || y < p.top) p.top = y;
            p.right = std::max(p.right, x);
            p.bottom = std::max(p.bottom, y);
        }
    return p;
}

TEST(ProgressPaintTest, InstallerBarAtZeroFortyAndHundred) {
    // The rounded fill (1, 1, length, 3) and its outline cover x = 1 to
    // 1 + length and y = 1 to 4.
    struct Case {
        int position;
        int left, right, top, bottom;
    } cases[] = {{0, -1, -1, -1, -1}, {40, 1, 198, 1, 4}, {100, 1, 498, 1, 4}};
    for (const Case& c : cases) {
        const Painted p = paintBar({500, 6}, false, 0, 100, c.position);
        EXPECT_EQ(p.left, c.left) << c.position << " %";
        EXPECT_EQ(p.right, c.right) << c.position << " %";
        EXPECT_EQ(p.top, c.top) << c.position << " %";
        EXPECT_EQ(p.bottom, c.bottom) << c.position << " %";
    }
}

TEST(ProgressPaintTest, FillIsAccentInsideWhitishOnTheNearEdgeAndTroughBeyond) {
    Canvas canvas(500, 6, test::grey);
    paintProgressBar(canvas.graphics(), {{500, 6}, false, 0, 100, 40}, test::installerSettings(kAccent));
    // Inside the fill, the gradient runs from whitish at the top to the accent
    // at the bottom; the trough beyond is neither.
    const std::uint32_t nearEdge = canvas.rgb(100, 2), farEdge = canvas.rgb(100, 3);
    EXPECT_GT(test::greenOf(nearEdge), test::greenOf(farEdge)) << std::hex << nearEdge << " " << farEdge;
    EXPECT_TRUE(reddish(farEdge));
    EXPECT_FALSE(reddish(canvas.rgb(300, 3)));
    // The frame's corners are round: the very corner pixel keeps the background.
    EXPECT_EQ(canvas.rgb(0, 0), 0x808080u);
}

TEST(ProgressPaintTest, VerticalBarFillsFromTheBottomUp) {
    const Painted p = paintBar({10, 100}, true, 0, 100, 40);
    // Filled rows 60..99; the rounded fill (1, 61, 7, 37) with its outline.
    EXPECT_EQ(p.top, 61);
    EXPECT_EQ(p.bottom, 98);
    EXPECT_EQ(p.left, 1);
    EXPECT_EQ(p.right, 8);
}

TEST(ProgressPaintTest, RangeNotStartingAtZeroMeasuresFromItsLowEnd) {
    struct Case {
        int position, left, right;
    } cases[] = {{50, -1, -1}, {100, 1, 98}, {150, 1, 198}, {250, 1, 198}};
    for (const Case& c : cases) {
        const Painted p = paintBar({200, 8}, false, 50, 150, c.position);
        EXPECT_EQ(p.left, c.left) << c.position;
        EXPECT_EQ(p.right, c.right) << c.position;
    }
}

TEST(ProgressPaintTest, EmptyRangeDrawsFrameAndTroughOnly) {
    EXPECT_EQ(paintBar({200, 8}, false, 30, 30, 30).left, -1);
    Canvas canvas(200, 8, test::grey);
    paintProgressBar(canvas.graphics(), {{200, 8}, false, 30, 30, 30}, test::installerSettings(kAccent));
    EXPECT_NE(canvas.rgb(100, 0), 0x808080u) << "the frame must still be drawn";
}

TEST(ProgressPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        Canvas canvas(500, 6, test::picture);
        paintProgressBar(canvas.graphics(), {{500, 6}, i % 2 == 1, 0, 100, i % 101}, test::installerSettings(kAccent));
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
