// Finding, recording and subclassing child controls; properties and their
// renumbering; the hover-highlight protocol.
#include "skin/controls/control_install.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/controls/class_procedures.h"
#include "skin/controls/core/control_font.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/skin_engine.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

WNDPROC procOf(HWND window) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
}
DWORD styleOf(HWND window) {
    return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}

TEST(ButtonStyleTest, InstallersTakeOnlyTheirKindsOfButton) {
    struct Case {
        DWORD style;
        bool push;
        std::optional<ButtonKind> check;
    } cases[] = {
        {BS_PUSHBUTTON, true, std::nullopt},
        {BS_DEFPUSHBUTTON, true, std::nullopt},
        {BS_USERBUTTON, true, std::nullopt},
        {BS_CHECKBOX, false, ButtonKind::CheckBox},
        {BS_AUTOCHECKBOX, false, ButtonKind::CheckBox},
        {BS_PUSHBOX, false, ButtonKind::CheckBox},
        {BS_AUTORADIOBUTTON, false, ButtonKind::RadioButton},
        {BS_RADIOBUTTON, false, std::nullopt},
        {BS_3STATE, false, std::nullopt},
        {BS_AUTO3STATE, false, std::nullopt},
        {BS_GROUPBOX, false, std::nullopt},
        {BS_OWNERDRAW, false, std::nullopt},
        {WS_TABSTOP | WS_VISIBLE | BS_PUSHBUTTON, true, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(takesAsPushButton(c.style), c.push) << std::hex << c.style;
        EXPECT_EQ(checkButtonKindOf(c.style), c.check) << std::hex << c.style;
    }
}

TEST(TrackBarStyleTest, TicksFollowTheFirstBitThatDecides) {
    struct Case {
        DWORD style;
        TickPlacement placement;
    } cases[] = {
        {TBS_BOTTOM, TickPlacement::BottomOrRight},
        {TBS_VERT | TBS_RIGHT, TickPlacement::BottomOrRight},
        {TBS_TOP, TickPlacement::TopOrLeft},
        {TBS_VERT | TBS_LEFT, TickPlacement::TopOrLeft},
        {TBS_BOTH, TickPlacement::Both},
        {TBS_TOP | TBS_BOTH, TickPlacement::TopOrLeft},
        {TBS_NOTICKS, TickPlacement::None},
        {TBS_NOTICKS | TBS_TOP | TBS_BOTH, TickPlacement::None},
        {TBS_AUTOTICKS | TBS_ENABLESELRANGE, TickPlacement::BottomOrRight},
    };
    for (const Case& c : cases) EXPECT_EQ(tickPlacementOf(c.style), c.placement) << std::hex << c.style;
}

TEST(ControlListTest, FirstControlFillsTheBlankRecord) {
    ControlList<ButtonSkinRecord> list;
    EXPECT_EQ(list.size(), 1);
    EXPECT_TRUE(list.isBlank());
    EXPECT_EQ(list.indexOf(nullptr), 0);
    EXPECT_EQ(list.takeSlot(), 1);  // still blank until a window is stored
    list.at(1).window = reinterpret_cast<HWND>(0x10);
    EXPECT_EQ(list.takeSlot(), 2);
    list.at(2).window = reinterpret_cast<HWND>(0x20);
    EXPECT_EQ(list.indexOf(reinterpret_cast<HWND>(0x20)), 2);
    EXPECT_EQ(list.find(3), nullptr);
}

class ControlInstallTest : public ::testing::Test {
protected:
    void SetUp() override { host_ = test::createHostWindow(); }
    void TearDown() override { ::DestroyWindow(host_); }
    test::SkinState state_;
    HWND host_ = nullptr;
};

TEST_F(ControlInstallTest, ButtonsCheckBoxAndEditGetTheirIndicesInOrder) {
    state_.enableAllClasses();
    HWND first = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24, L"浏览");
    HWND second = test::createChild(host_, L"BUTTON", BS_DEFPUSHBUTTON, 10, 40, 80, 24, L"开始安装");
    HWND check = test::createChild(host_, L"BUTTON", BS_AUTOCHECKBOX, 10, 70, 80, 24, L"我已阅读并同意");
    HWND edit = test::createChild(host_, L"EDIT", ES_READONLY, 10, 100, 80, 24, L"C:\\Program Files");
    ::SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    const WNDPROC checkProc = procOf(check);

    const int index = test::recordWindow(host_);
    installControlsOf(index, host_);
    const SkinnedWindowRecord& record = *windowRecord(index);

    ASSERT_EQ(record.controls<ButtonSkinRecord>().size(), 3);
    EXPECT_EQ(record.controls<ButtonSkinRecord>().at(1).window, first);
    EXPECT_EQ(record.controls<ButtonSkinRecord>().at(2).window, second);
    EXPECT_EQ(record.controls<ButtonSkinRecord>().at(3).window, check);
    EXPECT_EQ(record.controls<ButtonSkinRecord>().at(1).kind, ButtonKind::PushButton);
    EXPECT_EQ(record.controls<ButtonSkinRecord>().at(3).kind, ButtonKind::CheckBox);
    EXPECT_EQ(record.controls<ButtonSkinRecord>().at(2).caption, L"开始安装");
    ASSERT_EQ(record.controls<EditSkinRecord>().size(), 1);
    EXPECT_EQ(record.controls<EditSkinRecord>().at(1).window, edit);

    struct Expect {
        HWND control;
        int listIndex;
    } expected[] = {{first, 1}, {second, 2}, {check, 3}, {edit, 1}};
    for (const Expect& e : expected) {
        EXPECT_EQ(propIndex(e.control, kPropListIndex), e.listIndex);
        EXPECT_EQ(propIndex(e.control, kPropOwnerIndex), index);
        EXPECT_EQ(procOf(e.control), forwardingControlProc);
        EXPECT_NE(propValue(e.control, kPropPreviousProc), 0);
    }
    EXPECT_EQ(reinterpret_cast<WNDPROC>(propValue(check, kPropPreviousProc)), checkProc);
    EXPECT_EQ(record.controls<ButtonSkinRecord>().at(3).previousProc, checkProc);
    // Push buttons turn owner-drawn and get a font; the check box keeps its style.
    EXPECT_EQ(styleOf(first) & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(styleOf(check) & 0xF, static_cast<DWORD>(BS_AUTOCHECKBOX));
    EXPECT_FALSE(record.controls<ButtonSkinRecord>().at(1).font.face.empty());
    EXPECT_GT(record.controls<ButtonSkinRecord>().at(1).font.size, 0);
    EXPECT_TRUE(::GetPropW(edit, kPropTextColour) == nullptr);  // black: stored as 0

    // The subclassed controls still work through their previous procedures.
    ::SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    wchar_t text[64] = {};
    ::GetWindowTextW(edit, text, 64);
    EXPECT_STREQ(text, L"C:\\Program Files");

    // A second run takes nothing twice.
    installControlsOf(index, host_);
    EXPECT_EQ(windowRecord(index)->controls<ButtonSkinRecord>().size(), 3);
    EXPECT_EQ(windowRecord(index)->controls<EditSkinRecord>().size(), 1);
}

TEST_F(ControlInstallTest, EveryClassLandsInItsOwnListWithItsStyleNoted) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS |
                                               ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    state_.enableAllClasses();
    skinEngine().setControlSkinning(true, 0);  // translucent: the combo's own edit is taken too
    HWND combo = test::createChild(host_, L"ComboBox", CBS_SIMPLE, 0, 0, 100, 80);
    HWND comboEdit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
    HWND comboList = ::FindWindowExW(combo, nullptr, L"ComboLBox", nullptr);
    HWND listBox = test::createChild(host_, L"ListBox", LBS_NOTIFY, 0, 90, 100, 40);
    HWND tree = test::createChild(host_, WC_TREEVIEWW, 0, 110, 0, 60, 60);
    HWND trackTop = test::createChild(host_, TRACKBAR_CLASSW, TBS_TOP, 110, 70, 60, 20);
    HWND trackPlain = test::createChild(host_, TRACKBAR_CLASSW, TBS_VERT | TBS_ENABLESELRANGE, 110, 95, 20, 60);
    HWND trackNone = test::createChild(host_, TRACKBAR_CLASSW, TBS_NOTICKS | TBS_BOTH, 140, 95, 60, 20);
    HWND progress = test::createChild(host_, PROGRESS_CLASSW, PBS_VERTICAL, 180, 0, 10, 60);
    HWND upDown = test::createChild(host_, UPDOWN_CLASSW, UDS_HORZ, 200, 0, 30, 16);
    HWND view = test::createChild(host_, WC_LISTVIEWW, LVS_REPORT, 200, 20, 90, 60);
    HWND header = ::FindWindowExW(view, nullptr, L"SysHeader32", nullptr);
    HWND label = test::createChild(host_, L"Static", SS_CENTER, 0, 140, 80, 16, L"安装路径");
    HWND icon = test::createChild(host_, L"Static", SS_ICON, 90, 140, 16, 16);
    ASSERT_NE(comboEdit, nullptr);
    ASSERT_NE(comboList, nullptr);
    ASSERT_NE(header, nullptr);

    const int index = test::recordWindow(host_);
    installControlsOf(index, host_);
    const SkinnedWindowRecord& r = *windowRecord(index);

    EXPECT_EQ(r.controls<ComboBoxSkinRecord>().indexOf(combo), 1);
    EXPECT_EQ(r.controls<EditSkinRecord>().indexOf(comboEdit), 1);
    EXPECT_EQ(r.controls<ListSkinRecord>().indexOf(listBox), 1);  // list boxes first, then combo lists, then the rest
    EXPECT_EQ(r.controls<ListSkinRecord>().indexOf(comboList), 2);
    EXPECT_EQ(r.controls<ListSkinRecord>().indexOf(view), 3);
    EXPECT_EQ(r.controls<ListSkinRecord>().indexOf(tree), 4);
    EXPECT_EQ(r.controls<TrackBarSkinRecord>().size(), 3);
    EXPECT_EQ(r.controls<TrackBarSkinRecord>().at(r.controls<TrackBarSkinRecord>().indexOf(trackTop)).tickPlacement,
              TickPlacement::TopOrLeft);
    const TrackBarSkinRecord& plain =
        r.controls<TrackBarSkinRecord>().at(r.controls<TrackBarSkinRecord>().indexOf(trackPlain));
    EXPECT_EQ(plain.tickPlacement, TickPlacement::BottomOrRight);
    EXPECT_TRUE(plain.vertical);
    EXPECT_TRUE(plain.selectionRange);
    EXPECT_EQ(r.controls<TrackBarSkinRecord>().at(r.controls<TrackBarSkinRecord>().indexOf(trackNone)).tickPlacement,
              TickPlacement::None);
    EXPECT_TRUE(r.controls<ProgressSkinRecord>().at(r.controls<ProgressSkinRecord>().indexOf(progress)).vertical);
    EXPECT_TRUE(r.controls<UpDownSkinRecord>().at(r.controls<UpDownSkinRecord>().indexOf(upDown)).horizontal);
    // One procedure per window: the list view is taken once, among the list
    // controls, and gets its list-view record beside that; its header runs
    // the same procedure under a record of its own.
    EXPECT_EQ(r.controls<ListViewSkinRecord>().indexOf(view), 1);
    EXPECT_EQ(r.controls<ListViewSkinRecord>().indexOf(header), 2);
    EXPECT_EQ(propIndex(view, kPropListIndex), 3);
    EXPECT_EQ(propIndex(header, kPropListIndex), 2);
    EXPECT_EQ(r.controls<ListViewSkinRecord>().at(1).previousProc, r.controls<ListSkinRecord>().at(3).previousProc);
    EXPECT_FALSE(r.controls<ListViewSkinRecord>().at(2).headerFont.face.empty());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(propValue(header, kPropPreviousProc)),
              r.controls<ListViewSkinRecord>().at(2).previousProc);
    // Taken once: its procedure forwards to the native one, not to itself.
    EXPECT_NE(reinterpret_cast<WNDPROC>(propValue(view, kPropPreviousProc)), procOf(view));
    EXPECT_EQ(::SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 0);
    const StaticSkinRecord& text = r.controls<StaticSkinRecord>().at(r.controls<StaticSkinRecord>().indexOf(label));
    EXPECT_EQ(text.kind, StaticKind::Text);
    EXPECT_EQ(text.text, L"安装路径");
    EXPECT_EQ(r.controls<StaticSkinRecord>().at(r.controls<StaticSkinRecord>().indexOf(icon)).kind, StaticKind::Icon);
    for (HWND control : {combo, comboEdit, listBox, tree, trackTop, progress, upDown, view, header, label})
        EXPECT_EQ(propIndex(control, kPropOwnerIndex), index);
    EXPECT_EQ(propIndex(comboList, kPropListIndex), 2);
    // Every class finds its record through the same properties; the list view's
    // name its place among the list controls, and its list-view record is
    // still found, by its handle.
    EXPECT_EQ(locate<ListSkinRecord>(view).record, &r.controls<ListSkinRecord>().at(3));
    EXPECT_EQ(locate<ListViewSkinRecord>(view).record, &r.controls<ListViewSkinRecord>().at(1));
    EXPECT_EQ(locate<ListViewSkinRecord>(view).index, 1);
    EXPECT_EQ(locate<ListViewSkinRecord>(header).record, &r.controls<ListViewSkinRecord>().at(2));
    EXPECT_EQ(locate<TrackBarSkinRecord>(progress).window, &r);
    EXPECT_FALSE(locate<TrackBarSkinRecord>(progress)) << "recorded, but not as a track bar";
}

