// The dialog effects on real windows: the layered switch keeps every other
// style bit, the rounded region has the size rule's box and cut corners, the
// fade-in climbs 50 ... 250 and stops at 250, a dialog destroyed in the middle
// of its fade leaves a thread that simply ends, and the step-down goes
// 205 ... 5 and, once the fade-in has run, comes back to 250.
#include "skin/dialog/dialog_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/unique_resource.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

constexpr DWORD kWaitLimitMs = 10000;  // bound on every wait for a worker thread

// A visible, borderless dialog-class window owned by this thread.
UniqueWindow makeDialog(int width = 200, int height = 100) {
    return UniqueWindow(::CreateWindowExW(0, L"#32770", L"对话框", WS_POPUP | WS_VISIBLE, 120, 80, width, height,
                                          nullptr, nullptr, nullptr, nullptr));
}

// The window's layered alpha, or -1 when it has none.
int alphaOf(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}

UniqueWindow makeLayeredDialog(int alpha) {
    UniqueWindow dialog = makeDialog();
    EXPECT_TRUE(dialog);
    EXPECT_TRUE(makeLayered(dialog.get()));
    EXPECT_TRUE(::SetLayeredWindowAttributes(dialog.get(), 0, static_cast<BYTE>(alpha), LWA_ALPHA));
    return dialog;
}

void pumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// Waits, pumping, until the predicate holds; false when the bound ran out.
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

// Records every alpha value the window shows, in order, from another thread.
class AlphaWatcher {
public:
    explicit AlphaWatcher(HWND window) : window_(window) {
        thread_.reset(::CreateThread(nullptr, 0, &AlphaWatcher::run, this, 0, nullptr));
    }
    // Takes one last sample after the watcher has ended, so the value the
    // window settled on is always the last one seen, however late the watcher
    // thread was scheduled.
    std::vector<int> stop() {
        stop_ = 1;
        ::WaitForSingleObject(thread_.get(), INFINITE);
        const int alpha = alphaOf(window_);
        if (seen_.empty() || seen_.back() != alpha) seen_.push_back(alpha);
        return seen_;
    }

private:
    static DWORD WINAPI run(void* self) {
        auto* watcher = static_cast<AlphaWatcher*>(self);
        while (!watcher->stop_) {
            const int alpha = alphaOf(watcher->window_);
            if (watcher->seen_.empty() || watcher->seen_.back() != alpha) watcher->seen_.push_back(alpha);
            ::Sleep(1);
        }
        return 0;
    }

    HWND window_;
    volatile LONG stop_ = 0;
    std::vector<int> seen_;
    UniqueHandle thread_;
};

::testing::AssertionResult allIn(const std::vector<int>& seen, std::vector<int> allowed) {
    for (int alpha : seen)
        if (std::find(allowed.begin(), allowed.end(), alpha) == allowed.end())
            return ::testing::AssertionFailure() << "alpha " << alpha << " is not a step";
    return ::testing::AssertionSuccess();
}

TEST(DialogAlphaSteps, FadeInClimbsByFiftyToTwoFiftyAndStepDownFallsToFive) {
    const int fadeIn[] = {50, 100, 150, 200, 250}, stepDown[] = {205, 155, 105, 55, 5};
    for (int step = 1; step <= kDialogFadeSteps; ++step) {
        EXPECT_EQ(dialogFadeInAlpha(step), fadeIn[step - 1]);
        EXPECT_EQ(dialogStepDownAlpha(step), stepDown[step - 1]);
    }
    EXPECT_EQ(dialogFadeInAlpha(kDialogFadeSteps), kDialogFinalAlpha);
}

TEST(MakeLayered, AddsLayeredAndOnRequestClickThroughKeepingTheRest) {
    struct Case {
        LONG before;
        bool clickThrough;
        LONG after;
    } cases[] = {
        {0, false, WS_EX_LAYERED},
        {0, true, WS_EX_LAYERED | WS_EX_TRANSPARENT},
        {WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, false, WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_LAYERED},
        {WS_EX_LAYERED | WS_EX_TRANSPARENT, false, WS_EX_LAYERED | WS_EX_TRANSPARENT},
    };
    for (const Case& c : cases) EXPECT_EQ(layeredExStyle(c.before, c.clickThrough), c.after) << c.before;

    for (bool clickThrough : {false, true}) {
        UniqueWindow dialog(::CreateWindowExW(WS_EX_TOOLWINDOW, L"#32770", L"", WS_POPUP, 0, 0, 80, 60, nullptr,
                                              nullptr, nullptr, nullptr));
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(makeLayered(dialog.get(), clickThrough));
        const LONG style = ::GetWindowLongW(dialog.get(), GWL_EXSTYLE);
        EXPECT_TRUE(style & WS_EX_LAYERED);
        EXPECT_TRUE(style & WS_EX_TOOLWINDOW);
        EXPECT_EQ((style & WS_EX_TRANSPARENT) != 0, clickThrough);
    }
}

