// The group box: where its frame and caption lie, the frame drawn over the
// picture with the caption set into its top edge, and nothing inside touched.
#include "skin/controls/container_paint.h"

#include <gtest/gtest.h>

#include <string>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_path.h"
#include "skin/controls/control_text.h"
#include "tests/skin/controls/ink_box.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::blend;
using test::Canvas;
using test::closeTo;
using test::inkBox;

constexpr std::uint32_t kFrameLine = 0x50000000;

void expectRect(const RectF& got, const RectF& want, const char* what) {
    EXPECT_FLOAT_EQ(got.x, want.x) << what;
    EXPECT_FLOAT_EQ(got.y, want.y) << what;
    EXPECT_FLOAT_EQ(got.width, want.width) << what;
    EXPECT_FLOAT_EQ(got.height, want.height) << what;
}

TEST(GroupBoxGeometryTest, FrameFollowsTheFillAndTheCaptionSitsInItsTopEdge) {
    struct Case {
        const char* what;
        SizeI size;
        float textWidth, textHeight;
        RectF frame, gap, caption;
    } cases[] = {
        {"caption fits", {200, 100}, 40, 14, {0, 5, 199, 94}, {8, 0, 46, 14}, {11, 0, 40, 14}},
        {"no caption", {200, 100}, 0, 0, {0, 5, 199, 94}, {}, {}},
        // 200 - 16 - 6 = 178 pixels of room for the text.
        {"caption cut to the room", {200, 100}, 300, 14, {0, 5, 199, 94}, {8, 0, 184, 14}, {11, 0, 178, 14}},
        {"too narrow for a caption", {22, 40}, 40, 14, {0, 5, 21, 34}, {}, {}},
        {"caption taller than the box", {100, 10}, 20, 14, {0, 5, 99, 4}, {8, 0, 26, 10}, {11, 0, 20, 10}},
    };
    for (const Case& c : cases) {
        const GroupBoxGeometry g = groupBoxGeometry(c.size, c.textWidth, c.textHeight);
        expectRect(g.frame, c.frame, c.what);
        expectRect(g.gap, c.gap, c.what);
        expectRect(g.caption, c.caption, c.what);
    }
}

// At 120, 144 and 192 DPI: the frame top, caption inset and space scaled,
// the line scaled(1) wide and moved in by half its extra width.
TEST(GroupBoxGeometryTest, NumbersScaleWithTheDpi) {
    struct Case {
        UINT dpi;
        RectF frame, gap, caption;
        float line;
        int corner;
    } cases[] = {
        {96, {0, 5, 199, 94}, {8, 0, 46, 14}, {11, 0, 40, 14}, 1, 5},
        {120, {0, 6, 199, 93}, {10, 0, 48, 14}, {14, 0, 40, 14}, 1, 6},  // 6.25, 10, 3.75 -> 4, 6.25
        {144, {0.5f, 8.5f, 198, 90}, {12, 0, 50, 14}, {17, 0, 40, 14}, 2, 8},
        {192, {0.5f, 10.5f, 198, 88}, {16, 0, 52, 14}, {22, 0, 40, 14}, 2, 10},
    };
    for (const Case& c : cases) {
        const GroupBoxGeometry g = groupBoxGeometry({200, 100}, 40, 14, c.dpi);
        const std::string what = std::to_string(c.dpi) + " DPI";
        expectRect(g.frame, c.frame, what.c_str());
        expectRect(g.gap, c.gap, what.c_str());
        expectRect(g.caption, c.caption, what.c_str());
        EXPECT_FLOAT_EQ(g.lineWidth, c.line) << what;
        EXPECT_EQ(g.corner, c.corner) << what;
    }
}

constexpr SizeI kBox{200, 100};

GroupBoxPaint groupBox(const wchar_t* caption) {
    GroupBoxPaint box;
    box.size = kBox;
    box.caption = caption;
    box.font = {L"宋体", 12, 0};
    box.textColour = 0x000000FF;  // red
    return box;
}

std::uint32_t lineOver(int x, int y) {
    return blend(test::picture(x, y) & 0xFFFFFF, kFrameLine);
}

TEST(GroupBoxPaintTest, FrameIsAThinDarkLineOverThePictureAndTheInsideIsLeftAlone) {
    Canvas canvas(kBox.width, kBox.height, test::picture);
    paintGroupBox(canvas.graphics(), groupBox(L""), test::installerSettings());
    // Left, right, top and bottom edges away from the corners.
    for (auto [x, y] : {std::pair{0, 50}, {199, 50}, {100, 5}, {20, 5}, {100, 99}})
        EXPECT_TRUE(closeTo(canvas.rgb(x, y), lineOver(x, y))) << x << "," << y << std::hex << ": " << canvas.rgb(x, y);
    // Inside the frame, just inside each edge, and above the top line: the picture.
    for (auto [x, y] : {std::pair{1, 50}, {198, 50}, {100, 6}, {100, 98}, {100, 4}, {100, 0}, {100, 50}})
        EXPECT_EQ(canvas.rgb(x, y), test::picture(x, y) & 0xFFFFFF) << x << "," << y;
    // The corners are rounded: the very corner pixel is not on the line.
    EXPECT_EQ(canvas.rgb(0, 5), test::picture(0, 5) & 0xFFFFFF);
}

