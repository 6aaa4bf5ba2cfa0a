// The software-information box as a user meets it: skinned (layered, rounded,
// faded in to 250, its close button red under the pointer, read from the
// screen), closed with its close button, its own button or Esc, and the
// installer's window working behind it afterwards; the focus step-down that
// comes back to 250, a box closed while it fades in, and the installer losing
// activation.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/install_checks.h"

namespace pelmora::e2e {
namespace {

constexpr wchar_t kInformationCaption[] = L"软件信息";

RECT screenRectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

COLORREF screenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

int alphaOf(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}

bool isRed(COLORREF c) {
    return GetRValue(c) > GetGValue(c) + 80 && GetRValue(c) > GetBValue(c) + 80;
}

// Where the pointer stands on the close button, and a pixel of its red
// highlight clear of the cross (the highlight spans the 30 x 17 pixels whose
// press closes the box, from x = R - 35 and y = T + 4).
POINT closeButtonPoint(HWND box) {
    const RECT r = screenRectOf(box);
    return {r.right - 20, r.top + 12};
}
POINT highlightPixel(HWND box) {
    const RECT r = screenRectOf(box);
    return {r.left + (r.right - r.left - 35) + 3, r.top + 7};
}

HWND openFromLink(Installer& installer) {
    ::PostMessageW(installer.unit(kTermsLink), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return waitForBox(installer, kInformationCaption);
}

// Moves the pointer to `at`, a pixel to and fro, until `ready` holds.
template <typename F>
bool pointUntil(POINT at, F ready) {
    int step = 0;
    return waitFor([&] {
        ::SetCursorPos(at.x + (step++ % 2), at.y);
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

// The window behind the box takes clicks again: the agreement box ticks and
// unticks, and the installer answers posted messages.
void expectWindowWorks(const Installer& installer, const char* after) {
    ASSERT_TRUE(waitFor([&] { return ::IsWindowEnabled(installer.window()) != FALSE; })) << after;
    HWND check = installer.unit(kAgreeCheck);
    const LRESULT before = ::SendMessageW(check, BM_GETCHECK, 0, 0);
    ::SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_NE(::SendMessageW(check, BM_GETCHECK, 0, 0), before) << after;
    ::SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), before) << after;
    EXPECT_TRUE(settle(installer)) << after;
}

TEST(InformationBoxTest, IsSkinnedAndItsCloseButtonTurnsRedUnderThePointer) {
    ::SetCursorPos(5, 5);
    Installer installer;
    ASSERT_TRUE(installer.window());
    HWND box = openFromLink(installer);
    ASSERT_TRUE(box);
    EXPECT_TRUE(boxSkinnedAndFadedIn(box));

    const POINT hot = highlightPixel(box);
    EXPECT_FALSE(isRed(screenPixel(hot.x, hot.y))) << "red before the pointer came";
    EXPECT_TRUE(pointUntil(closeButtonPoint(box), [&] { return isRed(screenPixel(hot.x, hot.y)); }))
        << "the close button did not turn red: " << std::hex << screenPixel(hot.x, hot.y);
    saveScreenshot(screenshotPath(L"information-box"));
    // The red goes when the pointer moves on over the caption, and when it
    // leaves the box straight from the button.
    const RECT r = screenRectOf(box);
    const POINT away[] = {{(r.left + r.right) / 2, r.top + 12}, {r.right + 30, r.top + 12}};
    for (const POINT& to : away) {
        EXPECT_TRUE(pointUntil(closeButtonPoint(box), [&] { return isRed(screenPixel(hot.x, hot.y)); }));
        EXPECT_TRUE(pointUntil(to, [&] { return !isRed(screenPixel(hot.x, hot.y)); }))
            << "the red stayed after the pointer moved to " << to.x - r.left << "," << to.y - r.top;
    }
    clickLater(::GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    expectWindowWorks(installer, "after OK");
}

TEST(InformationBoxTest, ClosesWithItsCloseButtonItsOwnButtonAndEsc) {
    ::SetCursorPos(5, 5);
    Installer installer;
    ASSERT_TRUE(installer.window());
    struct Way {
        const char* name;
        std::function<void(HWND)> close;
    } ways[] = {
        {"close button",
         [](HWND box) {
             const POINT at = closeButtonPoint(box), hot = highlightPixel(box);
             pointUntil(at, [&] { return isRed(screenPixel(hot.x, hot.y)); });
             mouseButton(MOUSEEVENTF_LEFTDOWN);
             mouseButton(MOUSEEVENTF_LEFTUP);
         }},
        {"own button", [](HWND box) { clickLater(::GetDlgItem(box, IDOK)); }},
        {"Esc", [&installer](HWND) { pressKey(installer, VK_ESCAPE); }},
    };
    for (const Way& way : ways) {
        HWND box = openFromLink(installer);
        ASSERT_TRUE(box) << way.name;
        EXPECT_TRUE(boxSkinnedAndFadedIn(box)) << way.name;
        way.close(box);
        EXPECT_TRUE(waitFor([&] { return !::IsWindow(box); })) << way.name << " did not close the box";
        ::SetCursorPos(5, 5);
        EXPECT_TRUE(installer.running()) << way.name;
        expectWindowWorks(installer, way.name);
    }
}

// The whole caption band drags the box; the window behind stays where it is.
TEST(InformationBoxTest, CaptionBandDragsTheBox) {
    ::SetCursorPos(5, 5);
    Installer installer;
    ASSERT_TRUE(installer.window());
    HWND box = openFromLink(installer);
    ASSERT_TRUE(box);
    ASSERT_TRUE(boxSkinnedAndFadedIn(box));
    const RECT before = screenRectOf(box), behind = screenRectOf(installer.window());
    const POINT grip{before.left + 60, before.top + 22};  // below the title, inside the 25-pixel band
    ::SetCursorPos(grip.x, grip.y);
    ASSERT_TRUE(settle(installer));
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 10; ++step) {
        ::SetCursorPos(grip.x + 4 * step, grip.y + 3 * step);
        ::Sleep(20);
    }
    mouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(waitFor([&] {
        const RECT now = screenRectOf(box);
        return now.left == before.left + 40 && now.top == before.top + 30;
    })) << "moved by "
        << screenRectOf(box).left - before.left << "," << screenRectOf(box).top - before.top;
    const RECT still = screenRectOf(installer.window());
    EXPECT_EQ(still.left, behind.left);
    EXPECT_EQ(still.top, behind.top);
    ::SetCursorPos(5, 5);
    clickLater(::GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    expectWindowWorks(installer, "after the drag");
}

// Focus reaching the box after its fade-in steps it down; it fades in again
// rather than staying nearly invisible.
TEST(InformationBoxTest, StepDownAfterTheFadeInComesBackTo250) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    HWND box = openFromLink(installer);
    ASSERT_TRUE(box);
    ASSERT_TRUE(boxSkinnedAndFadedIn(box));
    ::SendMessageW(box, WM_SETFOCUS, 0, 0);
    EXPECT_LT(alphaOf(box), 250) << "no step-down";
    EXPECT_TRUE(waitFor([&] { return alphaOf(box) == 250; })) << "left at alpha " << alphaOf(box);
    clickLater(::GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    expectWindowWorks(installer, "after the step-down");
}

// Answered the moment it appears, the box goes while its fade-in thread is
// still stepping; the installer does not notice.
TEST(InformationBoxTest, BoxClosedWhileItFadesInLeavesTheInstallerWorking) {
    Installer installer;
    ASSERT_TRUE(installer.window());
    int closedFading = 0;
    for (int i = 0; i < 3; ++i) {
        HWND box = openFromLink(installer);
        ASSERT_TRUE(box);
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        closedFading += alphaOf(box) < 250;
        ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    }
    EXPECT_GT(closedFading, 0) << "every box had finished its fade before it was answered";
    EXPECT_TRUE(installer.running());
    expectWindowWorks(installer, "after boxes closed while fading");
}

// Losing activation twice trims the working set twice in the installer's own
// process: no trimming program appears in the Windows folder, and the
// installer goes on working.
TEST(InformationBoxTest, LosingActivationTwiceLeavesTheInstallerWorkingAndWritesNothing) {
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring planted = std::wstring(windows) + L"\\empty.exe";
    Installer installer;
    ASSERT_TRUE(installer.window());
    for (int i = 0; i < 2; ++i) ::SendMessageW(installer.window(), WM_ACTIVATEAPP, FALSE, 0);
    expectWindowWorks(installer, "after losing activation");
    EXPECT_EQ(::GetFileAttributesW(planted.c_str()), INVALID_FILE_ATTRIBUTES);
    HWND box = openFromLink(installer);
    ASSERT_TRUE(box);
    EXPECT_TRUE(boxSkinnedAndFadedIn(box));
    clickLater(::GetDlgItem(box, IDOK));
    EXPECT_TRUE(waitFor([&] { return !::IsWindow(box); }));
}

}  // namespace
}  // namespace pelmora::e2e
