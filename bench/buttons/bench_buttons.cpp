// Button paint benchmark: one skinned push-button paint against one native
// push-button paint of the same size, in the same process, interleaved.
//   skinned: back buffer, GDI+ graphics, paintPushButton, copy to the target,
//            release (what a skinned button does on every repaint);
//   native:  the system button painting itself into the target (WM_PRINTCLIENT).
// Both draw into the same memory DC, so neither pays for the screen. Printed:
// microseconds per paint for each (median of the rounds) and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/unique_resource.h"
#include "bench/support/bench_support.h"
#include "gfx/back_buffer.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_object.h"
#include "skin/controls/button_paint.h"

using namespace pelmora;

namespace {

constexpr int kWidth = 90, kHeight = 26;  // the installer's main button
constexpr int kRounds = 21, kPaintsPerRound = 200;

void paintSkinned(HDC target, ButtonPaintState state, const ButtonLook& look) {
    const RECT r{0, 0, kWidth, kHeight};
    HDC buffer = createBackBuffer(kWidth, kHeight);
    {
        GdipGraphics graphics;
        graphics.fromHdc(buffer);
        paintPushButton(graphics, r, state, look);
    }
    ::BitBlt(target, 0, 0, kWidth, kHeight, buffer, 0, 0, SRCCOPY);
    releaseControlBackground(buffer);
}

void paintNative(HWND button, HDC target) {
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT | PRF_ERASEBKGND);
}

// Per-paint microseconds of `paints` calls of f.
template <typename F>
double timeRound(F f) {
    const double start = (bench::nowMs() * 1000.0);
    for (int i = 0; i < kPaintsPerRound; ++i) f(i);
    return ((bench::nowMs() * 1000.0) - start) / kPaintsPerRound;
}

}  // namespace

int main() {
    if (!gdipStartup()) {
        std::puts("GDI+ did not start");
        return 1;
    }
    HWND host = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"开始安装", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, kWidth,
                                    kHeight, host, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    MemoryDc target(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiBitmap surface(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard selected(target.get(), surface.get());

    ButtonLook look;
    look.caption = L"开始安装";
    look.fontFace = L"宋体";
    look.textColour = 0x000000FF;
    // The states a button goes through under the mouse, in turn.
    const UINT states[] = {0, ODS_HOTLIGHT, ODS_HOTLIGHT | ODS_SELECTED, ODS_FOCUS};

    // Warm-up: fonts, codecs and the button's first paint.
    for (int i = 0; i < 20; ++i) {
        paintSkinned(target.get(), ButtonPaintState(states[i % 4]), look);
        paintNative(button, target.get());
    }
    std::vector<double> skinned, native;
    for (int round = 0; round < kRounds; ++round) {
        native.push_back(timeRound([&](int) { paintNative(button, target.get()); }));
        skinned.push_back(timeRound([&](int i) { paintSkinned(target.get(), ButtonPaintState(states[i % 4]), look); }));
    }
    const double s = bench::median(skinned), n = bench::median(native);
    std::printf("push button %dx%d, median of %d rounds of %d paints:\n", kWidth, kHeight, kRounds, kPaintsPerRound);
    bench::printRatio("  per paint", "skinned", s, "native", n, "us");
    bench::printRatio("  fastest rounds", "skinned", *std::min_element(skinned.begin(), skinned.end()), "native",
                      *std::min_element(native.begin(), native.end()), "us");
    ::DestroyWindow(host);
    gdipShutdown();
    return 0;
}
