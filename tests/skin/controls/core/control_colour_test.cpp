// The translucent background a skinned window answers a child with: the
// pattern brush made from the window's picture under the control's client
// area, and who frees the brushes and bitmaps.
#include "skin/controls/core/control_colour.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "gfx/back_buffer.h"
#include "gfx/gdip_image.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "tests/skin/skin_test_support.h"
#include "tests/support/live_objects.h"

namespace pelmora {
namespace {

std::uint32_t composedAt(int x, int y) {
    return 0xFF000000u | (x & 0xFF) << 16 | (y & 0xFF) << 8 | 0x40;
}

bool isLive(HGDIOBJ object) {
    return object && ::GetObjectType(object) != 0;
}

// A 250 x 200 host whose record holds a composed image naming every position.
class ControlColourTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = controlSettings();
        controlSettings().translucentBackgrounds = true;
        controlSettings().backgroundAlpha = 0;
        host = test::createHostWindow(100, 100, 250, 200);
        composed.fill(composedAt);
        index = test::recordWindow(host);
        // The record's composed image, made the way the window layer makes it.
        BitmapDc& image = windowRecord(index)->image.composed;
        GdipBitmap made;
        ASSERT_TRUE(made.create(250, 200));
        ASSERT_TRUE(image.select(made.toHbitmap()));
        ::BitBlt(image.dc(), 0, 0, 250, 200, composed.dc(), 0, 0, SRCCOPY);
    }
    void TearDown() override {
        ::DestroyWindow(host);
        controlSettings() = saved;
        EXPECT_TRUE(backBuffers().empty());
    }
    SkinnedWindowRecord& record() { return *windowRecord(index); }
    HWND edit(DWORD style, DWORD exStyle = 0) {
        return test::createChild(host, L"Edit", style, 20, 30, 120, 60, L"text", exStyle);
    }

    ControlSettings saved;
    test::SkinState state;
    test::Canvas composed{250, 200};
    HWND host = nullptr;
    int index = 0;
};

TEST_F(ControlColourTest, ClientAreaLiesInsideTheBorderWithScrollBarsTakenOff) {
    // An edit draws a plain border inside its client area, so the thin border is a static's.
    struct Case {
        const char* what;
        const wchar_t* className;
        DWORD style, exStyle;
        int border;  // per side
    } cases[] = {
        {"no border", L"Edit", 0, 0, 0},
        {"thin border", L"Static", WS_BORDER, 0, 1},
        {"sunken edge", L"Edit", 0, WS_EX_CLIENTEDGE, 2},
        {"sunken edge and a vertical scroll bar", L"Edit", ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE, 2},
        {"both scroll bars", L"Edit", ES_MULTILINE | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, 2},
    };
    for (const Case& c : cases) {
        HWND control = test::createChild(host, c.className, c.style, 20, 30, 120, 60, L"text", c.exStyle);
        RECT client{};
        ::GetClientRect(control, &client);
        const RectI area = clientAreaInWindow(control);
        EXPECT_EQ(area.x, c.border) << c.what;
        EXPECT_EQ(area.y, c.border) << c.what;
        EXPECT_EQ(area.width, client.right) << c.what;
        EXPECT_EQ(area.height, client.bottom) << c.what;
        ::DestroyWindow(control);
    }
}

TEST_F(ControlColourTest, BrushBitmapIsThePictureUnderTheClientArea) {
    HWND control = edit(ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE);
    RECT client{};
    ::GetClientRect(control, &client);
    GdiBitmap bitmap = makeTranslucentBrushBitmap(control);
    ASSERT_TRUE(bitmap);
    BITMAP info{};
    ::GetObjectW(bitmap.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, client.right);
    EXPECT_EQ(info.bmHeight, client.bottom);
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap.get());
    // The client starts 2 pixels inside the edit at (20, 30).
    for (POINT p : {POINT{0, 0}, POINT{client.right - 1, client.bottom - 1}, POINT{31, 17}}) {
        const COLORREF c = ::GetPixel(dc.get(), p.x, p.y);
        const std::uint32_t expected = composedAt(22 + p.x, 32 + p.y);
        EXPECT_EQ(GetRValue(c), (expected >> 16) & 0xFF) << p.x << "," << p.y;
        EXPECT_EQ(GetGValue(c), (expected >> 8) & 0xFF) << p.x << "," << p.y;
    }
}

TEST_F(ControlColourTest, BrushBitmapCarriesTheWhiteOfTheBackgroundAlpha) {
    controlSettings().backgroundAlpha = 255;
    HWND control = edit(WS_BORDER);
    GdiBitmap bitmap = makeTranslucentBrushBitmap(control);
    ASSERT_TRUE(bitmap);
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap.get());
    EXPECT_EQ(::GetPixel(dc.get(), 5, 5), RGB(255, 255, 255));
}