std::wstring textOf(HWND window) {
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    return text;
}

// A drop-down combo whose edit was given another text after its item was
// selected shows, once taken, the selected item; without a selection it keeps
// what it shows.
TEST_F(ControlInstallTest, TakenComboShowsItsSelectedItemAsItsText) {
    struct Case {
        const char* name;
        int selection;  // -1: none
        const wchar_t* text;
    } cases[] = {
        {"with a selection", 1, L"典型安装"},
        {"without one", -1, L"旧标题"},
    };
    state_.enableAllClasses();
    for (const Case& c : cases) {
        HWND combo = test::createChild(host_, L"ComboBox", CBS_DROPDOWN, 10, 10, 120, 120);
        for (const wchar_t* item : {L"完全安装", L"典型安装"})
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(c.selection), 0);
        ::SetWindowTextW(combo, L"旧标题");
        ASSERT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), c.selection) << c.name;
        const int index = test::recordWindow(host_);
        installControlsOf(index, host_);
        ASSERT_EQ(windowRecord(index)->controls<ComboBoxSkinRecord>().indexOf(combo), 1) << c.name;
        EXPECT_EQ(textOf(combo), c.text) << c.name;
        ::DestroyWindow(combo);
        removeWindowRecord(index);
    }
}

TEST_F(ControlInstallTest, ContainerChildrenRunOnlyTheFirstEightInstallers) {
    state_.enableAllClasses();
    HWND label = test::createChild(host_, L"Static", 0, 0, 0, 80, 16);
    HWND edit = test::createChild(host_, L"EDIT", 0, 0, 20, 80, 16);
    const int index = test::recordWindow(host_);
    installControlsOf(index, host_, true);
    EXPECT_EQ(windowRecord(index)->controls<EditSkinRecord>().indexOf(edit), 1);
    EXPECT_EQ(windowRecord(index)->controls<StaticSkinRecord>().indexOf(label), 0);
}

