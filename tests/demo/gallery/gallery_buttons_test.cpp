// Skinned buttons in a real window: a click on a check or radio box shows the
// new mark before any WM_PAINT, a push button shows its pressed inset while it
// is held and the hot look after the next move, a double click clicks once,
// and the hot look passes from one button to the next on a direct move.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "base/unique_resource.h"
#include "gallery_test_support.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/button_paint.h"
#include "skin/controls/button_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_records.h"
#include "tests/gfx/gdip_test_support.h"
#include "tests/support/canvas.h"

namespace pelmora {
namespace {

using gallery::ControlId;

int redOf(std::uint32_t rgb) {
    return (rgb >> 16) & 0xFF;
}
int greenOf(std::uint32_t rgb) {
    return (rgb >> 8) & 0xFF;
}
int blueOf(std::uint32_t rgb) {
    return rgb & 0xFF;
}
bool closeTo(std::uint32_t a, std::uint32_t b, int tolerance) {
    return std::abs(redOf(a) - redOf(b)) <= tolerance && std::abs(greenOf(a) - greenOf(b)) <= tolerance &&
           std::abs(blueOf(a) - blueOf(b)) <= tolerance;
}

// The accent as the display shows it (0x00RRGGBB).
std::uint32_t accentRgb() {
    const COLORREF c = controlSettings().accentColour;
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void click(HWND button, int x, int y) {
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class GalleryButtons : public ::testing::Test {
protected:
    // A push button's outline, half-way down its left edge: the accent when hot.
    bool looksHot(int id) { return closeTo(fixture.rgbIn(id, 0, heightOf(id) / 2), accentRgb(), 8); }
    int heightOf(int id) {
        RECT r;
        ::GetClientRect(fixture.control(id), &r);
        return r.bottom;
    }

    test::GalleryFixture fixture;
};

using Painter = std::function<void(GdipGraphics&, const RECT&)>;

// Whether every pixel of `area` of the button shows what `paint` paints over
// the window's picture behind the button (read from the window's composed
// image), within rounding.
bool showsPainted(HWND button, const Painter& paint, const RECT& area) {
    RECT r{};
    ::GetClientRect(button, &r);
    const SkinnedWindowRecord* owner = windowRecord(findOwnerWindowRecord(button));
    if (!owner || !owner->image.composed.dc()) return false;
    POINT at{0, 0};
    ::MapWindowPoints(button, owner->window, &at, 1);
    test::Canvas canvas(r.right, r.bottom);
    ::BitBlt(canvas.dc(), 0, 0, r.right, r.bottom, owner->image.composed.dc(), at.x, at.y, SRCCOPY);
    {
        GdipGraphics graphics;
        graphics.fromHdc(canvas.dc());
        paint(graphics, r);
    }
    const WindowDc shown(button);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = ::GetPixel(shown.get(), x, y);
            const std::uint32_t rgb =
                (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            if (!closeTo(rgb, canvas.rgb(x, y), 3)) return false;
        }
    return true;
}

ButtonLook noCaption() {
    ButtonLook look;
    look.accentColour = controlSettings().accentColour;
    return look;
}

// The 13 x 13 box of a 20-pixel-high check box, as the engine paints it.
bool showsBox(HWND box, bool ticked) {
    return showsPainted(
        box, [&](GdipGraphics& g, const RECT& r) { paintCheckBox(g, r, ButtonPaintState(), ticked, noCaption()); },
        {0, 3, 13, 16});
}

TEST_F(GalleryButtons, ClickedCheckBoxShowsItsNewMarkBeforeAnyPaintMessage) {
    HWND box = fixture.control(gallery::kCheckUnchecked);
    ASSERT_TRUE(showsBox(box, false));

    // Sent, not posted, and nothing pumped: no WM_PAINT can run in between.
    click(box, 30, 10);
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(showsBox(box, true));
    // The native repaint that follows does not bring the system's box back.
    test::drainMessages();
    EXPECT_TRUE(showsBox(box, true));

    click(box, 30, 10);
    EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(showsBox(box, false));
    EXPECT_EQ(fixture.clicksOf(gallery::kCheckUnchecked), 2);

    // A program setting the mark sends no command back: the box follows at once all the same.
    ::SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(showsBox(box, true));
}

// The ring, disc and dot of a 20-pixel-high radio button, as the engine paints them.
bool showsRadio(HWND radio, bool checked) {
    return showsPainted(
        radio,
        [&](GdipGraphics& g, const RECT& r) { paintRadioButton(g, r, ButtonPaintState(), checked, noCaption()); },
        {0, 2, 16, 18});
}

TEST_F(GalleryButtons, ClickedRadioButtonTakesTheDotFromItsNeighbourAtOnce) {
    HWND checked = fixture.control(gallery::kRadioChecked), other = fixture.control(gallery::kRadioUnchecked);
    ASSERT_TRUE(showsRadio(checked, true));
    ASSERT_TRUE(showsRadio(other, false));

    click(other, 30, 10);
    EXPECT_TRUE(showsRadio(other, true));
    EXPECT_TRUE(showsRadio(checked, false));
    EXPECT_EQ(::SendMessageW(checked, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

void mouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    ::SendInput(1, &input, sizeof input);
}

// Whether the push button shows the painter's look for `state` down its left
// side, clear of the caption and through the pressed inset (two pixels in).
bool showsPushLook(HWND button, ButtonPaintState state) {
    RECT r{};
    ::GetClientRect(button, &r);
    return showsPainted(button,
                        [&](GdipGraphics& g, const RECT& rect) { paintPushButton(g, rect, state, noCaption()); },
                        {0, 0, 12, r.bottom});
}

TEST_F(GalleryButtons, PressedPushButtonShowsTheInsetThenTheHotLookAfterTheNextMove) {
    const int id = gallery::kPushNormal;
    HWND button = fixture.control(id);
    const ButtonPaintState hot(ButtonPaintState::kHot);
    const ButtonPaintState held(ButtonPaintState::kPressed | ButtonPaintState::kFocused);
    const POINT centre = fixture.centreOf(id);
    ASSERT_TRUE(test::hoverUntil(centre, [&] { return showsPushLook(button, hot); }));

    mouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(test::pumpUntil([&] { return showsPushLook(button, held); })) << "no inset while held";

    mouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(test::pumpUntil([&] { return fixture.clicksOf(id) == 1; }));
    EXPECT_TRUE(test::hoverUntil({centre.x + 3, centre.y}, [&] { return showsPushLook(button, hot); }))
        << "not hot after the next move";
}

// What the system sends for a double click: the second press arrives as
// WM_LBUTTONDBLCLK, since the Button class asks for double clicks.
void doubleClick(HWND button) {
    const LPARAM at = MAKELPARAM(30, 10);
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(button, WM_LBUTTONUP, 0, at);
    ::SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(button, WM_LBUTTONUP, 0, at);
}

TEST_F(GalleryButtons, DoubleClickReachesTheButtonOnce) {
    const struct {
        ControlId id;
        int checkAfter;  // BM_GETCHECK afterwards; -1 for a push button
    } cases[] = {
        {gallery::kPushNormal, -1},
        {gallery::kCheckUnchecked, BST_CHECKED},  // ticked once, not ticked and unticked
        {gallery::kImageButton, -1},
    };
    for (const auto& c : cases) {
        HWND button = fixture.control(c.id);
        doubleClick(button);
        test::drainMessages();
        EXPECT_EQ(fixture.clicksOf(c.id), 1) << c.id;
        if (c.checkAfter >= 0) {
            EXPECT_EQ(::SendMessageW(button, BM_GETCHECK, 0, 0), c.checkAfter) << c.id;
        }
    }
}

TEST_F(GalleryButtons, HotLookPassesToTheNeighbourOnADirectMove) {
    const int first = gallery::kPushNormal, second = gallery::kPushDefault;
    ASSERT_TRUE(test::hoverUntil(fixture.centreOf(first), [&] { return looksHot(first); }));
    const struct { int from, to; } moves[] = {{first, second}, {second, first}};
    for (const auto& move : moves) {
        EXPECT_TRUE(
            test::hoverUntil(fixture.centreOf(move.to), [&] { return looksHot(move.to) && !looksHot(move.from); }))
            << "from " << move.from << " to " << move.to;
    }
}

// Every kind repainted through the window's path (back buffer of the picture,
// painter, copy to the screen) in every state, hover repaints and owner-draw
// answers alike: afterwards as many objects are alive as before.
TEST_F(GalleryButtons, RepaintsLeaveNoObjectsBehind) {
    const int ids[] = {gallery::kPushNormal,   gallery::kPushDisabled, gallery::kCheckChecked,
                       gallery::kRadioChecked, gallery::kImageButton,  gallery::kStateImageButton};
    const UINT states[] = {0, ButtonPaintState::kPressed, ButtonPaintState::kFocused, ButtonPaintState::kDisabled};
    for (int id : ids) paintButtonState(fixture.control(id), ButtonPaintState(), true);  // first-use allocations
    test::drainMessages();
    const test::LiveObjects before;
    for (int id : ids) {
        HWND button = fixture.control(id);
        for (int i = 0; i < 500; ++i) paintButtonState(button, ButtonPaintState(states[i % 4]), i % 2 == 1);
        for (int i = 0; i < 50; ++i) {
            ::InvalidateRect(button, nullptr, FALSE);
            ::UpdateWindow(button);
        }
    }
    const test::LiveObjects after;
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