// The ellipse is made for a region one pixel larger than the window, so only
// the outermost corner pixels are cut and every edge keeps the rest.
TEST(RoundedRegion, CutsTheCornerPixelsAndKeepsTheEdges) {
    UniqueWindow dialog = makeDialog(200, 100);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(setRoundedWindowRegion(dialog.get(), 200, 100));
    GdiRegion region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(dialog.get(), region.get()), ERROR);
    struct Probe {
        int x, y;
        bool inside;
    } probes[] = {
        {0, 0, false}, {199, 99, false},  // the top-left and bottom-right corners
        {1, 0, true},  {0, 1, true},     {198, 99, true}, {199, 98, true}, {100, 0, true},
        {0, 50, true}, {199, 50, true},  {100, 99, true}, {100, 50, true},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(::PtInRegion(region.get(), p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;
}

TEST(RoundedRegion, ReshapingAThousandTimesLeavesNoRegionBehind) {
    UniqueWindow dialog = makeDialog(200, 100);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(setRoundedWindowRegion(dialog.get(), 200, 100));
    const DWORD before = test::gdiObjectCount();
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(setRoundedWindowRegion(dialog.get(), 200 + i % 7, 100));
    EXPECT_EQ(test::gdiObjectCount(), before);
}

TEST(DialogFadeIn, ClimbsThroughTheStepsAndStopsAt250) {
    UniqueWindow dialog = makeLayeredDialog(0);
    AlphaWatcher watcher(dialog.get());
    UniqueHandle thread(::CreateThread(nullptr, 0, fadeInDialog, dialog.get(), 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_TRUE(waitFor([&] { return ::WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0; }));
    const std::vector<int> seen = watcher.stop();
    DWORD landed = 0;
    ASSERT_TRUE(::GetExitCodeThread(thread.get(), &landed));
    EXPECT_EQ(landed, 5u);
    EXPECT_EQ(alphaOf(dialog.get()), 250);
    EXPECT_TRUE(allIn(seen, {0, 50, 100, 150, 200, 250}));
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 250);
}

// The fade thread is held still right after its first step, the dialog is
// destroyed, and the thread let go: the steps that remain fail, the thread
// ends normally, and it reports exactly the steps that landed before.
TEST(DialogFadeIn, ADialogDestroyedDuringItsFadeLeavesAThreadThatJustEnds) {
    UniqueWindow dialog = makeLayeredDialog(0);
    UniqueHandle thread(::CreateThread(nullptr, 0, fadeInDialog, dialog.get(), 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_TRUE(waitFor([&] { return alphaOf(dialog.get()) >= 50; }));
    ASSERT_NE(::SuspendThread(thread.get()), static_cast<DWORD>(-1));
    const int reached = alphaOf(dialog.get());
    ASSERT_LT(reached, 250) << "the fade ended before it could be held";
    HWND gone = dialog.get();
    dialog.reset();
    ASSERT_FALSE(::IsWindow(gone));
    ::ResumeThread(thread.get());
    ASSERT_EQ(::WaitForSingleObject(thread.get(), kWaitLimitMs), WAIT_OBJECT_0);
    DWORD landed = 0;
    ASSERT_TRUE(::GetExitCodeThread(thread.get(), &landed));
    EXPECT_EQ(static_cast<int>(landed), reached / 50);
}

TEST(DialogFadeIn, StartedOnItsOwnThreadItEndsAt250) {
    UniqueWindow dialog = makeLayeredDialog(0);
    const long finished = dialogFadesFinished();
    ASSERT_TRUE(startDialogFadeIn(dialog.get()));
    ASSERT_TRUE(waitFor([&] { return dialogFadesFinished() > finished; }));
    EXPECT_EQ(alphaOf(dialog.get()), 250);
}

TEST(DialogStepDown, BeforeTheFirstPaintItStaysAtFiveForTheFadeInToLift) {
    UniqueWindow dialog = makeLayeredDialog(255);
    AlphaWatcher watcher(dialog.get());
    EXPECT_FALSE(stepDownDialogAlpha(dialog.get(), false));
    EXPECT_EQ(alphaOf(dialog.get()), 5);
    const std::vector<int> seen = watcher.stop();
    EXPECT_TRUE(allIn(seen, {255, 205, 155, 105, 55, 5}));
    EXPECT_TRUE(std::is_sorted(seen.rbegin(), seen.rend()));
    EXPECT_EQ(alphaOf(dialog.get()), 5);
}

// Once the fade-in has run it will not come again, so the step-down brings
// the dialog back itself: down to at most 55, then up again to 250.
TEST(DialogStepDown, AfterTheFadeInTheDialogComesBackTo250) {
    UniqueWindow dialog = makeLayeredDialog(250);
    AlphaWatcher watcher(dialog.get());
    const long finished = dialogFadesFinished();
    EXPECT_TRUE(stepDownDialogAlpha(dialog.get(), true));
    ASSERT_TRUE(waitFor([&] { return dialogFadesFinished() > finished; }));
    EXPECT_EQ(alphaOf(dialog.get()), 250);
    const std::vector<int> seen = watcher.stop();
    EXPECT_TRUE(allIn(seen, {250, 205, 155, 105, 55, 5, 50, 100, 150, 200}));
    const auto lowest = std::min_element(seen.begin(), seen.end());
    EXPECT_LE(*lowest, 55);
    EXPECT_TRUE(std::is_sorted(std::make_reverse_iterator(lowest + 1), seen.rend())) << "down first";
    EXPECT_TRUE(std::is_sorted(lowest, seen.end())) << "then up";
}

TEST(DialogFadeIn, AHundredFadesLeaveNoHandleBehind) {
    UniqueWindow dialog = makeLayeredDialog(0);
    const long finished = dialogFadesFinished();
    DWORD handlesBefore = 0, handlesAfter = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &handlesBefore));
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(startDialogFadeIn(dialog.get()));
    ASSERT_TRUE(waitFor([&] { return dialogFadesFinished() >= finished + 100; }));
    // A finished thread's handle is closed by its starter; give the last closes a moment to land.
    ASSERT_TRUE(waitFor([&] {
        ::GetProcessHandleCount(::GetCurrentProcess(), &handlesAfter);
        return handlesAfter <= handlesBefore;
    }));
    EXPECT_EQ(alphaOf(dialog.get()), 250);
}

}  // namespace
}  // namespace pelmora
