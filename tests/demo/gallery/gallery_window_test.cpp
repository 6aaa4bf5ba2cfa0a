// The gallery as a window: every control the tests look for is there under its
// id, the window is skinned with its caption button, and the sections never
// overlap one another or leave the window, however many are added.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gallery_test_support.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {
namespace {

using gallery::ControlId;

struct Expected {
    ControlId id;
    const wchar_t* className;
    bool enabled;
    int check;  // BM_GETCHECK; -1 for push buttons
};

TEST(GalleryWindow, EveryControlIsThereUnderItsId) {
    test::GalleryFixture fixture;
    const Expected controls[] = {
        {gallery::kPushNormal, L"Button", true, -1},
        {gallery::kPushDefault, L"Button", true, -1},
        {gallery::kPushDisabled, L"Button", false, -1},
        {gallery::kCheckChecked, L"Button", true, BST_CHECKED},
        {gallery::kCheckUnchecked, L"Button", true, 0},
        {gallery::kCheckDisabled, L"Button", false, BST_CHECKED},
        {gallery::kRadioChecked, L"Button", true, BST_CHECKED},
        {gallery::kRadioUnchecked, L"Button", true, 0},
        {gallery::kRadioDisabled, L"Button", false, 0},
        {gallery::kImageButton, L"Button", true, -1},
        {gallery::kStateImageButton, L"Button", true, -1},
        {gallery::kStatusLine, L"Static", true, -1},
        {gallery::kEditSingle, L"Edit", true, -1},
        {gallery::kEditReadOnly, L"Edit", true, -1},
        {gallery::kEditMultiLine, L"Edit", true, -1},
        {gallery::kComboSimple, L"ComboBox", true, -1},
        {gallery::kComboDropDown, L"ComboBox", true, -1},
        {gallery::kComboDropDownList, L"ComboBox", true, -1},
        {gallery::kProgressForty, L"msctls_progress32", true, -1},
        {gallery::kProgressOffset, L"msctls_progress32", true, -1},
        {gallery::kProgressVertical, L"msctls_progress32", true, -1},
        {gallery::kTrackTicksBelow, L"msctls_trackbar32", true, -1},
        {gallery::kTrackTicksAbove, L"msctls_trackbar32", true, -1},
        {gallery::kTrackNoTicks, L"msctls_trackbar32", true, -1},
        {gallery::kTrackTicksBoth, L"msctls_trackbar32", true, -1},
        {gallery::kTrackSelection, L"msctls_trackbar32", true, -1},
        {gallery::kUpDownVertical, L"msctls_updown32", true, -1},
        {gallery::kUpDownBuddy, L"Edit", true, -1},
        {gallery::kUpDownHorizontal, L"msctls_updown32", true, -1},
    };
    for (const Expected& e : controls) {
        HWND c = fixture.control(e.id);
        ASSERT_TRUE(c) << e.id;
        wchar_t name[32] = {};
        ::GetClassNameW(c, name, 32);
        EXPECT_EQ(_wcsicmp(name, e.className), 0) << e.id;
        EXPECT_EQ(::IsWindowEnabled(c) != FALSE, e.enabled) << e.id;
        if (e.check >= 0) {
            EXPECT_EQ(::SendMessageW(c, BM_GETCHECK, 0, 0), e.check) << e.id;
        }
    }
}

TEST(GalleryWindow, IsSkinnedWithItsCaptionButton) {
    test::GalleryFixture fixture;
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(fixture.window()));
    ASSERT_TRUE(record);
    // The star in front of minimise and close; pressing it reaches the gallery.
    ASSERT_EQ(record->caption.captionButtons.size(), 3u);
    EXPECT_EQ(record->caption.captionButtons[0].kind, CaptionButtonKind::Custom);
    record->caption.captionButtons[0].handler();
    ASSERT_FALSE(fixture.commands().empty());
    EXPECT_EQ(fixture.commands().back().id, 0);
}

