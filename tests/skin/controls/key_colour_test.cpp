// Keying: what a control paints in the key colour gives way to the picture,
// and everything else it paints stays. The rule is per pixel, so a label whose
// text is in the button-face colour (the control layer's key) loses its text,
// and a tree item drawn in magenta (the tree view's key) vanishes.
#include "skin/controls/key_colour.h"

#include <gtest/gtest.h>

#include "base/unique_resource.h"
#include "gfx/back_buffer.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::PainterCanvas;

constexpr int kWidth = 120, kHeight = 30;

std::uint32_t rgbOf(COLORREF colour) {
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// What a label paints natively: its background colour, then its text in the
// text colour, without anti-aliasing (so every pixel is one or the other).
void paintNativeLabel(PainterCanvas& label, COLORREF background, COLORREF text) {
    RECT all{0, 0, kWidth, kHeight};
    GdiBrush brush(::CreateSolidBrush(background));
    ::FillRect(label.dc(), &all, brush.get());
    GdiFont font(
        ::CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma"));
    SelectGuard selected(label.dc(), font.get());
    ::SetBkMode(label.dc(), TRANSPARENT);
    ::SetTextColor(label.dc(), text);
    ::DrawTextW(label.dc(), L"Install 安装", -1, &all, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

TEST(KeyColourTest, KeyedPixelsShowThePictureAndTextInTheKeyColourIsLost) {
    const COLORREF buttonFace = ::GetSysColor(COLOR_BTNFACE);
    struct Case {
        const char* what;
        COLORREF key, background, text;
        bool textShows;
    } cases[] = {
        {"label, black text", buttonFace, buttonFace, 0x00000000, true},
        {"label, text in the button-face colour", buttonFace, buttonFace, buttonFace, false},
        {"tree view, dark blue item", kTreeViewKeyColour, kTreeViewKeyColour, 0x00800000, true},
        {"tree view, magenta item", kTreeViewKeyColour, kTreeViewKeyColour, kTreeViewKeyColour, false},
    };
    for (const Case& c : cases) {
        PainterCanvas window(kWidth, kHeight), label(kWidth, kHeight, test::grey);
        paintNativeLabel(label, c.background, c.text);
        // The label's own paint really has text in it, whatever its colour
        // does afterwards: with a contrasting background it shows.
        PainterCanvas contrast(kWidth, kHeight, test::grey);
        paintNativeLabel(contrast, c.text ^ 0x00FFFFFF, c.text);
        int textPixels = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) textPixels += contrast.rgb(x, y) == rgbOf(c.text);
        ASSERT_GT(textPixels, 40) << c.what;

        ASSERT_TRUE(copyExceptKeyColour(window.dc(), {0, 0, kWidth, kHeight}, label.dc(), {0, 0}, c.key)) << c.what;
        int shown = 0, other = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t got = window.rgb(x, y);
                if (got == (test::picture(x, y) & 0xFFFFFF)) continue;
                if (got == rgbOf(c.text))
                    ++shown;
                else
                    ++other;
            }
        EXPECT_EQ(other, 0) << c.what << ": no pixel of the background may remain";
        if (c.textShows)
            EXPECT_EQ(shown, textPixels) << c.what;
        else
            EXPECT_EQ(shown, 0) << c.what << ": text in the key colour is keyed out with the background";
    }
}

TEST(KeyColourTest, CopiesIntoTheAreaFromTheGivenOrigin) {
    PainterCanvas window(kWidth, kHeight), drawn(kWidth, kHeight);
    RECT all{0, 0, kWidth, kHeight}, dot{40, 10, 44, 14};
    GdiBrush grey(::CreateSolidBrush(0x00808080));
    ::FillRect(drawn.dc(), &all, grey.get());
    ::FillRect(drawn.dc(), &dot, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    // The drawn area from (40, 10) lands at (5, 2); grey is the key.
    ASSERT_TRUE(copyExceptKeyColour(window.dc(), {5, 2, 10, 10}, drawn.dc(), {40, 10}, 0x00808080));
    EXPECT_EQ(window.rgb(5, 2), 0u);
    EXPECT_EQ(window.rgb(8, 5), 0u);
    EXPECT_EQ(window.rgb(9, 6), test::picture(9, 6) & 0xFFFFFF);
    EXPECT_EQ(window.rgb(40, 10), test::picture(40, 10) & 0xFFFFFF);
    EXPECT_FALSE(copyExceptKeyColour(window.dc(), {0, 0, 0, 10}, drawn.dc(), {0, 0}, 0x00808080));
}

}  // namespace
}  // namespace pelmora
