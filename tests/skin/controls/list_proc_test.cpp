// List-type controls and list views in a real skinned window: a translucent
// list box and tree view show the picture where they paint their background,
// scrolling leaves no smeared lines, the header's hot item takes the accent,
// and the image list the engine gives a list view goes with it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <string>

#include "skin/controls/class_modules.h"
#include "skin/controls/core/window_records.h"
#include "tests/skin/controls/control_window_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

using test::closeTo;
using test::pumpFor;
using test::pumpUntil;
using test::SkinnedControlWindow;

void useGuiFont(HWND control) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

bool isKey(std::uint32_t p) {
    return test::red(p) > 240 && test::green(p) < 16 && test::blue(p) > 240;
}

// Pixels of `area` (window coordinates of the control) that are not the
// picture, skipping text: the dark glyph pixels and their blended edges are
// told apart from the picture by the caller's column choice.
int notPicture(const SkinnedControlWindow& host, HWND control, RECT area) {
    int wrong = 0;
    for (int y = area.top; y < area.bottom; y += 2)
        for (int x = area.left; x < area.right; x += 3)
            wrong += !closeTo(host.controlPixel(control, x, y), host.pictureUnder(control, x, y), 2);
    return wrong;
}

// Pixels of text in black: well darker than the picture under them, and
// with nothing of the key's magenta (red and blue above green) in them.
int inkPixels(const SkinnedControlWindow& host, HWND control, RECT area) {
    auto sum = [](std::uint32_t p) { return test::red(p) + test::green(p) + test::blue(p); };
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = host.controlPixel(control, x, y), below = host.pictureUnder(control, x, y);
            ink += sum(below) - sum(p) > 150;
        }
    return ink;
}

// Pixels with a tint of the key: red and blue stand much further above green
// than in the picture under them.
int tinted(const SkinnedControlWindow& host, HWND control, RECT area) {
    auto magenta = [](std::uint32_t p) { return (test::red(p) + test::blue(p)) / 2 - test::green(p); };
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = host.controlPixel(control, x, y);
            count += isKey(p) || magenta(p) - magenta(host.pictureUnder(control, x, y)) > 50;
        }
    return count;
}

class ListBoxTest : public ::testing::Test {
protected:
    ListBoxTest()
        : host([&](HWND w) {
              list = test::createChild(w, L"ListBox", LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 40, 60, 160, 90);
              useGuiFont(list);
              for (int i = 1; i <= 30; ++i)
                  ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"第" + std::to_wstring(i)).c_str()));
          }) {
        ::SetFocus(host.window());
        pumpFor(50);
    }
    // Columns right of the short item texts and left of the scroll bar.
    RECT besideText() const { return {70, 2, 140, 88}; }
    HWND list = nullptr;
    SkinnedControlWindow host;
};

TEST_F(ListBoxTest, ItemsStandOnThePicture) {
    ASSERT_TRUE(pumpUntil([&] { return notPicture(host, list, besideText()) == 0; }));
    EXPECT_GT(inkPixels(host, list, {2, 2, 60, 88}), 40) << "the item texts are drawn";
    EXPECT_EQ(tinted(host, list, {1, 1, 140, 89}), 0) << "nothing of the key colour reaches the screen";
}

TEST_F(ListBoxTest, ScrollingRedrawsThePictureUnderTheNewLines) {
    ASSERT_TRUE(pumpUntil([&] { return notPicture(host, list, besideText()) == 0; }));
    // The user scrolls with the scroll bar and the wheel.
    for (int i = 0; i < 3; ++i) ::SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
    ::SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(100, 100));
    ASSERT_GT(::SendMessageW(list, LB_GETTOPINDEX, 0, 0), 2);
    EXPECT_TRUE(pumpUntil([&] { return notPicture(host, list, besideText()) == 0; }))
        << notPicture(host, list, besideText()) << " pixels beside the texts are not the picture under them";
    EXPECT_GT(inkPixels(host, list, {2, 2, 60, 88}), 40);
}

TEST(TreeViewProcTest, ShowsThePictureWhereItPaintsItsBackground) {
    HWND tree = nullptr;
    SkinnedControlWindow host([&](HWND w) {
        tree = test::createChild(w, WC_TREEVIEWW, TVS_HASLINES | WS_BORDER, 40, 60, 180, 100);
        useGuiFont(tree);
        for (const wchar_t* text : {L"甲", L"乙", L"丙"}) {
            TVINSERTSTRUCTW insert{};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = const_cast<wchar_t*>(text);
            ::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
        }
    });
    const RECT beside{80, 2, 175, 95};
    EXPECT_TRUE(pumpUntil([&] { return notPicture(host, tree, beside) == 0; }))
        << notPicture(host, tree, beside) << " pixels of the tree's background are not the picture";
    EXPECT_GT(inkPixels(host, tree, {2, 2, 60, 60}), 20) << "the items are drawn";
    EXPECT_EQ(tinted(host, tree, {1, 1, 179, 99}), 0) << "nothing of the key colour reaches the screen";
}

