// The faces the controls keep between paints, in a real skinned window: after
// every change of state, size, text, value or of the picture under the
// control, the paint through the kept faces shows exactly what a paint without
// them shows (so a kept face can never be stale), and it shows the change.
// Going back to an earlier look takes the face kept for it. The faces are
// released with their control. A window moved to a screen of another DPI
// keeps its controls' sizes here, so only the DPI tells the faces apart.
// The common-control header needs the Windows types first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/unique_resource.h"
#include "skin/controls/button_proc.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_records.h"
#include "tests/skin/controls/control_window_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

using test::SkinnedControlWindow;

// Every pixel of a surface, as 0xAARRGGBB.
struct Shot {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    bool operator==(const Shot& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
    bool operator!=(const Shot& o) const { return !(*this == o); }
};

Shot copyOf(HDC source, int width, int height) {
    test::Canvas canvas(width, height);
    ::BitBlt(canvas.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    Shot shot{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) shot.pixels.push_back(canvas.argb(x, y));
    return shot;
}

// What the control's window shows now, border included.
Shot windowOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    const NonClientDc dc(control);
    return copyOf(dc.get(), r.right - r.left, r.bottom - r.top);
}

// A solid patch over the window's picture under the control, as a new
// background or a caption change would lay down.
void changePictureUnder(HWND control, COLORREF colour) {
    SkinnedWindowRecord* record = windowRecord(findOwnerWindowRecord(control));
    ASSERT_NE(record, nullptr);
    const RECT o = offsetInSkinnedWindow(control);
    const RECT patch{o.left, o.top, o.left + (o.right - o.left) / 2, o.bottom};
    GdiBrush brush(::CreateSolidBrush(colour));
    ::FillRect(record->image.composed.dc(), &patch, brush.get());
}

template <typename Record>
CachedFace& facesOf(HWND control) {
    return locate<Record>(control).record->face;
}

// A paint without the kept faces: they are set aside for it and put back, so
// the next step still finds what the last paints kept.
template <typename Record>
Shot paintedAfresh(HWND control, const std::function<Shot()>& paint) {
    CachedFace& kept = facesOf<Record>(control);
    CachedFace aside = std::move(kept);
    kept = CachedFace();
    Shot fresh = paint();
    kept = std::move(aside);
    return fresh;
}

struct Change {
    const char* what;
    std::function<void()> apply;
    bool shows = true;  // false: the look does not change (a repaint of the same look)
};

struct Subject {
    const char* name;
    std::function<Shot()> paint;  // through the kept faces
    std::function<Shot()> fresh;  // without them
    std::vector<Change> changes;
};

class KeptFaceTest : public ::testing::Test {
protected:
    KeptFaceTest()
        : host_([&](HWND w) {
              push_ = test::createChild(w, L"BUTTON", BS_PUSHBUTTON, 10, 40, 90, 26, L"开始安装");
              check_ = test::createChild(w, L"BUTTON", BS_AUTOCHECKBOX, 110, 40, 140, 20, L"我已阅读并同意");
              edit_ =
                  test::createChild(w, L"EDIT", ES_READONLY, 10, 80, 200, 24, L"C:\\Program Files", WS_EX_CLIENTEDGE);
              combo_ = test::createChild(w, L"COMBOBOX", CBS_DROPDOWNLIST, 220, 80, 150, 200);
              for (const wchar_t* item : {L"宋体", L"黑体"})
                  ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
              ::SendMessageW(combo_, CB_SETCURSEL, 0, 0);
              bar_ = test::createChild(w, PROGRESS_CLASSW, 0, 10, 130, 300, 8);
              ::SendMessageW(bar_, PBM_SETRANGE32, 0, 100);
              ::SendMessageW(bar_, PBM_SETPOS, 40, 0);
              track_ = test::createChild(w, TRACKBAR_CLASSW, TBS_HORZ, 10, 160, 200, 30);
              upDown_ = test::createChild(w, UPDOWN_CLASSW, 0, 220, 160, 20, 24);
              label_ = test::createChild(w, L"STATIC", SS_LEFT, 260, 160, 120, 20, L"安装目录：");
              list_ = test::createChild(w, L"LISTBOX", WS_BORDER | LBS_NOTIFY, 10, 200, 150, 60);
              ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Pelmora"));
          }) {
        index_ = findWindowRecord(host_.window());
    }

