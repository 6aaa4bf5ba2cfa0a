// What the window a control sits in answers for it: control colours over the
// window's picture and repaints after changes, each decided by the control's class.
#include "skin/controls/core/parent_messages.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/controls/class_procedures.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/controls/key_colour.h"
#include "skin/skin_engine.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

// Key: the list box fills its background with the DC's brush in the key
// colour, which its paint replaces by the picture.
enum class Answer { None, Picture, NullBrush, Key };

Answer kindOf(const std::optional<LRESULT>& answer) {
    if (!answer) return Answer::None;
    const auto brush = reinterpret_cast<HGDIOBJ>(*answer);
    if (brush == ::GetStockObject(NULL_BRUSH)) return Answer::NullBrush;
    return brush == ::GetStockObject(DC_BRUSH) ? Answer::Key : Answer::Picture;
}

bool invalidated(HWND control) {
    return ::GetUpdateRect(control, nullptr, FALSE) != FALSE;
}

class ParentMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&init);
        host_ = test::createHostWindow();
        recordIndex_ = test::recordWindow(host_);
        skinEngine().setControlSkinning(true, 0);  // the installer's switches: translucent, alpha 0
    }
    void TearDown() override { ::DestroyWindow(host_); }

    std::optional<LRESULT> colour(UINT message, HWND control) {
        const WindowDc dc(control);
        return answerForParent(message, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(control));
    }
    bool commandRepaints(HWND control, int code) {
        ::UpdateWindow(control);
        ::ValidateRect(control, nullptr);
        answerForParent(WM_COMMAND, MAKEWPARAM(7, code), reinterpret_cast<LPARAM>(control));
        return invalidated(control);
    }

    test::SkinState state_;
    HWND host_ = nullptr;
    int recordIndex_ = 0;
};

TEST_F(ParentMessagesTest, ControlColoursFollowTheControlsClass) {
    HWND label = test::createChild(host_, L"Static", 0, 0, 0, 80, 16, L"安装目录");
    HWND edit = test::createChild(host_, L"Edit", ES_READONLY, 0, 20, 80, 20);
    HWND check = test::createChild(host_, L"BUTTON", BS_AUTOCHECKBOX, 0, 50, 80, 16);
    HWND push = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 0, 70, 80, 24);
    HWND list = test::createChild(host_, L"ListBox", 0, 100, 0, 80, 60);
    HWND recordedList = test::createChild(host_, L"ListBox", 0, 100, 70, 80, 60);
    HWND combo = test::createChild(host_, L"ComboBox", CBS_DROPDOWN, 190, 0, 80, 100);
    HWND comboEdit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_NE(comboEdit, nullptr);
    windowRecord(recordIndex_)->controls<ListSkinRecord>().at(1).window = recordedList;

    struct Case {
        const char* what;
        UINT message;
        HWND control;
        Answer answer;
    } cases[] = {
        {"label", WM_CTLCOLORSTATIC, label, Answer::Picture},
        {"edit", WM_CTLCOLOREDIT, edit, Answer::Picture},
        {"read-only edit", WM_CTLCOLORSTATIC, edit, Answer::Picture},
        {"check box", WM_CTLCOLORSTATIC, check, Answer::Picture},
        {"push button", WM_CTLCOLORBTN, push, Answer::NullBrush},
        {"list box", WM_CTLCOLORLISTBOX, list, Answer::NullBrush},
        {"recorded list box", WM_CTLCOLORLISTBOX, recordedList, Answer::Key},
        {"combo's list colour", WM_CTLCOLORLISTBOX, combo, Answer::None},
        {"combo's own edit", WM_CTLCOLOREDIT, comboEdit, Answer::None},
        {"combo box", WM_CTLCOLOREDIT, combo, Answer::Picture},
    };
    for (const Case& c : cases) EXPECT_EQ(kindOf(colour(c.message, c.control)), c.answer) << c.what;
    {
        // The recorded list box's items and the space below them come out in the key.
        const WindowDc dc(recordedList);
        answerForParent(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(recordedList));
        EXPECT_EQ(::GetBkColor(dc.get()), kTreeViewKeyColour);
        EXPECT_EQ(::GetDCBrushColor(dc.get()), kTreeViewKeyColour);
    }

    skinEngine().setControlSkinning(true);  // opaque controls: nothing is answered
    for (const Case& c : cases) EXPECT_EQ(kindOf(colour(c.message, c.control)), Answer::None) << c.what;
}

