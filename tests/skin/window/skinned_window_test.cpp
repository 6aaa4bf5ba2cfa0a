// A real skinned window on the test display: its pixels read back from the
// screen, the caption-button hover driven by moving the pointer, the commands,
// and the record bookkeeping when windows come and go.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/dpi_scale.h"
#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/state/engine_state.h"
#include "skin/window/window_geometry.h"
#include "tests/skin/skin_test_support.h"

namespace pelmora {
namespace {

using test::blue;
using test::green;
using test::red;

constexpr int kWidth = 500, kHeight = 300;
constexpr wchar_t kClass[] = L"PelmoraSkinnedWindowTest";
int closeQueries = 0;

// Distinct colours everywhere, never white, grey or magenta.
std::uint32_t pictureAt(int x, int y) {
    return 0xFF000000u | (static_cast<std::uint32_t>(40 + x % 200) << 16) |
           (static_cast<std::uint32_t>(30 + y % 200) << 8) | 0x50u;
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++closeQueries;
        return 0;  // the query says no: the window stays
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A label the way the installer's are: the face colour on erase, then a
// black bar in the middle on paint.
LRESULT CALLBACK labelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT rc;
        ::GetClientRect(window, &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    if (message == WM_PAINT) {
        PaintScope paint(window);
        RECT bar{20, 6, 40, 10};
        ::FillRect(paint.dc(), &bar, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void registerClasses() {
    static bool done = false;
    if (done) return;
    for (auto [name, proc] : {std::pair{kClass, hostProc}, std::pair{L"PelmoraTestLabel", labelProc}}) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        ::RegisterClassExW(&wc);
    }
    done = true;
}

void drainMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Pumps messages until `ready` holds or `timeoutMs` passes; the caller then
// checks the state itself, so a timeout shows up as a failed expectation.
template <typename F>
bool pumpUntil(F ready, DWORD timeoutMs = 3000) {
    const DWORD end = ::GetTickCount() + timeoutMs;
    for (;;) {
        test::restorePointer();
        drainMessages();
        if (ready()) return true;
        if (static_cast<long>(::GetTickCount() - end) >= 0) return false;
        ::Sleep(2);
    }
}

std::uint32_t screenPixel(int x, int y) {
    WindowDc screen(nullptr);
    const COLORREF c = ::GetPixel(screen.get(), x, y);
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

bool closeTo(std::uint32_t a, std::uint32_t b, int tolerance = 3) {
    return std::abs(red(a) - red(b)) <= tolerance && std::abs(green(a) - green(b)) <= tolerance &&
           std::abs(blue(a) - blue(b)) <= tolerance;
}

std::uint32_t over(std::uint32_t base, std::uint32_t colour, int alpha) {
    auto mix = [&](int b, int c) { return (c * alpha + b * (255 - alpha)) / 255; };
    return 0xFF000000u | (mix(red(base), red(colour)) << 16) | (mix(green(base), green(colour)) << 8) |
           mix(blue(base), blue(colour));
}

class SkinnedWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerClasses();
        closeQueries = 0;
        SkinTheme theme;
        theme.imageBytes = test::makePng(kWidth, kHeight, pictureAt);
        theme.mode = static_cast<int>(BackgroundMode::TopLeft);
        skinEngine().setSkinTheme(theme);
        test::parkPointer();
        window = makeWindow(origin.x, origin.y);
        ::SetForegroundWindow(window);
        index = findWindowRecord(window);
        // The window surface reaches the display asynchronously.
        pumpUntil([&] { return closeTo(pixel(250, 150), pictureAt(250, 150), 1); });
    }
    void TearDown() override {
        if (::IsWindow(window)) ::DestroyWindow(window);
        drainMessages();
    }

    HWND makeWindow(int x, int y) {
        HWND made = ::CreateWindowExW(0, kClass, L"skinned", WS_POPUP | WS_MINIMIZEBOX, x, y, kWidth, kHeight, nullptr,
                                      nullptr, ::GetModuleHandleW(nullptr), nullptr);
        SkinWindowOptions options;
        options.captionHeight = 30;
        options.resizable = false;
        skinEngine().skinWindow(made, options);
        ::ShowWindow(made, SW_SHOW);
        ::UpdateWindow(made);
        return made;
    }

    SkinnedWindowRecord& record() { return *windowRecord(index); }
    POINT centreOf(int button) {
        const RectF& r = record().caption.captionButtons.at(static_cast<size_t>(button - 1)).rect;
        return {static_cast<int>(r.x + r.width / 2), static_cast<int>(r.y + r.height / 2)};
    }
    std::uint32_t pixel(int x, int y) { return screenPixel(origin.x + x, origin.y + y); }
    std::uint32_t composed(int x, int y) {
        const COLORREF c = ::GetPixel(record().image.composed.dc(), x, y);
        return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    void pointAt(int x, int y) { test::pointTo(origin.x + x, origin.y + y); }

    test::SkinState state;
    POINT origin{120, 140};
    HWND window = nullptr;
    int index = 0;
};

// The picture given at twice the size: stripes one pixel wide in blue
// shades, so a copy drawn pixel for pixel is told from a scaled one.
std::uint32_t doublePictureAt(int x, int /*y*/) {
    return x % 2 ? 0xFF1030E0u : 0xFF60A0F0u;
}

// A window moved to a screen of another DPI draws the theme's picture from
// the one at twice the size above 150 %, and from the one picture up to it.
TEST_F(SkinnedWindowTest, DoublePictureIsDrawnAboveOneAndAHalf) {
    SkinTheme theme;
    theme.imageBytes = test::makePng(kWidth, kHeight, pictureAt);
    theme.imageBytes2x = test::makePng(2 * kWidth, 2 * kHeight, doublePictureAt);
    theme.mode = static_cast<int>(BackgroundMode::TopLeft);
    skinEngine().setSkinTheme(theme);
    auto moveTo = [&](UINT dpi) {
        RECT r{};
        ::GetWindowRect(window, &r);
        RECT suggested{r.left, r.top, r.left + scaled(kWidth, dpi), r.top + scaled(kHeight, dpi)};
        ::SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        drainMessages();
        ASSERT_EQ(record().frame.dpi, dpi);
    };
    // Inside the picture, clear of the caption and the border.
    const POINT probes[] = {{300, 200}, {301, 200}, {450, 350}, {451, 351}};

    moveTo(192);  // 200 %: the large picture pixel for pixel
    for (const POINT& p : probes) EXPECT_EQ(composed(p.x, p.y), doublePictureAt(p.x, p.y)) << p.x << "," << p.y;

    moveTo(168);  // 175 %: the large picture, reduced; blue, never the small one's red and green
    EXPECT_GT(blue(composed(300, 200)), 0xC0);
    EXPECT_LT(red(composed(300, 200)), 0x70);

    moveTo(144);  // 150 %: the small picture enlarged
    EXPECT_TRUE(closeTo(composed(270, 201), pictureAt(180, 134), 4)) << std::hex << composed(270, 201);

    moveTo(96);
    for (const POINT& p : {POINT{200, 150}, POINT{201, 150}}) EXPECT_EQ(composed(p.x, p.y), pictureAt(p.x, p.y));
}

TEST_F(SkinnedWindowTest, RecordHoldsTheCaptionLayout) {
    ASSERT_GE(index, 1);
    EXPECT_EQ(propIndex(window, kPropListIndex), index);
    EXPECT_EQ(record().caption.captionHeight, 30);
    ASSERT_EQ(record().caption.captionButtons.size(), 2u);
    EXPECT_EQ(record().caption.captionButtons[0].kind, CaptionButtonKind::Minimize);
    EXPECT_EQ(record().caption.captionButtons[1].kind, CaptionButtonKind::Close);
    EXPECT_EQ(record().caption.stripWidth, 68);
    EXPECT_EQ(record().caption.stripLeft, 433);
    EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU);
    HWND tip = record().caption.captionTooltip.getWindow();
    ASSERT_TRUE(tip);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST_F(SkinnedWindowTest, PictureBorderAndRoundedCorner) {
    HWND other = window;
    ::ShowWindow(other, SW_HIDE);
    pumpUntil([&] { return !closeTo(pixel(250, 150), pictureAt(250, 150), 1); });
    const std::uint32_t desktopCorner = screenPixel(origin.x, origin.y);
    ::ShowWindow(other, SW_SHOW);
    pumpUntil([&] { return closeTo(pixel(250, 150), pictureAt(250, 150), 1); });

    // Outside the rounded region the desktop shows through.
    EXPECT_TRUE(closeTo(pixel(0, 0), desktopCorner, 0));
    // Where nothing is drawn over it, the picture itself.
    for (POINT p : {POINT{250, 150}, POINT{100, 60}, POINT{480, 100}})
        EXPECT_TRUE(closeTo(pixel(p.x, p.y), pictureAt(p.x, p.y), 1)) << p.x << "," << p.y;
    // The outer outline is black at alpha 180 over the picture, the inner one white.
    EXPECT_TRUE(closeTo(pixel(250, 0), over(pictureAt(250, 0), 0xFF000000, 180)));
    EXPECT_TRUE(closeTo(pixel(0, 150), over(pictureAt(0, 150), 0xFF000000, 180)));
    EXPECT_TRUE(closeTo(pixel(250, 1), over(pictureAt(250, 1), 0xFFFFFFFF, 180)));
}

// Every pixel the window's region keeps in its four corners is drawn: none
// shows the colour the composed image is cleared with, at any scale.
TEST_F(SkinnedWindowTest, CornersTheRegionKeepsAreDrawn) {
    for (UINT dpi : {96u, 144u, 192u}) {
        RECT suggested{origin.x, origin.y, origin.x + scaled(kWidth, dpi), origin.y + scaled(kHeight, dpi)};
        ::SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        drainMessages();
        GdiRegion region(::CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(window, region.get()), ERROR);
        const int w = scaled(kWidth, dpi), h = scaled(kHeight, dpi), span = scaled(8, dpi);
        for (int y = 0; y < h; y += (y == span ? h - 2 * span : 1)) {
            for (int x = 0; x < w; x += (x == span ? w - 2 * span : 1)) {
                if (!::PtInRegion(region.get(), x, y)) continue;
                const std::uint32_t c = composed(x, y);
                EXPECT_FALSE(red(c) == 0xFF && green(c) == 0 && blue(c) == 0xFF)
                    << "undrawn pixel " << x << "," << y << " at " << dpi << " DPI";
            }
        }
    }
}

TEST_F(SkinnedWindowTest, GlyphsAndTitleStayInTheirRectangles) {
    const RECT title = titleRect(kWidth, record().caption.stripWidth, engineState().borderWidth);
    std::vector<int> changedIn(3, 0);
    for (int y = 2; y < 28; ++y) {
        for (int x = title.right; x < kWidth - 3; ++x) {
            if (closeTo(pixel(x, y), pictureAt(x, y), 2)) continue;
            int inside = 0;
            for (int b = 1; b <= 2; ++b) {
                const RectF& r = record().caption.captionButtons[static_cast<size_t>(b - 1)].rect;
                // A separator line runs two pixels left of each button.
                if (x >= r.x - 2 && x < r.x + r.width && y >= r.y && y < r.y + r.height) inside = b;
            }
            ++changedIn[static_cast<size_t>(inside)];
        }
    }
    EXPECT_EQ(changedIn[0], 0) << "pixels changed outside the button rectangles";
    EXPECT_GT(changedIn[1], 20);
    EXPECT_GT(changedIn[2], 20);

    int whitish = 0;
    for (int y = title.top; y < title.bottom; ++y)
        for (int x = title.left + 20; x < title.left + 120; ++x)
            if (red(pixel(x, y)) > 240 && green(pixel(x, y)) > 240 && blue(pixel(x, y)) > 240) ++whitish;
    EXPECT_GT(whitish, 10) << "no title text";
}

TEST_F(SkinnedWindowTest, HoverFadesInStepByStepAndOutOnLeave) {
    const POINT minimize = centreOf(1);
    const std::uint32_t normal = composed(minimize.x - 10, 3);
    int ticks = 0, lastStep = 0;
    bool litSeen = false;  // the highlight as the fade steps paint it
    // A late crossing event from the X server can move the pointer away for a
    // moment (see restorePointer); the fade then starts again, so the count
    // starts again too, a few times at most.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            pointAt(250, 150);
            pumpUntil([&] { return record().hover.fadeOut.button == 0 && !record().hover.fadeTimerRunning; });
        }
        pointAt(minimize.x, minimize.y);
        // Count the fade ticks: each one advances the fade by exactly one step.
        ticks = 0, lastStep = 0;
        litSeen = false;
        bool disturbed = false;
        // Until the eight steps are done and three more ticks have come, which
        // must not step any further; bounded, so a stuck fade fails instead of
        // hanging, and independent of how fast a loaded machine delivers ticks.
        int ticksAfterLast = 0;
        const DWORD end = ::GetTickCount() + 10000;
        while (static_cast<long>(::GetTickCount() - end) < 0 && !(lastStep >= 8 && ticksAfterLast >= 3)) {
            if (test::restorePointer()) {
                disturbed = true;
                break;
            }
            MSG msg;
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::Sleep(1);
                continue;
            }
            ::DispatchMessageW(&msg);
            if (msg.message == WM_TIMER && msg.wParam == reinterpret_cast<WPARAM>(window) && ticks < 20) {
                const int step = record().hover.fadeIn.step;
                if (record().hover.fadeIn.button == 1 && step > lastStep) {
                    EXPECT_EQ(step, lastStep + 1);
                    lastStep = step;
                    ++ticks;
                    if (!closeTo(composed(minimize.x - 10, 3), normal, 4)) litSeen = true;
                } else if (lastStep >= 8) {
                    ++ticksAfterLast;
                }
            }
        }
        if (!disturbed) break;
    }
    EXPECT_EQ(record().hover.hotButton, 1);
    EXPECT_EQ(record().hover.fadeIn.button, 1);
    EXPECT_EQ(lastStep, 8);
    EXPECT_EQ(ticks, 8);
    EXPECT_TRUE(litSeen) << "no highlight drawn";
    EXPECT_TRUE(record().hover.fadeTimerRunning);

    pointAt(250, 150);  // off the strip, still in the window
    pumpUntil([&] {
        return record().hover.hotButton == 0 && record().hover.fadeOut.button == 0 && !record().hover.fadeTimerRunning;
    });
    EXPECT_EQ(record().hover.hotButton, 0);
    EXPECT_EQ(record().hover.fadeOut.button, 0);
    EXPECT_FALSE(record().hover.fadeTimerRunning);
    EXPECT_TRUE(closeTo(composed(minimize.x - 10, 3), normal, 1)) << "highlight left behind";
}

TEST_F(SkinnedWindowTest, MovingBetweenButtonsFadesBoth) {
    const POINT minimize = centreOf(1), close = centreOf(2);
    pointAt(minimize.x, minimize.y);
    pumpUntil([&] { return record().hover.fadeIn.button == 1 && record().hover.fadeIn.step == 8; });
    ASSERT_EQ(record().hover.fadeIn.button, 1);
    pointAt(close.x, close.y);
    pumpUntil([&] {
        return record().hover.fadeIn.button == 2 && record().hover.fadeIn.step > 0 && record().hover.fadeOut.step > 0;
    });
    EXPECT_EQ(record().hover.hotButton, 2);
    EXPECT_EQ(record().hover.fadeIn.button, 2);
    EXPECT_EQ(record().hover.fadeOut.button, 1);
    EXPECT_GT(record().hover.fadeIn.step, 0);
    EXPECT_GT(record().hover.fadeOut.step, 0);
    pumpUntil([&] { return record().hover.fadeIn.step == 8 && record().hover.fadeOut.step == 8; });
    EXPECT_EQ(record().hover.fadeIn.step, 8);
    EXPECT_EQ(record().hover.fadeOut.step, 8);
    // Close lights up in red.
    const std::uint32_t lit = composed(close.x - 12, 3);
    EXPECT_GT(red(lit), blue(lit) + 40);
}

TEST_F(SkinnedWindowTest, PressShowsThePressedLookAndMinimizeRestores) {
    const POINT minimize = centreOf(1);
    const LPARAM at = MAKELPARAM(minimize.x, minimize.y);
    const int probeX = static_cast<int>(record().caption.captionButtons[0].rect.x) + 1;
    const std::uint32_t before = composed(probeX, 2);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    const std::uint32_t pressed = composed(probeX, 2);
    EXPECT_LT(red(pressed) + green(pressed) + blue(pressed), red(before) + green(before) + blue(before) - 30)
        << "the pressed look darkens the top of the button";
    // The window surface reaches the display asynchronously.
    pumpUntil([&] { return closeTo(pixel(probeX, 2), pressed, 1); });
    EXPECT_TRUE(closeTo(pixel(probeX, 2), pressed, 1)) << "pressed look not on screen";

    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
    pumpUntil([&] { return ::IsIconic(window) != FALSE; });
    EXPECT_TRUE(::IsIconic(window));
    EXPECT_TRUE(record().frame.isMinimized);

    ::ShowWindow(window, SW_RESTORE);
    ::SetForegroundWindow(window);
    pumpUntil([&] {
        return !::IsIconic(window) && closeTo(pixel(250, 150), pictureAt(250, 150), 1) &&
               closeTo(pixel(probeX, 2), before, 2);
    });
    EXPECT_FALSE(::IsIconic(window));
    EXPECT_FALSE(record().frame.isMinimized);
    EXPECT_TRUE(closeTo(pixel(250, 150), pictureAt(250, 150), 1));
    EXPECT_TRUE(closeTo(pixel(probeX, 2), before, 2)) << "the pressed look survived the restore";
}

// The window's state follows system commands from outside the caption (the
// taskbar, the system menu) as it follows its own buttons.
TEST_F(SkinnedWindowTest, SystemCommandsFromOutsideKeepTheFrameStateTrue) {
    const struct {
        WPARAM command;
        bool maximized, minimized;
    } steps[] = {
        {SC_MAXIMIZE, true, false}, {SC_MINIMIZE, true, true},
        {SC_RESTORE, true, false},  // back to maximised, as it was
        {SC_RESTORE, false, false}, {SC_MINIMIZE, false, true},
        {SC_RESTORE, false, false},
    };
    for (const auto& step : steps) {
        ::SendMessageW(window, WM_SYSCOMMAND, step.command, 0);
        drainMessages();
        EXPECT_EQ(record().frame.isMaximized, step.maximized) << std::hex << step.command;
        EXPECT_EQ(record().frame.isMinimized, step.minimized) << std::hex << step.command;
    }
}

TEST_F(SkinnedWindowTest, CloseButtonAsksTheCloseQuery) {
    const POINT close = centreOf(2);
    const LPARAM at = MAKELPARAM(close.x, close.y);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(closeQueries, 1);
    EXPECT_TRUE(::IsWindow(window)) << "the query said no";
}

TEST_F(SkinnedWindowTest, PaintWhileMinimizedOnlyValidates) {
    record().frame.isMinimized = true;
    record().image.needsRender = true;
    ::InvalidateRect(window, nullptr, FALSE);
    ::UpdateWindow(window);
    EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE));
    EXPECT_TRUE(record().image.needsRender) << "rendered while minimised";

