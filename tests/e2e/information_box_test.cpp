// The software-information box as a user meets it: skinned (layered, rounded,
// faded in to 250, its close button red under the pointer, read from the
// screen), closed with its close button, its own button or Esc, and the
// installer's window working behind it afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

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
    const RECT r = screenRectOf(box);
    EXPECT_TRUE(pointUntil({(r.left + r.right) / 2, r.top + 12}, [&] { return !isRed(screenPixel(hot.x, hot.y)); }))
        << "the red stayed after the pointer left";
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

}  // namespace
}  // namespace pelmora::e2e
