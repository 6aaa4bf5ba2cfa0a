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
    Pair fresh;
    if (bitmap) fresh.brush.reset(::CreatePatternBrush(bitmap.get()));
    fresh.bitmap = std::move(bitmap);
    // The old pair goes only now, after the new brush exists, so the two can
    // never share a handle value.
    pairs_.erase(control);
    if (!fresh.brush) {
        publish(control, nullptr, nullptr);
        return nullptr;
    }
    const HBRUSH brush = fresh.brush.get();
    publish(control, brush, fresh.bitmap.get());
    pairs_.emplace(control, std::move(fresh));
    return brush;
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

void layWhiteOverClient(HDC background, const RectI& client, int alpha) {
    if (alpha <= 0) return;
    const Argb white = static_cast<Argb>(std::min(alpha, 255)) << 24 | 0x00FFFFFFu;
    GdipGraphics graphics;
    GdipSolidBrush brush;
    if (!graphics.fromHdc(background) || !brush.create(white)) return;
    graphics.fillRectangleF(brush, RectF{static_cast<float>(client.x), static_cast<float>(client.y),
                                         static_cast<float>(client.width), static_cast<float>(client.height)});
}

GdiBitmap makeTranslucentBrushBitmap(HDC background, const RectI& client, int alpha) {
    if (client.width <= 0 || client.height <= 0) return {};
    layWhiteOverClient(background, client, alpha);
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
