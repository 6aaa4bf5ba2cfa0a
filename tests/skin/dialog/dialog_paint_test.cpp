// The dialog painter drawn into a 32-bit memory DC and probed where the look
// is pinned down: the picture under a veil of the theme colour and a white
// wash, the caption band darkening downwards, the two border lines, the icon
// at (5, 5), the outlined title from x = 25, and the close button, red only
// under the pointer and only inside the pixels that close the dialog.
#include "skin/dialog/dialog_paint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "base/dpi_scale.h"
#include "gfx/gdip_codecs.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_path.h"
#include "skin/dialog/dialog_geometry.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"

namespace pelmora {
namespace {

using test::Canvas;

constexpr int kWidth = 300, kHeight = 120;
constexpr RECT kDialog{0, 0, kWidth, kHeight};
constexpr COLORREF kTheme = 0x00804020;  // R 0x20, G 0x40, B 0x80
constexpr DWORD kThemeRgb = 0x204080;
constexpr DWORD kMagenta = 0xFF00FF;

int red(DWORD rgb) {
    return (rgb >> 16) & 0xFF;
}
int green(DWORD rgb) {
    return (rgb >> 8) & 0xFF;
}
int blue(DWORD rgb) {
    return rgb & 0xFF;
}

// `argb` laid over the opaque `below`, as source-over blending gives it.
DWORD blend(DWORD below, std::uint32_t argb) {
    const int a = static_cast<int>(argb >> 24);
    DWORD out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((below >> shift) & 0xFF), s = static_cast<int>((argb >> shift) & 0xFF);
        out |= static_cast<DWORD>((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

bool closeTo(DWORD rgb, DWORD expected, int tolerance = 3) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(static_cast<int>((rgb >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF)) >
            tolerance)
            return false;
    return true;
}

::testing::AssertionResult matches(DWORD rgb, DWORD expected, int tolerance = 3) {
    if (closeTo(rgb, expected, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hex << "pixel 0x" << rgb << ", expected 0x" << expected;
}

bool reddish(DWORD rgb) {
    return red(rgb) > green(rgb) + 60 && red(rgb) > blue(rgb) + 60;
}

// What the body of the dialog shows over a picture pixel: veil, then wash.
DWORD veiled(DWORD picture) {
    return blend(blend(picture, 0xDC000000 | kThemeRgb), 0x64FFFFFF);
}

void paint(Canvas& canvas, const RECT& r, const DialogLook& look, DWORD backdrop = kMagenta) {
    {
        GdipGraphics graphics;
        ASSERT_TRUE(graphics.fromHdc(canvas.dc()));
        ASSERT_TRUE(graphics.clear(0xFF000000 | backdrop));
        paintDialog(graphics, canvas.dc(), r, look);
    }
    ::GdiFlush();
}

DialogLook plainLook(std::wstring_view title = L"") {
    DialogLook look;
    look.title = title;
    look.themeColour = kTheme;
    return look;
}

// A PNG whose left half is black and right half white.
std::vector<std::uint8_t> halvesPng(int width, int height) {
    GdipBitmap bitmap;
    EXPECT_TRUE(bitmap.create(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.setPixel(x, y, x < width / 2 ? 0xFF000000 : 0xFFFFFFFF);
    const Bytes png = bitmap.saveToMemory(std::wstring_view(kPngFormatId));
    return std::vector<std::uint8_t>(png.begin(), png.end());
}

// A 16 x 16 icon of one opaque colour.
UniqueIcon solidIcon(COLORREF colour) {
    WindowDc screen(nullptr);
    GdiBitmap image(::CreateCompatibleBitmap(screen.get(), 16, 16));
    GdiBitmap mask(::CreateBitmap(16, 16, 1, 1, nullptr));
    {
        MemoryDc dc(::CreateCompatibleDC(screen.get()));
        SelectGuard select(dc.get(), image.get());
        GdiBrush brush(::CreateSolidBrush(colour));
        const RECT all{0, 0, 16, 16};
        ::FillRect(dc.get(), &all, brush.get());
        SelectGuard selectMask(dc.get(), mask.get());
        ::PatBlt(dc.get(), 0, 0, 16, 16, BLACKNESS);  // all opaque
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
    return UniqueIcon(::CreateIconIndirect(&info));
}

TEST(DialogPaint, BodyIsThePictureUnderTheVeilAndTheWash) {
    const std::vector<std::uint8_t> png = halvesPng(200, 100);
    DialogLook look = plainLook();
    look.background = png.data();
    look.backgroundSize = png.size();
    Canvas canvas(kWidth, kHeight);
    paint(canvas, kDialog, look);
    struct Probe {
        const char* what;
        int x, y;
        DWORD picture;
    } probes[] = {
        {"black half of the picture", 50, 60, 0x000000},
        {"white half of the picture", 150, 60, 0xFFFFFF},
        {"right of the picture", 250, 60, kThemeRgb},
        {"below the picture", 150, 110, kThemeRgb},
    };
    for (const Probe& p : probes) EXPECT_TRUE(matches(canvas.rgb(p.x, p.y), veiled(p.picture))) << p.what;
    // The veil lets the picture through faintly: black and white still differ.
    EXPECT_GT(red(canvas.rgb(150, 60)), red(canvas.rgb(50, 60)) + 20);
}

// Above 100 % the picture is drawn at the dialog's scale; above 150 % from
// the one made at twice the size, when there is one.
TEST(DialogPaint, PictureFollowsTheScale) {
    const std::vector<std::uint8_t> small = halvesPng(200, 100);
    std::vector<std::uint8_t> large;
    {
        GdipBitmap bitmap;  // white on the left: told apart from the small one doubled
        ASSERT_TRUE(bitmap.create(400, 200));
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 400; ++x) bitmap.setPixel(x, y, x < 200 ? 0xFFFFFFFF : 0xFF000000);
        const Bytes png = bitmap.saveToMemory(std::wstring_view(kPngFormatId));
        large.assign(png.begin(), png.end());
    }
    const struct {
        const char* what;
        UINT dpi;
        bool withLarge;
        int x, y;
        DWORD picture;
    } cases[] = {
        {"150 %: left half, enlarged", 144, true, 140, 120, 0x000000},
        {"150 %: right half, enlarged", 144, true, 160, 120, 0xFFFFFF},
        {"150 %: below the enlarged picture", 144, true, 160, 155, kThemeRgb},
        {"200 % without the large one: the small one doubled", 192, false, 190, 150, 0x000000},
        {"200 % without the large one: its right half", 192, false, 210, 150, 0xFFFFFF},
        {"200 %: the large one, pixel for pixel", 192, true, 190, 150, 0xFFFFFF},
        {"200 %: the large one's right half", 192, true, 210, 150, 0x000000},
        {"200 %: right of the picture", 192, true, 450, 150, kThemeRgb},
    };
    for (const auto& c : cases) {
        DialogLook look = plainLook();
        look.dpi = c.dpi;
        look.background = small.data();
        look.backgroundSize = small.size();
        if (c.withLarge) {
            look.background2x = large.data();
            look.background2xSize = large.size();
        }
        const RECT r{0, 0, scaled(kWidth, c.dpi), scaled(kHeight, c.dpi) * 2};
        Canvas canvas(r.right, r.bottom);
        paint(canvas, r, look);
        EXPECT_TRUE(matches(canvas.rgb(c.x, c.y), veiled(c.picture))) << c.what;
    }
}

TEST(DialogPaint, WithoutAPictureTheBodyIsTheThemeColourWashed) {
    Canvas canvas(kWidth, kHeight);
    paint(canvas, kDialog, plainLook());
    for (POINT p : {POINT{40, 60}, POINT{150, 100}, POINT{280, 40}})
        EXPECT_TRUE(matches(canvas.rgb(p.x, p.y), veiled(kThemeRgb))) << p.x << "," << p.y;
}

TEST(DialogPaint, CaptionBandGoesFromWhiteToBlack) {
    Canvas canvas(kWidth, kHeight);
    paint(canvas, kDialog, plainLook());
    const DWORD body = veiled(kThemeRgb);
    // The gradient runs over 26 rows from white at alpha 100 to black at alpha
    // 20: row 2 is a tenth of the way (alpha 92, grey 230), row 24 nearly all
    // of it (alpha 25, grey 15); below the band the body is plain.
    const DWORD top = canvas.rgb(150, 2), foot = canvas.rgb(150, 24), below = canvas.rgb(150, 27);
    EXPECT_TRUE(matches(top, blend(body, 0x5CE6E6E6), 8)) << "top";
    EXPECT_TRUE(matches(foot, blend(body, 0x190F0F0F), 8)) << "foot";
    EXPECT_TRUE(matches(below, body)) << "below";
    for (int y = 2; y < 25; ++y) EXPECT_GE(green(canvas.rgb(150, y)), green(canvas.rgb(150, y + 1))) << y;
}

TEST(DialogPaint, TwoBorderLinesBlackOutsideWhiteInside) {
    Canvas canvas(kWidth, kHeight);
    paint(canvas, kDialog, plainLook());
    const DWORD body = veiled(kThemeRgb);
    const DWORD outer = blend(body, 0x78000000), inner = blend(body, 0xB4FFFFFF);
    struct Probe {
        const char* what;
        int x, y;
        DWORD expected;
    } probes[] = {
        {"left outer", 0, 60, outer},
        {"left inner", 1, 60, inner},
        {"right outer", kWidth - 1, 60, outer},
        {"right inner", kWidth - 2, 60, inner},
        {"bottom outer", 150, kHeight - 1, outer},
        {"bottom inner", 150, kHeight - 2, inner},
        {"inside the lines", 2, 60, body},
    };
    for (const Probe& p : probes) EXPECT_TRUE(matches(canvas.rgb(p.x, p.y), p.expected)) << p.what;
}

TEST(DialogPaint, IconIsDrawnSeventeenPixelsSquareAtFiveFive) {
    const UniqueIcon icon = solidIcon(0x0000C000);
    ASSERT_TRUE(icon);
    DialogLook look = plainLook();
    look.icon = icon.get();
    Canvas with(kWidth, kHeight), without(kWidth, kHeight);
    paint(with, kDialog, look);
    paint(without, kDialog, plainLook());
    for (POINT p : {POINT{5, 5}, POINT{13, 13}, POINT{21, 21}}) EXPECT_TRUE(matches(with.rgb(p.x, p.y), 0x00C000));
    for (POINT p : {POINT{4, 13}, POINT{22, 13}, POINT{13, 4}, POINT{13, 22}})
        EXPECT_EQ(with.rgb(p.x, p.y), without.rgb(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_FALSE(closeTo(without.rgb(13, 13), 0x00C000, 40));
}

// White title pixels: those the band could not produce (it is never that light).
struct TitleInk {
    int count = 0, left = 1 << 20, top = 1 << 20, bottom = -1;
};
TitleInk titleInk(const Canvas& canvas) {
    TitleInk ink;
    for (int y = 3; y < 40; ++y)  // below the border lines; left of the close button
        for (int x = 3; x < kWidth - 40; ++x) {
            const DWORD c = canvas.rgb(x, y);
            if (red(c) < 225 || green(c) < 225 || blue(c) < 225) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

TEST(DialogPaint, TitleIsWhiteFromX25AndCentredInThe30PixelBand) {
    Canvas titled(kWidth, kHeight), untitled(kWidth, kHeight);
    paint(titled, kDialog, plainLook(L"软件信息"));
    paint(untitled, kDialog, plainLook());
    const TitleInk ink = titleInk(titled);
    EXPECT_GT(ink.count, 40);
    EXPECT_EQ(titleInk(untitled).count, 0);
    EXPECT_GE(ink.left, 25);
    EXPECT_LE(ink.left, 28);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 15.0, 3.0);
    // Nothing of the title reaches left of its layout rectangle or below the band.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (x < 24 || y > 30) {
                ASSERT_EQ(titled.rgb(x, y), untitled.rgb(x, y)) << x << "," << y;
            }
        }
}

TEST(DialogPaint, TitlePathIsOneLineOfElevenPixelGlyphs) {
    GdipPath path;
    ASSERT_TRUE(path.create());
    // Forty characters run far past the 300-pixel rectangle.
    ASSERT_TRUE(addDialogTitlePath(
        path, L"软件信息软件信息软件信息软件信息软件信息软件信息软件信息软件信息软件信息软件信息", kWidth));
    const RectF bounds = path.worldBounds();
    EXPECT_GE(bounds.x, 25.0f);
    EXPECT_LE(bounds.height, 12.0f);  // never wrapped onto a second line
    EXPECT_GT(bounds.width, 100.0f);
    EXPECT_NEAR(bounds.y + bounds.height / 2, 15.0f, 3.0f);
}

TEST(DialogPaint, CloseButtonTurnsRedOnlyInsideItsHotPixels) {
    const DialogCloseLayout layout = layoutDialogCloseButton(kWidth);
    const RECT& hot = layout.hot;
    DialogLook look = plainLook(L"软件信息");
    Canvas normal(kWidth, kHeight), highlighted(kWidth, kHeight);
    paint(normal, kDialog, look);
    look.closeHot = true;
    paint(highlighted, kDialog, look);

    const POINT upperInside{hot.left + 3, hot.top + 2}, lowerInside{hot.left + 3, hot.bottom - 3};
    EXPECT_TRUE(reddish(highlighted.rgb(upperInside.x, upperInside.y)));
    EXPECT_FALSE(reddish(normal.rgb(upperInside.x, upperInside.y)));
    // Fading towards white downwards: less red dominance at the foot.
    const DWORD upper = highlighted.rgb(upperInside.x, upperInside.y);
    const DWORD lower = highlighted.rgb(lowerInside.x, lowerInside.y);
    EXPECT_GT(red(upper) - green(upper), red(lower) - green(lower));
    // The cross stays white on both.
    const POINT cross{layout.glyph.x + 18, layout.glyph.y + 8};
    EXPECT_TRUE(matches(normal.rgb(cross.x, cross.y), 0xFFFFFF, 2));
    EXPECT_TRUE(matches(highlighted.rgb(cross.x, cross.y), 0xFFFFFF, 2));
    // Not one pixel outside the hot rectangle changes.
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const POINT p{x, y};
            if (!::PtInRect(&hot, p)) {
                ASSERT_EQ(highlighted.rgb(x, y), normal.rgb(x, y)) << x << "," << y;
            }
        }
}

TEST(DialogPaint, PaintsOnlyItsRectangleWhereverItLies) {
    const RECT offset{10, 20, 10 + kWidth, 20 + kHeight};
    const std::vector<std::uint8_t> png = halvesPng(200, 100);
    const UniqueIcon icon = solidIcon(0x0000C000);
    DialogLook look = plainLook(L"软件信息");
    look.background = png.data();
    look.backgroundSize = png.size();
    look.icon = icon.get();
    look.closeHot = true;
    Canvas atOrigin(kWidth, kHeight), shifted(kWidth + 40, kHeight + 40);
    paint(atOrigin, kDialog, look);
    paint(shifted, offset, look);
    for (int y = 0; y < shifted.height(); ++y)
        for (int x = 0; x < shifted.width(); ++x) {
            const POINT p{x, y};
            if (::PtInRect(&offset, p)) {
                ASSERT_TRUE(matches(shifted.rgb(x, y), atOrigin.rgb(x - offset.left, y - offset.top), 2))
                    << x << "," << y;
            } else {
                ASSERT_EQ(shifted.rgb(x, y), kMagenta) << x << "," << y;
            }
        }
}

TEST(DialogPaint, ABrokenPictureDrawsTheRestAllTheSame) {
    const std::uint8_t junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    DialogLook look = plainLook(L"软件信息");
    Canvas reference(kWidth, kHeight), broken(kWidth, kHeight);
    paint(reference, kDialog, look);
    look.background = junk;
    look.backgroundSize = sizeof junk;
    paint(broken, kDialog, look);
    for (int y = 0; y < kHeight; y += 3)
        for (int x = 0; x < kWidth; x += 3) ASSERT_EQ(broken.rgb(x, y), reference.rgb(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace pelmora
