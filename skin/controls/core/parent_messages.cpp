#include "skin/controls/core/parent_messages.h"

#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "skin/controls/core/class_procedures.h"
#include "skin/controls/core/control_background.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"

namespace pelmora {
namespace {

bool controlsShowThePicture() {
    const ControlSettings& settings = controlSettings();
    return settings.translucentBackgrounds && settings.controlSkinningEnabled;
}

// The window's picture under the control, as a bitmap the control's brush
// tiles from its own origin.
GdiBitmap backgroundBitmapOf(HWND control) {
    const RECT rc = clientRect(control);
    const ControlBackground background(control, rc);
    if (!background) return GdiBitmap();
    const WindowDc screen(nullptr);
    GdiBitmap bitmap(::CreateCompatibleBitmap(screen.get(), rc.right, rc.bottom));
    const MemoryDc copy(::CreateCompatibleDC(screen.get()));
    const SelectGuard select(copy.get(), bitmap.get());
    ::BitBlt(copy.get(), 0, 0, rc.right, rc.bottom, background.dc(), 0, 0, SRCCOPY);
    return bitmap;
}

void deleteProperty(HWND control, const wchar_t* name) {
    if (HGDIOBJ old = reinterpret_cast<HGDIOBJ>(propValue(control, name))) ::DeleteObject(old);
    setPropValue(control, name, 0);
}

// Text colour and mode, then `brush` in place of the brush answered last time.
// The control's properties own what was made here until the next answer or the
// window's clean-up; a stock brush is never kept, as it must never be deleted.
LRESULT answerWith(HWND control, HDC dc, HBRUSH brush) {
    ::SetTextColor(dc, static_cast<COLORREF>(propValue(control, kPropTextColour)));
    ::SetBkMode(dc, TRANSPARENT);
    deleteProperty(control, kPropBackgroundBrush);
    const bool owned = brush != ::GetStockObject(NULL_BRUSH);
    setPropValue(control, kPropBackgroundBrush, owned ? reinterpret_cast<std::intptr_t>(brush) : 0);
    return reinterpret_cast<LRESULT>(brush);
}

HBRUSH nullBrush() {
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

}  // namespace

LRESULT answerControlColour(HWND control, HDC dc) {
    deleteProperty(control, kPropBackgroundBitmap);
    HBITMAP bitmap = backgroundBitmapOf(control).release();
    setPropValue(control, kPropBackgroundBitmap, reinterpret_cast<std::intptr_t>(bitmap));
    return answerWith(control, dc, bitmap ? ::CreatePatternBrush(bitmap) : nullBrush());
}

LRESULT answerWithNullBrush(HWND control, HDC dc) {
    return answerWith(control, dc, nullBrush());
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
    deleteProperty(control, kPropBackgroundBitmap);
    deleteProperty(control, kPropBackgroundBrush);
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
