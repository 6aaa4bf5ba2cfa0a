#include "tests/skin/controls/control_window_support.h"

#include <cstdlib>

#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"

namespace pelmora::test {
namespace {

std::uint32_t screenPixel(int x, int y) {
    WindowDc screen(nullptr);
    const COLORREF c = ::GetPixel(screen.get(), x, y);
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

POINT controlOrigin(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    return {r.left, r.top};
}

}  // namespace

std::uint32_t windowPicture(int x, int y) {
    return 0xFF000000u | (static_cast<std::uint32_t>(40 + (x * 3) % 160) << 16) |
           (static_cast<std::uint32_t>(60 + (y * 5) % 150) << 8) | static_cast<std::uint32_t>(90 + (x + y) % 90);
}

SkinnedControlWindow::SkinnedControlWindow(const std::function<void(HWND)>& makeChildren, int width, int height) {
    SkinTheme theme;
    theme.imageBytes = makePng(width, height, windowPicture);
    theme.accent = static_cast<int>(kTestAccent);
    theme.mode = static_cast<int>(BackgroundMode::TopLeft);
    skinEngine().setSkinTheme(theme);
    skinEngine().setControlSkinning(true, 0);
    parkPointer();
    window_ = ::CreateWindowExW(0, plainWindowClass(), L"controls", WS_POPUP | WS_CLIPCHILDREN, origin_.x, origin_.y,
                                width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    makeChildren(window_);
    SkinWindowOptions options;
    options.captionHeight = 30;
    options.resizable = false;
    skinEngine().skinWindow(window_, options);
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    ::UpdateWindow(window_);
    pumpUntil([&] { return closeTo(pixel(width / 2, 10), windowPicture(width / 2, 10), 2); });
    pumpFor(50);
}

SkinnedControlWindow::~SkinnedControlWindow() {
    ::DestroyWindow(window_);
    drainMessages();
    skinEngine().setControlSkinning(true);
}

std::uint32_t SkinnedControlWindow::pixel(int x, int y) const {
    return screenPixel(origin_.x + x, origin_.y + y);
}

std::uint32_t SkinnedControlWindow::controlPixel(HWND control, int x, int y) const {
    const POINT at = controlOrigin(control);
    return screenPixel(at.x + x, at.y + y);
}

std::uint32_t SkinnedControlWindow::pictureUnder(HWND control, int x, int y) const {
    const POINT at = controlOrigin(control);
    return windowPicture(at.x - origin_.x + x, at.y - origin_.y + y);
}

void SkinnedControlWindow::pointAt(HWND control, int x, int y) const {
    const POINT at = controlOrigin(control);
    pointTo(at.x + x, at.y + y);
}

void drainMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& ready, DWORD timeoutMs) {
    const DWORD end = ::GetTickCount() + timeoutMs;
    for (;;) {
        restorePointer();
        drainMessages();
        if (ready()) return true;
        if (static_cast<long>(::GetTickCount() - end) >= 0) return false;
        ::Sleep(2);
    }
}

void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
}

bool closeTo(std::uint32_t a, std::uint32_t b, int tolerance) {
    return std::abs(red(a) - red(b)) <= tolerance && std::abs(green(a) - green(b)) <= tolerance &&
           std::abs(blue(a) - blue(b)) <= tolerance;
}

std::uint32_t over(std::uint32_t base, std::uint32_t colour, int alpha) {
    auto mix = [&](int b, int c) { return (c * alpha + b * (255 - alpha) + 127) / 255; };
    return 0xFF000000u | (mix(red(base), red(colour)) << 16) | (mix(green(base), green(colour)) << 8) |
           mix(blue(base), blue(colour));
}

int redness(std::uint32_t argb) {
    return red(argb) - (green(argb) + blue(argb)) / 2;
}

}  // namespace pelmora::test
