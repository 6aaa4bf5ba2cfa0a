// The scoped hook that hands the next message box to the dialog skinning: it
// is installed for exactly as long as it is needed, and never outlives its box.
#include "skin/dialog/message_box_hook.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

constexpr wchar_t kCaption[] = L"软件信息";

// Closes the box from inside its own modal loop, noting whether the hook was
// already gone by then.
struct BoxCloser {
    static inline bool hookGoneWhileShown = false;
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = ::FindWindowW(L"#32770", kCaption);
        if (!box) return;
        hookGoneWhileShown = !messageBoxHookInstalled();
        ::KillTimer(nullptr, id);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
};

TEST(MessageBoxHookTest, HookGoesWhenTheBoxIsActivated) {
    for (int i = 0; i < 2; ++i) {  // every box gets a fresh hook, removed again
        BoxCloser::hookGoneWhileShown = false;
        HHOOK handle = nullptr;
        {
            const SkinNextMessageBox skin;
            handle = skin.hook();
            ASSERT_NE(handle, nullptr);
            EXPECT_TRUE(messageBoxHookInstalled());
            const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, BoxCloser::tick);
            EXPECT_EQ(::MessageBoxExW(nullptr, L"当前版本", kCaption, MB_OK, 0), IDOK);
            ::KillTimer(nullptr, timer);
            EXPECT_TRUE(BoxCloser::hookGoneWhileShown) << "the hook outlived the box's activation";
            EXPECT_EQ(skin.hook(), nullptr);
        }
        EXPECT_FALSE(messageBoxHookInstalled());
        EXPECT_FALSE(::UnhookWindowsHookEx(handle)) << "the hook was still installed";
    }
}

TEST(MessageBoxHookTest, HookGoesWithItsScopeWhenNoBoxAppears) {
    HHOOK handle = nullptr;
    {
        const SkinNextMessageBox skin;
        handle = skin.hook();
        ASSERT_NE(handle, nullptr);
        // Windows activated that are not dialogs leave the hook in place.
        HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
        ::SetActiveWindow(plain);
        EXPECT_TRUE(messageBoxHookInstalled());
        ::DestroyWindow(plain);
    }
    EXPECT_FALSE(messageBoxHookInstalled());
    EXPECT_FALSE(::UnhookWindowsHookEx(handle)) << "the hook outlived its scope";
}

TEST(MessageBoxHookTest, RemovingByHandIsSafeAnyNumberOfTimes) {
    removeMessageBoxHook();  // none installed: nothing happens
    const SkinNextMessageBox skin;
    const HHOOK handle = skin.hook();
    removeMessageBoxHook();
    EXPECT_FALSE(messageBoxHookInstalled());
    EXPECT_EQ(skin.hook(), nullptr);
    EXPECT_FALSE(::UnhookWindowsHookEx(handle));
    removeMessageBoxHook();
}

}  // namespace
}  // namespace pelmora
