// The combo box: its kinds and drop button, the key-coloured child areas, the
// frame and button looks, and the drop-down list's text in 宋体 12.
#include "skin/controls/combo_paint.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_string_format.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::blend;
using test::Canvas;
using test::closeTo;

constexpr COLORREF kAccent = 0x000000FF;  // red
constexpr std::uint32_t kMagenta = 0xFF00FF;

TEST(ComboKindTest, FromTheTypeBitsOfTheStyle) {
    struct Case {
        DWORD style;
        ComboKind kind;
        int button;
    } cases[] = {
        {CBS_SIMPLE, ComboKind::Simple, 0},
        {CBS_DROPDOWN, ComboKind::DropDown, 18},
        {CBS_DROPDOWNLIST, ComboKind::DropDownList, 17},
        {CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_CHILD, ComboKind::DropDownList, 17},
        {CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS, ComboKind::DropDown, 18},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(comboKindOf(c.style), c.kind) << std::hex << c.style;
        EXPECT_EQ(comboDropButtonWidth(c.kind), c.button) << std::hex << c.style;
    }
}

TEST(ComboGeometryTest, DropButtonSitsTwoPixelsInsideTheRightAndTopEdges) {
    struct Case {
        ComboKind kind;
        RectI button;
    } cases[] = {
        {ComboKind::DropDownList, {101, 2, 17, 20}},
        {ComboKind::DropDown, {100, 2, 18, 20}},
        {ComboKind::Simple, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const RectI r = comboDropButton({120, 24}, c.kind);
        EXPECT_EQ(r.x, c.button.x);
        EXPECT_EQ(r.y, c.button.y);
        EXPECT_EQ(r.width, c.button.width);
        EXPECT_EQ(r.height, c.button.height);
    }
}

TEST(ComboGeometryTest, SimpleCombosKeepEveryChildOthersOnlyTheEdit) {
    const std::vector<ComboChild> children = {{{3, 3, 90, 18}, true}, {{0, 24, 120, 80}, false}};
    EXPECT_EQ(comboKeyedAreas(ComboKind::Simple, children).size(), 2u);
    const std::vector<RectI> dropDown = comboKeyedAreas(ComboKind::DropDown, children);
    ASSERT_EQ(dropDown.size(), 1u);
    EXPECT_EQ(dropDown[0].y, 3);
    EXPECT_TRUE(comboKeyedAreas(ComboKind::DropDownList, {{{0, 24, 120, 80}, false}}).empty());
}

ComboPaint dropDown(bool hot, bool focused) {
    ComboPaint combo;
    combo.size = {120, 24};
    combo.kind = ComboKind::DropDown;
    combo.hot = hot;
    combo.focused = focused;
    combo.keyedAreas = {{3, 3, 95, 18}};
    return combo;
}

TEST(ComboPaintTest, ChildEditAreaIsExactlyTheKeyColour) {
    Canvas canvas(120, 24, test::picture);
    paintComboBox(canvas.graphics(), dropDown(false, false), test::installerSettings(kAccent));
    for (auto [x, y] : {std::pair{3, 3}, {50, 12}, {97, 20}}) EXPECT_EQ(canvas.rgb(x, y), kMagenta) << x << "," << y;
    // Just outside it the picture shows (alpha 0 fill), not the key.
    EXPECT_EQ(canvas.rgb(2, 12), test::picture(2, 12) & 0xFFFFFF);
    EXPECT_EQ(canvas.rgb(50, 21), test::picture(50, 21) & 0xFFFFFF);
}

TEST(ComboPaintTest, FrameAndDropButtonFollowHotAndFocus) {
    // Opaque white ground, so the line colours can be read exactly.
    struct Case {
        bool hot, focused;
        std::uint32_t frame, buttonLine;
    } cases[] = {
        {false, false, 0x50000000, 0x50000000},
        {false, true, 0xC8FF0000, 0x50000000},  // focus lights the frame only
        {true, false, 0xC8FF0000, 0xC8FF0000},
    };
    for (const Case& c : cases) {
        Canvas canvas(120, 24, test::grey);
        paintComboBox(canvas.graphics(), dropDown(c.hot, c.focused), test::opaqueSettings(kAccent));
        const std::uint32_t frame = canvas.rgb(0, 12), button = canvas.rgb(60, 0);
        EXPECT_TRUE(closeTo(frame, blend(0xFFFFFF, c.frame))) << c.hot << c.focused << std::hex << " " << frame;
        EXPECT_TRUE(closeTo(button, blend(0xFFFFFF, c.frame))) << "top edge " << std::hex << button;
        // The drop button's left outline at mid height: x = 120 - 18 - 2.
        const std::uint32_t outline = canvas.rgb(100, 12);
        EXPECT_TRUE(closeTo(outline, blend(0xFFFFFF, c.buttonLine), 40))
            << c.hot << c.focused << std::hex << " " << outline;
        EXPECT_EQ(test::reddish(outline), c.hot);
    }
}

// Rows and columns that hold a pixel far from the ground colour.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int height() const { return bottom < top ? 0 : bottom - top + 1; }
};
Ink inkOf(Canvas& canvas, int x0, int x1, bool (*isInk)(std::uint32_t)) {
    Ink ink;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (isInk(canvas.rgb(x, y))) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

ComboPaint dropDownList(int height, const wchar_t* text) {
    ComboPaint combo;
    combo.size = {140, height};
    combo.kind = ComboKind::DropDownList;
    combo.text = text;
    combo.textColour = 0x000000FF;  // red
    return combo;
}

TEST(ComboPaintTest, DropDownListTextIsSongTwelvePixelsCentredLeftOfTheButton) {
    // The same text through GDI+ directly in 宋体 at 12 pixels: the painter's
    // text must land on exactly those pixels. A different face or size
    // would not (checked against 黑体 and 宋体 16 below).
    auto reference = [](Canvas& canvas, const wchar_t* face, float size, int height) {
        GdipFont font;
        GdipSolidBrush brush;
        GdipStringFormat format;
        ASSERT_TRUE(font.createByName(std::wstring_view(face), size, 0, Gdiplus::UnitPixel)) << "face missing";
        ASSERT_TRUE(brush.create(0xFFFF0000));
        ASSERT_TRUE(format.create(Gdiplus::StringFormatFlagsNoWrap));
        format.setLineAlign(Gdiplus::StringAlignmentCenter);
        canvas.graphics().drawString(std::wstring_view(L"安装目录 C:\\"), font, brush,
                                     RectF{3, 0, 140 - 17 - 2 - 3, static_cast<float>(height)}, &format);
    };
    std::vector<int> inkHeights;
    for (int height : {22, 40}) {
        Canvas painted(140, height, test::grey);
        paintComboBox(painted.graphics(), dropDownList(height, L"安装目录 C:\\"), test::opaqueSettings(kAccent));
        const Ink ink = inkOf(painted, 1, 140 - 17 - 2, test::reddish);
        ASSERT_GT(ink.height(), 6) << "no text drawn at height " << height;
        inkHeights.push_back(ink.height());
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (height - 1) / 2.0, 2.0) << "not centred at height " << height;

        Canvas song(140, height, test::grey);
        song.graphics().clear(0xFFFFFFFF);
        reference(song, L"宋体", 12, height);
        int differing = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 1; x < ink.right + 2; ++x)
                differing += test::reddish(painted.rgb(x, y)) != test::reddish(song.rgb(x, y));
        EXPECT_EQ(differing, 0) << "height " << height;

        for (auto [face, size] : {std::pair{L"黑体", 12.0f}, {L"宋体", 16.0f}}) {
            Canvas other(140, height, test::grey);
            other.graphics().clear(0xFFFFFFFF);
            reference(other, face, size, height);
            int otherDiffering = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 1; x < 120; ++x)
                    otherDiffering += test::reddish(painted.rgb(x, y)) != test::reddish(other.rgb(x, y));
            EXPECT_GT(otherDiffering, 10) << "the check cannot tell " << size << " apart";
        }
    }
    EXPECT_EQ(inkHeights[0], inkHeights[1]) << "the text must not grow with the combo";
}