TEST(GalleryWindow, EditComboAndRangeControlsAreTakenByTheEngine) {
    test::GalleryFixture fixture;
    const int w = findWindowRecord(fixture.window());
    const SkinnedWindowRecord* record = windowRecord(w);
    ASSERT_TRUE(record);
    for (int id : {gallery::kEditSingle, gallery::kEditReadOnly, gallery::kEditMultiLine, gallery::kUpDownBuddy})
        EXPECT_GE(record->controls<EditSkinRecord>().indexOf(fixture.control(id)), 1) << id;
    for (int id : {gallery::kComboSimple, gallery::kComboDropDown, gallery::kComboDropDownList})
        EXPECT_GE(record->controls<ComboBoxSkinRecord>().indexOf(fixture.control(id)), 1) << id;
    for (int id : {gallery::kProgressForty, gallery::kProgressOffset, gallery::kProgressVertical})
        EXPECT_GE(record->controls<ProgressSkinRecord>().indexOf(fixture.control(id)), 1) << id;
    const std::pair<int, TickPlacement> tracks[] = {{gallery::kTrackTicksBelow, TickPlacement::BottomOrRight},
                                                    {gallery::kTrackTicksAbove, TickPlacement::TopOrLeft},
                                                    {gallery::kTrackNoTicks, TickPlacement::None},
                                                    {gallery::kTrackTicksBoth, TickPlacement::Both},
                                                    {gallery::kTrackSelection, TickPlacement::BottomOrRight}};
    for (auto [id, ticks] : tracks) {
        const int index = record->controls<TrackBarSkinRecord>().indexOf(fixture.control(id));
        ASSERT_GE(index, 1) << id;
        EXPECT_EQ(record->controls<TrackBarSkinRecord>().at(index).tickPlacement, ticks) << id;
        EXPECT_EQ(record->controls<TrackBarSkinRecord>().at(index).selectionRange, id == gallery::kTrackSelection)
            << id;
    }
    const int horizontal = record->controls<UpDownSkinRecord>().indexOf(fixture.control(gallery::kUpDownHorizontal));
    ASSERT_GE(horizontal, 1);
    EXPECT_TRUE(record->controls<UpDownSkinRecord>().at(horizontal).horizontal);
    EXPECT_GE(record->controls<UpDownSkinRecord>().indexOf(fixture.control(gallery::kUpDownVertical)), 1);
}

TEST(GalleryWindow, StatusBarIsChangedThroughTheSkinObject) {
    test::GalleryFixture fixture;
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(fixture.window()));
    ASSERT_TRUE(record);
    const StatusBarPart& status = record->status;
    ASSERT_EQ(status.statusItems.size(), 3u);
    EXPECT_FALSE(status.statusItems[0].image.empty()) << "an image given by updateStatusItem";
    EXPECT_EQ(status.statusStyle.fillAlpha, 110) << "a fill given by setStatusBarStyle";
    EXPECT_EQ(status.statusItems[1].text, L"滑块 4");
    EXPECT_EQ(status.statusItems[1].meterValue, 40);
    // The track bar moved with the keyboard: the item follows.
    HWND bar = fixture.control(gallery::kTrackTicksBelow);
    ::SendMessageW(bar, WM_KEYDOWN, VK_RIGHT, 0);
    ::SendMessageW(bar, WM_KEYUP, VK_RIGHT, 0);
    test::pumpUntil([&] { return status.statusItems[1].meterValue == 50; });
    EXPECT_EQ(status.statusItems[1].text, L"滑块 5");
    EXPECT_EQ(status.statusItems[1].meterValue, 50);
}

// The window's direct children (the caption tooltip is a top-level window).
std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

RECT rectInParent(HWND child) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(GalleryWindow, ControlsStayApartAndInsideTheWindowBelowTheCaption) {
    test::GalleryFixture fixture;
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(fixture.window()));
    ASSERT_TRUE(record);
    RECT client;
    ::GetClientRect(fixture.window(), &client);
    const std::vector<HWND> children = childrenOf(fixture.window());
    ASSERT_GE(children.size(), 12u);
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT a = rectInParent(children[i]);
        EXPECT_GE(a.top, record->caption.captionHeight) << ::GetDlgCtrlID(children[i]);
        EXPECT_GE(a.left, 3);
        EXPECT_LE(a.right, client.right - 3) << ::GetDlgCtrlID(children[i]);
        EXPECT_LE(a.bottom, client.bottom - 3) << ::GetDlgCtrlID(children[i]);
        for (size_t j = i + 1; j < children.size(); ++j) {
            const RECT b = rectInParent(children[j]);
            RECT both;
            EXPECT_FALSE(::IntersectRect(&both, &a, &b))
                << ::GetDlgCtrlID(children[i]) << " overlaps " << ::GetDlgCtrlID(children[j]);
        }
    }
}

}  // namespace
}  // namespace pelmora
