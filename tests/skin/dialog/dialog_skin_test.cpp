// Real dialogs skinned through the message-box hook: the box is layered,
// rounded and fades in to 250; its hit test, close button, own button and Esc
// work; the hook goes at the first skinned activation; the step-down comes
// back to 250; a dialog destroyed during its fade takes its record with it;
// and a skinned window that loses activation trims the working set.
#include "skin/dialog/dialog_skin.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gfx/gdip_memory_stream.h"
#include "gfx/gdip_object.h"
#include "services/working_set_trim.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/dialog/dialog_effects.h"
#include "skin/dialog/dialog_geometry.h"
#include "skin/dialog/message_box_hook.h"
#include "skin/skin_engine.h"
#include "tests/skin/skin_test_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

constexpr wchar_t kCaption[] = L"软件信息";
constexpr DWORD kWaitLimitMs = 10000;

int alphaOf(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}

void pumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

template <typename Predicate>
bool waitFor(Predicate done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > kWaitLimitMs) return false;
        pumpMessages();
        ::Sleep(2);
    }
    return true;
}

RECT windowRectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

HWND buttonOf(HWND box) {
    return ::FindWindowExW(box, nullptr, L"Button", nullptr);
}

// Shows a skinned message box and, from inside its modal loop, hands it to
// `action` once it has faded in to 250. The action closes the box; should it
// not, or should the box never reach 250, the box is closed after the wait
// limit and `reached` stays false.
struct BoxScript {
    static inline std::function<void(HWND)> action;
    static inline bool reached = false;
    static inline DWORD started = 0;

    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = ::FindWindowW(L"#32770", kCaption);
        if (!box) return;
        if (alphaOf(box) != kDialogFinalAlpha) {
            if (::GetTickCount() - started < kWaitLimitMs) return;
            ::KillTimer(nullptr, id);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return;
        }
        ::KillTimer(nullptr, id);
        reached = true;
        action(box);
    }

    static int show(std::function<void(HWND)> run, UINT type = MB_OK) {
        action = std::move(run);
        reached = false;
        started = ::GetTickCount();
        const SkinNextMessageBox skin;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, tick);
        const int result = ::MessageBoxExW(nullptr, L"当前版本 1.0", kCaption, type, 0);
        ::KillTimer(nullptr, timer);
        return result;
    }
};

class SkinnedDialogTest : public ::testing::Test {
protected:
    test::SkinState state;
};

