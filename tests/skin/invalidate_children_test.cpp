// invalidateVisibleChildren (gfx/drawing_helpers.h): after the picture behind a
// window changed, its visible children paint again, background first; hidden
// ones and the children's own children are left alone.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>

#include "gfx/drawing_helpers.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

constexpr wchar_t kClass[] = L"PelmoraCountingChild";
std::map<HWND, int> erases, paints;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        ++erases[window];
        return 1;
    }
    if (message == WM_PAINT) {
        ++paints[window];
        PAINTSTRUCT ps;
        ::BeginPaint(window, &ps);
        ::EndPaint(window, &ps);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND countingChild(HWND parent, bool visible, int x) {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = countingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        return ::RegisterClassExW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
    return ::CreateWindowExW(0, kClass, L"", style, x, 10, 60, 60, parent, nullptr, ::GetModuleHandleW(nullptr),
                             nullptr);
}

struct ChildCase {
    const char* name;
    bool visible;
    bool nested;  // a child of the first visible child, not of the window
    bool repainted;
};

TEST(InvalidateVisibleChildrenTest, VisibleDirectChildrenPaintAgainWithTheirBackground) {
    const ChildCase cases[] = {
        {"visible child", true, false, true},
        {"second visible child", true, false, true},
        {"hidden child", false, false, false},
        {"visible child of a child", true, true, false},
    };
    test::SkinState state;
    HWND host = test::createHostWindow(100, 100, 400, 200);
    std::vector<HWND> children;
    HWND firstVisible = nullptr;
    int x = 10;
    for (const ChildCase& c : cases) {
        HWND parent = c.nested ? firstVisible : host;
        children.push_back(countingChild(parent, c.visible, c.nested ? 5 : x));
        if (c.visible && !c.nested && !firstVisible) firstVisible = children.back();
        x += 80;
    }
    ::UpdateWindow(host);
    ::RedrawWindow(host, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    erases.clear();
    paints.clear();

    invalidateVisibleChildren(host);
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(::GetUpdateRect(children[i], nullptr, FALSE) != FALSE, cases[i].repainted);
        ::UpdateWindow(children[i]);
        EXPECT_EQ(erases[children[i]], cases[i].repainted ? 1 : 0);
        EXPECT_EQ(paints[children[i]], cases[i].repainted ? 1 : 0);
    }
    ::DestroyWindow(host);
}

}  // namespace
}  // namespace pelmora
