// Painter benchmark, run under the same Wine as the tests:
//   the edit box's border, its translucent text-area background and the
//   progress bar, each painted by the engine in a skinned window exactly as
//   its window procedure paints it (the picture under the control, the GDI+
//   painter, the copy onto the window DC), against the same control's native
//   paint of the same part in a plain window.
// Rounds alternate between the two; the medians and their ratio are printed.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/unique_resource.h"
#include "bench/support/bench_support.h"
#include "gfx/gdip_image.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/core/parent_messages.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"

using namespace pelmora;

namespace {

// Microseconds per paint, median over rounds of `perRound` paints.
double perPaintUs(const std::function<void()>& paint, int perRound, std::vector<double>& rounds) {
    const double start = bench::nowMs();
    for (int i = 0; i < perRound; ++i) paint();
    rounds.push_back((bench::nowMs() - start) * 1000.0 / perRound);
    return rounds.back();
}

struct Result {
    const char* what;
    double engine, native;
};

Result compare(const char* what, const std::function<void()>& engine, const std::function<void()>& native) {
    constexpr int kRounds = 9, kPerRound = 300;
    std::vector<double> e, n;
    engine();  // warm both paths (font caches, first GDI+ use)
    native();
    for (int r = 0; r < kRounds; ++r) {
        perPaintUs(native, kPerRound, n);
        perPaintUs(engine, kPerRound, e);
    }
    return {what, bench::median(e), bench::median(n)};
}

// A window with an edit like the installer's folder box and a 500 x 6 bar at
// 40 %; the same pair in both hosts.
struct Host {
    HWND window, edit, bar;
};

Host makeHost(int y) {
    Host h{};
    h.window = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 50, y, 520, 120, nullptr, nullptr,
                                 nullptr, nullptr);
    h.edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"C:\\Program Files", WS_CHILD | WS_VISIBLE | ES_READONLY, 10,
                               40, 300, 24, h.window, nullptr, nullptr, nullptr);
    h.bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 90, 500, 6, h.window, nullptr,
                              nullptr, nullptr);
    ::SendMessageW(h.bar, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(h.bar, PBM_SETPOS, 40, 0);
    return h;
}

// A picture for the skinned window: squares of changing colour, as PNG bytes.
ByteBuffer pictureBytes() {
    GdipBitmap bitmap;
    bitmap.create(520, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 520; ++x)
            bitmap.setPixel(x, y, 0xFF000000u | ((x / 10 * 10) % 256) << 16 | ((y / 10 * 10) % 256) << 8 | 128);
    const Bytes png = bitmap.saveToMemory(std::wstring_view(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}"));
    return ByteBuffer(png.begin(), png.end());
}

void drain() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    startSkinModule();
    SkinEngine& skin = skinEngine();
    skin.setControlSkinning(true, 0);
    SkinTheme theme;
    theme.imageBytes = pictureBytes();
    skin.setSkinTheme(theme);

    const Host native = makeHost(50);
    const Host skinned = makeHost(250);
    SkinWindowOptions options;
    options.captionHeight = 30;
    options.resizable = false;
    skin.skinWindow(skinned.window, options);
    drain();
    const int windowIndex = findWindowRecord(skinned.window);
    const int barIndex = windowRecord(windowIndex)->controls<ProgressSkinRecord>().indexOf(skinned.bar);
    if (!windowIndex || !barIndex) return 2;

    RECT client{};
    ::GetClientRect(native.edit, &client);
    std::vector<Result> results;
    // The border: the engine's frame (focused) against the edit's own
    // non-client paint (its sunken client edge), both onto the window DC.
    results.push_back(compare(
        "edit border", [&] { paintEditFrame(skinned.edit, true, false); },
        [&] { ::SendMessageW(native.edit, WM_NCPAINT, 1, 0); }));
    // The text area's background: the answer to the edit's colour request (the
    // picture under its client area made into a pattern brush, the previous
    // one freed) laid over the client, against the plain brush the native
    // edit is given, laid over the same client.
    results.push_back(compare(
        "edit text-area background",
        [&] {
            const WindowDc dc(skinned.edit);
            const auto brush = reinterpret_cast<HBRUSH>(answerControlColour(skinned.edit, dc.get()));
            ::FillRect(dc.get(), &client, brush);
        },
        [&] {
            const WindowDc dc(native.edit);
            ::FillRect(dc.get(), &client, ::GetSysColorBrush(COLOR_WINDOW));
        }));
    // The whole bar at 40 %, both onto the bar's window DC.
    results.push_back(compare(
        "progress bar at 40 %",
        [&] { paintProgressBar(windowRecord(windowIndex)->controls<ProgressSkinRecord>().at(barIndex)); },
        [&] {
            const NonClientDc dc(native.bar);
            ::SendMessageW(native.bar, WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
        }));

    std::printf("%-28s %12s %12s %8s\n", "per paint (median of 9 x 300)", "engine us", "native us", "ratio");
    for (const Result& r : results)
        std::printf("%-28s %12.1f %12.1f %8.2f\n", r.what, r.engine, r.native, r.engine / r.native);
    ::DestroyWindow(skinned.window);
    ::DestroyWindow(native.window);
    endSkinModule();
    return 0;
}
