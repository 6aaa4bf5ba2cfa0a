// Statics: their kind, text layout and image placement from the style; text
// drawn straight onto the picture in each alignment, in the recorded font;
// bitmap and icon statics where the placement puts them.
#include "skin/controls/static_paint.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/unique_resource.h"
#include "gfx/back_buffer.h"
#include "tests/skin/controls/ink_box.h"
#include "tests/skin/controls/painter_test_support.h"

namespace pelmora {
namespace {

using test::Canvas;
using test::closeTo;
using test::InkBox;
using test::inkBox;

TEST(StaticKindTest, FromTheTypeBitsOfTheStyle) {
    struct Case {
        DWORD style;
        StaticKind kind;
    } cases[] = {
        {SS_LEFT, StaticKind::Text},
        {SS_CENTER, StaticKind::Text},
        {SS_RIGHT, StaticKind::Text},
        {SS_SIMPLE, StaticKind::Text},
        {SS_LEFTNOWORDWRAP, StaticKind::Text},
        {SS_ICON, StaticKind::Icon},
        {SS_BITMAP, StaticKind::Bitmap},
        {SS_BLACKRECT, StaticKind::Other},
        {SS_ETCHEDFRAME, StaticKind::Other},
        {SS_ETCHEDHORZ, StaticKind::Other},
        {SS_OWNERDRAW, StaticKind::Other},
        {SS_ENHMETAFILE, StaticKind::Other},
        // Placement and notification bits leave the type alone.
        {SS_RIGHT | SS_CENTERIMAGE | SS_NOTIFY | WS_CHILD | WS_VISIBLE, StaticKind::Text},
        {SS_BITMAP | SS_CENTERIMAGE | SS_REALSIZECONTROL, StaticKind::Bitmap},
        {SS_ICON | SS_RIGHTJUST, StaticKind::Icon},
    };
    for (const Case& c : cases) EXPECT_EQ(staticKindOf(c.style), c.kind) << std::hex << c.style;
}

TEST(StaticTextLayoutTest, AlignmentWrappingAndPrefixFromTheStyle) {
    struct Case {
        DWORD style;
        TextAlign align, lineAlign;
        bool wrap, ellipsis, hidePrefix;
    } cases[] = {
        {SS_LEFT, TextAlign::Near, TextAlign::Near, true, false, true},
        {SS_CENTER, TextAlign::Centre, TextAlign::Near, true, false, true},
        {SS_RIGHT, TextAlign::Far, TextAlign::Near, true, false, true},
        {SS_LEFTNOWORDWRAP, TextAlign::Near, TextAlign::Near, false, false, true},
        {SS_SIMPLE, TextAlign::Near, TextAlign::Near, false, false, true},
        {SS_RIGHT | SS_CENTERIMAGE, TextAlign::Far, TextAlign::Centre, false, false, true},
        {SS_CENTER | SS_NOPREFIX, TextAlign::Centre, TextAlign::Near, true, false, false},
        {SS_LEFT | SS_ENDELLIPSIS, TextAlign::Near, TextAlign::Near, false, true, true},
        {SS_LEFT | SS_PATHELLIPSIS, TextAlign::Near, TextAlign::Near, false, true, true},
    };
    for (const Case& c : cases) {
        const TextLayout layout = staticTextLayoutOf(c.style);
        EXPECT_EQ(layout.align, c.align) << std::hex << c.style;
        EXPECT_EQ(layout.lineAlign, c.lineAlign) << std::hex << c.style;
        EXPECT_EQ(layout.wrap, c.wrap) << std::hex << c.style;
        EXPECT_EQ(layout.ellipsis, c.ellipsis) << std::hex << c.style;
        EXPECT_EQ(layout.hidePrefix, c.hidePrefix) << std::hex << c.style;
    }
}

TEST(StaticImageTest, PlacementFromTheStyleAndWhereItPutsTheImage) {
    const SizeI control{40, 30}, image{8, 6};
    struct Case {
        DWORD style;
        StaticImagePlacement placement;
        RectI rect;
    } cases[] = {
        {SS_BITMAP, StaticImagePlacement::TopLeft, {0, 0, 8, 6}},
        {SS_BITMAP | SS_CENTERIMAGE, StaticImagePlacement::Centred, {16, 12, 8, 6}},
        {SS_ICON | SS_RIGHTJUST, StaticImagePlacement::BottomRight, {32, 24, 8, 6}},
        {SS_BITMAP | SS_REALSIZECONTROL, StaticImagePlacement::Stretched, {0, 0, 40, 30}},
        {SS_BITMAP | SS_REALSIZECONTROL | SS_CENTERIMAGE, StaticImagePlacement::Stretched, {0, 0, 40, 30}},
        {SS_BITMAP | SS_CENTERIMAGE | SS_RIGHTJUST, StaticImagePlacement::Centred, {16, 12, 8, 6}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(staticImagePlacementOf(c.style), c.placement) << std::hex << c.style;
        const RectI r = staticImageRect(control, image, c.placement);
        EXPECT_EQ(r.x, c.rect.x) << std::hex << c.style;
        EXPECT_EQ(r.y, c.rect.y) << std::hex << c.style;
        EXPECT_EQ(r.width, c.rect.width) << std::hex << c.style;
        EXPECT_EQ(r.height, c.rect.height) << std::hex << c.style;
    }
    // An image larger than the control overhangs a centred placement evenly.
    const RectI big = staticImageRect({10, 10}, {15, 20}, StaticImagePlacement::Centred);
    EXPECT_EQ(big.x, -2);
    EXPECT_EQ(big.y, -5);
}

// --- Text. Red text on a grey ground, so ink is easy to tell.

constexpr COLORREF kRed = 0x000000FF;
constexpr SizeI kLabel{160, 40};

bool isInk(std::uint32_t rgb) {
    return test::reddish(rgb);
}

StaticTextPaint label(const wchar_t* text, DWORD style, ControlFont font = {L"宋体", 12, 0}) {
    StaticTextPaint paint;
    paint.size = kLabel;
    paint.text = text;
    paint.font = font;
    paint.textColour = kRed;
    paint.layout = staticTextLayoutOf(style);
    return paint;
}

TEST(StaticTextTest, EachAlignmentPutsTheTextWhereTheStyleSays) {
    struct Case {
        DWORD style;
        const char* what;
    } cases[] = {{SS_LEFT, "left"},
                 {SS_CENTER, "centre"},
                 {SS_RIGHT, "right"},
                 {SS_LEFT | SS_CENTERIMAGE, "left, centred down"},
                 {SS_RIGHT | SS_CENTERIMAGE, "right, centred down"}};
    for (const Case& c : cases) {
        Canvas canvas(kLabel.width, kLabel.height, test::grey);
        paintTextStatic(canvas.graphics(), label(L"安装目录", c.style));
        const InkBox ink = inkBox(canvas, isInk);
        ASSERT_GT(ink.width(), 30) << c.what << ": no text";
        const TextLayout layout = staticTextLayoutOf(c.style);
        const int leftSpace = ink.left, rightSpace = kLabel.width - 1 - ink.right;
        switch (layout.align) {
            case TextAlign::Near:
                EXPECT_LE(leftSpace, 4) << c.what;
                EXPECT_GT(rightSpace, 60) << c.what;
                break;
            case TextAlign::Far:
                EXPECT_LE(rightSpace, 6) << c.what;
                EXPECT_GT(leftSpace, 60) << c.what;
                break;
            case TextAlign::Centre:
                EXPECT_NEAR(leftSpace, rightSpace, 4) << c.what;
                break;
        }
        if (layout.lineAlign == TextAlign::Centre)
            EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (kLabel.height - 1) / 2.0, 2.0) << c.what;
        else
            EXPECT_LE(ink.top, 4) << c.what;
    }
}

TEST(StaticTextTest, GlyphsBlendWithThePictureAndNothingElseChanges) {
    Canvas canvas(kLabel.width, kLabel.height, test::picture);
    paintTextStatic(canvas.graphics(), label(L"安装目录", SS_LEFT));
    int changed = 0, blended = 0;
    for (int y = 0; y < kLabel.height; ++y)
        for (int x = 0; x < kLabel.width; ++x) {
            const std::uint32_t below = test::picture(x, y) & 0xFFFFFF, got = canvas.rgb(x, y);
            if (got == below) continue;
            ++changed;
            // Anti-aliased edges lie between the picture and the text colour.
            if (!closeTo(got, 0xFF0000, 8)) ++blended;
        }
    EXPECT_GT(changed, 40) << "no text drawn";
    EXPECT_GT(blended, 10) << "glyph edges are not blended with the picture";
    // No box of any colour: far from the text every pixel is the picture's.
    for (auto [x, y] : {std::pair{150, 35}, {159, 0}, {100, 39}})
        EXPECT_EQ(canvas.rgb(x, y), test::picture(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST(StaticTextTest, RecordedFontIsUsedAndAFacelessOneFallsBackToSong) {
    auto paintWith = [](Canvas& canvas, ControlFont font) {
        paintTextStatic(canvas.graphics(), label(L"安装目录", SS_LEFT, font));
    };
    Canvas song(kLabel.width, kLabel.height, test::grey), faceless(kLabel.width, kLabel.height, test::grey),
        hei(kLabel.width, kLabel.height, test::grey), big(kLabel.width, kLabel.height, test::grey),
        unknown(kLabel.width, kLabel.height, test::grey);
    paintWith(song, {L"宋体", 12, 0});
    paintWith(faceless, {L"", 0, 0});
    paintWith(hei, {L"黑体", 12, 0});
    paintWith(big, {L"宋体", 24, 0});
    paintWith(unknown, {L"No Such Face", 12, 0});
    EXPECT_EQ(test::differingPixels(song, faceless), 0) << "a face-less font is 宋体 12";
    EXPECT_GT(test::differingPixels(song, hei), 20) << "the face is not honoured";
    EXPECT_GT(inkBox(big, isInk).height(), inkBox(song, isInk).height() + 6) << "the size is not honoured";
    EXPECT_GT(inkBox(unknown, isInk).count, 40) << "an unknown face must still show the text";
}

TEST(StaticTextTest, LongTextWrapsUnlessTheStyleKeepsOneLine) {
    const wchar_t* text = L"一二三四五六七八九十一二三四五六七八九十";  // wider than the label
    Canvas wrapped(kLabel.width, kLabel.height, test::grey), single(kLabel.width, kLabel.height, test::grey);
    paintTextStatic(wrapped.graphics(), label(text, SS_LEFT));
    paintTextStatic(single.graphics(), label(text, SS_LEFTNOWORDWRAP));
    const InkBox two = inkBox(wrapped, isInk), one = inkBox(single, isInk);
    EXPECT_GT(two.height(), 20) << "a plain text static wraps";
    EXPECT_LT(one.height(), 16) << "SS_LEFTNOWORDWRAP keeps one line";
}

// Message boxes and texts of the package break lines with CR LF: the CR is a
// line break like the LF, never a glyph of its own (Wine's GDI+ would draw it
// as a box at the end of the first line).
TEST(StaticTextTest, CarriageReturnLineFeedBreaksTheLineAndDrawsNothingElse) {
    Canvas lf(kLabel.width, kLabel.height, test::grey), crlf(kLabel.width, kLabel.height, test::grey);
    paintTextStatic(lf.graphics(), label(L"安装\n目录", SS_LEFT));
    paintTextStatic(crlf.graphics(), label(L"安装\r\n目录", SS_LEFT));
    EXPECT_GT(inkBox(lf, isInk).height(), 20) << "two lines";
    EXPECT_EQ(test::differingPixels(lf, crlf), 0) << "CR LF must look exactly like LF";
}

TEST(StaticTextTest, AmpersandMarksAMnemonicUnlessNoPrefix) {
    Canvas plain(kLabel.width, kLabel.height, test::grey), prefixed(kLabel.width, kLabel.height, test::grey),
        literal(kLabel.width, kLabel.height, test::grey);
    paintTextStatic(plain.graphics(), label(L"AB", SS_LEFT));
    paintTextStatic(prefixed.graphics(), label(L"&AB", SS_LEFT));
    paintTextStatic(literal.graphics(), label(L"&AB", SS_LEFT | SS_NOPREFIX));
    EXPECT_EQ(test::differingPixels(plain, prefixed), 0) << "the '&' must not show";
    EXPECT_GT(inkBox(literal, isInk).width(), inkBox(plain, isInk).width() + 3) << "SS_NOPREFIX shows the '&'";
}

TEST(StaticTextTest, EmptyTextDrawsNothing) {
    Canvas canvas(kLabel.width, kLabel.height, test::picture);
    paintTextStatic(canvas.graphics(), label(L"", SS_CENTER));
    for (auto [x, y] : {std::pair{0, 0}, {80, 20}, {159, 39}})
        EXPECT_EQ(canvas.rgb(x, y), test::picture(x, y) & 0xFFFFFF);
}

// --- Images. An 8 x 6 bitmap and icon of a colour the picture never has at
// those spots is drawn into a 40 x 30 static.

constexpr std::uint32_t kImageColour = 0x0000FF;  // pure blue
constexpr SizeI kStatic{40, 30};

GdiBitmap solidBitmap(int width, int height, COLORREF colour) {
    HDC screen = ::GetDC(nullptr);
    GdiBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    ::ReleaseDC(nullptr, screen);
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    {
        SelectGuard selected(dc.get(), bitmap.get());
        GdiBrush brush(::CreateSolidBrush(colour));
        RECT all{0, 0, width, height};
        ::FillRect(dc.get(), &all, brush.get());
    }
    return bitmap;
}

UniqueIcon solidIcon(int width, int height, COLORREF colour) {
    GdiBitmap colourBits = solidBitmap(width, height, colour);
    GdiBitmap mask = solidBitmap(width, height, 0x000000);  // AND mask 0: the colour shows
    ICONINFO info{TRUE, 0, 0, mask.get(), colourBits.get()};
    return UniqueIcon(::CreateIconIndirect(&info));
}

bool isImage(std::uint32_t rgb) {
    return closeTo(rgb, kImageColour, 2);
}

void expectImageAt(Canvas& canvas, const RectI& r, const char* what) {
    const InkBox ink = inkBox(canvas, isImage);
    EXPECT_EQ(ink.left, std::max(0, r.x)) << what;
    EXPECT_EQ(ink.top, std::max(0, r.y)) << what;
    EXPECT_EQ(ink.right, std::min(kStatic.width, r.x + r.width) - 1) << what;
    EXPECT_EQ(ink.bottom, std::min(kStatic.height, r.y + r.height) - 1) << what;
    EXPECT_EQ(ink.count, ink.width() * ink.height()) << what << ": the image has holes";
    // Outside the image the picture is untouched.
    if (r.x > 0) {
        EXPECT_EQ(canvas.rgb(r.x - 1, r.y), test::picture(r.x - 1, r.y) & 0xFFFFFF) << what;
    }
}

TEST(StaticImageTest, BitmapAndIconLandWhereThePlacementPutsThem) {
    GdiBitmap bitmap = solidBitmap(8, 6, RGB(0, 0, 255));
    UniqueIcon icon = solidIcon(8, 6, RGB(0, 0, 255));
    ASSERT_TRUE(bitmap);
    ASSERT_TRUE(icon);
    EXPECT_EQ(bitmapSize(bitmap.get()).width, 8);
    EXPECT_EQ(iconSize(icon.get()).height, 6);
    for (StaticImagePlacement placement : {StaticImagePlacement::TopLeft, StaticImagePlacement::Centred,
                                           StaticImagePlacement::BottomRight, StaticImagePlacement::Stretched}) {
        const RectI r = staticImageRect(kStatic, {8, 6}, placement);
        Canvas withBitmap(kStatic.width, kStatic.height, test::picture),
            withIcon(kStatic.width, kStatic.height, test::picture);
        ASSERT_TRUE(paintBitmapStatic(withBitmap.dc(), kStatic, bitmap.get(), placement));
        ASSERT_TRUE(paintIconStatic(withIcon.dc(), kStatic, icon.get(), placement));
        const std::string what = "placement " + std::to_string(static_cast<int>(placement));
        expectImageAt(withBitmap, r, (what + ", bitmap").c_str());
        expectImageAt(withIcon, r, (what + ", icon").c_str());
    }
}

TEST(StaticImageTest, IconMaskLetsThePictureShowAroundTheShape) {
    // A 16 x 16 icon whose shape is its left half: mask 0 and blue there, mask
    // 1 and black (which leaves the screen as it is) on the right.
    GdiBitmap colourBits = solidBitmap(16, 16, RGB(0, 0, 0));
    GdiBitmap mask = solidBitmap(16, 16, RGB(255, 255, 255));
    {
        MemoryDc dc(::CreateCompatibleDC(nullptr));
        RECT left{0, 0, 8, 16};
        {
            SelectGuard selected(dc.get(), mask.get());
            ::FillRect(dc.get(), &left, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        }
        SelectGuard selected(dc.get(), colourBits.get());
        GdiBrush blue(::CreateSolidBrush(RGB(0, 0, 255)));
        ::FillRect(dc.get(), &left, blue.get());
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), colourBits.get()};
    UniqueIcon icon(::CreateIconIndirect(&info));
    ASSERT_TRUE(icon);
    Canvas canvas(kStatic.width, kStatic.height, test::picture);
    ASSERT_TRUE(paintIconStatic(canvas.dc(), kStatic, icon.get(), StaticImagePlacement::TopLeft));
    EXPECT_TRUE(isImage(canvas.rgb(3, 8)));
    for (auto [x, y] : {std::pair{8, 0}, {12, 8}, {15, 15}})
        EXPECT_EQ(canvas.rgb(x, y), test::picture(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST(StaticImageTest, MissingOrBusyImagesDrawNothing) {
    Canvas canvas(kStatic.width, kStatic.height, test::picture);
    EXPECT_FALSE(paintBitmapStatic(canvas.dc(), kStatic, nullptr, StaticImagePlacement::TopLeft));
    EXPECT_FALSE(paintIconStatic(canvas.dc(), kStatic, nullptr, StaticImagePlacement::Centred));
    EXPECT_EQ(bitmapSize(nullptr).width, 0);
    EXPECT_EQ(iconSize(nullptr).width, 0);
    // A bitmap still selected into its owner's DC cannot be drawn from.
    GdiBitmap bitmap = solidBitmap(8, 6, RGB(0, 0, 255));
    MemoryDc owner(::CreateCompatibleDC(nullptr));
    SelectGuard held(owner.get(), bitmap.get());
    EXPECT_FALSE(paintBitmapStatic(canvas.dc(), kStatic, bitmap.get(), StaticImagePlacement::TopLeft));
    EXPECT_TRUE(inkBox(canvas, isImage).empty());
}

TEST(StaticPaintLeakTest, TenThousandPaintsLeaveNothingBehind) {
    GdiBitmap bitmap = solidBitmap(8, 6, RGB(0, 0, 255));
    UniqueIcon icon = solidIcon(8, 6, RGB(0, 0, 255));
    // A small static with one character: every object the painters make, at
    // the least cost per paint (GDI+ text is slow under Wine).
    Canvas canvas(kStatic.width, kStatic.height, test::picture);
    StaticTextPaint text = label(L"安", SS_CENTER);
    text.size = kStatic;
    const test::LiveObjects before = test::LiveObjects::now();
    for (int i = 0; i < 10000; ++i) {
        const auto placement = static_cast<StaticImagePlacement>(i % 4);
        text.layout = staticTextLayoutOf(i % 2 ? SS_CENTER : SS_RIGHT | SS_CENTERIMAGE);
        paintTextStatic(canvas.graphics(), text);
        ASSERT_TRUE(paintBitmapStatic(canvas.dc(), kStatic, bitmap.get(), placement)) << "paint " << i;
        ASSERT_TRUE(paintIconStatic(canvas.dc(), kStatic, icon.get(), placement)) << "paint " << i;
    }
    const test::LiveObjects after = test::LiveObjects::now();
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
