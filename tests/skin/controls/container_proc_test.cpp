// Containers and statics in a real skinned window: a group box's push buttons
// are drawn by the owner-draw painter through the group box, the box draws its
// frame over the picture, and a text static blends its text onto the picture.
#include <windows.h>
#include <gtest/gtest.h>

#include "skin/controls/button_proc.h"
#include "skin/controls/containers.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "tests/skin/controls/control_window_support.h"

namespace pelmora {
namespace {

using test::closeTo;
using test::over;
using test::pumpFor;
using test::pumpUntil;
using test::SkinnedControlWindow;

constexpr std::uint32_t kBlack = 0xFF000000;

int darkPixels(const SkinnedControlWindow& host, HWND control, RECT area) {
    int dark = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = host.controlPixel(control, x, y);
            dark += test::red(p) + test::green(p) + test::blue(p) < 150;
        }
    return dark;
}

class GroupBoxTest : public ::testing::Test {
protected:
    GroupBoxTest()
        : host([&](HWND w) {
              box = test::createChild(w, L"BUTTON", BS_GROUPBOX, 40, 60, 240, 100, L"分组");
              button = test::createChild(box, L"BUTTON", BS_PUSHBUTTON, 20, 30, 100, 30, L"组内按钮");
              ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
          }) {
        index = skinEngine().skinContainerWindow(box);
        pumpFor(100);
    }
    HWND box = nullptr, button = nullptr;
    SkinnedControlWindow host;
    int index = 0;
};

TEST_F(GroupBoxTest, IsRecordedOnceAndItsButtonsAreTaken) {
    ASSERT_EQ(index, 1);
    const SkinnedWindowRecord& record = *windowRecord(findWindowRecord(host.window()));
    EXPECT_TRUE(record.controls<ContainerSkinRecord>().at(1).groupBox);
    EXPECT_EQ(propIndex(box, kPropListIndex), 1);
    EXPECT_GE(record.controls<ButtonSkinRecord>().indexOf(button), 1);
    EXPECT_EQ(::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(skinEngine().skinContainerWindow(box), 0) << "a container already recorded is left as it is";
}

// What the screen shows of the button is exactly what the owner-draw painter
// paints for it: the group box handed it the button's WM_DRAWITEM.
TEST_F(GroupBoxTest, PushButtonsAreDrawnByTheOwnerDrawPainter) {
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(50);
    test::Canvas expected(100, 30);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = button;
    item.itemAction = ODA_DRAWENTIRE;
    item.rcItem = {0, 0, 100, 30};
    item.hDC = expected.dc();
    ASSERT_TRUE(drawOwnerButton(findWindowRecord(host.window()), item));
    int differing = 0;
    for (int y = 1; y < 29; y += 3)
        for (int x = 1; x < 99; x += 3)
            differing += !closeTo(host.controlPixel(button, x, y), expected.argb(x, y) | 0xFF000000u, 3);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(darkPixels(host, button, {10, 5, 90, 25}), 10) << "the caption is drawn";
}

TEST_F(GroupBoxTest, FrameLiesOverThePictureAndTheInsideIsThePicture) {
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(50);
    // The left edge half way down: the frame line, black at alpha 80.
    EXPECT_TRUE(closeTo(host.controlPixel(box, 0, 50), over(host.pictureUnder(box, 0, 50), kBlack, 80), 3));
    // Inside, away from the button: the picture as it is.
    for (int x : {150, 200, 220})
        EXPECT_TRUE(closeTo(host.controlPixel(box, x, 80), host.pictureUnder(box, x, 80), 2)) << x;
}

TEST_F(GroupBoxTest, MovedBoxIsDrawnAgainOverThePictureAtItsNewPlace) {
    ::SetWindowPos(box, nullptr, 60, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(pumpUntil(
        [&] { return closeTo(host.controlPixel(box, 0, 50), over(host.pictureUnder(box, 0, 50), kBlack, 80), 3); }));
    for (int x : {150, 200, 220})
        EXPECT_TRUE(closeTo(host.controlPixel(box, x, 80), host.pictureUnder(box, x, 80), 2)) << x;
}

TEST(ContainerTest, WindowOutsideAnySkinnedWindowIsNotRecorded) {
    test::SkinState state;
    HWND lone = test::createHostWindow();
    test::createChild(lone, L"BUTTON", BS_PUSHBUTTON, 0, 0, 50, 20);
    EXPECT_EQ(skinContainerWindow(lone, ContainerOptions{}), 0);
    EXPECT_EQ(::GetPropW(lone, kPropPreviousProc), nullptr);
    ::DestroyWindow(lone);
}

class TextStaticTest : public ::testing::Test {
protected:
    TextStaticTest()
        : host([&](HWND w) {
              label = test::createChild(w, L"Static", SS_LEFT, 40, 60, 200, 20, L"安装路径");
              ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
          }) {}
    HWND label = nullptr;
    SkinnedControlWindow host;
};

TEST_F(TextStaticTest, TextStandsOnThePictureWithNoBoxAroundIt) {
    ASSERT_TRUE(pumpUntil([&] { return darkPixels(host, label, {0, 0, 80, 20}) > 10; }));
    // Right of the text, the whole height is the picture unchanged.
    for (int y = 0; y < 20; y += 2)
        for (int x : {120, 160, 198})
            EXPECT_TRUE(closeTo(host.controlPixel(label, x, y), host.pictureUnder(label, x, y), 2));
}

TEST_F(TextStaticTest, NewTextReplacesTheOldOnThePicture) {
    ASSERT_TRUE(pumpUntil([&] { return darkPixels(host, label, {0, 0, 80, 20}) > 10; }));
    ::SetWindowTextW(label, L"");
    ASSERT_TRUE(pumpUntil([&] { return darkPixels(host, label, {0, 0, 200, 20}) == 0; }));
    for (int y = 0; y < 20; y += 2)
        for (int x = 0; x < 80; x += 5)
            EXPECT_TRUE(closeTo(host.controlPixel(label, x, y), host.pictureUnder(label, x, y), 2)) << x << "," << y;
}

}  // namespace
}  // namespace pelmora
