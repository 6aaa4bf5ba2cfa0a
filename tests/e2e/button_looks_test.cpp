// The installer's buttons and check box as the engine draws them, read from
// the screen while a user works them: "开始安装" in red with rounded corners,
// the accent outline under the pointer, the pressed inset, the focus glow, the
// square grey plate once the box is unticked, and the box's tick and glow.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "tests/e2e/driver.h"

namespace pelmora::e2e {
namespace {

enum Unit { kAgreeCheck = 11, kInstallButton = 15, kBrowseButton = 17 };

constexpr std::uint32_t kAccent = 0x22CADD;  // the default accent 0x00DDCA22 as RGB
constexpr std::uint32_t kPlate = 0xC0C0C0;   // a disabled button's plate

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

RECT screenRectOf(HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    return r;
}

// What the display shows at (x, y) of the control, as 0x00RRGGBB.
std::uint32_t pixelIn(HWND control, int x, int y) {
    const RECT r = screenRectOf(control);
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, r.left + x, r.top + y);
    ::ReleaseDC(nullptr, screen);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

int heightOf(HWND control) {
    const RECT r = screenRectOf(control);
    return r.bottom - r.top;
}

// The outline half-way down the left edge.
std::uint32_t outlineOf(HWND button) {
    return pixelIn(button, 0, heightOf(button) / 2);
}

int redPixelsIn(HWND control) {
    const RECT r = screenRectOf(control);
    HDC screen = ::GetDC(nullptr);
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = ::GetPixel(screen, x, y);
            count += GetRValue(c) > GetGValue(c) + 80 && GetRValue(c) > GetBValue(c) + 80;
        }
    ::ReleaseDC(nullptr, screen);
    return count;
}

// Moves the pointer onto the control and keeps it moving by a pixel until
// `ready` holds, as a hand does: one synthetic move can reach the window
// before it is ready to track the mouse.
template <typename F>
bool hoverUntil(HWND control, F ready) {
    const RECT r = screenRectOf(control);
    int step = 0;
    return waitFor([&] {
        ::SetCursorPos((r.left + r.right) / 2 + (step++ % 2), (r.top + r.bottom) / 2);
        ::Sleep(15);
        return ready();
    });
}

void mouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    ::SendInput(1, &input, sizeof input);
}

TEST(ButtonLooksTest, InstallerButtonsAndCheckBoxInEveryIdleState) {
    ::SetCursorPos(5, 5);
    Installer installer;
    ASSERT_TRUE(installer.window());
    HWND install = installer.unit(kInstallButton), browse = installer.unit(kBrowseButton);
    HWND check = installer.unit(kAgreeCheck);

    // Resting: red caption, rounded corners (the picture shows at the corner),
    // a dark outline.
    EXPECT_TRUE(waitFor([&] { return redPixelsIn(install) > 10; })) << "开始安装 is not red";
    EXPECT_EQ(redPixelsIn(browse), 0);
    EXPECT_FALSE(closeTo(pixelIn(install, 0, 0), kPlate, 8));
    EXPECT_FALSE(closeTo(outlineOf(install), kAccent, 40));

    // Hot: the accent outline, handed to the neighbour on a direct move.
    EXPECT_TRUE(hoverUntil(install, [&] { return closeTo(outlineOf(install), kAccent, 8); }))
        << "no hot outline: " << std::hex << outlineOf(install);
    EXPECT_TRUE(hoverUntil(browse, [&] {
        return closeTo(outlineOf(browse), kAccent, 8) && !closeTo(outlineOf(install), kAccent, 40);
    })) << "the hot look did not move to 浏览";

    // Pressed, then released away from the button (no click): the inset while
    // held is strongest two pixels in, where the focused look has none.
    ASSERT_TRUE(hoverUntil(install, [&] { return closeTo(outlineOf(install), kAccent, 8); }));
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(waitFor([&] { return !closeTo(outlineOf(install), kAccent, 40); })) << "no pressed repaint";
    const std::uint32_t held = pixelIn(install, 6, 3);
    ::SetCursorPos(5, 5);
    mouseButton(MOUSEEVENTF_LEFTUP);
    // Focused: the glow, a cyan outline neither black nor the accent.
    EXPECT_TRUE(waitFor([&] {
        const std::uint32_t o = outlineOf(install);
        return blueOf(o) > redOf(o) + 50 && !closeTo(o, kAccent, 30) &&
               redOf(pixelIn(install, 6, 3)) > redOf(held) + 25;
    })) << "no focus glow, or no inset while held: outline "
        << std::hex << outlineOf(install) << ", held " << held << ", focused " << pixelIn(install, 6, 3);
    EXPECT_TRUE(installer.running());
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // The box under the pointer: accent over the empty box.
    EXPECT_TRUE(hoverUntil(check, [&] {
        const std::uint32_t c = pixelIn(check, 4, 3);
        return blueOf(c) > redOf(c) + 40;
    })) << "no hot box";
    ::SetCursorPos(5, 5);

    // Ticked, then unticked: the tick comes and goes, and "开始安装" turns
    // into a square grey plate.
    ::SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitFor([&] { return greenOf(pixelIn(check, 5, 8)) < 160; })) << "no tick";
    ::SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitFor([&] { return greenOf(pixelIn(check, 5, 8)) > 200; })) << "the tick stayed";
    EXPECT_FALSE(::IsWindowEnabled(install));
    EXPECT_TRUE(waitFor([&] {
        const RECT r = screenRectOf(install);
        return closeTo(pixelIn(install, 0, 0), kPlate, 1) &&
               closeTo(pixelIn(install, r.right - r.left - 1, 0), kPlate, 1);
    })) << "no square grey corners";
}

}  // namespace
}  // namespace pelmora::e2e
