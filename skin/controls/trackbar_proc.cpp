// Track bars: the native control keeps its behaviour (dragging, keys, ticks as
// values); the engine paints the frame, channel, thumb and selection from what
// the control reports at every paint, and outlines the thumb while hot.
// The common-control header needs the Windows types first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <utility>

#include "base/unique_resource.h"
#include "gfx/gdip_graphics.h"
#include "skin/controls/class_modules.h"
#include "skin/controls/control_dpi.h"
#include "skin/controls/core/control_colour.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/control_window_paint.h"
#include "skin/controls/trackbar_paint.h"

namespace pelmora {
namespace {

int ask(HWND bar, UINT message) {
    return static_cast<int>(::SendMessageW(bar, message, 0, 0));
}

// The control reports rectangles in client coordinates; the painter works in
// window coordinates.
RECT askRect(HWND bar, UINT message, const RectI& client) {
    RECT r{};
    ::SendMessageW(bar, message, 0, reinterpret_cast<LPARAM>(&r));
    ::OffsetRect(&r, client.x, client.y);
    return r;
}

TrackBarPaint queryBar(const TrackBarSkinRecord& record) {
    HWND bar = record.window;
    const RectI client = clientAreaInWindow(bar);
    TrackBarPaint paint;
    paint.vertical = record.vertical;
    paint.ticks = record.tickPlacement;
    paint.hot = record.hot;
    paint.selectionRange = record.selectionRange;
    paint.channel = trackBarChannel(askRect(bar, TBM_GETCHANNELRECT, client), record.vertical);
    paint.thumb = askRect(bar, TBM_GETTHUMBRECT, client);
    paint.rangeMin = ask(bar, TBM_GETRANGEMIN);
    paint.rangeMax = ask(bar, TBM_GETRANGEMAX);
    if (record.selectionRange) {
        paint.selectionStart = ask(bar, TBM_GETSELSTART);
        paint.selectionEnd = ask(bar, TBM_GETSELEND);
    }
    return paint;
}

}  // namespace

void paintTrackBar(const TrackBarSkinRecord& record) {
    TrackBarPaint bar = queryBar(record);
    bar.dpi = controlDpi(record.window);
    FaceKey key;
    key.atDpi(bar.dpi)
        .add(bar.vertical)
        .add(static_cast<std::uint64_t>(bar.ticks))
        .add(bar.hot)
        .add(bar.selectionRange)
        .add(bar.channel)
        .add(bar.thumb)
        .add(static_cast<std::uint64_t>(bar.rangeMin))
        .add(static_cast<std::uint64_t>(bar.rangeMax))
        .add(static_cast<std::uint64_t>(bar.selectionStart))
        .add(static_cast<std::uint64_t>(bar.selectionEnd));
    paintControlWindow(record.window, {}, record.face, std::move(key), [&](GdipGraphics& graphics, SizeI size) {
        bar.size = size;
        paintTrackBar(graphics, bar, controlSettings());
    });
}

LRESULT CALLBACK trackBarSkinProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto at = locate<TrackBarSkinRecord>(bar);
    TrackBarSkinRecord* record = at.record;
    // An unrecorded bar gets no paint of the engine's.
    const auto repaint = [record] {
        if (record) paintTrackBar(*record);
    };
    switch (message) {
        case WM_MOUSEMOVE:
            requestMouseLeave(bar);
            if (record && takeHoverHighlight(*at.window, HotClass::TrackBar, at.index)) {
                record->hot = true;
                repaint();
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
        case WM_PAINT: {
            {
                const PaintScope paint(bar);
                repaint();
            }
            return ::DefWindowProcW(bar, message, wParam, lParam);
        }
        case WM_ERASEBKGND:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return 1;
        case WM_NCPAINT:
            repaint();
            return 1;
    }
    return callPreviousProc(bar, message, wParam, lParam);
}

// Answers nothing for its parent: the window's shared answers serve it.
const ControlClass kTrackBarClass(ControlProcedure::TrackBar, trackBarSkinProc);

}  // namespace pelmora