    record().frame.isMinimized = false;
    ::InvalidateRect(window, nullptr, FALSE);
    ::UpdateWindow(window);
    EXPECT_FALSE(record().image.needsRender);
}

TEST_F(SkinnedWindowTest, OnlyTheFirstSizeSkipsTheRender) {
    engineState().firstSizePending = true;
    record().image.needsRender = true;
    ::SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight));
    EXPECT_FALSE(record().image.needsRender);
    EXPECT_FALSE(engineState().firstSizePending);
    ::SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(kWidth, kHeight));
    EXPECT_TRUE(record().image.needsRender);
}

// The rounded outline follows the window's size through every render.
TEST_F(SkinnedWindowTest, RoundedRegionFollowsTheSize) {
    auto hasOutlineOf = [&](int width, int height) {
        GdiRegion region(::CreateRectRgn(0, 0, 0, 0));
        RECT box{};
        if (::GetWindowRgn(window, region.get()) == ERROR || ::GetRgnBox(region.get(), &box) == ERROR) return false;
        const bool corners = ::PtInRegion(region.get(), 0, 0) || ::PtInRegion(region.get(), width - 1, 0) ||
                             ::PtInRegion(region.get(), 0, height - 1) ||
                             ::PtInRegion(region.get(), width - 1, height - 1);
        return box.right == width && box.bottom == height && !corners && ::PtInRegion(region.get(), 2, 0) &&
               ::PtInRegion(region.get(), width / 2, height / 2);
    };
    auto renderNow = [&] {
        record().image.needsRender = true;
        ::InvalidateRect(window, nullptr, FALSE);
        ::UpdateWindow(window);
        ASSERT_FALSE(record().image.needsRender);
    };
    EXPECT_TRUE(hasOutlineOf(kWidth, kHeight));
    renderNow();
    EXPECT_TRUE(hasOutlineOf(kWidth, kHeight));
    ::SetWindowPos(window, nullptr, 0, 0, kWidth - 100, kHeight - 60, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(clientRect(window).right, kWidth - 100);
    renderNow();
    EXPECT_TRUE(hasOutlineOf(kWidth - 100, kHeight - 60));
}

TEST_F(SkinnedWindowTest, SecondWindowIsRenumberedWhenTheFirstGoes) {
    HWND second = makeWindow(origin.x + 20, origin.y + 20);
    drainMessages();
    const int secondIndex = findWindowRecord(second);
    EXPECT_EQ(secondIndex, index + 1);
    EXPECT_EQ(propIndex(second, kPropListIndex), secondIndex);
    const int before = windowRecordCount();
    ::DestroyWindow(window);
    EXPECT_EQ(windowRecordCount(), before - 1);
    EXPECT_EQ(findWindowRecord(second), secondIndex - 1);
    EXPECT_EQ(propIndex(second, kPropListIndex), secondIndex - 1);
    // It still answers through its new number.
    windowRecord(secondIndex - 1)->image.needsRender = true;
    ::InvalidateRect(second, nullptr, FALSE);
    ::UpdateWindow(second);
    EXPECT_FALSE(windowRecord(secondIndex - 1)->image.needsRender);
    ::DestroyWindow(second);
    EXPECT_EQ(windowRecordCount(), before - 2);
}

TEST_F(SkinnedWindowTest, WindowSkinnedWhileOnScreenPaintsItsPicture) {
    ::ShowWindow(window, SW_HIDE);
    pumpUntil([&] { return !closeTo(pixel(250, 150), pictureAt(250, 150), 1); });
    // Shown and painted natively before anyone skins it: no WM_SHOWWINDOW follows.
    HWND late = ::CreateWindowExW(0, kClass, L"late", WS_POPUP | WS_VISIBLE, origin.x, origin.y, kWidth, kHeight,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::UpdateWindow(late);
    drainMessages();
    skinEngine().skinWindow(late, SkinWindowOptions{});
    const SkinnedWindowRecord* lateRecord = windowRecord(findWindowRecord(late));
    ASSERT_NE(lateRecord, nullptr);
    EXPECT_TRUE(lateRecord->controlsInstalled);
    pumpUntil([&] { return closeTo(pixel(250, 150), pictureAt(250, 150), 1); });
    EXPECT_TRUE(lateRecord->image.composed) << "never rendered";
    EXPECT_FALSE(lateRecord->image.needsRender);
    EXPECT_TRUE(closeTo(pixel(250, 150), pictureAt(250, 150), 1)) << "the picture is not on screen";
    ::DestroyWindow(late);
}

TEST_F(SkinnedWindowTest, EveryTooltipNamesItsOwnButtonAfterAButtonIsAdded) {
    const auto glyph = test::makePng(26, 18, pictureAt);
    ASSERT_TRUE(skinEngine().addCaptionButton(window, glyph, L"换肤", [] {}));
    const std::vector<CaptionButton>& buttons = record().caption.captionButtons;
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].kind, CaptionButtonKind::Custom);
    HWND tip = record().caption.captionTooltip.getWindow();
    ASSERT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 3);
    const wchar_t* const expected[] = {L"换肤", L"最小化", L"关闭"};
    for (size_t i = 0; i < buttons.size(); ++i) {
        wchar_t text[1024] = {};
        TOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V1_SIZE;
        info.hwnd = window;
        info.uId = i + 1;
        info.lpszText = text;
        ::SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, expected[i]) << "tool " << i + 1;
        ASSERT_TRUE(::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.rect.left, static_cast<LONG>(buttons[i].rect.x)) << "tool " << i + 1;
        EXPECT_EQ(info.rect.right, static_cast<LONG>(buttons[i].rect.x + buttons[i].rect.width)) << "tool " << i + 1;
    }
}

TEST_F(SkinnedWindowTest, ControlLayerLabelShowsThePicture) {
    skinEngine().setControlSkinning(true, 0);
    HWND label = test::createChild(window, L"PelmoraTestLabel", 0, 60, 200, 80, 16);
    ASSERT_GE(skinEngine().skinControlLayer(label), 0);
    ASSERT_TRUE(propValue(label, kPropLayerPreviousProc));
    ::InvalidateRect(label, nullptr, TRUE);
    pumpUntil([&] { return closeTo(pixel(60 + 2, 200 + 2), pictureAt(60 + 2, 200 + 2), 2); });
    // Where the label left its face colour, the picture; its own bar stays black.
    for (POINT p : {POINT{2, 2}, POINT{70, 12}, POINT{10, 8}})
        EXPECT_TRUE(closeTo(pixel(60 + p.x, 200 + p.y), pictureAt(60 + p.x, 200 + p.y), 2)) << p.x << "," << p.y;
    EXPECT_TRUE(closeTo(pixel(60 + 30, 200 + 8), 0xFF000000, 0));
}

}  // namespace
}  // namespace pelmora
