// Painter benchmark, run under the same Wine as the tests:
//   the edit box's border, its translucent text-area background and the
//   progress bar, each painted the way the engine paints a control (a back
//   buffer holding the picture behind it, a GDI+ graphics on it, the painter,
//   the copy onto the window DC, the release), against the control's own
//   native paint of the same part onto the same DC.
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
#include "gfx/back_buffer.h"
#include "gfx/gdip_graphics.h"
#include "gfx/gdip_object.h"
#include "skin/controls/edit_paint.h"
#include "skin/controls/progress_paint.h"

using namespace pelmora;

namespace {

double nowMs() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Microseconds per paint, median over rounds of `perRound` paints.
double perPaintUs(const std::function<void()>& paint, int perRound, std::vector<double>& rounds) {
    const double start = nowMs();
    for (int i = 0; i < perRound; ++i) paint();
    rounds.push_back((nowMs() - start) * 1000.0 / perRound);
    return rounds.back();
}

// A surface of the window's size standing for the composed window picture.
struct Picture {
    MemoryDc dc{::CreateCompatibleDC(nullptr)};
    GdiBitmap bitmap;
    HGDIOBJ previous = nullptr;
    Picture(int width, int height) {
        HDC screen = ::GetDC(nullptr);
        bitmap.reset(::CreateCompatibleBitmap(screen, width, height));
        ::ReleaseDC(nullptr, screen);
        previous = ::SelectObject(dc.get(), bitmap.get());
        for (int y = 0; y < height; y += 10)
            for (int x = 0; x < width; x += 10) {
                GdiBrush brush(::CreateSolidBrush(RGB(x % 256, y % 256, 128)));
                RECT r{x, y, x + 10, y + 10};
                ::FillRect(dc.get(), &r, brush.get());
            }
    }
    ~Picture() { ::SelectObject(dc.get(), previous); }
};

// The engine's paint of one control: a back buffer with what lies behind it,
// the painter on a GDI+ graphics, the copy onto the control's window DC (with
// `keep` left out of the clip: an edit's text area stays the edit's), the
// release.
template <typename Painter>
void enginePaint(const Picture& picture, HWND control, POINT at, SIZE size, const RECT* keep, Painter painter) {
    HDC buffer = createBackBuffer(size.cx, size.cy);
    ::BitBlt(buffer, 0, 0, size.cx, size.cy, picture.dc.get(), at.x, at.y, SRCCOPY);
    {
        GdipGraphics graphics;
        graphics.fromHdc(buffer);
        painter(graphics);
    }
    HDC window = ::GetWindowDC(control);
    if (keep) ::ExcludeClipRect(window, keep->left, keep->top, keep->right, keep->bottom);
    ::BitBlt(window, 0, 0, size.cx, size.cy, buffer, 0, 0, SRCCOPY);
    ::ReleaseDC(control, window);
    releaseControlBackground(buffer);
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
    return {what, median(e), median(n)};
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    if (!gdipStartup()) return 1;
    HWND host = ::CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 50, 50, 520, 120, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"C:\\Program Files", WS_CHILD | WS_VISIBLE, 10, 10, 300,
                                  24, host, nullptr, nullptr, nullptr);
    HWND bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 60, 500, 6, host, nullptr, nullptr,
                                 nullptr);
    ::SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(bar, PBM_SETPOS, 40, 0);

    const Picture picture(520, 120);
    RECT window{}, client{};
    ::GetWindowRect(edit, &window);
    ::GetClientRect(edit, &client);
    const SizeI editSize{window.right - window.left, window.bottom - window.top};
    const RectI editClient = editClientArea(editSize, {client.right, client.bottom}, 0, 0);
    const ControlSettings settings{true, 0x00DDCA22, true, 0, true};

    const RECT keep{editClient.x, editClient.y, editClient.x + editClient.width, editClient.y + editClient.height};
    std::vector<Result> results;
    // The border: the engine's frame against the edit's own non-client paint
    // (its sunken client edge), both onto the window DC.
    results.push_back(compare(
        "edit border",
        [&] {
            enginePaint(picture, edit, {10, 10}, {editSize.width, editSize.height}, &keep, [&](GdipGraphics& g) {
                paintEditFrame(g, editSize, editClient, EditBorderLook::Focused, settings);
            });
        },
        [&] { ::SendMessageW(edit, WM_NCPAINT, 1, 0); }));
    // The text area's background: the pattern brush made from the picture
    // under the edit and laid over the client, against the plain brush the
    // native edit is given, laid over the same client.
    results.push_back(compare(
        "edit text-area background",
        [&] {
            HDC buffer = createBackBuffer(editSize.width, editSize.height);
            ::BitBlt(buffer, 0, 0, editSize.width, editSize.height, picture.dc.get(), 10, 10, SRCCOPY);
            GdiBitmap brushBitmap = makeTranslucentBrushBitmap(buffer, editClient, 0);
            releaseControlBackground(buffer);
            GdiBrush brush(::CreatePatternBrush(brushBitmap.get()));
            HDC dc = ::GetDC(edit);
            ::FillRect(dc, &client, brush.get());
            ::ReleaseDC(edit, dc);
        },
        [&] {
            HDC dc = ::GetDC(edit);
            ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
            ::ReleaseDC(edit, dc);
        }));
    // The whole bar at 40 %, both onto the bar's window DC.
    results.push_back(compare(
        "progress bar at 40 %",
        [&] {
            enginePaint(picture, bar, {10, 60}, {500, 6}, nullptr, [&](GdipGraphics& g) {
                paintProgressBar(g, {{500, 6}, false, 0, 100, 40}, settings);
            });
        },
        [&] {
            HDC dc = ::GetWindowDC(bar);
            ::SendMessageW(bar, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
            ::ReleaseDC(bar, dc);
        }));

    std::printf("%-28s %12s %12s %8s\n", "per paint (median of 9 x 300)", "engine us", "native us", "ratio");
    for (const Result& r : results)
        std::printf("%-28s %12.1f %12.1f %8.2f\n", r.what, r.engine, r.native, r.engine / r.native);
    ::DestroyWindow(host);
    gdipShutdown();
    return 0;
}
