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

using test::Canvas;

constexpr int kWidth = 120, kHeight = 30;

std::uint32_t rgbOf(COLORREF colour) {
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// What a label paints natively: its background colour, then its text in the
// text colour, without anti-aliasing (so every pixel is one or the other).
void paintNativeLabel(Canvas& label, COLORREF background, COLORREF text) {
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
        Canvas window(kWidth, kHeight, test::picture), label(kWidth, kHeight, test::grey);
        paintNativeLabel(label, c.background, c.text);
        // The label's own paint really has text in it, whatever its colour
        // does afterwards: with a contrasting background it shows.
        Canvas contrast(kWidth, kHeight, test::grey);
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
    Canvas window(kWidth, kHeight, test::picture), drawn(kWidth, kHeight, test::picture);
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

TEST(KeyColourTest, InkCoverageReadsGlyphEdgesOnTheKeyAndNothingElse) {
    constexpr COLORREF kKey = kTreeViewKeyColour, kBlackInk = 0, kRedInk = RGB(200, 0, 0);
    const struct {
        const char* what;
        COLORREF pixel, ink;
        std::optional<float> share;
    } cases[] = {
        {"the key", kKey, kBlackInk, 0.0f},
        {"full ink", kBlackInk, kBlackInk, 1.0f},
        {"a glyph edge half way", RGB(128, 0, 128), kBlackInk, 0.5f},
        {"a quarter of red ink", RGB(241, 0, 191), kRedInk, 0.25f},
        {"a selection's blue", RGB(0, 120, 215), kBlackInk, std::nullopt},
        {"white", RGB(255, 255, 255), kBlackInk, std::nullopt},
        {"grey between key and ink in red and blue only", RGB(128, 128, 128), kBlackInk, std::nullopt},
        {"ink the same as the key tells nothing", RGB(128, 0, 128), kKey, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<float> share = inkCoverage(c.pixel, kKey, c.ink);
        ASSERT_EQ(share.has_value(), c.share.has_value()) << c.what;
        if (share) {
            EXPECT_NEAR(*share, *c.share, 0.01) << c.what;
        }
    }
}

// A native paint on the key: key pixels show the picture, ink lies on it by its
// coverage (no tint of the key at the edges), anything else is kept as drawn.
TEST(KeyColourTest, ComposingOverTheKeyBlendsGlyphEdgesWithThePicture) {
    const BackBuffer picture(3, 1), drawn(3, 1);
    const COLORREF below = RGB(40, 160, 80);
    for (int x = 0; x < 3; ++x) ::SetPixel(picture.dc(), x, 0, below);
    ::SetPixel(drawn.dc(), 0, 0, kTreeViewKeyColour);
    ::SetPixel(drawn.dc(), 1, 0, RGB(128, 0, 128));  // half black on the key
    ::SetPixel(drawn.dc(), 2, 0, RGB(0, 120, 215));
    ASSERT_TRUE(composeOverKey(picture.dc(), drawn.dc(), SizeI{3, 1}, kTreeViewKeyColour, 0));
    EXPECT_EQ(::GetPixel(picture.dc(), 0, 0), below);
    EXPECT_EQ(::GetPixel(picture.dc(), 1, 0), RGB(20, 80, 40));
    EXPECT_EQ(::GetPixel(picture.dc(), 2, 0), RGB(0, 120, 215));
}

}  // namespace
}  // namespace pelmora
