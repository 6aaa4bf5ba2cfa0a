// Edit boxes in a real skinned window: the text area shows the picture, the
// border follows the pointer and the focus, typing leaves nothing of the old
// text behind, and a multi-line edit keeps its native scroll bar inside the
// skinned border.
#include <windows.h>
#include <gtest/gtest.h>

#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/window_properties.h"
#include "skin/skin_engine.h"
#include "tests/skin/controls/control_window_support.h"

namespace pelmora {
namespace {

using test::closeTo;
using test::over;
using test::pumpFor;
using test::pumpUntil;
using test::SkinnedControlWindow;

constexpr std::uint32_t kBlack = 0xFF000000, kRed = 0xFFFF0000;

HWND makeEdit(HWND parent, DWORD style, DWORD exStyle, int x, int y, int w, int h, const wchar_t* text) {
    HWND edit = test::createChild(parent, L"Edit", style, x, y, w, h, text, exStyle);
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return edit;
}

// The installer's folder box: read-only, one line, a sunken edge.
class FolderEditTest : public ::testing::Test {
protected:
    FolderEditTest()
        : host([&](HWND w) {
              edit =
                  makeEdit(w, ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 80, 200, 271, 25, L"C:\\Program Files");
              other = makeEdit(w, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 80, 240, 100, 25, L"");
          }) {
        skinEngine().setControlTextColour(edit, 0x000000FF);
        ::InvalidateRect(edit, nullptr, TRUE);
        ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        pumpFor(50);
    }
    std::uint32_t at(int x, int y) const { return host.controlPixel(edit, x, y); }
    std::uint32_t picture(int x, int y) const { return host.pictureUnder(edit, x, y); }
    bool showsRestBorder() const { return closeTo(at(0, 12), over(picture(0, 12), kBlack, 80), 2); }

    HWND edit = nullptr, other = nullptr;
    SkinnedControlWindow host;
};

TEST_F(FolderEditTest, TextAreaIsThePictureAndTheTextIsInItsColour) {
    ASSERT_TRUE(pumpUntil([&] { return closeTo(at(260, 12), picture(260, 12), 2); }));
    // Right of the text, every row of the text area is the picture unchanged.
    for (int y = 2; y < 23; ++y)
        for (int x : {200, 235, 268}) EXPECT_TRUE(closeTo(at(x, y), picture(x, y), 2)) << x << "," << y;
    int redText = 0;
    for (int y = 2; y < 23; ++y)
        for (int x = 2; x < 100; ++x) redText += test::redness(at(x, y)) > 120;
    EXPECT_GT(redText, 20) << "the folder is written in the edit's text colour";
    EXPECT_TRUE(showsRestBorder());
}

TEST_F(FolderEditTest, BorderIsAccentWhileHotAndWhileFocused) {
    ASSERT_TRUE(pumpUntil([&] { return showsRestBorder(); }));
    host.pointAt(edit, 130, 12);
    ASSERT_TRUE(pumpUntil([&] { return closeTo(at(1, 12), over(picture(1, 12), kRed, 180), 3); }))
        << "hot: a 2-pixel accent line";
    EXPECT_TRUE(closeTo(at(0, 12), over(picture(0, 12), kRed, 180), 3));
    EXPECT_TRUE(closeTo(at(2, 12), picture(2, 12), 2)) << "the text area starts inside it";

    host.pointAt(other, 50, 12);
    ASSERT_TRUE(pumpUntil([&] { return showsRestBorder(); })) << "back at rest when the pointer leaves";

    ::SetFocus(edit);
    ASSERT_TRUE(pumpUntil([&] { return closeTo(at(0, 12), over(picture(0, 12), kRed, 180), 3); }))
        << "focused: a 1-pixel accent line on the edge";
    EXPECT_TRUE(closeTo(at(1, 12), picture(1, 12), 2)) << "and nothing inside it";
    ::SetFocus(other);
    EXPECT_TRUE(pumpUntil([&] { return showsRestBorder(); }));
}

TEST_F(FolderEditTest, BrushesAreFreedWhenTheEditGoes) {
    ASSERT_TRUE(pumpUntil([&] { return propValue(edit, kPropBackgroundBrush) != 0; }));
    const auto brush = reinterpret_cast<HGDIOBJ>(propValue(edit, kPropBackgroundBrush));
    ::DestroyWindow(edit);
    EXPECT_EQ(::GetObjectType(brush), 0u);
    EXPECT_FALSE(windowRecord(findWindowRecord(host.window()))->controlBrushes.holds(edit));
}

TEST(TypingTest, DeletedTextLeavesOnlyThePicture) {
    HWND edit = nullptr;
    SkinnedControlWindow host(
        [&](HWND w) { edit = makeEdit(w, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 40, 120, 200, 25, L""); });
    ::SetFocus(edit);
    auto type = [&](wchar_t c, UINT key) {
        ::SendMessageW(edit, WM_KEYDOWN, key, 0);
        ::SendMessageW(edit, WM_CHAR, c, 0);
        ::SendMessageW(edit, WM_KEYUP, key, 0);
        test::drainMessages();
    };
    for (int i = 0; i < 12; ++i) type(L'W', 'W');
    pumpFor(50);
    int changed = 0;
    for (int x = 3; x < 100; ++x)
        changed += !closeTo(host.controlPixel(edit, x, 12), host.pictureUnder(edit, x, 12), 2);
    ASSERT_GT(changed, 10) << "the typed text shows";
    for (int i = 0; i < 12; ++i) type(L'\b', VK_BACK);
    pumpFor(50);
    for (int y = 3; y < 22; ++y)
        for (int x = 3; x < 196; ++x)
            if (!closeTo(host.controlPixel(edit, x, y), host.pictureUnder(edit, x, y), 2)) {
                // The caret may blink at the start of the line.
                if (x <= 4) continue;
                ADD_FAILURE() << "an old glyph at " << x << "," << y;
                return;
            }
}

TEST(MultiLineEditTest, NativeScrollBarStaysInsideTheSkinnedBorder) {
    HWND edit = nullptr;
    SkinnedControlWindow host([&](HWND w) {
        edit = makeEdit(w, ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE, 40, 80, 160, 90,
                        L"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12");
    });
    const RectI client = clientAreaInWindow(edit);
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetScrollBarInfo(edit, OBJID_VSCROLL, &info));
    RECT window{};
    ::GetWindowRect(edit, &window);
    const int barLeft = info.rcScrollBar.left - window.left, barRight = info.rcScrollBar.right - window.left;
    EXPECT_EQ(barLeft, client.x + client.width) << "the bar sits right of the text area";
    EXPECT_LT(barRight, 160) << "and inside the border";
    auto skinnedBorder = [&](int x, int y) {
        return closeTo(host.controlPixel(edit, x, y), over(host.pictureUnder(edit, x, y), kBlack, 80), 2);
    };
    ASSERT_TRUE(pumpUntil([&] { return skinnedBorder(159, 45); }));
    for (int y : {0, 45, 89}) EXPECT_TRUE(skinnedBorder(159, y)) << "right border at " << y;
    EXPECT_TRUE(skinnedBorder(80, 0));
    EXPECT_TRUE(skinnedBorder(80, 89));
    // The bar itself is the system's: no pixel of the picture shows through it.
    const int barMiddle = (barLeft + barRight) / 2;
    int picturePixels = 0;
    for (int y = client.y; y < client.y + client.height; ++y)
        picturePixels += closeTo(host.controlPixel(edit, barMiddle, y), host.pictureUnder(edit, barMiddle, y), 6);
    EXPECT_EQ(picturePixels, 0);
}

}  // namespace
}  // namespace pelmora
