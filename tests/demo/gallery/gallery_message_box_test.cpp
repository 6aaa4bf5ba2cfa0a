// The gallery's message-box button: the box it opens is skinned by the
// engine (recorded, layered, faded in to 250), closes with its own button,
// and the gallery goes on working afterwards.
#include <gtest/gtest.h>

#include "gallery_test_support.h"
#include "skin/controls/core/window_records.h"
#include "skin/dialog/message_box_hook.h"

namespace pelmora {
namespace {

// Looks at the box from inside its modal loop, once it has faded in, and
// answers it; after the wait limit it answers it anyway.
struct BoxWatch {
    static inline bool skinned = false, fadedIn = false, hookGone = false;
    static inline DWORD started = 0;

    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = ::FindWindowW(L"#32770", L"消息框");
        if (!box) return;
        BYTE alpha = 0;
        DWORD flags = 0;
        fadedIn = ::GetLayeredWindowAttributes(box, nullptr, &alpha, &flags) && alpha == 250;
        if (!fadedIn && ::GetTickCount() - started < 10000) return;
        ::KillTimer(nullptr, id);
        const SkinnedWindowRecord* record = windowRecord(findWindowRecord(box));
        skinned = record && record->dialog.isDialog;
        hookGone = !messageBoxHookInstalled();
        ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    }
};

TEST(GalleryMessageBox, ButtonOpensASkinnedBoxThatClosesWithItsOwnButton) {
    test::GalleryFixture fixture;
    BoxWatch::started = ::GetTickCount();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, BoxWatch::tick);
    ::PostMessageW(fixture.control(gallery::kMessageBoxButton), BM_CLICK, 0, 0);
    EXPECT_TRUE(test::pumpUntil([&] { return fixture.clicksOf(gallery::kMessageBoxButton) == 1; }, 15000));
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(BoxWatch::skinned);
    EXPECT_TRUE(BoxWatch::fadedIn);
    EXPECT_TRUE(BoxWatch::hookGone);
    EXPECT_EQ(::FindWindowW(L"#32770", L"消息框"), nullptr);
    EXPECT_EQ(windowRecordCount(), 1) << "only the gallery's own record is left";
    EXPECT_TRUE(::IsWindowEnabled(fixture.window()));
}

}  // namespace
}  // namespace pelmora
