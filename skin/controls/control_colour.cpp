#include "skin/controls/control_colour.h"

#include <iterator>

#include "skin/control_background.h"
#include "skin/controls/control_settings.h"
#include "skin/controls/edit_paint.h"
#include "skin/controls/window_properties.h"
#include "skin/controls/window_records.h"

namespace pelmora {
namespace {

HBRUSH nullBrush() {
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void publish(HWND control, HBRUSH brush, HBITMAP bitmap) {
    setPropValue(control, kPropBackgroundBrush, reinterpret_cast<std::intptr_t>(brush));
    setPropValue(control, kPropBackgroundBitmap, reinterpret_cast<std::intptr_t>(bitmap));
}

void setUpText(HWND control, HDC dc) {
    ::SetTextColor(dc, static_cast<COLORREF>(propValue(control, kPropTextColour)));
    ::SetBkMode(dc, TRANSPARENT);
}

ControlBrushes* brushesOf(HWND control) {
    SkinnedWindowRecord* record = windowRecord(findOwnerWindowRecord(control));
    return record ? &record->controlBrushes : nullptr;
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

ColourAnswer colourAnswerFor(const ColourRequest& r) {
    if (!r.translucentBackgrounds || !r.controlSkinningEnabled) return ColourAnswer::PassOn;
    switch (r.message) {
        case WM_CTLCOLOREDIT:
            return r.editInComboBox ? ColourAnswer::PassOn : ColourAnswer::PatternBrush;
        case WM_CTLCOLORSTATIC:
            return ColourAnswer::PatternBrush;
        case WM_CTLCOLORLISTBOX:
            return r.listBoxClass && !r.listHasOwnRecord ? ColourAnswer::NullBrush : ColourAnswer::PassOn;
        case WM_CTLCOLORBTN:
            return ColourAnswer::NullBrush;
        default:
            return ColourAnswer::PassOn;
    }
}

HBRUSH ControlBrushes::replace(HWND control, GdiBitmap bitmap) {
    sweepDestroyed();
    Pair fresh;
    if (bitmap) fresh.brush.reset(::CreatePatternBrush(bitmap.get()));
    fresh.bitmap = std::move(bitmap);
    // The old pair goes only now: the control may still have its brush selected
    // until the new answer replaces it.
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

RectI clientAreaInWindow(HWND control) {
    RECT window{}, client{};
    ::GetWindowRect(control, &window);
    ::GetClientRect(control, &client);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    const int vertical = (style & WS_VSCROLL) ? scrollBarSize(control, OBJID_VSCROLL, true) : 0;
    const int horizontal = (style & WS_HSCROLL) ? scrollBarSize(control, OBJID_HSCROLL, false) : 0;
    return editClientArea({window.right - window.left, window.bottom - window.top}, {client.right, client.bottom},
                          vertical, horizontal);
}

GdiBitmap makeTranslucentBrushBitmap(HWND control) {
    RECT window{};
    ::GetWindowRect(control, &window);
    const ControlBackground background(control, RECT{0, 0, window.right - window.left, window.bottom - window.top});
    if (!background.dc()) return {};
    return makeTranslucentBrushBitmap(background.dc(), clientAreaInWindow(control), controlSettings().backgroundAlpha);
}

HBRUSH answerControlColour(HWND control, HDC dc) {
    setUpText(control, dc);
    ControlBrushes* brushes = brushesOf(control);
    if (!brushes) return nullBrush();
    const HBRUSH brush = brushes->replace(control, makeTranslucentBrushBitmap(control));
    return brush ? brush : nullBrush();
}

HBRUSH answerWithNullBrush(HWND control, HDC dc) {
    setUpText(control, dc);
    releaseControlBrush(control);
    setPropValue(control, kPropBackgroundBrush, reinterpret_cast<std::intptr_t>(nullBrush()));
    return nullBrush();
}

void releaseControlBrush(HWND control) {
    if (ControlBrushes* brushes = brushesOf(control)) brushes->release(control);
}

}  // namespace pelmora
