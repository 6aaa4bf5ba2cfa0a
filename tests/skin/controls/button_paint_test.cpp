// The button painters drawn into a memory DC over a known backdrop, probed
// where the look is pinned down: square grey corners when disabled, the accent
// outline under the pointer, the pressed inset two pixels in, the focus glow
// outside the outline, the check box's tinted 13 x 13 box with its caption at
// x = 17, and the radio dot only when checked.
#include "skin/controls/button_paint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_codecs.h"
#include "gfx/gdip_font.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_path.h"
#include "gfx/gdip_pen.h"
#include "gfx/gdip_string_format.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"

namespace pelmora {
namespace {

using test::Canvas;

constexpr DWORD kBackdrop = 0x404040;  // what the window shows behind the button
constexpr COLORREF kRedText = 0x000000FF;

int red(DWORD rgb) {
    return (rgb >> 16) & 0xFF;
}
int green(DWORD rgb) {
    return (rgb >> 8) & 0xFF;
}
int blue(DWORD rgb) {
    return rgb & 0xFF;
}
// 0x00RRGGBB of a COLORREF, as the canvas reports pixels.
DWORD rgbOfColour(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Fills the canvas with the backdrop, then runs one paint on a fresh graphics
// the way a control paints its back buffer.
void paintOn(Canvas& canvas, const std::function<void(GdipGraphics&)>& paint) {
    {
        GdipGraphics graphics;
        ASSERT_TRUE(graphics.fromHdc(canvas.dc()));
        ASSERT_TRUE(graphics.clear(0xFF000000 | kBackdrop));
        paint(graphics);
    }
    ::GdiFlush();
}

ButtonLook look(std::wstring_view caption = L"", COLORREF accent = kDefaultAccentColour) {
    ButtonLook l;
    l.caption = caption;
    l.fontFace = L"宋体";
    l.fontSize = 12;
    l.textColour = kRedText;
    l.accentColour = accent;
    return l;
}

// Text is drawn in pure red here and nothing else in these pictures is.
bool isInk(DWORD rgb) {
    return red(rgb) > 150 && green(rgb) < 110 && blue(rgb) < 110;
}

struct InkBox {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};
InkBox inkBox(const Canvas& canvas) {
    InkBox box;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (isInk(canvas.rgb(x, y))) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Where the ink of a left-aligned, vertically centred caption in the test font
// lands when it is laid out in `box`: GDI+ pads a layout box and glyphs have side
// bearings, so the first inked column is compared, not the box's edge.
InkBox referenceInk(std::wstring_view caption, const RectF& box) {
    Canvas canvas(static_cast<int>(box.x + box.width) + 1, static_cast<int>(box.y + box.height));
    paintOn(canvas, [&](GdipGraphics& g) {
        GdipFont font;
        ASSERT_TRUE(font.createByName(std::wstring_view(L"宋体"), 12, 0, Gdiplus::UnitPixel));
        GdipStringFormat format;
        format.create();
        format.setLineAlign(Gdiplus::StringAlignmentCenter);
        GdipSolidBrush brush;
        brush.create(0xFFFF0000);
        g.drawString(caption, font, brush, box, &format);
    });
    return inkBox(canvas);
}

// A PNG of one opaque colour, as a caller of the image-button operations would pass.
ByteBuffer solidPng(int width, int height, Argb colour) {
    GdipBitmap bitmap;
    EXPECT_TRUE(bitmap.create(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.setPixel(x, y, colour);
    const Bytes png = bitmap.saveToMemory(std::wstring_view(kPngFormatId));
    EXPECT_FALSE(png.empty());
    return ByteBuffer(png.begin(), png.end());
}

// --- State and path operations ---------------------------------------------

TEST(ButtonPaintState, KeepsOnlyTheFourOwnerDrawBits) {
    // A DRAWITEMSTRUCT's itemState also carries ODS_DEFAULT, ODS_NOACCEL, ...
    const ButtonPaintState state(ODS_SELECTED | ODS_DISABLED | ODS_FOCUS | ODS_HOTLIGHT | ODS_DEFAULT | ODS_NOACCEL |
                                 ODS_CHECKED);
    EXPECT_EQ(state.bits(), 0x55u);
    EXPECT_TRUE(state.pressed() && state.disabled() && state.focused() && state.hot());
    EXPECT_EQ(ButtonPaintState(ODS_FOCUS).withHot().bits(), 0x50u);
    EXPECT_EQ(ButtonPaintState(ODS_DEFAULT).bits(), 0u);
}

TEST(ButtonPaths, TopRoundedRectangleIsOpenAtTheBottom) {
    GdipPath path;
    ASSERT_TRUE(path.create());
    ASSERT_TRUE(addTopRoundedRectangle(path, 4, 6, 40, 10, 5));
    const std::vector<PointF> points = path.points();
    ASSERT_GE(points.size(), 2u);
    EXPECT_FLOAT_EQ(points.front().x, 4);
    EXPECT_FLOAT_EQ(points.front().y, 16);
    EXPECT_FLOAT_EQ(points.back().x, 44);
    EXPECT_FLOAT_EQ(points.back().y, 16);
    const RectF bounds = path.worldBounds();
    EXPECT_FLOAT_EQ(bounds.x, 4);
    EXPECT_FLOAT_EQ(bounds.y, 6);
    EXPECT_FLOAT_EQ(bounds.width, 40);
    EXPECT_FLOAT_EQ(bounds.height, 10);
    // Stroked, the bottom edge stays empty: the figure is not closed.
    Canvas canvas(50, 20);
    paintOn(canvas, [&](GdipGraphics& g) {
        GdipPen pen;
        pen.create(0xFFFF0000);
        g.drawPath(pen, path);
    });
    EXPECT_EQ(canvas.rgb(24, 6), 0xFF0000u);   // top edge
    EXPECT_EQ(canvas.rgb(4, 12), 0xFF0000u);   // left side
    EXPECT_EQ(canvas.rgb(24, 16), kBackdrop);  // no bottom edge
}

TEST(ButtonPaths, GlowIsStrongestOnThePathAndFadesOutward) {
    GdipPath line;
    ASSERT_TRUE(line.create());
    ASSERT_TRUE(line.addLine(0, 10, 40, 10));
    Canvas canvas(40, 20);
    paintOn(canvas, [&](GdipGraphics& g) { EXPECT_TRUE(drawGlow(g, line, 3, 0x00FFFFFF, 120)); });
    const int onPath = red(canvas.rgb(20, 10)), beside = red(canvas.rgb(20, 11)), beyond = red(canvas.rgb(20, 13));
    EXPECT_GT(onPath, beside);
    EXPECT_GT(beside, static_cast<int>(red(kBackdrop)));
    EXPECT_EQ(beyond, static_cast<int>(red(kBackdrop)));
}

// --- Push button ------------------------------------------------------------

constexpr RECT kPush{0, 0, 80, 24};

DWORD pushPixel(UINT state, int x, int y, COLORREF accent = kDefaultAccentColour, RECT r = kPush, int width = 80,
                int height = 24) {
    Canvas canvas(width, height);
    paintOn(canvas, [&](GdipGraphics& g) { paintPushButton(g, r, ButtonPaintState(state), look(L"", accent)); });
    return canvas.rgb(x, y);
}

TEST(PushButtonPainter, DisabledPlateHasSquareGreyCornersWhereTheFaceIsRounded) {
    const POINT corners[] = {{0, 0}, {79, 0}, {0, 23}, {79, 23}};
    for (const POINT& c : corners) {
        EXPECT_EQ(pushPixel(ODS_DISABLED, c.x, c.y), 0xC0C0C0u) << c.x << "," << c.y;
        EXPECT_EQ(pushPixel(0, c.x, c.y), kBackdrop) << "a resting face is rounded at " << c.x << "," << c.y;
    }
    // The plate wins over every other bit, and its outline is a faint darkening.
    EXPECT_EQ(pushPixel(ODS_DISABLED | ODS_HOTLIGHT | ODS_SELECTED, 40, 12), 0xC0C0C0u);
    const DWORD edge = pushPixel(ODS_DISABLED, 40, 0);
    EXPECT_LT(red(edge), 0xC0);
    EXPECT_GT(red(edge), 0x60);
}

TEST(PushButtonPainter, HotOutlineIsTheAccentColour) {
    const COLORREF accents[] = {kDefaultAccentColour, 0x00336699, 0x000000FF};
    const POINT edges[] = {{40, 0}, {0, 12}, {79, 12}, {40, 23}};
    for (COLORREF accent : accents)
        for (const POINT& p : edges) {
            EXPECT_EQ(pushPixel(ODS_HOTLIGHT, p.x, p.y, accent), rgbOfColour(accent)) << p.x << "," << p.y;
            // Pressed under the pointer keeps the hot outline.
            EXPECT_EQ(pushPixel(ODS_HOTLIGHT | ODS_SELECTED, p.x, p.y, accent), rgbOfColour(accent));
            EXPECT_NE(pushPixel(0, p.x, p.y, accent), rgbOfColour(accent));
        }
}

TEST(PushButtonPainter, PressedInsetStartsTwoPixelsIn) {
    const COLORREF accent = 0x000000FF;
    for (UINT base : {0u, static_cast<UINT>(ODS_HOTLIGHT), static_cast<UINT>(ODS_FOCUS)}) {
        Canvas up(80, 24), down(80, 24);
        paintOn(up, [&](GdipGraphics& g) { paintPushButton(g, kPush, ButtonPaintState(base), look(L"", accent)); });
        paintOn(down, [&](GdipGraphics& g) {
            paintPushButton(g, kPush, ButtonPaintState(base | ODS_SELECTED), look(L"", accent));
        });
        int firstRow = -1, firstColumn = -1;
        for (int y = 0; y < 24 && firstRow < 0; ++y)
            if (up.rgb(40, y) != down.rgb(40, y)) firstRow = y;
        for (int x = 0; x < 80 && firstColumn < 0; ++x)
            if (up.rgb(x, 12) != down.rgb(x, 12)) firstColumn = x;
        EXPECT_EQ(firstRow, 2) << "state " << base;
        EXPECT_EQ(firstColumn, 2) << "state " << base;
        // The inset starts in the accent colour and fades to white.
        const DWORD top = down.rgb(40, 3), lower = down.rgb(40, 20);
        EXPECT_GT(red(top) - green(top), red(up.rgb(40, 3)) - green(up.rgb(40, 3)));
        EXPECT_GT(green(lower), green(top));
    }
}

TEST(PushButtonPainter, FocusGlowsOutsideTheOutline) {
    // The button sits inside a larger picture so that what spills outside shows.
    const RECT inner{10, 10, 90, 34};
    const DWORD focused = pushPixel(ODS_FOCUS, 9, 22, 0x000000FF, inner, 100, 44);
    const DWORD resting = pushPixel(0, 9, 22, 0x000000FF, inner, 100, 44);
    EXPECT_EQ(resting, kBackdrop);
    // The glow colour is fixed (cyan-blue), not the red accent given here.
    EXPECT_GT(green(focused), green(kBackdrop) + 30);
    EXPECT_GT(blue(focused), blue(kBackdrop) + 30);
    EXPECT_LE(red(focused), red(kBackdrop));
    EXPECT_EQ(pushPixel(ODS_FOCUS, 50, 8, 0x000000FF, inner, 100, 44), kBackdrop)
        << "the widest stroke reaches 1.5 px out";
    // Under the pointer the accent outline replaces the glow.
    EXPECT_EQ(pushPixel(ODS_FOCUS | ODS_HOTLIGHT, 9, 22, 0x000000FF, inner, 100, 44), kBackdrop);
}

TEST(PushButtonPainter, CaptionIsCentredInTheTextColourInEveryState) {
    for (UINT state : {0u, 0x1u, 0x4u, 0x10u, 0x40u}) {
        Canvas canvas(80, 24);
        paintOn(canvas,
                [&](GdipGraphics& g) { paintPushButton(g, kPush, ButtonPaintState(state), look(L"开始安装")); });
        const InkBox ink = inkBox(canvas);
        ASSERT_FALSE(ink.empty()) << "state " << state;
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 40, 3) << "state " << state;
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 12, 3) << "state " << state;
    }
    Canvas blank(80, 24);
    paintOn(blank, [&](GdipGraphics& g) { paintPushButton(g, kPush, ButtonPaintState(), look(L"")); });
    EXPECT_TRUE(inkBox(blank).empty());
}

// --- Check box ----------------------------------------------------------------

constexpr RECT kCheck{0, 0, 120, 20};  // box at (0, 3), 13 x 13

void paintCheck(Canvas& canvas, UINT state, bool checked, COLORREF accent, std::wstring_view caption = L"") {
    paintOn(canvas, [&](GdipGraphics& g) {
        paintCheckBox(g, kCheck, ButtonPaintState(state), checked, look(caption, accent));
    });
}

TEST(CheckBoxPainter, HotUntickedBoxIsAccentFilledAndItsCaptionStartsAtSeventeen) {
    const COLORREF accent = 0x000000FF;  // red, so the tint is easy to see on the off-white box
    Canvas hot(120, 20), cold(120, 20), ticked(120, 20);
    paintCheck(hot, ODS_HOTLIGHT, false, accent, L"我已阅读并同意");
    paintCheck(cold, 0, false, accent, L"我已阅读并同意");
    paintCheck(ticked, 0, true, accent, L"我已阅读并同意");

    // The whole 13 x 13 box is tinted towards the accent, and nothing right of it.
    for (int y = 5; y <= 14; y += 3)
        for (int x = 2; x <= 11; x += 3) {
            const DWORD h = hot.rgb(x, y), c = cold.rgb(x, y);
            EXPECT_GT(red(h) - green(h), red(c) - green(c) + 10) << x << "," << y;
        }
    EXPECT_FALSE(isInk(hot.rgb(14, 9)));
    // A faint glow around the box: cool in tint, and only just visible.
    const DWORD glow = hot.rgb(13, 9);
    EXPECT_NE(glow, cold.rgb(13, 9));
    EXPECT_GE(blue(glow), blue(cold.rgb(13, 9)));

    // The unticked glyph, not the ticked one: the box differs from a ticked box
    // somewhere the hot tint cannot explain (the tick is a dark mark).
    int tickPixels = 0;
    for (int y = 3; y < 16; ++y)
        for (int x = 0; x < 13; ++x)
            if (ticked.rgb(x, y) != cold.rgb(x, y)) ++tickPixels;
    EXPECT_GT(tickPixels, 5);

    // Caption: laid out from x = 17, left-aligned and vertically centred.
    const InkBox ink = inkBox(hot);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(ink.left, referenceInk(L"我已阅读并同意", {17, 0, 101, 20}).left);
    EXPECT_NE(ink.left, referenceInk(L"我已阅读并同意", {16, 0, 101, 20}).left) << "the reference tells pixels apart";
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 10, 2);
    EXPECT_EQ(inkBox(cold).left, ink.left) << "the hover changes the box, not the caption";
}

TEST(CheckBoxPainter, PressedAndFocusedChangeNothing) {
    Canvas plain(120, 20), pressed(120, 20);
    paintCheck(plain, 0, true, kDefaultAccentColour, L"同意");
    paintCheck(pressed, ODS_SELECTED | ODS_FOCUS, true, kDefaultAccentColour, L"同意");
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) ASSERT_EQ(plain.rgb(x, y), pressed.rgb(x, y)) << x << "," << y;
}

TEST(CheckBoxPainter, DisabledIsAGreyPlateWithoutTheBox) {
    Canvas canvas(120, 20);
    paintCheck(canvas, ODS_DISABLED, true, kDefaultAccentColour, L"同意");
    EXPECT_EQ(canvas.rgb(0, 0), 0xC0C0C0u);
    EXPECT_EQ(canvas.rgb(119, 19), 0xC0C0C0u);
    for (int x = 1; x < 13; ++x) EXPECT_EQ(canvas.rgb(x, 9), 0xC0C0C0u) << x;
    EXPECT_FALSE(inkBox(canvas).empty()) << "the caption is still written";
}

// --- Radio button -------------------------------------------------------------

constexpr RECT kRadio{0, 0, 100, 20};  // ring (2, 4, 12, 12), dot (5, 7, 6, 6)

// How far the dot's teal (green and blue over red) shows around its centre.
int tealAroundDot(const Canvas& canvas) {
    int strongest = -255;
    const POINT probes[] = {{6, 10}, {10, 10}, {8, 8}, {8, 12}};
    for (const POINT& p : probes) {
        const DWORD c = canvas.rgb(p.x, p.y);
        strongest = std::max(strongest, std::min(green(c), blue(c)) - red(c));
    }
    return strongest;
}

TEST(RadioButtonPainter, DotOnlyWhenChecked) {
    const UINT states[] = {0, ODS_HOTLIGHT, ODS_DISABLED, ODS_FOCUS | ODS_SELECTED};
    for (UINT state : states)
        for (bool checked : {false, true}) {
            Canvas canvas(100, 20);
            paintOn(canvas, [&](GdipGraphics& g) {
                paintRadioButton(g, kRadio, ButtonPaintState(state), checked, look(L"", 0x000000FF));
            });
            if (checked) {
                EXPECT_GT(tealAroundDot(canvas), 40) << "state " << state;
            } else {
                EXPECT_LT(tealAroundDot(canvas), 15) << "state " << state;
            }
            // The ring is drawn in every state, the disabled one included.
            EXPECT_LT(red(canvas.rgb(8, 4)), state == ODS_DISABLED ? 0xC0 : 0x80) << "state " << state;
        }
}

TEST(RadioButtonPainter, CaptionStartsAtEighteenAndModeIsRestored) {
    Canvas canvas(100, 20);
    paintOn(canvas, [&](GdipGraphics& g) {
        g.setSmoothingMode(Gdiplus::SmoothingModeHighSpeed);
        paintRadioButton(g, kRadio, ButtonPaintState(), true, look(L"选项"));
        EXPECT_EQ(g.smoothingMode(), Gdiplus::SmoothingModeHighSpeed);
    });
    const InkBox ink = inkBox(canvas);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(ink.left, referenceInk(L"选项", {18, 0, 100, 20}).left);
}

// --- Image buttons ------------------------------------------------------------

TEST(ImageButtonLayout, PlacesPictureAndCaptionByOption) {
    const RECT r{0, 0, 100, 40};
    struct Case {
        int option;
        bool hasImage, hasCaption;
        RectF image, caption;
        bool centred, trimmed;
    } cases[] = {
        // Beside the text: 0.8 x height, at x = 3, text from image + 5.
        {1, true, true, {3, 4, 32, 32}, {37, 2, 61, 40}, false, false},
        // Alone: centred.
        {1, true, false, {34, 4, 32, 32}, {0, 0, 100, 40}, true, false},
        // Above the text: 0.8 x (height - font - 2), top at 5 % of the height.
        {0, true, true, {39.2f, 2, 21.6f, 21.6f}, {0, 23.6f, 100, 16.4f}, true, true},
        // No picture: the caption has the whole button.
        {0, false, true, {}, {0, 0, 100, 40}, true, false},
        {1, false, true, {}, {0, 0, 100, 40}, true, false},
    };
    for (const Case& c : cases) {
        const ImageButtonLayout l = imageButtonLayout(r, c.option, c.hasImage, c.hasCaption, 11);
        SCOPED_TRACE(::testing::Message()
                     << "option " << c.option << " image " << c.hasImage << " caption " << c.hasCaption);
        EXPECT_EQ(l.hasImage, c.hasImage);
        if (c.hasImage) {
            EXPECT_NEAR(l.image.x, c.image.x, 1e-3);
            EXPECT_NEAR(l.image.y, c.image.y, 1e-3);
            EXPECT_NEAR(l.image.width, c.image.width, 1e-3);
            EXPECT_NEAR(l.image.height, c.image.height, 1e-3);
        }
        EXPECT_NEAR(l.caption.x, c.caption.x, 1e-3);
        EXPECT_NEAR(l.caption.y, c.caption.y, 1e-3);
        EXPECT_NEAR(l.caption.width, c.caption.width, 1e-3);
        EXPECT_NEAR(l.caption.height, c.caption.height, 1e-3);
        EXPECT_EQ(l.captionCentred, c.centred);
        EXPECT_EQ(l.captionTrimmed, c.trimmed);
    }
}

TEST(ImageButtonPainter, DrawsThePictureWhereTheLayoutSays) {
    const ByteBuffer green = solidPng(10, 10, 0xFF00FF00);
    const RECT r{0, 0, 60, 20};  // picture side 16
    Canvas alone(60, 20), beside(60, 20);
    paintOn(alone, [&](GdipGraphics& g) { paintImageButton(g, r, ButtonPaintState(), green, 1, look()); });
    paintOn(beside, [&](GdipGraphics& g) { paintImageButton(g, r, ButtonPaintState(), green, 1, look(L"确定")); });
    EXPECT_EQ(alone.rgb(30, 10), 0x00FF00u);  // centred: 22..38
    EXPECT_EQ(alone.rgb(10, 10), kBackdrop);
    EXPECT_EQ(beside.rgb(10, 10), 0x00FF00u);  // at x = 3: 3..19
    EXPECT_GE(inkBox(beside).left, 21);
}

TEST(ImageButtonPainter, UnreadablePictureLeavesTheCaptionCentred) {
    const ByteBuffer junk = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    const RECT r{0, 0, 80, 24};
    for (const ByteBuffer& bytes : {junk, ByteBuffer{}}) {
        Canvas canvas(80, 24);
        paintOn(canvas, [&](GdipGraphics& g) { paintImageButton(g, r, ButtonPaintState(), bytes, 0, look(L"确定")); });
        const InkBox ink = inkBox(canvas);
        ASSERT_FALSE(ink.empty());
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 40, 3);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 12, 3);
    }
}