TEST_F(ControlInstallTest, OwnerDrawnButtonIsLeftAlone) {
    state_.enableAllClasses();
    HWND drawn = test::createChild(host_, L"BUTTON", BS_OWNERDRAW, 10, 10, 80, 24);
    HWND radio = test::createChild(host_, L"BUTTON", BS_RADIOBUTTON, 10, 40, 80, 24);
    const WNDPROC before = procOf(drawn);
    const int index = test::recordWindow(host_);
    installControlsOf(index, host_);
    EXPECT_TRUE(windowRecord(index)->controls<ButtonSkinRecord>().isBlank());
    EXPECT_EQ(procOf(drawn), before);
    EXPECT_EQ(styleOf(drawn) & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(::GetPropW(drawn, kPropPreviousProc), nullptr);
    EXPECT_EQ(::GetPropW(radio, kPropListIndex), nullptr);
}

TEST_F(ControlInstallTest, SkinningSwitchedOffLeavesControlsNativeButStillTakesToolbars) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&init);
    state_.enableAllClasses();
    skinEngine().setControlSkinning(false);
    HWND button = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24);
    HWND progress = test::createChild(host_, PROGRESS_CLASSW, 0, 10, 40, 80, 10);
    HWND toolbar = test::createChild(host_, TOOLBARCLASSNAMEW, CCS_NORESIZE, 0, 100, 200, 30);
    const WNDPROC buttonProc = procOf(button), progressProc = procOf(progress), toolbarProc = procOf(toolbar);

    const int index = test::recordWindow(host_);
    installControlsOf(index, host_);
    EXPECT_EQ(procOf(button), buttonProc);
    EXPECT_EQ(procOf(progress), progressProc);
    EXPECT_EQ(::GetPropW(button, kPropOwnerIndex), nullptr);
    EXPECT_EQ(styleOf(button) & 0xF, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_TRUE(windowRecord(index)->controls<ProgressSkinRecord>().isBlank());

    const SkinnedWindowRecord& record = *windowRecord(index);
    ASSERT_EQ(record.controls<ControlLayerRecord>().indexOf(toolbar), 1);
    EXPECT_EQ(record.controls<ControlLayerRecord>().at(1).previousProc, toolbarProc);
    EXPECT_EQ(record.controls<ControlLayerRecord>().at(1).keyColour, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(procOf(toolbar), forwardingControlProc);
    EXPECT_EQ(propIndex(toolbar, kPropLayerIndex), 1);
    EXPECT_EQ(propIndex(toolbar, kPropLayerOwnerIndex), index);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(propValue(toolbar, kPropLayerPreviousProc)), toolbarProc);
}

