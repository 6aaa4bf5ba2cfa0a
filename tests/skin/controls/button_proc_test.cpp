// The button family's answers outside painting: WM_DRAWITEM is answered only
// for recorded push and image buttons, taken push buttons stay owner-drawn
// through BM_SETSTYLE, and the image-button operations take push buttons of a
// skinned window and nothing else.
#include "skin/controls/button_proc.h"

#include <gtest/gtest.h>

#include "skin/controls/control_install.h"
#include "skin/controls/core/window_properties.h"
#include "skin/skin_engine.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

class ButtonProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = test::createHostWindow();
        push_ = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24, L"浏览");
        check_ = test::createChild(host_, L"BUTTON", BS_AUTOCHECKBOX, 10, 40, 80, 20, L"同意");
        index_ = test::recordWindow(host_);
        installControlsOf(index_, host_);
        // Made after the window was skinned: the engine has not taken it.
        late_ = test::createChild(host_, L"BUTTON", BS_PUSHBUTTON, 10, 70, 80, 24, L"稍后");
    }
    void TearDown() override { ::DestroyWindow(host_); }
    SkinnedWindowRecord& record() { return *windowRecord(index_); }

    test::SkinState state_;
    HWND host_ = nullptr, push_ = nullptr, check_ = nullptr, late_ = nullptr;
    int index_ = 0;
};

DRAWITEMSTRUCT itemFor(HWND control, UINT type = ODT_BUTTON) {
    DRAWITEMSTRUCT item{};
    item.CtlType = type;
    item.hwndItem = control;
    item.itemAction = ODA_DRAWENTIRE;
    item.rcItem = {0, 0, 80, 24};
    return item;
}

TEST_F(ButtonProcTest, OwnerDrawIsAnsweredOnlyForRecordedPushAndImageButtons) {
    test::Canvas target(80, 24);
    const struct {
        const char* what;
        HWND control;
        UINT type;
        bool drawn;
    } cases[] = {
        {"recorded push button", push_, ODT_BUTTON, true},
        {"not a button item", push_, ODT_LISTBOX, false},
        {"check box (paints itself)", check_, ODT_BUTTON, false},
        {"button without a record", late_, ODT_BUTTON, false},
    };
    for (const auto& c : cases) {
        DRAWITEMSTRUCT item = itemFor(c.control, c.type);
        item.hDC = target.dc();
        EXPECT_EQ(drawOwnerButton(index_, item), c.drawn) << c.what;
    }
    // A record index that names another window's list is no licence to paint.
    DRAWITEMSTRUCT item = itemFor(push_);
    item.hDC = target.dc();
    EXPECT_FALSE(drawOwnerButton(index_ + 1, item));
}

// A dialog marks its default button with BM_SETSTYLE, which replaces the
// button's type: a taken push button stays owner-drawn through it, and a
// check box still takes the style it is given.
TEST_F(ButtonProcTest, PushButtonsStayOwnerDrawnThroughSetStyle) {
    const struct {
        const char* what;
        HWND control;
        WPARAM style;
        LONG type;
    } cases[] = {
        {"push button made default", push_, BS_DEFPUSHBUTTON, BS_OWNERDRAW},
        {"push button made plain", push_, BS_PUSHBUTTON, BS_OWNERDRAW},
        {"check box", check_, BS_CHECKBOX, BS_CHECKBOX},
        {"button without a record", late_, BS_DEFPUSHBUTTON, BS_DEFPUSHBUTTON},
    };
    for (const auto& c : cases) {
        ::SendMessageW(c.control, BM_SETSTYLE, c.style, TRUE);
        EXPECT_EQ(::GetWindowLongW(c.control, GWL_STYLE) & BS_TYPEMASK, c.type) << c.what;
    }
}

TEST_F(ButtonProcTest, ImageButtonOperationsTakePushButtonsOnly) {
    const ByteBuffer picture{1, 2, 3};
    skinEngine().skinImageButton(late_, picture, 1, L"提示");
    const int late = record().controls<ButtonSkinRecord>().indexOf(late_);
    ASSERT_GE(late, 1) << "a push button the engine had not taken is taken now";
    EXPECT_EQ(propIndex(late_, kPropListIndex), late);
    EXPECT_EQ(record().controls<ButtonSkinRecord>().at(late).kind, ButtonKind::ImageButton);
    EXPECT_EQ(record().controls<ButtonSkinRecord>().at(late).image, picture);
    EXPECT_EQ(record().controls<ButtonSkinRecord>().at(late).imageOption, 1);
    EXPECT_EQ(::GetWindowLongW(late_, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(record().controls<ButtonSkinRecord>().at(late).tooltip.getWindow());

    const ByteBuffer normal{1}, hover{2}, pressed{3}, disabled{4};
    skinEngine().skinStateImageButton(push_, normal, hover, pressed, disabled, L"");
    const ButtonSkinRecord& state =
        record().controls<ButtonSkinRecord>().at(record().controls<ButtonSkinRecord>().indexOf(push_));
    EXPECT_EQ(state.kind, ButtonKind::StateImageButton);
    EXPECT_EQ(state.hoverImage, hover);
    EXPECT_EQ(state.disabledImage, disabled);
    EXPECT_FALSE(state.tooltip.getWindow()) << "no text, no tooltip";

    // A check box stays a check box; a button outside any skinned window stays alone.
    skinEngine().skinImageButton(check_, picture, 0, L"");
    EXPECT_EQ(record().controls<ButtonSkinRecord>().at(record().controls<ButtonSkinRecord>().indexOf(check_)).kind,
              ButtonKind::CheckBox);
    HWND other = test::createHostWindow(400, 100, 100, 60);
    HWND outside = test::createChild(other, L"BUTTON", BS_PUSHBUTTON, 0, 0, 80, 24, L"外面");
    skinEngine().skinImageButton(outside, picture, 0, L"");
    EXPECT_EQ(::GetPropW(outside, kPropPreviousProc), nullptr);
    ::DestroyWindow(other);
}

}  // namespace
}  // namespace pelmora
