// The gallery opened, painted, hovered and closed again and again: every
// control class the engine skins is in it, so anything a skinned window or
// control keeps past its end (a record, a brush or bitmap stored for its
// colour answers, a picture, a GDI+ object, a stream) adds up here.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "gallery_test_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

struct ChildKind {
    std::wstring className;
    DWORD style;
    DWORD exStyle;
};

// One life of the gallery: shown until it reaches the display, the pointer
// over a button, the list view's header and the tree view (hover repaints
// and their timers), then closed. Returns the kinds of its direct children.
std::vector<ChildKind> openUseAndClose() {
    test::GalleryFixture fixture;
    for (int id : {gallery::kPushNormal, gallery::kListView, gallery::kTreeView}) {
        const POINT at = fixture.centreOf(id);
        ::SetCursorPos(at.x, at.y);
        test::pumpUntil([] { return false; }, 20);
    }
    ::SetCursorPos(2, 2);
    test::drainMessages();
    std::vector<ChildKind> kinds;
    for (HWND child = ::GetWindow(fixture.window(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        kinds.push_back({windowClassName(child), static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE)),
                         static_cast<DWORD>(::GetWindowLongW(child, GWL_EXSTYLE))});
    return kinds;
}

// The same controls made and destroyed without the engine, in a plain window:
// what the system's own controls keep for good each time (under Wine the IP
// address control leaves a font behind), which the engine cannot give back.
long systemControlsLeftBehind(const std::vector<ChildKind>& kinds) {
    auto oneLife = [&] {
        UniqueWindow host(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 700, nullptr, nullptr,
                                            ::GetModuleHandleW(nullptr), nullptr));
        for (const ChildKind& kind : kinds)
            ::CreateWindowExW(kind.exStyle, kind.className.c_str(), L"", kind.style & ~WS_VISIBLE, 0, 0, 120, 60,
                              host.get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        test::drainMessages();
        host.reset();
        test::drainMessages();
    };
    oneLife();  // first-use allocations of the classes
    const DWORD before = test::gdiObjectCount();
    oneLife();
    return static_cast<long>(test::gdiObjectCount()) - static_cast<long>(before);
}

TEST(GalleryLifetime, OpeningAndClosingAHundredTimesLeavesNothingBehind) {
    // The first life fills the caches GDI+, the fonts and the common controls
    // keep for the whole process.
    const std::vector<ChildKind> kinds = openUseAndClose();
    ASSERT_GT(kinds.size(), 20u);
    const long systemLeak = systemControlsLeftBehind(kinds);
    EXPECT_LE(systemLeak, 2) << "the system controls alone leave this many objects per window";
    const test::LiveObjects before;
    EXPECT_EQ(test::liveWindowRecords(), 0) << "the first gallery left its record";
    constexpr int kLives = 100;
    for (int i = 0; i < kLives; ++i) openUseAndClose();
    const test::LiveObjects after;
    EXPECT_EQ(test::liveWindowRecords(), 0);
    EXPECT_EQ(static_cast<long>(after.gdiObjects) - static_cast<long>(before.gdiObjects), kLives * systemLeak)
        << "GDI objects left by the engine (beyond the system controls' own " << systemLeak << " per life)";
    EXPECT_EQ(after.gdipObjects, before.gdipObjects);
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.streams, before.streams);
}

}  // namespace
}  // namespace pelmora
