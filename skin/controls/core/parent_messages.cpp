#include "skin/controls/core/parent_messages.h"

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "skin/controls/core/class_procedures.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"

namespace pelmora {
namespace {

bool controlsShowThePicture() {
    const ControlSettings& settings = controlSettings();
    return settings.translucentBackgrounds && settings.controlSkinningEnabled;
}

void setUpText(HWND control, HDC dc) {
    ::SetTextColor(dc, static_cast<COLORREF>(propValue(control, kPropTextColour)));
    ::SetBkMode(dc, TRANSPARENT);
}

HBRUSH nullBrush() {
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

}  // namespace

LRESULT answerControlColour(HWND control, HDC dc) {
    setUpText(control, dc);
    ControlBrushes* brushes = controlBrushesOf(control);
    HBRUSH brush = brushes ? brushes->replace(control, makeTranslucentBrushBitmap(control)) : nullptr;
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

std::optional<LRESULT> answerForParent(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            if (!controlsShowThePicture()) return std::nullopt;
            const auto control = reinterpret_cast<HWND>(lParam);
            const auto dc = reinterpret_cast<HDC>(wParam);
            const ParentAnswers* answers = parentAnswersFor(control);
            if (answers && answers->controlColour) return answers->controlColour(message, dc, control);
            return answerColourByMessage(message, dc, control);
        }
        case WM_COMMAND: {
            const auto control = reinterpret_cast<HWND>(lParam);
            if (!control || !controlsShowThePicture()) return std::nullopt;
            if (const ParentAnswers* answers = parentAnswersFor(control); answers && answers->command)
                answers->command(control, HIWORD(wParam));
            return std::nullopt;
        }
        case WM_NOTIFY: {
            if (!lParam) return std::nullopt;
            const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (const ParentAnswers* answers = parentAnswersFor(header.hwndFrom); answers && answers->notify)
                answers->notify(header);
            return std::nullopt;
        }
        case WM_DRAWITEM: {
            if (!lParam) return std::nullopt;
            const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (const ParentAnswers* answers = parentAnswersFor(item.hwndItem); answers && answers->drawItem)
                return answers->drawItem(item);
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace pelmora