TEST(StateImageButton, StatePicksThePicture) {
    const struct {
        UINT bits;
        StateImage expected;
    } cases[] = {
        {0, StateImage::Normal},
        {ODS_FOCUS, StateImage::Normal},
        {ODS_SELECTED, StateImage::Pressed},
        {ODS_HOTLIGHT | ODS_SELECTED, StateImage::Hover},
        {ODS_DISABLED | ODS_HOTLIGHT | ODS_SELECTED, StateImage::Disabled},
    };
    for (const auto& c : cases) EXPECT_EQ(stateImageFor(ButtonPaintState(c.bits)), c.expected) << c.bits;
}

TEST(StateImageButton, OwnPictureAtNaturalSizeElseTheNormalOneStretched) {
    const ByteBuffer normal = solidPng(8, 8, 0xFF0000FF), hover = solidPng(8, 8, 0xFFFF0000), none;
    const StateImages images{normal, hover, none, none};
    const RECT r{0, 0, 40, 30};
    Canvas hot(40, 30), pressed(40, 30);
    paintOn(hot, [&](GdipGraphics& g) { paintStateImageButton(g, r, ButtonPaintState(ODS_HOTLIGHT), images, look()); });
    paintOn(pressed,
            [&](GdipGraphics& g) { paintStateImageButton(g, r, ButtonPaintState(ODS_SELECTED), images, look()); });
    // The hover picture: 8 x 8 at (2, 2), nothing beyond it.
    EXPECT_EQ(hot.rgb(2, 2), 0xFF0000u);
    EXPECT_EQ(hot.rgb(9, 9), 0xFF0000u);
    EXPECT_EQ(hot.rgb(12, 12), kBackdrop);
    // No pressed picture: the normal one covers the button from (2, 2) on.
    EXPECT_EQ(pressed.rgb(20, 15), 0x0000FFu);
    EXPECT_EQ(pressed.rgb(30, 22), 0x0000FFu);
    EXPECT_GT(blue(pressed.rgb(38, 28)), red(pressed.rgb(38, 28)) + 100) << "stretched to the far corner";
    EXPECT_EQ(pressed.rgb(1, 1), kBackdrop);
}

}  // namespace
}  // namespace pelmora