    // The window's DPI as WM_DPICHANGED leaves it in the record, there and back.
    Change toDpi(UINT dpi) {
        return {dpi == kBaseDpi ? "back at 100 %" : "window at 150 %",
                [this, dpi] { windowRecord(index_)->frame.dpi = dpi; }};
    }
    std::vector<Change> withDpiChanges(std::vector<Change> changes) {
        changes.push_back(toDpi(144));
        changes.push_back(toDpi(kBaseDpi));
        return changes;
    }

    Subject pushButton() {
        auto paint = [this] {
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.hwndItem = push_;
            item.itemAction = ODA_DRAWENTIRE;
            item.itemState = pushState_;
            ::GetClientRect(push_, &item.rcItem);
            test::Canvas target(item.rcItem.right, item.rcItem.bottom);
            item.hDC = target.dc();
            drawOwnerButton(index_, item);
            return copyOf(target.dc(), item.rcItem.right, item.rcItem.bottom);
        };
        return {"push button", paint, [=] { return paintedAfresh<ButtonSkinRecord>(push_, paint); },
                withDpiChanges(
                    {{"pointer over it", [this] { pushState_ = ODS_HOTLIGHT; }},
                     {"pressed", [this] { pushState_ = ODS_HOTLIGHT | ODS_SELECTED; }},
                     {"back to resting", [this] { pushState_ = 0; }},
                     {"painted again", [] {}, false},
                     {"new caption", [this] { ::SetWindowTextW(push_, L"退出并启动"); }},
                     {"new size", [this] { ::SetWindowPos(push_, nullptr, 0, 0, 110, 30, SWP_NOMOVE | SWP_NOZORDER); }},
                     {"new picture under it", [this] { changePictureUnder(push_, RGB(20, 200, 40)); }},
                     {"disabled", [this] { ::EnableWindow(push_, FALSE); }}})};
    }

    Subject checkBox() {
        auto paint = [this] {
            paintButtonState(check_, ButtonPaintState(), checkHot_);
            return windowOf(check_);
        };
        return {"check box", paint, [=] { return paintedAfresh<ButtonSkinRecord>(check_, paint); },
                withDpiChanges({{"pointer over it", [this] { checkHot_ = true; }},
                                {"ticked", [this] { ::SendMessageW(check_, BM_SETCHECK, BST_CHECKED, 0); }},
                                {"pointer gone", [this] { checkHot_ = false; }},
                                {"new caption", [this] { ::SetWindowTextW(check_, L"同意"); }},
                                {"new picture under it", [this] { changePictureUnder(check_, RGB(200, 30, 200)); }}})};
    }

    Subject editFrame() {
        auto paint = [this] {
            paintEditFrame(edit_, editFocused_, editHot_);
            return windowOf(edit_);
        };
        return {"edit frame", paint, [=] { return paintedAfresh<EditSkinRecord>(edit_, paint); },
                withDpiChanges(
                    {{"focused", [this] { editFocused_ = true; }},
                     {"new accent", [] { controlSettings().accentColour = RGB(0, 160, 0); }},
                     {"pointer over it", [this] { editHot_ = true; }},
                     {"back to resting", [this] { editFocused_ = editHot_ = false; }},
                     {"new size", [this] { ::SetWindowPos(edit_, nullptr, 0, 0, 240, 28, SWP_NOMOVE | SWP_NOZORDER); }},
                     {"new picture under it", [this] { changePictureUnder(edit_, RGB(250, 250, 20)); }}})};
    }

    // The text area the edit's erase and colour answer share, kept with its brush pair.
    Subject editTextArea() {
        auto paint = [this] {
            const RectI client = clientAreaInWindow(edit_);
            ControlBrushes* brushes = controlBrushesOf(edit_);
            const HDC area = brushes ? brushes->translucentArea(edit_) : nullptr;
            return area ? copyOf(area, client.width, client.height) : Shot{};
        };
        return {"edit text area",
                paint,
                [=] {
                    // The pair goes with everything it kept; the next paint takes the picture anew.
                    releaseControlColours(edit_);
                    return paint();
                },
                {{"painted again", [] {}, false},
                 {"new alpha", [] { controlSettings().backgroundAlpha = 140; }},
                 {"new size", [this] { ::SetWindowPos(edit_, nullptr, 0, 0, 160, 26, SWP_NOMOVE | SWP_NOZORDER); }},
                 {"new picture under it", [this] { changePictureUnder(edit_, RGB(30, 30, 220)); }}}};
    }