TEST(ComboPaintTest, DropDownComboDrawsNoText) {
    ComboPaint combo = dropDownList(24, L"文字");
    combo.kind = ComboKind::DropDown;
    Canvas canvas(140, 24, test::grey);
    paintComboBox(canvas.graphics(), combo, test::opaqueSettings(0x00FF0000));  // blue accent
    EXPECT_EQ(inkOf(canvas, 1, 100, test::reddish).height(), 0);
}

TEST(ComboPaintTest, ArrowIsCentredInTheDropButton) {
    Canvas canvas(120, 24, test::grey);
    ComboPaint combo = dropDownList(24, L"");
    combo.size = {120, 24};
    paintComboBox(canvas.graphics(), combo, test::opaqueSettings(kAccent));
    // The 7 x 4 arrow in the cell (101, 2, 17, 20): x 106..112, y 10..13.
    auto dark = [](std::uint32_t c) { return test::redOf(c) < 80 && test::greenOf(c) < 80 && test::blueOf(c) < 80; };
    EXPECT_TRUE(dark(canvas.rgb(109, 10))) << std::hex << canvas.rgb(109, 10);
    EXPECT_FALSE(dark(canvas.rgb(109, 6)));
    EXPECT_FALSE(dark(canvas.rgb(103, 11)));
}

TEST(ComboPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        Canvas canvas(140, 24, test::picture);
        ComboPaint combo = dropDownList(24, L"选项");
        combo.hot = i % 2 == 0;
        combo.keyedAreas = {{3, 3, 20, 10}};
        paintComboBox(canvas.graphics(), combo, test::installerSettings(kAccent));
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