TEST_F(ParentMessagesTest, AnAnswerOverANewLookReplacesTheBrushAndBitmapBefore) {
    HWND label = test::createChild(host_, L"Static", 0, 0, 0, 80, 16);
    HWND push = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 0, 70, 80, 24);
    ::SetPropW(label, kPropTextColour, reinterpret_cast<HANDLE>(0x000000FF));
    const WindowDc dc(label);
    const LRESULT first =
        *answerForParent(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(label));
    const auto firstBitmap = reinterpret_cast<HGDIOBJ>(propValue(label, kPropBackgroundBitmap));
    EXPECT_EQ(propValue(label, kPropBackgroundBrush), first);
    EXPECT_EQ(::GetObjectType(firstBitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(::GetTextColor(dc.get()), 0x000000FFu);
    EXPECT_EQ(::GetBkMode(dc.get()), TRANSPARENT);

    // The same look again: the pair is kept and is the answer.
    EXPECT_EQ(*answerForParent(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(label)),
              first);
    EXPECT_EQ(::GetObjectType(firstBitmap), static_cast<DWORD>(OBJ_BITMAP));

    controlSettings().backgroundAlpha = 90;  // a new look: more white over the picture
    answerForParent(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(::GetObjectType(reinterpret_cast<HGDIOBJ>(first)), 0u) << "the first brush was kept";
    EXPECT_EQ(::GetObjectType(firstBitmap), 0u) << "the first bitmap was kept";

    // A stock brush is handed out but never kept for deletion.
    colour(WM_CTLCOLORBTN, push);
    EXPECT_EQ(propValue(push, kPropBackgroundBrush), 0);
}

TEST_F(ParentMessagesTest, ChangesRepaintOnlyForTheirOwnNotifications) {
    HWND edit = test::createChild(host_, L"Edit", 0, 0, 20, 80, 20);
    HWND list = test::createChild(host_, L"ListBox", 0, 100, 0, 80, 60);
    HWND combo = test::createChild(host_, L"ComboBox", CBS_DROPDOWNLIST, 190, 0, 80, 100);
    HWND button = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 0, 70, 80, 24);
    struct Case {
        const char* what;
        HWND control;
        int code;
        bool repaints;
    } cases[] = {
        {"edit changed", edit, EN_CHANGE, true},
        {"edit scrolled", edit, EN_VSCROLL, true},
        {"edit focused", edit, EN_SETFOCUS, false},
        {"list selection", list, LBN_SELCHANGE, true},
        {"list cancelled", list, LBN_SELCANCEL, true},
        {"list double click", list, LBN_DBLCLK, false},
        {"combo selection", combo, CBN_SELCHANGE, true},
        {"combo lost focus", combo, CBN_KILLFOCUS, true},
        {"combo dropped down", combo, CBN_DROPDOWN, false},
        {"button clicked", button, BN_CLICKED, false},
    };
    for (const Case& c : cases) EXPECT_EQ(commandRepaints(c.control, c.code), c.repaints) << c.what;

    skinEngine().setControlSkinning(true);  // opaque controls have nothing to redraw
    EXPECT_FALSE(commandRepaints(edit, EN_CHANGE));
}

TEST_F(ParentMessagesTest, TreeViewExpandingRepaints) {
    HWND tree = test::createChild(host_, WC_TREEVIEWW, 0, 0, 0, 100, 100);
    ::UpdateWindow(tree);
    ::ValidateRect(tree, nullptr);
    NMHDR header{tree, 1, TVN_ITEMEXPANDINGA};
    EXPECT_FALSE(answerForParent(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)));
    EXPECT_TRUE(invalidated(tree));
    ::ValidateRect(tree, nullptr);
    header.code = TVN_SELCHANGEDA;
    answerForParent(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
    EXPECT_FALSE(invalidated(tree));
}

}  // namespace
}  // namespace pelmora