    Subject progressBar() {
        auto paint = [this] {
            RECT r{};
            ::GetClientRect(bar_, &r);
            test::Canvas target(r.right, r.bottom);
            paintProgressBar(*locate<ProgressSkinRecord>(bar_).record, target.dc());
            return copyOf(target.dc(), r.right, r.bottom);
        };
        return {"progress bar", paint, [=] { return paintedAfresh<ProgressSkinRecord>(bar_, paint); },
                withDpiChanges(
                    {{"one step on", [this] { ::SendMessageW(bar_, PBM_SETPOS, 60, 0); }},
                     {"back", [this] { ::SendMessageW(bar_, PBM_SETPOS, 40, 0); }},
                     {"new range", [this] { ::SendMessageW(bar_, PBM_SETRANGE32, 0, 50); }},
                     {"new size", [this] { ::SetWindowPos(bar_, nullptr, 0, 0, 200, 10, SWP_NOMOVE | SWP_NOZORDER); }},
                     {"new picture under it", [this] { changePictureUnder(bar_, RGB(240, 120, 0)); }}})};
    }

    Subject trackBar() {
        auto paint = [this] {
            paintTrackBar(*locate<TrackBarSkinRecord>(track_).record);
            return windowOf(track_);
        };
        return {"track bar", paint, [=] { return paintedAfresh<TrackBarSkinRecord>(track_, paint); },
                withDpiChanges({{"pointer over it", [this] { locate<TrackBarSkinRecord>(track_).record->hot = true; }},
                                {"moved", [this] { ::SendMessageW(track_, TBM_SETPOS, TRUE, 70); }},
                                {"new picture under it", [this] { changePictureUnder(track_, RGB(10, 220, 220)); }}})};
    }

    Subject upDown() {
        auto paint = [this] {
            paintUpDown(*locate<UpDownSkinRecord>(upDown_).record, upDownHot_, upDownPressed_);
            return windowOf(upDown_);
        };
        return {"up-down", paint, [=] { return paintedAfresh<UpDownSkinRecord>(upDown_, paint); },
                withDpiChanges({{"pointer over it", [this] { upDownHot_ = true; }},
                                {"pressed", [this] { upDownPressed_ = true; }},
                                {"released", [this] { upDownPressed_ = false; }},
                                {"new picture under it", [this] { changePictureUnder(upDown_, RGB(120, 20, 240)); }}})};
    }

    Subject comboBox() {
        auto paint = [this] {
            paintComboBox(*locate<ComboBoxSkinRecord>(combo_).record, comboHot_);
            return windowOf(combo_);
        };
        return {"combo box", paint, [=] { return paintedAfresh<ComboBoxSkinRecord>(combo_, paint); },
                withDpiChanges({{"pointer over it", [this] { comboHot_ = true; }},
                                {"other item chosen",
                                 [this] {
                                     ::SendMessageW(combo_, CB_SETCURSEL, 1, 0);
                                     ::SetWindowTextW(combo_, L"黑体");
                                 }},
                                {"new picture under it", [this] { changePictureUnder(combo_, RGB(250, 140, 140)); }}})};
    }

    // A window paint of the label, as every repaint of the window gives it.
    Subject staticText() {
        auto paint = [this] {
            ::InvalidateRect(label_, nullptr, TRUE);
            ::UpdateWindow(label_);
            return windowOf(label_);
        };
        return {"static text",
                paint,
                [=] { return paintedAfresh<StaticSkinRecord>(label_, paint); },
                {{"painted again", [] {}, false},
                 {"new text", [this] { ::SetWindowTextW(label_, L"目标文件夹"); }},
                 {"new text colour", [this] { setPropValue(label_, kPropTextColour, RGB(200, 0, 0)); }},
                 {"new size", [this] { ::SetWindowPos(label_, nullptr, 0, 0, 90, 18, SWP_NOMOVE | SWP_NOZORDER); }},
                 {"new picture under it", [this] { changePictureUnder(label_, RGB(40, 90, 160)); }}}};
    }

