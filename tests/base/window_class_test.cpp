// The class registration and the window-object procedure: a second
// registration is no failure, and messages reach the object that owns the
// window from its first message to its last, and never after.
#include "base/window_class.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelmora {
namespace {

constexpr wchar_t kClass[] = L"PelmoraWindowClassTest";
constexpr UINT kPing = WM_APP + 1;

struct Recorder {
    HWND seenWindow = nullptr;
    std::vector<UINT> messages;
    bool ownedAtDestroy = false;

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) seenWindow = window;
        if (message == WM_NCCREATE || message == WM_CREATE || message == kPing || message == WM_NCDESTROY)
            messages.push_back(message);
        if (message == WM_DESTROY)
            ownedAtDestroy = ::GetWindowLongPtrW(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this);
        if (message == kPing) return 42;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};

HINSTANCE module() {
    return ::GetModuleHandleW(nullptr);
}

TEST(WindowClassTest, RegisteringAClassTwiceSucceedsBothTimes) {
    ASSERT_TRUE(registerWindowClass(module(), kClass, objectWindowProc<Recorder>));
    EXPECT_TRUE(registerWindowClass(module(), kClass, objectWindowProc<Recorder>));
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetClassInfoExW(module(), kClass, &info));
    EXPECT_EQ(info.lpfnWndProc, objectWindowProc<Recorder>);
}

TEST(WindowClassTest, TheOwningObjectGetsEveryMessageFromCreateToDestroy) {
    ASSERT_TRUE(registerWindowClass(module(), kClass, objectWindowProc<Recorder>));
    Recorder recorder;
    HWND window = ::CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module(), &recorder);
    ASSERT_TRUE(window);
    EXPECT_EQ(recorder.seenWindow, window);
    EXPECT_EQ(::SendMessageW(window, kPing, 0, 0), 42);
    ::DestroyWindow(window);
    EXPECT_TRUE(recorder.ownedAtDestroy);
    EXPECT_EQ(recorder.messages, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, kPing, WM_NCDESTROY}));
}

// Without an object (or once the object has let go) the window still works,
// as a plain DefWindowProc window.
TEST(WindowClassTest, AWindowWithoutItsObjectFallsBackToTheDefaultProcedure) {
    ASSERT_TRUE(registerWindowClass(module(), kClass, objectWindowProc<Recorder>));
    HWND window = ::CreateWindowExW(0, kClass, L"无主", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module(), nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(::SendMessageW(window, kPing, 0, 0), 0);
    wchar_t text[8] = {};
    EXPECT_EQ(::GetWindowTextW(window, text, 8), 2);
    Recorder recorder;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&recorder));
    EXPECT_EQ(::SendMessageW(window, kPing, 0, 0), 42);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    EXPECT_EQ(::SendMessageW(window, kPing, 0, 0), 0);
    ::DestroyWindow(window);
    EXPECT_EQ(recorder.messages, (std::vector<UINT>{kPing}));
}

}  // namespace
}  // namespace pelmora
