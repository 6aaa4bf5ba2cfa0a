// The dialog's caption from the numbers: a 320-pixel dialog at (200, 150) on
// screen has its strip at 284; the close button's columns give HTCLOSE from
// T + 4 to T + 20, the band down to T + 25 drags, and below it is client.
#include "skin/dialog/dialog_geometry.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pelmora {
namespace {

constexpr int kWidth = 320, kHeight = 140;
constexpr RECT kWindow{200, 150, 200 + kWidth, 150 + kHeight};

TEST(DialogCloseLayout, StripAndCellSitAtTheRightEnd) {
    const DialogCloseLayout layout = layoutDialogCloseButton(kWidth);
    EXPECT_EQ(layout.stripLeft, kWidth - 36);
    EXPECT_EQ(layout.stripTop, 0);
    EXPECT_EQ(layout.cell.left, kWidth - 36);
    EXPECT_EQ(layout.cell.top, 0);
    EXPECT_EQ(layout.cell.right - layout.cell.left, 36);
    EXPECT_EQ(layout.cell.bottom - layout.cell.top, 22);
}

TEST(DialogHitTest, TheNumbersAtTheEdgesOfEachZone) {
    const int strip = layoutDialogCloseButton(kWidth).stripLeft;
    const int L = kWindow.left, T = kWindow.top, R = kWindow.right;
    const int closeX = L + strip + 18;  // middle of the close button's columns
    struct Case {
        const char* what;
        int x, y, expected;
    } cases[] = {
        {"close button, y = T + 10", closeX, T + 10, HTCLOSE},
        {"first close column", L + strip + 1, T + 10, HTCLOSE},
        {"strip edge itself", L + strip, T + 10, HTCAPTION},
        {"last close column", R - 6, T + 10, HTCLOSE},
        {"right margin", R - 5, T + 10, HTCAPTION},
        {"above the button", closeX, T + 3, HTCAPTION},
        {"top row of the button", closeX, T + 4, HTCLOSE},
        {"bottom row of the button", closeX, T + 20, HTCLOSE},
        {"under the button", closeX, T + 21, HTCAPTION},
        {"under the button, T + 22", closeX, T + 22, HTCAPTION},
        {"last band row on the close columns", closeX, T + 25, HTCAPTION},
        {"first client row on the close columns", closeX, T + 26, HTCLIENT},
        {"band at the left", L + 10, T + 10, HTCAPTION},
        {"top row at the left", L, T, HTCAPTION},
        {"last band row at the left", L + 10, T + 25, HTCAPTION},
        {"first client row at the left", L + 10, T + 26, HTCLIENT},
        {"bottom of the dialog", L + 160, T + kHeight - 1, HTCLIENT},
    };
    for (const Case& c : cases) EXPECT_EQ(dialogHitTest({c.x, c.y}, kWindow, strip), c.expected) << c.what;
}

TEST(DialogHitTest, DoesNotDependOnWhereTheDialogIs) {
    const int strip = layoutDialogCloseButton(kWidth).stripLeft;
    const RECT elsewhere{-900, -40, -900 + kWidth, -40 + kHeight};  // on a monitor left of the primary one
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(dialogHitTest({kWindow.left + x, kWindow.top + y}, kWindow, strip),
                      dialogHitTest({elsewhere.left + x, elsewhere.top + y}, elsewhere, strip))
                << x << "," << y;
}

// The highlight shows exactly where a press closes the dialog: every pixel of
// the window is in the hot rectangle exactly when the hit test says HTCLOSE.
TEST(DialogCloseLayout, HotRectangleIsExactlyTheCloseHitArea) {
    for (int width : {120, 320, 641}) {
        const DialogCloseLayout layout = layoutDialogCloseButton(width);
        const RECT window{50, 60, 50 + width, 60 + 200};
        int hotPixels = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < width; ++x) {
                const POINT p{x, y};
                const bool hot = ::PtInRect(&layout.hot, p) != FALSE;
                hotPixels += hot;
                ASSERT_EQ(hot, dialogHitTest({window.left + x, window.top + y}, window, layout.stripLeft) == HTCLOSE)
                    << "width " << width << " at " << x << "," << y;
            }
        EXPECT_EQ(hotPixels, 30 * 17) << width;
    }
}

