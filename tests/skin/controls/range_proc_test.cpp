// Progress bars, track bars and up-downs in a real skinned window: the
// installer's bar at 0, 40 and 100 % as it lands on screen, repeated paints
// leaving nothing behind, a track bar taking the highlight, and an up-down
// that repaints once when the pointer moves from one arrow to the other.
// The common-control header needs the Windows types first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include "gfx/back_buffer.h"
#include "gfx/gdip_object.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/window_records.h"
#include "tests/skin/controls/control_window_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

using test::closeTo;
using test::pumpFor;
using test::pumpUntil;
using test::redness;
using test::SkinnedControlWindow;

// The installer's bar: 500 x 6 with a thin border, range 0..100.
class InstallerBarTest : public ::testing::Test {
protected:
    InstallerBarTest()
        : host(
              [&](HWND w) {
                  bar = test::createChild(w, PROGRESS_CLASSW, PBS_SMOOTH | WS_BORDER, 0, 213, 500, 6);
                  ::SendMessageW(bar, PBM_SETRANGE32, 0, 100);
              },
              500, 300) {}
    void setPosition(int p) {
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(p), 0);
        pumpFor(30);
    }
    bool accentAt(int x) const { return redness(host.controlPixel(bar, x, 2)) > 60; }

    HWND bar = nullptr;
    SkinnedControlWindow host;
};

TEST_F(InstallerBarTest, IsTakenByTheEngine) {
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(host.window()));
    ASSERT_NE(record, nullptr);
    EXPECT_GE(record->controls<ProgressSkinRecord>().indexOf(bar), 1);
}

TEST_F(InstallerBarTest, FillOnScreenAtZeroFortyAndHundredPercent) {
    setPosition(0);
    for (int x : {3, 100, 250, 496}) EXPECT_FALSE(accentAt(x)) << "0 %: " << x;
    // No white trough either: the middle of the bar is the picture under a soft veil.
    EXPECT_LT(test::red(host.controlPixel(bar, 250, 2)), 250);

    setPosition(40);
    ASSERT_TRUE(pumpUntil([&] { return accentAt(100); }));
    for (int x : {2, 100, 196}) EXPECT_TRUE(accentAt(x)) << "40 %: " << x;
    for (int x : {202, 250, 496}) EXPECT_FALSE(accentAt(x)) << "40 %: " << x;

    setPosition(100);
    ASSERT_TRUE(pumpUntil([&] { return accentAt(496); }));
    for (int x : {2, 250, 496}) EXPECT_TRUE(accentAt(x)) << "100 %: " << x;
    EXPECT_FALSE(accentAt(499)) << "the frame's last column stays outside the fill";
}

TEST_F(InstallerBarTest, RepeatedPaintsLeaveNothingBehind) {
    const ProgressSkinRecord& record = *locate<ProgressSkinRecord>(bar).record;
    paintProgressBar(record);
    const long objects = gdipLiveObjects();
    const DWORD gdi = test::gdiObjectCount();
    for (int k = 0; k < 2000; ++k) {
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(k % 101), 0);
        paintProgressBar(record);
    }
    EXPECT_EQ(gdipLiveObjects(), objects);
    EXPECT_EQ(test::gdiObjectCount(), gdi);
    EXPECT_TRUE(backBuffers().empty());
}

TEST(TrackBarProcTest, PointerOverTheBarOutlinesTheThumb) {
    HWND bar = nullptr, away = nullptr;
    SkinnedControlWindow host([&](HWND w) {
        bar = test::createChild(w, TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS, 40, 100, 200, 32);
        away = test::createChild(w, TRACKBAR_CLASSW, TBS_HORZ, 40, 200, 200, 32);
        ::SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        ::SendMessageW(bar, TBM_SETPOS, TRUE, 5);
    });
    const int w = findWindowRecord(host.window());
    TrackBarSkinRecord& record = windowRecord(w)->controls<TrackBarSkinRecord>().at(
        windowRecord(w)->controls<TrackBarSkinRecord>().indexOf(bar));
    RECT thumb{};
    ::SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    auto thumbRedness = [&] {
        int most = 0;
        for (int y = thumb.top; y < thumb.bottom; ++y)
            for (int x = thumb.left; x < thumb.right; ++x) most = std::max(most, redness(host.controlPixel(bar, x, y)));
        return most;
    };
    const int rest = thumbRedness();
    host.pointAt(bar, 20, 16);
    ASSERT_TRUE(pumpUntil([&] { return record.hot; }));
    EXPECT_TRUE(pumpUntil([&] { return thumbRedness() > rest + 60; })) << "accent outline";
    host.pointAt(away, 20, 16);
    EXPECT_TRUE(pumpUntil([&] { return !record.hot && thumbRedness() < rest + 20; }));
}