TEST_F(ControlInstallTest, ClassWithoutAPainterStaysNative) {
    // The shipped table: a class is taken only once its painter exists.
    HWND button = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24);
    HWND edit = test::createChild(host_, L"EDIT", 0, 10, 40, 80, 24);
    const WNDPROC buttonProc = procOf(button), editProc = procOf(edit);
    const bool buttonsPainted = classProcedure(ControlProcedure::Button) != nullptr;
    const bool editsPainted = classProcedure(ControlProcedure::Edit) != nullptr;
    const int index = test::recordWindow(host_);
    installControlsOf(index, host_);
    EXPECT_EQ(procOf(button) == buttonProc, !buttonsPainted);
    EXPECT_EQ(procOf(edit) == editProc, !editsPainted);
    EXPECT_EQ(windowRecord(index)->controls<ButtonSkinRecord>().isBlank(), !buttonsPainted);
}

TEST_F(ControlInstallTest, RemovingAnEarlierWindowRenumbersTheRest) {
    state_.enableAllClasses();
    HWND firstHost = test::createHostWindow(10, 10, 100, 100);
    test::createChild(firstHost, L"BUTTON", BS_PUSHBUTTON, 0, 0, 50, 20);
    HWND button = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24);
    HWND edit = test::createChild(host_, L"EDIT", 0, 10, 40, 80, 24);
    HWND label = test::createChild(host_, L"Static", 0, 10, 70, 80, 24);

    const int first = test::recordWindow(firstHost);
    installControlsOf(first, firstHost);
    const int second = test::recordWindow(host_);
    installControlsOf(second, host_);
    ASSERT_EQ(second, 2);
    ASSERT_EQ(skinEngine().skinControlLayer(label), 0);  // no children: recorded, no container
    ASSERT_EQ(propIndex(label, kPropLayerOwnerIndex), 2);
    setPropValue(host_, kPropListIndex, second);  // as the window layer sets it

    auto removed = removeWindowRecord(first);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->window, firstHost);
    EXPECT_EQ(windowRecordCount(), 1);
    EXPECT_EQ(findWindowRecord(host_), 1);
    EXPECT_EQ(propIndex(host_, kPropListIndex), 1);
    EXPECT_EQ(propIndex(button, kPropOwnerIndex), 1);
    EXPECT_EQ(propIndex(edit, kPropOwnerIndex), 1);
    EXPECT_EQ(propIndex(label, kPropLayerOwnerIndex), 1);
    EXPECT_EQ(propIndex(button, kPropListIndex), 1);  // list positions do not change
    ::DestroyWindow(firstHost);
}

