// Docked children of a skinned window follow its size: each keeps its own top,
// a two-pixel margin left and right, and ends three pixels above the status bar
// (or the bottom edge when there is none). Children that are not docked stay put.
#include <windows.h>
#include <gtest/gtest.h>

#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "tests/skin/controls/control_window_support.h"

namespace pelmora {
namespace {

RECT placeInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct DockCase {
    const char* name;
    int statusBarHeight;  // 0: no status bar
    int width, height;    // the size the window is given
};

TEST(DockedChildrenTest, DockedChildrenFillTheClientAreaBelowTheirTopAfterAResize) {
    const DockCase cases[] = {
        {"grown, no status bar", 0, 640, 480},
        {"shrunk, no status bar", 0, 320, 240},
        {"grown, above a status bar", 24, 600, 420},
        {"shrunk, above a tall status bar", 40, 360, 300},
    };
    for (const DockCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::SkinState state;
        HWND window = ::CreateWindowExW(0, test::plainWindowClass(), L"docked", WS_POPUP, 80, 80, 500, 360, nullptr,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
        HWND upper = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, window, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
        HWND lower = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, window, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
        HWND loose = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 7, 9, 30, 20, window, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
        SkinWindowOptions options;
        options.captionHeight = 30;
        if (c.statusBarHeight) {
            options.statusBarHeight = c.statusBarHeight;
            StatusItem ready;
            ready.text = L"就绪";
            options.statusItems = {ready};
        }
        skinEngine().skinWindow(window, options);
        ::ShowWindow(window, SW_SHOW);
        SkinnedWindowRecord& record = *windowRecord(findWindowRecord(window));
        ASSERT_EQ(record.status.statusBarHeight, c.statusBarHeight);
        // A gap in the list (a child that went) is passed over.
        record.frame.dockedChildren = {{upper, 35}, {nullptr, 50}, {lower, 120}};

        ::SetWindowPos(window, nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
        test::drainMessages();
        RECT client{};
        ::GetClientRect(window, &client);
        ASSERT_GT(client.right, 0);
        const int bottom = client.bottom - c.statusBarHeight - 3;
        for (auto [child, top] : {std::pair{upper, 35}, std::pair{lower, 120}}) {
            const RECT r = placeInParent(child);
            EXPECT_EQ(r.left, 2) << top;
            EXPECT_EQ(r.top, top);
            EXPECT_EQ(r.right, client.right - 2) << top;
            EXPECT_EQ(r.bottom, bottom) << top;
        }
        const RECT still = placeInParent(loose);
        EXPECT_EQ(still.left, 7);
        EXPECT_EQ(still.top, 9);
        EXPECT_EQ(still.right, 37);
        EXPECT_EQ(still.bottom, 29);
        ::DestroyWindow(window);
        test::drainMessages();
    }
}

}  // namespace
}  // namespace pelmora