TEST(GroupBoxPaintTest, CaptionInterruptsTheTopLineAndIsDrawnInItsColour) {
    Canvas canvas(kBox.width, kBox.height, test::grey);
    paintGroupBox(canvas.graphics(), groupBox(L"安装选项"), test::installerSettings());
    const test::InkBox ink = inkBox(canvas, test::reddish);
    ASSERT_GT(ink.width(), 30) << "no caption";
    // GDI+ keeps a little room before the first glyph inside the caption box.
    const int captionX = kGroupCaptionLeft + kGroupCaptionSpace;
    EXPECT_GE(ink.left, captionX);
    EXPECT_LE(ink.left, captionX + 4);
    EXPECT_LE(ink.top, 4);
    EXPECT_LT(ink.bottom, 16);
    // The whole caption, not cut short with an ellipsis: the same glyphs as
    // the text drawn on its own in a box with room to spare.
    Canvas reference(kBox.width, kBox.height, test::grey);
    {
        GdipFont font;
        ASSERT_TRUE(makeControlFont(font, {L"宋体", 12, 0}));
        useBlendedTextModes(reference.graphics());
        TextLayout layout;
        layout.wrap = false;
        ASSERT_TRUE(drawControlText(reference.graphics(), L"安装选项", font, 0x000000FF,
                                    RectF{static_cast<float>(captionX), 0, 150, 30}, layout));
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(test::reddish(canvas.rgb(x, y)), test::reddish(reference.rgb(x, y))) << x << "," << y;
    // The line runs up to the gap, is left out for the caption and the space
    // around it, and starts again a few pixels after the last glyph.
    const std::uint32_t line = blend(0x808080, kFrameLine);
    EXPECT_TRUE(closeTo(canvas.rgb(kGroupCaptionLeft - 1, 5), line));
    for (int x = kGroupCaptionLeft; x < captionX; ++x) EXPECT_EQ(canvas.rgb(x, 5), 0x808080u) << x;
    int lineStart = ink.right + 1;
    while (lineStart < kBox.width && !closeTo(canvas.rgb(lineStart, 5), line)) ++lineStart;
    EXPECT_GE(lineStart, ink.right + kGroupCaptionSpace) << "the caption touches the line";
    EXPECT_LE(lineStart, ink.right + kGroupCaptionSpace + 6) << "the gap is wider than the caption";
    for (int x = lineStart; x < kBox.width - 10; ++x) EXPECT_TRUE(closeTo(canvas.rgb(x, 5), line)) << x;
}

TEST(GroupBoxPaintTest, TranslucentFillEndsOnTheFrameLine) {
    // The container's fill as the background preparation lays it (the same
    // figure, white alpha 160), then the frame: no fill pixel lies outside it.
    Canvas canvas(kBox.width, kBox.height, test::grey);
    {
        GdipPath path;
        GdipSolidBrush brush;
        ASSERT_TRUE(path.create() && addRoundedRectangle(path, 0, 5, kBox.width, kBox.height - 6, 5));
        ASSERT_TRUE(brush.create(0xA0FFFFFF));
        canvas.graphics().fillPath(brush, path);
    }
    paintGroupBox(canvas.graphics(), groupBox(L""), test::installerSettings());
    for (auto [x, y] : {std::pair{100, 4}, {100, 0}}) EXPECT_EQ(canvas.rgb(x, y), 0x808080u) << x << "," << y;
    EXPECT_TRUE(closeTo(canvas.rgb(100, 50), blend(0x808080, 0xA0FFFFFF)));
    for (auto [x, y] : {std::pair{100, 5}, {0, 50}, {100, 99}})
        EXPECT_LT(test::redOf(canvas.rgb(x, y)), test::redOf(blend(0x808080, 0xA0FFFFFF))) << x << "," << y;
}

TEST(ContainerPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    // Small, with a one-character caption every other paint: the least cost
    // per paint that still makes every object the painter makes.
    GroupBoxPaint box = groupBox(L"选");
    box.size = {60, 30};
    Canvas canvas(box.size.width, box.size.height, test::picture);
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        box.caption = i % 2 ? L"选" : L"";
        paintGroupBox(canvas.graphics(), box, {});
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