    Subject listFrame() {
        auto paint = [this] {
            paintListFrame(locate<ListSkinRecord>(list_), listHot_, listFocused_);
            return windowOf(list_);
        };
        return {"list frame",
                paint,
                [=] { return paintedAfresh<ListSkinRecord>(list_, paint); },
                {{"pointer over it", [this] { listHot_ = true; }},
                 {"pointer gone", [this] { listHot_ = false; }},
                 {"focused", [this] { listFocused_ = true; }},
                 {"back to resting", [this] { listFocused_ = false; }},
                 {"painted again", [] {}, false},
                 {"new alpha", [] { controlSettings().backgroundAlpha = 200; }},
                 {"new size", [this] { ::SetWindowPos(list_, nullptr, 0, 0, 170, 70, SWP_NOMOVE | SWP_NOZORDER); }},
                 {"new picture under it", [this] { changePictureUnder(list_, RGB(220, 60, 20)); }}}};
    }

    // Before the window: its constructor fills them in.
    HWND push_ = nullptr, check_ = nullptr, edit_ = nullptr, combo_ = nullptr, bar_ = nullptr, track_ = nullptr,
         upDown_ = nullptr, label_ = nullptr, list_ = nullptr;
    SkinnedControlWindow host_;
    int index_ = 0;
    UINT pushState_ = 0;
    bool checkHot_ = false, editFocused_ = false, editHot_ = false, upDownHot_ = false, upDownPressed_ = false,
         comboHot_ = false, listHot_ = false, listFocused_ = false;
};

TEST_F(KeptFaceTest, EveryChangeShowsAsAFreshPaintWouldShowIt) {
    ASSERT_GT(index_, 0);
    controlSettings().translucentBackgrounds = true;
    controlSettings().backgroundAlpha = 60;
    for (const Subject& subject : {pushButton(), checkBox(), editFrame(), editTextArea(), progressBar(), trackBar(),
                                   upDown(), comboBox(), staticText(), listFrame()}) {
        Shot before = subject.paint();
        ASSERT_FALSE(before.pixels.empty()) << subject.name << " painted nothing";
        for (const Change& change : subject.changes) {
            change.apply();
            const Shot kept = subject.paint();
            const Shot fresh = subject.fresh();
            EXPECT_TRUE(kept == fresh) << subject.name << ", " << change.what << ": the kept face is stale";
            EXPECT_EQ(kept != before, change.shows)
                << subject.name << ", " << change.what << (change.shows ? ": the change does not show" : ": changed");
            before = kept;
        }
    }
}

// A look kept earlier is copied, not drawn again; a new picture under the
// control drops every face drawn on the old one.
TEST_F(KeptFaceTest, EarlierLooksAreCopiedUntilThePictureChanges) {
    Subject push = pushButton();
    CachedFace& faces = facesOf<ButtonSkinRecord>(push_);
    faces.clear();  // the window's first paint kept the resting face
    for (UINT state : {0u, static_cast<UINT>(ODS_HOTLIGHT)}) {
        pushState_ = state;
        push.paint();
        EXPECT_FALSE(faces.reused()) << "first paint of state " << state;
    }
    pushState_ = 0;
    push.paint();
    EXPECT_TRUE(faces.reused());
    EXPECT_EQ(faces.keptFaces(), 2);
    changePictureUnder(push_, RGB(0, 0, 0));
    push.paint();
    EXPECT_FALSE(faces.reused());
    EXPECT_EQ(faces.keptFaces(), 1);
}

// However many looks a control goes through, it keeps a bounded number of
// faces, and they go with the control's brush pair or record: the process's
// object counts return to where they were.
TEST_F(KeptFaceTest, FacesAreBoundedAndReleased) {
    Subject bar = progressBar();
    Subject area = editTextArea();
    bar.paint();
    releaseControlColours(edit_);  // the window's paint made a brush; the end has none either
    area.paint();
    const test::LiveObjects start;
    for (int position = 0; position <= 100; position += 5) {
        ::SendMessageW(bar_, PBM_SETPOS, position, 0);
        bar.paint();
        changePictureUnder(edit_, RGB(position * 2, 0, 0));
        area.paint();
    }
    EXPECT_LE(facesOf<ProgressSkinRecord>(bar_).keptFaces(), CachedFace::kMaxFaces);
    facesOf<ProgressSkinRecord>(bar_).clear();
    releaseControlColours(edit_);
    bar.paint();
    area.paint();
    EXPECT_EQ(test::LiveObjects(), start);
}

}  // namespace
}  // namespace pelmora