TEST_F(SkinnedDialogTest, MessageBoxIsLayeredRoundedFadedInAndItsHookGone) {
    struct Seen {
        bool recorded = false, subclassed = false, layered = false, sysMenu = false, hookInstalled = true;
        bool buttonOwnerDrawn = false, buttonRecorded = false;
        LONG buttonStyle = 0;
        bool cornerCut = false, edgesKept = false;
        SIZE composed{};
        SIZE window{};
    } seen;
    const int result = BoxScript::show([&](HWND box) {
        const int index = findWindowRecord(box);
        seen.recorded = index != 0 && windowRecord(index)->dialog.isDialog;
        seen.subclassed = ::GetWindowLongPtrW(box, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&dialogWindowProc) &&
                          propValue(box, kPropPreviousProc) != 0 && propIndex(box, kPropListIndex) == index;
        seen.layered = (::GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        seen.sysMenu = (::GetWindowLongW(box, GWL_STYLE) & WS_SYSMENU) != 0;
        seen.hookInstalled = messageBoxHookInstalled();
        HWND button = buttonOf(box);
        seen.buttonStyle = ::GetWindowLongW(button, GWL_STYLE);
        seen.buttonOwnerDrawn = (seen.buttonStyle & BS_TYPEMASK) == BS_OWNERDRAW;
        seen.buttonRecorded = index && windowRecord(index)->controls<ButtonSkinRecord>().indexOf(button) != 0;
        const RECT r = windowRectOf(box);
        const int w = r.right - r.left, h = r.bottom - r.top;
        seen.window = {w, h};
        if (index) seen.composed = windowRecord(index)->image.composed.size();
        GdiRegion region(::CreateRectRgn(0, 0, 0, 0));
        if (::GetWindowRgn(box, region.get()) != ERROR) {
            seen.cornerCut = !::PtInRegion(region.get(), 0, 0) && !::PtInRegion(region.get(), w - 1, h - 1);
            seen.edgesKept = ::PtInRegion(region.get(), 1, 0) && ::PtInRegion(region.get(), w - 1, h / 2) &&
                             ::PtInRegion(region.get(), w / 2, h - 1);
        }
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(BoxScript::reached) << "the box never reached alpha 250";
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(seen.recorded);
    EXPECT_TRUE(seen.subclassed);
    EXPECT_TRUE(seen.layered);
    EXPECT_TRUE(seen.sysMenu);
    EXPECT_FALSE(seen.hookInstalled) << "the hook outlived the skinned box's activation";
    EXPECT_TRUE(seen.buttonOwnerDrawn) << std::hex << seen.buttonStyle;
    EXPECT_TRUE(seen.buttonRecorded);
    EXPECT_TRUE(seen.cornerCut);
    EXPECT_TRUE(seen.edgesKept);
    EXPECT_EQ(seen.composed.cx, seen.window.cx) << "the picture is window-sized";
    EXPECT_EQ(seen.composed.cy, seen.window.cy);
    EXPECT_EQ(windowRecordCount(), 0) << "the record outlived the box";
}

TEST_F(SkinnedDialogTest, HitTestFollowsTheCaptionBandAndTheCloseButton) {
    struct Probe {
        int dx, dy;  // from the window's top-left; a negative dx counts from the right edge
        LRESULT hit;
    } probes[] = {
        {-20, 10, HTCLOSE},  {-20, 20, HTCLOSE},  {-20, 21, HTCAPTION}, {-20, 3, HTCAPTION},
        {-3, 10, HTCAPTION}, {40, 10, HTCAPTION}, {40, 25, HTCAPTION},  {40, 26, HTCLIENT},
    };
    std::string failures;
    BoxScript::show([&](HWND box) {
        const RECT r = windowRectOf(box);
        for (const Probe& p : probes) {
            const int x = p.dx < 0 ? r.right + p.dx : r.left + p.dx, y = r.top + p.dy;
            const LRESULT hit = ::SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit != p.hit)
                failures +=
                    "(" + std::to_string(p.dx) + "," + std::to_string(p.dy) + ") gave " + std::to_string(hit) + "; ";
        }
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(BoxScript::reached);
    EXPECT_EQ(failures, "");
}

// The close button lights up red under the pointer in the dialog's picture
// and goes back when the pointer moves on.
TEST_F(SkinnedDialogTest, CloseButtonTurnsRedWhileHot) {
    std::uint32_t normal = 0, hot = 0, after = 0;
    bool hotFlag = false;
    BoxScript::show([&](HWND box) {
        SkinnedWindowRecord* record = windowRecord(findWindowRecord(box));
        if (!record) return (void)::PostMessageW(box, WM_COMMAND, IDOK, 0);
        const RECT& h = layoutDialogCloseButton(windowRectOf(box).right - windowRectOf(box).left).hot;
        // A corner of the highlight, away from the glyph's cross.
        const int x = h.left + 3, y = h.top + 2;
        normal = test::dibPixel(record->image.composed.dc(), x, y);
        ::SendMessageW(box, WM_NCMOUSEMOVE, HTCLOSE, 0);
        hotFlag = record->dialog.closeHot;
        hot = test::dibPixel(record->image.composed.dc(), x, y);
        ::SendMessageW(box, WM_NCMOUSEMOVE, HTCAPTION, 0);
        after = test::dibPixel(record->image.composed.dc(), x, y);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(BoxScript::reached);
    EXPECT_TRUE(hotFlag);
    EXPECT_GT(test::red(hot), 200);
    EXPECT_LT(test::green(hot), 100);
    EXPECT_LT(test::blue(hot), 100);
    EXPECT_EQ(after, normal);
    EXPECT_FALSE(test::red(normal) > 200 && test::green(normal) < 100) << "red before the pointer came";
}

TEST_F(SkinnedDialogTest, ClosesWithItsCloseButtonItsOwnButtonAndEsc) {
    struct Way {
        const char* name;
        std::function<void(HWND)> close;
    } ways[] = {
        {"close button",
         [](HWND box) {
             ::SendMessageW(box, WM_NCLBUTTONDOWN, HTCLOSE, 0);
             ::SendMessageW(box, WM_NCLBUTTONUP, HTCLOSE, 0);
         }},
        {"own button", [](HWND box) { ::SendMessageW(buttonOf(box), BM_CLICK, 0, 0); }},
        {"Esc",
         [](HWND box) {
             HWND focus = ::GetFocus();
             HWND target = focus ? focus : buttonOf(box);
             ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
             ::PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
         }},
    };
    for (const Way& way : ways) {
        HWND shown = nullptr;
        const int result = BoxScript::show([&](HWND box) {
            shown = box;
            way.close(box);
        });
        EXPECT_TRUE(BoxScript::reached) << way.name;
        EXPECT_NE(result, 0) << way.name;
        EXPECT_FALSE(::IsWindow(shown)) << way.name;
        EXPECT_EQ(windowRecordCount(), 0) << way.name;
    }
}

// Focus reaching a dialog after its fade-in steps it down to 5; a second
// fade-in brings it back to 250 instead of leaving it there.
TEST_F(SkinnedDialogTest, StepDownAfterTheFadeInEndsVisibleAt250) {
    int lowest = 255, settled = -1;
    BoxScript::show([&](HWND box) {
        ::SendMessageW(box, WM_SETFOCUS, 0, 0);
        lowest = alphaOf(box);
        // Only a new fade-in lifts the dialog from 5 again.
        waitFor([&] { return alphaOf(box) == kDialogFinalAlpha; });
        settled = alphaOf(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(BoxScript::reached);
    EXPECT_LT(lowest, 100) << "the step-down did not run";
    EXPECT_EQ(settled, kDialogFinalAlpha);
}

UniqueWindow makeDialog(const wchar_t* title) {
    return UniqueWindow(::CreateWindowExW(0, L"#32770", title, WS_POPUP | WS_CAPTION, 150, 120, 240, 120, nullptr,
                                          nullptr, nullptr, nullptr));
}

void activate(HWND window) {
    ::ShowWindow(window, SW_SHOW);
    ::SetActiveWindow(window);
    pumpMessages();
}

// A dialog another engine procedure already runs is passed over and the hook
// stays for the next one; that one is skinned, and once it has been activated
// the hook is gone and later dialogs keep their own look.
TEST_F(SkinnedDialogTest, HookSkinsUntilTheFirstSkinnedActivation) {
    UniqueWindow taken = makeDialog(L"taken"), first = makeDialog(L"first"), later = makeDialog(L"later");
    ASSERT_TRUE(taken && first && later);
    setPropValue(taken.get(), kPropPreviousProc, reinterpret_cast<std::intptr_t>(&::DefDlgProcW));
    const SkinNextMessageBox skin;
    activate(taken.get());
    EXPECT_EQ(findWindowRecord(taken.get()), 0);
    EXPECT_TRUE(messageBoxHookInstalled());
    activate(first.get());
    EXPECT_NE(findWindowRecord(first.get()), 0);
    EXPECT_FALSE(messageBoxHookInstalled());
    activate(later.get());
    EXPECT_EQ(findWindowRecord(later.get()), 0);
    EXPECT_EQ(::GetWindowLongW(later.get(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

// Sum of the composed picture over the title's place in the caption band.
std::uint64_t titleArea(const SkinnedWindowRecord& record) {
    std::uint64_t sum = 0;
    for (int y = 4; y < 22; ++y)
        for (int x = 25; x < 160; ++x) sum = sum * 31 + test::dibPixel(record.image.composed.dc(), x, y);
    return sum;
}

TEST_F(SkinnedDialogTest, NewTitleIsPaintedIntoThePicture) {
    UniqueWindow dialog = makeDialog(L"第一个标题");
    ASSERT_TRUE(dialog);
    {
        const SkinNextMessageBox skin;
        activate(dialog.get());
    }
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(dialog.get()));
    ASSERT_TRUE(record);
    const std::uint64_t first = titleArea(*record);
    ::SetWindowTextW(dialog.get(), L"另一个标题");
    EXPECT_NE(titleArea(*record), first);
    ::SetWindowTextW(dialog.get(), L"第一个标题");
    EXPECT_EQ(titleArea(*record), first);
}

// The fade thread keeps running after its dialog is gone: its steps fail,
// nothing faults, and the record went with the window.
TEST_F(SkinnedDialogTest, DialogDestroyedDuringItsFadeTakesItsRecordAndNothingFaults) {
    for (int i = 0; i < 3; ++i) {
        UniqueWindow dialog = makeDialog(L"fading");
        ASSERT_TRUE(dialog);
        const long before = dialogFadesFinished();
        {
            const SkinNextMessageBox skin;
            activate(dialog.get());
        }
        const int index = findWindowRecord(dialog.get());
        ASSERT_NE(index, 0);
        ::UpdateWindow(dialog.get());
        ASSERT_TRUE(windowRecord(index)->dialog.fadeStarted);
        EXPECT_LT(alphaOf(dialog.get()), kDialogFinalAlpha);
        dialog.reset();
        EXPECT_EQ(windowRecordCount(), 0);
        ASSERT_TRUE(waitFor([&] { return dialogFadesFinished() > before; }));
    }
}

// Everything a skinned dialog holds goes with it: the composed picture's
// bitmap and DC are deleted, no GDI+ object or stream block stays alive, and
// (where the system counts them) the GDI object count comes back.
TEST_F(SkinnedDialogTest, DialogsComingAndGoingLeaveNothingBehind) {
    struct Held {
        HGDIOBJ bitmap = nullptr;
        HDC dc = nullptr;
    };
    auto roundTrip = [](Held& held) {
        UniqueWindow dialog = makeDialog(L"往返");
        HWND button = ::CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 80, 60, 80, 26,
                                        dialog.get(), reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
        ::CreateWindowExW(0, L"STATIC", L"说明文字", WS_CHILD | WS_VISIBLE, 10, 30, 200, 20, dialog.get(), nullptr,
                          nullptr, nullptr);
        {
            const SkinNextMessageBox skin;
            activate(dialog.get());
        }
        ::UpdateWindow(dialog.get());
        ::SendMessageW(dialog.get(), WM_NCMOUSEMOVE, HTCLOSE, 0);
        ::SendMessageW(dialog.get(), WM_NCMOUSEMOVE, HTCAPTION, 0);
        ::SetWindowPos(dialog.get(), nullptr, 0, 0, 260, 140, SWP_NOMOVE | SWP_NOZORDER);
        ::InvalidateRect(button, nullptr, TRUE);
        ::UpdateWindow(dialog.get());
        pumpMessages();
        const SkinnedWindowRecord* record = windowRecord(findWindowRecord(dialog.get()));
        if (!record) return false;
        held.bitmap = reinterpret_cast<HGDIOBJ>(propValue(dialog.get(), kPropComposedBitmap));
        held.dc = record->image.composed.dc();
        return held.bitmap && held.dc && ::GetObjectType(held.bitmap) == OBJ_BITMAP;
    };
    Held held;
    ASSERT_TRUE(roundTrip(held));  // the first one warms up the caches GDI+ keeps for good
    const long objects = gdipLiveObjects(), blocks = GdipMemoryStream::liveBlocks();
    const DWORD gdiObjects = test::gdiObjectCount();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(roundTrip(held));
        EXPECT_EQ(::GetObjectType(held.bitmap), 0u) << "the picture outlived its dialog";
        EXPECT_EQ(::GetObjectType(held.dc), 0u) << "the picture's DC outlived its dialog";
    }
    EXPECT_EQ(gdipLiveObjects(), objects);
    EXPECT_EQ(GdipMemoryStream::liveBlocks(), blocks);
    EXPECT_EQ(test::gdiObjectCount(), gdiObjects);
    EXPECT_EQ(windowRecordCount(), 0);
}

// Losing activation (WM_ACTIVATEAPP with FALSE) starts one trimming thread
// each time, and the window goes on working.
TEST_F(SkinnedDialogTest, SkinnedWindowTrimsTheWorkingSetEachTimeItLosesActivation) {
    UniqueWindow host(test::createHostWindow());
    ASSERT_TRUE(host);
    skinEngine().skinWindow(host.get(), SkinWindowOptions{});
    const long before = workingSetTrimsFinished();
    ::SendMessageW(host.get(), WM_ACTIVATEAPP, FALSE, 0);
    ::SendMessageW(host.get(), WM_ACTIVATEAPP, FALSE, 0);
    ASSERT_TRUE(waitFor([&] { return workingSetTrimsFinished() >= before + 2; }));
    EXPECT_EQ(workingSetTrimsFinished(), before + 2);
    EXPECT_NE(findWindowRecord(host.get()), 0);
    ::SetWindowTextW(host.get(), L"still working");
    EXPECT_EQ(windowText(host.get()), L"still working");
}

}  // namespace
}  // namespace pelmora
