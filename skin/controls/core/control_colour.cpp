#include "skin/controls/core/control_colour.h"

#include <algorithm>
#include <iterator>

#include "base/win32_util.h"
#include "gfx/gdip_brush.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/controls/core/window_records.h"

namespace pelmora {
namespace {

void publish(HWND control, HBRUSH brush, HBITMAP bitmap) {
    setPropValue(control, kPropBackgroundBrush, reinterpret_cast<std::intptr_t>(brush));
    setPropValue(control, kPropBackgroundBitmap, reinterpret_cast<std::intptr_t>(bitmap));
}

int scrollBarSize(HWND control, LONG object, bool width) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!::GetScrollBarInfo(control, object, &info)) return 0;
    if (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) return 0;
    const RECT& r = info.rcScrollBar;
    return width ? r.right - r.left : r.bottom - r.top;
}

}  // namespace

HBRUSH ControlBrushes::replace(HWND control, GdiBitmap bitmap) {
    sweepDestroyed();
    return install(control, pairs_[control], std::move(bitmap));
}

HBRUSH ControlBrushes::install(HWND control, Pair& pair, GdiBitmap bitmap) {
    GdiBrush brush;
    if (bitmap) brush.reset(::CreatePatternBrush(bitmap.get()));
    // The old brush and bitmap go only now, after the new brush exists, so the
    // two can never share a handle value.
    pair.brush = std::move(brush);
    pair.bitmap = std::move(bitmap);
    if (!pair.brush) {
        pairs_.erase(control);
        publish(control, nullptr, nullptr);
        return nullptr;
    }
    publish(control, pair.brush.get(), pair.bitmap.get());
    return pair.brush.get();
}

HDC ControlBrushes::translucentArea(HWND control, Pair& pair) {
    const RectI client = clientAreaInWindow(control);
    const int alpha = controlSettings().backgroundAlpha;
    FaceKey key;
    key.add(static_cast<std::uint64_t>(alpha));
    return pair.area.face(control, RECT{client.x, client.y, client.x + client.width, client.y + client.height}, key,
                          [&](HDC dc) {
                              layTranslucentWhite(dc, RectI{0, 0, client.width, client.height}, alpha);
                          });
}

HDC ControlBrushes::translucentArea(HWND control) {
    sweepDestroyed();
    Pair& pair = pairs_[control];
    HDC area = translucentArea(control, pair);
    if (!area && !pair.brush) pairs_.erase(control);
    return area;
}

HBRUSH ControlBrushes::answer(HWND control) {
    sweepDestroyed();
    Pair& pair = pairs_[control];
    HDC area = translucentArea(control, pair);
    if (!area) return install(control, pair, {});
    if (pair.area.reused() && pair.brush) return pair.brush.get();
    const RectI client = clientAreaInWindow(control);
    GdiBitmap bitmap(::CreateCompatibleBitmap(area, client.width, client.height));
    MemoryDc copy(::CreateCompatibleDC(area));
    if (bitmap && copy) {
        SelectGuard selected(copy.get(), bitmap.get());
        if (!::BitBlt(copy.get(), 0, 0, client.width, client.height, area, 0, 0, SRCCOPY)) bitmap.reset();
    }
    return install(control, pair, std::move(bitmap));
}

void ControlBrushes::release(HWND control) {
    if (pairs_.erase(control) == 0) return;
    publish(control, nullptr, nullptr);
}

void ControlBrushes::sweepDestroyed() {
    for (auto it = pairs_.begin(); it != pairs_.end();) it = ::IsWindow(it->first) ? std::next(it) : pairs_.erase(it);
}

RectI clientAreaInWindow(SizeI window, SizeI client, int verticalScrollWidth, int horizontalScrollHeight) {
    const int left = std::max(0, window.width - client.width - verticalScrollWidth) / 2;
    const int top = std::max(0, window.height - client.height - horizontalScrollHeight) / 2;
    return {left, top, client.width, client.height};
}

RectI clientAreaInWindow(HWND control) {
    RECT window{}, client{};
    ::GetWindowRect(control, &window);
    ::GetClientRect(control, &client);
    const DWORD style = windowStyle(control);
    const int vertical = (style & WS_VSCROLL) ? scrollBarSize(control, OBJID_VSCROLL, true) : 0;
    const int horizontal = (style & WS_HSCROLL) ? scrollBarSize(control, OBJID_HSCROLL, false) : 0;
    return clientAreaInWindow({window.right - window.left, window.bottom - window.top}, {client.right, client.bottom},
                              vertical, horizontal);
}

void layTranslucentWhite(HDC surface, const RectI& area, int alpha) {
    if (alpha <= 0) return;
    const Argb white = static_cast<Argb>(std::min(alpha, 255)) << 24 | 0x00FFFFFFu;
    GdipGraphics graphics;
    GdipSolidBrush brush;
    if (!graphics.fromHdc(surface) || !brush.create(white)) return;
    graphics.fillRectangleF(brush, RectF{static_cast<float>(area.x), static_cast<float>(area.y),
                                         static_cast<float>(area.width), static_cast<float>(area.height)});
}

GdiBitmap makeTranslucentBrushBitmap(HDC background, const RectI& client, int alpha) {
    if (client.width <= 0 || client.height <= 0) return {};
    layTranslucentWhite(background, client, alpha);
    GdiBitmap bitmap(::CreateCompatibleBitmap(background, client.width, client.height));
    MemoryDc copy(::CreateCompatibleDC(background));
    if (!bitmap || !copy) return {};
    SelectGuard selected(copy.get(), bitmap.get());
    if (!::BitBlt(copy.get(), 0, 0, client.width, client.height, background, client.x, client.y, SRCCOPY)) return {};
    return bitmap;
}

GdiBitmap makeTranslucentBrushBitmap(HWND control) {
    RECT window{};
    ::GetWindowRect(control, &window);
    const ControlBackground background(control, RECT{0, 0, window.right - window.left, window.bottom - window.top});
    if (!background) return {};
    return makeTranslucentBrushBitmap(background.dc(), clientAreaInWindow(control), controlSettings().backgroundAlpha);
}

ControlBrushes* controlBrushesOf(HWND control) {
    SkinnedWindowRecord* record = windowRecord(findOwnerWindowRecord(control));
    return record ? &record->controlBrushes : nullptr;
}

}  // namespace pelmora