// The cross of the 38 x 18 close glyph (its columns 13-23, rows 3-13) sits
// inside the highlight with room on every side, and at its middle.
TEST(DialogCloseLayout, GlyphCrossIsCentredInTheHighlight) {
    const DialogCloseLayout layout = layoutDialogCloseButton(kWidth);
    const RECT cross{layout.glyph.x + 13, layout.glyph.y + 3, layout.glyph.x + 24, layout.glyph.y + 14};
    EXPECT_GE(cross.left - layout.hot.left, 8);
    EXPECT_GE(layout.hot.right - cross.right, 8);
    EXPECT_GE(cross.top - layout.hot.top, 3);
    EXPECT_GE(layout.hot.bottom - cross.bottom, 3);
    EXPECT_LE(std::abs((cross.left - layout.hot.left) - (layout.hot.right - cross.right)), 1);
    EXPECT_LE(std::abs((cross.top - layout.hot.top) - (layout.hot.bottom - cross.bottom)), 1);
}

}  // namespace
}  // namespace pelmora

namespace pelmora {
namespace {

// A 300-pixel-wide dialog at each scale; the numbers are worked out by hand
// from the 96-DPI ones, half rounding away from zero.
struct ScaledDialogCase {
    UINT dpi;
    int stripLeft, cellBottom;
    RECT hot;
    POINT glyph;
    int captionBottom;  // the last row that still drags
};
const ScaledDialogCase kScaledDialogs[] = {
    {96, 264, 22, {265, 4, 295, 21}, {261, 4}, 25},
    {120, 255, 28, {256, 5, 294, 26}, {251, 5}, 31},
    {144, 246, 33, {247, 6, 292, 31}, {242, 6}, 38},
    {192, 228, 44, {229, 7, 290, 41}, {223, 7}, 50},
};

TEST(ScaledDialogGeometry, CloseButtonAndBandsAtEachDpi) {
    const RECT window{100, 200, 400, 350};
    for (const ScaledDialogCase& c : kScaledDialogs) {
        SCOPED_TRACE(c.dpi);
        const DialogCloseLayout layout = layoutDialogCloseButton(300, c.dpi);
        EXPECT_EQ(layout.stripLeft, c.stripLeft);
        EXPECT_EQ(layout.cell.bottom, c.cellBottom);
        EXPECT_EQ(layout.hot.left, c.hot.left);
        EXPECT_EQ(layout.hot.top, c.hot.top);
        EXPECT_EQ(layout.hot.right, c.hot.right);
        EXPECT_EQ(layout.hot.bottom, c.hot.bottom);
        EXPECT_EQ(layout.glyph.x, c.glyph.x);
        EXPECT_EQ(layout.glyph.y, c.glyph.y);
        auto hit = [&](int x, int y) { return dialogHitTest({100 + x, 200 + y}, window, layout.stripLeft, c.dpi); };
        // The corners of the highlight close; one pixel beyond each side does not.
        EXPECT_EQ(hit(c.hot.left, c.hot.top), HTCLOSE);
        EXPECT_EQ(hit(c.hot.right - 1, c.hot.bottom - 1), HTCLOSE);
        EXPECT_EQ(hit(c.hot.left - 1, c.hot.top), HTCAPTION);
        EXPECT_EQ(hit(c.hot.right, c.hot.top), HTCAPTION);
        EXPECT_EQ(hit(c.hot.left, c.hot.top - 1), HTCAPTION);
        EXPECT_EQ(hit(c.hot.left, c.hot.bottom), HTCAPTION);
        EXPECT_EQ(hit(50, c.captionBottom), HTCAPTION);
        EXPECT_EQ(hit(50, c.captionBottom + 1), HTCLIENT);
    }
}

}  // namespace
}  // namespace pelmora