TEST_F(ControlInstallTest, OwnerRecordIsFoundUpTheParentChain) {
    HWND panel = test::createChild(host_, L"Static", 0, 0, 0, 100, 100);
    HWND inner = test::createChild(panel, L"EDIT", 0, 0, 0, 50, 20);
    EXPECT_EQ(findOwnerWindowRecord(inner), 0);
    const int index = test::recordWindow(host_);
    EXPECT_EQ(findOwnerWindowRecord(inner), index);
    EXPECT_EQ(findOwnerWindowRecord(panel), index);
    EXPECT_EQ(findOwnerWindowRecord(host_), 0);  // a window's own record is not its owner
    EXPECT_EQ(findWindowRecord(host_), index);
    EXPECT_EQ(findWindowRecord(panel), 0);
}

TEST_F(ControlInstallTest, ControlFontIsReadWithoutTouchingIt) {
    HWND button = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24);
    GdiFont font(::CreateFontW(-16, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ASSERT_TRUE(font);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    const ControlFont read = readControlFont(button);
    EXPECT_EQ(read.face, L"Tahoma");
    EXPECT_EQ(read.style, 3);  // bold | italic
    EXPECT_GT(read.size, 0);
    EXPECT_EQ(::SendMessageW(button, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font.get()));
    EXPECT_EQ(::GetObjectType(font.get()), static_cast<DWORD>(OBJ_FONT));

    // A window that reports no font: the face of its DC's current font.
    const ControlFont fallback = readControlFont(host_);
    EXPECT_FALSE(fallback.face.empty());
    ::DestroyWindow(button);
}

TEST(HoverHighlightTest, OneControlHoldsTheHighlightAtATime) {
    SkinnedWindowRecord record;
    HWND parentA = reinterpret_cast<HWND>(0x100), parentB = reinterpret_cast<HWND>(0x200);
    struct Step {
        const char* what;
        HotClass hotClass;
        int index;
        HWND editParent;
        bool leaveFirst;
        bool repaints;
    } steps[] = {
        {"enter button 1", HotClass::Button, 1, nullptr, false, true},
        {"move within button 1", HotClass::Button, 1, nullptr, false, false},
        {"move to button 2", HotClass::Button, 2, nullptr, false, true},
        {"same index, other class", HotClass::Edit, 2, parentA, false, true},
        {"same edit again", HotClass::Edit, 2, parentA, false, false},
        {"edit 2 of another parent", HotClass::Edit, 2, parentB, false, true},
        {"back after leaving", HotClass::Edit, 2, parentB, true, true},
    };
    for (const Step& s : steps) {
        if (s.leaveFirst) dropHoverHighlight(record);
        EXPECT_EQ(takeHoverHighlight(record, s.hotClass, s.index, s.editParent), s.repaints) << s.what;
        EXPECT_EQ(record.pointerIndex, s.index) << s.what;
        EXPECT_EQ(record.hotIndex, s.index) << s.what;
        EXPECT_EQ(record.hotClass, s.hotClass) << s.what;
    }
    EXPECT_EQ(record.hotEditParent, parentB);
}

TEST_F(ControlInstallTest, ForwardingProcedureReachesTheRecordAndThePreviousProcedure) {
    state_.enableAllClasses();
    HWND edit = test::createChild(host_, L"EDIT", 0, 10, 40, 80, 24);
    const int index = test::recordWindow(host_);
    installControlsOf(index, host_);
    const auto where = locate<EditSkinRecord>(edit);
    EXPECT_EQ(where.window, windowRecord(index));
    EXPECT_EQ(where.index, 1);
    EXPECT_EQ(where.record, windowRecord(index)->controls<EditSkinRecord>().find(1));
    EXPECT_EQ(locate<EditSkinRecord>(host_).window, nullptr) << "no owner property";
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\Games"));
    wchar_t text[32] = {};
    EXPECT_EQ(::SendMessageW(edit, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)), 8);
    EXPECT_STREQ(text, L"D:\\Games");
}

}  // namespace
}  // namespace pelmora
