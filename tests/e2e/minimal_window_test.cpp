// The minimal example, started as its own process: skinned as the engine
// draws windows (rounded outline, the theme colour on screen), its button
// shows the edit's text in a skinned message box, and it ends cleanly.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/unique_resource.h"
#include "tests/e2e/driver.h"

namespace pelmora::e2e {
namespace {

constexpr wchar_t kTitle[] = L"最小的皮肤窗口";
constexpr COLORREF kThemeColour = RGB(0x2B, 0x3A, 0x55);  // the example's theme
constexpr int kEditId = 101;
constexpr int kButtonId = 102;

std::wstring minimalPath() {
    return buildDir() + L"\\demo\\minimal\\minimal.exe";
}

bool closeTo(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 12 && std::abs(GetGValue(a) - GetGValue(b)) <= 12 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 12;
}

// What the screen shows at a point of the window (window coordinates).
COLORREF screenPixel(HWND window, int x, int y) {
    RECT r;
    ::GetWindowRect(window, &r);
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, r.left + x, r.top + y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

// The engine gives a skinned window (and a skinned box) its rounded outline:
// the corner pixel lies outside the region, the middle inside.
bool hasRoundedOutline(HWND window) {
    GdiRegion region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(window, region.get()) == ERROR) return false;
    RECT r;
    ::GetWindowRect(window, &r);
    return !::PtInRegion(region.get(), 0, 0) && ::PtInRegion(region.get(), (r.right - r.left) / 2, 10);
}

TEST(MinimalWindowTest, IsSkinnedShowsItsTextInASkinnedBoxAndClosesCleanly) {
    Installer program(L"", minimalPath(), kTitle);
    ASSERT_TRUE(program.window()) << "the example's window did not appear";
    HWND window = program.window();

    EXPECT_TRUE(waitFor([&] { return hasRoundedOutline(window); }, 5000)) << "no rounded outline: not skinned";
    // Below the controls the engine paints the theme colour; an unskinned
    // window of this class paints no background at all.
    RECT client;
    ::GetClientRect(window, &client);
    const int x = client.right / 2, y = client.bottom - 30;
    EXPECT_TRUE(waitFor([&] { return closeTo(screenPixel(window, x, y), kThemeColour); }, 5000))
        << "pixel " << std::hex << screenPixel(window, x, y);

    const std::wstring text = L"皮肤引擎的示例";
    ::SendMessageW(::GetDlgItem(window, kEditId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    clickLater(::GetDlgItem(window, kButtonId));
    HWND box = nullptr;
    ASSERT_TRUE(waitFor([&] { return (box = findDialog(program.processId(), kTitle)) != nullptr; }));
    EXPECT_EQ(messageBoxText(box), text);
    EXPECT_TRUE(waitFor([&] { return hasRoundedOutline(box); }, 5000)) << "the message box was not skinned";
    clickLater(::GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitExit(10000), 0);
}

}  // namespace
}  // namespace pelmora::e2e