class ListViewTest : public ::testing::Test {
protected:
    ListViewTest()
        : host([&](HWND w) {
              view = test::createChild(w, WC_LISTVIEWW, LVS_REPORT | WS_BORDER, 40, 60, 240, 120);
              useGuiFont(view);
              for (int i = 0; i < 2; ++i) {
                  const wchar_t* title = i ? L"大小" : L"名称";
                  LVCOLUMNW column{};
                  column.mask = LVCF_TEXT | LVCF_WIDTH;
                  column.cx = 100;
                  column.pszText = const_cast<wchar_t*>(title);
                  ::SendMessageW(view, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
              }
              header = reinterpret_cast<HWND>(::SendMessageW(view, LVM_GETHEADER, 0, 0));
          }) {
        pumpFor(50);
    }
    RECT headerRect() const {
        RECT r{};
        ::GetClientRect(header, &r);
        return r;
    }
    HWND view = nullptr, header = nullptr;
    SkinnedControlWindow host;
};

TEST_F(ListViewTest, HotHeaderItemTakesTheAccentGradient) {
    ASSERT_NE(header, nullptr);
    const int h = headerRect().bottom;
    ASSERT_GT(h, 6);
    // A pixel of the accent bar (the face's bottom rows) of each item, clear
    // of the titles and separators.
    auto bar = [&](int item) { return host.controlPixel(header, item * 100 + 80, h - 3); };
    auto picture = [&](int item) { return host.pictureUnder(header, item * 100 + 80, h - 3); };
    ASSERT_TRUE(pumpUntil([&] { return closeTo(bar(0), picture(0), 2); })) << "at rest the header is the picture";

    // The real pointer goes there; the move is also handed to the window at
    // once, as the display under load sometimes reports a warp late or not at all.
    auto moveTo = [&](HWND target, int x, int y) {
        host.pointAt(target, x, y);
        ::SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    };
    moveTo(header, 50, h / 2);
    ASSERT_TRUE(pumpUntil([&] { return test::redness(bar(0)) > test::redness(picture(0)) + 40; }))
        << "the item under the pointer takes the red accent";
    EXPECT_TRUE(closeTo(bar(1), picture(1), 2)) << "the other item stays at rest";
    // Higher up the face the gradient is fainter than at the bar.
    const std::uint32_t top = host.controlPixel(header, 80, 1);
    EXPECT_GT(test::redness(top), test::redness(host.pictureUnder(header, 80, 1)));
    EXPECT_LT(test::redness(top) - test::redness(host.pictureUnder(header, 80, 1)),
              test::redness(bar(0)) - test::redness(picture(0)));

    moveTo(header, 150, h / 2);
    EXPECT_TRUE(pumpUntil([&] { return test::redness(bar(1)) > test::redness(picture(1)) + 40; }));
    EXPECT_TRUE(pumpUntil([&] { return closeTo(bar(0), picture(0), 2); }))
        << "the accent follows the pointer: " << std::hex << bar(0) << " over " << picture(0);

    moveTo(view, 120, 100);  // off the header, into the rows
    EXPECT_TRUE(pumpUntil([&] { return closeTo(bar(1), picture(1), 2); })) << "leaving the header drops the accent";
}

TEST_F(ListViewTest, ListViewRunsOneProcedureAndItsHeaderKeepsItsRecord) {
    const SkinnedWindowRecord& record = *windowRecord(findWindowRecord(host.window()));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(view, GWLP_WNDPROC)), &listViewSkinProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(header, GWLP_WNDPROC)), &listViewSkinProc);
    EXPECT_GE(record.controls<ListSkinRecord>().indexOf(view), 1);
    EXPECT_GE(record.controls<ListViewSkinRecord>().indexOf(view), 1);
    EXPECT_GE(record.controls<ListViewSkinRecord>().indexOf(header), 1);
    // The report view got the engine's row-height images.
    const ListViewSkinRecord& own =
        record.controls<ListViewSkinRecord>().at(record.controls<ListViewSkinRecord>().indexOf(view));
    ASSERT_NE(own.imageList, nullptr);
    EXPECT_EQ(reinterpret_cast<HANDLE>(::SendMessageW(view, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), own.imageList);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"行");
    ::SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(::SendMessageW(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    EXPECT_GE(row.bottom - row.top, kListViewRowHeight);
}

// Each skinned report view holds an image list of the engine's; a view that
// went without freeing it would leave its bitmaps and DCs behind every time.
TEST(ListViewLifetimeTest, ImageListIsDestroyedWithTheListView) {
    auto oneWindow = [] {
        HWND view = nullptr;
        SkinnedControlWindow host(
            [&](HWND w) { view = test::createChild(w, WC_LISTVIEWW, LVS_REPORT, 10, 40, 200, 100); });
        const SkinnedWindowRecord& record = *windowRecord(findWindowRecord(host.window()));
        return record.controls<ListViewSkinRecord>()
                   .at(record.controls<ListViewSkinRecord>().indexOf(view))
                   .imageList != nullptr;
    };
    ASSERT_TRUE(oneWindow());  // the first run sets up what stays for the process
    const DWORD before = test::gdiObjectCount();
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(oneWindow());
    const DWORD after = test::gdiObjectCount();
    EXPECT_LE(after, before + 2) << "GDI objects before " << before << ", after " << after;
}

}  // namespace
}  // namespace pelmora