TEST_F(ControlColourTest, AnswerSetsTextAndKeepsOneBrushPerControl) {
    HWND control = edit(WS_BORDER);
    setPropValue(control, kPropTextColour, 0x000000FF);
    WindowDc dc(control);
    const auto first = reinterpret_cast<HBRUSH>(answerControlColour(control, dc.get()));
    ASSERT_TRUE(isLive(first));
    EXPECT_EQ(::GetTextColor(dc.get()), 0x000000FFu);
    EXPECT_EQ(::GetBkMode(dc.get()), TRANSPARENT);
    EXPECT_EQ(propValue(control, kPropBackgroundBrush), reinterpret_cast<std::intptr_t>(first));
    const auto firstBitmap = reinterpret_cast<HGDIOBJ>(propValue(control, kPropBackgroundBitmap));
    EXPECT_TRUE(isLive(firstBitmap));

    // Over the same picture the pair is the answer again.
    EXPECT_EQ(reinterpret_cast<HBRUSH>(answerControlColour(control, dc.get())), first);
    EXPECT_TRUE(isLive(firstBitmap));

    // A new picture under the control: a new pair, the previous one freed.
    const RECT under{20, 30, 140, 90};
    ::FillRect(record().image.composed.dc(), &under, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    const auto second = reinterpret_cast<HBRUSH>(answerControlColour(control, dc.get()));
    EXPECT_TRUE(isLive(second));
    EXPECT_NE(second, first);
    EXPECT_FALSE(isLive(first)) << "the previous brush is freed";
    EXPECT_FALSE(isLive(firstBitmap)) << "and its bitmap";
    EXPECT_EQ(record().controlBrushes.size(), 1u);

    const auto hollow = reinterpret_cast<HGDIOBJ>(answerWithNullBrush(control, dc.get()));
    EXPECT_EQ(hollow, ::GetStockObject(NULL_BRUSH));
    EXPECT_FALSE(isLive(second));
    EXPECT_FALSE(record().controlBrushes.holds(control));
}

TEST_F(ControlColourTest, DestroyedControlsAndTheWindowFreeTheirBrushes) {
    HWND readOnly = edit(ES_READONLY | WS_BORDER);
    HWND check = test::createChild(host, L"BUTTON", BS_AUTOCHECKBOX, 20, 120, 100, 20, L"check");
    WindowDc dc(host);
    const auto readOnlyBrush = reinterpret_cast<HGDIOBJ>(answerControlColour(readOnly, dc.get()));
    const auto checkBrush = reinterpret_cast<HGDIOBJ>(answerControlColour(check, dc.get()));
    ASSERT_TRUE(isLive(readOnlyBrush) && isLive(checkBrush));

    releaseControlColours(readOnly);  // what the edit procedure does at WM_DESTROY
    EXPECT_FALSE(isLive(readOnlyBrush));
    EXPECT_EQ(propValue(readOnly, kPropBackgroundBrush), 0);

    // A control without an engine procedure: found gone at the next answer.
    ::DestroyWindow(check);
    HWND other = edit(WS_BORDER);
    answerControlColour(other, dc.get());
    EXPECT_FALSE(isLive(checkBrush));
    EXPECT_EQ(record().controlBrushes.size(), 1u);

    // The rest goes with the window's record.
    const auto last = reinterpret_cast<HGDIOBJ>(propValue(other, kPropBackgroundBrush));
    ASSERT_TRUE(isLive(last));
    removeWindowRecord(index);
    EXPECT_FALSE(isLive(last));
}

TEST_F(ControlColourTest, ControlOutsideAnySkinnedWindowGetsTheHollowBrushAndNothingIsKept) {
    HWND stray = test::createHostWindow(10, 10, 100, 40);
    WindowDc dc(stray);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(answerControlColour(stray, dc.get())), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(propValue(stray, kPropBackgroundBrush), 0);
    ::DestroyWindow(stray);
}

TEST_F(ControlColourTest, ManyAnswersLeaveTheGdiCountFlat) {
    HWND control = edit(WS_BORDER);
    WindowDc dc(control);
    answerControlColour(control, dc.get());
    const DWORD before = test::gdiObjectCount();
    for (int i = 0; i < 2000; ++i) answerControlColour(control, dc.get());
    EXPECT_EQ(test::gdiObjectCount(), before);
    EXPECT_EQ(record().controlBrushes.size(), 1u);
}

}  // namespace
}  // namespace pelmora
