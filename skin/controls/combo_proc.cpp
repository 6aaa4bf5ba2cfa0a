// Combo boxes: the engine paints the whole box, frame and drop button and the
// text of a drop-down list, and leaves the areas of the children that paint
// themselves (the edit, and the list of a simple combo) to them.
#include <windowsx.h>

#include <string>
#include <utility>
#include <vector>

#include "base/win32_util.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/combo_paint.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/control_window_paint.h"
#include "skin/controls/core/window_properties.h"

namespace pelmora {
namespace {

bool isComboBox(HWND control) {
    return hasWindowClass(control, L"ComboBox");
}

// A new selection or the focus leaving redraws the box over the picture.
void comboCommand(HWND combo, int code) {
    if (code == CBN_SELCHANGE || code == CBN_KILLFOCUS) ::InvalidateRect(combo, nullptr, TRUE);
}

void addChild(std::vector<ComboChild>& children, HWND combo, HWND child) {
    if (!::IsWindowVisible(child)) return;
    const RECT r = rectRelativeTo(combo, child);
    children.push_back({{r.left, r.top, r.right - r.left, r.bottom - r.top}, hasWindowClass(child, L"Edit")});
}

bool isChildOf(HWND window, HWND parent) {
    return window && window != parent && (windowStyle(window) & WS_CHILD) && ::GetParent(window) == parent;
}

// The combo's own answer names its edit and list: walking its children would
// ask the window server at every paint. The walk is what is left where the
// combo does not answer.
std::vector<ComboChild> childrenOf(HWND combo) {
    std::vector<ComboChild> children;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (::SendMessageW(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        for (HWND child : {info.hwndItem, info.hwndList})
            if (isChildOf(child, combo)) addChild(children, combo, child);
        return children;
    }
    for (HWND child = ::GetWindow(combo, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        addChild(children, combo, child);
    return children;
}

bool showsThePicture() {
    const ControlSettings& settings = controlSettings();
    return settings.translucentBackgrounds && settings.controlSkinningEnabled;
}

// The child edit's text scrolled or changed: it repaints over the picture.
void onChildCommand(WPARAM wParam, HWND child) {
    if (!child || !showsThePicture() || !hasWindowClass(child, L"Edit")) return;
    const int code = HIWORD(wParam);
    if (code == EN_HSCROLL || code == EN_VSCROLL || code == EN_CHANGE || code == EN_UPDATE)
        ::InvalidateRect(child, nullptr, TRUE);
}

}  // namespace

const ControlClass kComboBoxClass =
    ControlClass(ControlProcedure::ComboBox, comboSkinProc).ownsWindows(isComboBox).answersCommand(comboCommand);

void paintComboBox(const ComboBoxSkinRecord& record, std::optional<bool> hot, std::optional<bool> focused) {
    HWND combo = record.window;
    ComboPaint paint;
    paint.size = windowSizeOf(combo);
    paint.kind = comboKindOf(windowStyle(combo));
    paint.hot = hot.value_or(false);
    paint.focused = focused.value_or(record.focused);
    paint.keyedAreas = comboKeyedAreas(paint.kind, childrenOf(combo));
    if (paint.kind == ComboKind::DropDownList) paint.text = windowText(combo);
    paint.textColour = static_cast<COLORREF>(keptPropValue(combo, kPropTextColour));
    paint.dpi = controlDpi(combo);
    FaceKey key;
    key.atDpi(paint.dpi)
        .add(static_cast<std::uint64_t>(paint.kind))
        .add(paint.hot)
        .add(paint.focused)
        .add(paint.text)
        .add(paint.textColour);
    for (const RectI& area : paint.keyedAreas) key.add(area);
    paintControlWindowKeyed(combo, kComboKeyColour, record.face, std::move(key),
                            [&](GdipGraphics& graphics, SizeI size) {
                                paint.size = size;
                                paintComboBox(graphics, paint, controlSettings());
                            });
}

LRESULT CALLBACK comboSkinProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto at = locate<ComboBoxSkinRecord>(combo);
    ComboBoxSkinRecord* record = at.record;
    // An unrecorded combo gets no paint of the engine's.
    const auto repaint = [record](std::optional<bool> hot = std::nullopt, std::optional<bool> focused = std::nullopt) {
        if (record) paintComboBox(*record, hot, focused);
    };
    switch (message) {
        case WM_DESTROY:
            if (HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr)) releaseControlColours(edit);
            break;
        case WM_MOVE:
            repaint();
            break;
        case WM_SETFOCUS:
            if (record) record->focused = true;
            repaint(std::nullopt, true);
            break;
        case WM_KILLFOCUS:
            if (record) record->focused = false;
            break;
        case WM_SETTEXT:
            if (::FindWindowExW(combo, nullptr, L"Edit", nullptr)) ::InvalidateRect(combo, nullptr, TRUE);
            break;
        case WM_PAINT: {
            {
                const PaintScope paint(combo);
                repaint();
            }
            return ::DefWindowProcW(combo, message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT:
            // The engine's frame covers the whole window; the system draws nothing there.
            repaint();
            return 0;
        case WM_COMMAND:
            onChildCommand(wParam, reinterpret_cast<HWND>(lParam));
            break;
        case WM_CTLCOLOREDIT:
            if (!showsThePicture()) break;
            return reinterpret_cast<LRESULT>(
                answerControlColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
        case WM_MOUSEMOVE:
            requestMouseLeave(combo);
            if (at && takeHoverHighlight(*at.window, HotClass::ComboBox, at.index)) repaint(true);
            break;
        case WM_MOUSELEAVE:
            if (at.window) dropHoverHighlight(*at.window);
            repaint(false);
            break;
    }
    return callPreviousProc(combo, message, wParam, lParam);
}

}  // namespace pelmora
