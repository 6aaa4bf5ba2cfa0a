// Up-down controls: the native control keeps its behaviour (auto-repeat, the
// buddy); the engine paints the two halves, lights the half under the pointer
// and sinks it while pressed. Moving within one half repaints nothing; moving
// to the other half repaints once.
#include <windowsx.h>

#include <utility>

#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/control_window_paint.h"
#include "skin/controls/updown_paint.h"

namespace pelmora {
namespace {

UpDownPart partAt(const UpDownSkinRecord& record, LPARAM pointer) {
    return upDownPartAt(windowSizeOf(record.window), record.horizontal,
                        PointI{GET_X_LPARAM(pointer), GET_Y_LPARAM(pointer)});
}

void onMouseMove(HWND control, const Located<UpDownSkinRecord>& at, LPARAM pointer) {
    requestMouseLeave(control);
    UpDownSkinRecord& record = *at.record;
    const UpDownPart part = partAt(record, pointer);
    const bool took = takeHoverHighlight(*at.window, HotClass::UpDown, at.index);
    if (took || part != record.hotPart) paintUpDown(record, true, std::nullopt, pointer);
    record.hot = true;
    record.hotPart = part;
}

}  // namespace

UpDownPart upDownPartAt(const UpDownSkinRecord& control, LPARAM pointer) {
    return partAt(control, pointer);
}

void paintUpDown(const UpDownSkinRecord& record, std::optional<bool> hot, std::optional<bool> pressed,
                 std::optional<LPARAM> pointer) {
    UpDownPaint paint;
    paint.horizontal = record.horizontal;
    paint.hot = hot.value_or(record.hot);
    paint.pressed = pressed.value_or(record.pressed);
    // A press lights the half it started in; a move the half under the pointer.
    if (pointer)
        paint.activePart = partAt(record, *pointer);
    else if (paint.pressed)
        paint.activePart = partAt(record, record.lastPoint);
    else
        paint.activePart = record.hotPart == UpDownPart::SecondArrow ? UpDownPart::SecondArrow : UpDownPart::FirstArrow;
    paint.dpi = controlDpi(record.window);
    FaceKey key;
    key.atDpi(paint.dpi)
        .add(paint.horizontal)
        .add(paint.hot)
        .add(paint.pressed)
        .add(static_cast<std::uint64_t>(paint.activePart));
    paintControlWindow(record.window, {}, record.face, std::move(key), [&](GdipGraphics& graphics, SizeI size) {
        paint.size = size;
        paintUpDown(graphics, paint, controlSettings());
    });
}

LRESULT CALLBACK upDownSkinProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto at = locate<UpDownSkinRecord>(control);
    UpDownSkinRecord* record = at.record;
    // An unrecorded control gets no paint of the engine's.
    const auto repaint = [record] {
        if (record) paintUpDown(*record);
    };
    switch (message) {
        case WM_MOUSEMOVE:
            if (record) onMouseMove(control, at, lParam);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            if (record) {
                record->pressed = message == WM_LBUTTONDOWN;
                record->lastPoint = lParam;
            }
            break;
        case WM_MOUSELEAVE:
            if (at.window) dropHoverHighlight(*at.window);
            if (record) record->hot = false;
            repaint();
            break;
        case WM_MOVE:
            repaint();
            break;
        case WM_PAINT:
            repaint();
            return ::DefWindowProcW(control, message, wParam, lParam);
        case WM_ERASEBKGND:
        case WM_NCPAINT:
            return 1;
    }
    return callPreviousProc(control, message, wParam, lParam);
}

// Answers nothing for its parent: the window's shared answers serve it.
const ControlClass kUpDownClass(ControlProcedure::UpDown, upDownSkinProc);

}  // namespace pelmora