// A vertical up-down of 20 x 40: the up arrow above y = 20.
class UpDownProcTest : public ::testing::Test {
protected:
    UpDownProcTest()
        : host([&](HWND w) {
              control = test::createChild(w, UPDOWN_CLASSW, 0, 100, 100, 20, 40);
              away = test::createChild(w, UPDOWN_CLASSW, 0, 200, 100, 20, 40);
          }) {}
    // Reddest pixel of one half, away from its arrow.
    int halfRedness(bool upper) const {
        int most = 0;
        const int y0 = upper ? 2 : 22;
        for (int y = y0; y < y0 + 4; ++y)
            for (int x = 3; x < 17; ++x) most = std::max(most, redness(host.controlPixel(control, x, y)));
        return most;
    }
    // A mark that only a repaint of the control removes.
    void mark() const {
        WindowDc dc(control);
        ::SetPixel(dc.get(), 10, 38, RGB(0, 255, 0));
    }
    bool marked() const { return host.controlPixel(control, 10, 38) == 0xFF00FF00u; }
    UpDownSkinRecord& record() const {
        SkinnedWindowRecord* owner = windowRecord(findWindowRecord(host.window()));
        return owner->controls<UpDownSkinRecord>().at(owner->controls<UpDownSkinRecord>().indexOf(control));
    }

    HWND control = nullptr, away = nullptr;
    SkinnedControlWindow host;
};

TEST_F(UpDownProcTest, PartUnderThePointerSplitsTheHeight) {
    EXPECT_EQ(upDownPartAt(record(), MAKELPARAM(10, 0)), UpDownPart::FirstArrow);
    EXPECT_EQ(upDownPartAt(record(), MAKELPARAM(10, 19)), UpDownPart::FirstArrow);
    EXPECT_EQ(upDownPartAt(record(), MAKELPARAM(10, 20)), UpDownPart::SecondArrow);
    EXPECT_EQ(upDownPartAt(record(), MAKELPARAM(10, 39)), UpDownPart::SecondArrow);
}

TEST_F(UpDownProcTest, MovingToTheOtherArrowRepaintsOnceWithTheHighlightMoved) {
    const int upperAtRest = halfRedness(true), lowerAtRest = halfRedness(false);
    host.pointAt(control, 10, 6);
    ASSERT_TRUE(pumpUntil([&] { return record().hot && record().hotPart == UpDownPart::FirstArrow; }));
    // The screen shows the repaint once the window surface is flushed.
    pumpUntil([&] { return halfRedness(true) > upperAtRest + 15; });
    const int upperHot = halfRedness(true);
    EXPECT_GT(upperHot, upperAtRest + 15) << "the upper half lights";
    EXPECT_LE(halfRedness(false), lowerAtRest + 3);

    mark();
    ASSERT_TRUE(pumpUntil([&] { return marked(); })) << "the screen shows what is drawn once messages run";
    host.pointAt(control, 12, 14);  // still the up arrow
    pumpFor(60);
    EXPECT_TRUE(marked()) << "moving within one arrow repaints nothing";

    host.pointAt(control, 12, 30);  // the down arrow
    ASSERT_TRUE(pumpUntil([&] { return record().hotPart == UpDownPart::SecondArrow; }));
    pumpUntil([&] { return !marked() && halfRedness(false) > lowerAtRest + 15; });
    EXPECT_FALSE(marked()) << "moving to the other arrow repaints";
    EXPECT_GT(halfRedness(false), lowerAtRest + 15) << "the highlight moved down";
    EXPECT_LT(halfRedness(true), upperHot - 10) << "and left the upper half";

    mark();
    ASSERT_TRUE(pumpUntil([&] { return marked(); }));
    host.pointAt(control, 8, 33);
    pumpFor(60);
    EXPECT_TRUE(marked()) << "and only once";

    host.pointAt(away, 10, 10);
    ASSERT_TRUE(pumpUntil([&] { return !record().hot; }));
    EXPECT_TRUE(pumpUntil([&] { return halfRedness(false) <= lowerAtRest + 3; }));
}

}  // namespace
}  // namespace pelmora
