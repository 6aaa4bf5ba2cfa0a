// The shared window helpers: text, class test and client rectangle.
#include "base/win32_util.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

// Longer than the fixed 16- and 32-character buffers such helpers are often written with.
constexpr wchar_t kLongClass[] = L"PelmoraWin32UtilTestWindowClassWithALongName";

HWND makeWindow(const wchar_t* text, int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kLongClass;
        registered = ::RegisterClassExW(&wc) != 0;
    }
    return ::CreateWindowExW(0, kLongClass, text, WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

TEST(Win32UtilTest, WindowTextWholeAndEmpty) {
    struct Case {
        const wchar_t* text;
    } cases[] = {{L"软件安装向导"}, {L""}, {L"C:\\Program Files\\Pelmora\\Pelmora☆Corvane.exe"}};
    for (const Case& c : cases) {
        HWND window = makeWindow(c.text, 50, 40);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(windowText(window), c.text);
        ::DestroyWindow(window);
        EXPECT_EQ(windowText(window), L"") << "a window that is gone has no text";
    }
}

TEST(Win32UtilTest, ClassTestIgnoresCaseAndSeesTheWholeName) {
    HWND window = makeWindow(L"", 50, 40);
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(button, nullptr);
    struct Case {
        HWND window;
        const wchar_t* name;
        bool matches;
    } cases[] = {
        {button, L"Button", true},
        {button, L"button", true},
        {button, L"ButtonX", false},
        {window, kLongClass, true},
        {window, L"PelmoraWin32UtilTestWindowClassW", false},  // its first 32 characters only
    };
    for (const Case& c : cases) EXPECT_EQ(hasWindowClass(c.window, c.name), c.matches) << c.name;
    EXPECT_EQ(windowClassName(window), kLongClass);
    ::DestroyWindow(button);
    ::DestroyWindow(window);
}

TEST(Win32UtilTest, ClientRectangleStartsAtTheOrigin) {
    HWND window = makeWindow(L"", 120, 80);
    const RECT r = clientRect(window);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 120);  // a popup without a border: client = window
    EXPECT_EQ(r.bottom, 80);
    ::DestroyWindow(window);
    const RECT gone = clientRect(window);
    EXPECT_EQ(gone.right | gone.bottom, 0);
}

}  // namespace
}  // namespace pelmora
