#include "skin/controls/core/parent_messages.h"

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"

namespace pelmora {
namespace {

void setUpText(HWND control, HDC dc) {
    ::SetTextColor(dc, static_cast<COLORREF>(keptPropValue(control, kPropTextColour)));
    ::SetBkMode(dc, TRANSPARENT);
}

HBRUSH nullBrush() {
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

}  // namespace

LRESULT answerControlColour(HWND control, HDC dc) {
    setUpText(control, dc);
    ControlBrushes* brushes = controlBrushesOf(control);
    HBRUSH brush = brushes ? brushes->answer(control) : nullptr;
    return reinterpret_cast<LRESULT>(brush ? brush : nullBrush());
}

LRESULT answerWithNullBrush(HWND control, HDC dc) {
    setUpText(control, dc);
    releaseControlColours(control);
    return reinterpret_cast<LRESULT>(nullBrush());
}

std::optional<LRESULT> answerColourByMessage(UINT message, HDC dc, HWND control) {
    switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return answerControlColour(control, dc);
        case WM_CTLCOLORBTN:
            return answerWithNullBrush(control, dc);
        default:
            return std::nullopt;
    }
}

void releaseControlColours(HWND control) {
    if (ControlBrushes* brushes = controlBrushesOf(control)) brushes->release(control);
}

bool isParentMessage(UINT message) {
    switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
            return true;
        default:
            return false;
    }
}

}  // namespace pelmora
